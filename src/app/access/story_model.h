#pragma once

#include <cstdint>
#include <memory>
#include <string>

// The story as every reader reads it: the program's one decoding of the story's UTF-8, grown as
// the story grows, without the separators where the log was emptied. Each change makes a new
// snapshot, which readers on other threads keep as long as they like while the next is made; a
// caret move copies nothing.
class StoryModel {
public:
    using Snapshot = std::shared_ptr<const std::u32string>;

    // Takes the story as it now stands (UTF-8): whether it changed. The story only grows by
    // whole characters; one that did not grow from the last is a new story, taken whole.
    bool Update(const std::string& story);
    const Snapshot& Characters() const { return characters_; }
    // Counts the times the story was taken whole rather than grown.
    std::uint64_t Restarts() const { return restarts_; }

private:
    std::string bytes_;
    Snapshot characters_ = std::make_shared<const std::u32string>();
    std::uint64_t restarts_ = 0;
};
