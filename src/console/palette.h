#pragma once

// A colour as 8-bit red, green and blue, fully opaque.
struct StyleRgb {
    int red = 0;
    int green = 0;
    int blue = 0;
};

// The game's colours, palette::kAction and so on, from the one list in console/palette.inc.
namespace palette {

#define COLOUR(name, red, green, blue) inline constexpr StyleRgb k##name{red, green, blue};
#include "console/palette.inc"
#undef COLOUR

}  // namespace palette
