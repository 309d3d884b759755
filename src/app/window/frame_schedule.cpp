#include "app/window/frame_schedule.h"

double FrameSchedule::FrameWantedIn(double now) const {
    if (frameWanted_) return 0.0;
    return frameAt_ == kNever ? kNever : frameAt_ - now;
}

bool FrameSchedule::TakeFrame(double now) {
    if (FrameWantedIn(now) > 0.0 || FrameAllowedIn(now) > 0.0) return false;
    frameWanted_ = false;
    if (frameAt_ <= now) frameAt_ = kNever;
    lastFrame_ = now;
    return true;
}
