#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

// Where the data files lie relative to the folder of an installed program (games/ ->
// share/games/tarnwick); nullptr where they lie beside it (Windows).
extern const char* const kInstalledDataFolder;

// The folders searched for a data file, in order: the working directory, the executable's
// folder, the installed data folder relative to it (games/ -> share/games/tarnwick; not on
// Windows) and then `systemFolders`. A folder already in the list, or not absolute, is left
// out. Either of the first two may be empty when it is not known.
std::vector<std::string> DataFolders(const std::string& workingDirectory,
                                     const std::string& executable,
                                     const std::vector<std::string>& systemFolders);

// The path of `name` in the first of `folders` where `exists` says it is. An entry is taken
// even when it is not a usable file, so that the loader can say what is wrong with it.
std::optional<std::string> FindInFolders(const std::string& name,
                                         const std::vector<std::string>& folders,
                                         const std::function<bool(const std::string&)>& exists);

// One line for standard error when `name` is in none of `folders`; `consequence` says what the
// game does without it.
std::string NotFoundMessage(const std::string& name, const std::vector<std::string>& folders,
                            const std::string& consequence);

// The search above in this process: its working directory and its program's path. A file
// found in the working directory comes back as `name` alone, as the loaders' messages have
// always shown it. When the file is nowhere, says so on standard error, naming every folder
// tried.
std::optional<std::string> FindDataFile(const std::string& name,
                                        const std::vector<std::string>& systemFolders,
                                        const std::string& consequence);
