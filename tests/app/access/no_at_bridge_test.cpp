// NO_AT_BRIDGE's values as AT-SPI's bridge reads them (strtol, then 1 or not), so that the
// game's voice steps aside exactly when a screen reader can find the window's tree.

#include "app/access/no_at_bridge.h"

#include <gtest/gtest.h>

TEST(NoAtBridge, LeavesTheBridgeOutOnlyForOne) {
    for (const char* out : {"1", "01", " 1", "1x"}) EXPECT_TRUE(NoAtBridgeLeavesItOut(out)) << out;
    for (const char* in : {"0", "", "yes", "2"}) EXPECT_FALSE(NoAtBridgeLeavesItOut(in)) << in;
    EXPECT_FALSE(NoAtBridgeLeavesItOut(nullptr));
}
