#pragma once

// How much memory the program holds, as its allocator counts it, and what the console's log
// accounts for of it.

#include <cstddef>
#include <string>
#include <vector>

#include "console/markup.h"

namespace soak {

// Bytes allocated and not yet freed.
std::size_t HeapBytesInUse();

// Bytes the allocator sets aside for one request of `size` bytes.
std::size_t HeapBytesFor(std::size_t size);

// Bytes the GUI toolkit's draw lists of the last rendered frame hold for vertices, indices and
// commands. They grow with the text in view, up to a full window, not with the log.
std::size_t DrawListHeapBytes();

// Bytes the log's lines hold: the list, every line's spans and every span's text that does not
// fit inside the string itself, each counted as the allocator does.
std::size_t LogHeapBytes(const std::vector<ConsoleLine>& lines);

// Bytes the texts the log is laid out from hold, counted the same way.
std::size_t TextsHeapBytes(const std::vector<std::string>& texts);

}  // namespace soak
