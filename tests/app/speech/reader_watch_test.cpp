// How the window learns that a screen reader runs: the rules on AT-SPI's status, and the watch
// itself on a private session bus, where the test plays AT-SPI's bus.

#include <gtest/gtest.h>

#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>

#include "app/speech/reader_status_linux.h"
#include "app/speech/speech_service.h"

namespace {

const std::filesystem::path kScratch =
    std::filesystem::temp_directory_path() / "tarnwick-reader-watch";

void WriteFile(const std::filesystem::path& file, const std::string& text) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file) << text;
}

TEST(ReaderStatus, OnlyTheDesktopsReaderOrOrcaIsAScreenReader) {
    for (const char* address : {"", "autolaunch:", "unix:path=/run/bus;autolaunch:"}) {
        EXPECT_FALSE(SessionBusToAsk(address)) << address;
    }
    EXPECT_FALSE(SessionBusToAsk(nullptr));
    EXPECT_EQ(SessionBusToAsk("unix:path=/run/bus").value_or(""), "unix:path=/run/bus");
    std::filesystem::remove_all(kScratch);
    WriteFile(kScratch / "41" / "comm", "bash\n");  // this user's processes
    const struct {
        const char* status;
        bool orca, runs;
    } cases[] = {
        {"{'IsEnabled': <true>}", false, false},  // a client that is no screen reader
        {"{'IsEnabled': <true>}", true, true},
        {"{'ScreenReaderEnabled': <true>, 'IsEnabled': <false>}", false, true},
    };
    for (const auto& c : cases) {
        std::filesystem::remove_all(kScratch / "42");
        if (c.orca) WriteFile(kScratch / "42" / "comm", "orca\n");
        ReaderStatus status;
        GVariant* values = g_variant_ref_sink(g_variant_new_parsed(c.status));
        status.Take(values);
        g_variant_unref(values);
        EXPECT_EQ(status.ReaderRuns(kScratch.c_str()), c.runs) << c.status << ", orca " << c.orca;
    }
    std::filesystem::remove_all(kScratch);
}

// The bus would start AT-SPI's for anyone who let it; later the desktop's reader starts.
TEST(ScreenReaderWatch, StartsNoServiceAndWakesTheGameWhenAReaderStarts) {
    std::filesystem::remove_all(kScratch);
    WriteFile(
        kScratch / "services" / "org.a11y.Bus.service",
        "[D-BUS Service]\nName=org.a11y.Bus\nExec=/bin/touch " + (kScratch / "started").string());
    GTestDBus* bus = g_test_dbus_new(G_TEST_DBUS_NONE);
    g_test_dbus_add_service_dir(bus, (kScratch / "services").c_str());
    g_test_dbus_up(bus);
    std::mutex mutex;
    std::condition_variable woken;
    int wakes = 0;
    const auto wokenTimes = [&](int times) {
        std::unique_lock<std::mutex> lock(mutex);
        return woken.wait_for(lock, std::chrono::seconds(30), [&] { return wakes >= times; });
    };
    auto watch = WatchScreenReader([&mutex, &woken, &wakes] {
        const std::lock_guard<std::mutex> lock(mutex);
        ++wakes;
        woken.notify_all();
    });
    ASSERT_TRUE(wokenTimes(1)) << "no first answer";
    EXPECT_EQ(watch->answer().Get(), false);
    EXPECT_FALSE(std::filesystem::exists(kScratch / "started")) << "asking started a service";

    GDBusConnection* service = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    g_variant_unref(g_dbus_connection_call_sync(
        service, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
        "RequestName", g_variant_new("(su)", "org.a11y.Bus", 0u), nullptr, G_DBUS_CALL_FLAGS_NONE,
        -1, nullptr, nullptr));
    g_dbus_connection_emit_signal(
        service, nullptr, "/org/a11y/bus", "org.freedesktop.DBus.Properties", "PropertiesChanged",
        g_variant_new_parsed("('org.a11y.Status', {'ScreenReaderEnabled': <true>}, @as [])"),
        nullptr);
    g_dbus_connection_flush_sync(service, nullptr, nullptr);
    EXPECT_TRUE(wokenTimes(2)) << "a reader that started did not wake the game";
    EXPECT_EQ(watch->answer().Get(), true);
    watch.reset();
    g_object_unref(service);
    g_test_dbus_down(bus);
    g_object_unref(bus);
    std::filesystem::remove_all(kScratch);
}

}  // namespace
