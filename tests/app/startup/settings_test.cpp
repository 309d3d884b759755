// The settings file, through a disk whose failures a test chooses (tests run as root, who can
// write anywhere); the window's test reads what the real disk was given.

#include "app/startup/settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <vector>

namespace {

class FakeDisk : public SettingsDisk {
public:
    std::optional<std::string> file;
    std::string readError, writeError;  // set: reading or writing fails
    int writes = 0;

    std::optional<std::string> Read(const std::filesystem::path&, std::string& error) override {
        error = readError;
        return readError.empty() ? file : std::nullopt;
    }
    bool Replace(const std::filesystem::path&, const std::string& text, std::string& e) override {
        ++writes;
        e = writeError;
        if (writeError.empty()) file = text;
        return writeError.empty();
    }
};

// A clock that moves only when the test says: Advance returns once the saver has looked at the
// new time (and written, if that was due) and waits again.
class FakeClock : public SaverClock {
public:
    TimePoint Now() override { return now_; }
    void WaitUntil(std::condition_variable& asked, std::unique_lock<std::mutex>& lock,
                   TimePoint) override {
        {
            const std::lock_guard<std::mutex> first(firstMutex_);
            asked_ = &asked;
            saverMutex_ = lock.mutex();
        }
        ++waits_;
        waited_.notify_all();
        asked.wait(lock);
    }
    void Advance(std::chrono::milliseconds by) {
        std::unique_lock<std::mutex> first(firstMutex_);
        waited_.wait(first, [this] { return saverMutex_ != nullptr; });
        std::unique_lock<std::mutex> lock(*saverMutex_);
        first.unlock();
        now_ += by;
        const int seen = waits_;
        asked_->notify_all();
        waited_.wait(lock, [this, seen] { return waits_ > seen; });
    }

private:
    TimePoint now_;
    std::mutex firstMutex_;
    std::condition_variable waited_;
    std::condition_variable* asked_ = nullptr;
    std::mutex* saverMutex_ = nullptr;
    int waits_ = 0;  // guarded by the saver's mutex
};

// Lines written to a stream so far.
long LinesSaid(std::FILE* stream) {
    std::string text(static_cast<std::size_t>(std::ftell(stream)), '\0');
    std::rewind(stream);
    text.resize(std::fread(text.data(), 1, text.size(), stream));
    return std::count(text.begin(), text.end(), '\n');
}

}  // namespace

TEST(SettingsFile, LoadsSavesAndSaysEachProblemOnce) {
    const struct {
        std::optional<std::string> file;
        const char* readError;
        const char* writeError;
        const char* loaded;  // as FormatSettings writes it
        long said;           // lines on standard error after a load and two saves
    } cases[] = {
        {std::nullopt, "", "", "", 0},
        {"zoom=150\nfull-screen=on\nspeech=off\n", "", "", "zoom=150\nfull-screen=on\nspeech=off\n",
         0},
        {"speech=on\r\n\r\n", "", "", "speech=on\n", 0},
        {"zoom=151\nspeech=on\n", "", "", "speech=on\n", 1},
        {"full-screen=yes\n", "", "", "", 1},
        {"colour=red\nzoom=150\nfont=big\n", "", "", "zoom=150\n", 1},
        {"garbage\nfull-screen=on", "", "", "full-screen=on\n", 1},
        {"time-to-act=longest\nzoom=150\n", "", "", "zoom=150\ntime-to-act=longest\n", 0},
        {"time-to-act=slow\nzoom=150\nspeech=on\n", "", "", "zoom=150\nspeech=on\n", 1},
        {"zoom=150\n", "Permission denied", "", "", 1},
        {"zoom=150\n", "", "Read-only file system", "zoom=150\n", 1},
    };
    for (const auto& c : cases) {
        FakeDisk disk;
        disk.file = c.file;
        disk.readError = c.readError;
        disk.writeError = c.writeError;
        std::FILE* errors = std::tmpfile();
        SettingsFile settings(std::filesystem::path("/config/tarnwick"), disk, errors);
        Settings loaded = settings.Load();
        EXPECT_EQ(FormatSettings(loaded), c.loaded) << c.loaded;
        EXPECT_EQ(disk.writes, 0) << c.loaded << ": nothing is written until a setting changes";
        loaded.zoomPercent = 67;
        settings.Save(loaded);
        settings.Save(loaded);
        EXPECT_EQ(LinesSaid(errors), c.said) << c.loaded;
        if (*c.readError == '\0' && *c.writeError == '\0') {
            EXPECT_EQ(FormatSettings(settings.Load()), FormatSettings(loaded)) << "read back";
        }
        std::fclose(errors);
    }
    FakeDisk disk;  // with no folder known, nothing is written anywhere, and that is said once
    std::FILE* errors = std::tmpfile();
    SettingsFile homeless(std::nullopt, disk, errors);
    homeless.Save(Settings{});
    homeless.Save(Settings{});
    EXPECT_EQ(disk.writes, 0);
    EXPECT_EQ(LinesSaid(errors), 1);
    std::fclose(errors);
}

TEST(SettingsSaver, WritesTheLastOfABurstOnceAndWhatWaitsAtTheEnd) {
    for (const std::vector<int>& zooms : {std::vector<int>{110, 125, 150, 175}, {}}) {
        FakeDisk disk;
        SettingsFile file(std::filesystem::path("/config/tarnwick"), disk, stderr);
        {
            SettingsSaver saver(file, std::chrono::hours(1));
            for (const int zoom : zooms) saver.Save(Settings{zoom, {}, {}});
        }
        EXPECT_EQ(disk.writes, zooms.empty() ? 0 : 1);
        EXPECT_EQ(disk.file.value_or(""), zooms.empty() ? "" : "zoom=175\n");
    }
}

// The quiet time counts from the latest save of a burst.
TEST(SettingsSaver, WritesOnceTheQuietTimeHasPassedSinceTheLatestSave) {
    FakeDisk disk;
    SettingsFile file(std::filesystem::path("/config/tarnwick"), disk, stderr);
    const auto clock = std::make_shared<FakeClock>();
    SettingsSaver saver(file, std::chrono::milliseconds(500), clock);
    saver.Save(Settings{110, {}, {}});
    clock->Advance(std::chrono::milliseconds(400));
    saver.Save(Settings{125, {}, {}});
    clock->Advance(std::chrono::milliseconds(400));
    EXPECT_EQ(disk.writes, 0) << "400 ms after the latest save";
    clock->Advance(std::chrono::milliseconds(100));
    EXPECT_EQ(disk.writes, 1);
    EXPECT_EQ(disk.file.value_or(""), "zoom=125\n");
}

TEST(SettingsFolder, IsTheDesktopsPlaceForSettingsAndNeverRelative) {
    const struct {
        const char* xdgConfigHome;
        const char* home;
        const char* folder;  // "" for none
    } cases[] = {
        {"/x/config", "/home/p", "/x/config/tarnwick"},
        {nullptr, "/home/p", "/home/p/.config/tarnwick"},
        {"relative", "/home/p", "/home/p/.config/tarnwick"},
        {"", "also-relative", ""},
        {nullptr, nullptr, ""},
    };
    for (const auto& c : cases) {
        const std::optional<std::filesystem::path> folder = SettingsFolder(c.xdgConfigHome, c.home);
        EXPECT_EQ(folder ? folder->string() : "", c.folder) << c.folder;
    }
}
