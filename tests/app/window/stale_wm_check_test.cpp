#include "app/window/stale_wm_check.h"

#include <gtest/gtest.h>

TEST(StaleWindowManagerCheck, RemovesOnlyADeadManagersCheck) {
    const struct {
        const char* what;
        WindowManagerCheck seen;
        bool stale;
    } cases[] = {
        {"the named window is gone", {false, false, false}, true},
        {"a live manager's window names itself", {true, true, true}, false},
        {"it names itself, though no one redirects yet", {true, true, false}, false},
        {"another client's window, no manager", {true, false, false}, true},
        {"another window while a manager starts", {true, false, true}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsStaleWindowManagerCheck(c.seen), c.stale) << c.what;
    }
}
