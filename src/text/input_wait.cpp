#include "text/input_wait.h"

#include "session/wake.h"

std::optional<int> InputWaitMillis(std::size_t linesWaiting, double gameChangeIn,
                                   std::optional<double> inputWake) {
    if (linesWaiting >= kMaxPendingLines) return std::nullopt;
    wake::Sources sources;
    sources.inputWaiting = linesWaiting > 0;
    sources.gameChangeIn = gameChangeIn;
    if (inputWake) sources.timedFrameIn = *inputWake;
    return wake::TimeoutMillis(wake::PlatformWaitFor(sources));
}
