#include "app/platform/platform_windows.h"
#include "app/platform/platform.h"

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// After windows.h, which they need.
#include <mmsystem.h>
#include <shellapi.h>

#include "console/utf8.h"

#include <cstdio>

namespace {

// The longest path Windows names.
constexpr DWORD kLongestPath = 32768;

std::string Utf8(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return "";
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, result.data(), size, nullptr, nullptr);
    result.pop_back();
    return result;
}

// Whether a standard handle leads somewhere: a console, a file or a pipe the program was given.
bool Leads(DWORD which) {
    const HANDLE handle = GetStdHandle(which);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
           GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

}  // namespace

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    // The narrow arguments are in the ANSI code page, which cannot hold every name.
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) return std::vector<std::string>(argv + 1, argv + argc);
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i) arguments.push_back(Utf8(wide[i]));
    LocalFree(wide);
    return arguments;
}

std::wstring WideFromUtf8(const std::string& text) {
    // The program's own decoder, so that a broken byte reads the same here as everywhere.
    const std::u16string wide = Utf16FromUtf8(text);
    return std::wstring(wide.begin(), wide.end());
}

bool ScreenReaderRunning() {
    BOOL running = FALSE;
    return SystemParametersInfoW(SPI_GETSCREENREADER, 0, &running, 0) && running;
}

std::string ProgramPath() {
    // GetModuleFileNameW cuts the path to the buffer and says nothing more: grow until it fits.
    for (DWORD size = MAX_PATH; size <= kLongestPath; size *= 2) {
        std::wstring buffer(size, L'\0');
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), size);
        if (length == 0) return "";
        if (length < size) return Utf8(buffer.c_str());
    }
    return "";
}

void SetUpProcess(TimerPeriodRequest askTimerPeriod) {
    const bool output = Leads(STD_OUTPUT_HANDLE);
    const bool error = Leads(STD_ERROR_HANDLE);
    if ((!output || !error) && AttachConsole(ATTACH_PARENT_PROCESS)) {
        if (!output) std::freopen("CONOUT$", "w", stdout);
        if (!error) std::freopen("CONOUT$", "w", stderr);
    }
    if (askTimerPeriod == nullptr) {
        askTimerPeriod = [](unsigned milliseconds) -> unsigned {
            return timeBeginPeriod(milliseconds);
        };
    }
    askTimerPeriod(1);
}
