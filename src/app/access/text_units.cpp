#include "app/access/text_units.h"

#include <algorithm>
#include <cstdlib>

namespace {

bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

char16_t FoldAscii(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

// The units this text has rules for; the others count as the next larger one.
TextUnit Supported(TextUnit unit) {
    switch (unit) {
        case TextUnit::kCharacter:
            return TextUnit::kCharacter;
        case TextUnit::kFormat:
        case TextUnit::kWord:
            return TextUnit::kWord;
        case TextUnit::kLine:
        case TextUnit::kParagraph:
            return TextUnit::kParagraph;
        default:
            return TextUnit::kDocument;
    }
}

}  // namespace

RangeSpan TextUnits::Clamp(RangeSpan span) const {
    const int start = std::clamp(span.start, 0, Length());
    return {start, std::clamp(span.end, start, Length())};
}

bool TextUnits::IsBoundary(int position, TextUnit unit) const {
    if (position <= 0 || position >= Length()) return true;
    const char16_t before = text_[position - 1];
    const char16_t at = text_[position];
    switch (Supported(unit)) {
        case TextUnit::kCharacter:
            return !IsLowSurrogate(at);
        case TextUnit::kWord:
            return IsWordSpace(before) && !IsWordSpace(at);
        case TextUnit::kParagraph:
            return before == u'\n';
        default:
            return false;
    }
}

int TextUnits::NextBoundary(int position, TextUnit unit) const {
    do {
        ++position;
    } while (position < Length() && !IsBoundary(position, unit));
    return std::min(position, Length());
}

int TextUnits::PreviousBoundary(int position, TextUnit unit) const {
    do {
        --position;
    } while (position > 0 && !IsBoundary(position, unit));
    return std::max(position, 0);
}

RangeSpan TextUnits::Enclosing(RangeSpan span, TextUnit unit) const {
    int start = Clamp(span).start;
    if (start == Length()) {
        if (start == 0) return {0, 0};
        start = PreviousBoundary(start, unit);
    } else if (!IsBoundary(start, unit)) {
        start = PreviousBoundary(start, unit);
    }
    return {start, NextBoundary(start, unit)};
}

int TextUnits::Move(RangeSpan& span, TextUnit unit, int count) const {
    span = Clamp(span);
    if (span.start == span.end) {
        const int moved = MoveEndpoint(span, RangeEndpoint::kStart, unit, count);
        span.end = span.start;
        return moved;
    }
    int start = Enclosing(span, unit).start;
    int moved = 0;
    for (; moved < std::abs(count); ++moved) {
        const int next = count > 0 ? NextBoundary(start, unit) : PreviousBoundary(start, unit);
        // No unit starts at the text's end, nor before its start.
        if (next == start || next == Length()) break;
        start = next;
    }
    span = {start, NextBoundary(start, unit)};
    return count > 0 ? moved : -moved;
}

int TextUnits::MoveEndpoint(RangeSpan& span, RangeEndpoint endpoint, TextUnit unit,
                            int count) const {
    span = Clamp(span);
    int position = endpoint == RangeEndpoint::kStart ? span.start : span.end;
    int moved = 0;
    for (; moved < std::abs(count); ++moved) {
        const int next =
            count > 0 ? NextBoundary(position, unit) : PreviousBoundary(position, unit);
        if (next == position) break;
        position = next;
    }
    SetEndpoint(span, endpoint, position);
    return count > 0 ? moved : -moved;
}

void TextUnits::SetEndpoint(RangeSpan& span, RangeEndpoint endpoint, int position) const {
    position = std::clamp(position, 0, Length());
    if (endpoint == RangeEndpoint::kStart) {
        span.start = position;
        span.end = std::max(span.end, position);
    } else {
        span.end = position;
        span.start = std::min(span.start, position);
    }
}

std::u16string TextUnits::Text(RangeSpan span, int maxLength) const {
    span = Clamp(span);
    int length = span.end - span.start;
    if (maxLength >= 0) length = std::min(length, maxLength);
    return text_.substr(static_cast<std::size_t>(span.start), static_cast<std::size_t>(length));
}

std::optional<RangeSpan> TextUnits::Find(RangeSpan within, const std::u16string& needle,
                                         bool backward, bool ignoreCase) const {
    within = Clamp(within);
    const int size = static_cast<int>(needle.size());
    if (size == 0 || size > within.end - within.start) return std::nullopt;
    const auto matchesAt = [&](int at) {
        for (int i = 0; i < size; ++i) {
            const char16_t have = text_[at + i];
            const char16_t want = needle[i];
            if (ignoreCase ? FoldAscii(have) != FoldAscii(want) : have != want) return false;
        }
        return true;
    };
    const int first = within.start;
    const int last = within.end - size;
    for (int i = 0; i <= last - first; ++i) {
        const int at = backward ? last - i : first + i;
        if (matchesAt(at)) return RangeSpan{at, at + size};
    }
    return std::nullopt;
}

bool StoryDocument::Update(const std::string& story) {
    const std::size_t had = model_.Characters()->size();
    const std::uint64_t restarts = model_.Restarts();
    if (!model_.Update(story)) return false;
    const std::u32string& characters = *model_.Characters();
    if (model_.Restarts() != restarts) {
        text_ = Utf16FromUtf32(characters);
    } else {
        text_ += Utf16FromUtf32(std::u32string_view(characters).substr(had));
    }
    return true;
}
