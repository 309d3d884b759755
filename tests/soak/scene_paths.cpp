#include "soak/scene_paths.h"

#include "story/story.h"

namespace soak {

namespace {

std::vector<std::string> ToTheRoomAnd(const std::vector<std::string>& more) {
    std::vector<std::string> typed = {"i understand", "yes", "push the red button"};
    typed.insert(typed.end(), more.begin(), more.end());
    return typed;
}

}  // namespace

const std::vector<ScenePath>& PathsToEveryScene() {
    static const std::vector<ScenePath> paths = {
        {Welcome, "Welcome", {}},
        {Confirm, "Confirm", {"i understand"}},
        {RedButton, "RedButton", {"i understand", "yes"}},
        {Retry, "Retry", {"i understand", "no"}},
        {WakeUp, "WakeUp", ToTheRoomAnd({})},
        {RoomAgain, "RoomAgain", ToTheRoomAnd({"open door", "go back"})},
        {Hallway, "Hallway", ToTheRoomAnd({"open door"})},
        {TwoDoors, "TwoDoors", ToTheRoomAnd({"open door", "walk"})},
        {Beast, "Beast", ToTheRoomAnd({"open door", "walk", "open left door"})},
        {Woods, "Woods",
         ToTheRoomAnd(
             {"open drawer", "take key", "open door", "walk", "use key", "open right door"})},
    };
    return paths;
}

}  // namespace soak
