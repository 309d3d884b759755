#include "console/span_style.h"

StyleRgb StyleColour(SpanStyle style) {
    switch (static_cast<char>(style)) {
        case static_cast<char>(SpanStyle::Action):
            return palette::kAction;
        case static_cast<char>(SpanStyle::Hint):
            return palette::kHint;
        case static_cast<char>(SpanStyle::Interactable):
            return palette::kInteractable;
        case static_cast<char>(SpanStyle::Echo):
            return palette::kEcho;
        case kPurpleStyleLetter:
            return palette::kPurple;
        default:
            return palette::kPlain;
    }
}
