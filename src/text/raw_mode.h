#pragma once

#include <termios.h>

// Takes the terminal's line editing and echo over from the terminal driver while it is held,
// and gives the terminal back exactly as it was found, on a crash too. Signals stay on: Ctrl-C,
// Ctrl-Z and Ctrl-\ still reach the program as the player's settings have them. Bracketed
// paste is on while it is held, so that pasted text comes marked and is never taken for keys.
class RawMode {
public:
    // `outputFd` is where the terminal is told to turn bracketed paste on and off.
    explicit RawMode(int outputFd) : outputFd_(outputFd) {}
    ~RawMode() { Leave(); }

    RawMode(const RawMode&) = delete;
    RawMode& operator=(const RawMode&) = delete;

    // Switches `fd` over; the settings it had are kept from the first call on, so entering
    // again after a suspension comes back to the same mode. False when `fd` is no terminal.
    bool Enter(int fd);
    // Puts back the settings Enter found; nothing when not entered.
    void Leave();

private:
    int outputFd_;
    int fd_ = -1;
    bool entered_ = false;
    bool saved_ = false;
    termios original_{};
};
