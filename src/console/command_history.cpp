#include "console/command_history.h"

void CommandHistory::Add(const std::string& line) {
    if (!line.empty() && (entries_.empty() || entries_.back() != line)) {
        entries_.push_back(line);
        if (entries_.size() > kMaxEntries) entries_.pop_front();
    }
    position_ = entries_.size();
    draft_.clear();
}

std::optional<std::string> CommandHistory::Older(const std::string& shown) {
    if (position_ == 0) return std::nullopt;
    if (!Browsing()) draft_ = shown;
    return entries_[--position_];
}

std::optional<std::string> CommandHistory::Newer() {
    if (!Browsing()) return std::nullopt;
    if (++position_ == entries_.size()) return draft_;
    return entries_[position_];
}
