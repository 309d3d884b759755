#pragma once

#include <string>

#include "session/display.h"

// Gathers what a play session shows as text the page's script reads in one go: one event per
// line, "T" and the typed line as one span, "L" and the line's spans, or "C" for a log emptied.
// Each span is its style letter and its text, spans parted by kSpanSeparator. Display lines
// hold no newline and typed lines no control character, so neither separator can occur inside
// a text.
class WebDisplay : public Display {
public:
    static constexpr char kSpanSeparator = '\x1f';

    void Typed(const std::string& line) override;
    void Line(const ConsoleLine& line) override;
    void Cleared() override;

    // The events since the last call.
    std::string Take();

private:
    std::string events_;
};
