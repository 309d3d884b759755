#include "app/data_files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

// Where the data files lie relative to the folder of an installed executable.
constexpr const char* kInstalledData = "../share/games/tarnwick";

std::string Normal(const fs::path& path) {
    std::string text = path.lexically_normal().string();
    if (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
}

std::string WorkingDirectory() {
    char buffer[PATH_MAX];
    return getcwd(buffer, sizeof buffer) != nullptr ? buffer : "";
}

std::string Executable() {
    char buffer[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return length > 0 ? std::string(buffer, static_cast<std::size_t>(length)) : "";
}

bool Exists(const std::string& path) {
    struct stat status;
    return stat(path.c_str(), &status) == 0;
}

}  // namespace

std::vector<std::string> DataFolders(const std::string& workingDirectory,
                                     const std::string& executable,
                                     const std::vector<std::string>& systemFolders) {
    std::vector<std::string> candidates;
    if (!workingDirectory.empty()) candidates.push_back(Normal(workingDirectory));
    if (!executable.empty()) {
        const fs::path folder = fs::path(executable).parent_path();
        candidates.push_back(Normal(folder));
        candidates.push_back(Normal(folder / kInstalledData));
    }
    candidates.insert(candidates.end(), systemFolders.begin(), systemFolders.end());

    std::vector<std::string> folders;
    for (const std::string& candidate : candidates) {
        // Only absolute folders: a relative one would move with the working directory.
        if (candidate.empty() || candidate.front() != '/') continue;
        const std::string folder = Normal(candidate);
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
        const std::string path = Normal(fs::path(folder) / name);
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
        DataFolders(workingDirectory, Executable(), systemFolders);
    std::optional<std::string> path = FindInFolders(name, folders, Exists);
    // A file in the working directory keeps its short name, as in the messages of the loaders.
    if (path && !workingDirectory.empty() && *path == Normal(fs::path(workingDirectory) / name)) {
        path = name;
    }
    if (!path) std::fprintf(stderr, "%s\n", NotFoundMessage(name, folders, consequence).c_str());
    return path;
}
