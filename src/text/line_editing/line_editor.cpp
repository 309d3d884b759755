#include "text/line_editing/line_editor.h"

#include <optional>
#include <utility>

#include "console/utf8.h"
#include "session/input_line.h"

EditResult LineEditor::Apply(const Key& key) {
    switch (key.action) {
        case KeyAction::Insert:
            return Insert(key.text);
        case KeyAction::Enter: {
            EditResult result;
            result.changed = result.submitted = true;
            result.line = std::move(text_);
            history_.Add(result.line);
            text_.clear();
            cursor_ = 0;
            return result;
        }
        case KeyAction::Left:
            return MoveTo(Previous(cursor_));
        case KeyAction::Right:
            return MoveTo(Next(cursor_));
        case KeyAction::WordLeft:
            return MoveTo(WordStart());
        case KeyAction::WordRight:
            return MoveTo(WordEnd());
        case KeyAction::Home:
            return MoveTo(0);
        case KeyAction::End:
            return MoveTo(text_.size());
        case KeyAction::Older: {
            std::optional<std::string> older = history_.Older(text_);
            return older ? Replace(std::move(*older)) : EditResult{};
        }
        case KeyAction::Newer: {
            std::optional<std::string> newer = history_.Newer();
            return newer ? Replace(std::move(*newer)) : EditResult{};
        }
        case KeyAction::Backspace:
            return Erase(Previous(cursor_), cursor_);
        case KeyAction::Delete:
            return Erase(cursor_, Next(cursor_));
        case KeyAction::DeleteOrQuit:
            if (text_.empty()) {
                EditResult result;
                result.endOfInput = true;
                return result;
            }
            return Erase(cursor_, Next(cursor_));
        case KeyAction::KillToStart:
            return Erase(0, cursor_);
        case KeyAction::KillToEnd:
            return Erase(cursor_, text_.size());
        case KeyAction::KillWord:
            return Erase(WordStart(), cursor_);
        case KeyAction::KillNextWord:
            return Erase(cursor_, WordEnd());
        case KeyAction::Interrupt: {
            EditResult result;
            result.interrupt = true;
            return result;
        }
    }
    return {};
}

EditResult LineEditor::Insert(const std::string& typed) {
    // Cleaned as the game cleans every typed line: controls dropped, broken bytes replaced.
    const std::string character = CleanInputLine(typed);
    EditResult result;
    if (character.empty()) return result;
    if (text_.size() + character.size() > LineCleaner::kMaxLineBytes) {
        result.refused = true;
        return result;
    }
    text_.insert(cursor_, character);
    cursor_ += character.size();
    result.changed = true;
    return result;
}

EditResult LineEditor::Replace(std::string text) {
    text_ = std::move(text);
    cursor_ = text_.size();
    EditResult result;
    result.changed = true;
    return result;
}

EditResult LineEditor::Erase(std::size_t from, std::size_t to) {
    EditResult result;
    if (from >= to) return result;
    text_.erase(from, to - from);
    cursor_ = from;
    result.changed = true;
    return result;
}

EditResult LineEditor::MoveTo(std::size_t position) {
    EditResult result;
    result.changed = position != cursor_;
    cursor_ = position;
    return result;
}

std::size_t LineEditor::Previous(std::size_t position) const {
    if (position == 0) return 0;
    --position;
    while (position > 0 && IsUtf8Continuation(text_[position])) --position;
    return position;
}

std::size_t LineEditor::Next(std::size_t position) const {
    if (position >= text_.size()) return text_.size();
    ++position;
    while (position < text_.size() && IsUtf8Continuation(text_[position])) ++position;
    return position;
}

// As a shell's Ctrl-W and Alt-b: the spaces before the cursor, then the word before them.
std::size_t LineEditor::WordStart() const {
    std::size_t position = cursor_;
    while (position > 0 && text_[position - 1] == ' ') --position;
    while (position > 0 && text_[position - 1] != ' ') --position;
    return position;
}

// The spaces after the cursor, then the word after them.
std::size_t LineEditor::WordEnd() const {
    std::size_t position = cursor_;
    while (position < text_.size() && text_[position] == ' ') ++position;
    while (position < text_.size() && text_[position] != ' ') ++position;
    return position;
}
