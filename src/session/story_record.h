#pragma once

#include <string>

// What separates the texts before and after the log was emptied, lines joined with "\n".
inline constexpr const char* kSeparator = "\n* * *\n";

// A line the player typed, as a transcript shows it.
std::string TypedLineText(const std::string& line);

// The story since the game began as plain text, in the transcript's format: the player's lines as
// "> line", each text the game added without its markup and never cut at a width, and the
// separator where the log was emptied. Every line ends with "\n".
class StoryRecord {
public:
    void Typed(const std::string& line);
    void Added(const std::string& markup);
    void Cleared();

    const std::string& Text() const { return text_; }

private:
    std::string text_;
};
