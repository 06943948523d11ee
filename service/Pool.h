#pragma once

// A fixed number of threads and a bounded queue of tasks. When the queue is full, whoever adds
// waits: a flood waits in the kernel's backlog or in its caller, never in memory.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

namespace zifferix::service {

class Pool {
  public:
    Pool(std::size_t threads, std::size_t queued);
    ~Pool();
    Pool(const Pool&) = delete;
    Pool& operator=(const Pool&) = delete;

    void enqueue(std::function<void()> task);
    // The tasks queued still run; then the threads end.
    void shutdown();

    // Runs `work` on one of the threads and waits for what it returns or throws.
    template <typename Work> auto call(Work work) -> decltype(work()) {
        std::packaged_task<decltype(work())()> task(std::move(work));
        auto result = task.get_future();
        enqueue([&task] { task(); });
        return result.get();
    }

  private:
    void work();

    std::size_t queued_ = 0;
    bool stopping_ = false;
    std::mutex mutex_;
    std::condition_variable ready_;
    std::condition_variable room_;
    std::deque<std::function<void()>> tasks_;
    std::vector<std::thread> threads_;
};

} // namespace zifferix::service
