#include "app/window/font.h"

#include <imgui.h>
#include <stb/stb_truetype.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "app/platform/platform.h"

namespace {

constexpr float kFontSize = 17.0f;
constexpr float kBuiltInFontSize = 13.0f;
constexpr int kOversample = 4;
// Glyphs are oversampled fully up to the game's font at scale 2, and less beyond, so that the
// atlas of the largest text (scale 4 zoomed to 300%) stays small.
constexpr float kOversampledUpTo = kOversample * kFontSize * 2.0f;
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

}  // namespace

int OversampleFor(float pixelSize) {
    if (!(pixelSize > 0.0f)) return kOversample;
    const float fitting = kOversampledUpTo / pixelSize;
    return fitting >= kOversample ? kOversample : fitting >= 1.0f ? static_cast<int>(fitting) : 1;
}

ConsoleFont::ConsoleFont(const std::optional<std::string>& path, int largestTexture)
    : path_(path.value_or("")), largestTexture_(largestTexture) {
    if (!path) return;
    std::ifstream file(PathFromUtf8(path_), std::ios::binary);
    const char* why = nullptr;
    if (!file) why = std::strerror(errno);
    // istream::read turns a failed read (a directory, an I/O error) into badbit; reading the
    // buffer directly would let the library's exception escape and end the program.
    char chunk[1 << 16];
    errno = 0;
    while (why == nullptr && (file.read(chunk, sizeof chunk) || file.gcount() > 0)) {
        data_.insert(data_.end(), chunk, chunk + file.gcount());
    }
    if (why == nullptr && file.bad()) why = errno != 0 ? std::strerror(errno) : "read error";
    if (why == nullptr && (!LooksLikeTrueType(data_) || data_.size() > INT_MAX)) {
        why = "not a TrueType font";
    }
    if (why != nullptr) Reject(why);
}

void ConsoleFont::Reject(const char* why) {
    // A relative name means nothing without the folder it was looked for in.
    const std::string folder = WorkingDirectory();
    const std::string where =
        PathFromUtf8(path_).is_absolute() ? "" : " in " + (folder.empty() ? "(unknown)" : folder);
    std::fprintf(stderr, "tarnwick: cannot use the font \"%s\"%s: %s; using the built-in font\n",
                 path_.c_str(), where.c_str(), why);
    data_.clear();
}

void ConsoleFont::Load(ImGuiIO& io, float scale) {
    loadedScale_ = scale;
    io.Fonts->Clear();
    io.Fonts->TexDesiredWidth = 0;
    if (data_.empty()) {
        LoadBuiltIn(io, scale);
        return;
    }
    const float pixelSize = kFontSize * scale;
    int oversample = OversampleFor(pixelSize);
    while (oversample >= 1) {
        io.Fonts->Clear();
        ImFontConfig config;
        config.OversampleH = oversample;
        config.OversampleV = oversample;
        // The bytes stay this object's: the atlas is made again at every size.
        config.FontDataOwnedByAtlas = false;
        io.Fonts->AddFontFromMemoryTTF(data_.data(), static_cast<int>(data_.size()), pixelSize,
                                       &config, io.Fonts->GetGlyphRangesDefault());
        // Built now rather than at the first frame, so that a font the rasteriser rejects can
        // still be replaced.
        if (!io.Fonts->Build()) {
            Reject("the font could not be rasterised");
            Load(io, scale);
            return;
        }
        if (largestTexture_ <= 0 ||
            (io.Fonts->TexWidth <= largestTexture_ && io.Fonts->TexHeight <= largestTexture_)) {
            return;
        }
        // Packed in rows as wide as the GL allows, a tall atlas may fit; else less oversampling.
        if (io.Fonts->TexDesiredWidth == 0 && io.Fonts->TexWidth < largestTexture_) {
            io.Fonts->TexDesiredWidth = largestTexture_;
        } else {
            io.Fonts->TexDesiredWidth = 0;
            --oversample;
        }
    }
    // Only at this size: a smaller one may fit again.
    std::fprintf(stderr,
                 "tarnwick: the font at %.0f pixels does not fit the largest texture (%d pixels); "
                 "using the built-in font\n",
                 static_cast<double>(pixelSize), largestTexture_);
    io.Fonts->Clear();
    io.Fonts->TexDesiredWidth = 0;
    LoadBuiltIn(io, scale);
}

void ConsoleFont::LoadBuiltIn(ImGuiIO& io, float scale) {
    ImFontConfig config;
    config.SizePixels = kBuiltInFontSize * scale;
    io.Fonts->AddFontDefault(&config);
}
