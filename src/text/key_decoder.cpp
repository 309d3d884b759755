#include "text/key_decoder.h"

#include "console/utf8.h"

namespace {

constexpr unsigned char kEscape = 0x1B;
constexpr unsigned char kBell = 0x07;
// Cancel and Substitute abandon a sequence, as they do in the terminal's own parser.
constexpr unsigned char kCancel = 0x18;
constexpr unsigned char kSubstitute = 0x1A;
// Parameter bytes kept of a sequence: more than any key has. The rest is read and dropped.
constexpr std::size_t kKeptParameters = 16;
// The numbers of "ESC [ N ~" that open and close a bracketed paste.
const char* const kPasteStart = "200";
const char* const kPasteEnd = "201";

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

bool IsCancel(unsigned char byte) {
    return byte == kCancel || byte == kSubstitute;
}

// The first parameter of a sequence: what comes before ';' or ':'.
std::string FirstParameter(const std::string& parameters) {
    return parameters.substr(0, parameters.find_first_of(";:"));
}

bool AllDigits(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

// "ESC [ N ~" keys of the VT220 keypad, as xterm, rxvt and the Linux console send them.
bool NumberedKey(const std::string& parameters, KeyAction& action) {
    const std::string number = FirstParameter(parameters);
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
                AfterEscape(byte, keys);
                break;
            case State::ControlSequence:
                if (byte >= 0x40 && byte <= 0x7E) {
                    state_ = State::Ground;
                    if (byte == '[' && pending_.empty() && !intermediate_) {
                        state_ = State::LinuxFunction;
                    } else {
                        FinishControlSequence(static_cast<char>(byte), keys);
                    }
                } else if (byte == '$' && AllDigits(pending_) && !intermediate_) {
                    // rxvt ends its shifted keypad keys with '$', elsewhere an intermediate.
                    state_ = State::Ground;
                    FinishControlSequence('$', keys);
                } else if (byte >= 0x20 && byte < 0x40) {
                    if (byte < 0x30) intermediate_ = true;
                    if (!intermediate_ && pending_.size() < kKeptParameters) {
                        pending_ += static_cast<char>(byte);
                    }
                } else {
                    state_ = State::Ground;  // not a sequence after all
                    if (!IsCancel(byte)) Ground(byte, keys);
                }
                break;
            case State::LinuxFunction:
                // F1 to F5 end in 'A' to 'E'; none of them does anything here.
                state_ = State::Ground;
                if ((byte < 0x40 || byte > 0x7E) && !IsCancel(byte)) Ground(byte, keys);
                break;
            case State::SingleShift:
                if (byte >= 0x40 && byte <= 0x7E) {
                    state_ = State::Ground;
                    KeyAction action;
                    if (pending_.empty() && LetterKey(static_cast<char>(byte), action)) {
                        Emit(action, keys);
                    }
                } else if (byte >= 0x20 && byte < 0x40) {
                    // Some terminals put modifiers here, as in a CSI sequence; dropped.
                    if (pending_.size() < kKeptParameters) pending_ += static_cast<char>(byte);
                } else {
                    state_ = State::Ground;
                    if (!IsCancel(byte)) Ground(byte, keys);
                }
                break;
            case State::String:
                if (byte == kEscape) {
                    state_ = State::StringEscape;
                } else if (byte == kBell || IsCancel(byte)) {
                    state_ = State::Ground;
                }
                break;
            case State::StringEscape:
                // ESC \ is the string terminator; any other byte after the Escape ends the
                // string too, and goes on as after an Escape.
                state_ = State::Ground;
                if (byte != '\\') AfterEscape(byte, keys);
                break;
            case State::Character:
                if (!IsUtf8Continuation(byte)) {
                    // Cut short: handed on as it is, for the editor to refuse or replace.
                    if (!dropCharacter_) keys.push_back({KeyAction::Insert, pending_});
                    state_ = State::Ground;
                    Ground(byte, keys);
                    break;
                }
                pending_ += static_cast<char>(byte);
                if (pending_.size() == needed_) {
                    if (!dropCharacter_) keys.push_back({KeyAction::Insert, pending_});
                    state_ = State::Ground;
                }
                break;
        }
    }
    return keys;
}

void KeyDecoder::Pause() {
    if (state_ == State::Escape || state_ == State::StringEscape) state_ = State::Ground;
}

void KeyDecoder::Ground(unsigned char byte, std::vector<Key>& keys) {
    const bool lineBreak = byte == '\r' || (byte == '\n' && !afterCarriageReturn_);
    afterCarriageReturn_ = byte == '\r';
    KeyAction action;
    if (byte == kEscape) {
        state_ = State::Escape;
    } else if (pasting_ && (byte < 0x20 || byte == 0x7F)) {
        // Pasted text: a line break submits the line before it, other controls do nothing.
        if (lineBreak) keys.push_back({KeyAction::Enter, {}});
    } else if (ControlKey(byte, action)) {
        keys.push_back({action, {}});
    } else if (byte < 0x20) {
        // Other control characters (Tab among them) do nothing here.
    } else if (byte < 0x80 || CharacterLength(byte) == 1) {
        keys.push_back({KeyAction::Insert, std::string(1, static_cast<char>(byte))});
    } else {
        StartCharacter(byte, false);
    }
}

void KeyDecoder::AfterEscape(unsigned char byte, std::vector<Key>& keys) {
    state_ = State::Ground;
    pending_.clear();
    intermediate_ = false;
    switch (byte) {
        case '[':
            state_ = State::ControlSequence;
            return;
        case 'O':
            state_ = State::SingleShift;
            return;
        case ']':
        case 'P':
        case '_':
        case '^':
        case 'X':
            state_ = State::String;
            return;
        case kEscape:
            state_ = State::Escape;  // the first Escape stood alone
            return;
        case 'b':
        case 'B':
            Emit(KeyAction::WordLeft, keys);
            return;
        case 'f':
        case 'F':
            Emit(KeyAction::WordRight, keys);
            return;
        case 'd':
        case 'D':
            Emit(KeyAction::KillNextWord, keys);
            return;
        case 0x08:
        case 0x7F:
            Emit(KeyAction::KillWord, keys);
            return;
        default:
            break;
    }
    // Any other Alt key does nothing; with a character, all of the character's bytes go.
    if (byte >= 0x80 && CharacterLength(byte) > 1) StartCharacter(byte, true);
}

void KeyDecoder::StartCharacter(unsigned char lead, bool drop) {
    state_ = State::Character;
    pending_.assign(1, static_cast<char>(lead));
    needed_ = CharacterLength(lead);
    dropCharacter_ = drop;
}

void KeyDecoder::FinishControlSequence(char final, std::vector<Key>& keys) {
    if (intermediate_) return;
    if (final == '~' && FirstParameter(pending_) == kPasteStart) {
        pasting_ = true;
        return;
    }
    if (final == '~' && FirstParameter(pending_) == kPasteEnd) {
        pasting_ = false;
        return;
    }
    KeyAction action;
    // '^' and '@' are rxvt's Ctrl and Ctrl-Shift forms of the numbered keys.
    const bool numbered = final == '~' || final == '$' || final == '^' || final == '@';
    const bool known = numbered ? NumberedKey(pending_, action) : LetterKey(final, action);
    if (known) Emit(action, keys);
}

void KeyDecoder::Emit(KeyAction action, std::vector<Key>& keys) {
    // Keys inside a paste are pasted bytes that happen to look like keys; they do nothing.
    if (!pasting_) keys.push_back({action, {}});
}
