#include "app/startup/settings.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <system_error>
#include <utility>

#include "app/platform/platform.h"
#include "app/platform/replace_file.h"
#include "app/startup/zoom_steps.h"

namespace {

constexpr const char* kFolderName = "tarnwick";
constexpr const char* kFileName = "settings";
// Larger than any file FormatSettings writes by far; a larger one is not read.
constexpr std::uintmax_t kLargestFile = 4096;

std::optional<bool> ParseSwitch(const std::string& value) {
    if (value == "on") return true;
    if (value == "off") return false;
    return std::nullopt;
}

std::optional<int> ParseZoom(const std::string& value) {
    for (const int step : kZoomPercents) {
        if (value == std::to_string(step)) return step;
    }
    return std::nullopt;
}

const char* Switch(bool on) {
    return on ? "on" : "off";
}

std::string Utf8(const std::filesystem::path& path) {
    return Utf8FromPath(path);
}

}  // namespace

std::string FormatSettings(const Settings& settings) {
    std::string text;
    if (settings.zoomPercent) text += "zoom=" + std::to_string(*settings.zoomPercent) + "\n";
    if (settings.fullScreen)
        text += std::string("full-screen=") + Switch(*settings.fullScreen) + "\n";
    if (settings.speech) text += std::string("speech=") + Switch(*settings.speech) + "\n";
    if (settings.timeToAct)
        text += std::string("time-to-act=") + TimeToActName(*settings.timeToAct) + "\n";
    return text;
}

Settings ParseSettings(const std::string& text, std::string& problems) {
    Settings settings;
    std::istringstream lines(text);
    int number = 0;
    for (std::string line; std::getline(lines, line);) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        const std::size_t equals = line.find('=');
        const std::string key = line.substr(0, equals);
        const std::string value = equals == std::string::npos ? "" : line.substr(equals + 1);
        const char* problem = nullptr;
        if (equals == std::string::npos) {
            problem = "is not \"key=value\"";
        } else if (key == "zoom") {
            settings.zoomPercent = ParseZoom(value);
            if (!settings.zoomPercent) problem = "is not a zoom step";
        } else if (key == "full-screen" || key == "speech") {
            std::optional<bool>& setting = key == "speech" ? settings.speech : settings.fullScreen;
            setting = ParseSwitch(value);
            if (!setting) problem = "is neither on nor off";
        } else if (key == "time-to-act") {
            settings.timeToAct = ParseTimeToAct(value);
            if (!settings.timeToAct) problem = "is not normal, longer or longest";
        } else {
            problem = "is not a setting";
        }
        if (problem == nullptr) continue;
        if (!problems.empty()) problems += "; ";
        problems += "line " + std::to_string(number) + " " + problem;
    }
    return settings;
}

std::optional<std::filesystem::path> SettingsFolder(const char* xdgConfigHome, const char* home) {
    if (xdgConfigHome != nullptr && *xdgConfigHome != '\0') {
        const std::filesystem::path config = PathFromUtf8(xdgConfigHome);
        if (config.is_absolute()) return config / kFolderName;
    }
    if (home != nullptr && *home != '\0') {
        const std::filesystem::path folder = PathFromUtf8(home);
        if (folder.is_absolute()) return folder / ".config" / kFolderName;
    }
    return std::nullopt;
}

std::optional<std::string> SettingsDisk::Read(const std::filesystem::path& file,
                                              std::string& error) {
    std::error_code status;
    if (!std::filesystem::exists(file, status)) {
        if (status) error = status.message();
        return std::nullopt;
    }
    const std::uintmax_t size = std::filesystem::file_size(file, status);
    if (status || size > kLargestFile) {
        error = status ? status.message() : "larger than a settings file";
        return std::nullopt;
    }
    std::ifstream in(file, std::ios::binary);
    std::string text(static_cast<std::size_t>(size), '\0');
    errno = 0;
    if (!in || !in.read(text.data(), static_cast<std::streamsize>(text.size()))) {
        error = errno != 0 ? std::strerror(errno) : "cannot be read";
        return std::nullopt;
    }
    return text;
}

bool SettingsDisk::Replace(const std::filesystem::path& file, const std::string& text,
                           std::string& error) {
    return ReplaceFileWhole(file, text, error);
}

SettingsFile::SettingsFile(std::optional<std::filesystem::path> folder, SettingsDisk& disk,
                           std::FILE* errors)
    : disk_(disk), errors_(errors) {
    if (folder) file_ = *folder / kFileName;
}

Settings SettingsFile::Load() {
    if (!file_) return {};
    std::string error;
    const std::optional<std::string> text = disk_.Read(*file_, error);
    if (!text) {
        if (!error.empty()) {
            std::fprintf(errors_,
                         "tarnwick: cannot read the settings in \"%s\": %s; using the defaults\n",
                         Utf8(*file_).c_str(), error.c_str());
        }
        return {};
    }
    const Settings settings = ParseSettings(*text, error);
    if (!error.empty()) {
        std::fprintf(errors_, "tarnwick: in the settings in \"%s\", %s: skipped\n",
                     Utf8(*file_).c_str(), error.c_str());
    }
    return settings;
}

void SettingsFile::Save(const Settings& settings) {
    std::string error;
    if (!file_) {
        error = "no folder for them is known";
    } else if (disk_.Replace(*file_, FormatSettings(settings), error)) {
        return;
    }
    if (saveFailureSaid_) return;
    saveFailureSaid_ = true;
    std::fprintf(errors_, "tarnwick: cannot save the settings%s%s: %s\n", file_ ? " in " : "",
                 file_ ? ("\"" + Utf8(*file_) + "\"").c_str() : "", error.c_str());
}

struct SettingsSaver::Shared {
    SettingsFile& file;
    const std::chrono::milliseconds quiet;
    const std::shared_ptr<SaverClock> clock;
    std::mutex mutex;
    std::condition_variable asked;
    std::optional<Settings> waiting;
    SaverClock::TimePoint askedAt;
    bool ending = false;
};

namespace {

class SteadyClock : public SaverClock {
public:
    TimePoint Now() override { return std::chrono::steady_clock::now(); }
    void WaitUntil(std::condition_variable& asked, std::unique_lock<std::mutex>& lock,
                   TimePoint until) override {
        // A wait until the clock's last moment would overflow in the library's arithmetic.
        until == TimePoint::max() ? asked.wait(lock)
                                  : static_cast<void>(asked.wait_until(lock, until));
    }
};

// The saver's thread: writes what waits once the player has left it alone for the quiet time.
void WriteWhenQuiet(SettingsSaver::Shared& shared) {
    std::unique_lock<std::mutex> lock(shared.mutex);
    SaverClock& clock = *shared.clock;
    while (true) {
        while (!shared.ending && !shared.waiting) {
            clock.WaitUntil(shared.asked, lock, SaverClock::TimePoint::max());
        }
        while (!shared.ending && clock.Now() < shared.askedAt + shared.quiet) {
            clock.WaitUntil(shared.asked, lock, shared.askedAt + shared.quiet);
        }
        if (!shared.waiting) return;
        const Settings settings = *std::exchange(shared.waiting, std::nullopt);
        lock.unlock();
        shared.file.Save(settings);
        lock.lock();
    }
}

}  // namespace

std::shared_ptr<SaverClock> SteadySaverClock() {
    return std::make_shared<SteadyClock>();
}

SettingsSaver::SettingsSaver(SettingsFile& file, std::chrono::milliseconds quiet,
                             std::shared_ptr<SaverClock> clock)
    : shared_(new Shared{file, quiet, std::move(clock), {}, {}, {}, {}, false}) {}

SettingsSaver::~SettingsSaver() {
    {
        const std::lock_guard<std::mutex> lock(shared_->mutex);
        shared_->ending = true;
    }
    shared_->asked.notify_one();
    // What waits is the player's: written however long the disk takes.
    thread_.End(std::nullopt);
}

void SettingsSaver::Save(const Settings& settings) {
    {
        const std::lock_guard<std::mutex> lock(shared_->mutex);
        shared_->waiting = settings;
        shared_->askedAt = shared_->clock->Now();
    }
    shared_->asked.notify_one();
    if (!thread_.Started()) thread_.Start([shared = shared_] { WriteWhenQuiet(*shared); });
}
