// Writes a one-colour 8-bit greyscale PNG of any size, row by row, so that pictures larger than
// any texture (and than ImageMagick's own limits) can be made quickly and in little memory.
//
//   big_png WIDTH HEIGHT GREY OUTPUT
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr unsigned char kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
constexpr std::size_t kChunkLimit = 1 << 16;

void PutBigEndian(std::vector<unsigned char>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back((value >> shift) & 0xff);
}

bool WriteChunk(std::FILE* file, const char* type, const unsigned char* data, std::size_t size) {
    std::vector<unsigned char> head;
    PutBigEndian(head, static_cast<std::uint32_t>(size));
    head.insert(head.end(), type, type + 4);
    uLong crc = crc32(0, head.data() + 4, 4);
    if (size > 0) crc = crc32(crc, data, static_cast<uInt>(size));
    std::vector<unsigned char> tail;
    PutBigEndian(tail, static_cast<std::uint32_t>(crc));
    return std::fwrite(head.data(), 1, head.size(), file) == head.size() &&
           (size == 0 || std::fwrite(data, 1, size, file) == size) &&
           std::fwrite(tail.data(), 1, tail.size(), file) == tail.size();
}

// Compresses what is pending in `stream` and writes it out as IDAT chunks.
bool Deflate(std::FILE* file, z_stream& stream, int flush) {
    std::vector<unsigned char> buffer(kChunkLimit);
    int status = Z_OK;
    do {
        stream.next_out = buffer.data();
        stream.avail_out = static_cast<uInt>(buffer.size());
        status = deflate(&stream, flush);
        if (status == Z_STREAM_ERROR) return false;
        const std::size_t produced = buffer.size() - stream.avail_out;
        if (produced > 0 && !WriteChunk(file, "IDAT", buffer.data(), produced)) return false;
    } while (stream.avail_out == 0 || (flush == Z_FINISH && status != Z_STREAM_END));
    return true;
}

bool WritePng(std::FILE* file, std::uint32_t width, std::uint32_t height, unsigned char grey) {
    if (std::fwrite(kSignature, 1, sizeof kSignature, file) != sizeof kSignature) return false;
    std::vector<unsigned char> header;
    PutBigEndian(header, width);
    PutBigEndian(header, height);
    header.insert(header.end(), {8, 0, 0, 0, 0});  // 8-bit grey, deflate, no filter, no interlace
    if (!WriteChunk(file, "IHDR", header.data(), header.size())) return false;

    z_stream stream{};
    if (deflateInit(&stream, Z_BEST_SPEED) != Z_OK) return false;
    std::vector<unsigned char> row(width + 1, grey);
    row[0] = 0;  // filter type: none
    bool ok = true;
    for (std::uint32_t y = 0; ok && y < height; ++y) {
        stream.next_in = row.data();
        stream.avail_in = static_cast<uInt>(row.size());
        ok = Deflate(file, stream, Z_NO_FLUSH);
    }
    ok = ok && Deflate(file, stream, Z_FINISH);
    deflateEnd(&stream);
    return ok && WriteChunk(file, "IEND", nullptr, 0);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: big_png WIDTH HEIGHT GREY OUTPUT\n");
        return 2;
    }
    const long width = std::strtol(argv[1], nullptr, 10);
    const long height = std::strtol(argv[2], nullptr, 10);
    const long grey = std::strtol(argv[3], nullptr, 10);
    if (width < 1 || height < 1 || width > 1000000 || height > 1000000 || grey < 0 || grey > 255) {
        std::fprintf(stderr, "big_png: bad size or grey level\n");
        return 2;
    }
    std::FILE* file = std::fopen(argv[4], "wb");
    if (file == nullptr) {
        std::perror(argv[4]);
        return 1;
    }
    const bool written =
        WritePng(file, static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height),
                 static_cast<unsigned char>(grey));
    if (std::fclose(file) != 0 || !written) {
        std::fprintf(stderr, "big_png: cannot write %s\n", argv[4]);
        return 1;
    }
    return 0;
}
