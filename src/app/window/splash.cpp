#include "app/window/splash.h"

#include <GLFW/glfw3.h>
#include <imgui.h>
#include <stb/stb_image.h>

#include <cstdio>
#include <utility>

// OpenGL 1.2's; Windows' OpenGL header stops at 1.1, though every driver since has it.
#ifndef GL_CLAMP_TO_EDGE
#define GL_CLAMP_TO_EDGE 0x812F
#endif

namespace {

constexpr int kLeftMouseButton = 0;
// The keys that end the splash before its time, as the page has them.
// clang-format off
#define SPLASH_KEY(glfwName, browserCode) GLFW_KEY_##glfwName,
constexpr int kSkipKeys[] = {
#include "session/splash_keys.inc"
};
#undef SPLASH_KEY
// clang-format on
constexpr GLint kFourComponents = 4;
constexpr GLint kNoContext = -1;
// A picture within this, which every GL since OpenGL 2 takes, is decoded without waiting for the
// context. (Windows' OpenGL 1.1 software renderer takes 1024: there it is decoded for nothing,
// then refused as a larger one is.)
constexpr int kSureTextureSize = 2048;

// Why there is no splash when the picture is larger than the context's largest texture.
std::string TooLarge(const char* path, const SplashTexture& splash, GLint largest) {
    char message[512];
    std::snprintf(message, sizeof message,
                  "tarnwick: no splash screen: \"%s\" is %d x %d, larger than the largest "
                  "texture (%d)\n",
                  path, splash.width, splash.height, largest);
    return message;
}

struct PixelsFree {
    void operator()(stbi_uc* pixels) const { stbi_image_free(pixels); }
};

}  // namespace

// What the decoding thread leaves for Upload: the pixels, or why there are none.
struct SplashDecoder::Picture {
    SplashTexture texture;
    std::unique_ptr<stbi_uc, PixelsFree> pixels;
    std::string error;
};

SplashDecoder::SplashDecoder(std::string path)
    : path_(std::move(path)),
      largestFuture_(largest_.get_future()),
      picture_(std::make_unique<Picture>()) {
    thread_ = std::thread(&SplashDecoder::Decode, this);
}

SplashDecoder::~SplashDecoder() {
    if (!largestGiven_) largest_.set_value(kNoContext);
    if (thread_.joinable()) thread_.join();
}

void SplashDecoder::SetLargestTexture(GLint largest) {
    if (largestGiven_) return;
    largestGiven_ = true;
    largestTexture_ = largest;
    largest_.set_value(largest);
}

void SplashDecoder::Decode() {
    Picture& picture = *picture_;
    SplashTexture& splash = picture.texture;
    const char* path = path_.c_str();
    char message[512];
    if (!stbi_info(path, &splash.width, &splash.height, &splash.channels)) {
        std::snprintf(message, sizeof message,
                      "tarnwick: no splash screen: cannot read \"%s\" as a picture (%s)\n", path,
                      stbi_failure_reason());
        picture.error = message;
        return;
    }
    if (splash.width > kSureTextureSize || splash.height > kSureTextureSize) {
        const GLint largest = largestFuture_.get();
        if (largest == kNoContext) return;
        if (splash.width > largest || splash.height > largest) {
            picture.error = TooLarge(path, splash, largest);
            return;
        }
    }

    // Four channels whatever the file holds, so that grey, RGB, palette and 16-bit pictures
    // are uploaded correctly as 8-bit RGBA.
    picture.pixels.reset(stbi_load(path, &splash.width, &splash.height, &splash.channels, 4));
    if (picture.pixels == nullptr) {
        std::snprintf(message, sizeof message,
                      "tarnwick: no splash screen: cannot decode \"%s\" (%s)\n", path,
                      stbi_failure_reason());
        picture.error = message;
    }
}

std::optional<SplashTexture> SplashDecoder::Upload() {
    if (thread_.joinable()) thread_.join();
    Picture& picture = *picture_;
    SplashTexture splash = picture.texture;
    if (picture.pixels != nullptr &&
        (splash.width > largestTexture_ || splash.height > largestTexture_)) {
        picture.error = TooLarge(path_.c_str(), splash, largestTexture_);
        picture.pixels.reset();
    }
    if (picture.pixels == nullptr) {
        std::fputs(picture.error.c_str(), stderr);
        return std::nullopt;
    }
    glGenTextures(1, &splash.name);
    glBindTexture(GL_TEXTURE_2D, splash.name);
    glTexImage2D(GL_TEXTURE_2D, 0, kFourComponents, splash.width, splash.height, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, picture.pixels.get());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    // Stretched, a small picture would otherwise blend its far edge into each border.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glEnable(GL_TEXTURE_2D);
    picture.pixels.reset();
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

bool SplashSkipped(const ImGuiIO& io) {
    if (io.MouseDown[kLeftMouseButton]) return true;
    for (int key : kSkipKeys) {
        if (io.KeysDown[key]) return true;
    }
    return false;
}
