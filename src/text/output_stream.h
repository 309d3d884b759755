#pragma once

#include <cstdio>
#include <string>

// Writes to a stream the caller owns, remembering the first failure instead of reporting
// each one; after a failure it writes nothing more.
class OutputStream {
public:
    OutputStream(std::FILE* out, bool flushEachWrite)
        : out_(out), flushEachWrite_(flushEachWrite) {}

    void Write(const std::string& text);
    // The errno of the first failed write, or 0.
    int error() const { return error_; }

private:
    std::FILE* out_;
    bool flushEachWrite_;
    int error_ = 0;
};
