#include "story_log.h"

#include "console/console.h"

namespace {

// Copied from src/story, whose texts are private to their scenes.
const std::string kLookAroundText =
    "It's dark outside, you can't really see that well, the small <i>windows</> aren't making "
    "it easier. Judging by the mold on the walls, this must be an old building.You see a "
    "<i>dresser</>, a bed and a chair. There's a <i>door</>, I wonder if it <a>opens</>.";

const std::string kOneLineText = "<s>go</>";

const std::vector<std::string> kStoryTexts = {
    "Welcome to the Vosk! The shortest text based game ever. Where <a>actions</>, "
    "<h>hints</> and <i>interactables</> are all color coded :).Type <a>I understand</> to "
    "let me know you know what I want you to know.",
    "<s>i understand</>",
    "So you understand eh..? <h>Confirming that for me would be great.</>",
    "<s>yes</>",
    "Clever girl... <a>push</> the big <i>red button</> to complete this intro and get down "
    "to business.",
    "<s>push red button</>",
    "Where...where am I?",
    "<a>Look around</> <h>and see what you can find.</>",
    "<s>look around</>",
    kLookAroundText,
    "<s>look at dresser</>",
    "The usual <i>drawers</>, one of them is open, you see socks and underwear sticking out.",
    "<s>open drawer</>",
    "There's a <i>key</> in one of the drawers",
    "<s>take key</>",
    "<h>This might be useful.</>",
    "<s>open door</>",
    "A long narrow hallway appears. It's too dark to see what's at end, you'll have to "
    "<a>walk</> there.",
    "<s>walk</>",
    "There's one <i>door</> on your left side and another on your right. The <i>door</> on "
    "the right seems locked.",
    "<s>use key</>",
    "The <i>key</> you found unlocked the right <i>door</>.",
    "<s>open right door</>",
    "You've made it out of the building in once piece, the woods await you...",
    "Thank you for playing, unfortunatly that's all there is to it :(. This very short game "
    "was brought to you by <i>Orrin Pellegast</> aka <i>Tibbet</>.",
};

}  // namespace

const std::vector<std::string>& StoryTexts() {
    return kStoryTexts;
}

const std::string& LongestStoryText() {
    return kLookAroundText;
}

void FillLog(Console& console, std::size_t displayLines) {
    const std::vector<std::string>& texts = StoryTexts();
    for (std::size_t n = 0; console.lines().size() < displayLines; ++n) {
        const std::string& text = texts[n % texts.size()];
        // The last lines are echoes, one line each at any width, where a text would overshoot.
        const std::size_t textLines = WrapText(text, console.wrapWidth).size();
        console.AddText(console.lines().size() + textLines <= displayLines ? text : kOneLineText);
    }
}
