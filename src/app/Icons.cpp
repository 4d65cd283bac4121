#include "app/Icons.h"

#include <QFile>
#include <QHash>

// The resources live in a static library: they are registered on first use.
static void registerResources()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(tarnwick);
        return true;
    }();
    Q_UNUSED(registered);
}

namespace Icons {

QIcon get(const char *name)
{
    if (!name)
        return {};
    registerResources();
    static QHash<QByteArray, QIcon> cache;
    const QByteArray key(name);
    if (auto it = cache.constFind(key); it != cache.constEnd())
        return *it;
    const QString file = QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name));
    const QIcon own = QFile::exists(file) ? QIcon(file) : QIcon();
    QIcon icon = QIcon::fromTheme(QString::fromLatin1(name), own);
    cache.insert(key, icon);
    return icon;
}

} // namespace Icons
