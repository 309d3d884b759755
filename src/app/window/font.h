#pragma once

#include <optional>
#include <string>
#include <vector>

struct ImGuiIO;

// The GUI's one font, rasterised at whatever size the text is zoomed to: the game's TrueType
// file, or the toolkit's built-in font when there is none or it cannot be used.
class ConsoleFont {
public:
    // Reads the font at `path` (none: the built-in font). A file that cannot be read or is not a
    // usable font is reported on standard error once, and the built-in font used from then on.
    // `largestTexture` is the GL's GL_MAX_TEXTURE_SIZE, which the atlas must fit.
    ConsoleFont(const std::optional<std::string>& path, int largestTexture);

    // Makes the font at `scale` times its size the GUI's only font and builds its atlas: with
    // less oversampling the larger the size, so that the atlas fits the largest texture (the
    // built-in font, said on standard error, at a size where even that does not fit).
    // Between frames, the renderer's font texture must then be made again.
    void Load(ImGuiIO& io, float scale);
    // The scale of the last Load; 0 before the first.
    float loadedScale() const { return loadedScale_; }

private:
    void Reject(const char* why);
    static void LoadBuiltIn(ImGuiIO& io, float scale);

    std::string path_;
    std::vector<unsigned char> data_;  // the TrueType file; empty for the built-in font
    int largestTexture_;
    float loadedScale_ = 0.0f;
};

// Oversampling, in each direction, for a font of `pixelSize`: 4 for the game's usual sizes,
// falling as the size rises, where the glyphs themselves carry the detail.
int OversampleFor(float pixelSize);
