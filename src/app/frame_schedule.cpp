#include "app/frame_schedule.h"

#include <algorithm>

double FrameSchedule::FrameDueAt() const {
    const double asked = frameWanted_ ? -kNever : frameAt_;
    if (asked == kNever) return kNever;
    return std::max(asked, lastFrame_ + kFrameSeconds);
}

double FrameSchedule::WaitBefore(double now, bool drawable) const {
    const double due = std::min(drawable ? FrameDueAt() : kNever, gameDueAt_);
    if (due == kNever) return kNever;
    return std::max(0.0, due - now);
}

bool FrameSchedule::TakeFrame(double now) {
    if (now < FrameDueAt()) return false;
    frameWanted_ = false;
    if (frameAt_ <= now) frameAt_ = kNever;
    lastFrame_ = now;
    return true;
}
