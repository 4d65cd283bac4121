#include "app/AppWindows.h"
#include "app/MainWindow.h"
#include "app/StartupTrace.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char *argv[])
{
    // Answered before the display is looked for, so it works on a console too.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::puts("Tarnwick " TARNWICK_VERSION);
        return EXIT_SUCCESS;
    }
#ifdef Q_OS_LINUX
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        std::fputs("tarnwick: nie znaleziono ekranu (brak DISPLAY i WAYLAND_DISPLAY).\n"
                   "No display found. To run without a screen use: xvfb-run -a tarnwick\n",
                   stderr);
        return EXIT_FAILURE;
    }
#endif
    StartupTrace::mark("main");
    QApplication app(argc, argv);
    StartupTrace::mark("application and display");
    QApplication::setApplicationName(QStringLiteral("Tarnwick"));
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland)); // dates and numbers in dialogs
    // The hicolor theme has it once installed; the copy compiled in under :/icons otherwise.
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("tarnwick")));

    QTranslator qtPolish;
    if (qtPolish.load(QLocale(QLocale::Polish), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtPolish);

    StartupTrace::mark("translations");
    AppWindows windows;
    StartupTrace::mark("windows built");
    MainWindow &mainWindow = windows.main();
    QObject::connect(&mainWindow, &MainWindow::programEnded, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    StartupTrace::markFirstPaint(&mainWindow);
    mainWindow.showMaximized();
    StartupTrace::mark("shown");
    return app.exec();
}
