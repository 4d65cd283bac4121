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
    // Before the window is first shown its layout asks for room for every toolbar button in
    // one row; once shown, the toolbars fold into their overflow buttons. The smaller need is
    // the real one, so that a saved size narrower than all the buttons comes back as it was.
    window.setMinimumSize(window.minimumSizeHint());
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
