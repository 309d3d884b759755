#include "console/markup.h"

#include <algorithm>

#include "console/utf8.h"

namespace {

constexpr std::size_t kTagLength = 3;

// End of a forced break for a remainder that has no space to break at: `width` bytes (at
// least one) from `start`, moved off any tag or UTF-8 sequence it would cut in two, and
// always past `start` so that every break makes progress.
std::size_t HardBreakEnd(const std::string& piece, std::size_t start, std::size_t width) {
    std::size_t cut = std::min(piece.size(), start + std::max<std::size_t>(width, 1));

    if (cut < piece.size() && IsUtf8Continuation(piece[cut])) {
        std::size_t lead = cut;
        while (lead > start && IsUtf8Continuation(piece[lead])) --lead;
        if (lead > start) {
            cut = lead;
        } else {
            while (cut < piece.size() && IsUtf8Continuation(piece[cut])) ++cut;
        }
    }

    for (auto tag = FindTag(piece, start); tag && *tag < cut;
         tag = FindTag(piece, *tag + kTagLength)) {
        if (*tag + kTagLength > cut) {
            cut = *tag > start ? *tag : *tag + kTagLength;
            break;
        }
    }
    return cut;
}

void WrapPiece(const std::string& piece, std::size_t width, std::vector<std::string>& out) {
    std::size_t p = 0;
    while (piece.size() - p > width) {
        const std::size_t window = RawWindowLength(piece, p, width);
        const std::size_t searchFrom = std::min(p + window, piece.size() - 1);
        const std::size_t space = piece.rfind(' ', searchFrom);
        if (space != std::string::npos && space >= p) {
            out.push_back(piece.substr(p, space - p));
            p = space + 1;
            continue;
        }
        const std::size_t cut = HardBreakEnd(piece, p, width);
        out.push_back(piece.substr(p, cut - p));
        p = cut;
        if (p == piece.size()) return;
    }
    out.push_back(piece.substr(p));
}

}  // namespace

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (std::size_t newline = text.find('\n'); newline != std::string::npos;
         newline = text.find('\n', start)) {
        pieces.push_back(text.substr(start, newline - start));
        start = newline + 1;
    }
    pieces.push_back(text.substr(start));
    return pieces;
}

std::vector<std::string> WrapText(const std::string& text, int width) {
    std::vector<std::string> lines;
    for (const std::string& piece : SplitLines(text)) {
        if (width < 0) {
            lines.push_back(piece);
        } else {
            WrapPiece(piece, static_cast<std::size_t>(width), lines);
        }
    }
    return lines;
}

std::size_t RawWindowLength(const std::string& s, std::size_t start, std::size_t width) {
    if (start >= s.size()) return 0;
    std::size_t tags = 0;
    std::size_t p = start;
    while (true) {
        if (p >= start + width) return (p - start) + kTagLength * tags;
        const auto tag = FindTag(s, p, p + width);
        if (!tag || *tag >= start + width) return width + kTagLength * tags;
        ++tags;
        p = *tag + kTagLength;
        if (p >= s.size()) return (p - start) + kTagLength * tags;
    }
}

std::optional<std::size_t> FindTag(const std::string& s, std::size_t from, std::size_t end) {
    if (from >= s.size()) return std::nullopt;
    std::size_t i = from;
    while (i < end) {
        const std::size_t t = s.find('<', i);
        if (t == std::string::npos || t >= end) return std::nullopt;
        if (t + 2 >= s.size() || t + 2 >= end) return std::nullopt;
        if (s[t + 2] == '>') return t;
        i = t + kTagLength;
        if (i >= s.size()) return std::nullopt;
    }
    return std::nullopt;
}

std::vector<TextSpan> ParseMarkup(const std::string& line, SpanStyle& style) {
    std::vector<TextSpan> spans;
    std::size_t p = 0;
    while (p < line.size()) {
        const auto tag = FindTag(line, p);
        if (!tag) {
            spans.push_back({line.substr(p), style});
            break;
        }
        spans.push_back({line.substr(p, *tag - p), style});
        style = static_cast<SpanStyle>(line[*tag + 1]);
        p = *tag + kTagLength;
    }
    return spans;
}

std::string LineMarkup(const ConsoleLine& line) {
    std::string markup;
    for (const TextSpan& span : line) {
        if (span.style == SpanStyle::Plain) {
            markup += span.text;
        } else {
            markup += '<';
            markup += static_cast<char>(span.style);
            markup += '>';
            markup += span.text;
            markup += "</>";
        }
    }
    return markup;
}

std::string EchoMarkup(const std::string& typed) {
    return LineMarkup({{typed, SpanStyle::Echo}});
}
