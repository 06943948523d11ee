#include "qt/QtServices.h"

#include "forms/Message.h"
#include "qt/Convert.h"
#include "qt/Fonts.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMessageBox>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <QAbstractButton>

#include <random>
#include <utility>

namespace qt {

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

// Qt's icon for each of a message's.
constexpr QMessageBox::Icon kIcons[] = {QMessageBox::NoIcon, QMessageBox::Critical,
                                        QMessageBox::Question, QMessageBox::Warning,
                                        QMessageBox::Information};

// The box waits for its button in a nested event loop, so the message is closed when show returns.
void QtMessageBox::show(const std::string& prompt, int style, const std::string& title,
                        std::function<void()> closed) {
    QMessageBox box(parent ? parent() : nullptr);
    box.setIcon(kIcons[static_cast<int>(forms::iconOf(style))]);
    box.setWindowTitle(QString::fromStdString(title));
    box.setText(QString::fromStdString(prompt));
    box.setStandardButtons(QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
    box.button(QMessageBox::Ok)->setText(QString::fromUtf8(forms::kMessageButton));
    box.exec();
    closed();
}

void QtProgramEnd::end() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        window->hide();
    }
    QCoreApplication::exit(0);
}

std::vector<std::uint32_t> systemChance() {
    std::random_device entropy;
    return {entropy(), entropy()};
}

} // namespace qt
