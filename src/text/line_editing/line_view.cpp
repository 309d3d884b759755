#include "text/line_editing/line_view.h"

#include <cstring>

#include "console/span_style.h"
#include "text/interactive_play.h"
#include "text/line_editing/text_columns.h"
#include "text/terminal_colours.h"

namespace {

std::string Move(int count, char direction) {
    return count > 0 ? "\x1b[" + std::to_string(count) + direction : std::string();
}

}  // namespace

LineView::LineView(std::FILE* out, ColourDepth colour) : out_(out, true), colour_(colour) {}

std::string LineView::EraseSequence() const {
    return drawn_ ? Move(cursorRow_, 'A') + "\r\x1b[J" : std::string();
}

void LineView::Draw(const std::string& text, std::size_t cursor, int columns) {
    const int width = columns > 0 ? columns : kDefaultWrapWidth;
    std::string out = EraseSequence();
    const std::string line = kPrompt + text;
    out += colour_ != ColourDepth::None
               ? ColourSequence(SpanStyle::Echo, colour_) + line + kResetSequence
               : line;

    // A line that fills its last row leaves the cursor waiting at the right margin; a new row
    // puts it where the arithmetic below expects it.
    CellPosition end = CellOf(line, line.size(), width);
    if (end.column == width) {
        out += "\r\n";
        end = {end.row + 1, 0};
    }
    CellPosition at = CellOf(line, std::strlen(kPrompt) + cursor, width);
    if (at.column == width) at = {at.row + 1, 0};
    cursorRow_ = at.row;
    out += Move(end.row - cursorRow_, 'A') + "\r" + Move(at.column, 'C');
    out_.Write(out);
    drawn_ = true;
}

void LineView::Erase() {
    if (!drawn_) return;
    out_.Write(EraseSequence());
    drawn_ = false;
    cursorRow_ = 0;
}

void LineView::Bell() {
    out_.Write("\a");
}
