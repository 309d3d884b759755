#include "app/startup/data_files.h"

const char* const kInstalledDataFolder = "../share/games/tarnwick";
