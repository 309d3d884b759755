#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>

// Where interactive play gets the player's lines from: standard input read as it comes, or
// the program's own line editor at a terminal.
class TypedInput {
public:
    virtual ~TypedInput() = default;

    // Waits up to `timeoutMillis` for input and takes what has arrived. False once input has
    // ended; lines taken before stay to be collected.
    virtual bool Read(int timeoutMillis) = 0;
    virtual bool HasLine() const = 0;
    virtual std::size_t Pending() const = 0;
    virtual std::string Next() = 0;
    // Seconds from `now` until the input needs a wait to end though nothing comes (to end an
    // unfinished key sequence or paste); none when only input matters.
    virtual std::optional<double> SecondsToNextWake(
        [[maybe_unused]] std::chrono::steady_clock::time_point now) const {
        return std::nullopt;
    }

    // After each frame: the game has shown what it had to show.
    virtual void FrameShown() {}
    // Play is over: leaves the terminal as it was found.
    virtual void Close() {}
    // The terminal already shows each line as it is typed.
    virtual bool EchoesTyping() const = 0;
};
