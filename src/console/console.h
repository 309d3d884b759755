#pragma once

#include <climits>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "console/command_history.h"
#include "console/markup.h"

// How the last Draw laid the console out, in pixels from the display's top left: what a screen
// reader needs to place the text where the player sees it.
struct ConsoleLayout {
    float width = 0.0f;  // the display
    float height = 0.0f;
    float textLeft = 0.0f;  // where each row of the log starts
    float logTop = 0.0f;    // the log region, above the footer
    float logHeight = 0.0f;
    float rowHeight = 0.0f;       // every row of the log is this high
    float scrollY = 0.0f;         // how far the log is scrolled down
    float characterWidth = 0.0f;  // the font's advance, the same for every character
    float footerTop = 0.0f;       // the input field's row
    float footerHeight = 0.0f;
    float lineLeft = 0.0f;  // where the field's text starts
    float lineTop = 0.0f;
    std::uint64_t rowsDrawn = 0;  // Changes() when drawn: the rows are lines() then
    std::string line;             // what the field held, UTF-8
    int caret = 0;                // characters into `line`

    bool operator==(const ConsoleLayout& other) const {
        return std::tie(width, height, textLeft, logTop, logHeight, rowHeight, scrollY,
                        characterWidth, footerTop, footerHeight, lineLeft, lineTop, rowsDrawn, line,
                        caret) == std::tie(other.width, other.height, other.textLeft, other.logTop,
                                           other.logHeight, other.rowHeight, other.scrollY,
                                           other.characterWidth, other.footerTop,
                                           other.footerHeight, other.lineLeft, other.lineTop,
                                           other.rowsDrawn, other.line, other.caret);
    }
};

// The game's one console: a log of coloured display lines and the command input field.
class Console {
public:
    static constexpr int kInputBufferSize = 32;
    static constexpr StyleRgb kBackground = palette::kConsole;
    // Used until the first Draw measures the window: wide enough that nothing added before
    // then is wrapped, so that the first Rewrap lays it out exactly as it was written.
    static constexpr int kUnmeasuredWrapWidth = INT_MAX;

    // How Draw submits the log. Both draw the same pixels; only the rows in view is the game's
    // way, every row (whose cost grows with the log) is kept for comparisons.
    enum class LogDrawing { VisibleRows, EveryRow };
    // Moves of the log's view asked for by keys; the input field keeps the focus and its caret.
    enum class ScrollStep { PageUp, PageDown, ToStart, ToEnd };

    Console() = default;
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;

    // Appends markup text as display lines wrapped at `wrapWidth`, and keeps the text as added.
    void AddText(const std::string& markup);
    // Removes every display line and every text kept; the input field and the width stay as
    // they are.
    void Clear();
    // Lays the whole log out again at the current `wrapWidth` from the texts as they were added,
    // so that every break, paragraph and colour is the same at any width.
    void Rewrap();
    // The texts added since the log was last emptied, as added.
    const std::vector<std::string>& Texts() const { return texts_; }
    // How many times the log was emptied.
    std::uint64_t Clears() const { return clears_; }
    // The display lines, as AddText, Clear and Rewrap made them: one row each, empty ones none.
    const std::vector<ConsoleLine>& lines() const { return lines_; }
    // Draws the console inside the current GUI frame; returns the line submitted with Enter
    // in this frame, or an empty string.
    std::string Draw();

    // Moves the log's view in the next Draw. New text still brings the view to the end.
    void Scroll(ScrollStep step) { scrollStep_ = step; }
    // Whether the last Draw moved the view by a key: the toolkit shows the move a frame later.
    bool ScrolledByKey() const { return scrolledByKey_; }

    // Counts every change to the log (text added, cleared, laid out again), so that a front end
    // can tell whether there is anything new to draw.
    std::uint64_t Changes() const { return changes_; }
    // Whether the input field held the keyboard focus at the end of the last Draw. After Enter
    // it takes the focus back only a frame later, and characters typed before then are lost.
    bool InputActive() const { return inputActive_; }
    // Seconds of GUI clock after the last Draw until the field's blinking caret next appears or
    // disappears; negative when nothing in the field blinks (no focus, or the caret resting,
    // shown, 10 s after the last edit).
    double CaretChangeIn() const { return caretChangeIn_; }
    // Where the input field's caret was at the end of the last Draw, in characters.
    int Caret() const { return layout_.caret; }
    const ConsoleLayout& Layout() const { return layout_; }

    bool scrollToBottom = false;
    char inputBuffer[kInputBufferSize] = {};
    int wrapWidth = kUnmeasuredWrapWidth;
    LogDrawing logDrawing = LogDrawing::VisibleRows;
    // Whether Draw fills the window with kBackground. A front end that clears the screen to
    // that colour first can leave it out: one fill of the screen instead of two.
    bool fillBackground = true;

private:
    // Brings `rowLines_` up to date with the lines appended since the last call.
    void IndexNewRows();
    void LayOut(const std::string& markup);
    // Empties the display lines and their rows' index, keeping the texts.
    void ClearLines();

    std::vector<ConsoleLine> lines_;
    std::vector<std::size_t> rowLines_;  // index in `lines_` of each non-empty line: one row each
    std::size_t indexedLines_ = 0;       // how many of `lines_` rowLines_ has looked at
    std::vector<std::string> texts_;
    std::uint64_t changes_ = 0;
    std::uint64_t clears_ = 0;
    std::optional<ScrollStep> scrollStep_;
    bool scrolledByKey_ = false;
    bool inputActive_ = false;
    double caretChangeIn_ = -1.0;
    ConsoleLayout layout_;
    CommandHistory history_;  // recalled in the input field with the up and down arrows
};
