#include "app/font.h"

#include <imgui.h>
#include <stb/stb_truetype.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "app/platform.h"

namespace {

constexpr float kFontSize = 17.0f;
constexpr float kBuiltInFontSize = 13.0f;
constexpr int kOversample = 4;
constexpr std::size_t kTableDirectoryStart = 12;
constexpr std::size_t kTableRecordSize = 16;

std::uint32_t ReadBigEndian(const unsigned char* bytes, int count) {
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i) value = (value << 8) | bytes[i];
    return value;
}

// The font rasteriser trusts the table directory, so check that every table it names lies
// inside the file before handing the bytes over.
bool LooksLikeTrueType(const std::vector<unsigned char>& data) {
    if (data.size() < kTableDirectoryStart) return false;
    if (stbtt_GetFontOffsetForIndex(data.data(), 0) != 0) return false;
    const std::size_t tableCount = ReadBigEndian(&data[4], 2);
    if (tableCount == 0 || kTableDirectoryStart + tableCount * kTableRecordSize > data.size()) {
        return false;
    }
    for (std::size_t table = 0; table < tableCount; ++table) {
        const unsigned char* record = &data[kTableDirectoryStart + table * kTableRecordSize];
        const std::uint64_t offset = ReadBigEndian(record + 8, 4);
        const std::uint64_t length = ReadBigEndian(record + 12, 4);
        if (offset + length > data.size()) return false;
    }
    stbtt_fontinfo info;
    return stbtt_InitFont(&info, data.data(), 0) != 0 && stbtt_FindGlyphIndex(&info, 'a') != 0;
}

void FallBack(ImGuiIO& io, const char* path, float scale, const char* why) {
    // A relative name means nothing without the folder it was looked for in.
    const std::string folder = WorkingDirectory();
    const std::string where =
        PathFromUtf8(path).is_absolute() ? "" : " in " + (folder.empty() ? "(unknown)" : folder);
    std::fprintf(stderr, "tarnwick: cannot use the font \"%s\"%s: %s; using the built-in font\n",
                 path, where.c_str(), why);
    io.Fonts->Clear();
    LoadBuiltInFont(io, scale);
}

}  // namespace

void LoadBuiltInFont(ImGuiIO& io, float scale) {
    ImFontConfig config;
    config.SizePixels = kBuiltInFontSize * scale;
    io.Fonts->AddFontDefault(&config);
}

void LoadConsoleFont(ImGuiIO& io, const char* path, float scale) {
    std::ifstream file(PathFromUtf8(path), std::ios::binary);
    if (!file) {
        FallBack(io, path, scale, std::strerror(errno));
        return;
    }
    // istream::read turns a failed read (a directory, an I/O error) into badbit; reading the
    // buffer directly would let the library's exception escape and end the program.
    std::vector<unsigned char> data;
    char chunk[1 << 16];
    errno = 0;
    while (file.read(chunk, sizeof chunk) || file.gcount() > 0) {
        data.insert(data.end(), chunk, chunk + file.gcount());
    }
    if (file.bad()) {
        FallBack(io, path, scale, errno != 0 ? std::strerror(errno) : "read error");
        return;
    }
    if (!LooksLikeTrueType(data) || data.size() > INT_MAX) {
        FallBack(io, path, scale, "not a TrueType font");
        return;
    }

    ImFontConfig config;
    config.OversampleH = kOversample;
    config.OversampleV = kOversample;
    // The atlas keeps and frees the bytes it is given.
    void* owned = IM_ALLOC(data.size());
    std::memcpy(owned, data.data(), data.size());
    io.Fonts->AddFontFromMemoryTTF(owned, static_cast<int>(data.size()), kFontSize * scale, &config,
                                   io.Fonts->GetGlyphRangesDefault());
    // Built now rather than at the first frame, so that a font the rasteriser rejects can
    // still be replaced.
    if (!io.Fonts->Build()) FallBack(io, path, scale, "the font could not be rasterised");
}
