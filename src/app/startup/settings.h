#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "engine/time_to_act.h"

// What the window remembers between runs, each unset until the player first chooses it.
struct Settings {
    std::optional<int> zoomPercent;  // one of the zoom's named steps (shortcuts.h)
    std::optional<bool> fullScreen;
    std::optional<bool> speech;
    std::optional<TimeToAct> timeToAct = std::nullopt;  // older files have none
};

// The settings file's text: one "key=value" line each, for those set.
std::string FormatSettings(const Settings& settings);
// Reads the file's text. A line FormatSettings could not have written (an unknown key, a value
// the key does not take, no "=") is skipped, the others kept, and `problems` names each.
Settings ParseSettings(const std::string& text, std::string& problems);

// The folder the settings live in: $XDG_CONFIG_HOME/tarnwick, else $HOME/.config/tarnwick, as
// given (absolute paths only: a relative one would lead into the working folder); on Windows
// %APPDATA%\tarnwick. Nothing when none is known, and nothing is then saved.
std::optional<std::filesystem::path> SettingsFolder(const char* xdgConfigHome, const char* home);
std::optional<std::filesystem::path> SettingsFolder();

// What the settings file asks of the file system, so that failures can be put in its place.
class SettingsDisk {
public:
    virtual ~SettingsDisk() = default;
    // The file's bytes; nothing when it does not exist, with `error` set when it exists but
    // cannot be read.
    virtual std::optional<std::string> Read(const std::filesystem::path& file, std::string& error);
    // Makes the folder (and those above it) and replaces the file's text by writing a file
    // beside it, flushing it to the disk and renaming it over the old one, so that a crash
    // leaves either file whole. False, with `error` set, when that fails.
    virtual bool Replace(const std::filesystem::path& file, const std::string& text,
                         std::string& error);
};

// The settings file in a folder: read once at start, written whenever the player changes a
// setting. Problems are one line each on `errors`.
class SettingsFile {
public:
    SettingsFile(std::optional<std::filesystem::path> folder, SettingsDisk& disk,
                 std::FILE* errors);

    // The saved settings; all unset when there are none or they cannot be read, and those of
    // its lines that make no sense skipped (said in one line). The file stays as it is until
    // Save.
    Settings Load();
    // Keeps `settings` for the next run. A failure is said once, and later saves try again.
    void Save(const Settings& settings);

private:
    std::optional<std::filesystem::path> file_;
    SettingsDisk& disk_;
    std::FILE* errors_;
    bool saveFailureSaid_ = false;
};

// Saves the settings on a thread of its own, so that writing and flushing the file never holds
// up a frame. Each Save replaces what waits to be written, which is written once nothing more
// was asked for `quiet` (a spin of the zoom is one write); what waits at the end is written
// before the destructor returns.
class SettingsSaver {
public:
    static constexpr std::chrono::milliseconds kQuiet{500};

    explicit SettingsSaver(SettingsFile& file, std::chrono::milliseconds quiet = kQuiet);
    ~SettingsSaver();

    void Save(const Settings& settings);

private:
    void Write();

    SettingsFile& file_;
    const std::chrono::milliseconds quiet_;
    std::mutex mutex_;
    std::condition_variable asked_;
    std::optional<Settings> waiting_;
    std::chrono::steady_clock::time_point askedAt_;
    bool ending_ = false;
    std::thread thread_;  // started at the first Save
};
