// The settings file: read at start, written when the player changes a setting, through a disk
// whose failures a test chooses (the tests run as root, who can write anywhere).

#include "app/settings.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

namespace {

// A disk holding one file, or failing as told.
class FakeDisk : public SettingsDisk {
public:
    std::optional<std::string> file;
    std::string readError;   // set: the file exists but cannot be read
    std::string writeError;  // set: no write succeeds
    int writes = 0;

    std::optional<std::string> Read(const std::filesystem::path&, std::string& error) override {
        error = readError;
        return readError.empty() ? file : std::nullopt;
    }
    bool Replace(const std::filesystem::path&, const std::string& text,
                 std::string& error) override {
        ++writes;
        error = writeError;
        if (writeError.empty()) file = text;
        return writeError.empty();
    }
};

// Everything written to a stream so far.
std::string Said(std::FILE* stream) {
    std::string text(static_cast<std::size_t>(std::ftell(stream)), '\0');
    std::rewind(stream);
    text.resize(std::fread(text.data(), 1, text.size(), stream));
    return text;
}

std::string Shown(const Settings& s) {
    return FormatSettings(s);
}

}  // namespace

TEST(SettingsFile, ReadsWhatWasSavedAndDefaultsOtherwise) {
    const struct {
        const char* what;
        std::optional<std::string> file;
        const char* readError;
        const char* loaded;  // as FormatSettings writes it
        bool said;           // one line on standard error
    } cases[] = {
        {"no file yet", std::nullopt, "", "", false},
        {"all three", "zoom=150\nfull-screen=on\nspeech=off\n", "",
         "zoom=150\nfull-screen=on\nspeech=off\n", false},
        {"speech alone, Windows line ends", "speech=on\r\n\r\n", "", "speech=on\n", false},
        {"an empty file", "", "", "", false},
        {"a zoom that is no step", "zoom=151\n", "", "", true},
        {"an unknown switch", "full-screen=yes\n", "", "", true},
        {"an unknown key", "zoom=150\ncolour=red\n", "", "", true},
        {"no equals sign", "garbage", "", "", true},
        {"unreadable", "zoom=150\n", "Permission denied", "", true},
    };
    for (const auto& c : cases) {
        FakeDisk disk;
        disk.file = c.file;
        disk.readError = c.readError;
        std::FILE* errors = std::tmpfile();
        SettingsFile settings(std::filesystem::path("/config/tarnwick"), disk, errors);
        EXPECT_EQ(Shown(settings.Load()), c.loaded) << c.what;
        const std::string said = Said(errors);
        EXPECT_EQ(said.find("/config/tarnwick/settings") != std::string::npos, c.said)
            << c.what << ": " << said;
        EXPECT_LE(std::count(said.begin(), said.end(), '\n'), 1) << c.what;
        EXPECT_EQ(disk.writes, 0) << c.what << ": a file read is never written back";
        std::fclose(errors);
    }
}

TEST(SettingsFile, SavesAndSaysAFailureOnce) {
    FakeDisk disk;
    disk.file = "broken";
    std::FILE* errors = std::tmpfile();
    SettingsFile settings(std::filesystem::path("/config/tarnwick"), disk, errors);
    Settings chosen = settings.Load();
    chosen.zoomPercent = 67;
    chosen.speech = true;
    settings.Save(chosen);
    EXPECT_EQ(Shown(settings.Load()), "zoom=67\nspeech=on\n");

    disk.writeError = "Read-only file system";
    const long before = std::ftell(errors);
    settings.Save(chosen);
    settings.Save(chosen);
    const std::string said = Said(errors).substr(static_cast<std::size_t>(before));
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find("Read-only file system"), std::string::npos) << said;
    EXPECT_EQ(disk.writes, 3);
    std::fclose(errors);

    // With no folder known, nothing is written anywhere, and that is said once.
    std::FILE* nowhere = std::tmpfile();
    SettingsFile homeless(std::nullopt, disk, nowhere);
    homeless.Save(chosen);
    homeless.Save(chosen);
    EXPECT_EQ(disk.writes, 3);
    const std::string saidOnce = Said(nowhere);
    EXPECT_EQ(std::count(saidOnce.begin(), saidOnce.end(), '\n'), 1) << saidOnce;
    std::fclose(nowhere);
}

TEST(SettingsFile, TheDiskWritesAWholeFileInAFolderItMakes) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("tarnwick-settings-" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder);
    SettingsDisk disk;
    std::FILE* errors = std::tmpfile();
    SettingsFile settings(folder / "deeper", disk, errors);
    EXPECT_EQ(Shown(settings.Load()), "");
    Settings chosen;
    chosen.fullScreen = true;
    settings.Save(chosen);
    chosen.zoomPercent = 300;
    settings.Save(chosen);
    EXPECT_EQ(Shown(settings.Load()), "zoom=300\nfull-screen=on\n");
    EXPECT_EQ(Said(errors), "");
    // Only the file: the one written beside it was renamed over it.
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder / "deeper")) {
        EXPECT_EQ(entry.path().filename(), "settings");
        ++files;
    }
    EXPECT_EQ(files, 1);
    std::fclose(errors);
    std::filesystem::remove_all(folder);
}

TEST(SettingsFolder, IsTheDesktopsPlaceForSettingsAndNeverRelative) {
    const struct {
        const char* xdgConfigHome;
        const char* home;
        const char* folder;  // "" for none
    } cases[] = {
        {"/x/config", "/home/p", "/x/config/tarnwick"},
        {nullptr, "/home/p", "/home/p/.config/tarnwick"},
        {"", "/home/p", "/home/p/.config/tarnwick"},
        {"relative", "/home/p", "/home/p/.config/tarnwick"},
        {"relative", "also-relative", ""},
        {nullptr, nullptr, ""},
    };
    for (const auto& c : cases) {
        const std::optional<std::filesystem::path> folder = SettingsFolder(c.xdgConfigHome, c.home);
        EXPECT_EQ(folder ? folder->string() : "", c.folder) << c.folder;
    }
}
