#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>

// Lines the player has entered, recalled with the up and down arrows as in a shell. Browsing
// starts from what the field holds, which comes back when the player goes past the newest entry.
class CommandHistory {
public:
    // Enough for any game; the oldest lines go first, so a long session costs bounded memory.
    static constexpr std::size_t kMaxEntries = 200;

    // Remembers a submitted line, unless it is empty or repeats the newest entry, and ends
    // browsing.
    void Add(const std::string& line);
    // The entry before the one shown; `shown` is what the field holds, kept as the draft when
    // browsing starts. Nothing when there is no older entry.
    std::optional<std::string> Older(const std::string& shown);
    // The entry after the one shown, or the draft past the newest. Nothing when not browsing.
    std::optional<std::string> Newer();

    std::size_t size() const { return entries_.size(); }

private:
    bool Browsing() const { return position_ < entries_.size(); }

    std::deque<std::string> entries_;
    std::size_t position_ = 0;  // the entry shown; entries_.size() when not browsing
    std::string draft_;
};
