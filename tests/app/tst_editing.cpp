#include "document/FindCommand.h"
#include "document/FindDialog.h"
#include "document/Highlighting.h"
#include "preview/Preview.h"
#include "document/SourceEditor.h"
#include "support/Fixtures.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
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
    void shiftF10OpensTheEditorMenuAtTheCaret();

    void findFoldsAsciiOnly_data();
    void findFoldsAsciiOnly();
    void findNextWalksMatchesWithoutOverlap();
    void findSelectsInTheThirdLineWithLfDocument();
    void changedFindTextStartsAfterThePreviousMatch();
    void reopeningTheDialogStartsAtTheTop();
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
    void setDocument(const QStringList &lines)
    {
        m_form->editor()->clearAll();
        for (const QString &l : lines)
            m_form->editor()->appendLine(l);
    }

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

void TestEditing::findFoldsAsciiOnly_data()
{
    QTest::addColumn<QString>("document");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<int>("at"); // 1-based position of the match, 0: not found
    QTest::newRow("table finds TABLE") << "<TABLE>" << "table" << false << 2;
    QTest::newRow("table finds Table") << "x Table" << "table" << false << 3;
    QTest::newRow("match case refuses") << "TABLE" << "table" << true << 0;
    QTest::newRow("ą does not find Ą") << "Ą" << "ą" << false << 0;
    QTest::newRow("Ą does not find ą") << "xą" << "Ą" << false << 0;
    QTest::newRow("ą finds ą") << "aą" << "ą" << false << 2;
    QTest::newRow("Polish after ASCII fold") << "ZAŻÓŁĆ" << "zaŻÓŁĆ" << false << 1;
    QTest::newRow("longer than the text") << "ab" << "abc" << false << 0;
    QTest::newRow("empty text") << "ab" << "" << false << 0;
}

void TestEditing::findFoldsAsciiOnly()
{
    QFETCH(QString, document);
    QFETCH(QString, text);
    QFETCH(bool, matchCase);
    QFETCH(int, at);
    setDocument({document});
    m_form->action("Szukaj1")->trigger();
    findNext(text, matchCase);
    QCOMPARE(m_form->findCommand().position(), at);
    if (at) {
        QVERIFY(m_dialogs.messages.isEmpty());
        QCOMPARE(m_form->editor()->selectedText(), document.mid(at - 1, text.size()));
    } else {
        QCOMPARE(m_dialogs.messages, QStringList{QStringLiteral("Nie mogę odnaleźć \"%1\"").arg(text)});
        QVERIFY(!m_form->editor()->hasSelectedText());
    }
}

void TestEditing::findNextWalksMatchesWithoutOverlap()
{
    setDocument({"aaaa"});
    m_form->action("Szukaj1")->trigger();
    findNext("aa");
    QCOMPARE(m_form->findCommand().position(), 1);
    findNext("aa");
    QCOMPARE(m_form->findCommand().position(), 3);
    QCOMPARE(m_form->editor()->selectedText(), QStringLiteral("aa"));
    findNext("aa");
    QCOMPARE(m_dialogs.messages, QStringList{QStringLiteral("Nie mogę odnaleźć \"aa\"")});
    QCOMPARE(m_form->findCommand().position(), 3);
    findNext("aa"); // no wrap-around
    QCOMPARE(m_dialogs.messages.size(), 2);
}

void TestEditing::findSelectsInTheThirdLineWithLfDocument()
{
    QFile f(m_dir.filePath("lf.html"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("<HTML>\n<BODY>\nzdanie <table> tu\n");
    f.close();
    m_form->editor()->loadFromFile(f.fileName());
    m_form->action("ToolButton33")->trigger();
    control<QRadioButton>(m_form->findCommand().dialog(), "DirectionUp")->setChecked(true); // the direction has no effect
    findNext("TABLE");
    QCOMPARE(m_form->findCommand().position(), 25); // 8 + 8 characters of the first two lines, "zdanie <" 8 more
    int lineFrom, indexFrom, lineTo, indexTo;
    m_form->editor()->getSelection(&lineFrom, &indexFrom, &lineTo, &indexTo);
    QCOMPARE(lineFrom, 2);
    QCOMPARE(indexFrom, 8);
    QCOMPARE(indexTo, 13);
    QVERIFY(m_form->editor()->hasFocus() || QGuiApplication::platformName() == QLatin1String("offscreen"));
}

void TestEditing::changedFindTextStartsAfterThePreviousMatch()
{
    setDocument({"abcabcab"});
    m_form->action("Szukaj1")->trigger();
    findNext("b");      // FindPos 2
    findNext("cab");    // starts at 2 + 3 = 5 (1-based): "abcab": finds "cab" at 6
    QCOMPARE(m_form->findCommand().position(), 6);
    QCOMPARE(m_form->editor()->selectedText(), QStringLiteral("cab"));
}

void TestEditing::reopeningTheDialogStartsAtTheTop()
{
    setDocument({"x TABLE", "TABLE"});
    m_form->action("Szukaj1")->trigger();
    findNext("table");
    findNext("table");
    QCOMPARE(m_form->findCommand().position(), 10);
    m_form->action("Szukaj1")->trigger();
    QCOMPARE(m_form->findCommand().position(), 0);
    findNext("table");
    QCOMPARE(m_form->findCommand().position(), 3);
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
    for (int i = 0; i < 4; ++i) {
        m_form->action(QLatin1String(schemes[i][0]))->trigger();
        QCOMPARE(Highlighting::current(*m_form->editor()), expected[i]);
        QCOMPARE(m_form->editor()->lines(), before);
        auto *button = m_form->findChild<QWidget *>(QLatin1String(schemes[(i + 1) % 4][1]));
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(Highlighting::current(*m_form->editor()), expected[(i + 1) % 4]);
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
    QFile f(Preview::filePath());
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("<P>Za\xBF\xF3\xB3\xE6</P>\r\n\r\ndrugi\r\nostatni"));
    f.close();
    // Every change of page writes the file again.
    m_form->notebook()->setCurrentIndex(0);
    m_form->editor()->appendLine(QStringLiteral("nowy"));
    m_form->notebook()->setCurrentIndex(1);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("<P>Za\xBF\xF3\xB3\xE6</P>\r\n\r\ndrugi\r\nostatni\r\nnowy"));
}

void TestEditing::unwritablePreviewKeepsThePage()
{
    QDir(m_dir.path()).mkdir("blocked");
    QFile blocker(m_dir.filePath("blocked/file"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    // A path whose folder is a plain file cannot be written, even by root.
    Preview::setFilePath(m_dir.filePath("blocked/file/TarnwickView.html"));
    m_form->notebook()->setCurrentIndex(1);
    QCOMPARE(m_dialogs.errors.size(), 1);
    QVERIFY(m_dialogs.errors.first().startsWith("Cannot create file"));
    QCOMPARE(m_form->notebook()->currentIndex(), 0);
    QVERIFY(!m_form->preview().hasView());
    Preview::setFilePath(m_dir.filePath("TarnwickView.html"));
}

void TestEditing::shiftF10OpensTheEditorMenuAtTheCaret()
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
}

QTEST_MAIN(TestEditing)
#include "tst_editing.moc"
