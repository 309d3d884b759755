// Fuzzes the key decoder and line editor together on a fake clock: tokens (text, keys, unknown
// or cancelled sequences, strings, pastes that end or not, things cut short by a pause) sent as
// a terminal sends them, in reads of chosen sizes and gaps, must leave the line a model keeps;
// no byte of a sequence may reach it. After a pause longer than every wait, nothing waits.
// Input: byte 0 chooses the read sizes, byte 1 their gaps, then one byte per token and one per
// choice in it.

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

#include "fuzz_check.h"
#include "session/input_line.h"
#include "text/line_editing/key_decoder.h"
#include "text/line_editing/line_editor.h"

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

constexpr int kEscapeWait = KeyDecoder::kEscapeWait.count();
constexpr int kSequenceWait = KeyDecoder::kSequenceWait.count();
constexpr int kPasteWait = KeyDecoder::kPasteWait.count();

// The bytes a terminal sends, with the longest gap before each that changes nothing, and pauses.
struct Stream {
    std::string bytes;
    std::vector<int> slack;
    std::vector<std::pair<std::size_t, int>> pauses;  // before which byte, and how long
    bool pasting = false;

    // One token that waits `inner` for each byte but the one right after an Escape.
    void Put(const std::string& token, int inner) {
        for (std::size_t i = 0; i < token.size(); ++i) {
            const int wait = i == 1 && token[0] == '\x1b' ? kEscapeWait : i > 0 ? inner : 9999;
            slack.push_back((pasting ? kPasteWait : wait) - 1);
            bytes += token[i];
        }
    }
};

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
    const unsigned readSizes = next(), gaps = next();
    Model model;
    Stream stream;
    while (used < size) {
        const unsigned token = next() % 6, choice = next();
        if (token == 0) {
            stream.Put(kText[choice % 8], kSequenceWait);
            model.Type(kText[choice % 8]);
        } else if (token == 1) {
            stream.Put(kKeys[choice % kKeyCount], kSequenceWait);
            model.Edit(kEdits[choice % kKeyCount]);
        } else if (token == 2) {  // CSI of any length ('$' ends rxvt's keys), unknown or cancelled
            std::string csi = "\x1b[";
            for (unsigned n = choice % 40; n > 0; --n) csi += static_cast<char>(0x25 + next() % 27);
            csi += choice % 5 == 0 ? '\x18' : kUnknownFinals[next() % kUnknownFinals.size()];
            stream.Put(csi, kSequenceWait);
        } else if (token == 3) {  // OSC, DCS, APC, PM or SOS: any content but its ends
            std::string string = std::string("\x1b") + "]P_^X"[choice % 5];
            for (unsigned n = next() % 40; n > 0; --n) {
                const char byte = static_cast<char>(next());
                if (std::string("\x07\x18\x1a\x1b").find(byte) == std::string::npos) string += byte;
            }
            stream.Put(string + (choice % 2 ? "\x07" : "\x1b\\"), kEscapeWait);
        } else if (token == 4) {  // cut short by a pause: nothing typed but a character's mark
            const std::string whole[] = {"\x1b]0;title",    "\x1b_Gq", "\x1b[1;5",
                                         "\x1bO2",          "\x1b[[A", "\xE6\x97\xA5",
                                         "\xF0\x9F\x94\x91"};
            const std::string& from = whole[choice % 7];
            const std::string cut = from.substr(0, 1 + choice / 7 % (from.size() - 1));
            const bool character = choice % 7 > 4, string = choice % 7 < 2;
            const int wait =
                !character && (string || cut.size() == 1) ? kEscapeWait : kSequenceWait;
            if (character) model.Type("\xEF\xBF\xBD");
            stream.Put(cut, wait);
            stream.pauses.emplace_back(stream.bytes.size(), wait);
        } else {  // a paste: characters and line breaks; controls and keys do nothing in it
            stream.Put("\x1b[200~", kSequenceWait);
            stream.pasting = true;
            for (unsigned n = choice % 48; n > 0; --n) {
                const unsigned part = next();
                const char* text = kText[part / 4 % 8];
                const char* key = kKeys[part / 4 % kKeyCount];
                if (part % 4 == 0) {
                    stream.Put(part % 8 ? "\n" : "\r\n", 0);
                    model.Edit('\n');
                } else if (part % 4 == 1) {
                    stream.Put(text, 0);
                    model.Type(text);
                } else {
                    stream.Put(part % 4 == 2 && key[0] != '\r' ? key : "\x05\t", 0);
                }
            }
            // One in four never ends, maybe with a part of its end marker: a silence ends it.
            const std::string end = "\x1b[201~";
            stream.Put(choice % 4 ? end : end.substr(0, choice / 4 % end.size()), 0);
            stream.pasting = false;
            if (choice % 4 == 0) stream.pauses.emplace_back(stream.bytes.size(), kPasteWait);
        }
    }

    KeyDecoder decoder;
    LineEditor editor;
    std::vector<std::string> submitted;
    KeyDecoder::Clock::time_point now;
    const auto apply = [&editor, &submitted](const std::vector<Key>& keys) {
        for (const Key& key : keys) {
            EditResult result = editor.Apply(key);
            if (result.submitted) submitted.push_back(result.line);
        }
    };
    const std::string& bytes = stream.bytes;
    for (std::size_t at = 0, end = 0, read = 0; at < bytes.size(); at = end, ++read) {
        end = std::min(bytes.size(), at + 1 + (readSizes >> (read % 8)) % 16);
        const bool late = (gaps >> (read % 8)) % 2 != 0;
        int gap = late ? stream.slack[at] : 0;
        for (const auto& [before, millis] : stream.pauses) {
            if (before == at) gap = millis;
            if (before > at && before < end) end = before;
        }
        now += std::chrono::milliseconds(gap);
        if (!late) apply(decoder.Pause(now));  // a late loop reads without hearing of the gap
        apply(decoder.Feed(std::string_view(bytes).substr(at, end - at), now));
        fuzz::Require(editor.text().size() <= 31 && CleanInputLine(editor.text()) == editor.text(),
                      "the line holds whole characters, at most 31 bytes");
    }
    // A pause longer than every wait, then two characters.
    now += std::chrono::milliseconds(kPasteWait);
    apply(decoder.Pause(now));
    fuzz::Require(!decoder.NextDeadline() && !decoder.pasting(), "nothing waits after a pause");
    const std::string line = editor.text(), before = line.substr(0, editor.cursor());
    apply(decoder.Feed("xy", now));
    fuzz::Require(line.size() > 29 || editor.text() == before + "xy" + line.substr(before.size()),
                  "two characters go in at the cursor");
    model.Type("x");
    model.Type("y");
    fuzz::Require(editor.text() == model.Text() && submitted == model.submitted &&
                      editor.cursor() == model.Text(model.cursor).size(),
                  "the line, its cursor and the lines submitted are the model's", [&] {
                      return "stream: " + fuzz::Escaped(bytes) +
                             "\nline: " + fuzz::Escaped(editor.text()) +
                             "\nmodel: " + fuzz::Escaped(model.Text());
                  });
    return 0;
}
