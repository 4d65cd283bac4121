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

// Runs `then` once, from the event loop, after the watched window has painted for the first time.
class AfterFirstPaint : public QObject
{
public:
    AfterFirstPaint(QWidget *window, std::function<void()> then) : QObject(window), m_then(std::move(then))
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, watched, m_then);
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> m_then;
};

} // namespace

void mark(const char *stage)
{
    if (enabled())
        std::fprintf(stderr, "%7.1f ms  %s\n", double(clock().nsecsElapsed()) / 1e6, stage);
}

void afterFirstPaint(QWidget *window, std::function<void()> then)
{
    new AfterFirstPaint(window, std::move(then));
}

void markFirstPaint(QWidget *window)
{
    if (!enabled())
        return;
    afterFirstPaint(window, [] {
        mark("first paint");
        if (qgetenv("TARNWICK_TRACE_STARTUP") == "quit")
            QCoreApplication::quit();
    });
}

} // namespace StartupTrace
