#include "app/Icons.h"

#include <QFile>
#include <QHash>

namespace Icons {

QIcon get(const char *name)
{
    if (!name)
        return {};
    static QHash<QByteArray, QIcon> cache;
    const QByteArray key(name);
    if (auto it = cache.constFind(key); it != cache.constEnd())
        return *it;
    // The program's own pictures, the same on every desktop (asking the icon theme would walk
    // its folders for every name). Each file is read when the picture is first drawn.
    QIcon icon;
    const QString small = QStringLiteral(":/icons/16/%1.png").arg(QLatin1String(name));
    if (QFile::exists(small)) {
        icon.addFile(small, QSize(16, 16));
        icon.addFile(QStringLiteral(":/icons/32/%1.png").arg(QLatin1String(name)), QSize(32, 32));
    }
    cache.insert(key, icon);
    return icon;
}

} // namespace Icons
