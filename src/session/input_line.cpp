#include "session/input_line.h"

#include "console/utf8.h"

namespace {

// Kept out of typed lines: C0 and C1 controls and DEL, which move the cursor or recolour a
// terminal, and the private-use range the window's field refuses too.
bool Refused(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || (c >= 0xE000 && c <= 0xF8FF);
}

std::string Encode(char32_t c) {
    std::string out;
    AppendUtf8(out, c);
    return out;
}

}  // namespace

void LineCleaner::Add(unsigned char byte) {
    // A character cut short is read as it stands; the byte then starts afresh.
    if (!pending_.empty() && !IsUtf8Continuation(byte)) CommitPending();
    pending_.push_back(static_cast<char>(byte));
    if (pending_.size() >= Utf8LengthFromLead(static_cast<unsigned char>(pending_[0]))) {
        CommitPending();
    }
}

void LineCleaner::CommitPending() {
    for (std::size_t at = 0; at < pending_.size();) {
        const Utf8Character character = DecodeUtf8At(pending_, at);
        Commit(character.point);
        at += character.length;
    }
    pending_.clear();
}

void LineCleaner::Commit(char32_t codePoint) {
    if (full_ || Refused(codePoint)) return;
    const std::string bytes = Encode(codePoint);
    if (line_.size() + bytes.size() > kMaxLineBytes) {
        full_ = true;
        return;
    }
    line_ += bytes;
}

std::string LineCleaner::Finish() {
    CommitPending();
    std::string line = std::move(line_);
    line_.clear();
    full_ = false;
    return line;
}

std::string CleanInputLine(std::string_view raw) {
    LineCleaner cleaner;
    for (char byte : raw) cleaner.Add(static_cast<unsigned char>(byte));
    return cleaner.Finish();
}

void InputLineReader::Feed(std::string_view bytes) {
    for (char byte : bytes) {
        if (byte == '\n') {
            ready_.push_back(cleaner_.Finish());
            lineStarted_ = false;
        } else {
            cleaner_.Add(static_cast<unsigned char>(byte));
            lineStarted_ = true;
        }
    }
}

void InputLineReader::Finish() {
    if (lineStarted_) ready_.push_back(cleaner_.Finish());
    lineStarted_ = false;
}

std::string InputLineReader::Next() {
    std::string line = std::move(ready_.front());
    ready_.pop_front();
    return line;
}
