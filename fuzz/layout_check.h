#pragma once

// Checks what one Console::AddText did to the log against the plain markup reference.

#include <cstddef>
#include <string>
#include <vector>

#include "console/markup.h"

namespace fuzz {

struct LayoutStats {
    long texts = 0;            // texts checked
    long breaks = 0;           // breaks inside a newline-separated piece
    long tagsAcrossBreak = 0;  // texts where a '<' lies within two bytes before a break
};

// `added` are the console lines one AddText(text) appended at `width`. Aborts, naming the
// property, unless:
// - they are the display lines WrapText gives, each shown exactly as the plain reference
//   scans it, with the style carried from line to line;
// - those display lines are the text cut at its newlines and, inside a piece, at breaks that
//   drop nothing or one space;
// - the shown bytes are the text's bytes minus its tags, its newlines and the spaces dropped
//   at breaks, with the tags read over each whole piece. This last property can only fail
//   where a '<' lies within two bytes before a break, since the tags are read per display
//   line; there it is checked only when `strictTags` is set (see docs/reliability.md).
void CheckAddedText(const std::string& text, int width, const std::vector<ConsoleLine>& added,
                    bool strictTags, LayoutStats& stats);

}  // namespace fuzz
