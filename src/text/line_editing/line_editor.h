#pragma once

#include <cstddef>
#include <string>

#include "console/command_history.h"
#include "text/line_editing/key_decoder.h"

// What a key did to the line being edited.
struct EditResult {
    bool changed = false;     // the text or the cursor moved: the line needs drawing again
    bool refused = false;     // the key could not be done (a full line): ring the bell
    bool submitted = false;   // Enter: `line` holds the line, and the editor is empty again
    bool endOfInput = false;  // Ctrl-D on an empty line
    bool interrupt = false;   // Ctrl-C
    std::string line;
};

// The line the player is typing, edited as in a shell, with no terminal in sight: the text,
// the cursor and the earlier commands. The text is always whole UTF-8 characters that the
// game's input field would hold, at most as many bytes as it holds.
class LineEditor {
public:
    EditResult Apply(const Key& key);

    const std::string& text() const { return text_; }
    // The cursor as a byte offset into text(), always at the start of a character.
    std::size_t cursor() const { return cursor_; }

private:
    EditResult Insert(const std::string& typed);
    EditResult Replace(std::string text);
    EditResult Erase(std::size_t from, std::size_t to);
    EditResult MoveTo(std::size_t position);
    std::size_t Previous(std::size_t position) const;
    std::size_t Next(std::size_t position) const;
    std::size_t WordStart() const;
    std::size_t WordEnd() const;

    std::string text_;
    std::size_t cursor_ = 0;
    CommandHistory history_;
};
