#include "app/startup/data_files.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "app/platform/platform.h"

namespace {

namespace fs = std::filesystem;

// The path in its shortest form, without a separator at the end unless it is a root.
std::string Normal(const fs::path& path) {
    fs::path normal = path.lexically_normal();
    if (!normal.has_filename() && normal.has_relative_path()) normal = normal.parent_path();
    return Utf8FromPath(normal);
}

bool Exists(const std::string& path) {
    std::error_code error;
    return fs::exists(PathFromUtf8(path), error);
}

}  // namespace

std::vector<std::string> DataFolders(const std::string& workingDirectory,
                                     const std::string& executable,
                                     const std::vector<std::string>& systemFolders) {
    std::vector<std::string> candidates;
    if (!workingDirectory.empty()) candidates.push_back(Normal(PathFromUtf8(workingDirectory)));
    if (!executable.empty()) {
        const fs::path folder = PathFromUtf8(executable).parent_path();
        candidates.push_back(Normal(folder));
        if (kInstalledDataFolder != nullptr)
            candidates.push_back(Normal(folder / kInstalledDataFolder));
    }
    candidates.insert(candidates.end(), systemFolders.begin(), systemFolders.end());

    std::vector<std::string> folders;
    for (const std::string& candidate : candidates) {
        // Only absolute folders: a relative one would move with the working directory.
        if (!PathFromUtf8(candidate).is_absolute()) continue;
        const std::string folder = Normal(PathFromUtf8(candidate));
        if (std::find(folders.begin(), folders.end(), folder) == folders.end()) {
            folders.push_back(folder);
        }
    }
    return folders;
}

std::optional<std::string> FindInFolders(const std::string& name,
                                         const std::vector<std::string>& folders,
                                         const std::function<bool(const std::string&)>& exists) {
    for (const std::string& folder : folders) {
        const std::string path = Normal(PathFromUtf8(folder) / PathFromUtf8(name));
        if (exists(path)) return path;
    }
    return std::nullopt;
}

std::string NotFoundMessage(const std::string& name, const std::vector<std::string>& folders,
                            const std::string& consequence) {
    std::string message = "tarnwick: cannot find \"" + name + "\" in ";
    if (folders.empty()) message += "any folder (none is known)";
    for (std::size_t i = 0; i < folders.size(); ++i) {
        if (i > 0) message += i + 1 == folders.size() ? " or " : ", ";
        message += folders[i];
    }
    return message + "; " + consequence;
}

std::optional<std::string> FindDataFile(const std::string& name,
                                        const std::vector<std::string>& systemFolders,
                                        const std::string& consequence) {
    const std::string workingDirectory = WorkingDirectory();
    const std::vector<std::string> folders =
        DataFolders(workingDirectory, ProgramPath(), systemFolders);
    std::optional<std::string> path = FindInFolders(name, folders, Exists);
    // A file in the working directory keeps its short name, as in the messages of the loaders.
    if (path && !workingDirectory.empty() &&
        *path == Normal(PathFromUtf8(workingDirectory) / PathFromUtf8(name))) {
        path = name;
    }
    if (!path) std::fprintf(stderr, "%s\n", NotFoundMessage(name, folders, consequence).c_str());
    return path;
}
