#include "app/Icons.h"

#include <QFile>
#include <QHash>
#include <QIconEngine>
#include <QPainter>

namespace {

// Reads the picture's files when it is first drawn. Qt's own engine decodes every file as
// soon as it is added, which made building the menus (whose pictures nobody sees until a
// menu opens) a visible share of the start-up. Everything else goes to that engine.
class OnDemandIconEngine : public QIconEngine
{
public:
    explicit OnDemandIconEngine(const QString &name) : m_name(name) {}

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return loaded().pixmap(size, mode, state);
    }
    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        loaded().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return loaded().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {QSize(16, 16), QSize(32, 32)}; }
    QIconEngine *clone() const override { return new OnDemandIconEngine(m_name); }
    QString key() const override { return QStringLiteral("tarnwick-on-demand"); }

private:
    const QIcon &loaded()
    {
        if (m_icon.isNull()) {
            m_icon.addFile(QStringLiteral(":/icons/16/%1.png").arg(m_name), QSize(16, 16));
            m_icon.addFile(QStringLiteral(":/icons/32/%1.png").arg(m_name), QSize(32, 32));
        }
        return m_icon;
    }

    QString m_name;
    QIcon m_icon;
};

} // namespace

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
    // its folders for every name).
    const QString file = QString::fromLatin1(name);
    const QIcon icon = QFile::exists(QStringLiteral(":/icons/16/%1.png").arg(file)) ? QIcon(new OnDemandIconEngine(file)) : QIcon();
    cache.insert(key, icon);
    return icon;
}

} // namespace Icons
