#include "QtServices.h"

#include "Fonts.h"
#include "Twips.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMessageBox>
#include <QScreen>
#include <QWidget>

#include <utility>

namespace view {

int QtScreen::widthTwips() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->geometry().width() * kTwipsPerPixel : 0;
}

forms::Size QtScreen::clientSizeTwips() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return {};
    }
    const QSize size = screen->availableGeometry().size();
    return {size.width() * kTwipsPerPixel, size.height() * kTwipsPerPixel};
}

forms::Size QtTextMetrics::measure(const forms::Font& font, const std::string& text) const {
    const QFontMetrics metrics(qfont(font));
    return {metrics.horizontalAdvance(QString::fromStdString(text)) * kTwipsPerPixel,
            metrics.height() * kTwipsPerPixel};
}

// The icon a message box style asks for: 16 stop, 32 question, 48 warning, 64 information.
constexpr std::pair<int, QMessageBox::Icon> kIcons[] = {
    {16, QMessageBox::Critical},
    {32, QMessageBox::Question},
    {48, QMessageBox::Warning},
    {64, QMessageBox::Information},
};

void QtMessageBox::show(const std::string& prompt, int style, const std::string& title) {
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
