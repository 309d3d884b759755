#include "app/frame_schedule.h"

#include <algorithm>

double FrameSchedule::WaitBefore(double now) const {
    return std::max(0.0, nextTick_ - now);
}

bool FrameSchedule::TakeTick(double now) {
    if (now < nextTick_) return false;
    nextTick_ += kTickSeconds;
    if (nextTick_ <= now) nextTick_ = now + kTickSeconds;
    return true;
}

void FrameSchedule::RequestFrames(int count) {
    framesWanted_ = std::max(framesWanted_, count);
}

bool FrameSchedule::TakeFrame(double now) {
    bool frame = false;
    if (framesWanted_ > 0) {
        --framesWanted_;
        frame = true;
    }
    if (frameAt_ >= 0.0 && now >= frameAt_) {
        frameAt_ = -1.0;
        frame = true;
    }
    return frame;
}
