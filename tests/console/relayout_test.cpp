// Console::Rewrap lays the log out again from the texts as they were added: at any width, in any
// order of widths, every word, paragraph break and colour is where it was.

#include <gtest/gtest.h>

#include <climits>
#include <sstream>
#include <string>
#include <vector>

#include "console/console.h"

namespace {

const char* const kTexts[] = {
    "An <i>old lamp</> on the <a>oak table\n\nburning</> bright.",
    "<s>go</>",
    "<h>Hint: it is hot",
};

// The log's words with their style letters, and "|" for each empty line: what a player reads,
// whatever the width.
std::vector<std::string> StyledWords(const Console& console) {
    std::vector<std::string> words;
    for (const ConsoleLine& line : console.lines) {
        if (line.empty()) words.push_back("|");
        for (const TextSpan& span : line) {
            std::istringstream in(span.text);
            for (std::string word; in >> word;) {
                words.push_back(word + "/" + static_cast<char>(span.style));
            }
        }
    }
    return words;
}

std::vector<ConsoleLine> LaidOutFromTheStart(int width) {
    Console console;
    console.wrapWidth = width;
    for (const char* text : kTexts) console.AddText(text);
    return console.lines;
}

}  // namespace

TEST(Rewrap, LaysOutTheTextsAsAddedAtEveryWidth) {
    const std::vector<std::string> words = {"An//",  "old/i",   "lamp/i", "on//",      "the//",
                                            "oak/a", "table/a", "|",      "burning/a", "bright.//",
                                            "go/s",  "Hint:/h", "it/h",   "is/h",      "hot/h"};
    Console console;
    console.wrapWidth = 16;
    console.AddText("Gone.");
    console.Clear();  // what was emptied stays gone
    for (const char* text : kTexts) console.AddText(text);
    const std::vector<ConsoleLine> first = console.lines;

    // Narrow, wide, unmeasured, and back where it started.
    for (const int width : {8, 40, INT_MAX, 16}) {
        console.wrapWidth = width;
        console.scrollToBottom = false;
        const std::uint64_t changes = console.Changes();
        console.Rewrap();
        EXPECT_EQ(console.lines, LaidOutFromTheStart(width)) << "width " << width;
        EXPECT_EQ(StyledWords(console), words) << "width " << width;
        EXPECT_GT(console.Changes(), changes);
        EXPECT_TRUE(console.scrollToBottom);
    }
    EXPECT_EQ(console.lines, first);

    console.Clear();
    console.Rewrap();
    EXPECT_TRUE(console.lines.empty());
}
