#pragma once

// What the console's input field makes of typed bytes, written from the GUI toolkit's rules for
// a single-line text field (Dear ImGui 1.86), so that tests can check that a typed line reaches
// the game whole.

#include <imgui.h>
#include <imgui_internal.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace reference {

constexpr std::size_t kLongestTypedLine = 31;  // the field's 32-byte buffer less its NUL

// Bytes set aside after a string handed to ImGuiIO::AddInputCharactersUTF8. In Dear ImGui 1.86
// that function decodes without an end pointer, and a string ending in an incomplete UTF-8
// sequence makes it read up to three bytes past the terminating NUL and carry on from there.
// Zeros there end the string where it ends.
constexpr std::size_t kTypingPadding = 4;

// A copy of `bytes` whose storage is followed by kTypingPadding zero bytes. The storage is
// always on the heap, so that moving the string keeps the zeros.
inline std::string PaddedForTyping(const std::string& bytes) {
    constexpr std::size_t kBeyondShortString = 16;
    std::string padded(std::max(bytes.size() + kTypingPadding, kBeyondShortString), '\0');
    std::memcpy(&padded[0], bytes.data(), bytes.size());
    padded.resize(bytes.size());  // keeps the storage and the zeros after it
    return padded;
}

// The characters the toolkit queues for a typed UTF-8 string: decoded up to the first NUL,
// invalid sequences as U+FFFD, code points past U+FFFF as U+FFFD.
inline std::vector<unsigned int> QueuedCharacters(const std::string& typed) {
    const std::string padded = PaddedForTyping(typed);
    std::vector<unsigned int> queued;
    const char* next = padded.c_str();
    while (*next != 0) {
        unsigned int character = 0;
        next += ImTextCharFromUtf8(&character, next, nullptr);
        if (character == 0) continue;
        queued.push_back(character <= IM_UNICODE_CODEPOINT_MAX ? character
                                                               : IM_UNICODE_CODEPOINT_INVALID);
    }
    return queued;
}

// The line an empty single-line field holds after `typed`: control characters, DEL and the
// private-use range are dropped, and a character goes in only if the line then still fits in
// 31 bytes of UTF-8.
inline std::string FieldLineAfterTyping(const std::string& typed) {
    std::string line;
    for (unsigned int character : QueuedCharacters(typed)) {
        if (character < 0x20 || character == 0x7F) continue;
        if (character >= 0xE000 && character <= 0xF8FF) continue;
        char utf8[5] = {};
        ImTextCharToUtf8(utf8, character);
        if (line.size() + std::strlen(utf8) > kLongestTypedLine) continue;
        line += utf8;
    }
    return line;
}

}  // namespace reference
