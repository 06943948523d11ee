#include "TestForm.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>

using testing_support::FakeServices;
using testing_support::TestForm;

namespace {

class Timers : public ::testing::Test {
  protected:
    FakeServices fakes;
    forms::Runtime runtime{fakes.services()};
    std::vector<std::string> log;
    TestForm start{runtime, "start", &log};
    TestForm game{runtime, "game", &log};
    forms::Timer slow{game, "slow"};

    void SetUp() override { runtime.start(start); }

    void enable(forms::Timer& timer, int interval, const std::string& name) {
        timer.Interval = interval;
        timer.onTimer = [this, name] {
            log.push_back(name + " at " + std::to_string(runtime.now()));
        };
        runtime.run([&] { timer.Enabled = true; });
    }
};

TEST_F(Timers, TheShortestIntervalTicksOncePerFrame) {
    int ticks = 0;
    start.timer.Interval = 1;
    start.timer.onTimer = [&] { ++ticks; };
    runtime.run([&] { start.timer.Enabled = true; });
    runtime.advance(15);
    EXPECT_EQ(ticks, 0);
    runtime.advance(1);
    EXPECT_EQ(ticks, 1);
    runtime.advance(16 * 99);
    EXPECT_EQ(ticks, 100);
}

TEST_F(Timers, TicksComeInTimeOrderOneHandlerAtATime) {
    runtime.run([&] { game.Show(); });
    log.clear();
    enable(game.timer, 100, "fast");
    enable(slow, 150, "slow");
    runtime.advance(300);
    EXPECT_EQ(log, (std::vector<std::string>{"fast at 100", "slow at 150", "fast at 200",
                                             "fast at 300", "slow at 300"}));
}

TEST_F(Timers, AHiddenFormsTimerWaitsAndResumesWithoutABurst) {
    runtime.run([&] { game.Show(); });
    int ticks = 0;
    game.timer.Interval = 100;
    game.timer.onTimer = [&] { ++ticks; };
    runtime.run([&] { game.timer.Enabled = true; });
    runtime.advance(250);
    ASSERT_EQ(ticks, 2);

    runtime.run([&] { game.Hide(); });
    runtime.advance(10000);
    EXPECT_EQ(ticks, 2);
    EXPECT_FALSE(runtime.animating());

    runtime.run([&] { game.Show(); });
    EXPECT_TRUE(runtime.animating());
    runtime.advance(99);
    EXPECT_EQ(ticks, 2);
    runtime.advance(1);
    EXPECT_EQ(ticks, 3);
}

TEST_F(Timers, AHandlerThatStopsItsTimerGetsNoMoreTicks) {
    int ticks = 0;
    start.timer.Interval = 50;
    start.timer.onTimer = [&] {
        if (++ticks == 3) {
            start.timer.Enabled = false;
        }
    };
    runtime.run([&] { start.timer.Enabled = true; });
    runtime.advance(1000);
    EXPECT_EQ(ticks, 3);
    EXPECT_FALSE(runtime.animating());
}

TEST_F(Timers, ANewIntervalCountsFromTheHandlerThatSetIt) {
    std::vector<std::int64_t> at;
    start.timer.Interval = 1;
    start.timer.onTimer = [&] {
        at.push_back(runtime.now());
        start.timer.Interval = 60;
    };
    runtime.run([&] { start.timer.Enabled = true; });
    runtime.advance(200);
    EXPECT_EQ(at, (std::vector<std::int64_t>{16, 76, 136, 196}));
}

TEST_F(Timers, AZeroIntervalNeverTicks) {
    int ticks = 0;
    start.timer.Interval = 0;
    start.timer.onTimer = [&] { ++ticks; };
    runtime.run([&] { start.timer.Enabled = true; });
    runtime.advance(1000);
    EXPECT_EQ(ticks, 0);
    EXPECT_FALSE(runtime.animating());
}

} // namespace
