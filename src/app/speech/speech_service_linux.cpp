// Speech through Speech Dispatcher, the service Orca speaks through, and the screen reader's
// state from AT-SPI over the session bus.

#include "app/speech/speech_service.h"

#include <gio/gio.h>
#include <libspeechd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>

#include "app/speech/speech_requests.h"

namespace {

constexpr int kBusTimeoutMilliseconds = 500;

// Shared with the thread, which may outlive the sink.
using Requests = SpeechRequests<std::string>;

void GiveUp(Requests& requests, const char* why) {
    std::fprintf(stderr, "tarnwick: no speech: %s\n", why);
    requests.GiveUp();
}

// The speech thread: it sleeps until asked, and makes every call to the service.
void SpeakRequests(Requests& requests) {
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
        const Requests::Request request = requests.Next();
        if (request.stop) break;
        if ((request.cancel && spd_cancel(connection) != 0) ||
            (!request.text.empty() && spd_say(connection, SPD_TEXT, request.text.c_str()) < 0)) {
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
    ~SpeechDispatcherSink() override { requests_->Stop(); }

    void Speak(const std::string& text) override {
        if (requests_->Add(text)) Start();
    }

    void Cancel() override {
        if (started_) requests_->Cancel();
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

    std::shared_ptr<Requests> requests_ = std::make_shared<Requests>();
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

void AttachSpeechToWindow(GLFWwindow*) {}

void ShowTextToScreenReader(const std::string&, const std::string&) {}

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
