#pragma once

// What AT-SPI's status on the session bus says of the screen reader, apart from the thread that
// asks it (screen_reader_linux.cpp), so that each rule is tested without a desktop.

#include <gio/gio.h>

#include <optional>
#include <string>

// The session bus to ask, from DBUS_SESSION_BUS_ADDRESS's value: none when none is named, or
// when the address may start a bus to answer (autolaunch:, as any of its alternatives).
std::optional<std::string> SessionBusToAsk(const char* address);

// Whether a process of this user is named "orca" among `processes` (/proc). Orca 43 owns no name
// on the session bus; this is how it finds other copies of itself (pgrep -u UID -x orca).
bool OrcaRuns(const char* processes);

struct ReaderStatus {
    bool screenReaderEnabled = false;  // the desktop's setting: its reader runs with the session
    bool assistiveTools = false;       // IsEnabled: some tool uses AT-SPI, Orca started by hand too

    // Takes AT-SPI's status properties from `values`, an a{sv}.
    void Take(GVariant* values);
    // Whether a screen reader runs: the desktop's setting, or some tool on AT-SPI while Orca
    // runs among `processes`. Any other client (a magnifier, a test's) is no screen reader.
    bool ReaderRuns(const char* processes) const;
};
