#pragma once

struct ImGuiContext;
class Console;

// A GUI context of the game's window size and font with no renderer, in which console frames
// run as in the game's loop: NewFrame, Console::Draw, Render.
class HeadlessGui {
public:
    HeadlessGui();
    ~HeadlessGui();
    HeadlessGui(const HeadlessGui&) = delete;
    HeadlessGui& operator=(const HeadlessGui&) = delete;

    void Frame(Console& console);

private:
    ImGuiContext* context_;
};
