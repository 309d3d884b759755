#pragma once

// The steps of ReplaceFileWhole that each system takes its own way (replace_file_linux.cpp,
// replace_file_windows.cpp); the folder, the file beside it and what a failure says are shared.

#include <filesystem>
#include <optional>
#include <string>

struct ReplaceFailure {
    const char* step;  // "create", "write", "flush", "rename over"
    std::filesystem::path path;
    std::string why;  // in the system's own words
};

// Writes `text` to `temporary`, made or emptied first, and flushes it to the disk.
std::optional<ReplaceFailure> WriteFlushed(const std::filesystem::path& temporary,
                                           const std::string& text);
// Renames `temporary` over `file`, so that the rename itself reaches the disk.
std::optional<ReplaceFailure> RenameOver(const std::filesystem::path& temporary,
                                         const std::filesystem::path& file);
