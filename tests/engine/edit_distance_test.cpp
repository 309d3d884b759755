#include "engine/edit_distance.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

// The distance computed the long way round: every prefix pair by recursion with memo, the
// same four operations, swaps allowed only past the first byte of each string.
class ReferenceDistance {
public:
    ReferenceDistance(const std::string& a, const std::string& b)
        : a_(a), b_(b), memo_((a.size() + 1) * (b.size() + 1), -1) {}

    int Compute() { return Between(a_.size(), b_.size()); }

private:
    int Between(std::size_t i, std::size_t j) {
        if (i == 0) return static_cast<int>(j);
        if (j == 0) return static_cast<int>(i);
        int& memo = memo_[i * (b_.size() + 1) + j];
        if (memo >= 0) return memo;
        int best = std::min(Between(i - 1, j) + 1, Between(i, j - 1) + 1);
        best = std::min(best, Between(i - 1, j - 1) + (a_[i - 1] == b_[j - 1] ? 0 : 1));
        if (i >= 3 && j >= 3 && a_[i - 1] == b_[j - 2] && a_[i - 2] == b_[j - 1]) {
            best = std::min(best, Between(i - 2, j - 2) + 1);
        }
        return memo = best;
    }

    const std::string& a_;
    const std::string& b_;
    std::vector<int> memo_;
};

std::string RandomBytes(std::mt19937& random, std::size_t maxLength, const std::string& alphabet) {
    std::uniform_int_distribution<std::size_t> length(0, maxLength);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::string text(length(random), '\0');
    for (char& byte : text) byte = alphabet[pick(random)];
    return text;
}

}  // namespace

TEST(EditDistance, KnownPairs) {
    const struct {
        std::string a, b;
        int distance;
    } cases[] = {
        {"", "", 0},
        {"", "abc", 3},
        {"abcd", "", 4},
        {"close", "close", 0},
        {"close", "lcose", 2},  // a swap of the first two bytes is not a swap
        {"close", "clsoe", 1},
        {"yes", "yse", 1},
        {"yes", "eys", 2},
        {"yes", "yel", 1},
        {"no", "n", 1},
        {" uhu", "uhu", 1},
        {"look around", "lok around", 1},
        {"look around", "look", 7},
        {"open left door", "open lft door ", 2},
        {"i understand", "i dont under", 9},
        {"walk to end of hallway", "walk to the end of hal", 8},
        {" red button", "red button", 1},
        {" the red button", "red button", 5},
        {" big red button", "button", 9},
        {"take key", "take the", 3},
        {"pickup key", "pick up ke", 2},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EditDistance(c.a, c.b), c.distance) << "'" << c.a << "' to '" << c.b << "'";
    }
}

TEST(EditDistance, AgreesWithAReferenceAndIsSymmetric) {
    std::mt19937 random(20261207);
    const std::string alphabets[] = {"ab", "abc ",
                                     std::string("\x00\x7F\x80\xFF"
                                                 "aA",
                                                 6)};
    for (const std::string& alphabet : alphabets) {
        for (int round = 0; round < 2000; ++round) {
            const std::string a = RandomBytes(random, 9, alphabet);
            const std::string b = RandomBytes(random, 9, alphabet);
            const int distance = EditDistance(a, b);
            EXPECT_EQ(distance, ReferenceDistance(a, b).Compute()) << a << " / " << b;
            EXPECT_EQ(distance, EditDistance(b, a)) << a << " / " << b;
            EXPECT_EQ(distance == 0, a == b) << a << " / " << b;
            EXPECT_GE(distance, 0);
            EXPECT_LE(distance, static_cast<int>(std::max(a.size(), b.size())));
            EXPECT_GE(distance, static_cast<int>(std::max(a.size(), b.size()) -
                                                 std::min(a.size(), b.size())));
        }
    }
}
