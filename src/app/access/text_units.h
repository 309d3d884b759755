#pragma once

// Text as a screen reader reviews it through UI Automation: UTF-16, with ranges whose ends move
// by characters, words, lines, paragraphs or the whole text. Plain code, so that the rules of
// ranges hold the same on every system and are tested without Windows; the COM objects that
// answer for them (uia_text_windows.cpp) only carry these calls out.

#include <optional>
#include <string>

#include "app/access/story_model.h"
#include "console/utf8.h"

// UI Automation's TextUnit, with its values. A unit this text has no rule for counts as the
// next larger one, as UI Automation asks: a format run as a word, a line as a paragraph (the
// window's wrapping is not the text's), a page as the whole text.
enum class TextUnit : int {
    kCharacter = 0,
    kFormat = 1,
    kWord = 2,
    kLine = 3,
    kParagraph = 4,
    kPage = 5,
    kDocument = 6,
};

// UI Automation's TextPatternRangeEndpoint, with its values.
enum class RangeEndpoint : int { kStart = 0, kEnd = 1 };

// A range as offsets in UTF-16 code units, start <= end.
struct RangeSpan {
    int start = 0;
    int end = 0;

    bool operator==(const RangeSpan& other) const {
        return start == other.start && end == other.end;
    }
};

// The rules of ranges over one text, which it observes. A unit runs from one of its boundaries
// to the next, so the units of a kind cover the text without gaps: a character never splits a
// surrogate pair; a word starts where a character other than a space follows a space or a line
// end, and ends with the spaces after it; a paragraph ends with its line end. Every span handed
// in is first clamped to the text, so ranges made over a shorter text stay usable.
class TextUnits {
public:
    explicit TextUnits(const std::u16string& text) : text_(text) {}

    int Length() const { return static_cast<int>(text_.size()); }
    RangeSpan Clamp(RangeSpan span) const;
    // The unit that holds the span's start (the last unit for a start at the text's end).
    RangeSpan Enclosing(RangeSpan span, TextUnit unit) const;
    // Moves the span by up to `count` units (backwards when negative) and returns how many it
    // moved. An empty span moves as a caret and stays empty; any other first becomes the unit
    // that encloses its start and then moves, spanning one whole unit, never past the last.
    int Move(RangeSpan& span, TextUnit unit, int count) const;
    // Moves one end by up to `count` units and returns how many; an end moved past the other
    // takes it along.
    int MoveEndpoint(RangeSpan& span, RangeEndpoint endpoint, TextUnit unit, int count) const;
    // Puts one end at `position`; past the other, it takes the other along.
    void SetEndpoint(RangeSpan& span, RangeEndpoint endpoint, int position) const;
    // The span's text, cut to `maxLength` code units unless that is negative.
    std::u16string Text(RangeSpan span, int maxLength) const;
    // The first (or with `backward` the last) place of `needle` inside `within`; with
    // `ignoreCase`, ASCII letters match either case.
    std::optional<RangeSpan> Find(RangeSpan within, const std::u16string& needle, bool backward,
                                  bool ignoreCase) const;

private:
    bool IsBoundary(int position, TextUnit unit) const;
    // The nearest boundary after `position` (the text's end at the end), and before it (the
    // start at the start).
    int NextBoundary(int position, TextUnit unit) const;
    int PreviousBoundary(int position, TextUnit unit) const;

    const std::u16string& text_;
};

// The story as the document's text: the story model's characters in UTF-16, converted as they
// grow.
class StoryDocument {
public:
    // Whether the text changed.
    bool Update(const std::string& story);
    const std::u16string& Text() const { return text_; }

private:
    StoryModel model_;
    std::u16string text_;
};
