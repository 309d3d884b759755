#include "app/platform/replace_file.h"

#include <windows.h>

#include <cstdio>
#include <system_error>

#include "app/platform/platform.h"

namespace {

// Says which step failed, with the system's own words for GetLastError's code.
bool Failed(std::string& error, const char* step, const std::filesystem::path& path) {
    const std::string why = std::system_category().message(static_cast<int>(GetLastError()));
    error = std::string("cannot ") + step + " \"" + Utf8FromPath(path) + "\": " + why;
    return false;
}

}  // namespace

bool ReplaceFileWhole(const std::filesystem::path& file, const std::string& text,
                      std::string& error) {
    std::error_code status;
    std::filesystem::create_directories(file.parent_path(), status);
    if (status) {
        error = "cannot make \"" + Utf8FromPath(file.parent_path()) + "\": " + status.message();
        return false;
    }
    std::filesystem::path temporary = file;
    temporary += ".new";
    const HANDLE out = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) return Failed(error, "create", temporary);
    DWORD wrote = 0;
    bool written = WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &wrote, nullptr);
    // A short write succeeds without a reason of its own.
    if (written && wrote != text.size()) SetLastError(ERROR_DISK_FULL);
    written = (written && wrote == text.size()) || Failed(error, "write", temporary);
    written = written && (FlushFileBuffers(out) || Failed(error, "flush", temporary));
    CloseHandle(out);
    written = written && (MoveFileExW(temporary.c_str(), file.c_str(),
                                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ||
                          Failed(error, "rename over", file));
    if (!written) DeleteFileW(temporary.c_str());
    return written;
}
