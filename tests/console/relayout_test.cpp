// Console::Rewrap lays the log out again from the texts as they were added: at any width, in any
// order of widths, the log is what the same texts added at that width make, every paragraph
// break and colour kept, no break of an earlier width left behind.

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "console/console.h"

namespace {

const char* const kTexts[] = {
    "An <i>old lamp</> on the <a>oak table\n\nburning</> bright.",
    "<s>go</>",
    "<h>Hint: it is hot",
};

std::vector<ConsoleLine> LaidOutFromTheStart(int width) {
    Console console;
    console.wrapWidth = width;
    for (const char* text : kTexts) console.AddText(text);
    return console.lines();
}

}  // namespace

TEST(Rewrap, LaysOutTheTextsAsAddedAtEveryWidth) {
    Console console;
    console.wrapWidth = 16;
    console.AddText("Gone.");
    console.Clear();  // what was emptied stays gone
    for (const char* text : kTexts) console.AddText(text);
    const std::vector<ConsoleLine> first = console.lines();

    // Narrow, wide, unmeasured, and back where it started.
    for (const int width : {8, 40, INT_MAX, 16}) {
        console.wrapWidth = width;
        console.scrollToBottom = false;
        const std::uint64_t changes = console.Changes();
        console.Rewrap();
        EXPECT_EQ(console.lines(), LaidOutFromTheStart(width)) << "width " << width;
        EXPECT_GT(console.Changes(), changes);
        EXPECT_TRUE(console.scrollToBottom);
        if (width != INT_MAX) continue;
        // Unwrapped, each paragraph is one line with all its colours: nothing was lost.
        std::vector<std::string> shown;
        for (const ConsoleLine& line : console.lines()) shown.push_back(LineMarkup(line));
        EXPECT_EQ(shown, (std::vector<std::string>{"An <i>old lamp</> on the <a>oak table</>", "",
                                                   "<a>burning</> bright.", "<s>go</>",
                                                   "<h>Hint: it is hot</>"}));
    }
    EXPECT_EQ(console.lines(), first);

    console.Clear();
    console.Rewrap();
    EXPECT_TRUE(console.lines().empty());
}
