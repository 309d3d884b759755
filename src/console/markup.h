#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "console/span_style.h"

// Line layout for the console's colour markup. A tag is three bytes: '<', a letter, '>'.
// Everything counts bytes, not characters of any encoding.

struct TextSpan {
    std::string text;
    SpanStyle style = SpanStyle::Plain;
};

inline bool operator==(const TextSpan& a, const TextSpan& b) {
    return a.text == b.text && a.style == b.style;
}
inline bool operator!=(const TextSpan& a, const TextSpan& b) {
    return !(a == b);
}

using ConsoleLine = std::vector<TextSpan>;

// Pieces of `text` between "\n" bytes; '' gives one empty piece, 'a\n' gives 'a' and ''.
std::vector<std::string> SplitLines(const std::string& text);

// Display lines of at most about `width` visible characters, tags kept. A negative width
// never wraps. A word that cannot be broken at a space is cut after `width` bytes (at least
// one), never inside a tag or a UTF-8 sequence.
std::vector<std::string> WrapText(const std::string& text, int width);

// How many bytes from `start` a display line may span so that `width` visible characters
// fit, allowing three bytes for every tag found in the window.
std::size_t RawWindowLength(const std::string& s, std::size_t start, std::size_t width);

// First tag starting at or after `from` whose three bytes lie before `end`. A '<' that does
// not open a tag is skipped together with the two bytes after it.
std::optional<std::size_t> FindTag(const std::string& s, std::size_t from,
                                   std::size_t end = std::string::npos);

// Spans of one display line. `style` is the style in force at the line's start; on return
// it holds the style in force at its end.
std::vector<TextSpan> ParseMarkup(const std::string& line, SpanStyle& style);

// A display line written back as markup: each styled span between its tag and "</>".
std::string LineMarkup(const ConsoleLine& line);

// The markup by which the log echoes a typed line: the line in the echo's style.
std::string EchoMarkup(const std::string& typed);
