#include "console/span_style.h"

namespace {

constexpr StyleRgb Rgb(int red, int green, int blue) {
    return StyleRgb{red, green, blue};
}

}  // namespace

StyleRgb StyleColour(SpanStyle style) {
    switch (static_cast<char>(style)) {
        case static_cast<char>(SpanStyle::Action):
            return Rgb(211, 64, 18);
        case static_cast<char>(SpanStyle::Hint):
            return Rgb(114, 176, 229);
        case static_cast<char>(SpanStyle::Interactable):
            return Rgb(201, 155, 109);
        case static_cast<char>(SpanStyle::Echo):
            return Rgb(161, 190, 126);
        case kPurpleStyleLetter:
            return Rgb(186, 134, 217);
        default:
            return Rgb(174, 180, 184);
    }
}
