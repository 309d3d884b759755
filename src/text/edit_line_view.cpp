#include "text/edit_line_view.h"

#include <cstring>

#include "console/span_style.h"
#include "text/interactive_play.h"
#include "text/terminal_colours.h"
#include "text/text_columns.h"

namespace {

std::string Move(int count, char direction) {
    return count > 0 ? "\x1b[" + std::to_string(count) + direction : std::string();
}

}  // namespace

EditLineView::EditLineView(std::FILE* out, ColourDepth colour) : out_(out, true), colour_(colour) {}

std::string EditLineView::EraseSequence() const {
    return drawn_ ? Move(cursorRow_, 'A') + "\r\x1b[J" : std::string();
}

void EditLineView::Draw(const std::string& text, std::size_t cursor, int columns) {
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

void EditLineView::Erase() {
    if (!drawn_) return;
    out_.Write(EraseSequence());
    drawn_ = false;
    cursorRow_ = 0;
}

void EditLineView::Bell() {
    out_.Write("\a");
}
