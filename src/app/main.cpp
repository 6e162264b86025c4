#include <QApplication>
#include <QByteArray>
#include <cstdio>
#include <cstring>

#include "app/accessible.h"
#include "app/main_window.h"

namespace {

// True when Qt has a platform to show the window on. Without a display the
// toolkit would stop with a terse plugin error; say what to do instead.
bool HasDisplay(int argc, char** argv) {
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0) return true;
    }
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        if (!qEnvironmentVariableIsEmpty(name)) return true;
    }
    return false;
#else
    (void)argc;
    (void)argv;
    return true;
#endif
}

}  // namespace

int main(int argc, char** argv) {
    if (!HasDisplay(argc, argv)) {
        std::fputs(
            "quorvane: there is no display to show the window on (neither DISPLAY nor\n"
            "WAYLAND_DISPLAY is set). Start it from a desktop session, or under a virtual\n"
            "display:\n"
            "    xvfb-run -a quorvane\n"
            "or serve the window over VNC and connect a VNC viewer to port 5900:\n"
            "    QT_QPA_PLATFORM=vnc quorvane\n",
            stderr);
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    QApplication::setApplicationVersion(QStringLiteral("0.9992"));
    QApplication::setDesktopFileName(QStringLiteral("quorvane"));
    // The platform's own look, with the underlines of the controls' Alt+letters.
    QApplication::setStyle(MnemonicStyle());
    TforMain forMain;
    forMain.show();
    return QApplication::exec();
}
