#include "session/story_record.h"

#include "console/markup.h"
#include "session/display.h"

std::string TypedLineText(const std::string& line) {
    return "> " + line;
}

void StoryRecord::Typed(const std::string& line) {
    text_ += TypedLineText(line) + "\n";
}

void StoryRecord::Added(const std::string& markup) {
    // Split only at the text's own line breaks; a tag left open carries over to the next line.
    SpanStyle style = SpanStyle::Plain;
    for (const std::string& line : SplitLines(markup)) {
        text_ += PlainText(ParseMarkup(line, style)) + "\n";
    }
}

void StoryRecord::Cleared() {
    text_ += std::string(kSeparator) + "\n";
}
