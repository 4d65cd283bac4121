#include "app/AppWindows.h"
#include "app/CommandLine.h"
#include "app/MainWindow.h"
#include "app/StartupTrace.h"
#include "app/WindowState.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>

namespace {

const char kNoDisplayHint[] = "No display found. To run without a screen use: xvfb-run -a tarnwick\n";

QtMessageHandler g_qtMessages = nullptr;
bool g_displayUnreachable = false;

// While the application starts: a display named in DISPLAY or WAYLAND_DISPLAY that cannot be
// reached makes Qt abort with advice to reinstall. The user is told what is wrong instead,
// as when no display is named at all, and the program ends with an error.
void startupMessages(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.contains(QLatin1String("could not connect to display"))
        || message.contains(QLatin1String("Failed to create wl_display")))
        g_displayUnreachable = true;
    if (!g_displayUnreachable) {
        g_qtMessages(type, context, message);
        return;
    }
    if (type != QtFatalMsg)
        return;
    const QByteArray display = qgetenv("DISPLAY").isEmpty() ? qgetenv("WAYLAND_DISPLAY") : qgetenv("DISPLAY");
    std::fprintf(stderr, "tarnwick: nie można połączyć się z ekranem \"%s\".\n%s", display.constData(), kNoDisplayHint);
    std::fflush(stderr);
    std::_Exit(EXIT_FAILURE);
}

QStringList arguments(int argc, char *argv[])
{
    QStringList list;
    for (int i = 1; i < argc; ++i)
        list << QString::fromLocal8Bit(argv[i]);
    return list;
}

} // namespace

int main(int argc, char *argv[])
{
    // Help and version are answered before the display is looked for, so they work on a console.
    const CommandLine::Request early = CommandLine::parse(arguments(argc, argv));
    if (early.action == CommandLine::Action::Help || early.action == CommandLine::Action::Version) {
        const QString text = early.action == CommandLine::Action::Help ? CommandLine::helpText() : CommandLine::versionText();
        std::fputs(text.toLocal8Bit().constData(), stdout);
        return EXIT_SUCCESS;
    }
#ifdef Q_OS_LINUX
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        std::fprintf(stderr, "tarnwick: nie znaleziono ekranu (brak DISPLAY i WAYLAND_DISPLAY).\n%s", kNoDisplayHint);
        return EXIT_FAILURE;
    }
#endif
    StartupTrace::mark("main");
    g_qtMessages = qInstallMessageHandler(startupMessages);
    QApplication app(argc, argv);
    qInstallMessageHandler(g_qtMessages);
    StartupTrace::mark("application and display");
    QApplication::setApplicationName(QStringLiteral("Tarnwick"));
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland)); // dates and numbers in dialogs

    // Qt's own options (-platform, -display…) are gone from the arguments now.
    const CommandLine::Request request = CommandLine::parse(QApplication::arguments().mid(1));
    if (request.action == CommandLine::Action::Error) {
        std::fprintf(stderr, "%s\n", request.error.toLocal8Bit().constData());
        return 2;
    }

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
    WindowState::show(mainWindow);
    StartupTrace::mark("shown");
    // The same pictures the package installs into the hicolor theme, compiled in: asking the
    // icon theme would walk its folders at every start. Given to the window manager right
    // after the first paint: decoding four sizes (256 pixels the largest) before it would
    // hold the window back for nothing the user sees in it.
    StartupTrace::afterFirstPaint(&mainWindow, [] {
        QIcon icon;
        for (const int size : {16, 32, 48, 256})
            icon.addFile(QStringLiteral(":/icons/hicolor/%1x%1/apps/tarnwick.png").arg(size), QSize(size, size));
        QApplication::setWindowIcon(icon);
    });
    // Once the window is up, so that an error box about the file has a window to stand on.
    QTimer::singleShot(0, &mainWindow, [&mainWindow, files = request.files] { mainWindow.openPaths(files, true); });
    return app.exec();
}
