#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

// What the window remembers between runs, each unset until the player first chooses it.
struct Settings {
    std::optional<int> zoomPercent;  // one of the zoom's named steps (shortcuts.h)
    std::optional<bool> fullScreen;
    std::optional<bool> speech;
};

// The settings file's text: one "key=value" line each, for those set.
std::string FormatSettings(const Settings& settings);
// Reads the file's text; nothing when it is not one that FormatSettings could have written
// (an unknown key or value, a line without "="), with what is wrong in `error`.
std::optional<Settings> ParseSettings(const std::string& text, std::string& error);

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

    // The saved settings; all unset when there are none, or they cannot be read or make no
    // sense (said once). Such a file stays as it is until Save.
    Settings Load();
    // Keeps `settings` for the next run. A failure is said once, and later saves try again.
    void Save(const Settings& settings);

private:
    std::optional<std::filesystem::path> file_;
    SettingsDisk& disk_;
    std::FILE* errors_;
    bool saveFailureSaid_ = false;
};
