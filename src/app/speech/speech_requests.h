#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <utility>

// What the game asks of a speech thread, for the voices that take time to answer (Speech
// Dispatcher, SAPI): texts to say, a cancel, the end. The game's calls never wait for the
// thread; the thread sleeps until it is asked something.
template <typename Text>
class SpeechRequests {
public:
    // Texts waiting beyond this are dropped, oldest first: the player wants what is new.
    static constexpr std::size_t kMostQueued = 32;

    struct Request {
        bool stop = false;
        bool cancel = false;  // before `text`, if any
        Text text;
    };

    // Queues `text`; false once the voice is gone, when it is dropped.
    bool Add(Text text) {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            if (gone_) return false;
            if (texts_.size() == kMostQueued) texts_.pop_front();
            texts_.push_back(std::move(text));
        }
        asked_.notify_one();
        return true;
    }
    // Drops what is queued and asks the thread to stop what is being said.
    void Cancel() {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            if (gone_) return;
            texts_.clear();
            cancel_ = true;
        }
        asked_.notify_one();
    }
    void Stop() {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
        }
        asked_.notify_one();
    }
    // The voice is gone: everything asked from now on is dropped.
    void GiveUp() {
        const std::lock_guard<std::mutex> lock(mutex_);
        gone_ = true;
        texts_.clear();
    }

    // The thread's side: waits until asked, then takes what was asked.
    Request Next() {
        std::unique_lock<std::mutex> lock(mutex_);
        asked_.wait(lock, [this] { return stopping_ || cancel_ || !texts_.empty(); });
        Request request;
        request.stop = stopping_;
        request.cancel = std::exchange(cancel_, false);
        if (!texts_.empty()) {
            request.text = std::move(texts_.front());
            texts_.pop_front();
        }
        return request;
    }

private:
    std::mutex mutex_;
    std::condition_variable asked_;
    std::deque<Text> texts_;
    bool cancel_ = false;
    bool stopping_ = false;
    bool gone_ = false;
};
