#include "app/startup/settings.h"

#include <cstdlib>

std::optional<std::filesystem::path> SettingsFolder() {
    const wchar_t* appData = _wgetenv(L"APPDATA");
    if (appData == nullptr || *appData == L'\0') return std::nullopt;
    const std::filesystem::path folder(appData);
    if (!folder.is_absolute()) return std::nullopt;
    return folder / "tarnwick";
}
