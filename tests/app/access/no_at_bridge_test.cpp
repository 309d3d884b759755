// NO_AT_BRIDGE's values as AT-SPI's bridge reads them (strtol, then 1 or not), so that the
// game's voice steps aside exactly when a screen reader can find the window's tree.

#include "app/access/no_at_bridge.h"

#include <gtest/gtest.h>

TEST(NoAtBridge, LeavesTheBridgeOutOnlyForOne) {
    const struct {
        const char* value;
        bool leftOut;
    } cases[] = {
        {nullptr, false}, {"0", false}, {"", false},  {"yes", false}, {"2", false},
        {"1", true},      {"01", true}, {" 1", true}, {"1x", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NoAtBridgeLeavesItOut(c.value), c.leftOut) << (c.value ? c.value : "(unset)");
    }
}
