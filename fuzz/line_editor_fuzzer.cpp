// Fuzzes the terminal's key decoder and line editor together. The input is read as tokens
// (typed characters, keys, sequences that must do nothing, lone Escapes, pastes), written out
// as a terminal sends them and fed in reads of chosen sizes. A model that knows what each token
// means keeps the line the editor must be left with; no byte of a sequence may reach it.
// Input: byte 0 chooses the read sizes, then one byte per token and one per choice in it.

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "session/input_line.h"
#include "text/key_decoder.h"
#include "text/line_editor.h"

namespace {

const char* const kText[] = {
    "a", "O", "[", "~", " ", "\xC3\xA9", "\xE6\x97\xA5", "\xF0\x9F\x94\x91"};
// Keys, and what each does to the model (kEdits): L R H E move, b d u k w D delete, < > move
// by words, \n submits, - nothing (Ctrl-C, function keys, Alt keys without a meaning).
const char* const kKeys[] = {
    "\x1b[D", "\x1bOD",  "\x02",     "\x1b[1;5C", "\x06",  "\x1b[H",      "\x1b[7~",
    "\x01",   "\x1bOF",  "\x1b[4~",  "\x7f",      "\x08",  "\x1b[3~",     "\x15",
    "\x0b",   "\x17",    "\x1b\x7f", "\033b",     "\033f", "\033d",       "\r",
    "\x03",   "\x1b[[C", "\x1b[15~", "\x1bOP",    "\x1bx", "\x1b\xC3\xA9"};
const char kEdits[] = "LLLRRHHHEEbbdukww<>D\n------";
static_assert(sizeof kEdits - 1 == sizeof kKeys / sizeof kKeys[0], "an edit for every key");
constexpr std::size_t kMaxBytes = 31;

struct Model {
    std::vector<std::string> chars;  // the line, a character each
    std::size_t cursor = 0;
    std::vector<std::string> submitted;

    bool IsSpace(std::size_t i) const { return chars[i] == " "; }
    std::size_t WordStart() const {
        std::size_t i = cursor;
        while (i > 0 && IsSpace(i - 1)) --i;
        while (i > 0 && !IsSpace(i - 1)) --i;
        return i;
    }
    std::size_t WordEnd() const {
        std::size_t i = cursor;
        while (i < chars.size() && IsSpace(i)) ++i;
        while (i < chars.size() && !IsSpace(i)) ++i;
        return i;
    }
    void Erase(std::size_t from, std::size_t to) {
        if (from >= to) return;
        chars.erase(chars.begin() + from, chars.begin() + to);
        cursor = from;
    }
    std::string Text(std::size_t end = SIZE_MAX) const {
        std::string text;
        for (std::size_t i = 0; i < chars.size() && i < end; ++i) text += chars[i];
        return text;
    }
    void Type(const std::string& c) {
        if (Text().size() + c.size() <= kMaxBytes) chars.insert(chars.begin() + cursor++, c);
    }
    void Edit(char edit) {
        const std::size_t at = cursor, size = chars.size();
        const std::size_t back = at - (at > 0), on = at + (at < size);
        const std::string moves = "LRHE<>", erases = "bdukwD";
        const std::size_t moveTo[] = {back, on, 0, size, WordStart(), WordEnd()};
        const std::size_t eraseFrom[] = {back, at, 0, at, WordStart(), at};
        const std::size_t eraseTo[] = {at, on, at, size, at, WordEnd()};
        if (moves.find(edit) != std::string::npos) cursor = moveTo[moves.find(edit)];
        if (erases.find(edit) != std::string::npos) {
            Erase(eraseFrom[erases.find(edit)], eraseTo[erases.find(edit)]);
        }
        if (edit != '\n') return;
        submitted.push_back(Text());
        chars.clear();
        cursor = 0;
    }
};

// Reads the fuzz input one byte at a time, 0 past its end.
struct Bytes {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;
    unsigned Next() { return at < size ? data[at++] : 0; }
    bool More() const { return at < size; }
};

// A CSI sequence of any parameters and final byte, and what it does to the model, as the
// sequences of xterm, rxvt and the VT220 keypad define it. No history, no paste markers.
std::string ControlSequence(Bytes& in, char& edit) {
    std::string parameters;
    for (unsigned n = in.Next() % 24; n > 0; --n)
        parameters += static_cast<char>(0x30 + in.Next() % 16);
    std::string intermediates;
    for (unsigned n = in.Next() % 4 == 0; n > 0; --n)
        intermediates += "!\"#%&'()*+,-./"[in.Next() % 14];
    char final = static_cast<char>(0x40 + in.Next() % 63);
    const std::string first = parameters.substr(0, parameters.find_first_of(";:"));
    if (final == 'A' || final == 'B' || final == '[' || first == "200" || first == "201")
        final = 'Z';
    const bool numbered = final == '~' || final == '^' || final == '@';
    const std::string letters = "CDHF";
    edit = '-';
    if (intermediates.empty() && numbered) {
        edit = first == "1" || first == "7"   ? 'H'
               : first == "4" || first == "8" ? 'E'
               : first == "3"                 ? 'd'
                                              : '-';
    } else if (intermediates.empty() && letters.find(final) != std::string::npos) {
        edit = "RLHE"[letters.find(final)];
    }
    return "\x1b[" + parameters + intermediates + final;
}

// A control string with any content but its terminators, ended by BEL or ST.
std::string ControlString(Bytes& in) {
    std::string text = std::string("\x1b") + "]P_^X"[in.Next() % 5];
    for (unsigned n = in.Next() % 32; n > 0; --n) {
        const char byte = static_cast<char>(in.Next());
        if (byte != '\x07' && byte != '\x18' && byte != '\x1a' && byte != '\x1b') text += byte;
    }
    return text + (in.Next() % 2 ? "\x07" : "\x1b\\");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Bytes in{data, size};
    const unsigned readSizes = in.Next();
    Model model;
    std::string stream;
    std::vector<std::size_t> pauses;  // offsets in the stream after which typing pauses
    while (in.More()) {
        const unsigned token = in.Next() % 7;
        char edit = '-';
        if (token == 0) {
            const std::string c = kText[in.Next() % 8];
            stream += c;
            model.Type(c);
        } else if (token == 1) {
            const unsigned key = in.Next() % (sizeof kEdits - 1);
            stream += kKeys[key];
            model.Edit(kEdits[key]);
        } else if (token == 2) {
            stream += ControlSequence(in, edit);
            model.Edit(edit);
        } else if (token == 3) {
            stream += ControlString(in);
        } else if (token == 4) {
            stream += "\x1b[" + std::to_string(in.Next()) + "\x18";  // cancelled
        } else if (token == 5) {
            stream += "\x1b";  // a lone Escape
            pauses.push_back(stream.size());
        } else {
            // A paste: characters, line breaks, and controls and keys that must do nothing.
            stream += "\x1b[200~";
            for (unsigned n = in.Next() % 48; n > 0; --n) {
                const unsigned part = in.Next();
                if (part % 4 == 0) {
                    stream += part % 8 ? "\n" : "\r\n";
                    model.Edit('\n');
                } else if (part % 4 == 1) {
                    const char control = static_cast<char>(1 + part / 4 % 26);
                    if (control != '\r' && control != '\n' && control != '\x18' &&
                        control != '\x1a')
                        stream += control;
                } else if (part % 4 == 2) {
                    // Enter's byte is a line break in a paste; the others are nothing there.
                    const char* key = kKeys[part / 4 % (sizeof kEdits - 1)];
                    if (key[0] != '\r') stream += key;
                } else {
                    stream += kText[part / 4 % 8];
                    model.Type(kText[part / 4 % 8]);
                }
            }
            stream += "\x1b[201~";
        }
    }

    KeyDecoder decoder;
    LineEditor editor;
    std::vector<std::string> submitted;
    std::size_t next = 0;
    for (std::size_t at = 0, read = 0; at < stream.size(); at = next, ++read) {
        next = std::min(stream.size(), at + 1 + (readSizes >> (read % 8)) % 16);
        for (std::size_t pause : pauses) {
            if (pause > at && pause < next) next = pause;
        }
        for (const Key& key : decoder.Feed(std::string_view(stream).substr(at, next - at))) {
            EditResult result = editor.Apply(key);
            if (result.submitted) submitted.push_back(result.line);
            fuzz::Require(!result.endOfInput, "no Ctrl-D reaches the editor");
        }
        const std::string& text = editor.text();
        fuzz::Require(text.size() <= kMaxBytes && CleanInputLine(text) == text,
                      "the line holds whole characters, at most 31 bytes");
        for (std::size_t pause : pauses) {
            if (pause == next) decoder.Pause();
        }
    }
    const auto details = [&] {
        return "stream: " + fuzz::Escaped(stream) + "\nline: " + fuzz::Escaped(editor.text()) +
               "\nmodel: " + fuzz::Escaped(model.Text());
    };
    fuzz::Require(
        editor.text() == model.Text() && editor.cursor() == model.Text(model.cursor).size(),
        "the line and its cursor are the model's", details);
    fuzz::Require(submitted == model.submitted, "the lines submitted are the model's", details);
    return 0;
}
