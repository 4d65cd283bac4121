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
    // The program's own pictures, the same on every desktop. Asking the icon theme first costs
    // a walk through its folders for every name, a large share of the start-up time.
    const QString file = QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name));
    QIcon icon = QFile::exists(file) ? QIcon(file) : QIcon();
    cache.insert(key, icon);
    return icon;
}

} // namespace Icons
