#include "controls/BarPopupMenu.h"
#include "controls/Colors.h"
#include "controls/EntryField.h"
#include "controls/FreeButton.h"

#include <QAccessible>
#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QScopeGuard>
#include <QSet>
#include <QSignalSpy>
#include <QTest>

using Colors::rgb;
using Colors::TColor;

namespace {

TColor pixelAt(const QImage &image, int x, int y)
{
    const QColor c = image.pixelColor(x, y);
    return rgb(c.red(), c.green(), c.blue());
}

const TColor kBack = rgb(236, 233, 216);

// The default bar, blue at the top to black at row `total`: blue 255 + (0 - 255) * row div total.
TColor defaultBarAt(int row, int total) { return rgb(0, 0, 255 + (0 - 255) * row / total); }

} // namespace

class TestControls : public QObject
{
    Q_OBJECT
private slots:
    void adjustColorWorkedExamples();
    void presetsAndSystemColours();
    void systemColoursFollowThePalette_data();
    void systemColoursFollowThePalette();
    void statePixels_data();
    void statePixels();
    void lightLitAndUnlit();
    void clickRaisesOnceThenFlipsTheLight();
    void pressReleasedOutsideFlipsWithoutClick();
    void doubleClick();
    void tinyButtonsPaint();
    void keysPressLikeTheMouse_data();
    void keysPressLikeTheMouse();
    void aHeldKeyClicksOnce();
    void readsAsAPushButton();
    void focusRectangleInsideTheFace();
    void captionHasHardEdges();
    void glyphPositions_data();
    void glyphPositions();
    void transparentGlyphLetsTheFaceThrough();
    void gradientArithmetic();
    void barMenuGradientSitsInsideItsFrame();
    void barMenuWithOneColourIsFlat();
    void barMenuTextRunsUpFromTheBottom();
    void barMenuPictureKeyColour_data();
    void barMenuPictureKeyColour();
    void barMenuCountsVisibleItemsOnly();
    void entryFieldKeepsTheSelectionForItsMenuOnly();

private:
    std::unique_ptr<FreeButton> makeButton(int w = 83, int h = 31)
    {
        auto b = std::make_unique<FreeButton>();
        b->resize(w, h);
        b->setBackColor(Colors::kButtonFace);
        return b;
    }
};

void TestControls::adjustColorWorkedExamples()
{
    QCOMPARE(Colors::darker(rgb(236, 233, 216), 100), rgb(136, 133, 116));
    QCOMPARE(Colors::darker(rgb(0, 78, 152), 100), rgb(0, 0, 52));
    QCOMPARE(Colors::lighter(rgb(250, 10, 0), 20), rgb(255, 30, 20));
    QCOMPARE(Colors::darker(rgb(68, 68, 68), 75), rgb(0, 0, 0));
}

void TestControls::presetsAndSystemColours()
{
    // Every preset from leather to rose, as red, green and blue; none after them.
    const int presets[18][3] = {{79, 69, 47}, {135, 119, 65}, {200, 144, 0}, {30, 96, 60}, {48, 152, 96}, {91, 204, 142},
                                {47, 69, 79}, {66, 96, 111}, {94, 128, 157}, {30, 44, 96}, {48, 80, 152}, {91, 126, 204},
                                {69, 47, 79}, {96, 66, 111}, {137, 94, 157}, {96, 30, 60}, {152, 48, 96}, {204, 91, 142}};
    for (int i = 0; i < 18; ++i)
        QCOMPARE(*Colors::presetColor(i), rgb(presets[i][0], presets[i][1], presets[i][2]));
    QVERIFY(!Colors::presetColor(18));
    // A preset overrides DrawColor: the Normal face fill is the preset colour.
    auto b = makeButton();
    b->setDrawColor(0x0000FF);
    b->setCustomColor(FreeButton::ccSapphire);
    b->setDrawLight(false);
    QCOMPARE(pixelAt(b->render(), 30, 9), rgb(48, 80, 152));
    // A system colour is stored as the RGB of the moment: button face is the palette's button.
    b->setBackColor(0xFF00000F);
    const QColor button = QApplication::palette().color(QPalette::Button);
    QCOMPARE(b->BackColor(), rgb(button.red(), button.green(), button.blue()));
    QCOMPARE(FreeButton::ResolveSystemColor(0xFF000019), TColor(0xFF000019)); // 25: not a system colour
}

// Each system colour code names one colour of the palette: a palette with every colour
// different tells them apart.
void TestControls::systemColoursFollowThePalette_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("group");
    QTest::addColumn<int>("role");
    const int active = QPalette::Active, inactive = QPalette::Inactive, disabled = QPalette::Disabled;
    const struct { const char *name; int group; QPalette::ColorRole role; } codes[] = {
        {"scroll bar", active, QPalette::Mid}, {"desktop", active, QPalette::Window},
        {"active caption", active, QPalette::Highlight}, {"inactive caption", inactive, QPalette::Highlight},
        {"menu", active, QPalette::Window}, {"window", active, QPalette::Base},
        {"window frame", active, QPalette::Shadow}, {"menu text", active, QPalette::WindowText},
        {"window text", active, QPalette::Text}, {"caption text", active, QPalette::HighlightedText},
        {"active border", active, QPalette::Window}, {"inactive border", active, QPalette::Window},
        {"application workspace", active, QPalette::Mid}, {"highlight", active, QPalette::Highlight},
        {"highlighted text", active, QPalette::HighlightedText}, {"button face", active, QPalette::Button},
        {"button shadow", active, QPalette::Dark}, {"grey text", disabled, QPalette::Text},
        {"button text", active, QPalette::ButtonText}, {"inactive caption text", disabled, QPalette::WindowText},
        {"button highlight", active, QPalette::Light}, {"3-D dark shadow", active, QPalette::Shadow},
        {"3-D light", active, QPalette::Midlight}, {"tooltip text", active, QPalette::ToolTipText},
        {"tooltip background", active, QPalette::ToolTipBase}};
    int code = 0;
    for (const auto &c : codes)
        QTest::addRow("%d: %s", code, c.name) << code++ << c.group << int(c.role);
}

void TestControls::systemColoursFollowThePalette()
{
    QFETCH(int, code);
    QFETCH(int, group);
    QFETCH(int, role);
    const QPalette before = QApplication::palette();
    const auto restore = qScopeGuard([&] { QApplication::setPalette(before); });
    QPalette distinct;
    for (int g = 0; g < 3; ++g)
        for (int r = 0; r < QPalette::NColorRoles; ++r)
            distinct.setColor(QPalette::ColorGroup(g), QPalette::ColorRole(r), QColor(10 + 80 * g, 10 + 10 * r, 200));
    QApplication::setPalette(distinct);
    QCOMPARE(FreeButton::ResolveSystemColor(0xFF000000u | TColor(code)), rgb(10 + 80 * group, 10 + 10 * role, 200));
}

void TestControls::statePixels_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<TColor>("colour");
    struct Pixel { const char *name; int x, y; TColor colour; };
    const auto rows = [](FreeButton::TMouseState state, const char *prefix, std::initializer_list<Pixel> pixels) {
        for (const Pixel &p : pixels)
            QTest::addRow("%s: %s", prefix, p.name) << int(state) << p.x << p.y << p.colour;
    };
    {
        // Normal, 83 × 31: the face (79 × 27) rests at (2,2) with a two-line drop shadow right and below.
        const TColor outer = rgb(108, 108, 108), inner = rgb(28, 28, 28), fill = rgb(68, 68, 68), light = rgb(98, 98, 98),
                     dark = rgb(38, 38, 38), d100 = rgb(136, 133, 116), d50 = rgb(186, 183, 166);
        rows(FreeButton::Normal, "normal", {
            {"background in the corner", 0, 0, kBack}, {"face's cut corner", 2, 2, kBack},
            {"outer corner pixel", 3, 3, outer}, {"inner corner pixel", 4, 4, inner},
            {"top: background above", 20, 1, kBack}, {"top: outer edge", 20, 2, outer},
            {"top: inner edge", 20, 3, inner}, {"top: fill above the bevel", 20, 4, fill},
            {"top bevel, first line", 20, 5, light}, {"top bevel, second line", 20, 6, light},
            {"top: fill below the bevel", 20, 7, fill}, {"top bevel, first column", 5, 5, light},
            {"top bevel, last column", 77, 6, light}, {"top bevel ends before the right bevel", 78, 5, fill},
            {"left: background beside", 1, 15, kBack}, {"left: outer edge", 2, 15, outer},
            {"left: inner edge", 3, 15, inner}, {"left: fill beside the bevel", 4, 15, fill},
            {"left bevel, first column", 5, 15, light}, {"left bevel, second column", 6, 15, light},
            {"left: fill after the bevel", 7, 15, fill}, {"left bevel, last row", 5, 25, light},
            {"left bevel ends above the bottom bevel", 5, 26, fill}, {"bottom: fill above the bevel", 20, 25, fill},
            {"bottom bevel", 20, 26, dark}, {"bottom bevel, first column", 6, 26, dark},
            {"bottom: inner edge", 20, 27, inner}, {"bottom: outer edge", 20, 28, outer},
            {"right: fill beside the bevel", 77, 15, fill}, {"right bevel", 78, 15, dark},
            {"right bevel, first row", 78, 6, dark}, {"right bevel, last row", 78, 26, dark},
            {"right: inner edge", 79, 15, inner}, {"right: outer edge", 80, 15, outer},
            {"right shadow, inner line, above its start", 81, 3, kBack}, {"right shadow, inner line, first row", 81, 4, d100},
            {"right shadow, inner line, last row", 81, 28, d100},
            {"bottom shadow, inner line, left of its start", 3, 29, kBack},
            {"bottom shadow, inner line, first column", 4, 29, d100}, {"bottom shadow, inner line, last column", 80, 29, d100},
            {"right shadow, outer line, above its start", 82, 4, kBack}, {"right shadow, outer line, first row", 82, 5, d50},
            {"right shadow, outer line, last row", 82, 29, d50},
            {"bottom shadow, outer line, left of its start", 4, 30, kBack},
            {"bottom shadow, outer line, first column", 5, 30, d50}, {"bottom shadow, outer line, last column", 81, 30, d50},
            {"shadow corner, inner pixel", 80, 28, d100}, {"shadow corner, outer pixel", 81, 29, d50},
            {"shadow corner left open", 82, 30, kBack},
        });
    }
    {
        // Hover: the face floats at (0,0) with a four-line shadow; each line's ends and what lies before them.
        const TColor outer = rgb(123, 123, 123), inner = rgb(73, 73, 73), fill = rgb(83, 83, 83), light = rgb(113, 113, 113),
                     dark = rgb(63, 63, 63), d100 = rgb(136, 133, 116), d75 = rgb(161, 158, 141), d50 = rgb(186, 183, 166),
                     d25 = rgb(211, 208, 191);
        rows(FreeButton::Hover, "hover", {
            {"outer edge at row 0", 18, 0, outer}, {"inner edge at row 1", 18, 1, inner},
            {"fill above the bevel", 18, 2, fill}, {"top bevel, first line", 18, 3, light},
            {"top bevel, second line", 18, 4, light}, {"fill", 18, 7, fill}, {"left bevel, second column", 4, 15, light},
            {"bottom bevel", 18, 24, dark}, {"bottom outer edge", 18, 26, outer},
            {"right bevel", 76, 15, dark}, {"right outer edge", 78, 15, outer},
            {"line 1 right, above its start", 79, 3, kBack}, {"line 1 right, first row", 79, 4, d100},
            {"line 1 right, last row", 79, 26, d100}, {"line 1 below, left of its start", 3, 27, kBack},
            {"line 1 below, first column", 4, 27, d100}, {"line 1 below, last column", 78, 27, d100},
            {"line 2 right, above its start", 80, 3, kBack}, {"line 2 right, first row", 80, 4, d75},
            {"line 2 right, last row", 80, 27, d75}, {"line 2 below, left of its start", 3, 28, kBack},
            {"line 2 below, first column", 4, 28, d75}, {"line 2 below, last column", 79, 28, d75},
            {"line 3 right, above its start", 81, 4, kBack}, {"line 3 right, first row", 81, 5, d50},
            {"line 3 right, last row", 81, 28, d50}, {"line 3 below, left of its start", 4, 29, kBack},
            {"line 3 below, first column", 5, 29, d50}, {"line 3 below, last column", 80, 29, d50},
            {"line 4 right, above its start", 82, 4, kBack}, {"line 4 right, first row", 82, 5, d25},
            {"line 4 right, last row", 82, 29, d25}, {"line 4 below, left of its start", 4, 30, kBack},
            {"line 4 below, first column", 5, 30, d25}, {"line 4 below, last column", 81, 30, d25},
            {"corner pixel of line 1", 78, 26, d100}, {"corner pixel of line 2", 79, 27, d75},
            {"corner pixel of line 3", 80, 28, d50}, {"corner pixel of line 4", 81, 29, d25},
            {"shadow corner left open", 82, 30, kBack},
        });
    }
    {
        // Pressed: the face sinks to (3,3), its bevel inverted, without a shadow.
        const TColor outer = rgb(123, 123, 123), inner = rgb(73, 73, 73), fill = rgb(83, 83, 83), light = rgb(113, 113, 113),
                     dark = rgb(63, 63, 63);
        rows(FreeButton::Pressed, "pressed", {
            {"nothing at rows 0 to 2", 20, 2, kBack}, {"outer edge at row 3", 20, 3, outer},
            {"inner edge at row 4", 20, 4, inner}, {"fill above the bevel", 20, 5, fill},
            {"inverted bevel: dark at the top", 20, 6, dark}, {"inverted bevel, second line", 20, 7, dark},
            {"nothing at columns 0 to 2", 2, 15, kBack}, {"outer edge at column 3", 3, 15, outer},
            {"inverted bevel: light at the bottom", 20, 27, light}, {"bottom inner edge", 20, 28, inner},
            {"bottom outer edge", 20, 29, outer}, {"no shadow below", 20, 30, kBack},
            {"inverted bevel: light at the right", 79, 15, light}, {"right outer edge", 81, 15, outer},
            {"no shadow at the right", 82, 10, kBack},
        });
    }
}

void TestControls::statePixels()
{
    QFETCH(int, state);
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(TColor, colour);
    auto b = makeButton();
    if (state == FreeButton::Hover) {
        b->show();
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(b.get(), &enter);
    } else if (state == FreeButton::Pressed) {
        b->show();
        QTest::mousePress(b.get(), Qt::LeftButton, {}, QPoint(10, 10));
    }
    QCOMPARE(b->MouseState(), FreeButton::TMouseState(state));
    QCOMPARE(pixelAt(b->render(), x, y), colour);
}

void TestControls::lightLitAndUnlit()
{
    auto b = makeButton();
    // Normal state: the light fill is darker 40 of lighter 20 of the face while unlit.
    const QPoint inside(2 + 79 - 10, 2 + 27 - 10);
    QCOMPARE(pixelAt(b->render(), inside.x(), inside.y()), rgb(48, 48, 48));
    QCOMPARE(pixelAt(b->render(), 2 + 79 - 8, 2 + 27 - 12), rgb(8, 8, 8)); // outline leg
    b->show();
    QTest::mouseClick(b.get(), Qt::LeftButton, {}, QPoint(10, 10));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(b.get(), &leave);
    QCOMPARE(b->MouseState(), FreeButton::Normal);
    QVERIFY(b->LightOn());
    QCOMPARE(pixelAt(b->render(), inside.x(), inside.y()), rgb(88, 88, 88));
    b->setDrawLight(false);
    QCOMPARE(pixelAt(b->render(), inside.x(), inside.y()), rgb(68, 68, 68));
}

void TestControls::clickRaisesOnceThenFlipsTheLight()
{
    auto b = makeButton();
    auto other = makeButton();
    b->show();
    int clicks = 0;
    bool lightDuringClick = true;
    FreeButton::TMouseState stateDuringClick = FreeButton::Normal;
    connect(b.get(), &FreeButton::onClick, [&] {
        ++clicks;
        lightDuringClick = b->LightOn();
        stateDuringClick = b->MouseState();
    });
    QTest::mouseClick(b.get(), Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(clicks, 1);
    QCOMPARE(lightDuringClick, false);
    QCOMPARE(stateDuringClick, FreeButton::Pressed);
    QVERIFY(b->LightOn());
    QCOMPARE(b->MouseState(), FreeButton::Hover);
    QTest::mouseClick(b.get(), Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(!b->LightOn());
    QVERIFY(!other->LightOn());
    QTest::mouseClick(b.get(), Qt::RightButton, {}, QPoint(10, 10));
    QCOMPARE(clicks, 2);
    QVERIFY(!b->LightOn());
}

void TestControls::pressReleasedOutsideFlipsWithoutClick()
{
    auto b = makeButton();
    b->show();
    QSignalSpy clicks(b.get(), &FreeButton::onClick);
    QTest::mousePress(b.get(), Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(b.get(), Qt::LeftButton, {}, QPoint(200, 10));
    QCOMPARE(clicks.size(), 0);
    QVERIFY(b->LightOn());
    QCOMPARE(b->MouseState(), FreeButton::Hover);
}

void TestControls::doubleClick()
{
    auto b = makeButton();
    b->show();
    QSignalSpy clicks(b.get(), &FreeButton::onClick);
    QSignalSpy doubles(b.get(), &FreeButton::onDblClick);
    // What the platform delivers for a double click: press, release, press, double click, release.
    QTest::mouseClick(b.get(), Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mousePress(b.get(), Qt::LeftButton, {}, QPoint(10, 10));
    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(10, 10), b->mapToGlobal(QPointF(10, 10)), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(b.get(), &dbl);
    QCOMPARE(b->MouseState(), FreeButton::Hover);
    QTest::mouseRelease(b.get(), Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(doubles.size(), 1);
    QCOMPARE(clicks.size(), 1);
    QVERIFY(!b->LightOn()); // flipped at both releases
}

void TestControls::tinyButtonsPaint()
{
    for (int size : {0, 1, 4, 5, 6}) {
        auto b = makeButton(size, size);
        b->setCaption("X");
        const QImage img = b->render();
        QVERIFY(!img.isNull());
        if (size >= 1)
            QCOMPARE(pixelAt(img, 0, 0), kBack);
    }
}

void TestControls::keysPressLikeTheMouse_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("clicks");
    QTest::newRow("Space clicks") << int(Qt::Key_Space) << 0 << 1;
    QTest::newRow("Enter clicks") << int(Qt::Key_Return) << 0 << 1;
    QTest::newRow("keypad Enter clicks") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << 1;
    QTest::newRow("Ctrl+Enter clicks nothing") << int(Qt::Key_Return) << int(Qt::ControlModifier) << 0;
    QTest::newRow("a letter clicks nothing") << int(Qt::Key_A) << 0 << 0;
}

void TestControls::keysPressLikeTheMouse()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, clicks);
    QWidget window;
    auto *before = new QPushButton("przed", &window);
    auto *b = new FreeButton(&window);
    b->move(0, 40);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    before->setFocus();
    QTest::keyClick(&window, Qt::Key_Tab);
    QVERIFY(b->hasFocus());
    FreeButton::TMouseState stateDuringClick = FreeButton::Normal;
    int seen = 0;
    connect(b, &FreeButton::onClick, [&] {
        ++seen;
        stateDuringClick = b->MouseState();
    });
    QTest::keyPress(b, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(b->MouseState(), clicks ? FreeButton::Pressed : FreeButton::Normal);
    QCOMPARE(seen, 0);
    QTest::keyRelease(b, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(seen, clicks);
    QCOMPARE(b->LightOn(), clicks == 1);
    QCOMPARE(b->MouseState(), FreeButton::Normal);
    if (clicks)
        QCOMPARE(stateDuringClick, FreeButton::Pressed);
}

// A held key repeats as pairs of release and press marked as repeats: one click, on the
// real release.
void TestControls::aHeldKeyClicksOnce()
{
    auto b = makeButton();
    int clicks = 0;
    connect(b.get(), &FreeButton::onClick, [&] { ++clicks; });
    const auto send = [&](QEvent::Type type, bool repeat) {
        QKeyEvent key(type, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), repeat);
        QApplication::sendEvent(b.get(), &key);
    };
    // A key already held when the focus came does nothing here.
    send(QEvent::KeyPress, true);
    send(QEvent::KeyRelease, false);
    QCOMPARE(clicks, 0);
    send(QEvent::KeyPress, false);
    for (int i = 0; i < 3; ++i) {
        send(QEvent::KeyRelease, true);
        QCOMPARE(clicks, 0);
        QCOMPARE(b->MouseState(), FreeButton::Pressed);
        send(QEvent::KeyPress, true);
    }
    send(QEvent::KeyRelease, false);
    QCOMPARE(clicks, 1);
    QCOMPARE(b->MouseState(), FreeButton::Normal);
}

void TestControls::readsAsAPushButton()
{
    auto b = makeButton();
    b->setCaption("ANKIETA");
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(b.get());
    QVERIFY(iface);
    QCOMPARE(iface->role(), QAccessible::Button);
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("ANKIETA"));
    QVERIFY(iface->state().focusable);
    QAccessibleActionInterface *actions = iface->actionInterface();
    QVERIFY(actions);
    QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    QSignalSpy clicks(b.get(), &FreeButton::onClick);
    actions->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(clicks.size(), 1);
    QVERIFY(b->LightOn());
    b->setCaption("GALERIA");
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("GALERIA"));
    // Pressed while the mouse button is down, not while the mouse merely hovers.
    b->show();
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(b.get(), &enter);
    QCOMPARE(b->MouseState(), FreeButton::Hover);
    QVERIFY(!iface->state().pressed);
    QTest::mousePress(b.get(), Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(iface->state().pressed);
}

void TestControls::focusRectangleInsideTheFace()
{
    QWidget window;
    auto *b = new FreeButton(&window);
    b->setGeometry(40, 40, 83, 31);
    b->setBackColor(Colors::kButtonFace);
    b->setDrawLight(false);
    window.resize(200, 120);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(b->MouseState(), FreeButton::Normal);
    const QImage plain = b->render();
    b->setFocus(Qt::TabFocusReason);
    QVERIFY(b->hasFocus());
    const QImage focused = b->render();
    // Normal state: the face at (2,2), 79 × 27; the rectangle on its columns 6 and 72 and
    // rows 6 and 20, every other pixel, in the caption colour.
    const QRect ring(2 + 6, 2 + 6, 79 - 12, 27 - 12);
    int dots = 0;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x) {
            const bool onRing = ring.contains(x, y) && !ring.adjusted(1, 1, -1, -1).contains(x, y);
            if (!onRing || (x + y) % 2 != 0) {
                QVERIFY2(pixelAt(focused, x, y) == pixelAt(plain, x, y), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
            } else {
                QVERIFY2(pixelAt(focused, x, y) == TColor(Colors::kWhite), qPrintable(QStringLiteral("ring %1,%2").arg(x).arg(y)));
                ++dots;
            }
        }
    QCOMPARE(dots, 80); // half of the ring's 160 pixels
}

void TestControls::captionHasHardEdges()
{
    auto b = makeButton(121, 41);
    QFont font(QStringLiteral("Verdana"));
    font.setPixelSize(13);
    b->setCaptionFont(font, Colors::kWhite);
    b->setCaption("PRZENIESIONA");
    b->setDrawLight(false);
    const QImage img = b->render();
    // Inside the bevels only the fill, the caption's shadow and the caption itself.
    const QSet<TColor> allowed{rgb(68, 68, 68), rgb(28, 28, 28), TColor(Colors::kWhite)};
    QSet<TColor> seen;
    QSet<QPair<int, int>> caption, shadow;
    for (int y = 2 + 5; y < 2 + 37 - 4; ++y)
        for (int x = 2 + 5; x < 2 + 117 - 4; ++x) {
            const TColor c = pixelAt(img, x, y);
            seen.insert(c);
            if (c == TColor(Colors::kWhite))
                caption.insert({x, y});
            else if (c == rgb(28, 28, 28))
                shadow.insert({x, y});
        }
    QVERIFY(seen.contains(TColor(Colors::kWhite)));
    QVERIFY2(seen.size() == 3 && (seen - allowed).isEmpty(), qPrintable(QString::number(seen.size())));
    // The shadow is the caption moved 2 right and 2 down, where the caption does not cover it.
    for (const auto &p : caption)
        QVERIFY(shadow.contains({p.first + 2, p.second + 2}) || caption.contains({p.first + 2, p.second + 2}));
    for (const auto &p : shadow)
        QVERIFY(caption.contains({p.first - 2, p.second - 2}));
}

void TestControls::glyphPositions_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QPoint>("topLeft");
    // A 4 × 4 glyph on the 79 × 27 face at (2,2): 4 from the left and top, 8 from the right
    // and bottom, the centre rounded down.
    QTest::newRow("top left") << int(FreeButton::gpTopLeft) << QPoint(6, 6);
    QTest::newRow("middle left") << int(FreeButton::gpMiddleLeft) << QPoint(6, 13);
    QTest::newRow("bottom left") << int(FreeButton::gpBottomLeft) << QPoint(6, 17);
    QTest::newRow("top centre") << int(FreeButton::gpTopCenter) << QPoint(39, 6);
    QTest::newRow("middle centre") << int(FreeButton::gpMiddleCenter) << QPoint(39, 13);
    QTest::newRow("bottom centre") << int(FreeButton::gpMiddleBottom) << QPoint(39, 17);
    QTest::newRow("top right") << int(FreeButton::gpTopRight) << QPoint(69, 6);
    QTest::newRow("middle right") << int(FreeButton::gpMiddleRight) << QPoint(69, 13);
    QTest::newRow("bottom right") << int(FreeButton::gpBottomRight) << QPoint(69, 17);
}

void TestControls::glyphPositions()
{
    QFETCH(int, position);
    QFETCH(QPoint, topLeft);
    auto b = makeButton();
    QPixmap glyph(4, 4);
    glyph.fill(QColor(0, 255, 0));
    b->setGlyph(glyph);
    b->setTransparentGlyph(false);
    b->setDrawLight(false);
    b->setGlyphPosition(FreeButton::TGlyphPosition(position));
    const QImage img = b->render();
    const int x = topLeft.x(), y = topLeft.y();
    const TColor green = rgb(0, 255, 0);
    QCOMPARE(pixelAt(img, x, y), green);
    QCOMPARE(pixelAt(img, x + 3, y + 3), green);
    QVERIFY(pixelAt(img, x - 1, y) != green);
    QVERIFY(pixelAt(img, x, y - 1) != green);
    QVERIFY(pixelAt(img, x + 4, y + 3) != green);
    QVERIFY(pixelAt(img, x + 3, y + 4) != green);
}

// With a transparent glyph, the colour of its top-left pixel shows the face wherever it is.
void TestControls::transparentGlyphLetsTheFaceThrough()
{
    auto plain = makeButton();
    plain->setDrawLight(false);
    auto b = makeButton();
    b->setDrawLight(false);
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(qRgb(255, 0, 255));
    picture.setPixel(3, 0, qRgb(0, 255, 0));
    picture.setPixel(3, 3, qRgb(0, 255, 0));
    b->setGlyph(QPixmap::fromImage(picture));
    b->setGlyphPosition(FreeButton::gpMiddleCenter);
    b->setTransparentGlyph(true);
    const QImage img = b->render(), face = plain->render();
    for (const QPoint p : {QPoint(39, 13), QPoint(41, 14), QPoint(39, 16)})
        QCOMPARE(pixelAt(img, p.x(), p.y()), pixelAt(face, p.x(), p.y()));
    QCOMPARE(pixelAt(img, 42, 13), rgb(0, 255, 0));
    QCOMPARE(pixelAt(img, 42, 16), rgb(0, 255, 0));
}

void TestControls::gradientArithmetic()
{
    // Blue to black over 200 rows: blue 128 at row 100.
    QCOMPARE(BarPopupMenu::barColour(0xFF0000, 0, 100, 200), TColor(0x800000));
    QCOMPARE(BarPopupMenu::barColour(0xFF0000, 0, 0, 200), TColor(0xFF0000));
    QCOMPARE(BarPopupMenu::barColour(0xFF0000, 0, 200, 200), TColor(0));
    QCOMPARE(BarPopupMenu::barColour(0x123456, 0x123456, 5, 0), TColor(0x123456)); // flat: no division
    QCOMPARE(BarPopupMenu::barColour(0xFF0000, 0, 5, 0), TColor(0xFF0000));         // zero height guarded
    QCOMPARE(Colors::barTextX(31, 23), 3);
    QCOMPARE(Colors::barTextX(31, 24), 2);
    QCOMPARE(Colors::barTextX(31, 21), 3);
}

namespace {

// A bar menu with four items and no bar text, shown; its picture (if any) is set first.
struct ShownBarMenu {
    BarPopupMenu menu;
    QImage image;
    int total = 0;
    explicit ShownBarMenu(const QPixmap *picture = nullptr, bool transparent = true)
    {
        menu.setVerticalText(QString());
        for (const char *t : {"Cofnij", "Ponów", "Kopiuj", "Wklej"})
            menu.addAction(QString::fromUtf8(t));
        if (picture) {
            menu.setBitmap(*picture);
            menu.setTransparent(transparent);
        }
        menu.popup(QPoint(50, 50));
        if (QTest::qWaitForWindowExposed(&menu))
            image = menu.grab().toImage();
        total = menu.TotalHeight();
    }
};

} // namespace

void TestControls::barMenuGradientSitsInsideItsFrame()
{
    ShownBarMenu shown;
    const QImage &img = shown.image;
    const int total = shown.total;
    QVERIFY(!img.isNull());
    QCOMPARE(shown.menu.BarWidth(), 31);
    QVERIFY(total > 0);
    QCOMPARE(img.height(), total + 2);
    // Columns and rows of the menu window; the frame is its one-pixel edge, the bar fills
    // columns 1 to BarWidth - 2 (the client's 0 to BarWidth - 3) and rows 1 to TotalHeight.
    // The frame beside the bar's first and last rows, above it and below it:
    const TColor frame = pixelAt(img, img.width() - 1, img.height() / 2);
    QCOMPARE(pixelAt(img, 0, 1), frame);
    QCOMPARE(pixelAt(img, 0, total), frame);
    QCOMPARE(pixelAt(img, 5, 0), frame);
    QCOMPARE(pixelAt(img, 5, total + 1), frame);
    // The bar's first and last columns at its first row, then halfway down and its last row:
    QCOMPARE(pixelAt(img, 1, 1), TColor(0xFF0000));
    QCOMPARE(pixelAt(img, 29, 1), TColor(0xFF0000));
    QCOMPARE(pixelAt(img, 5, 1 + total / 2), defaultBarAt(total / 2, total));
    QCOMPARE(pixelAt(img, 5, total), defaultBarAt(total - 1, total));
    // The two columns after the bar are the menu's, in its background.
    QCOMPARE(pixelAt(img, 30, 1), pixelAt(img, img.width() - 3, img.height() / 2));
    shown.menu.close();
}

void TestControls::barMenuWithOneColourIsFlat()
{
    BarPopupMenu flat;
    flat.setGradientStart(0x00FF00);
    flat.setGradientEnd(0x00FF00);
    flat.addAction("a");
    flat.addAction("b");
    flat.popup(QPoint(50, 50));
    QVERIFY(QTest::qWaitForWindowExposed(&flat));
    const QImage flatImg = flat.grab().toImage();
    for (int y = 1; y <= flat.TotalHeight(); ++y)
        QCOMPARE(pixelAt(flatImg, 1, y), TColor(0x00FF00));
    flat.close();
}

// The bar's words stand on its bottom and run upwards, inside the bar.
void TestControls::barMenuTextRunsUpFromTheBottom()
{
    BarPopupMenu menu;
    menu.setGradientStart(0x000000);
    menu.setGradientEnd(0x000000);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(19);
    menu.setVerticalFont(font, 0xFFFFFF);
    menu.setVerticalText(QStringLiteral("Tarnwick"));
    for (int i = 0; i < 8; ++i)
        menu.addAction(QStringLiteral("pozycja %1").arg(i));
    menu.popup(QPoint(50, 50));
    QVERIFY(QTest::qWaitForWindowExposed(&menu));
    const QImage img = menu.grab().toImage();
    const int total = menu.TotalHeight(), length = QFontMetrics(font).horizontalAdvance(QStringLiteral("Tarnwick"));
    QVERIFY(total > length + 20);
    int ink = 0, top = img.height(), bottom = -1;
    for (int y = 1; y <= total; ++y)
        for (int x = 1; x < menu.BarWidth() - 1; ++x)
            if (qGray(img.pixel(x, y)) > 128) {
                ++ink;
                top = qMin(top, y);
                bottom = qMax(bottom, y);
            }
    QVERIFY2(ink > 50, qPrintable(QString::number(ink)));
    QVERIFY2(bottom >= total - 12 && top >= total - length - 6 && bottom - top >= length - 12,
             qPrintable(QStringLiteral("%1..%2 of %3").arg(top).arg(bottom).arg(total)));
    menu.close();
}

void TestControls::barMenuPictureKeyColour_data()
{
    QTest::addColumn<bool>("transparent");
    QTest::newRow("transparent: the key colour lets the bar show") << true;
    QTest::newRow("opaque: the key colour is drawn") << false;
}

void TestControls::barMenuPictureKeyColour()
{
    QFETCH(bool, transparent);
    // 6 × 5, magenta (the bottom-left pixel names it) around a red 2 × 2 block at (2,1).
    QImage art(6, 5, QImage::Format_RGB32);
    art.fill(QColor(255, 0, 255));
    for (int y = 1; y <= 2; ++y)
        for (int x = 2; x <= 3; ++x)
            art.setPixel(x, y, qRgb(255, 0, 0));
    art.setPixel(0, 0, qRgb(0, 255, 0)); // the other corners name nothing
    const QPixmap picture = QPixmap::fromImage(art);
    ShownBarMenu shown(&picture, transparent);
    QVERIFY(!shown.image.isNull());
    // Bottom-aligned at the left of the bar: the picture's top-left pixel at (1, 1 + total - 5).
    const int left = 1, top = 1 + shown.total - 5;
    const auto bar = [&](int y) { return defaultBarAt(y - 1, shown.total); };
    const auto keyAt = [&](int y) { return transparent ? bar(y) : rgb(255, 0, 255); };
    QCOMPARE(pixelAt(shown.image, left + 2, top + 1), rgb(255, 0, 0));
    QCOMPARE(pixelAt(shown.image, left + 3, top + 2), rgb(255, 0, 0));
    QCOMPARE(pixelAt(shown.image, left + 1, top + 1), keyAt(top + 1));
    QCOMPARE(pixelAt(shown.image, left + 4, top + 2), keyAt(top + 2));
    QCOMPARE(pixelAt(shown.image, left + 2, top), keyAt(top));
    QCOMPARE(pixelAt(shown.image, left + 3, top + 3), keyAt(top + 3));
    QCOMPARE(pixelAt(shown.image, left, top + 4), keyAt(top + 4));
    QCOMPARE(pixelAt(shown.image, left, top), rgb(0, 255, 0));
    QCOMPARE(pixelAt(shown.image, left + 6, top + 2), bar(top + 2)); // right of the picture
    shown.menu.close();
}

void TestControls::barMenuCountsVisibleItemsOnly()
{
    BarPopupMenu menu;
    QAction *a = menu.addAction("a");
    QAction *b = menu.addAction("b");
    menu.addSeparator();
    menu.popup(QPoint(10, 10));
    QVERIFY(QTest::qWaitForWindowExposed(&menu));
    const int all = menu.TotalHeight();
    QCOMPARE(all, menu.actionGeometry(a).height() + menu.actionGeometry(b).height()
                      + menu.actionGeometry(menu.actions().last()).height());
    menu.close();
    b->setVisible(false);
    menu.popup(QPoint(10, 10));
    QVERIFY(QTest::qWaitForWindowExposed(&menu));
    QCOMPARE(menu.TotalHeight(), all - menu.actionGeometry(a).height());
    menu.close();
    // Setting Transparent before a picture exists has no effect; reading Bitmap creates one.
    menu.setTransparent(false);
    QVERIFY(!menu.Transparent());
    menu.Bitmap();
    QVERIFY(menu.Transparent());
    menu.setTransparent(false);
    QVERIFY(!menu.Transparent());
}

void TestControls::entryFieldKeepsTheSelectionForItsMenuOnly()
{
    EntryField field(QStringLiteral("abcdef"));
    field.setSelection(1, 3);
    QFocusEvent toMenu(QEvent::FocusOut, Qt::PopupFocusReason);
    QApplication::sendEvent(&field, &toMenu);
    QCOMPARE(field.selectedText(), QStringLiteral("bcd"));
    QCOMPARE(field.cursorPosition(), 4);
    QFocusEvent away(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(&field, &away);
    QCOMPARE(field.cursorPosition(), 0);
}

QTEST_MAIN(TestControls)
#include "tst_controls.moc"
