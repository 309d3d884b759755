#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "app/platform/replace_file_steps.h"

namespace {

// The step that failed, with errno as that step left it.
ReplaceFailure Failure(const char* step, const std::filesystem::path& path) {
    return {step, path, std::strerror(errno)};
}

bool WriteAll(int out, const std::string& text) {
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t wrote = ::write(out, text.data() + done, text.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote == 0) errno = ENOSPC;  // no progress, and write() says nothing of why
        if (wrote <= 0) return false;
        done += static_cast<std::size_t>(wrote);
    }
    return true;
}

}  // namespace

std::optional<ReplaceFailure> WriteFlushed(const std::filesystem::path& temporary,
                                           const std::string& text) {
    const int out = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (out < 0) return Failure("create", temporary);
    std::optional<ReplaceFailure> failure;
    if (!WriteAll(out, text)) {
        failure = Failure("write", temporary);
    } else if (::fsync(out) != 0) {
        failure = Failure("flush", temporary);
    }
    if (::close(out) != 0 && !failure) failure = Failure("close", temporary);
    return failure;
}

std::optional<ReplaceFailure> RenameOver(const std::filesystem::path& temporary,
                                         const std::filesystem::path& file) {
    if (std::rename(temporary.c_str(), file.c_str()) != 0) return Failure("rename over", file);
    // The rename itself reaches the disk with the folder.
    const int folder = ::open(file.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return std::nullopt;
}
