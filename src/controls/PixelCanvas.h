#pragma once

#include "controls/FreeButton.h"

#include <QImage>
#include <QPainter>

// Pixel drawing with the conventions of the platform the button was designed on: the right
// and bottom edges of a rectangle lie outside it, and a line does not paint its end point.
class PixelCanvas
{
public:
    explicit PixelCanvas(QImage &image) : m_image(image) {}

    using TColor = Colors::TColor;

    void pixel(int x, int y, TColor c)
    {
        if (x >= 0 && y >= 0 && x < m_image.width() && y < m_image.height())
            m_image.setPixel(x, y, FreeButton::toQColor(c).rgb());
    }

    void fillRect(int l, int t, int r, int b, TColor c)
    {
        for (int y = qMax(t, 0); y < qMin(b, m_image.height()); ++y)
            for (int x = qMax(l, 0); x < qMin(r, m_image.width()); ++x)
                m_image.setPixel(x, y, FreeButton::toQColor(c).rgb());
    }

    // A horizontal or vertical line; a 2-pixel pen also covers the next row or column.
    void line(int x0, int y0, int x1, int y1, TColor c, int width = 1)
    {
        const int dx = x1 > x0 ? 1 : x1 < x0 ? -1 : 0;
        const int dy = y1 > y0 ? 1 : y1 < y0 ? -1 : 0;
        for (int x = x0, y = y0; x != x1 || y != y1; x += dx, y += dy) {
            pixel(x, y, c);
            if (width > 1)
                dy == 0 ? pixel(x, y + 1, c) : pixel(x + 1, y, c);
        }
    }

    // A rectangle with corners rounded by a 4 × 4 ellipse: the corner pixel is cut and the
    // pixel diagonally inside it carries the outline.
    void roundRect(int l, int t, int r, int b, TColor pen, TColor brush)
    {
        if (r - l < 1 || b - t < 1)
            return;
        for (int y = t + 1; y <= b - 2; ++y) {
            const bool edgeRow = y == t + 1 || y == b - 2;
            fillRect(edgeRow ? l + 2 : l + 1, y, edgeRow ? r - 2 : r - 1, y + 1, brush);
        }
        for (int x = l + 2; x <= r - 3; ++x) {
            pixel(x, t, pen);
            pixel(x, b - 1, pen);
        }
        for (int y = t + 2; y <= b - 3; ++y) {
            pixel(l, y, pen);
            pixel(r - 1, y, pen);
        }
        pixel(l + 1, t + 1, pen);
        pixel(r - 2, t + 1, pen);
        pixel(l + 1, b - 2, pen);
        pixel(r - 2, b - 2, pen);
    }

    void polygon(const QPolygon &points, TColor pen, TColor brush)
    {
        QPainter p(&m_image);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(FreeButton::toQColor(pen), 1));
        p.setBrush(FreeButton::toQColor(brush));
        p.drawPolygon(points);
    }

    // Text with hard edges, as the platform's plain text output draws it.
    void text(int x, int y, const QString &s, const QFont &font, TColor c)
    {
        if (s.isEmpty())
            return;
        QPainter p(&m_image);
        p.setRenderHint(QPainter::TextAntialiasing, false);
        QFont hard = font;
        hard.setStyleStrategy(QFont::NoAntialias);
        p.setFont(hard);
        p.setPen(FreeButton::toQColor(c));
        const QFontMetrics fm(font);
        p.drawText(QRect(x, y, fm.horizontalAdvance(s) + 4, fm.height()), Qt::AlignLeft | Qt::AlignTop, s);
    }

    // The keyboard focus: a dotted rectangle, every other pixel of its outline.
    void dottedRect(int l, int t, int r, int b, TColor c)
    {
        for (int x = l; x <= r; ++x)
            for (int y : {t, b})
                if ((x + y) % 2 == 0)
                    pixel(x, y, c);
        for (int y = t + 1; y < b; ++y)
            for (int x : {l, r})
                if ((x + y) % 2 == 0)
                    pixel(x, y, c);
    }

    void image(int x, int y, const QImage &src)
    {
        QPainter p(&m_image);
        p.drawImage(x, y, src);
    }

private:
    QImage &m_image;
};
