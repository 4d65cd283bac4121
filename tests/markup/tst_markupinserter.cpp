#include "document/SourceEditor.h"
#include "markup/QuickInsertPanel.h"
#include "support/Fixtures.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kOption = QStringLiteral("Wstawiajznacznikiprzykursorze1");

// Documents in these tests are written with "\n" between lines, "|" for the caret and
// "[" "]" around a selection (the caret at its end).
void setMarked(SourceEditor &s, const QString &marked)
{
    QString text = marked;
    const qsizetype caret = text.indexOf(QLatin1Char('|'));
    qsizetype start = caret, end = caret;
    if (caret >= 0) {
        text.remove(caret, 1);
    } else {
        start = text.indexOf(QLatin1Char('['));
        text.remove(start, 1);
        end = text.indexOf(QLatin1Char(']'));
        text.remove(end, 1);
    }
    s.clearAll();
    if (!text.isEmpty())
        for (const QString &line : text.split(QLatin1Char('\n')))
            s.appendLine(line);
    // Positions count line ends as CR LF.
    const auto crlf = [&](qsizetype at) { return at + text.left(at).count(QLatin1Char('\n')); };
    s.selectRange(crlf(start), crlf(end) - crlf(start));
}

QString marked(const SourceEditor &s)
{
    QString text = s.documentText();
    const qsizetype start = s.crlfPositionOf(s.SendScintilla(QsciScintillaBase::SCI_GETSELECTIONSTART));
    const qsizetype end = s.crlfPositionOf(s.SendScintilla(QsciScintillaBase::SCI_GETSELECTIONEND));
    if (start == end) {
        text.insert(start, QLatin1Char('|'));
    } else {
        text.insert(end, QLatin1Char(']'));
        text.insert(start, QLatin1Char('['));
    }
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QString unmarked(QString text)
{
    return text.remove(QLatin1Char('|')).remove(QLatin1Char('[')).remove(QLatin1Char(']'));
}

const QString kHead = QStringLiteral("<HTML>\n<HEAD>\n<TITLE>T</TITLE>\n</HEAD>\n");

} // namespace

class TestMarkupInserter : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void optionIsACheckItemAtTheEndOfEdycja();
    void insertsAtTheCaret_data();
    void insertsAtTheCaret();
    void headCommandOnAShortDocumentFails();
    void markupIsItsOwnUndoStep();
    void encodingConversionKeepsItsOwnUndoStep();
    void viewScrollsOnlyAsFarAsTheCaretNeeds();
    void optionSurvivesARestart();

private:
    void restart();
    QTemporaryDir m_settingsFolder;
    std::unique_ptr<AppWindows> m_windows;
    MainWindow *m_form = nullptr;
    SourceEditor *m_s = nullptr;
    ScriptedDialogs m_dialogs;
};

void TestMarkupInserter::initTestCase()
{
    // Settings of this program of tests only: other test programs running at the same time
    // clear theirs.
    QVERIFY(m_settingsFolder.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsFolder.path());
}

void TestMarkupInserter::init()
{
    QSettings(QStringLiteral("Tarnwick"), QStringLiteral("Tarnwick")).clear();
    restart();
}

void TestMarkupInserter::restart()
{
    m_windows.reset();
    m_windows = openProgram(m_dialogs);
    m_form = &m_windows->main();
    m_s = m_form->editor();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
}

void TestMarkupInserter::cleanup()
{
    m_windows.reset();
    QSettings(QStringLiteral("Tarnwick"), QStringLiteral("Tarnwick")).clear();
}

void TestMarkupInserter::optionIsACheckItemAtTheEndOfEdycja()
{
    QMenu *edit = control<QMenu>(m_form, "Edycja1");
    const QList<QAction *> items = edit->actions();
    QVERIFY(items.size() >= 2);
    QCOMPARE(items.last(), m_form->action(kOption));
    QVERIFY(items.at(items.size() - 2)->isSeparator());
    QCOMPARE(items.last()->text(), QStringLiteral("Wstawiaj znaczniki przy kursorze"));
    QVERIFY(items.last()->isCheckable());
    QVERIFY(!items.last()->isChecked());
}

void TestMarkupInserter::insertsAtTheCaret_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("document");
    QTest::addColumn<QString>("expected");
    const QString body = kHead + "<BODY>\n";
    const QString a = "<A HREF=\"http://www.example.com/\">";
    QTest::newRow("pair without selection: caret between the tags")
        << "Pogrubienie1" << body + "Ala |ma kota." << body + "Ala <B>|</B>ma kota.";
    QTest::newRow("pair with selection: selection between the tags")
        << "ToolButton15" << body + "Ala [ma] kota." << body + "Ala <B>[ma]</B> kota.";
    QTest::newRow("pair from the second toolbar, selection over two lines")
        << "Button4" << body + "Ala [ma\nko]ta." << body + "Ala <SUP>[ma\nko]</SUP>ta.";
    QTest::newRow("pair with placeholder: placeholder selected")
        << "Link1" << body + "Ala |ma" << body + "Ala " + a + "[OPIS]</A>ma";
    QTest::newRow("pair with placeholder: selection replaces it")
        << "ToolButton18" << body + "Ala [ma] kota" << body + "Ala " + a + "[ma]</A> kota";
    QTest::newRow("one-line command: at the caret, no line break")
        << "Liniapozioma1" << body + "Ala |ma" << body + "Ala <HR WIDTH=\"100%\" SIZE=\"2\">|ma";
    QTest::newRow("one-line command: replaces the selection")
        << "Nowywiersz1" << body + "Ala [ma] kota" << body + "Ala <BR>| kota";
    QTest::newRow("multi-line command: below the caret's line")
        << "ToolButton21" << body + "Ala |ma kota.\n</BODY>"
        << body + "Ala ma kota.\n<P ALIGN=\"CENTER\">\n|\n</P>\n</BODY>";
    QTest::newRow("multi-line command: the selection in its blank line")
        << "Justuj1" << body + "Ala [ma] kota.\n</BODY>"
        << body + "Ala  kota.\n<P ALIGN=\"JUSTIFY\">\n[ma]\n</P>\n</BODY>";
    QTest::newRow("multi-line command: an empty document gets no empty first line")
        << "ToolButton20" << "|" << "<P ALIGN=\"LEFT\">\n|\n</P>";
    QTest::newRow("multi-line command: a one-line document gets a line break before it")
        << "ToolButton20" << "Ala |ma" << "Ala ma\n<P ALIGN=\"LEFT\">\n|\n</P>";
    QTest::newRow("head command: its line at index 4, the selection stays on its text")
        << "Opisstrony1" << body + "Ala [ma] kota."
        << kHead + " <META NAME=\"DESCRIPTION\" CONTENT=\"Krótki opis strony\">\n<BODY>\nAla [ma] kota.";
    QTest::newRow("head command: a caret at the start of line 4 moves down with its line")
        << "Autorstrony1" << kHead + "|<BODY>"
        << kHead + " <META NAME=\"AUTHOR\" CONTENT=\"Imię i nazwisko autora\">\n|<BODY>";
    QTest::newRow("head command: a document of four lines gets it as its fifth, the caret stays")
        << "Opisstrony1" << "<HTML>\n<HEAD>\n<TITLE>T</TITLE>\n</HEAD>|"
        << "<HTML>\n<HEAD>\n<TITLE>T</TITLE>\n</HEAD>|\n <META NAME=\"DESCRIPTION\" CONTENT=\"Krótki opis strony\">";
    QTest::newRow("quick-insert panel: marquee as text at the caret")
        << "BitBtn2" << body + "Ala |ma" << body + "Ala <marquee>Witaj na mojej stronie.</marquee>|ma";
    QTest::newRow("quick-insert panel: link keeps its own text over a selection")
        << "BitBtn5" << body + "Ala [ma] kota" << body + "Ala <A HREF=\"http://www.example.com/\">Tekst</A>| kota";
    QTest::newRow("quick-insert panel: comment with line breaks below the caret's line")
        << "BitBtn6" << body + "Ala |ma\n</BODY>" << body + "Ala ma\n<!--a\nb-->|\n</BODY>";
}

void TestMarkupInserter::insertsAtTheCaret()
{
    QFETCH(QString, control);
    QFETCH(QString, document);
    QFETCH(QString, expected);
    m_form->action(kOption)->trigger();
    ::control<QPlainTextEdit>(m_form->quickInsert(), "Memo1")->setPlainText("a\nb");
    setMarked(*m_s, document);
    QCOMPARE(marked(*m_s), document);
    QVERIFY(!m_s->isDocumentModified());

    activate(*m_form, control);
    QVERIFY(m_dialogs.errors.isEmpty());
    QCOMPARE(marked(*m_s), expected);
    QVERIFY(m_s->isDocumentModified());

    // One Undo step takes the whole insertion back; one Redo brings it all again.
    m_form->action("Cofnij1")->trigger();
    QCOMPARE(unmarked(marked(*m_s)), unmarked(document));
    QVERIFY(!m_s->isDocumentModified());
    QVERIFY(!m_s->isUndoAvailable());
    m_form->action("Ponw1")->trigger();
    QCOMPARE(unmarked(marked(*m_s)), unmarked(expected));
}

void TestMarkupInserter::headCommandOnAShortDocumentFails()
{
    m_form->action(kOption)->trigger();
    setMarked(*m_s, "<HTML>\n<HEAD>\n|</HEAD>");
    activate(*m_form, "Emailautora1");
    QCOMPARE(m_dialogs.errors, QStringList{"Invalid stringlist index 4"});
    QCOMPARE(marked(*m_s), QStringLiteral("<HTML>\n<HEAD>\n|</HEAD>"));
    QVERIFY(!m_s->isUndoAvailable());
    QVERIFY(!m_s->isDocumentModified());
}

void TestMarkupInserter::markupIsItsOwnUndoStep()
{
    m_form->action(kOption)->trigger();
    setMarked(*m_s, kHead + "<BODY>|");
    m_s->setFocus();
    QTest::keyClicks(m_s->viewport(), "xy");
    activate(*m_form, "Kod1");
    QTest::keyClicks(m_s->viewport(), "zw");
    QCOMPARE(m_s->line(4), QStringLiteral("<BODY>xy<CODE>zw</CODE>"));
    // Typing next to the markup does not merge with it in the history.
    m_form->action("Cofnij1")->trigger();
    QCOMPARE(m_s->line(4), QStringLiteral("<BODY>xy<CODE></CODE>"));
    m_form->action("Cofnij1")->trigger();
    QCOMPARE(m_s->line(4), QStringLiteral("<BODY>xy"));
    QVERIFY(m_s->isDocumentModified());
    m_form->action("Cofnij1")->trigger();
    QCOMPARE(m_s->line(4), QStringLiteral("<BODY>"));
    QVERIFY(!m_s->isDocumentModified());
}

void TestMarkupInserter::encodingConversionKeepsItsOwnUndoStep()
{
    using TextEncoding::Encoding;
    m_form->action(kOption)->trigger();
    setMarked(*m_s, kHead + "<BODY>|");
    QCOMPARE(int(m_s->encoding()), int(Encoding::Iso88592));
    activate(*m_form, "Poziom21");
    m_s->convertTo(Encoding::Utf8);
    activate(*m_form, "Poziom31");
    QCOMPARE(m_s->line(4), QStringLiteral("<BODY><H2><H3></H3></H2>"));

    m_form->action("Cofnij1")->trigger();
    QCOMPARE(m_s->line(4), QStringLiteral("<BODY><H2></H2>"));
    QCOMPARE(int(m_s->encoding()), int(Encoding::Utf8));
    m_form->action("Cofnij1")->trigger();
    QCOMPARE(m_s->line(4), QStringLiteral("<BODY><H2></H2>"));
    QCOMPARE(int(m_s->encoding()), int(Encoding::Iso88592));
    m_form->action("Cofnij1")->trigger();
    QCOMPARE(m_s->line(4), QStringLiteral("<BODY>"));
    QVERIFY(!m_s->isUndoAvailable());
    m_form->action("Ponw1")->trigger();
    m_form->action("Ponw1")->trigger();
    QCOMPARE(int(m_s->encoding()), int(Encoding::Utf8));
    QCOMPARE(m_s->line(4), QStringLiteral("<BODY><H2></H2>"));
}

void TestMarkupInserter::viewScrollsOnlyAsFarAsTheCaretNeeds()
{
    m_form->action(kOption)->trigger();
    m_s->clearAll();
    for (int i = 0; i < 300; ++i)
        m_s->appendLine(QString::number(i));
    const long onScreen = m_s->SendScintilla(QsciScintillaBase::SCI_LINESONSCREEN);
    QVERIFY(onScreen > 5);
    const auto first = [&] { return long(m_s->SendScintilla(QsciScintillaBase::SCI_GETFIRSTVISIBLELINE)); };
    m_s->setCursorPosition(100, 0);
    m_s->SendScintilla(QsciScintillaBase::SCI_SETFIRSTVISIBLELINE, 100 - onScreen / 2);
    const long middle = first();

    // The caret stays in view: nothing scrolls.
    activate(*m_form, "Akapit1");
    QCOMPARE(first(), middle);
    activate(*m_form, "ToolButton22");
    QCOMPARE(first(), middle);

    // The caret on the last line in view: the view follows it by the lines it went down.
    m_s->setCursorPosition(int(middle + onScreen - 1), 0);
    QCOMPARE(first(), middle);
    activate(*m_form, "Wyrodkuj1");
    int line = 0, column = 0;
    m_s->getCursorPosition(&line, &column);
    QCOMPARE(line, int(middle + onScreen + 1));
    QCOMPARE(first(), middle + 2);
}

void TestMarkupInserter::optionSurvivesARestart()
{
    m_form->action(kOption)->trigger();
    QVERIFY(m_form->action(kOption)->isChecked());
    QVERIFY(QFile::exists(m_settingsFolder.filePath("Tarnwick/Tarnwick.conf")));
    restart();
    QVERIFY(m_form->action(kOption)->isChecked());
    setMarked(*m_s, "Ala |ma");
    activate(*m_form, "Podkrelenie1");
    QCOMPARE(marked(*m_s), QStringLiteral("Ala <U>|</U>ma"));

    m_form->action(kOption)->trigger();
    restart();
    QVERIFY(!m_form->action(kOption)->isChecked());
    setMarked(*m_s, "Ala |ma");
    activate(*m_form, "Podkrelenie1");
    QCOMPARE(marked(*m_s), QStringLiteral("Ala |ma\n<U></U>"));
    QVERIFY(!m_s->isDocumentModified());
}

QTEST_MAIN(TestMarkupInserter)
#include "tst_markupinserter.moc"
