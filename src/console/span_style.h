#pragma once

#include <imgui.h>

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

ImVec4 StyleColour(SpanStyle style);
