#pragma once

#include <filesystem>
#include <string>

// Replaces `file`'s bytes with `text` whole or not at all: the folder (and those above it) is
// made, a file beside it is written, flushed to the disk and renamed over the old one, so that a
// crash leaves either file whole. False, with `error` saying which step failed and why, when
// that fails; the file beside it is then removed.
bool ReplaceFileWhole(const std::filesystem::path& file, const std::string& text,
                      std::string& error);
