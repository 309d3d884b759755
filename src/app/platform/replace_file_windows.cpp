#include <windows.h>

#include <system_error>

#include "app/platform/replace_file_steps.h"

namespace {

// The step that failed, with the system's own words for GetLastError's code.
ReplaceFailure Failure(const char* step, const std::filesystem::path& path) {
    return {step, path, std::system_category().message(static_cast<int>(GetLastError()))};
}

}  // namespace

std::optional<ReplaceFailure> WriteFlushed(const std::filesystem::path& temporary,
                                           const std::string& text) {
    const HANDLE out = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) return Failure("create", temporary);
    std::optional<ReplaceFailure> failure;
    DWORD wrote = 0;
    const BOOL written =
        WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &wrote, nullptr);
    if (!written || wrote != text.size()) {
        // A short write succeeds without a reason of its own.
        if (written) SetLastError(ERROR_DISK_FULL);
        failure = Failure("write", temporary);
    } else if (!FlushFileBuffers(out)) {
        failure = Failure("flush", temporary);
    }
    CloseHandle(out);
    return failure;
}

std::optional<ReplaceFailure> RenameOver(const std::filesystem::path& temporary,
                                         const std::filesystem::path& file) {
    if (MoveFileExW(temporary.c_str(), file.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return std::nullopt;
    }
    return Failure("rename over", file);
}
