#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What a key press asks of the line being edited.
enum class KeyAction {
    Insert,        // a character to insert (Key::text)
    Enter,         // submit the line
    Left,          // Left arrow, Ctrl-B
    Right,         // Right arrow, Ctrl-F
    WordLeft,      // Alt-b: to the start of this or the previous word
    WordRight,     // Alt-f: to the end of this or the next word
    Older,         // Up arrow, Ctrl-P
    Newer,         // Down arrow, Ctrl-N
    Home,          // Home, Ctrl-A
    End,           // End, Ctrl-E
    Backspace,     // Backspace, Ctrl-H
    Delete,        // Delete
    DeleteOrQuit,  // Ctrl-D: end of input on an empty line, else Delete
    KillToStart,   // Ctrl-U
    KillToEnd,     // Ctrl-K
    KillWord,      // Ctrl-W, Alt-Backspace: the word before the cursor
    KillNextWord,  // Alt-d: the word after the cursor
    Interrupt,     // Ctrl-C when the terminal hands it over as a byte
};

struct Key {
    KeyAction action = KeyAction::Insert;
    std::string text;  // Insert: the bytes of one character as typed, not yet checked

    bool operator==(const Key& other) const { return action == other.action && text == other.text; }
};

// Turns the bytes a terminal sends for key presses into keys: UTF-8 characters, control
// characters, Alt keys (Escape, then the key) and the escape sequences of xterm, the VT100
// family and the Linux console. CSI and SS3 sequences are read to their final byte, OSC, DCS,
// APC, PM and SOS strings to their terminator (ST or BEL); what it does not know is dropped, so
// no byte of a sequence ends up in the line. A key split between two reads is finished by the
// second. Between the markers of a bracketed paste, bytes are text: each line break is an
// Enter, other control bytes and sequences do nothing.
//
// Terminals send a sequence in one write, people type with gaps: so a pause ends whatever is
// unfinished, and none of it is typed. The decoder is given the time with the bytes and told
// when time passed without any, so that it needs no clock of its own.
class KeyDecoder {
public:
    using Clock = std::chrono::steady_clock;

    // How long a lone Escape waits for the rest of a sequence, as shells and editors wait, and
    // how long a string waits for its next byte: a string this program never asks for is most
    // likely an Alt key (Alt-_ opens one), and the keys after it belong to the line.
    static constexpr auto kEscapeWait = std::chrono::milliseconds(50);
    // A CSI or SS3 sequence, or a UTF-8 character, that a slow link split waits this long.
    static constexpr auto kSequenceWait = std::chrono::milliseconds(300);
    // The silence that ends a paste whose end marker never came; within it, the marker is
    // waited for across reads.
    static constexpr auto kPasteWait = std::chrono::milliseconds(1000);
    // A string ends after this many bytes, terminated or not.
    static constexpr std::size_t kLongestString = 512;

    // The keys in `bytes`, read at `now`: first what Pause(now) gives, so bytes that come after
    // a wait has ended are never part of what it ended. Bytes of one read are decoded together.
    std::vector<Key> Feed(std::string_view bytes, Clock::time_point now);
    // Nothing came until `now`: what waited for it no longer waits. Sequences and strings are
    // dropped, a paste ends; the keys are a character cut short, handed on as it came.
    std::vector<Key> Pause(Clock::time_point now);
    // When Pause next ends something; none while nothing is unfinished.
    std::optional<Clock::time_point> NextDeadline() const;
    // Between the markers of a bracketed paste.
    bool pasting() const { return pasting_; }

private:
    enum class State {
        Ground,
        Escape,
        ControlSequence,  // ESC [
        LinuxFunction,    // ESC [ [, before the Linux console's F1 to F5 letter
        SingleShift,      // ESC O
        String,           // ESC ] (OSC), ESC P (DCS), ESC _ (APC), ESC ^ (PM), ESC X (SOS)
        StringEscape,     // an Escape inside a string: ST, or the start of something else
        Character,
    };

    void Ground(unsigned char byte, std::vector<Key>& keys);
    void AfterEscape(unsigned char byte, std::vector<Key>& keys);
    // The lead byte of a UTF-8 character; `drop` leaves the whole character out (Alt with it).
    void StartCharacter(unsigned char lead, bool drop);
    void FinishControlSequence(char final, std::vector<Key>& keys);
    void Emit(KeyAction action, std::vector<Key>& keys);

    State state_ = State::Ground;
    std::string pending_;          // the sequence's first parameter bytes, or a character's bytes
    bool intermediate_ = false;    // the sequence has intermediate bytes: no key has those
    std::size_t needed_ = 0;       // bytes the pending character has in all
    std::size_t stringBytes_ = 0;  // bytes of the string so far
    bool dropCharacter_ = false;   // the pending character came with Alt
    bool pasting_ = false;
    bool afterCarriageReturn_ = false;  // in a paste, "\r\n" is one line break
    Clock::time_point lastBytes_;       // when the last bytes came
};
