// Which frames the window builds, and whether a frame differs from the one on screen.

#include "app/window/frame_schedule.h"

#include <gtest/gtest.h>
#include <imgui.h>

#include "app/window/drawn_frame.h"

namespace {

constexpr double kFrame = FrameSchedule::kFrameSeconds;
constexpr double kNever = FrameSchedule::kNever;

TEST(FrameSchedule, FramesAskedForComeOnceAndAtMostSixtyASecond) {
    FrameSchedule schedule;
    EXPECT_EQ(schedule.FrameWantedIn(10.0), kNever);
    EXPECT_FALSE(schedule.TakeFrame(10.0));

    // Frames asked for come at once, but never sooner than a frame after the last.
    schedule.RequestFrame();
    EXPECT_EQ(schedule.FrameWantedIn(10.0), 0.0);
    EXPECT_TRUE(schedule.TakeFrame(10.0));
    schedule.RequestFrame();
    EXPECT_NEAR(schedule.FrameAllowedIn(10.001), kFrame - 0.001, 1e-12);
    EXPECT_FALSE(schedule.TakeFrame(10.001));
    EXPECT_TRUE(schedule.TakeFrame(10.0 + kFrame));

    // A timed frame (the caret): due at its time, once; a later request replaces it.
    schedule.RequestFrameAt(12.0);
    schedule.RequestFrameAt(11.5);
    EXPECT_DOUBLE_EQ(schedule.FrameWantedIn(11.0), 0.5);
    EXPECT_FALSE(schedule.TakeFrame(11.49));
    EXPECT_TRUE(schedule.TakeFrame(11.5));
    EXPECT_FALSE(schedule.TakeFrame(12.5));
}

// Same-sized lists that differ anywhere (other text of the same length) make a changed frame.
TEST(DrawnFrame, ASameSizedFrameThatDiffersAnywhereIsChanged) {
    DrawnFrame drawn;
    ImDrawList list(nullptr);
    list.VtxBuffer.resize(3, ImDrawVert{ImVec2(0, 0), ImVec2(0, 0), 0xffffffff});
    list.IdxBuffer.resize(3, 0);
    list.CmdBuffer.resize(1);
    ImDrawList* lists[] = {&list};
    ImDrawData data;
    data.CmdLists = lists;
    data.CmdListsCount = 1;
    EXPECT_TRUE(drawn.Changed(data));
    EXPECT_FALSE(drawn.Changed(data));
    list.VtxBuffer[1].pos.x += 1.0f;
    EXPECT_TRUE(drawn.Changed(data));
    list.VtxBuffer[2].uv.y = 0.5f;
    EXPECT_TRUE(drawn.Changed(data));
    list.IdxBuffer[0] = 2;
    EXPECT_TRUE(drawn.Changed(data));
    list.CmdBuffer[0].ClipRect.w -= 1.0f;
    EXPECT_TRUE(drawn.Changed(data));
    EXPECT_FALSE(drawn.Changed(data));
}

}  // namespace
