#include "forms/FrameClock.h"

#include "forms/Runtime.h"

#include <algorithm>
#include <cmath>

namespace forms {

std::optional<double> FrameClock::untilNextTick(double now) {
    const std::optional<std::int64_t> due = runtime_.nextDue();
    if (!due || runtime_.ended()) {
        running_ = false;
        return std::nullopt;
    }
    if (!running_) {
        start_ = now;
        passed_ = 0;
        running_ = true;
    }
    return passed_ + static_cast<double>(*due - runtime_.now()) - (now - start_);
}

void FrameClock::frame(double now) {
    if (!running_) {
        return;
    }
    double elapsed = (now - start_) - passed_;
    const std::optional<std::int64_t> due = runtime_.nextDue();
    const double allowed = (due ? static_cast<double>(*due - runtime_.now()) : 0) + kLongestFrame;
    if (elapsed > allowed) {
        passed_ += elapsed - allowed;
        elapsed = allowed;
    }
    const double whole = std::floor(std::max(0.0, elapsed));
    passed_ += whole;
    runtime_.advance(static_cast<std::int64_t>(whole));
}

} // namespace forms
