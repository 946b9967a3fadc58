// A queue between two threads. Closing it lets the consumer take what is left
// and then see the end; cancelling it ends both sides at once.
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>

namespace binhex::cli {

template <typename T> class Channel {
  public:
    // Returns false, dropping `item`, once the channel is closed or cancelled.
    bool push(T item) {
        {
            std::lock_guard lock(mutex_);
            if (closed_) {
                return false;
            }
            items_.push_back(std::move(item));
        }
        ready_.notify_one();
        return true;
    }

    // Waits for an item; nothing once the channel is closed and empty, or
    // cancelled.
    std::optional<T> pop() {
        std::unique_lock lock(mutex_);
        ready_.wait(lock, [&] { return !items_.empty() || closed_; });
        if (items_.empty() || cancelled_) {
            return std::nullopt;
        }
        T item = std::move(items_.front());
        items_.pop_front();
        return item;
    }

    void close() {
        {
            std::lock_guard lock(mutex_);
            closed_ = true;
        }
        ready_.notify_all();
    }

    void cancel() {
        {
            std::lock_guard lock(mutex_);
            closed_ = true;
            cancelled_ = true;
        }
        ready_.notify_all();
    }

  private:
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<T> items_;
    bool closed_ = false;
    bool cancelled_ = false;
};

} // namespace binhex::cli
