#pragma once

#include <GL/gl.h>

#include <optional>

struct ImGuiIO;

// The picture shown before the console, as an OpenGL texture.
struct SplashTexture {
    GLuint name = 0;
    int width = 0;
    int height = 0;
    int channels = 0;  // as stored in the file; the texture always holds RGBA
};

// Loads the picture into a texture of the current context. Says on standard error why when
// it cannot, and then there is no splash.
std::optional<SplashTexture> LoadSplash(const char* path);

// Stretches the picture over the whole viewport, top row at the top.
void DrawSplash(const SplashTexture& splash);

// Whether the splash has been shown long enough or the player asked to skip it.
bool SplashDismissed(const ImGuiIO& io, double guiTime);
