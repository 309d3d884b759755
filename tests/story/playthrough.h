#pragma once

// Helpers shared by the story's playthrough tests.

#include <gtest/gtest.h>

#include <string>

#include "story/story.h"
#include "support/headless_driver.h"

// How often `text` stands in the visible log.
inline int CountOf(const HeadlessDriver& driver, const std::string& text) {
    int count = 0;
    for (const std::string& line : driver.VisibleLines()) {
        for (std::size_t at = line.find(text); at != std::string::npos;
             at = line.find(text, at + 1)) {
            ++count;
        }
    }
    return count;
}

inline bool Shows(const HeadlessDriver& driver, const std::string& text) {
    return CountOf(driver, text) > 0;
}

// Plays the opening up to the red button.
inline void ReachRedButton(HeadlessDriver& driver) {
    driver.Type("i understand");
    driver.Type("yes");
    ASSERT_EQ(driver.game().currentScene, RedButton);
}

// Plays the opening and presses the button: the player wakes up in the room.
inline void ReachWakeUp(HeadlessDriver& driver) {
    ReachRedButton(driver);
    driver.Type("push the red button");
    ASSERT_EQ(driver.game().currentScene, WakeUp);
}

// From waking up, takes the key and walks to the two doors.
inline void ReachTwoDoorsWithKey(HeadlessDriver& driver) {
    ReachWakeUp(driver);
    driver.Type("open drawer");
    driver.Type("take key");
    driver.Type("open door");
    driver.Type("walk");
    ASSERT_EQ(driver.game().currentScene, TwoDoors);
    ASSERT_TRUE(driver.game().hasKey);
}
