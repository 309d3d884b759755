#include "app/splash.h"

#include <GLFW/glfw3.h>
#include <imgui.h>
#include <stb/stb_image.h>

#include <cstdio>

namespace {

constexpr double kSplashTimeout = 4.0;  // seconds of GUI clock
constexpr int kLeftMouseButton = 0;
constexpr int kSkipKeys[] = {GLFW_KEY_ESCAPE, GLFW_KEY_SPACE, GLFW_KEY_ENTER};
constexpr GLint kFourComponents = 4;

}  // namespace

std::optional<SplashTexture> LoadSplash(const char* path) {
    SplashTexture splash;
    if (!stbi_info(path, &splash.width, &splash.height, &splash.channels)) {
        std::fprintf(stderr, "tarnwick: no splash screen: cannot read \"%s\" as a picture (%s)\n",
                     path, stbi_failure_reason());
        return std::nullopt;
    }
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    if (splash.width > largest || splash.height > largest) {
        std::fprintf(stderr,
                     "tarnwick: no splash screen: \"%s\" is %d x %d, larger than the largest "
                     "texture (%d)\n",
                     path, splash.width, splash.height, largest);
        return std::nullopt;
    }

    // Four channels whatever the file holds, so that grey, RGB, palette and 16-bit pictures
    // are uploaded correctly as 8-bit RGBA.
    stbi_uc* pixels = stbi_load(path, &splash.width, &splash.height, &splash.channels, 4);
    if (pixels == nullptr) {
        std::fprintf(stderr, "tarnwick: no splash screen: cannot decode \"%s\" (%s)\n", path,
                     stbi_failure_reason());
        return std::nullopt;
    }

    glGenTextures(1, &splash.name);
    glBindTexture(GL_TEXTURE_2D, splash.name);
    glTexImage2D(GL_TEXTURE_2D, 0, kFourComponents, splash.width, splash.height, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, pixels);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glEnable(GL_TEXTURE_2D);
    stbi_image_free(pixels);
    return splash;
}

void DrawSplash(const SplashTexture& splash) {
    // Bound again every frame: building the font texture leaves that one bound.
    glBindTexture(GL_TEXTURE_2D, splash.name);
    glBegin(GL_QUADS);
    glTexCoord2i(0, 0);
    glVertex2i(-1, 1);
    glTexCoord2i(0, 1);
    glVertex2i(-1, -1);
    glTexCoord2i(1, 1);
    glVertex2i(1, -1);
    glTexCoord2i(1, 0);
    glVertex2i(1, 1);
    glEnd();
}

bool SplashDismissed(const ImGuiIO& io, double guiTime) {
    if (guiTime > kSplashTimeout) return true;
    if (io.MouseDown[kLeftMouseButton]) return true;
    for (int key : kSkipKeys) {
        if (io.KeysDown[key]) return true;
    }
    return false;
}
