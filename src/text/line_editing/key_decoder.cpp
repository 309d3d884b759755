#include "text/line_editing/key_decoder.h"

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

// Where the byte that names a key stands in what the terminal sends.
enum class Named {
    Control,  // a control character on its own
    Final,    // the final letter of "ESC [ ... X" or "ESC O X"
    Number,   // N in "ESC [ N ~", the VT220 keypad's numbering (xterm, rxvt, the Linux console)
    Alt,      // the key after an Escape
};

struct NamedKey {
    Named where;
    unsigned char byte;
    KeyAction action;
};

// Modifiers in a sequence's parameters are ignored, so Ctrl-Left still moves left.
constexpr NamedKey kNamedKeys[] = {
    {Named::Control, 0x01, KeyAction::Home},          // Ctrl-A
    {Named::Control, 0x02, KeyAction::Left},          // Ctrl-B
    {Named::Control, 0x03, KeyAction::Interrupt},     // Ctrl-C
    {Named::Control, 0x04, KeyAction::DeleteOrQuit},  // Ctrl-D
    {Named::Control, 0x05, KeyAction::End},           // Ctrl-E
    {Named::Control, 0x06, KeyAction::Right},         // Ctrl-F
    {Named::Control, 0x08, KeyAction::Backspace},     // Ctrl-H
    {Named::Control, 0x0A, KeyAction::Enter},         // Ctrl-J
    {Named::Control, 0x0B, KeyAction::KillToEnd},     // Ctrl-K
    {Named::Control, 0x0D, KeyAction::Enter},         // Ctrl-M, Enter
    {Named::Control, 0x0E, KeyAction::Newer},         // Ctrl-N
    {Named::Control, 0x10, KeyAction::Older},         // Ctrl-P
    {Named::Control, 0x15, KeyAction::KillToStart},   // Ctrl-U
    {Named::Control, 0x17, KeyAction::KillWord},      // Ctrl-W
    {Named::Control, 0x7F, KeyAction::Backspace},     // Backspace
    {Named::Final, 'A', KeyAction::Older},
    {Named::Final, 'B', KeyAction::Newer},
    {Named::Final, 'C', KeyAction::Right},
    {Named::Final, 'D', KeyAction::Left},
    {Named::Final, 'H', KeyAction::Home},
    {Named::Final, 'F', KeyAction::End},
    {Named::Number, '1', KeyAction::Home},
    {Named::Number, '7', KeyAction::Home},
    {Named::Number, '4', KeyAction::End},
    {Named::Number, '8', KeyAction::End},
    {Named::Number, '3', KeyAction::Delete},
    {Named::Alt, 'b', KeyAction::WordLeft},
    {Named::Alt, 'B', KeyAction::WordLeft},
    {Named::Alt, 'f', KeyAction::WordRight},
    {Named::Alt, 'F', KeyAction::WordRight},
    {Named::Alt, 'd', KeyAction::KillNextWord},
    {Named::Alt, 'D', KeyAction::KillNextWord},
    {Named::Alt, 0x08, KeyAction::KillWord},  // Alt-Backspace, either code
    {Named::Alt, 0x7F, KeyAction::KillWord},
};

std::optional<KeyAction> NamedAction(Named where, unsigned char byte) {
    for (const NamedKey& key : kNamedKeys) {
        if (key.where == where && key.byte == byte) return key.action;
    }
    return std::nullopt;
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

}  // namespace

std::vector<Key> KeyDecoder::Feed(std::string_view bytes, Clock::time_point now) {
    // A loop that ran late reads these bytes without having told of the silence before them:
    // what that silence ended is over before they are decoded.
    std::vector<Key> keys = Pause(now);
    if (!bytes.empty()) lastBytes_ = now;
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
                    const std::optional<KeyAction> action = NamedAction(Named::Final, byte);
                    if (pending_.empty() && action) Emit(*action, keys);
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
                } else if (byte == kBell || IsCancel(byte) || ++stringBytes_ >= kLongestString) {
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

std::vector<Key> KeyDecoder::Pause(Clock::time_point now) {
    std::vector<Key> keys;
    const std::optional<Clock::time_point> deadline = NextDeadline();
    if (!deadline || now < *deadline) return keys;
    if (state_ == State::Character && !dropCharacter_) {
        keys.push_back({KeyAction::Insert, pending_});
    }
    state_ = State::Ground;
    pasting_ = false;
    afterCarriageReturn_ = false;
    return keys;
}

std::optional<KeyDecoder::Clock::time_point> KeyDecoder::NextDeadline() const {
    // Inside a paste, only the paste's own silence counts: its end marker may come late.
    if (pasting_) return lastBytes_ + kPasteWait;
    switch (state_) {
        case State::Ground:
            return std::nullopt;
        case State::Escape:
        case State::String:
        case State::StringEscape:
            return lastBytes_ + kEscapeWait;
        case State::ControlSequence:
        case State::LinuxFunction:
        case State::SingleShift:
        case State::Character:
            break;
    }
    return lastBytes_ + kSequenceWait;
}

void KeyDecoder::Ground(unsigned char byte, std::vector<Key>& keys) {
    const bool lineBreak = byte == '\r' || (byte == '\n' && !afterCarriageReturn_);
    afterCarriageReturn_ = byte == '\r';
    if (byte == kEscape) {
        state_ = State::Escape;
    } else if (pasting_ && (byte < 0x20 || byte == 0x7F)) {
        // Pasted text: a line break submits the line before it, other controls do nothing.
        if (lineBreak) keys.push_back({KeyAction::Enter, {}});
    } else if (const std::optional<KeyAction> action = NamedAction(Named::Control, byte)) {
        keys.push_back({*action, {}});
    } else if (byte < 0x20) {
        // Other control characters (Tab among them) do nothing here.
    } else if (byte < 0x80 || Utf8LengthFromLead(byte) == 1) {
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
            stringBytes_ = 0;
            return;
        case kEscape:
            state_ = State::Escape;  // the first Escape stood alone
            return;
        default:
            break;
    }
    // Any other Alt key does nothing; with a character, all of the character's bytes go.
    if (const std::optional<KeyAction> action = NamedAction(Named::Alt, byte)) {
        Emit(*action, keys);
    } else if (byte >= 0x80 && Utf8LengthFromLead(byte) > 1) {
        StartCharacter(byte, true);
    }
}

void KeyDecoder::StartCharacter(unsigned char lead, bool drop) {
    state_ = State::Character;
    pending_.assign(1, static_cast<char>(lead));
    needed_ = Utf8LengthFromLead(lead);
    dropCharacter_ = drop;
}

void KeyDecoder::FinishControlSequence(char final, std::vector<Key>& keys) {
    if (intermediate_) return;
    const std::string number = FirstParameter(pending_);
    if (final == '~' && (number == kPasteStart || number == kPasteEnd)) {
        pasting_ = number == kPasteStart;
        return;
    }
    // '^' and '@' are rxvt's Ctrl and Ctrl-Shift forms of the numbered keys.
    const bool numbered = final == '~' || final == '$' || final == '^' || final == '@';
    std::optional<KeyAction> action;
    if (!numbered) {
        action = NamedAction(Named::Final, static_cast<unsigned char>(final));
    } else if (number.size() == 1) {
        action = NamedAction(Named::Number, static_cast<unsigned char>(number[0]));
    }
    if (action) Emit(*action, keys);
}

void KeyDecoder::Emit(KeyAction action, std::vector<Key>& keys) {
    // Keys inside a paste are pasted bytes that happen to look like keys; they do nothing.
    if (!pasting_) keys.push_back({action, {}});
}
