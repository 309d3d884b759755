// Speech through Speech Dispatcher, the service Orca speaks through, and the screen reader's
// state from AT-SPI over the session bus.

#include "app/speech_service.h"

#include <gio/gio.h>
#include <libspeechd.h>

#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

namespace {

// Texts waiting beyond this are dropped, oldest first: the player wants what is new.
constexpr std::size_t kMostQueued = 32;
constexpr int kBusTimeoutMilliseconds = 500;

// libspeechd waits for the service's answer on every call, so the calls are made on a thread
// that only this sink wakes: it sleeps while nothing is asked of it.
class SpeechDispatcherSink : public SpeechSink {
public:
    ~SpeechDispatcherSink() override {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
        }
        asked_.notify_one();
        if (thread_.joinable()) thread_.join();
    }

    void Speak(const std::string& text) override {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            if (gone_) return;
            if (queue_.size() == kMostQueued) queue_.pop_front();
            queue_.push_back(text);
            if (!thread_.joinable()) Start();
        }
        asked_.notify_one();
    }

    void Cancel() override {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            if (gone_ || !thread_.joinable()) return;
            queue_.clear();
            cancel_ = true;
        }
        asked_.notify_one();
    }

private:
    void Start() {
        // A service that closes its socket must not end the game with the write after it.
        std::signal(SIGPIPE, SIG_IGN);
        thread_ = std::thread([this] { Run(); });
    }

    void Run() {
        char* error = nullptr;
        // No address: libspeechd takes SPEECHD_ADDRESS, else the desktop's usual socket. No
        // autospawn: a service of the game's own would not be the player's.
        SPDConnection* connection =
            spd_open2("tarnwick", "main", nullptr, SPD_MODE_SINGLE, nullptr, 0, &error);
        if (connection == nullptr) {
            GiveUp(error != nullptr ? error : "cannot reach Speech Dispatcher");
            std::free(error);
            return;
        }
        while (true) {
            std::unique_lock<std::mutex> lock(mutex_);
            asked_.wait(lock, [this] { return stopping_ || cancel_ || !queue_.empty(); });
            if (stopping_) break;
            const bool cancel = std::exchange(cancel_, false);
            std::string text;
            if (!queue_.empty()) {
                text = std::move(queue_.front());
                queue_.pop_front();
            }
            lock.unlock();
            if ((cancel && spd_cancel(connection) != 0) ||
                (!text.empty() && spd_say(connection, SPD_TEXT, text.c_str()) < 0)) {
                GiveUp("Speech Dispatcher stopped answering");
                break;
            }
        }
        spd_close(connection);
    }

    void GiveUp(const char* why) {
        std::fprintf(stderr, "tarnwick: no speech: %s\n", why);
        const std::lock_guard<std::mutex> lock(mutex_);
        gone_ = true;
        queue_.clear();
    }

    std::mutex mutex_;
    std::condition_variable asked_;
    std::deque<std::string> queue_;
    bool cancel_ = false;
    bool stopping_ = false;
    bool gone_ = false;  // no service: every request is dropped
    std::thread thread_;
};

// The session bus named by the environment, never one started to answer (autolaunch).
GDBusConnection* SessionBus() {
    const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    if (address == nullptr || *address == '\0' || std::strstr(address, "autolaunch:") != nullptr) {
        return nullptr;
    }
    const auto flags =
        static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                          G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION);
    return g_dbus_connection_new_for_address_sync(address, flags, nullptr, nullptr, nullptr);
}

}  // namespace

std::unique_ptr<SpeechSink> OpenSpeechService() {
    return std::make_unique<SpeechDispatcherSink>();
}

bool ScreenReaderRunning() {
    GDBusConnection* bus = SessionBus();
    if (bus == nullptr) return false;
    GVariant* reply = g_dbus_connection_call_sync(
        bus, "org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Get",
        g_variant_new("(ss)", "org.a11y.Status", "ScreenReaderEnabled"), G_VARIANT_TYPE("(v)"),
        G_DBUS_CALL_FLAGS_NO_AUTO_START, kBusTimeoutMilliseconds, nullptr, nullptr);
    bool enabled = false;
    if (reply != nullptr) {
        GVariant* value = nullptr;
        g_variant_get(reply, "(v)", &value);
        if (g_variant_is_of_type(value, G_VARIANT_TYPE_BOOLEAN)) {
            enabled = g_variant_get_boolean(value) != FALSE;
        }
        g_variant_unref(value);
        g_variant_unref(reply);
    }
    g_dbus_connection_close_sync(bus, nullptr, nullptr);
    g_object_unref(bus);
    return enabled;
}
