#pragma once

// A plain, byte-by-byte reading of the console markup, written independently of
// src/console/markup.cpp so that the fuzz targets and the long-running tests can compare the
// console's spans against it.

#include <cstddef>
#include <string>
#include <vector>

#include "console/markup.h"

namespace reference {

constexpr char kPlainStyle = '/';

// Visible bytes with, for each, the style letter in force and its offset in the scanned text.
struct StyledText {
    std::string bytes;
    std::string styles;
    std::vector<std::size_t> offsets;

    void Append(char byte, char style, std::size_t offset) {
        bytes += byte;
        styles += style;
        offsets.push_back(offset);
    }
    bool SameShown(const StyledText& other) const {
        return bytes == other.bytes && styles == other.styles;
    }
};

// Scans `text` left to right: '<', any byte, '>' is a tag that switches the style; a '<' that
// does not open a tag is shown together with the (up to) two bytes after it, which are never
// read as the start of a tag. `style` carries the style in and out.
inline void ScanMarkup(const std::string& text, char& style, StyledText& out) {
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] != '<') {
            out.Append(text[i], style, i);
            ++i;
        } else if (i + 2 < text.size() && text[i + 2] == '>') {
            style = text[i + 1];
            i += 3;
        } else {
            const std::size_t end = i + 3 < text.size() ? i + 3 : text.size();
            for (; i < end; ++i) out.Append(text[i], style, i);
        }
    }
}

inline StyledText ScanMarkup(const std::string& text, char& style) {
    StyledText out;
    ScanMarkup(text, style, out);
    return out;
}

// The pieces of `text` between newline bytes: "" gives one empty piece, "a\n" two pieces.
inline std::vector<std::string> SplitAtNewlines(const std::string& text) {
    std::vector<std::string> pieces(1);
    for (char byte : text) {
        if (byte == '\n') {
            pieces.emplace_back();
        } else {
            pieces.back() += byte;
        }
    }
    return pieces;
}

// What a console line shows: its spans' bytes, each with its span's style.
inline StyledText Shown(const ConsoleLine& line) {
    StyledText out;
    for (const TextSpan& span : line) {
        for (char byte : span.text) out.Append(byte, static_cast<char>(span.style), 0);
    }
    return out;
}

// The markup that writes a log back as text: plain spans as they are, any other span inside
// its own tag and a closing tag; nothing between spans or lines.
inline std::string MarkupOfLog(const std::vector<ConsoleLine>& lines) {
    std::string markup;
    for (const ConsoleLine& line : lines) {
        for (const TextSpan& span : line) {
            const char style = static_cast<char>(span.style);
            if (style == kPlainStyle) {
                markup += span.text;
            } else {
                markup += std::string{'<', style, '>'} + span.text + "</>";
            }
        }
    }
    return markup;
}

}  // namespace reference
