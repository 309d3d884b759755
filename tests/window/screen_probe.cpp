// Reads screenshots for the window tests: pixel colours, colour counts in a rectangle, the rows
// of text in a region and how much of a screenshot matches a reference picture.
//
//   screen_probe pixel FILE X Y
//       prints "R G B" of one pixel
//   screen_probe count FILE X0 Y0 X1 Y1 TOL R,G,B [R,G,B ...]
//       prints, per colour, the number of pixels in [X0,X1) x [Y0,Y1) within TOL of it
//   screen_probe rows FILE X0 Y0 X1 Y1 TOL R,G,B [R,G,B ...]
//       prints "TOP BOTTOM LEFT RIGHT" (inclusive) for each band of consecutive rows that holds
//       a pixel farther than TOL from the background colour (the first R,G,B): the lines of
//       text; then, per further colour, the number of pixels of exactly that colour in the band
//   screen_probe match FILE REFERENCE TOL
//       prints the percentage of pixels of FILE within TOL of the reference picture stretched
//       to FILE's size (nearest sample)
//
// A pixel is within TOL of a colour when no channel differs by more than TOL.
#include <stb_image.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Colour {
    int r = 0;
    int g = 0;
    int b = 0;
};

class Picture {
public:
    explicit Picture(const char* path) {
        stbi_uc* data = stbi_load(path, &width_, &height_, nullptr, 3);
        if (data == nullptr) {
            std::fprintf(stderr, "screen_probe: cannot read %s: %s\n", path, stbi_failure_reason());
            std::exit(2);
        }
        pixels_.reset(data);
    }

    int Width() const { return width_; }
    int Height() const { return height_; }

    Colour At(int x, int y) const {
        const stbi_uc* p = pixels_.get() + (static_cast<std::size_t>(y) * width_ + x) * 3;
        return {p[0], p[1], p[2]};
    }

private:
    struct Free {
        void operator()(stbi_uc* data) const { stbi_image_free(data); }
    };
    int width_ = 0;
    int height_ = 0;
    std::unique_ptr<stbi_uc, Free> pixels_;
};

struct Rect {
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;
};

[[noreturn]] void Usage() {
    std::fprintf(stderr,
                 "usage: screen_probe pixel FILE X Y\n"
                 "       screen_probe count FILE X0 Y0 X1 Y1 TOL R,G,B [R,G,B ...]\n"
                 "       screen_probe rows FILE X0 Y0 X1 Y1 TOL R,G,B [R,G,B ...]\n"
                 "       screen_probe match FILE REFERENCE TOL\n");
    std::exit(2);
}

int ToInt(const char* text) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0') Usage();
    return static_cast<int>(value);
}

Colour ToColour(const char* text) {
    Colour colour;
    if (std::sscanf(text, "%d,%d,%d", &colour.r, &colour.g, &colour.b) != 3) Usage();
    return colour;
}

bool Near(Colour a, Colour b, int tolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance;
}

// The rectangle given on the command line, cut to the picture.
Rect ClampedRect(const Picture& picture, char** argv) {
    Rect rect{ToInt(argv[0]), ToInt(argv[1]), ToInt(argv[2]), ToInt(argv[3])};
    rect.x0 = std::max(rect.x0, 0);
    rect.y0 = std::max(rect.y0, 0);
    rect.x1 = std::min(rect.x1, picture.Width());
    rect.y1 = std::min(rect.y1, picture.Height());
    return rect;
}

int Pixel(int argc, char** argv) {
    if (argc != 3) Usage();
    const Picture picture(argv[0]);
    const int x = ToInt(argv[1]);
    const int y = ToInt(argv[2]);
    if (x < 0 || y < 0 || x >= picture.Width() || y >= picture.Height()) {
        std::fprintf(stderr, "screen_probe: %d,%d lies outside the picture\n", x, y);
        return 2;
    }
    const Colour colour = picture.At(x, y);
    std::printf("%d %d %d\n", colour.r, colour.g, colour.b);
    return 0;
}

int Count(int argc, char** argv) {
    if (argc < 7) Usage();
    const Picture picture(argv[0]);
    const Rect rect = ClampedRect(picture, argv + 1);
    const int tolerance = ToInt(argv[5]);
    for (int i = 6; i < argc; ++i) {
        const Colour wanted = ToColour(argv[i]);
        long count = 0;
        for (int y = rect.y0; y < rect.y1; ++y) {
            for (int x = rect.x0; x < rect.x1; ++x)
                count += Near(picture.At(x, y), wanted, tolerance);
        }
        std::printf("%ld\n", count);
    }
    return 0;
}

// Pixels of `colour` in the rows [top, bottom] of `rect`.
long CountBand(const Picture& picture, const Rect& rect, int top, int bottom, Colour colour) {
    long count = 0;
    for (int y = top; y <= bottom; ++y) {
        for (int x = rect.x0; x < rect.x1; ++x) count += Near(picture.At(x, y), colour, 0);
    }
    return count;
}

int Rows(int argc, char** argv) {
    if (argc < 7) Usage();
    const Picture picture(argv[0]);
    const Rect rect = ClampedRect(picture, argv + 1);
    const int tolerance = ToInt(argv[5]);
    const Colour background = ToColour(argv[6]);
    std::vector<Colour> counted;
    for (int i = 7; i < argc; ++i) counted.push_back(ToColour(argv[i]));

    int top = -1;
    int left = 0;
    int right = 0;
    for (int y = rect.y0; y <= rect.y1; ++y) {
        int rowLeft = -1;
        int rowRight = -1;
        for (int x = rect.x0; y < rect.y1 && x < rect.x1; ++x) {
            if (Near(picture.At(x, y), background, tolerance)) continue;
            if (rowLeft < 0) rowLeft = x;
            rowRight = x;
        }
        if (rowLeft >= 0 && top < 0) {
            top = y;
            left = rowLeft;
            right = rowRight;
        } else if (rowLeft >= 0) {
            left = std::min(left, rowLeft);
            right = std::max(right, rowRight);
        } else if (top >= 0) {
            std::printf("%d %d %d %d", top, y - 1, left, right);
            for (const Colour& colour : counted) {
                std::printf(" %ld", CountBand(picture, rect, top, y - 1, colour));
            }
            std::printf("\n");
            top = -1;
        }
    }
    return 0;
}

int Match(int argc, char** argv) {
    if (argc != 3) Usage();
    const Picture picture(argv[0]);
    const Picture reference(argv[1]);
    const int tolerance = ToInt(argv[2]);
    long matching = 0;
    for (int y = 0; y < picture.Height(); ++y) {
        const int ry = static_cast<int>((y + 0.5) * reference.Height() / picture.Height());
        for (int x = 0; x < picture.Width(); ++x) {
            const int rx = static_cast<int>((x + 0.5) * reference.Width() / picture.Width());
            matching += Near(picture.At(x, y), reference.At(rx, ry), tolerance);
        }
    }
    const double total = static_cast<double>(picture.Width()) * picture.Height();
    std::printf("%.2f\n", 100.0 * matching / total);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) Usage();
    const std::string command = argv[1];
    if (command == "pixel") return Pixel(argc - 2, argv + 2);
    if (command == "count") return Count(argc - 2, argv + 2);
    if (command == "rows") return Rows(argc - 2, argv + 2);
    if (command == "match") return Match(argc - 2, argv + 2);
    Usage();
}
