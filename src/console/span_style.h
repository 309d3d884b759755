#pragma once

#include "console/palette.h"

// The letter of the markup tag that opened a span; '/' is plain text. Letters without a
// name of their own are kept as they are, so that the log can be written back as markup.
enum class SpanStyle : char {
    Plain = '/',
    Action = 'a',
    Hint = 'h',
    Interactable = 'i',
    Echo = 's',
};

// Letter of the one colour that no text of the game writes.
inline constexpr char kPurpleStyleLetter = 'p';

// The colour each front end shows a style in; letters without a colour of their own are plain.
StyleRgb StyleColour(SpanStyle style);
