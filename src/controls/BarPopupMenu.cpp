#include "controls/BarPopupMenu.h"

#include "controls/FreeButton.h"

#include <QApplication>
#include <QBitmap>
#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>

BarPopupMenu::BarPopupMenu(QWidget *parent)
    : QMenu(parent)
{
    m_verticalFont = QFont(QStringLiteral("Tahoma"));
    m_verticalFont.setPointSize(14);
    m_verticalFont.setBold(true);
    m_verticalFont.setItalic(true);
    m_verticalText = QApplication::applicationName();
    setBarWidth(m_barWidth);
}

void BarPopupMenu::setBarWidth(int width)
{
    m_barWidth = width;
    // The reserved width sits left of every item; the items are laid out right of it.
    QMargins m = contentsMargins();
    m.setLeft(width);
    setContentsMargins(m);
}

QPixmap &BarPopupMenu::Bitmap()
{
    if (!m_bitmap) {
        m_bitmap = QPixmap();
        m_transparent = true;
    }
    return *m_bitmap;
}

void BarPopupMenu::setBitmap(const QPixmap &picture)
{
    Bitmap() = picture.copy();
}

QRect BarPopupMenu::itemColumn() const
{
    QRect column;
    for (QAction *a : actions())
        if (a->isVisible())
            column = column.united(actionGeometry(a));
    return column;
}

int BarPopupMenu::TotalHeight() const
{
    int total = 0;
    for (QAction *a : actions())
        if (a->isVisible())
            total += actionGeometry(a).height();
    return total;
}

Colors::TColor BarPopupMenu::barColour(Colors::TColor start, Colors::TColor end, int y, int total)
{
    if (start == end)
        return FreeButton::ResolveSystemColor(start);
    const Colors::TColor s = FreeButton::ResolveSystemColor(start);
    const Colors::TColor e = FreeButton::ResolveSystemColor(end);
    if (total <= 0)
        return s; // no item has any height: nothing to spread the gradient over
    return Colors::rgb(Colors::gradientChannel(Colors::red(s), Colors::red(e), y, total),
                       Colors::gradientChannel(Colors::green(s), Colors::green(e), y, total),
                       Colors::gradientChannel(Colors::blue(s), Colors::blue(e), y, total));
}

void BarPopupMenu::paintEvent(QPaintEvent *event)
{
    QMenu::paintEvent(event);
    const int total = TotalHeight();
    const QRect column = itemColumn();
    if (total <= 0 || column.isEmpty())
        return;

    // The bar's top-left corner: the first item's top, BarWidth left of the items.
    const int left = column.left() - m_barWidth;
    const int top = column.top();
    const int barRight = left + m_barWidth - 2; // two columns stay the menu's own

    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setClipRect(QRect(left, top, m_barWidth - 2, total + 1));
    if (m_gradientStart == m_gradientEnd) {
        p.fillRect(QRect(left, top, barRight - left, total + 1), FreeButton::toQColor(barColour(m_gradientStart, m_gradientEnd, 0, total)));
    } else {
        for (int y = 0; y <= total; ++y)
            p.fillRect(QRect(left, top + y, barRight - left, 1),
                       FreeButton::toQColor(barColour(m_gradientStart, m_gradientEnd, y, total)));
    }

    int textY = total + m_verticalTextOffsetY;
    if (m_bitmap && !m_bitmap->isNull() && BitmapVertAlignment == bvaBottom)
        textY -= m_bitmap->height();
    if (!m_verticalText.isEmpty()) {
        const QFontMetrics fm(m_verticalFont);
        const int textX = Colors::barTextX(m_barWidth, fm.height());
        p.save();
        p.setFont(m_verticalFont);
        p.setPen(FreeButton::toQColor(m_verticalFontColor));
        // Turned 90 degrees counter-clockwise: the text starts at textY and runs upwards,
        // the top of its letters toward the left edge.
        p.translate(left + textX, top + textY);
        p.rotate(-90);
        p.drawText(QRect(0, 0, fm.horizontalAdvance(m_verticalText) + 4, fm.height()),
                   Qt::AlignLeft | Qt::AlignTop, m_verticalText);
        p.restore();
    }

    if (m_bitmap && !m_bitmap->isNull()) {
        const QPixmap &pic = *m_bitmap;
        const int by = BitmapVertAlignment == bvaTop      ? BitmapOffsetY
                       : BitmapVertAlignment == bvaBottom ? total + BitmapOffsetY - pic.height()
                                                          : (total - pic.height()) / 2 + BitmapOffsetY;
        const int bx = BitmapHorzAlignment == bhaLeft    ? BitmapOffsetX
                       : BitmapHorzAlignment == bhaRight ? m_barWidth - 2 + BitmapOffsetX - pic.width()
                                                         : (m_barWidth - 2 - pic.width()) / 2 + BitmapOffsetX;
        p.setClipping(false);
        QPixmap shown = pic;
        if (m_transparent) {
            // The picture's bottom-left pixel names its transparent colour, as bitmaps do.
            const QImage img = pic.toImage();
            shown.setMask(QBitmap::fromImage(img.createMaskFromColor(img.pixel(0, img.height() - 1), Qt::MaskOutColor)));
        }
        p.drawPixmap(left + bx, top + by, shown);
    }
}
