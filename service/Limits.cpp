#include "Limits.h"

#include <algorithm>

namespace zifferix::service {

Buckets::Buckets(double perSecond, double burst, std::size_t maxKeys)
    : perSecond_(perSecond), burst_(std::max(burst, 1.0)), maxKeys_(maxKeys) {}

Buckets::Bucket& Buckets::refilled(const std::string& key, Clock::time_point now) {
    auto found = buckets_.find(key);
    if (found == buckets_.end()) {
        makeRoom(now);
        found = buckets_.emplace(key, Bucket{burst_, now}).first;
    }
    Bucket& bucket = found->second;
    const std::chrono::duration<double> passed = now - bucket.filled;
    bucket.tokens = std::min(burst_, bucket.tokens + passed.count() * perSecond_);
    bucket.filled = now;
    return bucket;
}

// A full bucket is the same as none; when even dropping those leaves no room, the oldest half
// goes, so a flood of addresses costs a bounded amount of memory.
void Buckets::makeRoom(Clock::time_point now) {
    if (buckets_.size() < maxKeys_) {
        return;
    }
    std::erase_if(buckets_, [&](const auto& entry) {
        const std::chrono::duration<double> passed = now - entry.second.filled;
        return entry.second.tokens + passed.count() * perSecond_ >= burst_;
    });
    if (buckets_.size() < maxKeys_) {
        return;
    }
    std::vector<Clock::time_point> times;
    times.reserve(buckets_.size());
    for (const auto& entry : buckets_) {
        times.push_back(entry.second.filled);
    }
    auto middle = times.begin() + static_cast<std::ptrdiff_t>(times.size() / 2);
    std::nth_element(times.begin(), middle, times.end());
    const Clock::time_point cut = *middle;
    std::erase_if(buckets_, [&](const auto& entry) { return entry.second.filled <= cut; });
}

bool Buckets::take(const std::string& key, Clock::time_point now) {
    if (perSecond_ <= 0) {
        return true;
    }
    const std::lock_guard lock(mutex_);
    Bucket& bucket = refilled(key, now);
    if (bucket.tokens < 1) {
        return false;
    }
    bucket.tokens -= 1;
    return true;
}

bool Buckets::has(const std::string& key, Clock::time_point now) {
    if (perSecond_ <= 0) {
        return true;
    }
    const std::lock_guard lock(mutex_);
    const auto found = buckets_.find(key);
    return found == buckets_.end() || refilled(key, now).tokens >= 1;
}

std::size_t Buckets::keys() const {
    const std::lock_guard lock(mutex_);
    return buckets_.size();
}

// A school's children share one address behind its router: the address's limit is the
// school's, the class's is a class at the bell (30 results within a second and more).
Limits::Limits(double factor)
    : perAddress(200 * factor, 600 * factor), resultsPerClass(20 * factor, 120 * factor),
      failedSecrets(0.2 * factor, 10 * factor), newClasses(0.5 * factor, 30 * factor) {}

} // namespace zifferix::service
