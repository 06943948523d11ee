#pragma once

// Floods answered 429: token buckets per key (an address, a class), in memory and bounded.

#include <chrono>
#include <cstddef>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

namespace zifferix::service {

class Buckets {
  public:
    using Clock = std::chrono::steady_clock;

    // `perSecond` tokens come back each second up to `burst`; a rate of 0 limits nothing.
    Buckets(double perSecond, double burst, std::size_t maxKeys = 50000);

    // Takes a token if the key has one.
    bool take(const std::string& key, Clock::time_point now = Clock::now());
    // Whether the key has a token, taking none.
    bool has(const std::string& key, Clock::time_point now = Clock::now());
    std::size_t keys() const;

  private:
    struct Bucket {
        double tokens = 0;
        Clock::time_point filled;
    };
    Bucket& refilled(const std::string& key, Clock::time_point now);
    void makeRoom(Clock::time_point now);

    double perSecond_ = 0;
    double burst_ = 0;
    std::size_t maxKeys_ = 0;
    mutable std::mutex mutex_;
    std::unordered_map<std::string, Bucket> buckets_;
};

// The service's limits; `factor` scales every rate and burst (a benchmark raises them, 0 lifts
// them).
struct Limits {
    explicit Limits(double factor);

    Buckets perAddress;      // every request to the API
    Buckets resultsPerClass; // results a class takes
    Buckets failedSecrets;   // teacher's routes that found no class, per address
    Buckets newClasses;      // classes opened, per address
};

} // namespace zifferix::service
