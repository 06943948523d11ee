#pragma once

// The whole program on fake services, driven as a child would: clicks, keys and time.

#include "app/Screens.h"
#include "forms/Fitting.h"
#include "forms/Runtime.h"
#include "start/Zifferix.h"
#include "start/frmstart.h"
#include "support/FakeServices.h"

#include <string_view>

namespace testing_support {

constexpr int kLargeScreen = 19200; // 1280 pixels
constexpr int kSmallScreen = 12000; // 800 pixels

class ProgramHarness {
  public:
    explicit ProgramHarness(int screenWidth = kLargeScreen) {
        fakes.screen.width = screenWidth;
        fakes.screen.client = {screenWidth, screenWidth * 3 / 4 - 600};
    }
    // On a screen fitted to a view's area, as the real views have it.
    explicit ProgramHarness(forms::FittedScreen& screen) : fakes(screen) {}

    FakeServices fakes;
    forms::Runtime runtime{fakes.services()};
    zifferix::Zifferix program{runtime, zifferix::screens()};

    zifferix::frmstart& start() { return program.start(); }
    zifferix::Module1& shared() { return program.shared(); }
    ScriptedRandom& random() { return fakes.random; }

    // Shows the start screen, as the program does when it starts.
    ProgramHarness& run() {
        program.run();
        return *this;
    }

    // Chooses a game option and a difficulty on the start screen and presses the start button.
    void startGame(forms::OptionButton& game, forms::OptionButton& level) {
        click(game);
        click(level);
        click(start().cmdAnfang);
    }

    void click(forms::Control& control) { runtime.click(control); }
    // Keys as typed: "\r" is Enter, "\b" Backspace.
    void type(std::string_view keys) {
        for (char c : keys) {
            runtime.keyPress(static_cast<unsigned char>(c));
        }
    }
    void advance(std::int64_t ms) { runtime.advance(ms); }
    // Lets exactly n ticks of a timer with this period pass.
    void ticks(int n, int period = forms::Timer::kShortestPeriod) {
        runtime.advance(static_cast<std::int64_t>(n) * period);
    }
    forms::Form* active() const { return runtime.activeForm(); }
    // What a screen reader has been told since it was last asked, as the views take it.
    std::string said() { return runtime.speech().take(); }
};

} // namespace testing_support
