// How long the terminal's loop reads input before each frame.

#include "text/input_wait.h"

#include <gtest/gtest.h>

#include "session/wake.h"

TEST(InputWait, ReadsWithoutWaitingWhileTypedLinesWaitForTheirFrames) {
    const std::optional<double> none;  // lines waiting, game change, input's wake: milliseconds
    EXPECT_EQ(InputWaitMillis(0, wake::kNever, none), -1);  // only a key changes anything
    EXPECT_EQ(InputWaitMillis(0, 0.5, 0.05), 50);           // an Escape's wait, before the game's
    EXPECT_EQ(InputWaitMillis(3, wake::kNever, none), 0);   // a paste's lines, with no key more
    EXPECT_FALSE(InputWaitMillis(kMaxPendingLines, 0.0, 0.0));  // unread till played
}
