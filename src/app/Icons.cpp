#include "app/Icons.h"

#include <QHash>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QResource>

namespace {

constexpr int kSmall = 16, kLarge = 32;

QString pictureFile(const QString &name, int size)
{
    return QStringLiteral(":/icons/%1/%2.rgba").arg(size).arg(name);
}

// One size of a picture: raw RGBA bytes drawn from the SVG file at build time.
QPixmap picture(const QString &name, int size)
{
    const QByteArray bytes = QResource(pictureFile(name, size)).uncompressedData();
    if (bytes.size() != qsizetype(size) * size * 4)
        return {};
    const QImage image(reinterpret_cast<const uchar *>(bytes.constData()), size, size, QImage::Format_RGBA8888_Premultiplied);
    return QPixmap::fromImage(image); // copies the pixels: `bytes` may go
}

// Makes each size of the picture when it is first drawn; the menus' pictures cost nothing
// until a menu opens. The disabled and selected looks are Qt's own, made from those sizes.
class OnDemandIconEngine : public QIconEngine
{
public:
    explicit OnDemandIconEngine(const QString &name) : m_name(name) {}

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return loaded(size).pixmap(size, mode, state);
    }
    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const QSize device = rect.size() * painter->device()->devicePixelRatio();
        loaded(device).paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return loaded(size).actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {QSize(kSmall, kSmall), QSize(kLarge, kLarge)}; }
    QIconEngine *clone() const override { return new OnDemandIconEngine(m_name); }
    QString key() const override { return QStringLiteral("tarnwick-on-demand"); }

private:
    const QIcon &loaded(const QSize &wanted)
    {
        const bool large = wanted.width() > kSmall || wanted.height() > kSmall;
        if (!m_small) {
            m_icon.addPixmap(picture(m_name, kSmall));
            m_small = true;
        }
        if (large && !m_large) {
            m_icon.addPixmap(picture(m_name, kLarge));
            m_large = true;
        }
        return m_icon;
    }

    QString m_name;
    QIcon m_icon;
    bool m_small = false, m_large = false;
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
    const QIcon icon = QResource(pictureFile(file, kSmall)).isValid() ? QIcon(new OnDemandIconEngine(file)) : QIcon();
    cache.insert(key, icon);
    return icon;
}

} // namespace Icons
