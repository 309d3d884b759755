#include "engine/edit_distance.h"

#include <algorithm>
#include <vector>

int EditDistance(const std::string& a, const std::string& b) {
    const std::size_t n = a.size();
    const std::size_t m = b.size();
    if (n == 0) return static_cast<int>(m);
    if (m == 0) return static_cast<int>(n);

    // Row j holds the distances from the first j bytes of b; column i, the first i bytes of a.
    const std::size_t columns = n + 1;
    std::vector<int> table((m + 1) * columns);
    auto at = [&table, columns](std::size_t j, std::size_t i) -> int& {
        return table[j * columns + i];
    };
    for (std::size_t i = 0; i <= n; ++i) at(0, i) = static_cast<int>(i);
    for (std::size_t j = 0; j <= m; ++j) at(j, 0) = static_cast<int>(j);

    for (std::size_t i = 1; i <= n; ++i) {
        for (std::size_t j = 1; j <= m; ++j) {
            const int substitution = at(j - 1, i - 1) + (a[i - 1] == b[j - 1] ? 0 : 1);
            at(j, i) = std::min({at(j, i - 1) + 1, at(j - 1, i) + 1, substitution});
            if (i >= 3 && j >= 3 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
                at(j, i) = std::min(at(j, i), at(j - 2, i - 2) + 1);
            }
        }
    }
    return at(m, n);
}
