#include "text/script.h"

#include <cstdlib>

#include "session/input_line.h"

namespace {

constexpr std::string_view kWaitWord = "wait";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// Digits with at most one decimal point: "2", "2.5", ".5". No signs, exponents or names.
bool IsDecimal(std::string_view s) {
    bool digit = false;
    bool point = false;
    for (char c : s) {
        if (c >= '0' && c <= '9') {
            digit = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digit;
}

// Parses the rest of a "wait" line; an empty string on success, else what is wrong.
std::string ParseWait(std::string_view argument, double& seconds) {
    argument = TrimBlanks(argument);
    if (!IsDecimal(argument)) return "wait takes a number of seconds, such as 'wait 2.5'";
    seconds = std::strtod(std::string(argument).c_str(), nullptr);
    if (seconds > kMaxWaitSeconds) return "wait takes at most 3600 seconds";
    return {};
}

}  // namespace

Script ParseScript(std::string_view text) {
    Script script;
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t newline = text.find('\n');
        std::string_view line = text.substr(0, newline);
        text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

        while (!line.empty() && IsBlank(line.front())) line.remove_prefix(1);
        if (TrimBlanks(line).empty() || line.front() == '#') continue;

        if (line.front() == '>') {
            line.remove_prefix(1);
            if (!line.empty() && line.front() == ' ') line.remove_prefix(1);
            script.steps.push_back({ScriptStep::Kind::Type, CleanInputLine(line), 0, lineNumber});
            continue;
        }

        const bool isWait = line.substr(0, kWaitWord.size()) == kWaitWord &&
                            (line.size() == kWaitWord.size() || IsBlank(line[kWaitWord.size()]));
        std::string problem = "expected '> command', 'wait SECONDS' or '# comment'";
        if (isWait) {
            double seconds = 0;
            problem = ParseWait(line.substr(kWaitWord.size()), seconds);
            if (problem.empty()) {
                script.steps.push_back({ScriptStep::Kind::Wait, {}, seconds, lineNumber});
                continue;
            }
        }
        script.errorLine = lineNumber;
        script.error = problem;
        script.steps.clear();
        return script;
    }
    return script;
}
