#pragma once

#include <string>
#include <vector>

#include "console/markup.h"

// Where a text session shows the game: told of every typed line, every display line added to
// the log and every time the log was emptied, in the order they happened.
class Display {
public:
    virtual ~Display() = default;

    // A line handed to the game, before anything it caused.
    virtual void Typed(const std::string& line) = 0;
    // A display line added to the log (never the echo of a typed line).
    virtual void Line(const ConsoleLine& line) = 0;
    // The log was emptied.
    virtual void Cleared() = 0;
    // Everything a frame (or the story's start) added has been told: the lines since the last
    // call are the texts the game added in that frame, in order.
    virtual void FrameShown() {}
};

// For a front end that draws the console itself.
class NoDisplay : public Display {
public:
    void Typed(const std::string&) override {}
    void Line(const ConsoleLine&) override {}
    void Cleared() override {}
};

// Shows the same game on several displays at once.
class DisplayList : public Display {
public:
    explicit DisplayList(std::vector<Display*> displays) : displays_(std::move(displays)) {}

    void Typed(const std::string& line) override;
    void Line(const ConsoleLine& line) override;
    void Cleared() override;
    void FrameShown() override;

private:
    std::vector<Display*> displays_;
};

// The visible text of a display line, spans joined.
std::string PlainText(const ConsoleLine& line);
