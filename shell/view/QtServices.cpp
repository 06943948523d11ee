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
    return screen != nullptr ? scale_.twips(screen->geometry().width()) : 0;
}

forms::Size QtScreen::clientSizeTwips() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return {};
    }
    const QSize size = screen->availableGeometry().size();
    return {scale_.twips(size.width()), scale_.twips(size.height())};
}

// Measured in the zoomed font the label is drawn in, so that its text is never clipped.
forms::Size QtTextMetrics::measure(const forms::Font& font, const std::string& text) const {
    const QFontMetrics metrics(qfont(font, scale_.zoom()));
    return {scale_.twips(metrics.horizontalAdvance(QString::fromStdString(text))),
            scale_.twips(metrics.height())};
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
