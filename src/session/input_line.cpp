#include "session/input_line.h"

#include "console/utf8.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Kept out of typed lines: C0 and C1 controls and DEL, which move the cursor or recolour a
// terminal, and the private-use range the window's field refuses too.
bool Refused(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || (c >= 0xE000 && c <= 0xF8FF);
}

std::string Encode(char32_t c) {
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

// Smallest code point each sequence length may carry; anything less is an overlong form.
char32_t MinimumFor(int length) {
    return length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
}

}  // namespace

void LineCleaner::Add(unsigned char byte) {
    if (pendingLength_ > 0) {
        if (IsUtf8Continuation(byte)) {
            pending_ = (pending_ << 6) | (byte & 0x3F);
            if (++pendingHave_ == pendingLength_) CommitPending();
            return;
        }
        Commit(kReplacement);  // the sequence was cut short; the byte starts afresh
        pendingLength_ = 0;
    }
    if (byte < 0x80) {
        Commit(byte);
    } else if (byte >= 0xC2 && byte <= 0xDF) {
        pending_ = byte & 0x1F;
        pendingLength_ = 2;
        pendingHave_ = 1;
    } else if (byte >= 0xE0 && byte <= 0xEF) {
        pending_ = byte & 0x0F;
        pendingLength_ = 3;
        pendingHave_ = 1;
    } else if (byte >= 0xF0 && byte <= 0xF4) {
        pending_ = byte & 0x07;
        pendingLength_ = 4;
        pendingHave_ = 1;
    } else {
        Commit(kReplacement);
    }
}

void LineCleaner::CommitPending() {
    const bool valid = pending_ >= MinimumFor(pendingLength_) && pending_ <= 0x10FFFF &&
                       !(pending_ >= 0xD800 && pending_ <= 0xDFFF);
    pendingLength_ = 0;
    Commit(valid ? pending_ : kReplacement);
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
    if (pendingLength_ > 0) {
        pendingLength_ = 0;
        Commit(kReplacement);
    }
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
