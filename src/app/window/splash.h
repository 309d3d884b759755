#pragma once

#include <GL/gl.h>

#include <future>
#include <memory>
#include <optional>
#include <string>
#include <thread>

struct ImGuiIO;

// The picture shown before the console, as an OpenGL texture.
struct SplashTexture {
    GLuint name = 0;
    int width = 0;
    int height = 0;
    int channels = 0;  // as stored in the file; the texture always holds RGBA
};

// Reads and decodes the picture on a thread of its own, so that the work overlaps with setting
// up the window and the font. A picture no larger than any GL takes is decoded at once; a
// larger one only once the context's largest texture says it can be shown, so that a picture
// too large to show is never decoded.
class SplashDecoder {
public:
    explicit SplashDecoder(std::string path);
    // Waits for the thread; it decodes nothing more if the largest texture was never given.
    ~SplashDecoder();
    SplashDecoder(const SplashDecoder&) = delete;
    SplashDecoder& operator=(const SplashDecoder&) = delete;

    // The largest texture side of the context the picture is for, once it exists.
    void SetLargestTexture(GLint largest);
    // Uploads the picture into a texture of the current context. Says on standard error why
    // when it cannot, and then there is no splash.
    std::optional<SplashTexture> Upload();

private:
    struct Picture;
    void Decode();

    std::string path_;
    std::promise<GLint> largest_;
    std::future<GLint> largestFuture_;
    bool largestGiven_ = false;
    GLint largestTexture_ = 0;  // as given, for a picture decoded before it was known
    std::unique_ptr<Picture> picture_;
    std::thread thread_;
};

// Stretches the picture over the whole viewport, top row at the top.
void DrawSplash(const SplashTexture& splash);

// How long the splash shows unless skipped, in seconds from the game clock's origin.
inline constexpr double kSplashTimeout = 4.0;

// Whether the player asked to skip the splash: a key that skips it or the left button down.
bool SplashSkipped(const ImGuiIO& io);
