#pragma once

#include <string>

// Byte-wise restricted Damerau-Levenshtein distance. A swap of adjacent bytes costs 1 except
// for the first two bytes of either string, whose swap costs 2 (a deletion and an insertion).
int EditDistance(const std::string& a, const std::string& b);
