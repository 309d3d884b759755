#pragma once

#include <string>
#include <vector>

#include "session/display.h"

// Notes what a session shows, one entry per call: "> line", the plain text of a display
// line, or "(cleared)".
class RecordingDisplay : public Display {
public:
    void Typed(const std::string& line) override { events.push_back("> " + line); }
    void Line(const ConsoleLine& line) override { events.push_back(PlainText(line)); }
    void Cleared() override { events.push_back("(cleared)"); }

    // The entries since the last call.
    std::vector<std::string> Take() {
        std::vector<std::string> taken;
        taken.swap(events);
        return taken;
    }

    std::vector<std::string> events;
};
