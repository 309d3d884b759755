#pragma once

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

// What differs between the systems the window program runs on. File names are UTF-8 strings
// throughout the program; on Windows they become UTF-16 at every call that names a file, which
// std::filesystem paths made by PathFromUtf8 do.

// The program's arguments after its own name, in UTF-8.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// The path of this program's file; empty when it is not known.
std::string ProgramPath();

// Gets the process ready before anything is printed or waited for. On Linux, a write to a
// socket whose other end closed fails instead of ending the process. On Windows, where the game is
// a GUI program that starts without a console, standard output and error go to the console of
// the program that started it, if any and if they lead nowhere else, and waits end within a
// millisecond of their time instead of at the system's next 15.6 ms tick: the timer's period
// is asked of `askTimerPeriod` (timeBeginPeriod unless a test records the call instead).
using TimerPeriodRequest = unsigned (*)(unsigned milliseconds);
void SetUpProcess(TimerPeriodRequest askTimerPeriod = nullptr);

inline std::filesystem::path PathFromUtf8(const std::string& name) {
    return std::filesystem::u8path(name);
}

inline std::string Utf8FromPath(const std::filesystem::path& path) {
    return path.u8string();
}

// The working directory; empty when it is not known.
inline std::string WorkingDirectory() {
    std::error_code error;
    const std::filesystem::path path = std::filesystem::current_path(error);
    return error ? "" : Utf8FromPath(path);
}
