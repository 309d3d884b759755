#pragma once

#include <string>
#include <string_view>
#include <vector>

// One step of a play script.
struct ScriptStep {
    enum class Kind { Type, Wait };

    Kind kind = Kind::Type;
    std::string text;    // Type: the line typed, cleaned as the input field would hold it
    double seconds = 0;  // Wait: how long the clock runs on
    int lineNumber = 0;  // where the step stands in the script, from 1
};

struct Script {
    std::vector<ScriptStep> steps;
    int errorLine = 0;  // the first line that is none of the forms, or 0
    std::string error;  // what is wrong with it
};

// The longest single wait, so that a typing slip cannot make a script run for days.
inline constexpr double kMaxWaitSeconds = 3600.0;

// Reads a script of lines "> command", "wait SECONDS" and "# comment"; blank lines are
// skipped. One space after '>' is dropped, the rest of the line is typed as it stands.
Script ParseScript(std::string_view text);
