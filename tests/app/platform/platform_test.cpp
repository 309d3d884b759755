// How the Windows program sets its process up: waits that end within a millisecond.

#include "app/platform/platform.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<unsigned> periodsAsked;

TEST(SetUpProcess, AsksForMillisecondTimers) {
    SetUpProcess([](unsigned milliseconds) -> unsigned {
        periodsAsked.push_back(milliseconds);
        return 0;
    });
    EXPECT_EQ(periodsAsked, std::vector<unsigned>{1});
}

}  // namespace
