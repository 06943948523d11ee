#pragma once

// What the runtime needs from the world outside, from the page: the viewport as the screen,
// text measured with the page's fonts, a message box as a modal dialog, random numbers and the
// end of a run.

#include "forms/Fitting.h"
#include "forms/Random.h"
#include "forms/Services.h"
#include "web/Dom.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace web {

// Measured in the zoomed font the label is drawn in, so that its text is never clipped.
class WebTextMetrics : public forms::TextMetricsService {
  public:
    explicit WebTextMetrics(const forms::FittedScreen& screen);
    forms::Size measure(const forms::Font& font, const std::string& text) const override;

  private:
    double lineHeight(const val& metrics) const;

    const forms::FittedScreen& screen_;
    mutable val context_;
};

// The page's modal dialog: its title, the icon of the style, the prompt and an OK button. It
// stays open after the handler that opened it; the page calls dismiss when the child closes it.
class WebMessageBox : public forms::MessageBoxService {
  public:
    void show(const std::string& prompt, int style, const std::string& title,
              std::function<void()> closed) override;
    void dismiss();

  private:
    std::function<void()> closed_;
};

// Chance from the clock, and from the browser's generator so that two pages opened in the same
// millisecond still differ.
std::vector<std::uint32_t> pageChance();

// A page cannot close its tab: the view says goodbye once the runtime has ended.
class WebProgramEnd : public forms::ProgramEnd {
  public:
    void end() override {}
};

struct WebServices {
    // The viewport comes first: every form is made to its size.
    WebServices(double width, double height) { screen.setArea(width, height); }

    // The viewport, zoomed as the desktop zooms its window: the screens' logic never knows.
    forms::FittedScreen screen;
    WebTextMetrics textMetrics{screen};
    WebMessageBox messageBox;
    forms::SeededRandom random{pageChance};
    WebProgramEnd programEnd;

    forms::Services services() { return {messageBox, screen, textMetrics, random, programEnd}; }
};

} // namespace web
