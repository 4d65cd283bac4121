// Every window as a screen reader and a keyboard user meet it, and as the fonts lay it out.
#include "controls/BarPopupMenu.h"
#include "app/AboutWindow.h"
#include "controls/FreeButton.h"
#include "document/FindCommand.h"
#include "document/FindDialog.h"
#include "document/SourceEditor.h"
#include "ftp/FtpPanel.h"
#include "generators/PageWizard.h"
#include "generators/TablePanel.h"
#include "generators/TableWizard.h"
#include "generators/TemplatesWindow.h"
#include "markup/QuickInsertPanel.h"
#include "document/ScintillaView.h"
#include "support/Fixtures.h"

#include <QClipboard>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QAbstractItemView>
#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

namespace {

bool interactive(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::Button: case QAccessible::CheckBox: case QAccessible::RadioButton:
    case QAccessible::EditableText: case QAccessible::ComboBox: case QAccessible::List:
    case QAccessible::PageTab: case QAccessible::MenuItem: case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown: case QAccessible::SpinBox: case QAccessible::Slider:
    case QAccessible::Table: case QAccessible::Tree:
        return true;
    default:
        return false;
    }
}

// What is wrong with the interactive controls under `iface`, one line each: no name, a combo
// box named by its value, or no way in by keyboard.
void accessProblems(QAccessibleInterface *iface, QStringList &problems)
{
    for (int i = 0; i < iface->childCount(); ++i) {
        QAccessibleInterface *child = iface->child(i);
        if (!child)
            continue;
        auto *w = qobject_cast<QWidget *>(child->object());
        // Hidden on purpose (an overflow button with nothing to show, an idle progress bar);
        // the pages of a tab widget are hidden only while another one is shown.
        if (w && w->isHidden() && !qobject_cast<QStackedWidget *>(w->parentWidget()) && !qobject_cast<QMenu *>(w))
            continue;
        const QAccessible::Role role = child->role();
        const QString what = QStringLiteral("%1 %2 (role %3)")
                                 .arg(w ? QString::fromLatin1(w->metaObject()->className()) : QStringLiteral("item"),
                                      w ? w->objectName() : child->text(QAccessible::Name))
                                 .arg(int(role));
        if (interactive(role)) {
            const QString name = child->text(QAccessible::Name);
            if (name.trimmed().isEmpty())
                problems << QStringLiteral("no name: ") + what;
            if (role == QAccessible::ComboBox && name == child->text(QAccessible::Value))
                problems << QStringLiteral("named by its value: ") + what;
            // Menu items are reached through their menu, tabs through their tab bar.
            const bool reachedThroughParent = role == QAccessible::MenuItem || role == QAccessible::PageTab;
            if (!reachedThroughParent && w && !(w->focusPolicy() & Qt::TabFocus))
                problems << QStringLiteral("no keyboard: ") + what;
            if (role == QAccessible::PageTab) {
                auto *bar = qobject_cast<QWidget *>(iface->object());
                if (bar && !(bar->focusPolicy() & Qt::TabFocus))
                    problems << QStringLiteral("no keyboard: ") + what;
            }
        }
        // The entries of lists and combo boxes are data, not controls.
        if (role != QAccessible::List && role != QAccessible::ComboBox && role != QAccessible::Table
            && role != QAccessible::Tree && role != QAccessible::ScrollBar)
            accessProblems(child, problems);
    }
}

QStringList accessProblems(QWidget *window)
{
    QStringList problems;
    accessProblems(QAccessible::queryAccessibleInterface(window), problems);
    return problems;
}

QString plain(QString text)
{
    return text.remove(QLatin1Char('&'));
}

// A caption that does not fit its control with the control's own font, or an empty string.
QString clipped(QWidget *w)
{
    const QFontMetrics fm(w->font());
    const QString where = QStringLiteral(" (%1 in %2)").arg(w->objectName(), w->window()->objectName());
    if (auto *b = qobject_cast<QPushButton *>(w); b && !b->text().isEmpty()) {
        QStyleOptionButton opt;
        opt.initFrom(b);
        opt.text = b->text();
        const QRect inside = b->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, b);
        if (fm.horizontalAdvance(plain(b->text())) > inside.width() || fm.height() > inside.height())
            return b->text() + where;
    } else if (auto *t = qobject_cast<QToolButton *>(w); t && t->toolButtonStyle() == Qt::ToolButtonTextOnly
                                                        && !t->text().isEmpty()) {
        // The label is drawn inside the button's frame; a pixel to spare on either side.
        const int frame = t->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, t);
        if (fm.horizontalAdvance(plain(t->text())) + 2 * (frame + 1) > t->width() || fm.height() > t->height())
            return t->text() + where;
    } else if (auto *c = qobject_cast<QCheckBox *>(w)) {
        if (c->sizeHint().width() > c->width())
            return c->text() + where;
    } else if (auto *l = qobject_cast<QLabel *>(w); l && !l->text().isEmpty()) {
        const QRect inside = l->contentsRect();
        if (l->wordWrap() ? l->heightForWidth(l->width()) > l->height()
                          : fm.horizontalAdvance(l->text()) > inside.width() || fm.height() > inside.height())
            return l->text() + where;
    } else if (auto *g = qobject_cast<QGroupBox *>(w); g && !g->title().isEmpty()) {
        if (fm.horizontalAdvance(g->title()) > g->width() - 16)
            return g->title() + where;
    } else if (auto *bar = qobject_cast<QTabBar *>(w)) {
        // Every tab whole and in view, none behind the scroll arrows.
        for (int i = 0; i < bar->count(); ++i) {
            const QRect tab = bar->tabRect(i);
            if (tab.left() < 0 || tab.right() >= bar->width() || fm.horizontalAdvance(plain(bar->tabText(i))) > tab.width())
                return bar->tabText(i) + where;
        }
    } else if (auto *f = qobject_cast<FreeButton *>(w); f && !f->Caption().isEmpty()) {
        // Inside the face (W - 4 wide) with its margins of 4 and 8.
        if (QFontMetrics(f->Font()).horizontalAdvance(f->Caption()) > f->width() - 4 - 12)
            return f->Caption() + where;
    }
    return QString();
}

// Every caption of a window that does not fit, one line each, each tab page shown in turn
// so its layout is in force.
QStringList clippedCaptions(QWidget *window)
{
    QStringList found;
    const auto check = [&] {
        for (QWidget *w : window->findChildren<QWidget *>())
            if (const QString c = w->isVisible() ? clipped(w) : QString(); !c.isEmpty() && !found.contains("clipped: " + c))
                found << "clipped: " + c;
    };
    check();
    for (QTabWidget *tabs : window->findChildren<QTabWidget *>()) {
        const int shown = tabs->currentIndex();
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            QCoreApplication::processEvents();
            check();
        }
        tabs->setCurrentIndex(shown);
    }
    return found;
}

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void checksCatchFaults_data();
    void checksCatchFaults();
    void everyControlNamedReachableAndFitting_data();
    void everyControlNamedReachableAndFitting();
    void controlsHaveTheirNames_data();
    void controlsHaveTheirNames();
    void labelsReadTheirText();
    void overflowButtonsNamed();
    void editorMenuInTheTree();
    void comboBoxesOfferTheirListAndActions_data();
    void comboBoxesOfferTheirListAndActions();
    void windowsUseTheMetricFonts();
    void fieldsShowTheirBeginning();
    void tableBoxMenuKeysWork_data();
    void tableBoxMenuKeysWork();

private:
    QWidget *window(const QString &which) const;

    ScriptedDialogs m_dialogs;
    std::unique_ptr<AppWindows> m_windows;
};

void TestAccessibility::init()
{
    m_windows = openProgram(m_dialogs);
    m_windows->main().resize(1032, 746);
    QVERIFY(QTest::qWaitForWindowExposed(&m_windows->main()));
}

void TestAccessibility::cleanup()
{
    m_windows.reset();
}

QWidget *TestAccessibility::window(const QString &which) const
{
    QWidget *w = nullptr;
    if (which == "main")
        w = &m_windows->main();
    else if (which == "about")
        w = &m_windows->about();
    else if (which == "table wizard")
        w = &m_windows->tableWizard();
    else if (which == "page wizard")
        w = &m_windows->pageWizard();
    else if (which == "templates")
        w = &m_windows->templates();
    else if (which == "find") {
        m_windows->main().action("Szukaj1")->trigger();
        w = m_windows->main().findCommand().dialog();
    }
    if (w && which != "main") {
        w->show();
        if (!QTest::qWaitForWindowExposed(w))
            return nullptr;
    }
    return w;
}

void TestAccessibility::checksCatchFaults_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("reported");
    QTest::newRow("a button without a caption") << "unnamed button" << "no name";
    QTest::newRow("an entry field without a name or label") << "unnamed field" << "no name";
    QTest::newRow("a button the keyboard cannot reach") << "mouse-only button" << "no keyboard";
    QTest::newRow("a combo box with neither name nor label") << "combo" << "no name";
    QTest::newRow("a label too narrow for its text") << "narrow label" << "clipped";
    QTest::newRow("a button too narrow for its caption") << "narrow button" << "clipped";
    QTest::newRow("a named, reachable, roomy button passes") << "good button" << "";
}

void TestAccessibility::checksCatchFaults()
{
    QFETCH(QString, fault);
    QFETCH(QString, reported);
    QWidget w;
    w.setObjectName("probe");
    w.resize(400, 100);
    if (fault == "unnamed button")
        new QPushButton(&w);
    else if (fault == "unnamed field")
        new QLineEdit(&w);
    else if (fault == "mouse-only button")
        (new QPushButton("OK", &w))->setFocusPolicy(Qt::NoFocus);
    else if (fault == "combo")
        (new QComboBox(&w))->addItem("HTML (*.html)");
    else if (fault == "narrow label")
        (new QLabel(QString::fromUtf8("Wielkość komurki:"), &w))->setGeometry(0, 0, 40, 17);
    else if (fault == "narrow button")
        (new QPushButton("Linia pozioma", &w))->setGeometry(0, 0, 30, 23);
    else
        (new QPushButton("Utwórz", &w))->setGeometry(0, 0, 120, 30);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QStringList problems = accessProblems(&w) + clippedCaptions(&w);
    if (reported.isEmpty())
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
    else
        QVERIFY2(problems.size() == 1 && problems.first().startsWith(reported), qPrintable(problems.join('\n')));
}

void TestAccessibility::everyControlNamedReachableAndFitting_data()
{
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QSize>("fixedSize"); // empty: the window can be resized
    QTest::newRow("main") << "main" << "Velmora Software: Tarnwick v1.6 " << QSize();
    QTest::newRow("about") << "about" << "Informacje" << QSize(420, 299);
    QTest::newRow("table wizard") << "table wizard" << "Kreator Tabel " << QSize(460, 227);
    QTest::newRow("page wizard") << "page wizard" << "Kreator stron" << QSize(393, 331);
    QTest::newRow("templates") << "templates" << "Tarnwick - Szablony" << QSize(807, 182);
    QTest::newRow("find") << "find" << "Znajdź" << QSize();
}

void TestAccessibility::everyControlNamedReachableAndFitting()
{
    QFETCH(QString, which);
    QFETCH(QString, title);
    QFETCH(QSize, fixedSize);
    QWidget *w = window(which);
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), title);
    QCOMPARE(w->minimumSize() == w->maximumSize() ? w->size() : QSize(), fixedSize);
    const QStringList problems = accessProblems(w) + clippedCaptions(w);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
}

void TestAccessibility::controlsHaveTheirNames_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::newRow("toolbar button by its hint") << "ToolButton4" << "Zapisuje dokument";
    QTest::newRow("second toolbar by caption") << "BitBtn1" << "Kreator stron";
    QTest::newRow("field by its label") << "eHost" << "Host:";
    QTest::newRow("password field by its label") << "eHaslo" << "Hasło:";
    QTest::newRow("field without a label") << "Edit1" << "Edit1";
    QTest::newRow("comment box") << "Memo1" << "Memo1";
    QTest::newRow("table box") << "Memo2" << "Memo2";
    QTest::newRow("file list") << "FileListBox1" << "FileListBox1";
    QTest::newRow("remote list") << "rList" << "rList";
    QTest::newRow("push button") << "bConnect" << "Połącz";
    QTest::newRow("FTP side: server") << "aRemote" << "Serwer";
    QTest::newRow("FTP side: local disk") << "aLocal" << "Dysk lokalny";
    QTest::newRow("server folder field") << "rPath" << "Folder na serwerze";
    QTest::newRow("transfer progress") << "ProgressBar1" << "Postęp przesyłania";
    QTest::newRow("free button") << "FreeButton3" << "CSS";
    QTest::newRow("source editor") << "s" << "Kod źródłowy";
    // A combo box is named by its label or purpose, and tells its value apart.
    QTest::newRow("file filter box") << "FilterComboBox1" << "Filtr plików";
    QTest::newRow("drive box") << "DriveComboBox1" << "Dysk";
    QTest::newRow("FTP panel's drive box") << "lDrives" << "Dysk";
    QTest::newRow("protocol box by its label") << "cProtocol" << "Protokół:";
    // Buttons by their captions.
    const QStringList captions = {
        "SpeedButton4", "Spacja", "SpeedButton2", "Akapit", "SpeedButton3", "Nowy wiersz", "Button1", "Obrazek",
        "Button2", "Plik wideo", "Button3", "Linia pozioma", "Button4", "Index górny", "Button5", "Index dolny",
        "FreeButton1", "HTML", "FreeButton2", "PHP", "FreeButton4", "XML", "BitBtn6", "Wstaw",
        "BitBtn11", "Utwórz tabele", "BitBtn12", "Kopiuj", "BitBtn13", "Wyczyść",
        "Button6", "Kopiuj", "Button7", "Usuń", "bAbort", "Przerwij",
    };
    for (int i = 0; i < captions.size(); i += 2)
        QTest::newRow(qPrintable(captions[i])) << captions[i] << captions[i + 1];
}

void TestAccessibility::controlsHaveTheirNames()
{
    QFETCH(QString, control);
    QFETCH(QString, name);
    auto *w = ::control<QWidget>(&m_windows->main(), qPrintable(control));
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
    QCOMPARE(iface->text(QAccessible::Name).remove(QLatin1Char('&')), name);
    if (auto *box = qobject_cast<QComboBox *>(w))
        QCOMPARE(iface->text(QAccessible::Value), box->currentText());
}

void TestAccessibility::labelsReadTheirText()
{
    FtpPanel *ftp = m_windows->main().findChild<FtpPanel *>();
    QVERIFY(ftp);
    QAccessibleInterface *status = QAccessible::queryAccessibleInterface(control<QLabel>(ftp, "sBar"));
    QCOMPARE(status->role(), QAccessible::StaticText);
    QCOMPARE(status->text(QAccessible::Name), QStringLiteral("Rozlaczony"));
    control<QLabel>(ftp, "sBar")->setText(QStringLiteral("Połączono z 127.0.0.1."));
    QCOMPARE(status->text(QAccessible::Name), QStringLiteral("Połączono z 127.0.0.1."));

    QStatusBar *bar = m_windows->main().statusBar();
    QAccessibleInterface *main = QAccessible::queryAccessibleInterface(bar);
    QCOMPARE(main->text(QAccessible::Name), QStringLiteral("Tarnwick 1.6 PRO"));
    bar->showMessage(QStringLiteral("Zapisuje dokument"));
    QCOMPARE(main->text(QAccessible::Name), QStringLiteral("Zapisuje dokument"));
    bar->clearMessage();
    QCOMPARE(main->text(QAccessible::Name), QStringLiteral("Tarnwick 1.6 PRO"));

    // The about window is one picture; its words reach a screen reader as the description.
    QAccessibleInterface *about = QAccessible::queryAccessibleInterface(control<QLabel>(&m_windows->about(), "Image1"));
    QCOMPARE(about->text(QAccessible::Name), QStringLiteral("Informacje"));
    QCOMPARE(about->text(QAccessible::Description),
             QStringLiteral("Tarnwick\nEdytor kodu źródłowego stron WWW, wersja 1.6 PRO\nVelmora Software\n"
                            "Program: Velmora Soft.\nKolorowanie składni, podgląd strony, kreatory i klient FTP\n"
                            "Kliknij, aby zamknąć to okno."));
    QCOMPARE(m_windows->about().objectName(), QStringLiteral("Form2"));
    // The picture: a sky from #1E3C78 at the top to #081028 at the bottom, and a box of
    // credits lit by white at 30 of 255 inside a #C8D8FF frame from (40, 125) to (379, 234).
    const QImage sky = control<QLabel>(&m_windows->about(), "Image1")->pixmap().toImage();
    QCOMPARE(sky.size(), QSize(420, 300));
    const auto near = [](QRgb got, int r, int g, int b) {
        return qAbs(qRed(got) - r) <= 2 && qAbs(qGreen(got) - g) <= 2 && qAbs(qBlue(got) - b) <= 2;
    };
    QVERIFY(near(sky.pixel(5, 0), 0x1E, 0x3C, 0x78));
    QVERIFY(near(sky.pixel(5, 299), 0x08, 0x10, 0x28));
    QVERIFY(near(sky.pixel(5, 150), 19, 38, 80)); // halfway down
    for (const QPoint corner : {QPoint(40, 125), QPoint(379, 125), QPoint(40, 234), QPoint(379, 234)})
        QCOMPARE(sky.pixel(corner), qRgb(0xC8, 0xD8, 0xFF));
    for (const QPoint outside : {QPoint(39, 180), QPoint(380, 180), QPoint(200, 124), QPoint(200, 235)})
        QCOMPARE(sky.pixel(outside), sky.pixel(5, outside.y()));
    QVERIFY(near(sky.pixel(42, 150), 19 + (255 - 19) * 30 / 255, 38 + (255 - 38) * 30 / 255, 80 + (255 - 80) * 30 / 255));
    // "Informacje" opens the window, modal; a click anywhere on the picture closes it.
    QWidget *shown = nullptr;
    QObject clicker; // a click still waiting when the test leaves is dropped with it
    QMetaObject::invokeMethod(
        &clicker, [&] {
            shown = QApplication::activeModalWidget();
            if (shown)
                QTest::mouseClick(shown, Qt::LeftButton, {}, QPoint(210, 150));
            if (auto *still = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
                still->reject(); // the click did not close it
        },
        Qt::QueuedConnection);
    m_windows->main().action("Informacje1")->trigger();
    QCOMPARE(shown, &m_windows->about());
    QCOMPARE(m_windows->about().result(), int(QDialog::Accepted));
}

void TestAccessibility::overflowButtonsNamed()
{
    for (const char *bar : {"ToolBar1", "ToolBar2", "ToolBar3"}) {
        auto *more = control<QToolBar>(&m_windows->main(), bar)->findChild<QToolButton *>("qt_toolbar_ext_button");
        QVERIFY(more);
        QCOMPARE(QAccessible::queryAccessibleInterface(more)->text(QAccessible::Name), QStringLiteral("Więcej przycisków"));
        QVERIFY(more->focusPolicy() & Qt::TabFocus);
    }
}

void TestAccessibility::editorMenuInTheTree()
{
    auto *menu = control<QMenu>(&m_windows->main(), "BarPopupMenu1");
    QAccessibleInterface *window = QAccessible::queryAccessibleInterface(qApp);
    const auto menuIn = [&]() -> QAccessibleInterface * {
        for (int i = 0; i < window->childCount(); ++i)
            if (window->child(i)->object() == menu)
                return window->child(i);
        return nullptr;
    };
    QVERIFY(!menuIn());
    menu->popup(m_windows->main().mapToGlobal(QPoint(300, 200)));
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    QAccessibleInterface *popup = menuIn();
    QVERIFY(popup);
    QCOMPARE(popup->role(), QAccessible::PopupMenu);
    QCOMPARE(window->indexOfChild(popup), window->childCount() - 1);
    QCOMPARE(popup->parent()->object(), qApp);
    QStringList items;
    for (int i = 0; i < popup->childCount(); ++i)
        if (popup->child(i)->role() == QAccessible::MenuItem)
            items << popup->child(i)->text(QAccessible::Name);
    QCOMPARE(items, QStringList({"Cofnij", "Ponów", "Kopiuj", "Wklej", "Wytnij", "Usuń", "Zaznacz wszystko  "}));
    menu->close();
    QVERIFY(!menuIn());
}

// A combo box holds its list, and its field when it has one; "press" opens and closes the list.
void TestAccessibility::comboBoxesOfferTheirListAndActions_data()
{
    QTest::addColumn<bool>("editable");
    QTest::newRow("a choice") << false;
    QTest::newRow("a field with a list") << true;
}

void TestAccessibility::comboBoxesOfferTheirListAndActions()
{
    QFETCH(bool, editable);
    QComboBox box(&m_windows->main());
    box.addItems({"FTP", "SFTP"});
    box.setEditable(editable);
    box.setCurrentIndex(1);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&box);
    QCOMPARE(iface->role(), QAccessible::ComboBox);
    QCOMPARE(iface->text(QAccessible::Value), QStringLiteral("SFTP"));
    QCOMPARE(iface->childCount(), editable ? 2 : 1);
    QCOMPARE(iface->child(0)->object(), box.view());
    QCOMPARE(iface->indexOfChild(iface->child(0)), 0);
    QCOMPARE(iface->child(1) ? iface->child(1)->object() : nullptr, editable ? box.lineEdit() : nullptr);
    if (editable)
        QCOMPARE(iface->indexOfChild(iface->child(1)), 1);
    QCOMPARE(iface->indexOfChild(QAccessible::queryAccessibleInterface(&m_windows->main())), -1);
    QAccessibleActionInterface *actions = iface->actionInterface();
    QCOMPARE(actions->actionNames(), (QStringList{QAccessibleActionInterface::showMenuAction(),
                                                   QAccessibleActionInterface::pressAction(),
                                                   QAccessibleActionInterface::setFocusAction()}));
    actions->doAction(QAccessibleActionInterface::pressAction());
    QTRY_VERIFY(box.view()->isVisible());
    actions->doAction(QAccessibleActionInterface::showMenuAction());
    QTRY_VERIFY(!box.view()->isVisible());
    actions->doAction(QAccessibleActionInterface::setFocusAction());
    QTRY_VERIFY(box.hasFocus());
}

void TestAccessibility::windowsUseTheMetricFonts()
{
    // The captions fit because these are the fonts in use, not look-alikes of other widths.
    QCOMPARE(QFontInfo(m_windows->main().font()).family(), QStringLiteral("MS Sans Serif"));
    QCOMPARE(QFontMetrics(m_windows->main().font()).height(), 13);
    QCOMPARE(QFontInfo(m_windows->main().font()).pixelSize(), 13);
    for (QWidget *w : std::initializer_list<QWidget *>{&m_windows->tableWizard(), &m_windows->pageWizard(), &m_windows->templates()})
        QCOMPARE(w->font(), m_windows->main().font());
    auto *bar = control<QMenu>(&m_windows->main(), "BarPopupMenu1");
    // The editor menu's bar: "Tarnwick" in white, bold italic Tahoma of 19 pixels.
    const auto *popup = static_cast<BarPopupMenu *>(bar);
    QCOMPARE(QFontInfo(popup->VerticalFont()).family(), QStringLiteral("Tahoma"));
    QCOMPARE(popup->VerticalText(), QStringLiteral("Tarnwick"));
    QCOMPARE(popup->VerticalFont().pixelSize(), 19);
    QVERIFY(popup->VerticalFont().bold() && popup->VerticalFont().italic());
    QCOMPARE(popup->VerticalFontColor(), Colors::TColor(0xFFFFFF));
    // Headings and the bold toolbar button: family, pixel size and weight asked for.
    const auto described = [](const QWidget *w) {
        const QFont f = w->font();
        return QStringLiteral("%1 %2 %3").arg(f.family()).arg(f.pixelSize()).arg(f.weight());
    };
    const auto headingOf = [](QWidget *window) { return window->findChild<QWidget *>("Panel1")->findChild<QLabel *>(); };
    QCOMPARE(described(headingOf(&m_windows->templates())), QStringLiteral("Tahoma 19 700"));
    QCOMPARE(described(headingOf(&m_windows->pageWizard())), QStringLiteral("Arial Black 32 900"));
    // Where the headings stand: the templates' centred across its strip, the wizard's at the left.
    QCOMPARE(headingOf(&m_windows->templates())->geometry(), QRect(0, 0, 807, 65));
    QCOMPARE(headingOf(&m_windows->templates())->alignment(), Qt::AlignCenter);
    QCOMPARE(headingOf(&m_windows->pageWizard())->geometry(), QRect(8, 8, 377, 57));
    QCOMPARE(m_windows->templates().findChild<QWidget *>("Panel1")->height(), 65);
    QCOMPARE(m_windows->pageWizard().findChild<QWidget *>("Panel1")->height(), 73);
    QCOMPARE(described(control<QLabel>(m_windows->main().ftpPanel(), "Label1")), QStringLiteral("Tahoma 16 400"));
    QCOMPARE(described(control<QToolButton>(&m_windows->main(), "BitBtn1")), QStringLiteral("Tahoma 11 700"));
    QCOMPARE(described(control<QToolButton>(&m_windows->main(), "Button4")), described(&m_windows->main()));
    // The table box's editor component shapes its text: in the bitmap face "HTML" reads "H™L".
    const auto *box = control<ScintillaView>(&m_windows->main(), "Memo2");
    QCOMPARE(QFontInfo(box->font()).family(), QFontInfo(QApplication::font()).family());
}

void TestAccessibility::fieldsShowTheirBeginning()
{
    auto *marquee = control<QLineEdit>(&m_windows->main(), "Edit1");
    QCOMPARE(marquee->cursorPosition(), 0);
    auto *title = control<QLineEdit>(&m_windows->pageWizard(), "Edit1");
    m_windows->pageWizard().show();
    QVERIFY(QTest::qWaitForWindowActive(&m_windows->pageWizard()));
    m_windows->pageWizard().activateWindow();
    control<QTabWidget>(&m_windows->pageWizard(), "PageControl1")->setCurrentIndex(1);
    title->setFocus();
    QTRY_VERIFY(title->hasFocus());
    QTest::keyClicks(title, QStringLiteral("Bardzo dlugi tytul strony, dluzszy niz pole"));
    QVERIFY(title->cursorPosition() > 0);
    QTest::keyClick(title, Qt::Key_Tab);
    QVERIFY(!title->hasFocus());
    QCOMPARE(title->cursorPosition(), 0);
    QCOMPARE(title->text(), QStringLiteral("Bardzo dlugi tytul strony, dluzszy niz pole"));
}

void TestAccessibility::tableBoxMenuKeysWork_data()
{
    // Each item's key, pressed in the box with the whole window's keys in force, does what
    // the item does to the box.
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("textAfter");
    QTest::addColumn<QString>("clipboardAfter");
    QTest::addColumn<QStringList>("enabled"); // the items that can be chosen when the menu opens
    // Typed "abc", all of it selected, "schowek" on the clipboard.
    const QStringList selected{"Cofnij", "Wytnij", "Kopiuj", "Wklej", "Usuń", "Zaznacz wszystko"};
    QTest::newRow("Wytnij") << "Wytnij" << "" << "abc" << selected;
    QTest::newRow("Kopiuj") << "Kopiuj" << "abc" << "abc" << selected;
    QTest::newRow("Wklej") << "Wklej" << "schowek" << "schowek" << selected;
    QTest::newRow("Usuń") << QString::fromUtf8("Usuń") << "" << "schowek" << selected;
    // Nothing selected: nothing to cut, copy or delete.
    QTest::newRow("Cofnij") << "Cofnij" << "" << "schowek" << QStringList{"Cofnij", "Wklej", "Zaznacz wszystko"};
    // Undone: the box is empty, only the typing to redo.
    QTest::newRow("Ponów") << QString::fromUtf8("Ponów") << "abc" << "schowek" << QStringList{"Ponów", "Wklej"};
}

void TestAccessibility::tableBoxMenuKeysWork()
{
    QFETCH(QString, item);
    QFETCH(QString, textAfter);
    QFETCH(QString, clipboardAfter);
    QFETCH(QStringList, enabled);
    TablePanel *panel = m_windows->main().tablePanel();
    ScintillaView *box = control<ScintillaView>(panel, "Memo2");
    // Typed "abc" as one step, then the state the item needs.
    const auto prepare = [&] {
        box->clear();
        box->setFocus();
        QTRY_VERIFY(box->hasFocus());
        QTest::keyClicks(box, "abc");
        QApplication::clipboard()->setText("schowek");
        if (item == QStringLiteral("Ponów"))
            box->undo();
        else if (item != "Cofnij")
            box->selectAll(true);
    };
    prepare();
    QMenu *menu = panel->contextMenu();
    QStringList captions;
    QStringList canChoose;
    QAction *chosen = nullptr;
    for (QAction *a : menu->actions()) {
        if (a->isSeparator())
            continue;
        captions << a->text();
        if (a->isEnabled())
            canChoose << a->text();
        QVERIFY2(a->shortcut() != QKeySequence(Qt::CTRL | Qt::Key_Z) && a->shortcut() != QKeySequence(Qt::CTRL | Qt::Key_X),
                 qPrintable(a->text()));
        if (a->text() == item)
            chosen = a;
    }
    QCOMPARE(captions, QStringList({"Cofnij", "Ponów", "Wytnij", "Kopiuj", "Wklej", "Usuń", "Zaznacz wszystko"}));
    QStringList keys;
    for (QAction *a : menu->actions())
        if (!a->isSeparator())
            keys << a->shortcut().toString();
    QCOMPARE(keys, QStringList({"Alt+Backspace", "Ctrl+Y", "Shift+Del", "Ctrl+Ins", "Shift+Ins", "Del", ""}));
    QCOMPARE(canChoose, enabled);
    QVERIFY(chosen && !chosen->shortcut().isEmpty());
    // Chosen from the menu, and with the key the menu shows.
    chosen->trigger();
    QCOMPARE(box->text(), textAfter);
    QCOMPARE(QApplication::clipboard()->text(), clipboardAfter);
    prepare();
    const QKeyCombination key = chosen->shortcut()[0];
    QTest::keyClick(box, key.key(), key.keyboardModifiers());
    QCOMPARE(box->text(), textAfter);
    QCOMPARE(QApplication::clipboard()->text(), clipboardAfter);
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
