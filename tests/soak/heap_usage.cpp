#include "soak/heap_usage.h"

#include <imgui.h>
#include <malloc.h>

#include <string>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TARNWICK_HEAP_IS_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define TARNWICK_HEAP_IS_ASAN 1
#endif

#if defined(TARNWICK_HEAP_IS_ASAN)
// From the sanitizer runtime (declared here: GCC ships no header for it).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace soak {

namespace {

// The chunk glibc's malloc uses for a request: a size word, 16-byte alignment, 32 at least.
constexpr std::size_t kChunkHeader = sizeof(std::size_t);
constexpr std::size_t kChunkAlignment = 16;
constexpr std::size_t kSmallestChunk = 32;

std::size_t StringHeapBytes(const std::string& text) {
    // A string keeps up to 15 bytes inside itself; a longer one allocates capacity + 1.
    const std::string empty;
    return text.capacity() > empty.capacity() ? HeapBytesFor(text.capacity() + 1) : 0;
}

}  // namespace

#if defined(TARNWICK_HEAP_IS_ASAN)

std::size_t HeapBytesInUse() {
    return __sanitizer_get_current_allocated_bytes();
}

std::size_t HeapBytesFor(std::size_t size) {
    return size;
}

#else

std::size_t HeapBytesInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

std::size_t HeapBytesFor(std::size_t size) {
    const std::size_t chunk = (size + kChunkHeader + kChunkAlignment - 1) & ~(kChunkAlignment - 1);
    return chunk < kSmallestChunk ? kSmallestChunk : chunk;
}

#endif

std::size_t DrawListHeapBytes() {
    const ImDrawData* data = ImGui::GetDrawData();
    if (data == nullptr) return 0;
    std::size_t bytes = 0;
    auto add = [&bytes](int capacity, std::size_t element) {
        if (capacity > 0) bytes += HeapBytesFor(static_cast<std::size_t>(capacity) * element);
    };
    for (int n = 0; n < data->CmdListsCount; ++n) {
        const ImDrawList& list = *data->CmdLists[n];
        add(list.VtxBuffer.Capacity, sizeof(ImDrawVert));
        add(list.IdxBuffer.Capacity, sizeof(ImDrawIdx));
        add(list.CmdBuffer.Capacity, sizeof(ImDrawCmd));
    }
    return bytes;
}

std::size_t LogHeapBytes(const std::vector<ConsoleLine>& lines) {
    std::size_t bytes =
        lines.capacity() > 0 ? HeapBytesFor(lines.capacity() * sizeof(ConsoleLine)) : 0;
    for (const ConsoleLine& line : lines) {
        if (line.capacity() > 0) bytes += HeapBytesFor(line.capacity() * sizeof(TextSpan));
        for (const TextSpan& span : line) bytes += StringHeapBytes(span.text);
    }
    return bytes;
}

std::size_t TextsHeapBytes(const std::vector<std::string>& texts) {
    std::size_t bytes =
        texts.capacity() > 0 ? HeapBytesFor(texts.capacity() * sizeof(std::string)) : 0;
    for (const std::string& text : texts) bytes += StringHeapBytes(text);
    return bytes;
}

}  // namespace soak
