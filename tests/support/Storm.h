#pragma once

// What the monkeys share for the long storms of bench/storm.sh: how long to storm and from which
// seed, the memory in use, and a short report on standard output and, where asked, in a file.

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <malloc.h>
#include <string>

// AddressSanitizer's count of what its allocator handed out; GCC ships no header for it.
#if defined(__SANITIZE_ADDRESS__)
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace testing_support {

// ZIFFERIX_STORM_SECONDS: how long to storm; 0 without it, as in the ordinary test run.
inline int stormSeconds() {
    const char* seconds = std::getenv("ZIFFERIX_STORM_SECONDS");
    return seconds != nullptr ? std::atoi(seconds) : 0;
}

// ZIFFERIX_SEED: the first seed, to repeat a storm; else one of the clock's.
inline unsigned stormSeed() {
    const char* seed = std::getenv("ZIFFERIX_SEED");
    return seed != nullptr ? static_cast<unsigned>(std::strtoul(seed, nullptr, 10))
                           : static_cast<unsigned>(std::time(nullptr));
}

// Bytes handed out by malloc and not yet freed: AddressSanitizer's allocator counts its own.
inline std::size_t heapInUse() {
#if defined(__SANITIZE_ADDRESS__)
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}

struct StormReport {
    std::string name;
    unsigned seed;
    int rounds = 0;
    long events = 0;
    int wins = 0;
    std::size_t heapFirst = 0;
    std::size_t heapLast = 0;

    // A round ended and its program is gone: the memory in use is what stays between rounds.
    void round(long roundEvents, int roundWins) {
        heapLast = heapInUse();
        heapFirst = rounds++ == 0 ? heapLast : heapFirst;
        events += roundEvents;
        wins += roundWins;
    }

    void finish(std::size_t reached) const {
        char line[256];
        std::snprintf(
            line, sizeof line,
            "{\"name\": \"%s\", \"seed\": %u, \"rounds\": %d, \"events\": %ld, \"wins\": %d, "
            "\"reached\": %zu, \"heapFirst\": %zu, \"heapLast\": %zu}",
            name.c_str(), seed, rounds, events, wins, reached, heapFirst, heapLast);
        std::printf("storm: %s\n", line);
        if (const char* file = std::getenv("ZIFFERIX_STORM_REPORT")) {
            std::ofstream(file) << line << '\n';
        }
    }
};

} // namespace testing_support
