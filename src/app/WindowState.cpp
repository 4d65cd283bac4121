#include "app/WindowState.h"

#include <QMainWindow>
#include <QSettings>

namespace {

const QString kGeometryKey = QStringLiteral("MainWindow/geometry");

QSettings settings()
{
    return QSettings(QStringLiteral("Tarnwick"), QStringLiteral("Tarnwick"));
}

} // namespace

void WindowState::show(QMainWindow &window)
{
    const QByteArray geometry = settings().value(kGeometryKey).toByteArray();
    // restoreGeometry also brings back the maximised state, and moves a window that would
    // lie off every screen (a monitor unplugged since) back onto one.
    if (geometry.isEmpty() || !window.restoreGeometry(geometry)) {
        window.showMaximized();
        return;
    }
    window.show();
}

void WindowState::save(const QMainWindow &window)
{
    settings().setValue(kGeometryKey, window.saveGeometry());
}
