#pragma once

// Hand-written fakes for the runtime's services: a message box that records, a screen of a
// chosen width, text measured by a simple rule, scripted random values and a recorded End.

#include "forms/Controls.h"
#include "forms/Services.h"

#include <cmath>
#include <deque>
#include <initializer_list>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace testing_support {

struct ShownMessage {
    std::string prompt;
    int style = 0;
    std::string title;
};

// Dismissed at once, as the desktop's box returns dismissed; or held open until dismiss(), as a
// browser's stays open after the handler.
class FakeMessageBox : public forms::MessageBoxService {
  public:
    void show(const std::string& prompt, int style, const std::string& title,
              std::function<void()> closed) override {
        shown.push_back({prompt, style, title});
        if (holdOpen) {
            pending = std::move(closed);
        } else {
            closed();
        }
    }
    void dismiss() { std::exchange(pending, {})(); }

    std::vector<ShownMessage> shown;
    bool holdOpen = false;
    std::function<void()> pending;
};

class FakeScreen : public forms::ScreenService {
  public:
    int widthTwips() const override { return width; }
    forms::Size clientSizeTwips() const override { return client; }
    int width = 19200;                // 1280 pixels
    forms::Size client{19200, 14500}; // a maximized window's inner size
};

// Each character is as wide as 60 % of the font's size, a line 1.15 times as high.
class FakeTextMetrics : public forms::TextMetricsService {
  public:
    forms::Size measure(const forms::Font& font, const std::string& text) const override {
        int characters = 0;
        for (char c : text) {
            characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
        }
        const double pointTwips = 20.0 * font.Size;
        return {static_cast<int>(std::lround(characters * 0.6 * pointTwips)),
                static_cast<int>(std::lround(1.15 * pointTwips))};
    }
};

// Hands out the scripted values first, then values from a fixed-seed generator, so that
// a test scripts only the draws it cares about and every run is the same.
class ScriptedRandom : public forms::RandomSource {
  public:
    float next() override {
        if (!script.empty()) {
            const float v = script.front();
            script.pop_front();
            return v;
        }
        return static_cast<float>(generator() >> 8) * 0x1p-24f;
    }
    void randomize() override { ++randomizeCalls; }

    void push(std::initializer_list<float> values) { script.insert(script.end(), values); }
    // A value that Int(Rnd * n) turns into k.
    static float pick(int k, int n) {
        return (static_cast<float>(k) + 0.5f) / static_cast<float>(n);
    }

    std::deque<float> script;
    std::mt19937 generator{20261208};
    int randomizeCalls = 0;
};

class FakeEnd : public forms::ProgramEnd {
  public:
    void end() override { ++calls; }
    int calls = 0;
};

struct FakeServices {
    FakeServices() = default;
    // With a real screen in place of the fake one.
    explicit FakeServices(forms::ScreenService& real) : screenInUse(&real) {}

    FakeMessageBox messageBox;
    FakeScreen screen;
    FakeTextMetrics textMetrics;
    ScriptedRandom random;
    FakeEnd programEnd;

    forms::ScreenService* screenInUse = nullptr;

    forms::Services services() {
        return {messageBox, screenInUse != nullptr ? *screenInUse : screen, textMetrics, random,
                programEnd};
    }
};

} // namespace testing_support
