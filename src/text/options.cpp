#include "text/options.h"

#include <cmath>
#include <cstdlib>

namespace {

// Slower than a hundredth makes every timer wait for hours; faster than a thousand times
// makes the clock jump past whole scenes between two frames.
constexpr double kSlowestPace = 0.01;
constexpr double kFastestPace = 1000.0;

bool ParsePace(const std::string& text, double& pace) {
    if (text.empty()) return false;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (*end != '\0' || !std::isfinite(value)) return false;
    if (value < kSlowestPace || value > kFastestPace) return false;
    pace = value;
    return true;
}

}  // namespace

bool ParseOptions(const std::vector<std::string>& args, Options& options, std::string& error) {
    bool paceGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::string value;
        bool hasValue = false;
        const std::size_t equals = name.find('=');
        if (name.rfind("--", 0) == 0 && equals != std::string::npos) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
            hasValue = true;
        }

        if (name == "--help" || name == "-h") {
            options.help = true;
            continue;
        }
        if (name == "--markup" && !hasValue) {
            options.markup = true;
            continue;
        }
        if (name == "--plain" && !hasValue) {
            options.plain = true;
            continue;
        }
        if (name == "--version") {
            options.version = true;
            continue;
        }
        if (name != "--pace" && name != "--time-to-act" && name != "--script" &&
            name != "--transcript") {
            error = "unknown option '" + args[i] + "'";
            return false;
        }
        if (!hasValue) {
            if (i + 1 == args.size()) {
                error = name + " needs a value";
                return false;
            }
            value = args[++i];
        }
        if (name == "--pace") {
            if (!ParsePace(value, options.pace)) {
                error = "--pace takes a number from 0.01 to 1000, not '" + value + "'";
                return false;
            }
            paceGiven = true;
        } else if (name == "--time-to-act") {
            // A wrong step costs the player no game: it is said, and the game plays as written.
            const std::optional<TimeToAct> step = ParseTimeToAct(value);
            options.timeToAct = step.value_or(TimeToAct::kNormal);
            if (!step) {
                options.notice = "--time-to-act takes " + std::string(kTimeToActNames) + ", not '" +
                                 value + "'; playing at normal";
            }
        } else if (value.empty()) {
            error = name + " needs a file name";
            return false;
        } else if (name == "--script") {
            options.scriptPath = value;
        } else {
            options.transcriptPath = value;
        }
    }
    if (paceGiven && !options.scriptPath.empty()) {
        error = "--pace is for interactive play; a script's clock is its own";
        return false;
    }
    if (options.plain && !options.scriptPath.empty()) {
        error = "--plain is for interactive play; a script prints its transcript as it is";
        return false;
    }
    return true;
}
