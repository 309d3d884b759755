#pragma once

#include <string>
#include <string_view>
#include <vector>

// What a key press asks of the line being edited.
enum class KeyAction {
    Insert,        // a character to insert (Key::text)
    Enter,         // submit the line
    Left,          // Left arrow, Ctrl-B
    Right,         // Right arrow, Ctrl-F
    Older,         // Up arrow, Ctrl-P
    Newer,         // Down arrow, Ctrl-N
    Home,          // Home, Ctrl-A
    End,           // End, Ctrl-E
    Backspace,     // Backspace, Ctrl-H
    Delete,        // Delete
    DeleteOrQuit,  // Ctrl-D: end of input on an empty line, else Delete
    KillToStart,   // Ctrl-U
    KillToEnd,     // Ctrl-K
    KillWord,      // Ctrl-W: the word before the cursor
    Interrupt,     // Ctrl-C when the terminal hands it over as a byte
};

struct Key {
    KeyAction action = KeyAction::Insert;
    std::string text;  // Insert: the bytes of one character as typed, not yet checked

    bool operator==(const Key& other) const { return action == other.action && text == other.text; }
};

// Turns the bytes a terminal sends for key presses into keys: UTF-8 characters, control
// characters and the escape sequences of xterm and the VT100 family. Sequences it does not
// know are swallowed whole, so they never end up as text in the line. A key split between two
// reads is finished by the second.
class KeyDecoder {
public:
    std::vector<Key> Feed(std::string_view bytes);

private:
    enum class State { Ground, Escape, ControlSequence, SingleShift, Character };

    void Ground(unsigned char byte, std::vector<Key>& keys);
    void FinishControlSequence(char final, std::vector<Key>& keys);

    State state_ = State::Ground;
    std::string pending_;     // the escape sequence's parameters, or a character's bytes
    std::size_t needed_ = 0;  // bytes the pending character has in all
};
