#pragma once

#include <QObject>
#include <QtGlobal>

// A control of a window by its design name; the test fails on the first use of a missing one.
template <typename W>
W *control(const QObject *window, const char *name)
{
    W *w = window->findChild<W *>(QLatin1String(name));
    if (!w)
        qFatal("no control named %s", name);
    return w;
}
