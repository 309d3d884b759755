#include "app/speech/reader_status_linux.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <fstream>

std::optional<std::string> SessionBusToAsk(const char* address) {
    if (address == nullptr || *address == '\0' || std::strstr(address, "autolaunch:") != nullptr) {
        return std::nullopt;
    }
    return address;
}

bool OrcaRuns(const char* processes) {
    DIR* folder = opendir(processes);
    if (folder == nullptr) return false;
    const uid_t user = getuid();
    bool found = false;
    for (const dirent* entry = readdir(folder); entry != nullptr && !found;
         entry = readdir(folder)) {
        if (entry->d_name[0] < '1' || entry->d_name[0] > '9') continue;
        const std::string process = std::string(processes) + "/" + entry->d_name;
        struct stat info = {};
        if (stat(process.c_str(), &info) != 0 || info.st_uid != user) continue;
        std::ifstream comm(process + "/comm");
        std::string name;
        found = std::getline(comm, name) && name == "orca";
    }
    closedir(folder);
    return found;
}

void ReaderStatus::Take(GVariant* values) {
    GVariantIter iter;
    g_variant_iter_init(&iter, values);
    const char* name = nullptr;
    GVariant* value = nullptr;
    while (g_variant_iter_loop(&iter, "{&sv}", &name, &value)) {
        if (!g_variant_is_of_type(value, G_VARIANT_TYPE_BOOLEAN)) continue;
        const bool on = g_variant_get_boolean(value) != FALSE;
        if (std::strcmp(name, "ScreenReaderEnabled") == 0) screenReaderEnabled = on;
        if (std::strcmp(name, "IsEnabled") == 0) assistiveTools = on;
    }
}

bool ReaderStatus::ReaderRuns(const char* processes) const {
    return screenReaderEnabled || (assistiveTools && OrcaRuns(processes));
}
