#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "app/platform/owned_thread.h"

#include "engine/time_to_act.h"

// What the window remembers between runs, each unset until the player first chooses it.
struct Settings {
    std::optional<int> zoomPercent;  // one of the zoom's named steps (zoom_steps.h)
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

// The saver's clock, so that a test can move its time: the time now, and a wait on `asked`
// (with `lock` held) that ends at `until` by this clock, when notified, or spuriously;
// TimePoint::max() waits without a limit.
class SaverClock {
public:
    using TimePoint = std::chrono::steady_clock::time_point;
    virtual ~SaverClock() = default;
    virtual TimePoint Now() = 0;
    virtual void WaitUntil(std::condition_variable& asked, std::unique_lock<std::mutex>& lock,
                           TimePoint until) = 0;
};
// The steady clock the game runs on.
std::shared_ptr<SaverClock> SteadySaverClock();

// Saves the settings on a thread of its own, so that writing and flushing the file never holds
// up a frame. Each Save replaces what waits to be written, which is written once nothing more
// was asked for `quiet` by `clock` (a spin of the zoom is one write); what waits at the end is
// written before the destructor returns.
class SettingsSaver {
public:
    static constexpr std::chrono::milliseconds kQuiet{500};

    explicit SettingsSaver(SettingsFile& file, std::chrono::milliseconds quiet = kQuiet,
                           std::shared_ptr<SaverClock> clock = SteadySaverClock());
    ~SettingsSaver();

    void Save(const Settings& settings);

    // What the saver and its thread share.
    struct Shared;

private:
    std::shared_ptr<Shared> shared_;
    OwnedThread thread_;  // started at the first Save
};
