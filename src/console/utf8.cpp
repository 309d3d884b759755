#include "console/utf8.h"

std::size_t Utf8LengthFromLead(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 1;
}

namespace {

// Whether `byte` may follow `lead` as a character's second byte. The narrower ranges after E0,
// ED, F0 and F4 rule out overlong forms, surrogates and code points past U+10FFFF as soon as
// they start, so a bad sequence ends at its first byte that cannot belong to it.
bool FollowsLead(unsigned char lead, unsigned char byte) {
    if (lead == 0xE0) return byte >= 0xA0 && byte <= 0xBF;
    if (lead == 0xED) return byte >= 0x80 && byte <= 0x9F;
    if (lead == 0xF0) return byte >= 0x90 && byte <= 0xBF;
    if (lead == 0xF4) return byte >= 0x80 && byte <= 0x8F;
    return IsUtf8Continuation(byte);
}

}  // namespace

// A bad sequence gives one replacement character for its longest start that could have begun a
// character (Unicode's "maximal subpart"), and one for each byte that could not: a character cut
// short is one mark, as a terminal shows it.
Utf8Character DecodeUtf8At(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) return {lead, 1};
    const std::size_t length = Utf8LengthFromLead(lead);
    if (length == 1) return {};
    char32_t point = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if (at + i >= text.size()) return {kReplacementCharacter, i};
        const auto next = static_cast<unsigned char>(text[at + i]);
        if (i == 1 ? !FollowsLead(lead, next) : !IsUtf8Continuation(next)) {
            return {kReplacementCharacter, i};
        }
        point = (point << 6) | (next & 0x3F);
    }
    return {point, length};
}

std::u32string Utf32FromUtf8(std::string_view text) {
    std::u32string points;
    points.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const Utf8Character character = DecodeUtf8At(text, at);
        points.push_back(character.point);
        at += character.length;
    }
    return points;
}

std::u16string Utf16FromUtf32(std::u32string_view text) {
    std::u16string wide;
    wide.reserve(text.size());
    for (char32_t point : text) {
        if (point >= 0x10000 && point <= 0x10FFFF) {
            wide.push_back(static_cast<char16_t>(0xD800 + ((point - 0x10000) >> 10)));
            wide.push_back(static_cast<char16_t>(0xDC00 + ((point - 0x10000) & 0x3FF)));
        } else {
            const bool valid = point < 0xD800 || (point > 0xDFFF && point < 0x10000);
            wide.push_back(static_cast<char16_t>(valid ? point : kReplacementCharacter));
        }
    }
    return wide;
}

std::u16string Utf16FromUtf8(std::string_view text) {
    return Utf16FromUtf32(Utf32FromUtf8(text));
}

void AppendUtf8(std::string& out, char32_t point) {
    if (point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) point = kReplacementCharacter;
    if (point < 0x80) {
        out.push_back(static_cast<char>(point));
    } else if (point < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (point >> 6)));
        out.push_back(static_cast<char>(0x80 | (point & 0x3F)));
    } else if (point < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (point >> 12)));
        out.push_back(static_cast<char>(0x80 | ((point >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (point & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (point >> 18)));
        out.push_back(static_cast<char>(0x80 | ((point >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((point >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (point & 0x3F)));
    }
}

std::string Utf8FromUtf32(std::u32string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char32_t point : text) AppendUtf8(out, point);
    return out;
}
