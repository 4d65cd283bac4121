#include "app/StartupTrace.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace StartupTrace {

namespace {

bool enabled()
{
    static const bool on = qEnvironmentVariableIsSet("TARNWICK_TRACE_STARTUP");
    return on;
}

QElapsedTimer &clock()
{
    static QElapsedTimer timer;
    if (!timer.isValid())
        timer.start();
    return timer;
}

class FirstPaint : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            mark("first paint");
            if (qgetenv("TARNWICK_TRACE_STARTUP") == "quit")
                QTimer::singleShot(0, qApp, &QCoreApplication::quit);
            watched->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }
};

} // namespace

void mark(const char *stage)
{
    if (enabled())
        std::fprintf(stderr, "%7.1f ms  %s\n", double(clock().nsecsElapsed()) / 1e6, stage);
}

void markFirstPaint(QWidget *window)
{
    if (enabled())
        window->installEventFilter(new FirstPaint(window));
}

} // namespace StartupTrace
