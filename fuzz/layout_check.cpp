#include "layout_check.h"

#include <optional>

#include "fuzz_check.h"
#include "reference/markup_reference.h"

namespace fuzz {

namespace {

enum class Break { First, Newline, Forced, Space };

struct Placement {
    std::size_t start;  // offset of the display line in the text
    Break before;       // what separates it from the line before
};

// Finds where each display line sits in the text, given that consecutive lines are separated
// by a newline byte, by nothing (a forced break) or by one space that the break dropped.
// Several explanations can fit inside a run of spaces; any one will do.
std::optional<std::vector<Placement>> PlaceLines(const std::string& text,
                                                 const std::vector<std::string>& lines) {
    struct Candidate {
        Placement placement;
        std::size_t previous;  // index among the previous line's candidates
    };
    std::vector<std::vector<Candidate>> candidates(lines.size());
    candidates[0].push_back({{0, Break::First}, 0});
    for (std::size_t k = 0; k < lines.size(); ++k) {
        for (std::size_t c = 0; c < candidates[k].size(); ++c) {
            const std::size_t start = candidates[k][c].placement.start;
            if (text.compare(start, lines[k].size(), lines[k]) != 0) continue;
            const std::size_t end = start + lines[k].size();
            if (k + 1 == lines.size()) {
                if (end != text.size()) continue;
                std::vector<Placement> placed(lines.size());
                for (std::size_t line = lines.size(); line-- > 0;) {
                    placed[line] = candidates[line][c].placement;
                    c = candidates[line][c].previous;
                }
                return placed;
            }
            auto add = [&candidates, k, c](std::size_t next, Break kind) {
                for (const Candidate& known : candidates[k + 1]) {
                    if (known.placement.start == next) return;
                }
                candidates[k + 1].push_back({{next, kind}, c});
            };
            if (end >= text.size()) continue;
            if (text[end] == '\n') {
                add(end + 1, Break::Newline);
                continue;
            }
            add(end, Break::Forced);
            if (text[end] == ' ') add(end + 1, Break::Space);
        }
    }
    return std::nullopt;
}

std::string Describe(const std::string& text, int width) {
    return "width " + std::to_string(width) + ", text \"" + Escaped(text) + "\"";
}

}  // namespace

void CheckAddedText(const std::string& text, int width, const std::vector<ConsoleLine>& added,
                    bool strictTags, LayoutStats& stats) {
    ++stats.texts;
    const std::vector<std::string> display = WrapText(text, width);
    auto where = [&text, width] {
        return Describe(text, width);
    };
    Require(added.size() == display.size(), "one console line per display line", where);
    Require(!display.empty(), "every text gives at least one line", where);

    // Each display line shows what the reference reads in it, the style running on.
    char style = reference::kPlainStyle;
    reference::StyledText shown;
    for (std::size_t k = 0; k < display.size(); ++k) {
        Require(display[k].find('\n') == std::string::npos, "no newline inside a display line",
                where);
        const reference::StyledText expected = reference::ScanMarkup(display[k], style);
        const reference::StyledText actual = reference::Shown(added[k]);
        Require(actual.SameShown(expected), "a display line shows its bytes minus its tags", [&] {
            return where() + ", line " + std::to_string(k) + " \"" + Escaped(display[k]) +
                   "\" shows \"" + Escaped(actual.bytes) + "\"";
        });
        shown.bytes += actual.bytes;
        shown.styles += actual.styles;
    }

    const std::optional<std::vector<Placement>> placed = PlaceLines(text, display);
    Require(placed.has_value(), "display lines are the text cut at breaks that drop one space",
            where);

    // Read the tags over each whole piece, then drop the spaces the breaks consumed.
    reference::StyledText expected;
    char pieceStyle = reference::kPlainStyle;
    bool tagAcrossBreak = false;
    std::size_t k = 0;
    while (k < display.size()) {
        const std::size_t pieceStart = (*placed)[k].start;
        const std::size_t newline = text.find('\n', pieceStart);
        const std::size_t pieceEnd = newline == std::string::npos ? text.size() : newline;
        std::vector<std::size_t> dropped;
        std::size_t next = k + 1;
        for (; next < display.size() && (*placed)[next].before != Break::Newline; ++next) {
            ++stats.breaks;
            const std::size_t lineEnd = (*placed)[next - 1].start + display[next - 1].size();
            if ((*placed)[next].before == Break::Space) dropped.push_back(lineEnd);
            for (std::size_t t = lineEnd >= pieceStart + 2 ? lineEnd - 2 : pieceStart; t < lineEnd;
                 ++t) {
                if (text[t] == '<') tagAcrossBreak = true;
            }
        }
        const reference::StyledText piece =
            reference::ScanMarkup(text.substr(pieceStart, pieceEnd - pieceStart), pieceStyle);
        std::size_t d = 0;
        for (std::size_t i = 0; i < piece.bytes.size(); ++i) {
            const std::size_t offset = pieceStart + piece.offsets[i];
            while (d < dropped.size() && dropped[d] < offset) ++d;
            if (d < dropped.size() && dropped[d] == offset) continue;
            expected.Append(piece.bytes[i], piece.styles[i], offset);
        }
        k = next;
    }
    if (tagAcrossBreak) ++stats.tagsAcrossBreak;
    if (tagAcrossBreak && !strictTags) return;
    Require(shown.SameShown(expected),
            "the text shows its bytes minus tags, newlines and the spaces dropped at breaks", [&] {
                return where() + ", shows \"" + Escaped(shown.bytes) + "\", expected \"" +
                       Escaped(expected.bytes) + "\"";
            });
}

}  // namespace fuzz
