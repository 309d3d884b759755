#include "app/platform/replace_file.h"

#include <system_error>

#include "app/platform/platform.h"
#include "app/platform/replace_file_steps.h"

namespace {

bool Failed(std::string& error, const char* step, const std::filesystem::path& path,
            const std::string& why) {
    error = std::string("cannot ") + step + " \"" + Utf8FromPath(path) + "\": " + why;
    return false;
}

}  // namespace

bool ReplaceFileWhole(const std::filesystem::path& file, const std::string& text,
                      std::string& error) {
    std::error_code status;
    std::filesystem::create_directories(file.parent_path(), status);
    if (status) return Failed(error, "make", file.parent_path(), status.message());
    std::filesystem::path temporary = file;
    temporary += ".new";
    std::optional<ReplaceFailure> failure = WriteFlushed(temporary, text);
    if (!failure) failure = RenameOver(temporary, file);
    if (!failure) return true;
    std::filesystem::remove(temporary, status);
    return Failed(error, failure->step, failure->path, failure->why);
}
