#include "controls/DiskWatch.h"

#include "core/Failure.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>

namespace DiskWatch {

namespace {

// Changes on disk come in bursts (a save writes a temporary file and renames it): the lists
// follow once a burst has passed, well within a second.
constexpr int kSettleMs = 100;

} // namespace

QTimer *settleTimer(QObject *parent)
{
    auto *timer = new QTimer(parent);
    timer->setSingleShot(true);
    timer->setInterval(kSettleMs);
    return timer;
}

QString enterNearestFolder(const QString &path)
{
    QString dir = QDir::cleanPath(QDir(path).absolutePath());
    for (;;) {
        if (QFileInfo(dir).isDir()) {
            if (QDir::setCurrent(dir))
                return dir;
            throw Failure(QStringLiteral("Nie można otworzyć folderu \"%1\": brak dostępu.")
                              .arg(QDir::toNativeSeparators(dir)));
        }
        const QString parent = QDir::cleanPath(dir + QStringLiteral("/.."));
        if (parent == dir)
            throw Failure(QStringLiteral("Nie można otworzyć folderu \"%1\".").arg(QDir::toNativeSeparators(path)));
        dir = parent;
    }
}

} // namespace DiskWatch
