#include "session/log_watcher.h"

namespace {

bool SameLine(const ConsoleLine& a, const ConsoleLine& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].style != b[i].style || a[i].text != b[i].text) return false;
    }
    return true;
}

}  // namespace

LogChange LogWatcher::Take(const std::vector<ConsoleLine>& lines) {
    LogChange change;
    change.cleared = lines.size() < seen_ || (seen_ > 0 && !SameLine(lines[seen_ - 1], lastSeen_));
    change.first = change.cleared ? 0 : seen_;
    seen_ = lines.size();
    lastSeen_ = lines.empty() ? ConsoleLine() : lines.back();
    return change;
}
