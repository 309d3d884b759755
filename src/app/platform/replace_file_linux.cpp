#include "app/platform/replace_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

namespace {

// Says which step failed, with errno as that step left it.
bool Failed(std::string& error, const char* step, const std::filesystem::path& path) {
    const std::string why = std::strerror(errno);
    error = std::string("cannot ") + step + " \"" + path.string() + "\": " + why;
    return false;
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

bool ReplaceFileWhole(const std::filesystem::path& file, const std::string& text,
                      std::string& error) {
    std::error_code status;
    std::filesystem::create_directories(file.parent_path(), status);
    if (status) {
        error = "cannot make \"" + file.parent_path().string() + "\": " + status.message();
        return false;
    }
    std::filesystem::path temporary = file;
    temporary += ".new";
    const int out = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (out < 0) return Failed(error, "create", temporary);
    bool written = WriteAll(out, text) || Failed(error, "write", temporary);
    written = written && (::fsync(out) == 0 || Failed(error, "flush", temporary));
    if (::close(out) != 0 && written) written = Failed(error, "close", temporary);
    written = written && (std::rename(temporary.c_str(), file.c_str()) == 0 ||
                          Failed(error, "rename over", file));
    if (!written) {
        ::unlink(temporary.c_str());
        return false;
    }
    // The rename itself reaches the disk with the folder.
    const int folder = ::open(file.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}
