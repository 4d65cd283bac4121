#include "controls/FreeButton.h"
#include "controls/LocalLists.h"
#include "document/FilePanel.h"
#include "ftp/FtpPanel.h"
#include "document/FindCommand.h"
#include "document/FindDialog.h"
#include "generators/PageWizard.h"
#include "generators/TemplatesWindow.h"
#include "app/AboutWindow.h"
#include "app/Icons.h"
#include "document/SourceEditor.h"
#include "markup/QuickInsertPanel.h"
#include "preview/Preview.h"
#include "support/Files.h"
#include "support/Fixtures.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFontInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <Qsci/qscilexer.h>
#include <Qsci/qsciscintilla.h>

#include <functional>

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void startsWithTheDefaultDocumentAndTexts();
    void menusFollowTheTable();
    void menuShortcuts_data();
    void menuShortcuts();
    void toolButtonHints_data();
    void toolButtonHints();
    void newReplacesAModifiedDocument();
    void saveNamesTheFile_data();
    void saveNamesTheFile();
    void saveDialogKeepsItsState();
    void saveFailureShowsTheErrorAndKeepsTheFlag();
    void openReadsTheChosenFile();
    void encodingMenuAndStatusFollowTheDocument();
    void closeQuestion_data();
    void closeQuestion();
    void ctrlZSavesAndDoesNotUndo();
    void ctrlXClosesTheWindow();
    void ctrlUCutsAndCtrlFDeletes();
    void pageKeysTurnTheNotebook_data();
    void pageKeysTurnTheNotebook();
    void clipboardKeysInAQuickInsertFieldActOnTheEditor();
    void filePanelChainsAndSetsTheCurrentFolder();
    void commandsShowTheirPictures();
    void closingEndsTheFtpSessionAndKeepsItsSettings();
    void commandsOpenTheirWindows_data();
    void commandsOpenTheirWindows();

private:
    void press(QWidget *w, Qt::Key key)
    {
        w->setFocus();
        QTest::keyClick(w, key, Qt::ControlModifier);
    }
    void typeIntoEditor(const QString &text)
    {
        m_form->editor()->setFocus();
        QTest::keyClicks(m_form->editor()->viewport(), text);
    }

    std::unique_ptr<AppWindows> m_windows;
    MainWindow *m_form = nullptr;
    ScriptedDialogs m_dialogs;
    QTemporaryDir m_dir;
    QString m_startDir = QDir::currentPath();
};

void TestMainWindow::init()
{
    QDir::setCurrent(m_startDir);
    m_windows = openProgram(m_dialogs);
    m_form = &m_windows->main();
    QVERIFY(QTest::qWaitForWindowActive(m_form));
}

void TestMainWindow::cleanup()
{
    m_windows.reset();
}

void TestMainWindow::startsWithTheDefaultDocumentAndTexts()
{
    QCOMPARE(m_form->editor()->lines(), kDefaultDocument);
    QVERIFY(!m_form->editor()->isDocumentModified());
    QCOMPARE(m_form->windowTitle(), QStringLiteral("Velmora Software: Tarnwick v1.6 "));
    QCOMPARE(control<QLabel>(m_form->statusBar(), "StatusText")->text(), QStringLiteral("Tarnwick 1.6 PRO"));
    // Every tab's caption, the current one marked.
    const auto tabs = [](const QTabWidget *w) {
        QStringList texts;
        for (int i = 0; i < w->count(); ++i)
            texts << w->tabText(i) + (i == w->currentIndex() ? QStringLiteral(" *") : QString());
        return texts;
    };
    QCOMPARE(tabs(m_form->notebook()), QStringList({"Kod źródłowy *", "Podgląd"}));
    QCOMPARE(tabs(control<QTabWidget>(m_form->ftpPanel(), "PageControl1")), QStringList({"Połączenie", "Zarządzanie *"}));
    QCOMPARE(tabs(control<QTabWidget>(m_form, "PageControl2")), QStringList({"Różne *", "Kolorowanie składni"}));
    QCOMPARE(m_form->filePanel()->filterBox()->currentText(), QStringLiteral("HTML (*.html)"));
    QCOMPARE(control<QWidget>(m_form, "Panel2")->width(), 161);
    QCOMPARE(control<QWidget>(m_form, "Panel3")->width(), 296);
    QCOMPARE(control<QWidget>(m_form, "Panel4")->height(), 155);
    QCOMPARE(control<QWidget>(m_form, "Panel1")->height(), 7);
    QCOMPARE(control<QWidget>(m_form, "PageControl2")->width(), 560);
    QCOMPARE(m_form->statusBar()->height(), 21);
    QVERIFY(m_form->statusBar()->isSizeGripEnabled());
    const auto *ftpHeader = control<QLabel>(m_form->ftpPanel(), "Label1");
    QCOMPARE(ftpHeader->height(), 41);
    QCOMPARE(ftpHeader->alignment(), Qt::AlignCenter);
    // The FTP status: a sunken panel whose long messages wrap.
    const auto *ftpStatus = control<QLabel>(m_form->ftpPanel(), "sBar");
    QCOMPARE(ftpStatus->frameShape() + ftpStatus->frameShadow(), QFrame::Panel + QFrame::Sunken);
    QVERIFY(ftpStatus->wordWrap());
    // The bars stay where they are, 29 pixels high, with 16-pixel pictures; the second bar's
    // buttons and the colouring page's buttons have their own places and sizes.
    QStringList bars;
    for (const char *name : {"ToolBar1", "ToolBar2", "ToolBar3"}) {
        const auto *bar = control<QToolBar>(m_form, name);
        bars << QStringLiteral("%1 %2").arg(name).arg(bar->height());
    }
    QCOMPARE(bars, QStringList({"ToolBar1 29", "ToolBar2 29", "ToolBar3 29"}));
    QVERIFY(!control<QToolBar>(m_form, "ToolBar1")->isMovable() && !control<QToolBar>(m_form, "ToolBar2")->isMovable());
    QCOMPARE(control<QToolBar>(m_form, "ToolBar1")->iconSize(), QSize(16, 16));
    QCOMPARE(control<QToolBar>(m_form, "ToolBar3")->iconSize(), QSize(16, 16));
    QStringList places;
    for (const char *name : {"SpeedButton4", "SpeedButton2", "SpeedButton3", "Button1", "Button2", "Button3", "Button4",
                             "Button5", "BitBtn1", "FreeButton1", "FreeButton2", "FreeButton3", "FreeButton4"}) {
        const QWidget *w = control<QWidget>(m_form, name);
        places << QStringLiteral("%1 %2x%3").arg(name).arg(w->width()).arg(w->height());
    }
    QCOMPARE(places, QStringList({"SpeedButton4 72x23", "SpeedButton2 72x23", "SpeedButton3 72x23", "Button1 75x23",
                                  "Button2 75x23", "Button3 75x23", "Button4 75x23", "Button5 75x23", "BitBtn1 89x23",
                                  "FreeButton1 273x41", "FreeButton2 273x41", "FreeButton3 249x41", "FreeButton4 249x41"}));
    for (const char *name : {"FreeButton1", "FreeButton2", "FreeButton3", "FreeButton4"}) {
        const auto *b = control<FreeButton>(m_form, name);
        QCOMPARE(QStringLiteral("%1 %2 %3").arg(b->Font().family()).arg(b->Font().pixelSize()).arg(b->FontColor()),
                 QStringLiteral("Verdana 13 16777215")); // white
    }
    QCOMPARE(control<QWidget>(m_form, "FreeButton3")->pos(), QPoint(288, 24));
    QCOMPARE(control<QWidget>(m_form, "FreeButton2")->pos(), QPoint(8, 72));
    // The editor: line numbers and no other margin, no wrapping, tabs of 8, no automatic indent,
    // a 13-pixel fixed-pitch font.
    SourceEditor *editor = m_form->editor();
    QVERIFY(editor->marginLineNumbers(0));
    // Room for five digits, as the editor component measures them.
    QsciScintilla fiveDigits;
    fiveDigits.setMarginWidth(0, QStringLiteral("00000"));
    QCOMPARE(editor->marginWidth(0), fiveDigits.marginWidth(0));
    QCOMPARE(editor->marginWidth(1), 0);
    QCOMPARE(editor->wrapMode(), QsciScintilla::WrapNone);
    QCOMPARE(editor->tabWidth(), 8);
    QVERIFY(!editor->autoIndent());
    QCOMPARE(editor->SendScintilla(QsciScintillaBase::SCI_STYLEGETSIZEFRACTIONAL, ulong(QsciScintillaBase::STYLE_DEFAULT)),
             975L); // hundredths of a point
    QVERIFY(QFontInfo(editor->lexer()->defaultFont()).fixedPitch());
}

void TestMainWindow::menusFollowTheTable()
{
    // Every item of the menus, indented by its level: "-" a separator, "(off)" an item that
    // cannot be chosen.
    QStringList items;
    const std::function<void(const QList<QAction *> &, const QString &)> walk = [&](const QList<QAction *> &actions,
                                                                                    const QString &indent) {
        for (QAction *a : actions) {
            items << indent + (a->isSeparator() ? QStringLiteral("-") : a->text()) + (a->isEnabled() ? "" : " (off)");
            if (a->menu())
                walk(a->menu()->actions(), indent + "  ");
        }
    };
    const QStringList menus = {
        "&Plik", "  &Nowy", "  Szablony", "  &Otwórz", "  &Zapisz", "  Kodowanie", "    Windows-1250",
        "    ISO-8859-2", "    UTF-8", "  -", "  Kreator strony", "  -", "  Szukaj", "  -", "  Drukuj (off)", "  -",
        "  Z&amknij",
        "&Edycja", "  &Cofnij", "  &Ponów", "  -", "  &Zaznacz wszystko", "  -", "  &Kopiuj", "  W&klej",
        "  W&ytnij", "  &Usuń", "  -", "  Zawijanie wierszy", "    Tak", "    Nie", "  -",
        "  Wstawiaj znaczniki przy kursorze",
        "&Format", "  Pogrubienie", "  Kursywa", "  Podkreślenie", "  Przekreślenie", "  -", "  Wyrównaj",
        "    Do lewej", "    Wyśrodkuj", "    Do prawej", "    Justuj", "    -", "    Znacznik <SPAN> (off)", "  -",
        "  Akapit", "  Nowy wiersz", "  Index górny", "  Index dolny", "  Nagłówek", "    Poziom 1", "    Poziom 2",
        "    Poziom 3", "    Poziom 4", "    Poziom 5", "    Poziom 6", "  Inne atrybuty", "    Cytat",
        "    Kod (tekst programu)", "    Tekst wyróżniony", "    Mocne wyróżnienie", "    Zmienna",
        "    Stała szerokość czcionki", "    Dużo czcionka", "    Mała czcionka", "  -", "  Wcięcie", "  -",
        "  Tekst migający <BLINK>", "  Przykładowe wyjście <SAMP>", "  Skrót <ABBR>", "  Akronim <ACRONYM>",
        "&Wstaw", "  Link", "  Spacja", "  Znaki specjalne", "    ®", "    ©", "  Obrazek", "  Plik wideo",
        "  Linia pozioma", "  Znaczniki META", "    Oznaczenie kodowania ISO", "    Opis strony",
        "    Słowa kluczowe", "    Autor strony", "    E-mail autora", "    Indeksowanie strony (Roboty)",
        "  Pusty znacznik", "  Fragment dodany <INS>", "  Fragment usunięty <DEL>", "  Nowa linia <BR>",
        "    Tylko nowa linia", "    Poniżej do lewej", "    Poniżej do prawej", "    Poniżej oba marginesy",
        "  Ramka", "    <FRAMESET>", "    <FRAME>", "    <NOFRAME>", "    -", "    Pływająca ramka", "  Formularz",
        "    Szkielet formularza", "    -", "    Pole tekstowe", "    Pole hasła", "    Pole ukryte",
        "    Opcja \"radio\"", "    Opcja \"checkbox\"", "    -", "    Przycisk \"Wyślij\"",
        "    Przycisk \"Wyczyść\"", "  Lista", "    Elemnt listy <LI>", "    -", "    Numerowana <OL>",
        "    Nienumerowana <UL>", "    Deficyjna <DL>", "  Tabele", "    Tabela <TABLE>", "    Wiersz <TR>",
        "    Nagłówek <TH>", "    Komórka <TD>", "    -", "    Nagłówek <THEAD>", "    Zawartość <TBODY>",
        "    Stopka <TFOOT>", "    -", "    Kolumny <COL>", "    Grupa kolumn <COLGROUP>", "  Okienko dialogowe",
        "    Komunikat", "    Informacja", "    Prompt",
        "&Kolorowanie składni", "  HTML", "  PHP", "  CSS", "  XML",
        "&Pomoc", "  &Informacje",
    };
    const QList<QAction *> top = m_form->menuBar()->actions();
    walk(top, QString());
    QCOMPARE(items, menus);
    QCOMPARE(m_form->action("Zaznaczwszystko3")->text(), QStringLiteral("Zaznacz wszystko  "));
    const QList<QAction *> plik = top.first()->menu()->actions();
    // The encoding submenu sits right after "Zapisz".
    QCOMPARE(plik.at(3), m_form->action("Zapisz1"));
    QCOMPARE(plik.at(4)->menu()->objectName(), QStringLiteral("Kodowanie1"));
    QCOMPARE(plik.at(12)->objectName(), QStringLiteral("Zaknij1"));
}

void TestMainWindow::menuShortcuts_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("keys");
    const QStringList rows = {
        "Plik1", "Ctrl+N", "Otwrz1", "Ctrl+O", "Zapisz1", "Ctrl+Z", "Zaknij1", "Ctrl+X",
        "Zaznaczwszystko1", "Ctrl+A", "Kopiuj1", "Ctrl+C", "Wklej1", "Ctrl+V", "Wytnij1", "Ctrl+U",
        "Usu1", "Ctrl+F", "Informacje1", "Ctrl+I", "Cofnij1", "", "Szukaj1", "",
        // The editor's popup menu.
        "Kopiuj3", "Ctrl+C", "Wklej3", "Ctrl+V", "Wytnij3", "Ctrl+U", "Usu3", "Ctrl+F",
        "Zaznaczwszystko3", "Ctrl+A", "Cofnij2", "", "Ponw2", "",
    };
    for (int i = 0; i < rows.size(); i += 2)
        QTest::newRow(qPrintable(rows[i])) << rows[i] << rows[i + 1];
}

void TestMainWindow::menuShortcuts()
{
    QFETCH(QString, action);
    QFETCH(QString, keys);
    QCOMPARE(m_form->action(action)->shortcut().toString(QKeySequence::PortableText), keys);
}

void TestMainWindow::toolButtonHints_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("hint");
    const QStringList rows = {
        "ToolButton1", "Tworzy nowy dokument", "ToolButton3", "Otwiera dokument",
        "ToolButton4", "Zapisuje dokument", "ToolButton6", "Kończy działanie programu",
        "ToolButton33", "Szukaj wyrazu", "ToolButton28", "Cofnij", "ToolButton29", "Ponów",
        "ToolButton8", "Kopiuje zaznaczony tekst", "ToolButton9", "Wkleja tekst ze schowka",
        "ToolButton10", "Wycina zaznaczony tekst", "ToolButton11", "Usuwa zaznaczony tekst",
        "ToolButton15", "Pogrubienie", "ToolButton16", "Pochylenie", "ToolButton17", "Podkreślenie",
        "ToolButton20", "Do lewej", "ToolButton21", "Wyśrodkowanie", "ToolButton22", "Do prawej",
        "ToolButton38", "Wyjustuj", "ToolButton18", "Link", "ToolButton13", "Pokazuje informacje o programie",
        "ToolButton5", "Wstecz", "ToolButton27", "Dalej", "ToolButton35", "Stop", "ToolButton36", "Odswież",
    };
    for (int i = 0; i < rows.size(); i += 2)
        QTest::newRow(qPrintable(rows[i])) << rows[i] << rows[i + 1];
}

void TestMainWindow::toolButtonHints()
{
    QFETCH(QString, button);
    QFETCH(QString, hint);
    QCOMPARE(control<QToolButton>(m_form, qPrintable(button))->toolTip(), hint);
}

void TestMainWindow::newReplacesAModifiedDocument()
{
    typeIntoEditor("abc");
    QVERIFY(m_form->editor()->isDocumentModified());
    m_form->action("Plik1")->trigger();
    QCOMPARE(m_form->editor()->lines(), kDefaultDocument);
    QVERIFY(!m_form->editor()->isDocumentModified());
    QVERIFY(!m_form->editor()->isUndoAvailable());
    // The toolbar's button does the same.
    typeIntoEditor("def");
    m_form->action("ToolButton1")->trigger();
    QCOMPARE(m_form->editor()->lines(), kDefaultDocument);
    QCOMPARE(m_dialogs.closeQuestions, 0);
}

void TestMainWindow::saveNamesTheFile_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("filter");
    QTest::addColumn<QString>("written");
    QTest::newRow("html appended") << "strona" << 1 << "strona.html";
    QTest::newRow("html not doubled") << "strona.html" << 1 << "strona.html";
    QTest::newRow("php") << "skrypt" << 2 << "skrypt.php";
    QTest::newRow("txt after another extension") << "notatka.htm" << 3 << "notatka.htm.txt";
    QTest::newRow("all files as typed") << "README" << 4 << "README";
}

void TestMainWindow::saveNamesTheFile()
{
    QFETCH(QString, typed);
    QFETCH(int, filter);
    QFETCH(QString, written);
    QTemporaryDir dir;
    typeIntoEditor("x");
    m_dialogs.saveAnswers.push_back(Dialogs::SaveChoice{dir.filePath(typed), filter});
    m_form->action("ToolButton4")->trigger();
    QVERIFY(m_dialogs.errors.isEmpty());
    const QByteArray bytes = readAll(dir.filePath(written));
    QVERIFY(bytes.startsWith("x<HTML>\r\n"));
    QVERIFY(bytes.contains("Tytu\xB3 strony"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 1);
    QVERIFY(!m_form->editor()->isDocumentModified());
}

void TestMainWindow::saveDialogKeepsItsState()
{
    m_dialogs.saveAnswers.push_back(Dialogs::SaveChoice{m_dir.filePath("a"), 2});
    m_form->action("Zapisz1")->trigger();
    m_form->action("Zapisz1")->trigger(); // cancelled
    QCOMPARE(m_dialogs.saveRequests.size(), 2);
    QCOMPARE(m_dialogs.saveRequests.at(0).filterIndex, 1);
    QVERIFY(m_dialogs.saveRequests.at(0).fileName.isEmpty());
    QCOMPARE(m_dialogs.saveRequests.at(1).filterIndex, 2);
    QCOMPARE(m_dialogs.saveRequests.at(1).fileName, m_dir.filePath("a"));
    QCOMPARE(m_dialogs.saveRequests.at(1).filters,
             QStringList({"HTML (*.html)", "PHP (*.php)", "TXT (*.txt)", "Wszystkie pliki (*.*)"}));
}

void TestMainWindow::saveFailureShowsTheErrorAndKeepsTheFlag()
{
    typeIntoEditor("x");
    m_dialogs.saveAnswers.push_back(Dialogs::SaveChoice{m_dir.filePath("none/a"), 1});
    m_form->action("Zapisz1")->trigger();
    QCOMPARE(m_dialogs.errors.size(), 1);
    QVERIFY(m_dialogs.errors.first().startsWith("Cannot create file"));
    QVERIFY(m_form->editor()->isDocumentModified());

    // A character Windows-1250 cannot hold: refused, nothing written, document kept.
    m_form->editor()->insert(QStringLiteral("Ж"));
    m_dialogs.saveAnswers.push_back(Dialogs::SaveChoice{m_dir.filePath("cyr"), 1});
    m_form->action("Zapisz1")->trigger();
    QCOMPARE(m_dialogs.errors.size(), 2);
    QVERIFY(m_dialogs.errors.last().contains(QStringLiteral("Ж")));
    QVERIFY(!QFile::exists(m_dir.filePath("cyr.html")));
    QVERIFY(m_form->editor()->line(0).startsWith(QStringLiteral("xЖ")));
}

void TestMainWindow::openReadsTheChosenFile()
{
    writeFile(m_dir.filePath("p.php"), "<?php\necho 1;\n");
    m_dialogs.openAnswers.push_back(m_dir.filePath("p.php"));
    m_form->action("ToolButton3")->trigger();
    QCOMPARE(m_form->editor()->lines(), QStringList({"<?php", "echo 1;", ""}));
    m_dialogs.openAnswers.push_back(std::nullopt);
    m_form->action("Otwrz1")->trigger();
    QCOMPARE(m_form->editor()->lineCount(), 3);
    m_dialogs.openAnswers.push_back(m_dir.filePath("missing.html"));
    m_form->action("Otwrz1")->trigger();
    QCOMPARE(m_dialogs.errors.size(), 1);
    QVERIFY(m_dialogs.errors.first().startsWith("Cannot open file"));
    QCOMPARE(m_form->editor()->lineCount(), 3);
}

void TestMainWindow::encodingMenuAndStatusFollowTheDocument()
{
    const auto *shown = control<QLabel>(m_form->statusBar(), "StatusEncoding");
    const auto ticked = [this] {
        QStringList names;
        for (const char *name : {"Windows12501", "ISO885921", "UTF81"})
            if (m_form->action(QLatin1String(name))->isChecked())
                names << QLatin1String(name);
        return names.join(' ');
    };
    // The new page declares ISO-8859-2.
    QCOMPARE(shown->text(), QStringLiteral("ISO-8859-2"));
    QCOMPARE(ticked(), QStringLiteral("ISO885921"));

    writeFile(m_dir.filePath("u.html"), "\xEF\xBB\xBF<meta charset=\"utf-8\">\r\ng\xC4\x99\xC5\x9Bl\xC4\x85 \xD0\x96");
    m_dialogs.openAnswers.push_back(m_dir.filePath("u.html"));
    m_form->action("Otwrz1")->trigger();
    QCOMPARE(shown->text(), QStringLiteral("UTF-8+BOM"));
    QCOMPARE(ticked(), QStringLiteral("UTF81"));

    // "Ж" has no place in ISO-8859-2: refused, nothing changes, the tick stays.
    m_form->action("ISO885921")->trigger();
    QCOMPARE(m_dialogs.errors.size(), 1);
    QVERIFY(m_dialogs.errors.first().contains(QStringLiteral("„Ж” (U+0416) w wierszu 2")));
    QCOMPARE(shown->text(), QStringLiteral("UTF-8+BOM"));
    QCOMPARE(ticked(), QStringLiteral("UTF81"));
    QVERIFY(!m_form->editor()->isDocumentModified());

    m_form->editor()->setSelection(1, 6, 1, 7);
    m_form->editor()->removeSelectedText();
    m_form->action("Windows12501")->trigger();
    QVERIFY2(m_dialogs.errors.size() == 1, qPrintable(m_dialogs.errors.join('\n')));
    QCOMPARE(shown->text(), QStringLiteral("Windows-1250"));
    QCOMPARE(ticked(), QStringLiteral("Windows12501"));
    QCOMPARE(m_form->editor()->line(0), QStringLiteral("<meta charset=\"windows-1250\">"));
    m_dialogs.saveAnswers.push_back(Dialogs::SaveChoice{m_dir.filePath("w"), 4});
    m_form->action("Zapisz1")->trigger();
    QCOMPARE(readAll(m_dir.filePath("w")), QByteArray("<meta charset=\"windows-1250\">\r\ng\xEA\x9Cl\xB9 "));

    // Undo takes the conversion back, with the declaration and the encoding.
    m_form->action("Cofnij1")->trigger();
    QCOMPARE(m_form->editor()->line(0), QStringLiteral("<meta charset=\"utf-8\">"));
    QCOMPARE(shown->text(), QStringLiteral("UTF-8+BOM"));
    QCOMPARE(ticked(), QStringLiteral("UTF81"));
}

void TestMainWindow::closeQuestion_data()
{
    QTest::addColumn<QString>("change"); // "", "typed", "markup", "template"
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("filter"); // 0: the save dialog is cancelled; -1: HTML into a missing folder
    QTest::addColumn<bool>("closes");
    QTest::addColumn<QString>("written"); // the file's name, or empty
    QTest::newRow("unchanged closes without asking") << "" << -1 << 0 << true << "";
    QTest::newRow("cancel stays") << "typed" << int(Dialogs::Answer::Cancel) << 0 << false << "";
    QTest::newRow("no closes without writing") << "typed" << int(Dialogs::Answer::No) << 0 << true << "";
    QTest::newRow("yes, dialog cancelled, stays") << "typed" << int(Dialogs::Answer::Yes) << 0 << false << "";
    QTest::newRow("yes, the file cannot be written, stays") << "typed" << int(Dialogs::Answer::Yes) << -1 << false
                                                            << "";
    QTest::newRow("yes names the file as Save does") << "typed" << int(Dialogs::Answer::Yes) << 1 << true
                                                     << "strona.html";
    QTest::newRow("yes with all files keeps the name as typed") << "typed" << int(Dialogs::Answer::Yes) << 4 << true
                                                                << "strona";
    QTest::newRow("markup alone is asked about") << "markup" << int(Dialogs::Answer::Cancel) << 0 << false << "";
    QTest::newRow("a page from the wizard is asked about") << "wizard" << int(Dialogs::Answer::Cancel) << 0 << false
                                                           << "";
}

void TestMainWindow::closeQuestion()
{
    QFETCH(QString, change);
    QFETCH(int, answer);
    QFETCH(int, filter);
    QFETCH(bool, closes);
    QFETCH(QString, written);
    QTemporaryDir dir;
    if (change == QLatin1String("typed")) {
        typeIntoEditor("zmiana");
    } else if (change == QLatin1String("markup")) {
        for (int i = 0; i < 3; ++i)
            m_form->action("Akapit1")->trigger();
        QVERIFY(!m_form->editor()->isDocumentModified()); // markup leaves the flag alone
    } else if (change == QLatin1String("wizard")) {
        m_form->action("Kreatorstrony1")->trigger();
        QTest::mouseClick(control<QPushButton>(&m_windows->pageWizard(), "Button2"), Qt::LeftButton);
        QVERIFY(!m_form->editor()->isDocumentModified());
    }
    if (answer >= 0)
        m_dialogs.closeAnswers.push_back(Dialogs::Answer(answer));
    if (filter)
        m_dialogs.saveAnswers.push_back(
            Dialogs::SaveChoice{dir.filePath(filter < 0 ? "brak/strona" : "strona"), qAbs(filter)});
    QSignalSpy ended(m_form, &MainWindow::programEnded);
    // The menu item and the toolbar's button close alike.
    m_form->action(change == QLatin1String("wizard") ? "ToolButton6" : "Zaknij1")->trigger();
    QCOMPARE(m_dialogs.closeQuestions, change.isEmpty() ? 0 : 1);
    QCOMPARE(m_form->isVisible(), !closes);
    QCOMPARE(ended.size(), closes ? 1 : 0);
    QCOMPARE(m_dialogs.errors.size(), filter < 0 ? 1 : 0);
    const QStringList files = QDir(dir.path()).entryList(QDir::Files);
    QCOMPARE(files, written.isEmpty() ? QStringList() : QStringList{written});
    if (!written.isEmpty())
        QVERIFY(readAll(dir.filePath(written)).startsWith("zmiana<HTML>"));
}

void TestMainWindow::ctrlZSavesAndDoesNotUndo()
{
    typeIntoEditor("abc");
    press(m_form->editor(), Qt::Key_Z);
    QCOMPARE(m_dialogs.saveRequests.size(), 1);
    QCOMPARE(m_form->editor()->line(0), QStringLiteral("abc<HTML>"));
}

void TestMainWindow::ctrlXClosesTheWindow()
{
    typeIntoEditor("abc");
    m_dialogs.closeAnswers.push_back(Dialogs::Answer::Cancel);
    press(m_form->editor(), Qt::Key_X);
    QCOMPARE(m_dialogs.closeQuestions, 1);
    QVERIFY(m_form->isVisible());
    QCOMPARE(m_form->editor()->line(0), QStringLiteral("abc<HTML>")); // not cut
    m_dialogs.closeAnswers.push_back(Dialogs::Answer::No);
    press(control<QLineEdit>(m_form->quickInsert(), "Edit2"), Qt::Key_X);
    QVERIFY(!m_form->isVisible());
}

void TestMainWindow::ctrlUCutsAndCtrlFDeletes()
{
    m_form->editor()->setSelection(0, 0, 0, 6); // "<HTML>"
    press(m_form->editor(), Qt::Key_U);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("<HTML>"));
    QCOMPARE(m_form->editor()->line(0), QString());
    QVERIFY(m_form->editor()->isDocumentModified());
    m_form->editor()->setSelection(2, 0, 2, 6); // "<HEAD>"
    QGuiApplication::clipboard()->setText(QStringLiteral("untouched"));
    press(m_form->editor(), Qt::Key_F);
    QCOMPARE(m_form->editor()->line(2), QString());
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("untouched"));
    // Undo has no key of its own: it comes from the menu.
    m_form->action("Cofnij1")->trigger();
    QCOMPARE(m_form->editor()->line(2), QStringLiteral("<HEAD>"));
}

void TestMainWindow::pageKeysTurnTheNotebook_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    const int ctrl = Qt::ControlModifier;
    QTest::newRow("Ctrl+Tab") << int(Qt::Key_Tab) << ctrl;
    QTest::newRow("Ctrl+PageDown") << int(Qt::Key_PageDown) << ctrl;
    QTest::newRow("Ctrl+PageUp") << int(Qt::Key_PageUp) << ctrl;
    QTest::newRow("Ctrl+Shift+Tab") << int(Qt::Key_Backtab) << int(ctrl | Qt::ShiftModifier);
    QTest::newRow("Ctrl+Backtab") << int(Qt::Key_Backtab) << ctrl;
}

// Each key turns to the other page; on the preview the hidden editor keeps no focus, and
// back on the source page the editor has it.
void TestMainWindow::pageKeysTurnTheNotebook()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    Preview::setFilePath(m_dir.filePath("TarnwickView.html"));
    m_form->editor()->setFocus();
    QTest::keyClick(m_form->editor(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(m_form->notebook()->currentIndex(), 1);
    QWidget *onPreview = QApplication::focusWidget();
    QVERIFY(control<QWidget>(m_form, "PreviewPage")->isAncestorOf(onPreview));
    QTest::keyClick(onPreview, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(m_form->notebook()->currentIndex(), 0);
    QCOMPARE(QApplication::focusWidget(), m_form->editor());
}

void TestMainWindow::clipboardKeysInAQuickInsertFieldActOnTheEditor()
{
    QLineEdit *edit1 = control<QLineEdit>(m_form->quickInsert(), "Edit1");
    const QString fieldText = edit1->text();
    QGuiApplication::clipboard()->setText(QStringLiteral("WKLEJONE"));
    m_form->editor()->setCursorPosition(0, 0);
    press(edit1, Qt::Key_V);
    QCOMPARE(edit1->text(), fieldText);
    QCOMPARE(m_form->editor()->line(0), QStringLiteral("WKLEJONE<HTML>"));

    m_form->editor()->setSelection(2, 0, 2, 6);
    edit1->selectAll();
    press(edit1, Qt::Key_C);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("<HEAD>"));
    press(edit1, Qt::Key_F);
    QCOMPARE(m_form->editor()->line(2), QString());

    press(edit1, Qt::Key_A);
    QCOMPARE(m_form->editor()->selectedText().size(), m_form->editor()->text().size());
}

void TestMainWindow::filePanelChainsAndSetsTheCurrentFolder()
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("podfolder");
    writeFile(dir.filePath("b.html"), "B");
    writeFile(dir.filePath("a.html"), "A1\r\nA2");
    writeFile(dir.filePath("c.txt"), "C");
    writeFile(dir.filePath(".ukryty.html"), "H");

    m_form->filePanel()->directoryList()->setDirectory(dir.path());
    QCOMPARE(canonical(QDir::currentPath()), canonical(dir.path()));
    QCOMPARE(m_form->filePanel()->fileList()->count(), 2);
    QCOMPARE(m_form->filePanel()->fileList()->item(0)->text(), QStringLiteral("a.html"));
    QCOMPARE(m_form->editor()->lines(), kDefaultDocument); // filling loads nothing

    m_form->filePanel()->fileList()->setCurrentRow(0);
    QCOMPARE(m_form->editor()->lines(), QStringList({"A1", "A2"}));
    m_form->filePanel()->fileList()->setFocus();
    QTest::keyClick(m_form->filePanel()->fileList(), Qt::Key_Down);
    QCOMPARE(m_form->editor()->lines(), QStringList{"B"});

    // Another mask refills the list and loads nothing.
    m_form->filePanel()->filterBox()->setCurrentIndex(4);
    emit m_form->filePanel()->filterBox()->activated(4);
    QCOMPARE(m_form->filePanel()->fileList()->count(), 1);
    QCOMPARE(m_form->filePanel()->fileList()->item(0)->text(), QStringLiteral("c.txt"));
    QCOMPARE(m_form->editor()->lines(), QStringList{"B"});

    // Opening a subfolder from the folder list (Enter) moves the current folder too.
    auto *dirs = m_form->filePanel()->directoryList();
    for (int i = 0; i < dirs->count(); ++i)
        if (dirs->item(i)->text().trimmed() == QLatin1String("podfolder"))
            dirs->setCurrentRow(i);
    dirs->setFocus();
    QTest::keyClick(dirs, Qt::Key_Return);
    QCOMPARE(QFileInfo(QDir::currentPath()).fileName(), QStringLiteral("podfolder"));
    QCOMPARE(m_form->filePanel()->fileList()->count(), 0);
    QVERIFY(m_dialogs.errors.isEmpty());
}

namespace {

// Notes each dialog as it is shown, with whether it holds the rest of the program, and closes
// the ones that do so that the command returns.
class ShownDialogs : public QObject
{
public:
    QList<QPair<QDialog *, bool>> shown;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *dialog = qobject_cast<QDialog *>(watched);
        if (dialog && event->type() == QEvent::Show) {
            shown.append({dialog, dialog->isModal()});
            if (dialog->isModal())
                QMetaObject::invokeMethod(dialog, &QDialog::reject, Qt::QueuedConnection);
        }
        return false;
    }
};

} // namespace

// The window closed: the FTP panel's fields are kept at once, not when the program unwinds.
void TestMainWindow::closingEndsTheFtpSessionAndKeepsItsSettings()
{
    QSettings(QStringLiteral("Tarnwick"), QStringLiteral("Tarnwick")).clear();
    control<QLineEdit>(m_form->ftpPanel(), "eHost")->setText(QStringLiteral("serwer.example"));
    QSignalSpy ended(m_form, &MainWindow::programEnded);
    QVERIFY(m_form->close());
    QCOMPARE(ended.size(), 1);
    QCOMPARE(QSettings(QStringLiteral("Tarnwick"), QStringLiteral("Tarnwick")).value("FTP/host").toString(),
             QStringLiteral("serwer.example"));
}

// Each item and button that has a picture shows its own: the picture drawn from its file.
void TestMainWindow::commandsShowTheirPictures()
{
    const QStringList pairs = QStringLiteral(
        "Plik1 document-new, Szablony1 templates, Otwrz1 document-open, Zapisz1 document-save, Kreatorstrony1 wizard, "
        "Szukaj1 edit-find, Zaknij1 application-exit, Cofnij1 edit-undo, Ponw1 edit-redo, "
        "Zaznaczwszystko1 edit-select-all, Kopiuj1 edit-copy, Wklej1 edit-paste, Wytnij1 edit-cut, Usu1 edit-delete, "
        "Pogrubienie1 format-text-bold, Kursywa1 format-text-italic, Podkrelenie1 format-text-underline, "
        "Zakrelenie1 format-text-strikethrough, Dolewej1 format-justify-left, Wyrodkuj1 format-justify-center, "
        "Doprawej1 format-justify-right, Justuj1 format-justify-fill, Link1 insert-link, Ob1 insert-image, "
        "Informacje1 help-about, Cofnij2 edit-undo, Ponw2 edit-redo, Kopiuj3 edit-copy, Wklej3 edit-paste, "
        "Wytnij3 edit-cut, Usu3 edit-delete, Zaznaczwszystko3 edit-select-all, ToolButton1 document-new, "
        "ToolButton3 document-open, ToolButton4 document-save, ToolButton6 application-exit, ToolButton33 edit-find, "
        "ToolButton28 edit-undo, ToolButton29 edit-redo, ToolButton8 edit-copy, ToolButton9 edit-paste, "
        "ToolButton10 edit-cut, ToolButton11 edit-delete, ToolButton15 format-text-bold, "
        "ToolButton16 format-text-italic, ToolButton17 format-text-underline, ToolButton20 format-justify-left, "
        "ToolButton21 format-justify-center, ToolButton22 format-justify-right, ToolButton38 format-justify-fill, "
        "ToolButton18 insert-link, ToolButton13 help-about, ToolButton5 go-previous, ToolButton27 go-next, "
        "ToolButton35 process-stop, ToolButton36 view-refresh").split(QStringLiteral(", "));
    for (const QString &pair : pairs) {
        const QString command = pair.section(' ', 0, 0), picture = pair.section(' ', 1);
        QAction *a = m_form->action(command);
        QVERIFY2(a, qPrintable(command));
        QVERIFY2(a->icon().pixmap(16).toImage() == Icons::get(picture.toLatin1().constData()).pixmap(16).toImage(),
                 qPrintable(pair));
    }
}

void TestMainWindow::commandsOpenTheirWindows_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("window");
    QTest::addColumn<bool>("modal");
    QTest::newRow("Szablony") << "Szablony1" << "templates" << true;
    QTest::newRow("Informacje") << "Informacje1" << "about" << true;
    QTest::newRow("the toolbar's information") << "ToolButton13" << "about" << true;
    QTest::newRow("Kreator strony") << "Kreatorstrony1" << "page wizard" << false;
    QTest::newRow("the second toolbar's Kreator stron") << "BitBtn1" << "page wizard" << false;
    QTest::newRow("Szukaj") << "Szukaj1" << "find" << false;
    QTest::newRow("the toolbar's Szukaj wyrazu") << "ToolButton33" << "find" << false;
}

void TestMainWindow::commandsOpenTheirWindows()
{
    QFETCH(QString, command);
    QFETCH(QString, window);
    QFETCH(bool, modal);
    ShownDialogs dialogs;
    qApp->installEventFilter(&dialogs);
    QVERIFY(activate(*m_form, command));
    qApp->removeEventFilter(&dialogs);
    QDialog *expected = window == "templates" ? static_cast<QDialog *>(&m_windows->templates())
                        : window == "about"   ? static_cast<QDialog *>(&m_windows->about())
                        : window == "find"    ? m_form->findCommand().dialog()
                                              : static_cast<QDialog *>(&m_windows->pageWizard());
    QCOMPARE(dialogs.shown.size(), 1);
    QCOMPARE(dialogs.shown.first().first, expected);
    QCOMPARE(dialogs.shown.first().second, modal);
    QCOMPARE(expected->isVisible(), !modal);
    QVERIFY(m_dialogs.errors.isEmpty());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
