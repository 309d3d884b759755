#include "app/access/story_model.h"

#include <string_view>

#include "console/utf8.h"
#include "session/story_record.h"

namespace {

// What a reader is told of the story: the separator where the log was emptied is left out. Read
// aloud it is noise ("star star star"), and a speech service given it alone may stall on it. The
// story gains it whole, so it never straddles two updates.
std::string WithoutSeparators(std::string_view text) {
    const std::string_view separator = kSeparator;
    std::string kept;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t found = text.find(separator, at);
        kept.append(text.substr(at, found - at));
        if (found == std::string_view::npos) break;
        at = found + separator.size();
    }
    return kept;
}

}  // namespace

bool StoryModel::Update(const std::string& story) {
    if (story.size() == bytes_.size() && story == bytes_) return false;
    const bool grew = story.size() > bytes_.size() && story.compare(0, bytes_.size(), bytes_) == 0;
    std::u32string characters = grew ? *characters_ : std::u32string();
    characters +=
        Utf32FromUtf8(WithoutSeparators(std::string_view(story).substr(grew ? bytes_.size() : 0)));
    characters_ = std::make_shared<const std::u32string>(std::move(characters));
    if (!grew) ++restarts_;
    bytes_ = story;
    return true;
}
