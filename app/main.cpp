// Zifferix: a mental-arithmetic trainer for schoolchildren.

#include "app/Options.h"
#include "app/Screens.h"
#include "qt/ClassClient.h"
#include "qt/Fonts.h"
#include "qt/QtServices.h"
#include "qt/ResultOutbox.h"
#include "qt/StateFolder.h"
#include "qt/View.h"
#include "start/Zifferix.h"

#include <QApplication>
#include <QIcon>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QTimer>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <langinfo.h>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// A fresh machine often has no locale at all. The program's texts are UTF-8 whatever the
// locale; the system libraries beneath Qt need a UTF-8 character type to agree, and
// C.UTF-8 is on every Debian machine.
void chooseUtf8Characters() {
    std::setlocale(LC_ALL, "");
    if (std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0) {
        return;
    }
    const char* all = std::getenv("LC_ALL");
    setenv(all != nullptr && *all != '\0' ? "LC_ALL" : "LC_CTYPE", "C.UTF-8", 1);
    std::setlocale(LC_ALL, "");
}

// Without a desktop session there is no runtime directory; give Qt the private one it would
// make itself, without it warning about it on the terminal.
void ensureRuntimeDirectory() {
    const char* given = std::getenv("XDG_RUNTIME_DIR");
    if (given != nullptr && *given != '\0') {
        return;
    }
    const std::string dir = "/tmp/runtime-" + std::to_string(getuid());
    struct stat info {};
    if (mkdir(dir.c_str(), 0700) == 0 ||
        (stat(dir.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == getuid() &&
         (info.st_mode & 0777) == 0700)) {
        setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
    }
}

// An animation frame is a few small rectangles. Qt's own event loop wakes for it with fewer
// system calls than GLib's, and the rectangles cost less through the X socket than through
// shared memory, which wakes the program once more every frame to hear that they were copied.
// Whoever sets these variables differently keeps their choice.
void chooseLightAnimation() {
    for (const char* variable : {"QT_NO_GLIB", "QT_XCB_NO_MITSHM"}) {
        setenv(variable, "1", 0);
    }
}

// Qt 6.4 reports no wish for more contrast (6.10 brings one); a desktop set to a high-contrast
// theme names it to GTK programs, and Qt programs read the same.
bool desktopAsksForContrast() {
    const char* theme = std::getenv("GTK_THEME");
    return theme != nullptr && strcasestr(theme, "contrast") != nullptr;
}

constexpr const char* kClassGone = "Diese Klasse gibt es nicht mehr.\n"
                                   "Du kannst trotzdem spielen, nur geht nichts an die Klasse.";
constexpr int kInformation = 64;

} // namespace

int main(int argc, char* argv[]) {
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    const zifferix::Options options = zifferix::parseOptions(arguments);
    switch (options.action) {
    case zifferix::Options::Action::Help:
        std::fputs(zifferix::usage().c_str(), stdout);
        return 0;
    case zifferix::Options::Action::Version:
        std::fputs(zifferix::version().c_str(), stdout);
        return 0;
    case zifferix::Options::Action::Refuse:
        std::fprintf(stderr, "zifferix: %s\n", options.error.c_str());
        return 2;
    case zifferix::Options::Action::Run:
        break;
    }

    chooseUtf8Characters();
    ensureRuntimeDirectory();
    chooseLightAnimation();
    int qtArgc = 1; // the command line is ours: Qt takes its settings from the environment
    QApplication app(qtArgc, argv);
    QApplication::setApplicationName(QStringLiteral("Zifferix"));
    QApplication::setDesktopFileName(QStringLiteral("org.zifferix.Zifferix"));
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setQuitOnLastWindowClosed(false); // the start screen's exit button ends it

    qt::installFontSubstitutes();
    // The screens fill the screen's free area, or take the zoom the command line gives.
    qt::QtServices services(options.zoom);
    // One font family for everything, the message boxes grown with the screens.
    QApplication::setFont(qt::qfont(forms::Font{}, services.screen.zoom().factor()));

    // Only in a class does the desktop keep or send anything. Made before the program, so that
    // a game it ends on its way out still finds them.
    std::optional<QNetworkAccessManager> network;
    std::optional<qt::ResultOutbox> outbox;
    std::optional<qt::ClassClient> joined;

    forms::Runtime runtime(services.services());
    zifferix::Zifferix program(runtime, zifferix::screens());
    qt::View view(runtime, &services.screen);
    services.messageBox.parent = [&view] { return view.activeWindow(); };

    if (options.choice.contrast || desktopAsksForContrast()) {
        view.setContrast(forms::Contrast::More);
    }
    const auto begin = [&] {
        program.run();
        view.afterEvent();
        if (options.choice.readAloud && !view.readAloud()) {
            std::fputs(
                "zifferix: Vorlesen geht hier nicht: Dieses Gerät hat keine deutsche Stimme.\n",
                stderr);
        }
        program.choose(options.choice);
        view.afterEvent();
    };
    if (options.klasse) {
        // A school's network may reach its server only through the proxy it names in
        // http_proxy, https_proxy and no_proxy.
        QNetworkProxyFactory::setUseSystemConfiguration(true);
        network.emplace();
        const QString state = qt::stateFolder();
        outbox.emplace(*network, state);
        outbox->resume();
        joined.emplace(*network, *outbox, QUrl(QString::fromStdString(options.klasse->site)),
                       QString::fromStdString(options.klasse->id), state);
        // The windows come when the service has answered, or after its short time-out.
        joined->fetch([&](const qt::ClassFound& found) {
            if (found.state == qt::ClassFound::State::Gone) {
                services.messageBox.show(kClassGone, kInformation, "Zifferix", begin);
                return;
            }
            program.joinClass(*joined, found.info);
            begin();
        });
    } else {
        begin();
    }
    // The icon is drawn from SVG: not needed before the window is on the screen.
    QTimer::singleShot(
        0, [] { QApplication::setWindowIcon(QIcon(QStringLiteral(":/assets/zifferix.svg"))); });
    return QApplication::exec();
}
