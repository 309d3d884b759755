#pragma once

// What only the Windows program asks of its system, for more than one of its rooms.

#include <string>

// UTF-16 for Windows' calls; a byte that is not UTF-8 becomes U+FFFD.
std::wstring WideFromUtf8(const std::string& text);

// Whether the system's flag says a screen reader runs (SPI_GETSCREENREADER), which readers set
// while they run; read at once.
bool ScreenReaderRunning();
