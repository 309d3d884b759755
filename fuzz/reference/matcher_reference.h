#pragma once

// Plain computations of the phrase matcher's rules, written independently of src/engine, for
// the fuzz targets to compare against.

#include <algorithm>
#include <string>
#include <vector>

// The references are not what is fuzzed: their comparisons do not steer the fuzzer.
#if defined(__clang__)
#define REFERENCE_NOT_STEERING __attribute__((no_sanitize("coverage")))
#else
#define REFERENCE_NOT_STEERING
#endif

namespace reference {

// Edit distance by the textbook table, rows over `a` and columns over `b`: insertions,
// deletions and substitutions cost 1, and so does a swap of two adjacent bytes, except a swap
// that involves the first byte of either string.
REFERENCE_NOT_STEERING inline int PlainEditDistance(const std::string& a, const std::string& b) {
    const std::size_t columns = b.size() + 1;
    std::vector<int> d((a.size() + 1) * columns);
    for (std::size_t i = 0; i <= a.size(); ++i) d[i * columns] = static_cast<int>(i);
    for (std::size_t j = 0; j <= b.size(); ++j) d[j] = static_cast<int>(j);
    for (std::size_t i = 1; i <= a.size(); ++i) {
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t here = i * columns + j;
            int best = std::min(d[here - columns], d[here - 1]) + 1;
            best = std::min(best, d[here - columns - 1] + (a[i - 1] == b[j - 1] ? 0 : 1));
            const bool swapped = i >= 3 && j >= 3 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1];
            if (swapped) best = std::min(best, d[here - 2 * columns - 2] + 1);
            d[here] = best;
        }
    }
    return d.back();
}

struct PlainMatch {
    bool accepted = false;
    std::size_t action = 0;
    std::string argument;
};

REFERENCE_NOT_STEERING inline std::string LowerAsciiOnly(std::string text) {
    for (char& byte : text) {
        if (byte >= 'A' && byte <= 'Z') byte = static_cast<char>(byte + ('a' - 'A'));
    }
    return text;
}

// The best phrase scores 2 * length - 3 * distance against as many leading bytes of the
// lower-cased line, the first of equals winning and a score of 0 or less never counting; it is
// accepted within two edits. The argument runs from the first space at or after the byte
// before the phrase's end.
REFERENCE_NOT_STEERING inline PlainMatch PlainTryAction(
    const std::vector<std::vector<std::string>>& actions, const std::string& typed) {
    const std::string line = LowerAsciiOnly(typed);
    PlainMatch match;
    int bestScore = 0;
    int bestDistance = 0;
    std::size_t bestLength = 0;
    for (std::size_t action = 0; action < actions.size(); ++action) {
        for (const std::string& phrase : actions[action]) {
            const int distance = PlainEditDistance(phrase, line.substr(0, phrase.size()));
            const int score = 2 * static_cast<int>(phrase.size()) - 3 * distance;
            if (score <= bestScore) continue;
            bestScore = score;
            bestDistance = distance;
            bestLength = phrase.size();
            match.action = action;
            match.accepted = true;
        }
    }
    if (!match.accepted || bestDistance > 2) return PlainMatch{};
    if (bestLength - 1 < line.size()) {
        const std::size_t space = line.find(' ', bestLength - 1);
        if (space != std::string::npos) match.argument = line.substr(space);
    }
    return match;
}

}  // namespace reference
