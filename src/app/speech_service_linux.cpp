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

// What the game asks of the speech thread. Shared with the thread, which may outlive the sink.
struct SpeechRequests {
    std::mutex mutex;
    std::condition_variable asked;
    std::deque<std::string> texts;
    bool cancel = false;
    bool stopping = false;
    bool gone = false;  // no service: every request is dropped
};

void GiveUp(SpeechRequests& requests, const char* why) {
    std::fprintf(stderr, "tarnwick: no speech: %s\n", why);
    const std::lock_guard<std::mutex> lock(requests.mutex);
    requests.gone = true;
    requests.texts.clear();
}

// The speech thread: it sleeps until asked, and makes every call to the service.
void SpeakRequests(SpeechRequests& requests) {
    char* error = nullptr;
    // No address: libspeechd takes SPEECHD_ADDRESS, else the desktop's usual socket. No
    // autospawn: a service of the game's own would not be the player's.
    SPDConnection* connection =
        spd_open2("tarnwick", "main", nullptr, SPD_MODE_SINGLE, nullptr, 0, &error);
    if (connection == nullptr) {
        GiveUp(requests, error != nullptr ? error : "cannot reach Speech Dispatcher");
        std::free(error);
        return;
    }
    while (true) {
        std::unique_lock<std::mutex> lock(requests.mutex);
        requests.asked.wait(lock, [&requests] {
            return requests.stopping || requests.cancel || !requests.texts.empty();
        });
        if (requests.stopping) break;
        const bool cancel = std::exchange(requests.cancel, false);
        std::string text;
        if (!requests.texts.empty()) {
            text = std::move(requests.texts.front());
            requests.texts.pop_front();
        }
        lock.unlock();
        if ((cancel && spd_cancel(connection) != 0) ||
            (!text.empty() && spd_say(connection, SPD_TEXT, text.c_str()) < 0)) {
            GiveUp(requests, "Speech Dispatcher stopped answering");
            break;
        }
    }
    spd_close(connection);
}

// libspeechd waits for the service's answer on every call, so the calls are made on a thread
// of their own. It is never waited for: a service that stopped answering keeps it, and must
// not keep the game from closing.
class SpeechDispatcherSink : public SpeechSink {
public:
    ~SpeechDispatcherSink() override {
        {
            const std::lock_guard<std::mutex> lock(requests_->mutex);
            requests_->stopping = true;
        }
        requests_->asked.notify_one();
    }

    void Speak(const std::string& text) override {
        {
            const std::lock_guard<std::mutex> lock(requests_->mutex);
            if (requests_->gone) return;
            if (requests_->texts.size() == kMostQueued) requests_->texts.pop_front();
            requests_->texts.push_back(text);
        }
        Start();
        requests_->asked.notify_one();
    }

    void Cancel() override {
        {
            const std::lock_guard<std::mutex> lock(requests_->mutex);
            if (requests_->gone || !started_) return;
            requests_->texts.clear();
            requests_->cancel = true;
        }
        requests_->asked.notify_one();
    }

private:
    // Nothing is asked of the service before the first text.
    void Start() {
        if (started_) return;
        started_ = true;
        // A service that closes its socket must not end the game with the write after it.
        std::signal(SIGPIPE, SIG_IGN);
        std::thread([requests = requests_] { SpeakRequests(*requests); }).detach();
    }

    std::shared_ptr<SpeechRequests> requests_ = std::make_shared<SpeechRequests>();
    bool started_ = false;
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
