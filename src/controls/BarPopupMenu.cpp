#include "controls/BarPopupMenu.h"

#include "controls/FreeButton.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QStyle>

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

int BarPopupMenu::frameWidth() const
{
    // Fusion draws a one-pixel frame on the menu's edge but reports no panel width, so its
    // items would lie on the frame; a style that reports one already places them inside it.
    return style()->pixelMetric(QStyle::PM_MenuPanelWidth, nullptr, this) > 0 ? 0 : 1;
}

void BarPopupMenu::setBarWidth(int width)
{
    m_barWidth = width;
    // The reserved width sits left of every item, inside the frame; the items lie right of it.
    const int frame = frameWidth();
    setContentsMargins(width + frame, frame, frame, frame);
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

    // The bar's top-left corner: the first item's top, BarWidth left of the items. Row
    // TotalHeight, where the gradient reaches its end colour, lies below the item column on
    // the frame, and the bar keeps off the frame.
    const int left = column.left() - m_barWidth;
    const int top = column.top();
    const int barRight = left + m_barWidth - 2; // two columns stay the menu's own

    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setClipRect(QRect(left, top, m_barWidth - 2, total));
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

    if (m_bitmap && !m_bitmap->isNull())
        drawPicture(p, left, top, total);
}

void BarPopupMenu::drawPicture(QPainter &p, int left, int top, int total)
{
    const QPixmap &pic = *m_bitmap;
    const int by = BitmapVertAlignment == bvaTop      ? BitmapOffsetY
                   : BitmapVertAlignment == bvaBottom ? total + BitmapOffsetY - pic.height()
                                                      : (total - pic.height()) / 2 + BitmapOffsetY;
    const int bx = BitmapHorzAlignment == bhaLeft    ? BitmapOffsetX
                   : BitmapHorzAlignment == bhaRight ? m_barWidth - 2 + BitmapOffsetX - pic.width()
                                                     : (m_barWidth - 2 - pic.width()) / 2 + BitmapOffsetX;
    // Not clipped to the bar, but kept inside the frame.
    p.setClipRect(rect().marginsRemoved(QMargins(frameWidth(), frameWidth(), frameWidth(), frameWidth())));
    QImage shown = pic.toImage().convertToFormat(QImage::Format_ARGB32);
    if (m_transparent) {
        // The picture's bottom-left pixel names its transparent colour, as bitmaps do: every
        // pixel of that colour lets the bar show through.
        const QRgb key = shown.pixel(0, shown.height() - 1);
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                if (shown.pixel(x, y) == key)
                    shown.setPixel(x, y, qRgba(0, 0, 0, 0));
    }
    p.drawImage(left + bx, top + by, shown);
}
