#include "session/speaking_display.h"

namespace {

constexpr const char* kSpeechOn = "Speech on.";
constexpr const char* kSpeechOff = "Speech off.";

// Adds `text` after `to`, a space between them: a wrap point or a new text is a word break.
void Join(std::string& to, const std::string& text) {
    if (!to.empty()) to += ' ';
    to += text;
}

}  // namespace

void SpeakingDisplay::Typed(const std::string&) {
    lastReply_.clear();
}

void SpeakingDisplay::Line(const ConsoleLine& line) {
    const std::string text = PlainText(line);
    if (text.find_first_not_of(' ') != std::string::npos) Join(frameText_, text);
}

void SpeakingDisplay::Cleared() {
    frameText_.clear();
    lastReply_.clear();
    if (on_) sink_.Cancel();
}

void SpeakingDisplay::FrameShown() {
    if (frameText_.empty()) return;
    Join(lastReply_, frameText_);
    if (on_) sink_.Speak(frameText_);
    frameText_.clear();
}

void SpeakingDisplay::SetOn(bool on) {
    if (on == on_) return;
    sink_.Cancel();
    sink_.Speak(on ? kSpeechOn : kSpeechOff);
    on_ = on;
}

void SpeakingDisplay::Say(const std::string& text) {
    if (on_) sink_.Speak(text);
}

void SpeakingDisplay::Silence() {
    if (on_) sink_.Cancel();
}

void SpeakingDisplay::RepeatLastReply() {
    if (!on_ || lastReply_.empty()) return;
    sink_.Cancel();
    sink_.Speak(lastReply_);
}
