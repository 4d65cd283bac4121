#include "app/AppWindows.h"
#include "app/MainWindow.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
#ifdef Q_OS_LINUX
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        std::fputs("tarnwick: nie znaleziono ekranu (brak DISPLAY i WAYLAND_DISPLAY).\n"
                   "No display found. To run without a screen use: xvfb-run -a tarnwick\n",
                   stderr);
        return EXIT_FAILURE;
    }
#endif
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarnwick"));

    QTranslator qtPolish;
    if (qtPolish.load(QLocale(QLocale::Polish), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtPolish);

    AppWindows windows;
    MainWindow &mainWindow = windows.main();
    QObject::connect(&mainWindow, &MainWindow::programEnded, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    mainWindow.showMaximized();
    return app.exec();
}
