#include "controls/FreeButton.h"

#include "controls/FreeButtonAccessible.h"
#include "controls/PixelCanvas.h"

#include <QAccessible>
#include <QApplication>
#include <QBitmap>
#include <QEnterEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <cmath>

using Colors::TColor;
using Colors::darker;
using Colors::lighter;

namespace {

struct FaceColours {
    TColor outer, fill, inner, bevelTopLeft, bevelBottomRight, captionShadow, lightOutline, lightLit, lightUnlit;
};

FaceColours coloursFor(FreeButton::TMouseState state, TColor f, TColor l)
{
    switch (state) {
    case FreeButton::Normal:
        return {lighter(f, 40), f, darker(f, 40), lighter(f, 30), darker(f, 30), darker(f, 40),
                darker(l, 80), l, darker(l, 40)};
    case FreeButton::Hover:
        return {lighter(f, 55), lighter(f, 15), lighter(f, 5), lighter(f, 45), darker(f, 5), darker(f, 25),
                darker(l, 60), lighter(l, 20), darker(l, 20)};
    case FreeButton::Pressed:
        break;
    }
    return {lighter(f, 55), lighter(f, 15), lighter(f, 5), darker(f, 5), lighter(f, 45), darker(f, 40),
            darker(l, 60), lighter(l, 20), darker(l, 20)};
}

// Caption and glyph origins: margins of 4 at the top and left, 8 at the bottom and right.
QPoint place(int position, int w, int h, int iw, int ih, bool caption)
{
    const int centreX = caption ? int(std::trunc((w - 4) / 2.0 - iw / 2.0)) : int(std::trunc(w / 2.0 - iw / 2.0));
    const int middleY = int(std::trunc(h / 2.0 - ih / 2.0));
    const int column = position / 3; // 0 left, 1 centre, 2 right
    const int row = position % 3;    // 0 top, 1 middle, 2 bottom (the centre column: 3 top, 4 middle, 5 bottom)
    const int x = column == 0 ? 4 : column == 1 ? centreX : w - iw - 8;
    const int y = row == 0 ? 4 : row == 1 ? middleY : h - ih - 8;
    return {x, y};
}

} // namespace

FreeButton::FreeButton(QWidget *parent)
    : QWidget(parent)
{
    FreeButtonAccessible::install();
    setAttribute(Qt::WA_Hover);
    setFocusPolicy(Qt::TabFocus);
    m_font = QFont(QStringLiteral("Verdana"));
    m_font.setPointSize(10);
    m_backColor = ResolveSystemColor(0xFF00000F);
    resize(83, 31);
}

TColor FreeButton::ResolveSystemColor(TColor colour)
{
    if (!Colors::isSystemColor(colour))
        return colour;
    const QPalette pal = QApplication::palette();
    QColor c;
    switch (colour & 0xFF) {
    case 0: c = pal.color(QPalette::Mid); break;                          // scroll bar
    case 1: c = pal.color(QPalette::Window); break;                       // desktop
    case 2: c = pal.color(QPalette::Highlight); break;                    // active caption
    case 3: c = pal.color(QPalette::Inactive, QPalette::Highlight); break; // inactive caption
    case 4: c = pal.color(QPalette::Window); break;                       // menu
    case 5: c = pal.color(QPalette::Base); break;                         // window
    case 6: c = pal.color(QPalette::Shadow); break;                       // window frame
    case 7: c = pal.color(QPalette::WindowText); break;                   // menu text
    case 8: c = pal.color(QPalette::Text); break;                         // window text
    case 9: c = pal.color(QPalette::HighlightedText); break;              // caption text
    case 10: case 11: c = pal.color(QPalette::Window); break;             // borders
    case 12: c = pal.color(QPalette::Mid); break;                         // application workspace
    case 13: c = pal.color(QPalette::Highlight); break;
    case 14: c = pal.color(QPalette::HighlightedText); break;
    case 15: c = pal.color(QPalette::Button); break;                      // button face
    case 16: c = pal.color(QPalette::Dark); break;                        // button shadow
    case 17: c = pal.color(QPalette::Disabled, QPalette::Text); break;    // grey text
    case 18: c = pal.color(QPalette::ButtonText); break;
    case 19: c = pal.color(QPalette::Disabled, QPalette::WindowText); break;
    case 20: c = pal.color(QPalette::Light); break;                       // button highlight
    case 21: c = pal.color(QPalette::Shadow); break;                      // 3-D dark shadow
    case 22: c = pal.color(QPalette::Midlight); break;                    // 3-D light
    case 23: c = pal.color(QPalette::ToolTipText); break;
    default: c = pal.color(QPalette::ToolTipBase); break;                 // 24: tooltip background
    }
    return Colors::rgb(c.red(), c.green(), c.blue());
}

void FreeButton::setDrawColor(TColor c) { m_drawColor = ResolveSystemColor(c); update(); }
void FreeButton::setLightColor(TColor c) { m_lightColor = ResolveSystemColor(c); update(); }
void FreeButton::setBackColor(TColor c) { m_backColor = ResolveSystemColor(c); update(); }
void FreeButton::setCustomColor(TCustomColor c) { m_customColor = c; update(); }
void FreeButton::setCaption(const QString &caption)
{
    m_caption = caption;
    update();
    QAccessibleEvent changed(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
}
void FreeButton::setCaptionFont(const QFont &font, TColor colour)
{
    m_font = font;
    m_fontColor = colour;
    update();
}
void FreeButton::setTextPosition(TTextPosition p) { m_textPosition = p; update(); }
void FreeButton::setDrawDropShadow(bool on) { m_drawDropShadow = on; update(); }
void FreeButton::setGlyph(const QPixmap &glyph) { m_glyph = glyph.copy(); update(); }
void FreeButton::setGlyphPosition(TGlyphPosition p) { m_glyphPosition = p; update(); }
void FreeButton::setTransparentGlyph(bool on) { m_transparentGlyph = on; update(); }
void FreeButton::setDrawLight(bool on) { m_drawLight = on; update(); }
void FreeButton::setLightSize(int size) { m_lightSize = size; update(); }
void FreeButton::setAutoLightColor(bool on) { m_autoLightColor = on; update(); }

void FreeButton::drawFace(QImage &faceImage, int w, int h) const
{
    PixelCanvas face(faceImage);
    const TColor f = m_customColor == ccNone ? ResolveSystemColor(m_drawColor)
                                             : *Colors::presetColor(int(m_customColor));
    const TColor l = m_autoLightColor ? lighter(f, 20) : m_lightColor;
    const FaceColours c = coloursFor(m_mouseState, f, l);

    face.roundRect(0, 0, w, h, c.outer, c.fill);
    face.roundRect(1, 1, w - 1, h - 1, c.inner, c.fill);
    face.line(3, 3, w - 3, 3, c.bevelTopLeft, 2);
    face.line(3, 3, 3, h - 3, c.bevelTopLeft, 2);
    face.line(w - 3, h - 3, 3, h - 3, c.bevelBottomRight);
    face.line(w - 3, h - 3, w - 3, 3, c.bevelBottomRight);

    const QFontMetrics fm(m_font);
    const QPoint text = place(int(m_textPosition), w, h, fm.horizontalAdvance(m_caption), fm.height(), true);
    if (m_drawDropShadow)
        face.text(text.x() + 2, text.y() + 2, m_caption, m_font, c.captionShadow);
    face.text(text.x(), text.y(), m_caption, m_font, m_fontColor);

    if (!m_glyph.isNull()) {
        QImage glyph = m_glyph.toImage().convertToFormat(QImage::Format_ARGB32);
        if (m_transparentGlyph) {
            // The top-left pixel's colour is the transparent one.
            const QRgb key = glyph.pixel(0, 0);
            for (int y = 0; y < glyph.height(); ++y)
                for (int x = 0; x < glyph.width(); ++x)
                    if (glyph.pixel(x, y) == key)
                        glyph.setPixel(x, y, qRgba(0, 0, 0, 0));
        }
        const QPoint g = place(int(m_glyphPosition), w, h, glyph.width(), glyph.height(), false);
        face.image(g.x(), g.y(), glyph);
    }

    if (m_drawLight) {
        const QPolygon triangle({QPoint(w - 8, h - 8), QPoint(w - 8, h - 8 - m_lightSize),
                                 QPoint(w - 8 - m_lightSize, h - 8)});
        face.polygon(triangle, c.lightOutline, m_lightOn ? c.lightLit : c.lightUnlit);
    }
    // Inside the bevels, clear of the light: the edges, bevels and shadow keep their pixels.
    if (hasFocus() && w > 13 && h > 13)
        face.dottedRect(6, 6, w - 7, h - 7, m_fontColor);
}

QImage FreeButton::render() const
{
    const int W = width(), H = height();
    QImage button(qMax(W, 1), qMax(H, 1), QImage::Format_RGB32);
    PixelCanvas canvas(button);
    canvas.fillRect(0, 0, W, H, m_backColor);
    const int w = W - 4, h = H - 4;
    if (w <= 0 || h <= 0)
        return button; // no face to draw on a button this small

    QImage face(w, h, QImage::Format_RGB32);
    face.fill(toQColor(m_backColor));
    drawFace(face, w, h);

    const TColor back = m_backColor;
    switch (m_mouseState) {
    case Normal:
        canvas.image(2, 2, face);
        canvas.line(W - 2, 4, W - 2, H - 2, darker(back, 100));
        canvas.line(W - 2, H - 2, 3, H - 2, darker(back, 100));
        canvas.line(W - 1, 5, W - 1, H - 1, darker(back, 50));
        canvas.line(W - 1, H - 1, 4, H - 1, darker(back, 50));
        canvas.pixel(W - 3, H - 3, darker(back, 100));
        canvas.pixel(W - 2, H - 2, darker(back, 50));
        canvas.pixel(W - 1, H - 1, back);
        break;
    case Hover: {
        canvas.image(0, 0, face);
        const struct { int amount, x, top, left; } paths[] = {
            {100, W - 4, 4, 3}, {75, W - 3, 4, 3}, {50, W - 2, 5, 4}, {25, W - 1, 5, 4}};
        for (const auto &p : paths) {
            const int bottom = H - (W - p.x);
            canvas.line(p.x, p.top, p.x, bottom, darker(back, p.amount));
            canvas.line(p.x, bottom, p.left, bottom, darker(back, p.amount));
        }
        canvas.pixel(W - 5, H - 5, darker(back, 100));
        canvas.pixel(W - 4, H - 4, darker(back, 75));
        canvas.pixel(W - 3, H - 3, darker(back, 50));
        canvas.pixel(W - 2, H - 2, darker(back, 25));
        canvas.pixel(W - 1, H - 1, back);
        break;
    }
    case Pressed:
        canvas.fillRect(0, 0, W, H, back);
        canvas.image(3, 3, face);
        break;
    }
    return button;
}

void FreeButton::paintEvent(QPaintEvent *)
{
    // Composed off-screen and shown in one copy: no flicker.
    QPainter p(this);
    p.drawImage(0, 0, render());
}

void FreeButton::setState(TMouseState state)
{
    m_mouseState = state;
    repaint();
}

void FreeButton::enterEvent(QEnterEvent *event)
{
    QWidget::enterEvent(event);
    setState(Hover);
}

void FreeButton::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    setState(Normal);
}

void FreeButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_clickArmed = true;
    setState(Pressed);
}

void FreeButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const bool click = m_clickArmed && rect().contains(event->position().toPoint());
    m_clickArmed = false;
    m_mouseState = Hover;
    release(click);
}

void FreeButton::release(bool click)
{
    // The click is raised while the button still shows pressed and before the light flips.
    const TMouseState after = m_mouseState;
    m_mouseState = Pressed;
    if (click)
        emit onClick();
    m_mouseState = after;
    if (m_drawLight)
        m_lightOn = !m_lightOn;
    repaint();
}

void FreeButton::click()
{
    setState(Pressed);
    m_mouseState = underMouse() ? Hover : Normal;
    release(true);
}

namespace {
bool isPressKey(const QKeyEvent *event)
{
    return event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}
} // namespace

void FreeButton::keyPressEvent(QKeyEvent *event)
{
    if (!isPressKey(event) || event->modifiers() & ~Qt::KeypadModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (!event->isAutoRepeat() && !m_keyDown) {
        m_keyDown = true;
        setState(Pressed);
    }
    event->accept();
}

void FreeButton::keyReleaseEvent(QKeyEvent *event)
{
    if (!isPressKey(event) || event->isAutoRepeat() || !m_keyDown) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    m_keyDown = false;
    m_mouseState = underMouse() ? Hover : Normal;
    release(true);
    event->accept();
}

void FreeButton::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    repaint();
}

void FreeButton::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    // A key held down while the focus leaves clicks nothing.
    if (m_keyDown) {
        m_keyDown = false;
        m_mouseState = underMouse() ? Hover : Normal;
    }
    repaint();
}

void FreeButton::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    // The second press of a double click is no button-down: no Pressed look, no click.
    m_clickArmed = false;
    if (m_mouseState == Pressed)
        setState(Hover);
    emit onDblClick();
}
