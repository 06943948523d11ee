#include "view/QtServices.h"

#include "view/Fonts.h"
#include "view/Twips.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMessageBox>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <utility>

namespace view {

// The screen without its panels, and without a title bar where a window manager draws one: a
// first guess, which the maximized window's own size then puts right.
QSize availableArea() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return {1024, 710};
    }
    const QSize available = screen->availableGeometry().size();
    const bool decorated = screen->availableGeometry() != screen->geometry();
    const int titleBar =
        decorated ? QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight) : 0;
    return {available.width(), available.height() - titleBar};
}

forms::Size QtTextMetrics::measure(const forms::Font& font, const std::string& text) const {
    const forms::Zoom zoom = screen_.zoom();
    const QFontMetrics metrics(qfont(font, zoom.factor()));
    return {zoom.twips(metrics.horizontalAdvance(QString::fromStdString(text))),
            zoom.twips(metrics.height())};
}

// The icon a message box style asks for: 16 stop, 32 question, 48 warning, 64 information.
constexpr std::pair<int, QMessageBox::Icon> kIcons[] = {
    {16, QMessageBox::Critical},
    {32, QMessageBox::Question},
    {48, QMessageBox::Warning},
    {64, QMessageBox::Information},
};

// The box waits for its button in a nested event loop, so the message is closed when show returns.
void QtMessageBox::show(const std::string& prompt, int style, const std::string& title,
                        std::function<void()> closed) {
    QMessageBox box(parent ? parent() : nullptr);
    for (const auto& [bits, icon] : kIcons) {
        if ((style & 0x70) == bits) {
            box.setIcon(icon);
        }
    }
    box.setWindowTitle(QString::fromStdString(title));
    box.setText(QString::fromStdString(prompt));
    box.setStandardButtons(QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
    closed();
}

void QtProgramEnd::end() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        window->hide();
    }
    QCoreApplication::exit(0);
}

SystemRandom::SystemRandom() {
    randomize();
}

float SystemRandom::next() {
    // 24 random bits: every value is exact in a float and below 1.
    return static_cast<float>(generator_() >> 8) * 0x1p-24f;
}

void SystemRandom::randomize() {
    std::random_device entropy;
    generator_.seed(entropy());
}

} // namespace view
