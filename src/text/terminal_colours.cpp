#include "text/terminal_colours.h"

#include <cstring>

namespace {

// Each style's colour where the terminal has fewer than 24 bits. The 256-colour entries are the
// nearest of xterm's 6×6×6 cube and grey ramp. The basic ANSI colours differ too much between
// terminals to be matched by distance (most of the story's colours would come out grey), so
// they are picked by hue; with 16 colours, the hint takes bright blue instead of cyan.
struct NearestColours {
    char style;
    int palette256;
    int ansi16;  // SGR foreground code
    int ansi8;
};

constexpr NearestColours kNearest[] = {
    {static_cast<char>(SpanStyle::Plain), 249, 37, 37},
    {static_cast<char>(SpanStyle::Action), 166, 31, 31},
    {static_cast<char>(SpanStyle::Hint), 74, 94, 36},
    {static_cast<char>(SpanStyle::Interactable), 173, 33, 33},
    {static_cast<char>(SpanStyle::Echo), 144, 32, 32},
    {kPurpleStyleLetter, 140, 35, 35},
};

// Letters without a colour of their own are plain, as StyleColour has them.
const NearestColours& NearestFor(SpanStyle style) {
    for (const NearestColours& colours : kNearest) {
        if (colours.style == static_cast<char>(style)) return colours;
    }
    return kNearest[0];
}

bool Is(const char* value, const char* expected) {
    return value != nullptr && std::strcmp(value, expected) == 0;
}

}  // namespace

ColourDepth ChooseColourDepth(const char* colorTerm, int terminfoColours) {
    if (Is(colorTerm, "truecolor") || Is(colorTerm, "24bit")) return ColourDepth::TrueColour;
    if (terminfoColours >= 256) return ColourDepth::Palette256;
    if (terminfoColours >= 16) return ColourDepth::Ansi16;
    if (terminfoColours >= 8) return ColourDepth::Ansi8;
    return ColourDepth::None;
}

std::string ColourSequence(SpanStyle style, ColourDepth depth) {
    switch (depth) {
        case ColourDepth::None:
            return {};
        case ColourDepth::Ansi8:
            return "\x1b[" + std::to_string(NearestFor(style).ansi8) + "m";
        case ColourDepth::Ansi16:
            return "\x1b[" + std::to_string(NearestFor(style).ansi16) + "m";
        case ColourDepth::Palette256:
            return "\x1b[38;5;" + std::to_string(NearestFor(style).palette256) + "m";
        case ColourDepth::TrueColour:
            break;
    }
    const StyleRgb colour = StyleColour(style);
    return "\x1b[38;2;" + std::to_string(colour.red) + ";" + std::to_string(colour.green) + ";" +
           std::to_string(colour.blue) + "m";
}
