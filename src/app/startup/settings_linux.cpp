#include "app/startup/settings.h"

#include <cstdlib>

std::optional<std::filesystem::path> SettingsFolder() {
    return SettingsFolder(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
}
