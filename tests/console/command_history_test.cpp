// Recalling earlier commands, as every front end's input line does with the arrow keys.

#include "console/command_history.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using Recalled = std::optional<std::string>;

TEST(CommandHistory, BrowsesBackAndForthAndGivesTheDraftBack) {
    CommandHistory history;
    EXPECT_EQ(history.Older("typed"), std::nullopt);  // nothing entered yet
    for (const char* line : {"look around", "", "open drawer", "open drawer", "take key"}) {
        history.Add(line);
    }
    EXPECT_EQ(history.size(), 3u);  // the empty line and the repeat are not kept

    EXPECT_EQ(history.Newer(), std::nullopt);  // not browsing: the field keeps what it has
    EXPECT_EQ(history.Older("half typ"), Recalled("take key"));
    EXPECT_EQ(history.Older("take key"), Recalled("open drawer"));
    EXPECT_EQ(history.Older("open drawer"), Recalled("look around"));
    EXPECT_EQ(history.Older("look around"), std::nullopt);  // the oldest stays shown
    EXPECT_EQ(history.Newer(), Recalled("open drawer"));
    EXPECT_EQ(history.Newer(), Recalled("take key"));
    EXPECT_EQ(history.Newer(), Recalled("half typ"));
    EXPECT_EQ(history.Newer(), std::nullopt);

    // Submitting ends browsing: the next Up starts from the newest line again.
    EXPECT_EQ(history.Older(""), Recalled("take key"));
    history.Add("take key");
    EXPECT_EQ(history.size(), 3u);
    EXPECT_EQ(history.Older(""), Recalled("take key"));
}

TEST(CommandHistory, ForgetsTheOldestPastItsLimit) {
    CommandHistory history;
    const std::size_t entered = CommandHistory::kMaxEntries + 5;
    for (std::size_t i = 0; i < entered; ++i) history.Add("line " + std::to_string(i));
    EXPECT_EQ(history.size(), CommandHistory::kMaxEntries);
    Recalled oldest;
    for (Recalled line = history.Older(""); line; line = history.Older(*line)) oldest = line;
    EXPECT_EQ(oldest, Recalled("line 5"));
}

}  // namespace
