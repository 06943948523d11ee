#pragma once

// SQLite takes one writer at a time: rather than queue in its lock, the results wait here and
// one thread writes all that have come in one transaction. Each sender is answered once its
// result is committed.

#include "Database.h"
#include "Records.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <thread>

namespace zifferix::service {

class Writer {
  public:
    // Stores one result inside a transaction the writer holds.
    using Store = std::function<Added(const std::string& classId, const ResultBody&, long long)>;

    Writer(Database& db, Store store);
    ~Writer();
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    // Blocks until the result is committed (or throws what storing it threw).
    Added add(const std::string& classId, const ResultBody& result, long long now);

  private:
    struct Job {
        const std::string& classId;
        const ResultBody& result;
        long long now;
        std::promise<Added> done;
    };
    void run();
    void write(std::deque<Job*>& jobs);

    static constexpr std::size_t kMostAtOnce = 500;

    Database& db_;
    Store store_;
    std::mutex mutex_;
    std::condition_variable waiting_;
    std::deque<Job*> jobs_;
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace zifferix::service
