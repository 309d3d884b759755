#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>

#include "console/console.h"

// Typed text as the window's input field would hold it: control characters dropped, each byte
// that is not part of a whole UTF-8 character read as U+FFFD (console/utf8.h), whole characters
// up to 31 bytes, the rest of the line ignored. Fed one byte at a time, so a line of any length
// costs no more than 31 bytes.
class LineCleaner {
public:
    static constexpr std::size_t kMaxLineBytes = Console::kInputBufferSize - 1;

    void Add(unsigned char byte);
    // The cleaned line; an unfinished character at its end counts as invalid. Starts a new line.
    std::string Finish();

private:
    void Commit(char32_t codePoint);
    void CommitPending();

    std::string line_;
    bool full_ = false;    // a character did not fit: the rest of the line is ignored
    std::string pending_;  // the bytes of a character not yet whole
};

// One line cleaned as a whole; newlines in it are dropped like any control character.
std::string CleanInputLine(std::string_view raw);

// Splits a byte stream into cleaned lines at each "\n".
class InputLineReader {
public:
    void Feed(std::string_view bytes);
    // End of input: a last line without its "\n" still counts.
    void Finish();

    bool HasLine() const { return !ready_.empty(); }
    std::size_t Pending() const { return ready_.size(); }
    std::string Next();

private:
    LineCleaner cleaner_;
    bool lineStarted_ = false;
    std::deque<std::string> ready_;
};
