// Zifferix: a mental-arithmetic trainer for schoolchildren.

#include "Fonts.h"
#include "QtServices.h"
#include "View.h"
#include "Zifferix.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zifferix"));
    QApplication::setDesktopFileName(QStringLiteral("org.zifferix.Zifferix"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/assets/zifferix.svg")));
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setQuitOnLastWindowClosed(false); // the start screen's exit button ends it
    view::installFontSubstitutes();

    view::QtServices services;
    forms::Runtime runtime(services.services());
    zifferix::Zifferix program(runtime);
    view::View view(runtime);
    services.messageBox.parent = [&view] { return view.activeWindow(); };

    program.run();
    view.afterEvent();
    return QApplication::exec();
}
