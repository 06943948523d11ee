#pragma once

// The runtime's services in the real program.

#include "forms/Fitting.h"
#include "forms/Random.h"
#include "forms/Services.h"

#include <QSize>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class QWidget;

namespace qt {

// Measured in the zoomed font the label is drawn in, so that its text is never clipped.
class QtTextMetrics : public forms::TextMetricsService {
  public:
    explicit QtTextMetrics(const forms::FittedScreen& screen) : screen_(screen) {}
    forms::Size measure(const forms::Font& font, const std::string& text) const override;

  private:
    const forms::FittedScreen& screen_;
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

// Chance from the system's entropy.
std::vector<std::uint32_t> systemChance();

// The screen as the screens' logic sees it: the area of a maximized window, fitted by the rule
// every view shares, or zoomed by the factor the command line asks for.
QSize availableArea();

struct QtServices {
    explicit QtServices(std::optional<double> zoom) : screen(zoom) {
        const QSize area = availableArea();
        screen.setArea(area.width(), area.height());
    }

    QtMessageBox messageBox;
    forms::FittedScreen screen;
    QtTextMetrics textMetrics{screen};
    forms::SeededRandom random{systemChance};
    QtProgramEnd programEnd;

    forms::Services services() { return {messageBox, screen, textMetrics, random, programEnd}; }
};

} // namespace qt
