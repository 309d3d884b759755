// Whether a screen reader runs, from AT-SPI's status on the session bus, asked and followed on a
// thread of its own: a bus that accepts the connection and never answers holds only that thread.

#include <gio/gio.h>

#include <chrono>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

#include "app/platform/owned_thread.h"
#include "app/speech/reader_status_linux.h"
#include "app/speech/speech_service.h"

namespace {

constexpr int kCallTimeoutMilliseconds = 500;
// How often, while some assistive tool uses AT-SPI, the processes are looked through for Orca.
constexpr unsigned kOrcaRecheckSeconds = 2;
constexpr std::chrono::milliseconds kExitWait{300};
constexpr const char* kBusName = "org.a11y.Bus";
constexpr const char* kBusPath = "/org/a11y/bus";
constexpr const char* kStatus = "org.a11y.Status";
constexpr const char* kProperties = "org.freedesktop.DBus.Properties";

// What the watch and its thread share; it outlives the watch when the thread is let go.
struct Shared {
    Shared() = default;
    Shared(const Shared&) = delete;
    Shared& operator=(const Shared&) = delete;
    ~Shared() {
        g_object_unref(cancel);
        g_main_loop_unref(loop);
        g_main_context_unref(context);
    }

    ReaderAnswer answer;
    std::function<void()> wake;
    std::mutex mutex;
    bool stopped = false;                          // the watch is gone: nobody is to be woken
    GMainContext* context = g_main_context_new();  // the thread's, for the bus's signals
    GMainLoop* loop = g_main_loop_new(context, FALSE);
    GCancellable* cancel = g_cancellable_new();
};

// What the thread knows of the desktop.
struct Status {
    Shared& shared;
    ReaderStatus reader;
    std::optional<bool> told;
};

void Tell(Status& status) {
    const bool running = status.reader.ReaderRuns("/proc");
    if (status.told == running) return;
    status.told = running;
    status.shared.answer.Set(running);
    const std::lock_guard<std::mutex> lock(status.shared.mutex);
    if (!status.shared.stopped) status.shared.wake();
}

void StatusChanged(GDBusConnection*, const char*, const char*, const char*, const char*,
                   GVariant* parameters, gpointer data) {
    Status& status = *static_cast<Status*>(data);
    if (!g_variant_is_of_type(parameters, G_VARIANT_TYPE("(sa{sv}as)"))) return;
    GVariant* values = g_variant_get_child_value(parameters, 1);
    status.reader.Take(values);
    g_variant_unref(values);
    Tell(status);
}

gboolean Recheck(gpointer data) {
    Tell(*static_cast<Status*>(data));
    return G_SOURCE_CONTINUE;
}

// The session bus named by the environment, never one started to answer.
GDBusConnection* SessionBus(GCancellable* cancel) {
    const std::optional<std::string> address =
        SessionBusToAsk(std::getenv("DBUS_SESSION_BUS_ADDRESS"));
    if (!address) return nullptr;
    const auto flags =
        static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                          G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION);
    return g_dbus_connection_new_for_address_sync(address->c_str(), flags, nullptr, cancel,
                                                  nullptr);
}

// The thread: asks AT-SPI's status, then follows its changes until the watch ends.
void Watch(Shared& shared) {
    g_main_context_push_thread_default(shared.context);
    Status status{shared, {}, std::nullopt};
    GDBusConnection* bus = SessionBus(shared.cancel);
    if (bus == nullptr) {
        Tell(status);
        g_main_context_pop_thread_default(shared.context);
        return;
    }
    const guint subscription = g_dbus_connection_signal_subscribe(
        bus, kBusName, kProperties, "PropertiesChanged", kBusPath, kStatus,
        G_DBUS_SIGNAL_FLAGS_NONE, StatusChanged, &status, nullptr);
    GVariant* reply = g_dbus_connection_call_sync(
        bus, kBusName, kBusPath, kProperties, "GetAll", g_variant_new("(s)", kStatus),
        G_VARIANT_TYPE("(a{sv})"), G_DBUS_CALL_FLAGS_NO_AUTO_START, kCallTimeoutMilliseconds,
        shared.cancel, nullptr);
    if (reply != nullptr) {
        GVariant* values = g_variant_get_child_value(reply, 0);
        status.reader.Take(values);
        g_variant_unref(values);
        g_variant_unref(reply);
    }
    Tell(status);
    GSource* recheck = g_timeout_source_new_seconds(kOrcaRecheckSeconds);
    g_source_set_callback(recheck, Recheck, &status, nullptr);
    g_source_attach(recheck, shared.context);
    g_main_loop_run(shared.loop);
    g_source_destroy(recheck);
    g_source_unref(recheck);
    g_dbus_connection_signal_unsubscribe(bus, subscription);
    g_object_unref(bus);
    g_main_context_pop_thread_default(shared.context);
}

class LinuxReaderWatch : public ScreenReaderWatch {
public:
    explicit LinuxReaderWatch(std::function<void()> wake) {
        shared_->wake = std::move(wake);
        thread_.Start([shared = shared_] { Watch(*shared); });
    }

    // The thread is asked to end, and waited for at most kExitWait: a bus that never answers
    // keeps it, and must not keep the game from closing.
    ~LinuxReaderWatch() override {
        {
            const std::lock_guard<std::mutex> lock(shared_->mutex);
            shared_->stopped = true;
        }
        g_cancellable_cancel(shared_->cancel);
        GSource* quit = g_idle_source_new();
        g_source_set_callback(
            quit,
            [](gpointer loop) {
                g_main_loop_quit(static_cast<GMainLoop*>(loop));
                return G_SOURCE_REMOVE;
            },
            shared_->loop, nullptr);
        g_source_attach(quit, shared_->context);
        g_source_unref(quit);
        thread_.End(kExitWait);
    }

    const ReaderAnswer& answer() const override { return shared_->answer; }

private:
    std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
    OwnedThread thread_;
};

}  // namespace

std::unique_ptr<ScreenReaderWatch> WatchScreenReader(std::function<void()> wake) {
    return std::make_unique<LinuxReaderWatch>(std::move(wake));
}
