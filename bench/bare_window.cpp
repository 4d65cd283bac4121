// The smallest Qt + QScintilla program: the start-up time every editor pays at least.
// With TARNWICK_TRACE_STARTUP=quit it ends right after its first paint, as the program does.
#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QTimer>

namespace {

class QuitAfterFirstPaint : public QObject
{
protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return false;
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("bare window"));
    window.setCentralWidget(new QsciScintilla);
    window.resize(1032, 746);
    QuitAfterFirstPaint quit;
    if (qgetenv("TARNWICK_TRACE_STARTUP") == "quit")
        window.installEventFilter(&quit);
    window.show();
    return app.exec();
}
