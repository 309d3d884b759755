#include "text/key_decoder.h"

namespace {

constexpr unsigned char kEscape = 0x1B;
// Longer than any key's sequence; past it the bytes are noise and dropped.
constexpr std::size_t kMaxSequence = 16;

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// Bytes in a character that starts with `byte`; 1 for bytes that cannot start one.
std::size_t CharacterLength(unsigned char byte) {
    if (byte >= 0xC2 && byte <= 0xDF) return 2;
    if (byte >= 0xE0 && byte <= 0xEF) return 3;
    if (byte >= 0xF0 && byte <= 0xF4) return 4;
    return 1;
}

bool ControlKey(unsigned char byte, KeyAction& action) {
    switch (byte) {
        case 0x01:
            action = KeyAction::Home;
            return true;
        case 0x02:
            action = KeyAction::Left;
            return true;
        case 0x03:
            action = KeyAction::Interrupt;
            return true;
        case 0x04:
            action = KeyAction::DeleteOrQuit;
            return true;
        case 0x05:
            action = KeyAction::End;
            return true;
        case 0x06:
            action = KeyAction::Right;
            return true;
        case 0x08:
            action = KeyAction::Backspace;
            return true;
        case 0x0A:
            action = KeyAction::Enter;
            return true;
        case 0x0B:
            action = KeyAction::KillToEnd;
            return true;
        case 0x0D:
            action = KeyAction::Enter;
            return true;
        case 0x0E:
            action = KeyAction::Newer;
            return true;
        case 0x10:
            action = KeyAction::Older;
            return true;
        case 0x15:
            action = KeyAction::KillToStart;
            return true;
        case 0x17:
            action = KeyAction::KillWord;
            return true;
        case 0x7F:
            action = KeyAction::Backspace;
            return true;
        default:
            return false;
    }
}

// The final letter of "ESC [ ... X" or "ESC O X"; modifiers in the parameters are ignored, so
// Ctrl-Left still moves left.
bool LetterKey(char final, KeyAction& action) {
    switch (final) {
        case 'A':
            action = KeyAction::Older;
            return true;
        case 'B':
            action = KeyAction::Newer;
            return true;
        case 'C':
            action = KeyAction::Right;
            return true;
        case 'D':
            action = KeyAction::Left;
            return true;
        case 'H':
            action = KeyAction::Home;
            return true;
        case 'F':
            action = KeyAction::End;
            return true;
        default:
            return false;
    }
}

// "ESC [ N ~" keys of the VT220 keypad, as xterm, rxvt and the Linux console send them.
bool NumberedKey(const std::string& parameters, KeyAction& action) {
    const std::string number = parameters.substr(0, parameters.find(';'));
    if (number == "1" || number == "7") {
        action = KeyAction::Home;
    } else if (number == "4" || number == "8") {
        action = KeyAction::End;
    } else if (number == "3") {
        action = KeyAction::Delete;
    } else {
        return false;
    }
    return true;
}

}  // namespace

std::vector<Key> KeyDecoder::Feed(std::string_view bytes) {
    std::vector<Key> keys;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        switch (state_) {
            case State::Ground:
                Ground(byte, keys);
                break;
            case State::Escape:
                // Any other byte after a lone Escape is taken as typed on its own.
                state_ = State::Ground;
                if (byte == '[') {
                    state_ = State::ControlSequence;
                    pending_.clear();
                } else if (byte == 'O') {
                    state_ = State::SingleShift;
                } else {
                    Ground(byte, keys);
                }
                break;
            case State::ControlSequence:
                if (byte >= 0x40 && byte <= 0x7E) {
                    state_ = State::Ground;
                    FinishControlSequence(static_cast<char>(byte), keys);
                } else if (byte >= 0x20 && byte < 0x40 && pending_.size() < kMaxSequence) {
                    pending_ += static_cast<char>(byte);
                } else {
                    state_ = State::Ground;  // not a sequence after all
                    Ground(byte, keys);
                }
                break;
            case State::SingleShift: {
                state_ = State::Ground;
                KeyAction action;
                if (LetterKey(static_cast<char>(byte), action)) keys.push_back({action, {}});
                break;
            }
            case State::Character:
                if (!IsContinuation(byte)) {
                    // Cut short: handed on as it is, for the editor to refuse or replace.
                    keys.push_back({KeyAction::Insert, pending_});
                    state_ = State::Ground;
                    Ground(byte, keys);
                    break;
                }
                pending_ += static_cast<char>(byte);
                if (pending_.size() == needed_) {
                    keys.push_back({KeyAction::Insert, pending_});
                    state_ = State::Ground;
                }
                break;
        }
    }
    return keys;
}

void KeyDecoder::Ground(unsigned char byte, std::vector<Key>& keys) {
    KeyAction action;
    if (byte == kEscape) {
        state_ = State::Escape;
    } else if (ControlKey(byte, action)) {
        keys.push_back({action, {}});
    } else if (byte < 0x20) {
        // Other control characters (Tab among them) do nothing here.
    } else if (byte < 0x80 || CharacterLength(byte) == 1) {
        keys.push_back({KeyAction::Insert, std::string(1, static_cast<char>(byte))});
    } else {
        state_ = State::Character;
        pending_.assign(1, static_cast<char>(byte));
        needed_ = CharacterLength(byte);
    }
}

void KeyDecoder::FinishControlSequence(char final, std::vector<Key>& keys) {
    KeyAction action;
    const bool known = final == '~' ? NumberedKey(pending_, action) : LetterKey(final, action);
    if (known) keys.push_back({action, {}});
}
