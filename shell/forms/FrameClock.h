#pragma once

// Real time for the runtime's virtual time, for every view: the view tells the time it reads
// from its toolkit, in milliseconds, and wakes when told; time passes only while some timer of
// a visible form runs, so that an idle screen costs nothing.

#include <optional>

namespace forms {

class Runtime;

class FrameClock {
  public:
    explicit FrameClock(Runtime& runtime) : runtime_(runtime) {}

    // How long from now until the next tick is due, in ms of real time; nothing while no timer
    // runs, and then time stands still until one does.
    std::optional<double> untilNextTick(double now);
    // Virtual time catches up with real time. A frame that comes late, because the machine
    // stalled or the page was in the background, passes on at most kLongestFrame beyond the
    // tick it was woken for, so that a stall never causes a burst of ticks.
    void frame(double now);
    // Time stands still, as while the program waits for something outside it.
    void stop() { running_ = false; }
    bool running() const { return running_; }

    static constexpr double kLongestFrame = 100;

  private:
    Runtime& runtime_;
    bool running_ = false;
    double start_ = 0;  // when time began to pass
    double passed_ = 0; // real time already handed to the runtime
};

} // namespace forms
