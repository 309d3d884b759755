#include "app/platform/owned_thread.h"

#include <utility>

void OwnedThread::Start(std::function<void()> work) {
    if (thread_.joinable()) return;
    thread_ = std::thread([finish = finish_, work = std::move(work)] {
        work();
        const std::lock_guard<std::mutex> lock(finish->mutex);
        finish->done = true;
        finish->ended.notify_all();
    });
}

bool OwnedThread::End(std::optional<std::chrono::milliseconds> wait) {
    if (!thread_.joinable()) return true;
    std::unique_lock<std::mutex> lock(finish_->mutex);
    const auto done = [this] {
        return finish_->done;
    };
    const bool returned =
        wait ? finish_->ended.wait_for(lock, *wait, done) : (finish_->ended.wait(lock, done), true);
    lock.unlock();
    returned ? thread_.join() : thread_.detach();
    return returned;
}
