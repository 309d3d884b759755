// How long the terminal's loop reads input before each frame.

#include "text/input_wait.h"

#include <gtest/gtest.h>

TEST(InputWait, ReadsWithoutWaitingWhileTypedLinesWaitForTheirFrames) {
    const std::optional<double> none;  // lines waiting, game change, input's wake: milliseconds
    EXPECT_EQ(InputWaitMillis(0, none, 10.0, none), -1);  // only a key changes anything
    EXPECT_EQ(InputWaitMillis(0, 5.0, 10.0, 0.05), 50);   // an Escape's wait, before the game's
    EXPECT_EQ(InputWaitMillis(3, none, 10.0, none), 0);   // a paste's lines, with no key more
    EXPECT_FALSE(InputWaitMillis(kMaxPendingLines, 0.0, 10.0, 0.0));  // unread till played
}
