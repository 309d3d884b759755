#include "text/terminal_colours.h"

#include <climits>
#include <cstring>

namespace {

// Each style's colour where the terminal has 8 or 16. The basic ANSI colours differ too much
// between terminals to be matched by distance (most of the story's colours would come out grey),
// so they are picked by hue; with 16 colours, the hint takes bright blue instead of cyan.
struct NearestColours {
    char style;
    int ansi16;  // SGR foreground code
    int ansi8;
};

constexpr NearestColours kNearest[] = {
    {static_cast<char>(SpanStyle::Plain), 37, 37},
    {static_cast<char>(SpanStyle::Action), 31, 31},
    {static_cast<char>(SpanStyle::Hint), 94, 36},
    {static_cast<char>(SpanStyle::Interactable), 33, 33},
    {static_cast<char>(SpanStyle::Echo), 32, 32},
    {kPurpleStyleLetter, 35, 35},
};

// The levels of each channel in xterm's 6×6×6 colour cube, colours 16 to 231; its 24 greys,
// 232 to 255, run from 8 in steps of 10.
constexpr int kCubeLevels[] = {0, 95, 135, 175, 215, 255};
constexpr int kCubeStart = 16;
constexpr int kGreyStart = 232;
constexpr int kGreys = 24;

int SquaredDistance(StyleRgb a, StyleRgb b) {
    const int red = a.red - b.red;
    const int green = a.green - b.green;
    const int blue = a.blue - b.blue;
    return red * red + green * green + blue * blue;
}

// The colour of xterm's cube and grey ramp nearest to `colour`; of two as near, the first.
int Nearest256(StyleRgb colour) {
    int nearest = kCubeStart;
    int nearestDistance = INT_MAX;
    const auto consider = [&nearest, &nearestDistance, colour](int index, StyleRgb candidate) {
        const int distance = SquaredDistance(colour, candidate);
        if (distance < nearestDistance) {
            nearest = index;
            nearestDistance = distance;
        }
    };
    for (int red = 0; red < 6; ++red) {
        for (int green = 0; green < 6; ++green) {
            for (int blue = 0; blue < 6; ++blue) {
                consider(kCubeStart + 36 * red + 6 * green + blue,
                         {kCubeLevels[red], kCubeLevels[green], kCubeLevels[blue]});
            }
        }
    }
    for (int i = 0; i < kGreys; ++i) {
        const int grey = 8 + 10 * i;
        consider(kGreyStart + i, {grey, grey, grey});
    }
    return nearest;
}

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
            return "\x1b[38;5;" + std::to_string(Nearest256(StyleColour(style))) + "m";
        case ColourDepth::TrueColour:
            break;
    }
    const StyleRgb colour = StyleColour(style);
    return "\x1b[38;2;" + std::to_string(colour.red) + ";" + std::to_string(colour.green) + ";" +
           std::to_string(colour.blue) + "m";
}
