#pragma once

#include <cstddef>
#include <vector>

#include "console/markup.h"

// What changed in the log since the last look.
struct LogChange {
    bool cleared = false;   // the log was emptied in between
    std::size_t first = 0;  // index of the first new line; the new lines run to the end
};

// Finds the display lines added to a log that only grows, except when it is emptied.
class LogWatcher {
public:
    LogChange Take(const std::vector<ConsoleLine>& lines);

private:
    std::size_t seen_ = 0;
    ConsoleLine lastSeen_;  // kept to notice a log emptied and filled past its old length
};
