#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "text/transcript.h"

// A transcript written to a file of the player's choosing.
class TranscriptFile {
public:
    // Creates or empties the file; on failure returns null and says why in `error`.
    static std::unique_ptr<TranscriptFile> Open(const std::string& path, bool flushEachLine,
                                                TranscriptWriter::Lines lines, std::string& error);
    // Takes over an open file.
    TranscriptFile(std::string path, std::FILE* file, bool flushEachLine,
                   TranscriptWriter::Lines lines);
    ~TranscriptFile();

    TranscriptFile(const TranscriptFile&) = delete;
    TranscriptFile& operator=(const TranscriptFile&) = delete;

    Display& display() { return writer_; }
    // Closes the file; false, with the reason in `error`, when any of it could not be written.
    bool Close(std::string& error);

private:
    std::string path_;
    std::FILE* file_;
    TranscriptWriter writer_;
};
