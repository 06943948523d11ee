// Zifferix: a mental-arithmetic trainer for schoolchildren.

#include "Fonts.h"
#include "QtServices.h"
#include "View.h"
#include "Zifferix.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zifferix"));
    QApplication::setDesktopFileName(QStringLiteral("org.zifferix.Zifferix"));
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setQuitOnLastWindowClosed(false); // the start screen's exit button ends it
    view::installFontSubstitutes();
    QApplication::setFont(view::qfont(forms::Font{})); // one font family for everything

    view::QtServices services;
    forms::Runtime runtime(services.services());
    zifferix::Zifferix program(runtime);
    view::View view(runtime);
    services.messageBox.parent = [&view] { return view.activeWindow(); };

    program.run();
    view.afterEvent();
    // The icon is drawn from SVG: not needed before the window is on the screen.
    QTimer::singleShot(
        0, [] { QApplication::setWindowIcon(QIcon(QStringLiteral(":/assets/zifferix.svg"))); });
    return QApplication::exec();
}
