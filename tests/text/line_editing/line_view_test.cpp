// The edited line as the player sees it: keys typed, the game's text arriving and the terminal
// resized, each step's output shown on a model of the terminal, whose rows and cursor are checked.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "text/line_editing/line_pipeline.h"
#include "text/screen.h"
#include "text/terminal_output.h"

namespace {

// What a step does (at a width, a change of it being a resize), and the bottom rows after it.
struct Step {
    const char* what;
    int columns;
    std::string keys;  // in one read
    std::string game;  // a line of the game's, shown after the keys
    std::vector<std::string> rows;
    int row, column;  // the cursor, in `rows`
    int bells = 0;    // since the start
};

const std::string kLeft = "\x1b[D", kWide = "日本", kMarked = "e\xCC\x81t";  // é with a mark
const std::string kX18(18, 'x'), kFull = std::string(30, 'x') + "y";

const Step kSteps[] = {
    {"typing", 20, "look", "Welcome.", {"Welcome.", "> look"}, 1, 6},
    {"Left twice", 20, kLeft + kLeft, "", {"Welcome.", "> look"}, 1, 4},
    {"End, more words", 20, "\x1b[F at the door", "", {"Welcome.", "> look at the door"}, 1, 18},
    {"Ctrl-W leaves no tail", 20, "\x17", "", {"Welcome.", "> look at the"}, 1, 14},
    {"longer than a row", 20, "old door", "", {"Welcome.", "> look at the old do", "or"}, 2, 2},
    {"Home goes up a row", 20, "\x1b[H", "", {"Welcome.", "> look at the old do", "or"}, 1, 2},
    {"a timed text", 20, "", "Testing me", {"Testing me", "> look at the old do", "or"}, 1, 2},
    {"Enter: the echo above", 20, "\r", "", {"> look at the old do", "or", ">"}, 2, 2},
    {"Up: the line before", 20, "\x1b[A", "", {"or", "> look at the old do", "or"}, 2, 2},
    {"Down: back to the draft", 20, "\x1b[B", "", {"> look at the old do", "or", ">"}, 2, 2},
    {"typing again", 20, "i understand", "", {"or", "> i understand"}, 1, 14},
    {"resized narrower", 12, "", "", {"or", "> i understa", "nd"}, 2, 2},
    {"resized wider", 30, "", "", {"or", "> i understand"}, 1, 14},
    {"Ctrl-U, wide ones", 7, "\x15" + kWide + kWide, "", {"or", "> 日本", "日本"}, 2, 4},
    {"Ctrl-A past wide ones", 7, "\x01", "", {"or", "> 日本", "日本"}, 1, 2},
    {"a combining mark", 80, "\x05\x15" + kMarked, "", {"or", "> " + kMarked}, 1, 4},
    {"Left past it", 80, kLeft, "", {"or", "> " + kMarked}, 1, 3},
    {"a line filling its row", 20, "\x05\x15" + kX18, "", {"or", "> " + kX18, ""}, 2, 0},
    {"Backspace from the next row", 20, "\x7f", "", {"or", "> " + kX18.substr(1)}, 1, 19},
    {"a full line refuses", 40, "\x15" + kFull + "z!", "", {"or", "> " + kFull}, 1, 33, 1},
    {"a paste refused", 40, kLeft + "\x1b[200~zz", "", {"or", "> " + kFull}, 1, 32, 2},
    {"more of it, Ctrl-D, its end", 40, "z\x04z\x1b[201~", "", {"or", "> " + kFull}, 1, 32, 2},
    {"refused after it", 40, "z", "", {"or", "> " + kFull}, 1, 32, 3},
};

}  // namespace

TEST(LineEditing, ShowsEachEditAsThePlayerSeesIt) {
    const std::string locale = std::setlocale(LC_CTYPE, nullptr);
    ASSERT_NE(std::setlocale(LC_CTYPE, "C.UTF-8"), nullptr);
    char* written = nullptr;
    std::size_t size = 0, shown = 0;
    std::FILE* out = open_memstream(&written, &size);
    int columns = kSteps[0].columns;
    Screen screen(columns);
    LinePipeline line(out, ColourDepth::Palette256, [&columns] { return columns; });
    TerminalOutput terminal(out, ColourDepth::Palette256, false);
    DisplayList displays({&line.eraser(), &terminal});
    LinePipeline::Clock::time_point now;
    for (const Step& step : kSteps) {
        if (step.columns != columns) {  // the terminal's SIGWINCH
            screen.Resize(columns = step.columns);
            line.Draw();
        }
        line.Feed(step.keys, now += std::chrono::milliseconds(10));
        while (line.HasLine()) displays.Typed(line.Next());
        if (!step.game.empty()) displays.Line({{step.game, SpanStyle::Hint}});
        line.FrameShown();
        std::fflush(out);
        // The terminal starts each new line at the left margin.
        std::string output;
        for (; shown < size; ++shown)
            output += written[shown] == '\n' ? "\r\n" : std::string(1, written[shown]);
        screen.Feed(output);
        const std::vector<std::string> rows = screen.Rows();
        const int top = static_cast<int>(rows.size() - std::min(rows.size(), step.rows.size()));
        EXPECT_EQ(std::vector<std::string>(rows.begin() + top, rows.end()), step.rows) << step.what;
        EXPECT_EQ(screen.row() - top, step.row) << step.what;
        EXPECT_EQ(screen.column(), step.column) << step.what;
        EXPECT_EQ(screen.bells(), step.bells) << step.what;
    }
    std::fclose(out);
    std::free(written);
    std::setlocale(LC_CTYPE, locale.c_str());
}
