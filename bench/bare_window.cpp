// The smallest Qt Widgets program that shows one maximised, empty top-level
// window. It is the yardstick the real program is measured against.
// With --label it also shows one line of text, which is what first loads a font:
// the fair floor for any window that shows text.

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));

    QWidget window;
    if (argc > 1 && QString::fromLocal8Bit(argv[1]) == QStringLiteral("--label")) {
        auto* label = new QLabel(QStringLiteral("Gesamtpunkte: 0"), &window);
        label->move(100, 100);
    }
    window.setWindowTitle(QStringLiteral("bare"));
    // Xvfb has no window manager, so maximising alone would not resize the window.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window.setGeometry(screen->availableGeometry());
    window.showMaximized();

    return QApplication::exec();
}
