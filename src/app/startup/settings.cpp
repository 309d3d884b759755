#include "app/startup/settings.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <system_error>

#include "app/platform/platform.h"
#include "app/platform/replace_file.h"
#include "app/window/shortcuts.h"

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
    return text;
}

std::optional<Settings> ParseSettings(const std::string& text, std::string& error) {
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
        bool understood = equals != std::string::npos;
        if (understood && key == "zoom") {
            settings.zoomPercent = ParseZoom(value);
            understood = settings.zoomPercent.has_value();
        } else if (understood && key == "full-screen") {
            settings.fullScreen = ParseSwitch(value);
            understood = settings.fullScreen.has_value();
        } else if (understood && key == "speech") {
            settings.speech = ParseSwitch(value);
            understood = settings.speech.has_value();
        } else {
            understood = false;
        }
        if (!understood) {
            error = "line " + std::to_string(number) + " is not understood";
            return std::nullopt;
        }
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
    std::optional<Settings> settings;
    if (text) settings = ParseSettings(*text, error);
    if (settings) return *settings;
    if (!error.empty()) {
        std::fprintf(errors_,
                     "tarnwick: cannot use the settings in \"%s\": %s; using the defaults\n",
                     Utf8(*file_).c_str(), error.c_str());
    }
    return {};
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
