#include "session/speaking_display.h"

#include <utility>

namespace {

constexpr const char* kSpeechOn = "Speech on.";
constexpr const char* kSpeechOff = "Speech off.";
// Texts kept while the reader's first answer is awaited: the splash's and the story's opening.
constexpr std::size_t kMostHeld = 4;

// Adds `text` after `to`, a space between them: a wrap point or a new text is a word break.
void Join(std::string& to, const std::string& text) {
    if (!to.empty()) to += ' ';
    to += text;
}

}  // namespace

void SpeakingDisplay::Typed(const std::string&) {
    lastReply_.clear();
    if (on_) sink_.Cancel();
}

void SpeakingDisplay::Line(const ConsoleLine& line) {
    const std::string text = PlainText(line);
    if (text.find_first_not_of(' ') != std::string::npos) Join(frameText_, text);
}

void SpeakingDisplay::Cleared() {
    frameText_.clear();
    lastReply_.clear();
    held_.clear();
    if (on_) sink_.Cancel();
}

void SpeakingDisplay::FrameShown() {
    for (const std::string& text : std::exchange(opening_, {})) Speak(text);
    if (frameText_.empty()) return;
    Join(lastReply_, frameText_);
    Speak(frameText_);
    frameText_.clear();
}

void SpeakingDisplay::SetOn(bool on) {
    reader_ = nullptr;
    held_.clear();
    Announce(on);
}

void SpeakingDisplay::FollowReader(const ReaderAnswer& answer) {
    reader_ = &answer;
    answered_ = false;
    CheckReader();
}

void SpeakingDisplay::CheckReader() {
    if (reader_ == nullptr) return;
    const std::optional<bool> running = reader_->Get();
    if (!running) return;
    if (answered_) {
        Announce(*running);
        return;
    }
    answered_ = true;
    on_ = *running;
    for (const std::string& text : held_) Speak(text);
    held_.clear();
}

void SpeakingDisplay::Say(const std::string& text) {
    opening_.push_back(text);
}

void SpeakingDisplay::Speak(const std::string& text) {
    if (on_) {
        sink_.Speak(text);
    } else if (reader_ != nullptr && !answered_) {
        if (held_.size() == kMostHeld) held_.erase(held_.begin());
        held_.push_back(text);
    }
}

void SpeakingDisplay::Announce(bool on) {
    if (on == on_) return;
    sink_.Cancel();
    sink_.Speak(on ? kSpeechOn : kSpeechOff);
    on_ = on;
}

void SpeakingDisplay::Silence() {
    if (on_) sink_.Cancel();
}

void SpeakingDisplay::RepeatLastReply() {
    if (!on_ || lastReply_.empty()) return;
    sink_.Cancel();
    sink_.Speak(lastReply_);
}

std::optional<bool> SpeechChosen(bool speakOption, std::optional<bool> savedToggle) {
    if (speakOption) return true;
    return savedToggle;
}
