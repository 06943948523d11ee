#pragma once

// The whole program on fake services, driven as a child would: clicks, keys and time.

#include "app/Screens.h"
#include "forms/Fitting.h"
#include "forms/Runtime.h"
#include "forms/Utf8.h"
#include "start/Zifferix.h"
#include "start/frmstart.h"
#include "support/FakeServices.h"

#include <algorithm>
#include <string_view>
#include <vector>

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

    void click(forms::Control& control) {
        runtime.click(control);
        listen();
    }
    // Keys as typed: "\r" is Enter, "\b" Backspace.
    void type(std::string_view keys) {
        for (char c : keys) {
            if (listening) {
                answering();
            }
            runtime.keyPress(static_cast<unsigned char>(c));
            listen();
        }
    }
    // Text as a view hands it in, a character at a time: "Jürgen" is six key presses.
    void write(std::string_view text) {
        for (const char32_t c : forms::utf8::codePoints(text)) {
            runtime.keyPress(static_cast<int>(c));
            listen();
        }
    }
    void advance(std::int64_t ms) {
        if (!listening) {
            runtime.advance(ms);
            return;
        }
        for (std::int64_t left = ms; left > 0; left -= forms::Timer::kShortestPeriod) {
            runtime.advance(std::min<std::int64_t>(left, forms::Timer::kShortestPeriod));
            listen();
        }
    }
    // Lets exactly n ticks of a timer with this period pass.
    void ticks(int n, int period = forms::Timer::kShortestPeriod) {
        advance(static_cast<std::int64_t>(n) * period);
    }

    // Listening as a view does, after every event: what was said, and every problem that was
    // answered before it was heard.
    bool listening = false;
    std::vector<std::string> heard;
    std::vector<std::string> unheard;
    forms::Form* active() const { return runtime.activeForm(); }
    // What a screen reader has been told since it was last asked, as the views take it.
    std::string said() { return runtime.takeSpoken(); }

  private:
    void listen() {
        if (listening) {
            if (std::string s = said(); !s.empty()) {
                heard.push_back(std::move(s));
            }
            // A voice that is done before the next event comes.
            while (forms::ReadingAloud* reading = runtime.reading()) {
                if (!reading->speaking()) {
                    break;
                }
                reading->done();
            }
        }
    }
    // Before the first key of an answer, the problem has been heard.
    void answering() {
        const forms::Form* front = active();
        const forms::Control* box = front != nullptr ? front->ActiveControl() : nullptr;
        if (box == nullptr || box->kind() != forms::ControlKind::TextBox ||
            (box == answeredBox_ && box->AccessibleDescription == answeredProblem_)) {
            return;
        }
        answeredBox_ = box;
        answeredProblem_ = box->AccessibleDescription;
        const std::string& problem = answeredProblem_;
        const bool told =
            std::any_of(heard.begin() + static_cast<long>(answered_), heard.end(),
                        [&](const std::string& s) { return s.find(problem) != s.npos; });
        if (!told) {
            unheard.push_back(front->name() + ": " + problem);
        }
        answered_ = heard.size();
    }
    std::size_t answered_ = 0;
    const forms::Control* answeredBox_ = nullptr;
    std::string answeredProblem_;
};

} // namespace testing_support
