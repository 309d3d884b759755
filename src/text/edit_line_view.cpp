#include "text/edit_line_view.h"

#include <cstring>

#include "console/span_style.h"
#include "text/interactive_play.h"
#include "text/terminal_output.h"

namespace {

// Columns a text takes, one per character. Wide (East Asian) characters take two on most
// terminals; the game's own words have none.
int Columns(const std::string& text, std::size_t end) {
    int columns = 0;
    for (std::size_t i = 0; i < end && i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) ++columns;
    }
    return columns;
}

std::string Move(int count, char direction) {
    return count > 0 ? "\x1b[" + std::to_string(count) + direction : std::string();
}

}  // namespace

EditLineView::EditLineView(std::FILE* out, bool colour) : out_(out, true), colour_(colour) {}

std::string EditLineView::EraseSequence() const {
    return drawn_ ? Move(cursorRow_, 'A') + "\r\x1b[J" : std::string();
}

void EditLineView::Draw(const std::string& text, std::size_t cursor, int columns) {
    const int width = columns > 0 ? columns : kDefaultWrapWidth;
    std::string out = EraseSequence();
    const std::string line = kPrompt + text;
    out += colour_ ? ColourSequence(SpanStyle::Echo) + line + kResetSequence : line;

    // A line that fills its last row leaves the cursor waiting at the right margin; a new row
    // puts it where the arithmetic below expects it.
    const int total = Columns(line, line.size());
    if (total % width == 0) out += "\r\n";
    const int endRow = total / width;
    const int at = Columns(line, std::strlen(kPrompt) + cursor);
    cursorRow_ = at / width;
    out += Move(endRow - cursorRow_, 'A') + "\r" + Move(at % width, 'C');
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
