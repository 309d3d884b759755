#include <gtest/gtest.h>

#include "support/headless_driver.h"

TEST(ConsoleWindow, Smoke) {
    HeadlessDriver driver([](Game& game, Console&) {
        game.SetScenes({Scene([] {}, [] {})});
    });
    EXPECT_EQ(driver.Type("hello"), "hello");
    EXPECT_EQ(driver.Type("again"), "again");
    EXPECT_EQ(driver.Type("third"), "third");
    printf("%s\n", driver.Log().c_str());
}
