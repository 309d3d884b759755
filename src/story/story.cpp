#include "story/story.h"

#include "story/story_parts.h"

using namespace story;

void BuildStory(Game& game, Console& console) {
    Game* const g = &game;
    Console* const c = &console;
    game.SetScenes({
        MakeWelcome(g, c),
        MakeConfirm(g, c),
        MakeRedButton(g, c),
        MakeRetry(g, c),
        MakeWakeUp(g, c),
        MakeRoomAgain(c),
        MakeHallway(c),
        MakeTwoDoors(c),
        MakeBeast(g, c),
        MakeWoods(g, c),
    });
    game.SetActions(Welcome, WelcomeActions(g));
    game.SetActions(Confirm, ConfirmActions(g));
    game.SetActions(RedButton, RedButtonActions(g, c));
    game.SetActions(WakeUp, RoomActions(g, c));
    game.SetActions(Hallway, HallwayActions(g));
    game.SetActions(TwoDoors, TwoDoorsActions(g, c));
    game.SetActions(Beast, BeastActions(g));
    game.CopyActions(WakeUp, RoomAgain);
}

// The engine stays free of any story: the game's own story is chosen here.
Game::Game(Console& console) : Game(console, BuildStory) {}
