#pragma once

#include "controls/Colors.h"

#include <QFont>
#include <QImage>
#include <QPixmap>
#include <QWidget>

// A self-painted push button: a rounded, bevelled face over a background colour, a drop
// shadow that follows the pointer, a caption with its shadow, an optional glyph and a small
// light in the corner that flips on every release. Tab gives it the focus (a dotted rectangle
// inside the face shows it); Space or Enter then presses it like the left mouse button.
class FreeButton : public QWidget
{
    Q_OBJECT
public:
    enum TTextPosition { tpTopLeft, tpMiddleLeft, tpBottomLeft, tpTopCenter, tpMiddleCenter, tpMiddleBottom,
                         tpTopRight, tpMiddleRight, tpBottomRight };
    enum TGlyphPosition { gpTopLeft, gpMiddleLeft, gpBottomLeft, gpTopCenter, gpMiddleCenter, gpMiddleBottom,
                          gpTopRight, gpMiddleRight, gpBottomRight };
    enum TCustomColor { ccLeather, ccOldGold, ccBuffedGold, ccBottleGreen, ccEmerald, ccGlass, ccNight, ccGirder,
                        ccBrushedSteel, ccTwilight, ccSapphire, ccSky, ccRoyalPurple, ccShadows, ccPastels, ccRoyal,
                        ccRuby, ccRose, ccNone };
    enum TMouseState { Normal, Pressed, Hover };

    explicit FreeButton(QWidget *parent = nullptr);

    // The platform's system colour n (0..24) as RGB from the current palette; other values
    // come back unchanged.
    static Colors::TColor ResolveSystemColor(Colors::TColor colour);
    static QColor toQColor(Colors::TColor c) { return QColor(Colors::red(c), Colors::green(c), Colors::blue(c)); }

    Colors::TColor DrawColor() const { return m_drawColor; }
    void setDrawColor(Colors::TColor c);
    Colors::TColor LightColor() const { return m_lightColor; }
    void setLightColor(Colors::TColor c);
    Colors::TColor BackColor() const { return m_backColor; }
    void setBackColor(Colors::TColor c);
    TCustomColor CustomColor() const { return m_customColor; }
    void setCustomColor(TCustomColor c);
    QString Caption() const { return m_caption; }
    void setCaption(const QString &caption);
    QFont Font() const { return m_font; }
    Colors::TColor FontColor() const { return m_fontColor; }
    void setCaptionFont(const QFont &font, Colors::TColor colour);
    TTextPosition TextPosition() const { return m_textPosition; }
    void setTextPosition(TTextPosition p);
    bool DrawDropShadow() const { return m_drawDropShadow; }
    void setDrawDropShadow(bool on);
    QPixmap Glyph() const { return m_glyph; }
    void setGlyph(const QPixmap &glyph);
    TGlyphPosition GlyphPosition() const { return m_glyphPosition; }
    void setGlyphPosition(TGlyphPosition p);
    bool TransparentGlyph() const { return m_transparentGlyph; }
    void setTransparentGlyph(bool on);
    bool DrawLight() const { return m_drawLight; }
    void setDrawLight(bool on);
    int LightSize() const { return m_lightSize; }
    void setLightSize(int size);
    bool AutoLightColor() const { return m_autoLightColor; }
    void setAutoLightColor(bool on);

    TMouseState MouseState() const { return m_mouseState; }
    bool LightOn() const { return m_lightOn; }

    // The whole button as it is painted now, W × H.
    QImage render() const;
    // A click as the mouse makes one: the click while the button shows pressed, then the light.
    void click();

signals:
    void onClick();
    void onDblClick();

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void drawFace(QImage &face, int w, int h) const;
    void setState(TMouseState state);
    void release(bool click);

    Colors::TColor m_drawColor = 0x444444;
    Colors::TColor m_lightColor = 0x88FF88;
    Colors::TColor m_backColor = 0;
    QString m_caption;
    QFont m_font;
    Colors::TColor m_fontColor = 0xFFFFFF;
    TTextPosition m_textPosition = tpMiddleCenter;
    TGlyphPosition m_glyphPosition = gpTopCenter;
    QPixmap m_glyph;
    bool m_transparentGlyph = true;
    bool m_drawDropShadow = true;
    bool m_drawLight = true;
    bool m_autoLightColor = true;
    int m_lightSize = 8;
    TCustomColor m_customColor = ccNone;
    TMouseState m_mouseState = Normal;
    bool m_lightOn = false;
    bool m_clickArmed = false;
    bool m_keyDown = false; // Space or Enter is held
};
