#pragma once

#include "controls/Colors.h"

#include <QFont>
#include <QMenu>
#include <QPixmap>
#include <optional>

class QPainter;

// A popup menu with a side bar down its left edge: a vertical gradient, a text running
// upwards and an optional picture. The items keep their standard look, moved right of the bar.
class BarPopupMenu : public QMenu
{
    Q_OBJECT
public:
    enum TBitmapVertAlignment { bvaTop, bvaBottom, bvaMiddle };
    enum TBitmapHorzAlignment { bhaLeft, bhaRight, bhaCenter };

    explicit BarPopupMenu(QWidget *parent = nullptr);

    int BarWidth() const { return m_barWidth; }
    void setBarWidth(int width);
    Colors::TColor GradientStart() const { return m_gradientStart; }
    void setGradientStart(Colors::TColor c) { m_gradientStart = c; }
    Colors::TColor GradientEnd() const { return m_gradientEnd; }
    void setGradientEnd(Colors::TColor c) { m_gradientEnd = c; }
    QString VerticalText() const { return m_verticalText; }
    void setVerticalText(const QString &text) { m_verticalText = text; }
    QFont VerticalFont() const { return m_verticalFont; }
    Colors::TColor VerticalFontColor() const { return m_verticalFontColor; }
    void setVerticalFont(const QFont &font, Colors::TColor colour)
    {
        m_verticalFont = font;
        m_verticalFontColor = colour;
    }
    int VerticalTextOffsetY() const { return m_verticalTextOffsetY; }
    void setVerticalTextOffsetY(int offset) { m_verticalTextOffsetY = offset; }

    // The picture is created empty and transparent on first use.
    QPixmap &Bitmap();
    void setBitmap(const QPixmap &picture);
    bool Transparent() const { return m_bitmap && m_transparent; }
    void setTransparent(bool on)
    {
        if (m_bitmap)
            m_transparent = on;
    }
    int BitmapOffsetX = 0;
    int BitmapOffsetY = 0;
    TBitmapVertAlignment BitmapVertAlignment = bvaBottom;
    TBitmapHorzAlignment BitmapHorzAlignment = bhaLeft;

    // The height of the visible item column, as measured for the current popup.
    int TotalHeight() const;
    // The bar's colour at row y of the item column (0 is the top row).
    static Colors::TColor barColour(Colors::TColor start, Colors::TColor end, int y, int total);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // The picture on the bar, placed by its alignment and offsets.
    void drawPicture(QPainter &p, int left, int top, int total);
    QRect itemColumn() const;
    int frameWidth() const; // the frame the items must keep clear of, beyond the style's own

    int m_barWidth = 31;
    Colors::TColor m_gradientStart = 0xFF0000;
    Colors::TColor m_gradientEnd = 0;
    QString m_verticalText;
    QFont m_verticalFont;
    Colors::TColor m_verticalFontColor = 0xFFFFFF;
    int m_verticalTextOffsetY = -6;
    std::optional<QPixmap> m_bitmap;
    bool m_transparent = true;
};
