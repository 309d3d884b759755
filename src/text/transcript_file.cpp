#include "text/transcript_file.h"

#include <cerrno>
#include <cstring>

namespace {

std::string CannotWrite(const std::string& path, int error) {
    return "cannot write the transcript '" + path + "': " + std::strerror(error);
}

}  // namespace

std::unique_ptr<TranscriptFile> TranscriptFile::Open(const std::string& path, bool flushEachLine,
                                                     TranscriptWriter::Lines lines,
                                                     std::string& error) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        error = CannotWrite(path, errno);
        return nullptr;
    }
    return std::make_unique<TranscriptFile>(path, file, flushEachLine, lines);
}

TranscriptFile::TranscriptFile(std::string path, std::FILE* file, bool flushEachLine,
                               TranscriptWriter::Lines lines)
    : path_(std::move(path)), file_(file), writer_(file, flushEachLine, lines) {}

TranscriptFile::~TranscriptFile() {
    if (file_ != nullptr) std::fclose(file_);
}

bool TranscriptFile::Close(std::string& error) {
    int problem = writer_.error();
    errno = 0;
    if (std::fclose(file_) != 0 && problem == 0) problem = errno != 0 ? errno : EIO;
    file_ = nullptr;
    if (problem == 0) return true;
    error = CannotWrite(path_, problem);
    return false;
}
