#pragma once

// The program's one reading of UTF-8. A byte that does not start a whole, shortest, valid
// character (a stray continuation, a sequence cut short, an overlong form, an encoded
// surrogate, a point past U+10FFFF) reads as U+FFFD on its own, one for one, so that every
// reader of the same bytes counts the same characters.

#include <cstddef>
#include <string>
#include <string_view>

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// A byte that continues a UTF-8 character rather than starting one.
inline bool IsUtf8Continuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

struct Utf8Character {
    char32_t point = kReplacementCharacter;
    std::size_t length = 1;  // bytes read
};

// The character that starts at byte `at` (< text.size()).
Utf8Character DecodeUtf8At(std::string_view text, std::size_t at);
// How many bytes a character led by `lead` takes, 1 for a byte that leads none.
std::size_t Utf8LengthFromLead(unsigned char lead);

std::u32string Utf32FromUtf8(std::string_view text);
std::u16string Utf16FromUtf8(std::string_view text);
std::u16string Utf16FromUtf32(std::u32string_view text);
// Surrogates and points past U+10FFFF are written as U+FFFD.
void AppendUtf8(std::string& out, char32_t point);
std::string Utf8FromUtf32(std::u32string_view text);

// Words are what spaces separate: the one rule every reader of the story moves by.
inline bool IsWordSpace(char32_t c) {
    return c == U' ' || c == U'\t' || c == U'\n' || c == U'\r' || c == U'\u00A0';
}
