#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

// A thread that works for one owner, on state the two share through a shared_ptr that `work`
// holds by value: a thread that is let go at the end keeps that state alive and touches nothing
// else, no static and nothing of the owner. Each side keeps its own fields: the thread's are in
// the shared state, and this object keeps only whether the work has returned.
//
// The owner first tells its work to stop, in whatever way the work listens for (a request, a
// cancelled call, a quit main loop), then calls End: it waits for the work to return for at
// most `wait` and joins it, or lets it go when a service it waits on never answers, so that
// the program can still close.
class OwnedThread {
public:
    OwnedThread() = default;
    OwnedThread(const OwnedThread&) = delete;
    OwnedThread& operator=(const OwnedThread&) = delete;
    // Ends what is still running with no limit: an owner that may wait on a service calls End
    // with a limit before.
    ~OwnedThread() { End(std::nullopt); }

    // Runs `work` on a thread of its own; once only, and never after End.
    void Start(std::function<void()> work);
    bool Started() const { return thread_.joinable(); }

    // Waits for the work to return, for at most `wait` (nothing: as long as it takes). True
    // when it returned, and the thread was joined; false when it was let go.
    bool End(std::optional<std::chrono::milliseconds> wait);

private:
    // What the thread itself sets at the end of its work.
    struct Finish {
        std::mutex mutex;
        std::condition_variable ended;
        bool done = false;
    };
    std::shared_ptr<Finish> finish_ = std::make_shared<Finish>();
    std::thread thread_;
};
