#include "text/output_stream.h"

#include <cerrno>

void OutputStream::Write(const std::string& text) {
    if (error_ != 0) return;
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), out_) != text.size() ||
        (flushEachWrite_ && std::fflush(out_) != 0)) {
        error_ = errno != 0 ? errno : EIO;
    }
}
