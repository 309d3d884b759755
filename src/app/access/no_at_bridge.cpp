#include "app/access/no_at_bridge.h"

#include <cstdlib>

bool NoAtBridgeLeavesItOut(const char* value) {
    return value != nullptr && std::strtol(value, nullptr, 10) == 1;
}
