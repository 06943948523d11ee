#pragma once

// The runtime's services in the real program.

#include "Services.h"
#include "Twips.h"

#include <functional>
#include <random>

class QWidget;

namespace view {

// The screen as the screens' logic sees it: zoomed, so that a large screen is as wide in twips
// as the design's and the small layout starts where it always did, at 800 pixels.
class QtScreen : public forms::ScreenService {
  public:
    explicit QtScreen(Scale scale) : scale_(scale) {}
    int widthTwips() const override;
    forms::Size clientSizeTwips() const override;

  private:
    Scale scale_;
};

class QtTextMetrics : public forms::TextMetricsService {
  public:
    explicit QtTextMetrics(Scale scale = Scale{}) : scale_(scale) {}
    forms::Size measure(const forms::Font& font, const std::string& text) const override;

  private:
    Scale scale_;
};

// A real modal dialog with the title, the prompt, the icon of the style and an OK button.
class QtMessageBox : public forms::MessageBoxService {
  public:
    void show(const std::string& prompt, int style, const std::string& title,
              std::function<void()> closed) override;
    std::function<QWidget*()> parent; // the window the message belongs to
};

class QtProgramEnd : public forms::ProgramEnd {
  public:
    void end() override;
};

class SystemRandom : public forms::RandomSource {
  public:
    SystemRandom();
    float next() override;
    void randomize() override;

  private:
    std::mt19937 generator_;
};

struct QtServices {
    explicit QtServices(Scale scale) : screen(scale), textMetrics(scale) {}

    QtMessageBox messageBox;
    QtScreen screen;
    QtTextMetrics textMetrics;
    SystemRandom random;
    QtProgramEnd programEnd;

    forms::Services services() { return {messageBox, screen, textMetrics, random, programEnd}; }
};

} // namespace view
