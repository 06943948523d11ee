#include "Writer.h"

#include <vector>

namespace zifferix::service {

Writer::Writer(Database& db, Store store)
    : db_(db), store_(std::move(store)), thread_([this] { run(); }) {}

Writer::~Writer() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    waiting_.notify_all();
    thread_.join();
}

Added Writer::add(const std::string& classId, const ResultBody& result, long long now) {
    Job job{classId, result, now, {}};
    std::future<Added> done = job.done.get_future();
    {
        const std::lock_guard lock(mutex_);
        jobs_.push_back(&job);
    }
    waiting_.notify_one();
    return done.get();
}

void Writer::run() {
    for (;;) {
        std::deque<Job*> batch;
        {
            std::unique_lock lock(mutex_);
            waiting_.wait(lock, [&] { return stopping_ || !jobs_.empty(); });
            if (jobs_.empty()) {
                return;
            }
            while (!jobs_.empty() && batch.size() < kMostAtOnce) {
                batch.push_back(jobs_.front());
                jobs_.pop_front();
            }
        }
        write(batch);
    }
}

// All in one transaction; if that fails, each on its own, so one bad result fails alone.
void Writer::write(std::deque<Job*>& jobs) {
    std::vector<Added> added(jobs.size());
    try {
        db_.transaction([&] {
            for (std::size_t i = 0; i < jobs.size(); ++i) {
                added[i] = store_(jobs[i]->classId, jobs[i]->result, jobs[i]->now);
            }
        });
        for (std::size_t i = 0; i < jobs.size(); ++i) {
            jobs[i]->done.set_value(added[i]);
        }
        return;
    } catch (...) {
    }
    for (Job* job : jobs) {
        try {
            Added one = Added::NoClass;
            db_.transaction([&] { one = store_(job->classId, job->result, job->now); });
            job->done.set_value(one);
        } catch (...) {
            job->done.set_exception(std::current_exception());
        }
    }
}

} // namespace zifferix::service
