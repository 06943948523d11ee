#include "Pool.h"

namespace zifferix::service {

Pool::Pool(std::size_t threads, std::size_t queued) : queued_(queued) {
    threads_.reserve(threads);
    for (std::size_t i = 0; i < threads; ++i) {
        threads_.emplace_back([this] { work(); });
    }
}

Pool::~Pool() {
    shutdown();
}

void Pool::enqueue(std::function<void()> task) {
    std::unique_lock lock(mutex_);
    room_.wait(lock, [&] { return tasks_.size() < queued_ || stopping_; });
    tasks_.push_back(std::move(task));
    ready_.notify_one();
}

void Pool::shutdown() {
    {
        const std::lock_guard lock(mutex_);
        if (stopping_ && threads_.empty()) {
            return;
        }
        stopping_ = true;
    }
    ready_.notify_all();
    room_.notify_all();
    for (std::thread& thread : threads_) {
        thread.join();
    }
    threads_.clear();
}

void Pool::work() {
    for (;;) {
        std::function<void()> task;
        {
            std::unique_lock lock(mutex_);
            ready_.wait(lock, [&] { return !tasks_.empty() || stopping_; });
            if (tasks_.empty()) {
                return;
            }
            task = std::move(tasks_.front());
            tasks_.pop_front();
            room_.notify_one();
        }
        task();
    }
}

} // namespace zifferix::service
