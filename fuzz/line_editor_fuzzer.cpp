// Fuzzes the key decoder and line editor together: tokens (text, keys, unknown or cancelled
// sequences, lone Escapes, pastes) sent as a terminal sends them, in reads of chosen sizes, must
// leave the line a model keeps; no byte of a sequence may reach it.
// Input: byte 0 chooses the read sizes, then one byte per token and one per choice in it.

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "session/input_line.h"
#include "text/key_decoder.h"
#include "text/line_editor.h"

namespace {

const char* const kText[] = {
    "a", "O", "[", "~", " ", "\xC3\xA9", "\xE6\x97\xA5", "\xF0\x9F\x94\x91"};
// Keys, and what each does to the model (kEdits; see Model::Edit): - for nothing.
const char* const kKeys[] = {
    "\x1b[D", "\x1bOD",  "\x02",     "\x1b[1;5C", "\x06",  "\x1b[H",      "\x1b[7~",
    "\x01",   "\x1bOF",  "\x1b[4~",  "\x7f",      "\x08",  "\x1b[3~",     "\x15",
    "\x0b",   "\x17",    "\x1b\x7f", "\033b",     "\033f", "\033d",       "\r",
    "\x03",   "\x1b[[C", "\x1b[15~", "\x1bOP",    "\x1bx", "\x1b\xC3\xA9"};
const char kEdits[] = "LLLRRHHHEEbbdukww<>D\n------";
constexpr unsigned kKeyCount = sizeof kEdits - 1;
static_assert(kKeyCount == sizeof kKeys / sizeof kKeys[0], "an edit for every key");
// Final bytes that make no key, whatever the parameters.
const std::string kUnknownFinals = "GIJKLMNPQRSTUVWXYZ`abcdefghijklmnopqrstuvwxyz{|}";

struct Model {
    std::vector<std::string> chars;  // the line, a character each
    std::size_t cursor = 0;
    std::vector<std::string> submitted;

    std::string Text(std::size_t end = SIZE_MAX) const {  // up to character `end`
        return std::accumulate(chars.begin(), chars.begin() + std::min(end, chars.size()),
                               std::string());
    }
    void Type(const std::string& c) {
        if (Text().size() + c.size() <= 31) chars.insert(chars.begin() + cursor++, c);
    }
    std::size_t Word(int step) const {  // past the spaces, then the word, before or after
        std::size_t i = cursor;
        for (bool space : {true, false}) {
            while (step < 0 ? i > 0 && (chars[i - 1] == " ") == space
                            : i < chars.size() && (chars[i] == " ") == space)
                i = step < 0 ? i - 1 : i + 1;
        }
        return i;
    }
    void Edit(char edit) {  // moves: L R H E < >; deletions: b d u k w D, and \n submits all
        const std::size_t at = cursor, size = chars.size(), back = at - (at > 0),
                          on = at + (at < size);
        const std::size_t moveTo[] = {back, on, 0, size, Word(-1), Word(1)};
        const std::size_t eraseFrom[] = {back, at, 0, at, Word(-1), at, 0};
        const std::size_t eraseTo[] = {at, on, at, size, at, Word(1), size};
        const std::size_t move = std::string("LRHE<>").find(edit),
                          erase = std::string("bdukwD\n").find(edit);
        if (edit == '\n') submitted.push_back(Text());
        if (move != std::string::npos) cursor = moveTo[move];
        if (erase != std::string::npos && eraseFrom[erase] < eraseTo[erase]) {
            chars.erase(chars.begin() + eraseFrom[erase], chars.begin() + eraseTo[erase]);
            cursor = eraseFrom[erase];
        }
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::size_t used = 0;
    const auto next = [&]() -> unsigned {
        return used < size ? data[used++] : 0;
    };
    const unsigned readSizes = next();
    Model model;
    std::string stream;
    std::vector<std::size_t> pauses;  // offsets in the stream where typing pauses
    while (used < size) {
        const unsigned token = next() % 6, choice = next();
        if (token == 0) {
            stream += kText[choice % 8];
            model.Type(kText[choice % 8]);
        } else if (token == 1) {
            stream += kKeys[choice % kKeyCount];
            model.Edit(kEdits[choice % kKeyCount]);
        } else if (token == 2) {  // CSI of any length ('$' ends rxvt's keys), unknown or cancelled
            stream += "\x1b[";
            for (unsigned n = choice % 40; n > 0; --n)
                stream += static_cast<char>(0x25 + next() % 27);
            stream += choice % 5 == 0 ? '\x18' : kUnknownFinals[next() % kUnknownFinals.size()];
        } else if (token == 3) {  // OSC, DCS, APC, PM or SOS: any content but its ends
            stream += std::string("\x1b") + "]P_^X"[choice % 5];
            for (unsigned n = next() % 40; n > 0; --n) {
                const char byte = static_cast<char>(next());
                if (std::string("\x07\x18\x1a\x1b").find(byte) == std::string::npos) stream += byte;
            }
            stream += choice % 2 ? "\x07" : "\x1b\\";
        } else if (token == 4) {
            stream += "\x1b";
            pauses.push_back(stream.size());
        } else {  // a paste: characters and line breaks; controls and keys do nothing in it
            stream += "\x1b[200~";
            for (unsigned n = choice % 48; n > 0; --n) {
                const unsigned part = next();
                const char* text = kText[part / 4 % 8];
                const char* key = kKeys[part / 4 % kKeyCount];
                if (part % 4 == 0) {
                    stream += part % 8 ? "\n" : "\r\n";
                    model.Edit('\n');
                } else if (part % 4 == 1) {
                    stream += text;
                    model.Type(text);
                } else {
                    stream += part % 4 == 2 && key[0] != '\r' ? key : "\x05\t";
                }
            }
            stream += "\x1b[201~";
        }
    }

    KeyDecoder decoder;
    LineEditor editor;
    std::vector<std::string> submitted;
    for (std::size_t at = 0, end = 0, read = 0; at < stream.size(); at = end, ++read) {
        end = std::min(stream.size(), at + 1 + (readSizes >> (read % 8)) % 16);
        for (std::size_t pause : pauses) end = pause > at && pause < end ? pause : end;
        for (const Key& key : decoder.Feed(std::string_view(stream).substr(at, end - at))) {
            EditResult result = editor.Apply(key);
            if (result.submitted) submitted.push_back(result.line);
        }
        fuzz::Require(editor.text().size() <= 31 && CleanInputLine(editor.text()) == editor.text(),
                      "the line holds whole characters, at most 31 bytes");
        if (std::find(pauses.begin(), pauses.end(), end) != pauses.end()) decoder.Pause();
    }
    fuzz::Require(editor.text() == model.Text() && submitted == model.submitted &&
                      editor.cursor() == model.Text(model.cursor).size(),
                  "the line, its cursor and the lines submitted are the model's", [&] {
                      return "stream: " + fuzz::Escaped(stream) +
                             "\nline: " + fuzz::Escaped(editor.text()) +
                             "\nmodel: " + fuzz::Escaped(model.Text());
                  });
    return 0;
}
