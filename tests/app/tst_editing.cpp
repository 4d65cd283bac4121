#include "document/FindCommand.h"
#include "document/FindDialog.h"
#include "document/Highlighting.h"
#include "preview/Preview.h"
#include "document/SourceEditor.h"
#include "support/Files.h"
#include "support/Fixtures.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QMenu>
#include <QTest>

class TestEditing : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void editorMenuOpensAtTheCaretOrTheMouse();

    void findNextSteps_data();
    void findNextSteps();
    void findSelectsInTheThirdLineWithLfDocument();
    void clipboardCommandsWithAndWithoutSelection();
    void wordWrapKeepsTheLines();
    void colouringSchemeNeverChangesTheText();
    void pageChangeWritesThePreviewFile();
    void unwritablePreviewKeepsThePage();

private:
    void findNext(const QString &text, bool matchCase = false)
    {
        control<QLineEdit>(m_form->findCommand().dialog(), "FindText")->setText(text);
        control<QCheckBox>(m_form->findCommand().dialog(), "MatchCase")->setChecked(matchCase);
        QTest::mouseClick(control<QPushButton>(m_form->findCommand().dialog(), "FindNext"), Qt::LeftButton);
    }
    void setDocument(const QStringList &lines) { ::setDocument(*m_form->editor(), lines); }

    std::unique_ptr<AppWindows> m_windows;
    MainWindow *m_form = nullptr;
    ScriptedDialogs m_dialogs;
    QTemporaryDir m_dir;
};

void TestEditing::init()
{
    Preview::setFilePath(m_dir.filePath("TarnwickView.html"));
    m_windows = openProgram(m_dialogs);
    m_form = &m_windows->main();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
}

void TestEditing::cleanup()
{
    m_windows.reset();
}

// A step of a search that opens the dialog again instead of pressing "Znajdź następny".
const QString kOpenAgain = QStringLiteral("<open again>");

void TestEditing::findNextSteps_data()
{
    // The texts sought one after another in the same dialog, and the 1-based position after
    // each (0: nothing found yet). A position that does not move is a text not found, which
    // a message tells; nothing wraps around to the top.
    QTest::addColumn<QStringList>("document");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QList<int>>("positions");
    const auto row = [](const char *name, const QStringList &document, const QStringList &steps, QList<int> positions,
                        bool matchCase = false) {
        QTest::newRow(name) << document << matchCase << steps << positions;
    };
    row("table finds TABLE", {"<TABLE>"}, {"table"}, {2});
    row("table finds Table", {"x Table"}, {"table"}, {3});
    row("match case refuses", {"TABLE"}, {"table"}, {0}, true);
    row("ą does not find Ą", {"Ą"}, {"ą"}, {0});
    row("Ą does not find ą", {"xą"}, {"Ą"}, {0});
    row("ą finds ą", {"aą"}, {"ą"}, {2});
    row("Polish after ASCII fold", {"ZAŻÓŁĆ"}, {"zaŻÓŁĆ"}, {1});
    row("longer than the text", {"ab"}, {"abc"}, {0});
    row("empty text", {"ab"}, {""}, {0});
    row("matches do not overlap, no wrap-around", {"aaaa"}, {"aa", "aa", "aa", "aa"}, {1, 3, 3, 3});
    row("a changed text starts after the previous match", {"abcabcab"}, {"b", "cab"}, {2, 6});
    row("opened again, the dialog starts at the top", {"x TABLE", "TABLE"}, {"table", "table", kOpenAgain, "table"},
        {3, 10, 0, 3});
}

void TestEditing::findNextSteps()
{
    QFETCH(QStringList, document);
    QFETCH(bool, matchCase);
    QFETCH(QStringList, steps);
    QFETCH(QList<int>, positions);
    setDocument(document);
    m_form->action("Szukaj1")->trigger();
    QStringList messages;
    int previous = 0;
    for (int i = 0; i < steps.size(); ++i) {
        const bool again = steps[i] == kOpenAgain;
        if (again)
            m_form->action("Szukaj1")->trigger();
        else
            findNext(steps[i], matchCase);
        QCOMPARE(m_form->findCommand().position(), positions[i]);
        if (!again && positions[i] == previous)
            messages << QStringLiteral("Nie mogę odnaleźć \"%1\"").arg(steps[i]);
        else if (!again) // positions count a line break as two characters
            QCOMPARE(m_form->editor()->selectedText(), document.join("\r\n").mid(positions[i] - 1, steps[i].size()));
        QVERIFY(positions[i] > 0 || again || !m_form->editor()->hasSelectedText());
        previous = positions[i];
    }
    QCOMPARE(m_dialogs.messages, messages);
}

void TestEditing::findSelectsInTheThirdLineWithLfDocument()
{
    writeFile(m_dir.filePath("lf.html"), "<HTML>\n<BODY>\nzdanie <table> tu\n");
    m_form->editor()->loadFromFile(m_dir.filePath("lf.html"));
    m_form->action("ToolButton33")->trigger();
    // Every button of the dialog: "W dół" checked, "Znajdź następny" answers Enter.
    QDialog *dialog = m_form->findCommand().dialog();
    QStringList buttons;
    for (QAbstractButton *b : dialog->findChildren<QAbstractButton *>()) {
        auto *push = qobject_cast<QPushButton *>(b);
        buttons << b->text() + (b->isChecked() ? " (x)" : "") + (push && push->isDefault() ? " (domyślny)" : "");
    }
    QCOMPARE(buttons, QStringList({"Uwzględniaj tylko całe &wyrazy", "Uwzględniaj &wielkość liter", "W &górę", "W &dół (x)",
                                   "Znajdź &następny (domyślny)", "Anuluj"}));
    control<QRadioButton>(dialog, "DirectionUp")->setChecked(true); // the direction has no effect
    findNext("TABLE");
    QCOMPARE(m_form->findCommand().position(), 25); // 8 + 8 characters of the first two lines, "zdanie <" 8 more
    int lineFrom, indexFrom, lineTo, indexTo;
    m_form->editor()->getSelection(&lineFrom, &indexFrom, &lineTo, &indexTo);
    QCOMPARE(lineFrom, 2);
    QCOMPARE(indexFrom, 8);
    QCOMPARE(indexTo, 13);
    QVERIFY(m_form->editor()->hasFocus() || QGuiApplication::platformName() == QLatin1String("offscreen"));
    // "Anuluj" closes the dialog.
    QVERIFY(dialog->isVisible());
    QTest::mouseClick(dialog->findChildren<QPushButton *>().last(), Qt::LeftButton);
    QVERIFY(!dialog->isVisible());
}

void TestEditing::clipboardCommandsWithAndWithoutSelection()
{
    setDocument({"alpha beta"});
    QGuiApplication::clipboard()->setText(QStringLiteral("keep"));
    m_form->editor()->setCursorPosition(0, 0);
    m_form->action("Kopiuj1")->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("keep"));
    m_form->action("Usu1")->trigger();
    QCOMPARE(m_form->editor()->line(0), QStringLiteral("alpha beta"));
    m_form->editor()->setSelection(0, 0, 0, 5);
    m_form->action("ToolButton8")->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("alpha"));
    m_form->editor()->setCursorPosition(0, 10);
    m_form->action("Wklej3")->trigger();
    QCOMPARE(m_form->editor()->line(0), QStringLiteral("alpha betaalpha"));
    QVERIFY(m_form->editor()->isDocumentModified());
    m_form->action("Cofnij2")->trigger();
    QVERIFY(!m_form->editor()->isDocumentModified());
    QGuiApplication::clipboard()->clear();
    m_form->action("Wklej1")->trigger();
    QCOMPARE(m_form->editor()->line(0), QStringLiteral("alpha beta"));
    m_form->editor()->setSelection(0, 5, 0, 10);
    m_form->action("Wytnij3")->trigger();
    QCOMPARE(m_form->editor()->line(0), QStringLiteral("alpha"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral(" beta"));
    m_form->action("Zaznaczwszystko1")->trigger();
    QCOMPARE(m_form->editor()->selectedText(), QStringLiteral("alpha"));
    // The toolbar's own buttons: cut, paste, delete, undo, redo.
    m_form->editor()->setSelection(0, 0, 0, 2);
    m_form->action("ToolButton10")->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("al"));
    m_form->editor()->setCursorPosition(0, 3);
    m_form->action("ToolButton9")->trigger();
    m_form->editor()->setSelection(0, 0, 0, 1);
    m_form->action("ToolButton11")->trigger();
    QCOMPARE(m_form->editor()->line(0), QStringLiteral("haal"));
    m_form->action("ToolButton28")->trigger();
    QCOMPARE(m_form->editor()->line(0), QStringLiteral("phaal"));
    m_form->action("ToolButton29")->trigger();
    QCOMPARE(m_form->editor()->line(0), QStringLiteral("haal"));
}

void TestEditing::wordWrapKeepsTheLines()
{
    setDocument({QString(500, QLatin1Char('x')), "b"});
    m_form->action("ak1")->trigger();
    QCOMPARE(m_form->editor()->wrapMode(), QsciScintilla::WrapWord);
    m_form->action("Nie1")->trigger();
    QCOMPARE(m_form->editor()->wrapMode(), QsciScintilla::WrapNone);
    QCOMPARE(m_form->editor()->lines(), QStringList({QString(500, QLatin1Char('x')), "b"}));
}

void TestEditing::colouringSchemeNeverChangesTheText()
{
    const QStringList before = m_form->editor()->lines();
    const char *schemes[][2] = {{"CSS1", "FreeButton3"}, {"PHP1", "FreeButton2"}, {"XML1", "FreeButton4"}, {"HTML1", "FreeButton1"}};
    const Highlighting::Scheme expected[] = {Highlighting::Scheme::Css, Highlighting::Scheme::Php,
                                             Highlighting::Scheme::Xml, Highlighting::Scheme::Html};
    // Scintilla's lexers: CSS, the PHP script lexer, XML, HTML.
    const long lexers[] = {38, 69, 5, 4};
    const auto lexer = [this] { return m_form->editor()->SendScintilla(QsciScintillaBase::SCI_GETLEXER); };
    for (int i = 0; i < 4; ++i) {
        m_form->action(QLatin1String(schemes[i][0]))->trigger();
        QCOMPARE(Highlighting::current(*m_form->editor()), expected[i]);
        QCOMPARE(lexer(), lexers[i]);
        if (i == 2) // XML leaves what looks like a script plain
            QCOMPARE(m_form->editor()->SendScintilla(QsciScintillaBase::SCI_GETPROPERTYINT,
                                                     reinterpret_cast<unsigned long>("lexer.xml.allow.scripts"), 1L), 0L);
        QCOMPARE(m_form->editor()->lines(), before);
        auto *button = m_form->findChild<QWidget *>(QLatin1String(schemes[(i + 1) % 4][1]));
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(Highlighting::current(*m_form->editor()), expected[(i + 1) % 4]);
        QCOMPARE(lexer(), lexers[(i + 1) % 4]);
        QCOMPARE(m_form->editor()->lines(), before);
        QVERIFY(!m_form->editor()->isDocumentModified());
    }
}

void TestEditing::pageChangeWritesThePreviewFile()
{
    // The view itself is checked with a real engine elsewhere; here the file's bytes count.
    setDocument({"<P>Zażółć</P>", "", "drugi", "ostatni"});
    m_form->notebook()->setCurrentIndex(1);
    QVERIFY2(m_dialogs.errors.isEmpty(), qPrintable(m_dialogs.errors.join('\n')));
    QCOMPARE(m_form->notebook()->currentIndex(), 1);
    QCOMPARE(readAll(Preview::filePath()), QByteArray("<P>Za\xBF\xF3\xB3\xE6</P>\r\n\r\ndrugi\r\nostatni"));
    // Every change of page writes the file again.
    m_form->notebook()->setCurrentIndex(0);
    m_form->editor()->appendLine(QStringLiteral("nowy"));
    m_form->notebook()->setCurrentIndex(1);
    QCOMPARE(readAll(Preview::filePath()), QByteArray("<P>Za\xBF\xF3\xB3\xE6</P>\r\n\r\ndrugi\r\nostatni\r\nnowy"));
}

void TestEditing::unwritablePreviewKeepsThePage()
{
    QDir(m_dir.path()).mkdir("blocked");
    writeFile(m_dir.filePath("blocked/file"), "");
    // A path whose folder is a plain file cannot be written, even by root.
    Preview::setFilePath(m_dir.filePath("blocked/file/TarnwickView.html"));
    m_form->notebook()->setCurrentIndex(1);
    QCOMPARE(m_dialogs.errors.size(), 1);
    QVERIFY(m_dialogs.errors.first().startsWith("Cannot create file"));
    QCOMPARE(m_form->notebook()->currentIndex(), 0);
    QVERIFY(!m_form->preview().hasView());
    Preview::setFilePath(m_dir.filePath("TarnwickView.html"));
}

void TestEditing::editorMenuOpensAtTheCaretOrTheMouse()
{
    QMenu *menu = control<QMenu>(m_form, "BarPopupMenu1");
    m_form->editor()->setFocus();
    m_form->editor()->setCursorPosition(3, 2);
    QTest::keyClick(m_form->editor(), Qt::Key_F10, Qt::ShiftModifier);
    QTRY_VERIFY(menu->isVisible());
    const long position = m_form->editor()->SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS);
    const QPoint caret = m_form->editor()->viewport()->mapToGlobal(
        QPoint(int(m_form->editor()->SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0UL, position)),
               int(m_form->editor()->SendScintilla(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0UL, position))));
    QCOMPARE(menu->pos(), caret);
    menu->hide();
    QTRY_VERIFY(!menu->isVisible());
    // A right click opens it where the mouse is.
    QWidget *area = m_form->editor()->viewport();
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(40, 30), area->mapToGlobal(QPoint(40, 30)));
    QApplication::sendEvent(area, &click);
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(menu->pos(), area->mapToGlobal(QPoint(40, 30)));
    menu->hide();
}

QTEST_MAIN(TestEditing)
#include "tst_editing.moc"
