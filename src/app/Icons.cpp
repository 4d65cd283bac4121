#include "app/Icons.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace Icons {
namespace {

struct Drawing {
    const char *name;
    const char *glyph; // text drawn on the picture; empty for a shape
    QRgb colour;
    int shape; // 0: page, 1: text only, 2: arrow left, 3: arrow right, 4: square, 5: circle arrow
    bool bold = true, italic = false, underline = false, strike = false;
};

const Drawing kDrawings[] = {
    {"document-new", "", 0xFF2060C0, 0},
    {"document-open", "", 0xFFC08020, 0},
    {"document-save", "", 0xFF2080A0, 4},
    {"document-print", "P", 0xFF606060, 1},
    {"application-exit", "×", 0xFFC02020, 1},
    {"edit-find", "?", 0xFF206020, 1},
    {"edit-undo", "", 0xFF204080, 2},
    {"edit-redo", "", 0xFF204080, 3},
    {"edit-copy", "", 0xFF4060A0, 0},
    {"edit-paste", "", 0xFF806020, 4},
    {"edit-cut", "✂", 0xFF404040, 1},
    {"edit-delete", "✕", 0xFFA02020, 1},
    {"edit-select-all", "▣", 0xFF404080, 1},
    {"format-text-bold", "B", 0xFF000000, 1},
    {"format-text-italic", "I", 0xFF000000, 1, true, true},
    {"format-text-underline", "U", 0xFF000000, 1, true, false, true},
    {"format-text-strikethrough", "S", 0xFF000000, 1, true, false, false, true},
    {"format-justify-left", "≡", 0xFF303030, 1},
    {"format-justify-center", "≡", 0xFF303030, 1},
    {"format-justify-right", "≡", 0xFF303030, 1},
    {"format-justify-fill", "≡", 0xFF303030, 1},
    {"insert-link", "@", 0xFF2040C0, 1},
    {"insert-image", "▲", 0xFF208040, 1},
    {"help-about", "i", 0xFF2060C0, 1},
    {"templates", "T", 0xFF806000, 1},
    {"wizard", "W", 0xFF600080, 1},
    {"go-previous", "", 0xFF206020, 2},
    {"go-next", "", 0xFF206020, 3},
    {"process-stop", "■", 0xFFC02020, 1},
    {"view-refresh", "", 0xFF206020, 5},
};

QPixmap draw(const Drawing &d)
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor c = QColor::fromRgba(d.colour);
    switch (d.shape) {
    case 0: { // a page with a folded corner
        QPainterPath page;
        page.moveTo(3, 1); page.lineTo(10, 1); page.lineTo(13, 4); page.lineTo(13, 15); page.lineTo(3, 15);
        page.closeSubpath();
        p.fillPath(page, Qt::white);
        p.setPen(c);
        p.drawPath(page);
        p.drawLine(5, 7, 11, 7); p.drawLine(5, 10, 11, 10);
        break;
    }
    case 2:
    case 3: {
        QPainterPath arrow;
        const bool left = d.shape == 2;
        arrow.moveTo(left ? 2 : 14, 8);
        arrow.lineTo(left ? 8 : 8, 3);
        arrow.lineTo(left ? 8 : 8, 6);
        arrow.lineTo(left ? 14 : 2, 6);
        arrow.lineTo(left ? 14 : 2, 10);
        arrow.lineTo(8, 10);
        arrow.lineTo(8, 13);
        arrow.closeSubpath();
        p.fillPath(arrow, c);
        break;
    }
    case 4:
        p.fillRect(QRectF(3, 3, 10, 10), c);
        p.fillRect(QRectF(5, 3, 6, 4), Qt::white);
        break;
    case 5:
        p.setPen(QPen(c, 2));
        p.drawArc(QRectF(3, 3, 10, 10), 30 * 16, 300 * 16);
        break;
    default: {
        QFont f(QStringLiteral("Sans Serif"));
        f.setPixelSize(13);
        f.setBold(d.bold);
        f.setItalic(d.italic);
        f.setUnderline(d.underline);
        f.setStrikeOut(d.strike);
        p.setFont(f);
        p.setPen(c);
        p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QString::fromUtf8(d.glyph));
    }
    }
    return pm;
}

} // namespace

QIcon get(const char *name)
{
    if (!name)
        return {};
    static QHash<QByteArray, QIcon> cache;
    const QByteArray key(name);
    if (auto it = cache.constFind(key); it != cache.constEnd())
        return *it;
    QIcon drawn;
    for (const Drawing &d : kDrawings)
        if (key == d.name)
            drawn = QIcon(draw(d));
    QIcon icon = QIcon::fromTheme(QString::fromLatin1(name), drawn);
    cache.insert(key, icon);
    return icon;
}

} // namespace Icons
