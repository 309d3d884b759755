#include "app/access/story_model.h"

#include <string_view>

#include "console/utf8.h"

bool StoryModel::Update(const std::string& story) {
    if (story.size() == bytes_.size() && story == bytes_) return false;
    const bool grew = story.size() > bytes_.size() && story.compare(0, bytes_.size(), bytes_) == 0;
    std::u32string characters = grew ? *characters_ : std::u32string();
    characters += Utf32FromUtf8(std::string_view(story).substr(grew ? bytes_.size() : 0));
    characters_ = std::make_shared<const std::u32string>(std::move(characters));
    if (!grew) ++restarts_;
    bytes_ = story;
    return true;
}
