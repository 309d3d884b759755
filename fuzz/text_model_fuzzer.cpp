// Fuzzes the console's text model: several texts added at any line width, then Rewrap at
// another width, then Clear.
//
// Input: byte 0 picks the width for AddText, byte 1 the width for Rewrap (see WidthOf), byte 2
// is the separator between the texts that make up the rest of the input.

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "console/console.h"
#include "fuzz_check.h"
#include "layout_check.h"

namespace {

constexpr std::size_t kHeaderBytes = 3;
constexpr std::size_t kMostTexts = 64;
constexpr int kChosenWidths[] = {0,       1,       2,       3,  4,  5,  -1, -2,
                                 INT_MIN, INT_MAX, 1 << 20, 10, 20, 30, 40, 140};
constexpr int kChosenWidthCount = sizeof kChosenWidths / sizeof kChosenWidths[0];

bool strictTags = false;
fuzz::LayoutStats stats;

// The edge values first, then every width from 0 to 239.
int WidthOf(std::uint8_t byte) {
    return byte < kChosenWidthCount ? kChosenWidths[byte] : byte - kChosenWidthCount;
}

std::vector<std::string> SplitTexts(const std::uint8_t* data, std::size_t size, char separator) {
    std::vector<std::string> texts(1);
    for (std::size_t i = 0; i < size && texts.size() <= kMostTexts; ++i) {
        const char byte = static_cast<char>(data[i]);
        if (byte == separator) {
            texts.emplace_back();
        } else {
            texts.back() += byte;
        }
    }
    if (texts.size() > kMostTexts) texts.pop_back();
    return texts;
}

void PrintStats() {
    std::fprintf(stderr,
                 "text model: %ld texts checked, %ld breaks inside pieces, %ld texts with a '<' "
                 "within two bytes before a break\n",
                 stats.texts, stats.breaks, stats.tagsAcrossBreak);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    strictTags = std::getenv("TARNWICK_FUZZ_STRICT_TAGS") != nullptr;
    if (std::getenv("TARNWICK_FUZZ_REPORT") != nullptr) std::atexit(PrintStats);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < kHeaderBytes) return 0;
    const int width = WidthOf(data[0]);
    const int rewrapWidth = WidthOf(data[1]);
    const std::vector<std::string> texts =
        SplitTexts(data + kHeaderBytes, size - kHeaderBytes, static_cast<char>(data[2]));

    Console console;
    console.wrapWidth = width;
    for (const std::string& text : texts) {
        const std::size_t before = console.lines().size();
        console.AddText(text);
        fuzz::Require(console.scrollToBottom, "AddText asks to scroll to the end");
        fuzz::Require(console.lines().size() > before, "AddText appends a line");
        const std::vector<ConsoleLine> added(console.lines().begin() + static_cast<long>(before),
                                             console.lines().end());
        fuzz::CheckAddedText(text, width, added, strictTags, stats);
    }

    // Rewrap lays the log out as a console at the new width would have from the start, from the
    // texts as added: nothing of an earlier layout is left.
    Console fresh;
    fresh.wrapWidth = rewrapWidth;
    for (const std::string& text : texts) fresh.AddText(text);
    console.wrapWidth = rewrapWidth;
    console.Rewrap();
    fuzz::Require(console.lines() == fresh.lines(), "Rewrap lays out the texts as added",
                  [&texts] { return std::to_string(texts.size()) + " texts"; });

    console.Clear();
    fuzz::Require(console.lines().empty(), "Clear empties the log");
    fuzz::Require(console.wrapWidth == rewrapWidth && console.scrollToBottom,
                  "Clear keeps the width and the scroll request");
    console.AddText("");
    fuzz::Require(console.lines().size() == 1 && console.lines()[0].empty(),
                  "an empty text after Clear is one empty line");
    return 0;
}
