#include "document/SourceEditor.h"
#include "markup/MarkupTable.h"
#include "markup/QuickInsertPanel.h"
#include "support/Fixtures.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {

// Clicks a control the way a user reaches it: a menu item or toolbar action, or a button.
bool activate(MainWindow &form, const QString &name)
{
    if (QAction *a = form.action(name)) {
        a->trigger();
        return true;
    }
    if (auto *b = form.findChild<QAbstractButton *>(name)) {
        QTest::mouseClick(b, Qt::LeftButton);
        return true;
    }
    return false;
}

} // namespace

class TestMarkup : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void everyControlAddsItsLines_data();
    void everyControlAddsItsLines();
    void headCommandsStackInReverseOrder();
    void headCommandOnAShortDocumentFails_data();
    void headCommandOnAShortDocumentFails();
    void markupLeavesCaretUndoAndFlag();
    void headCommandAfterTypingKeepsTheDocumentSound();
    void quickInsertButtons_data();
    void quickInsertButtons();
    void commentWithLineBreaksIsSavedOnSeveralLines();
    void markupIsSavedInTheDocumentsEncoding();
    void inertMenuEntries();

private:
    std::unique_ptr<AppWindows> m_windows;
    MainWindow *m_form = nullptr;
    ScriptedDialogs m_dialogs;
};

void TestMarkup::init()
{
    m_windows = openProgram(m_dialogs);
    m_form = &m_windows->main();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
}

void TestMarkup::cleanup()
{
    m_windows.reset();
}

void TestMarkup::everyControlAddsItsLines_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("placement");
    QTest::addColumn<QStringList>("lines");
    for (const Markup::Command &c : Markup::commands())
        for (const QString &control : c.controls)
            QTest::newRow(qPrintable(control)) << control << int(c.placement) << c.lines;
}

void TestMarkup::everyControlAddsItsLines()
{
    QFETCH(QString, control);
    QFETCH(int, placement);
    QFETCH(QStringList, lines);
    SourceEditor *s = m_form->editor();
    const QStringList before = s->lines();
    QVERIFY2(activate(*m_form, control), qPrintable(control));
    QVERIFY(m_dialogs.errors.isEmpty());
    QStringList expected = before;
    if (Markup::Placement(placement) == Markup::Placement::Head)
        expected.insert(4, lines.first());
    else
        expected += lines;
    QCOMPARE(s->lines(), expected);
    QVERIFY(!s->isDocumentModified());
    QVERIFY(!s->isUndoAvailable());
}

void TestMarkup::headCommandsStackInReverseOrder()
{
    activate(*m_form, "Opisstrony1");
    activate(*m_form, "Sowakluczowe1");
    activate(*m_form, "OznaczeniekodowaniaISO1");
    const QStringList l = m_form->editor()->lines();
    QCOMPARE(l.at(3), QStringLiteral(" <TITLE>Tytuł strony</TITLE>"));
    QCOMPARE(l.at(4), QStringLiteral(" <META HTTP-EQUIV=\"CONTENT-TYPE\" CONTENT=\"TEXT/HTML; CHARSET=ISO-8859-2\">"));
    QCOMPARE(l.at(5), QStringLiteral(" <META NAME=\"KEYWORDS\" CONTENT=\"slowa, kluczowe\">"));
    QCOMPARE(l.at(6), QStringLiteral(" <META NAME=\"DESCRIPTION\" CONTENT=\"Krótki opis strony\">"));
    QCOMPARE(l.at(7), l.at(4)); // the existing CONTENT-TYPE line is not looked for
    QCOMPARE(l.size(), 17);
}

void TestMarkup::headCommandOnAShortDocumentFails_data()
{
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<bool>("fails");
    for (int n = 0; n <= 5; ++n)
        QTest::addRow("%d lines", n) << n << (n < 4);
}

void TestMarkup::headCommandOnAShortDocumentFails()
{
    QFETCH(int, lineCount);
    QFETCH(bool, fails);
    SourceEditor *s = m_form->editor();
    s->clearAll();
    for (int i = 0; i < lineCount; ++i)
        s->appendLine(QString::number(i));
    const QStringList before = s->lines();
    activate(*m_form, "Autorstrony1");
    if (fails) {
        QCOMPARE(m_dialogs.errors, QStringList{"Invalid stringlist index 4"});
        QCOMPARE(s->lines(), before);
    } else {
        QVERIFY(m_dialogs.errors.isEmpty());
        QCOMPARE(s->line(4), QStringLiteral(" <META NAME=\"AUTHOR\" CONTENT=\"Imię i nazwisko autora\">"));
        QCOMPARE(s->lineCount(), lineCount + 1);
    }
}

void TestMarkup::markupLeavesCaretUndoAndFlag()
{
    SourceEditor *s = m_form->editor();
    s->setFocus();
    s->setCursorPosition(9, 3);
    QTest::keyClicks(s->viewport(), "xy");
    s->setSelection(9, 0, 9, 2);
    activate(*m_form, "ToolButton15");
    QCOMPARE(s->line(9), QStringLiteral("<BOxyDY BGCOLOR=\"#FFFFFF\">"));
    QCOMPARE(s->line(14), QStringLiteral("<B></B>"));
    QVERIFY(!s->hasSelectedText());
    int line, column;
    s->getCursorPosition(&line, &column);
    QCOMPARE(line, 9);
    QVERIFY(s->isDocumentModified());
    // Undo takes back the typing only; the markup stays.
    m_form->action("Cofnij1")->trigger();
    QCOMPARE(s->line(9), QStringLiteral("<BODY BGCOLOR=\"#FFFFFF\">"));
    QCOMPARE(s->line(14), QStringLiteral("<B></B>"));
    QVERIFY(!s->isDocumentModified());
    m_form->action("Ponw1")->trigger();
    QCOMPARE(s->line(9), QStringLiteral("<BOxyDY BGCOLOR=\"#FFFFFF\">"));
    QCOMPARE(s->lineCount(), 15);
}

void TestMarkup::headCommandAfterTypingKeepsTheDocumentSound()
{
    SourceEditor *s = m_form->editor();
    s->setFocus();
    s->setCursorPosition(10, 0);
    QTest::keyClicks(s->viewport(), "ABC");
    activate(*m_form, "IndeksowaniestronyRoboty1");
    QVERIFY(s->isDocumentModified());
    m_form->action("Cofnij1")->trigger();
    m_form->action("Ponw1")->trigger();
    QCOMPARE(s->line(4), QStringLiteral(" <META NAME=\"ROBOTS\" CONTENT=\"ALL\">"));
    QCOMPARE(s->line(11), QStringLiteral("ABC <!--Tutaj jest miejsce na wpisanie treści dokumentu-->"));
    QCOMPARE(s->lineCount(), 15);
    int line, column;
    s->getCursorPosition(&line, &column);
    QCOMPARE(line, 10);
}

void TestMarkup::quickInsertButtons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("fields"); // texts for the group's fields, empty: initial
    QTest::addColumn<QString>("line");
    QTest::newRow("marquee initial") << "BitBtn2" << QStringList() << "<marquee>Witaj na mojej stronie.</marquee>";
    QTest::newRow("marquee empty") << "BitBtn2" << QStringList{""} << "<marquee></marquee>";
    QTest::newRow("image lower case") << "BitBtn3" << QStringList() << "<img src=\"http://www.example.com/obrazek.gif\">";
    QTest::newRow("video") << "BitBtn4" << QStringList() << "<IMG DYNSRC=\"http://www.example.com/film.avi\" LOOP=\"0\">";
    QTest::newRow("link initial") << "BitBtn5" << QStringList() << "<A HREF=\"http://www.example.com/\">Tekst</A>";
    QTest::newRow("link empty") << "BitBtn5" << QStringList{"", ""} << "<A HREF=\"\"></A>";
    QTest::newRow("link blanks kept") << "BitBtn5" << QStringList{" a b ", "\"<&>\""} << "<A HREF=\" a b \">\"<&>\"</A>";
    QTest::newRow("comment initial") << "BitBtn6" << QStringList() << "<!--Komentarz w jednej linii!-->";
    QTest::newRow("marquee Polish") << "BitBtn2" << QStringList{"Zażółć gęślą jaźń"} << "<marquee>Zażółć gęślą jaźń</marquee>";
    // Qt's entry fields stop at 32,767 characters unless told otherwise.
    const QString longText = QString(40000, QLatin1Char('x')) + QStringLiteral("koniec");
    QTest::newRow("marquee of 40,006 characters") << "BitBtn2" << QStringList{longText}
                                                  << "<marquee>" + longText + "</marquee>";
    QTest::newRow("link of 40,006 characters") << "BitBtn5" << QStringList{longText, "t"}
                                               << "<A HREF=\"" + longText + "\">t</A>";
}

void TestMarkup::quickInsertButtons()
{
    QFETCH(QString, button);
    QFETCH(QStringList, fields);
    QFETCH(QString, line);
    QuickInsertPanel *q = m_form->quickInsert();
    const QHash<QString, QList<QLineEdit *>> edits = {
        {"BitBtn2", {q->Edit1}}, {"BitBtn3", {q->Edit2}}, {"BitBtn4", {q->Edit3}}, {"BitBtn5", {q->Edit4, q->Edit5}}};
    for (int i = 0; i < fields.size(); ++i)
        edits.value(button).at(i)->setText(fields.at(i));
    const int before = m_form->editor()->lineCount();
    QTest::mouseClick(q->findChild<QPushButton *>(button), Qt::LeftButton);
    QTest::mouseClick(q->findChild<QPushButton *>(button), Qt::LeftButton);
    QCOMPARE(m_form->editor()->lineCount(), before + 2);
    QCOMPARE(m_form->editor()->line(before), line);
    QCOMPARE(m_form->editor()->line(before + 1), line);
    QVERIFY(!m_form->editor()->isDocumentModified());
    if (!fields.isEmpty())
        QCOMPARE(edits.value(button).first()->text(), fields.first());
}

void TestMarkup::commentWithLineBreaksIsSavedOnSeveralLines()
{
    m_form->quickInsert()->Memo1->setPlainText(QStringLiteral("a\u00A0z\nb"));
    // The no-break space stays what it is.
    QCOMPARE(m_form->quickInsert()->commentText(), QStringLiteral("a\u00A0z\r\nb"));
    QTest::mouseClick(m_form->quickInsert()->BitBtn6, Qt::LeftButton);
    QTemporaryDir dir;
    m_form->editor()->saveToFile(dir.filePath("c.html"));
    QFile f(dir.filePath("c.html"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.readAll().endsWith("</HTML>\r\n<!--a\xA0z\r\nb-->"));
}

void TestMarkup::markupIsSavedInTheDocumentsEncoding()
{
    m_form->editor()->clearAll();
    activate(*m_form, "Prompt1");
    activate(*m_form, "N8");
    activate(*m_form, "ToolButton21");
    QTemporaryDir dir;
    m_dialogs.saveAnswers.push_back(Dialogs::SaveChoice{dir.filePath("m"), 4});
    m_form->action("Zapisz1")->trigger();
    QFile f(dir.filePath("m"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    // An emptied document is in ISO-8859-2, where "ś" is 0xB6.
    QCOMPARE(f.readAll(), QByteArray("prompt(\"Informacja\",\"Domy\xB6lna warto\xB6\xE6\")\r\n&copy\r\n"
                                     "<P ALIGN=\"CENTER\">\r\n\r\n</P>"));
}

void TestMarkup::inertMenuEntries()
{
    const QStringList before = m_form->editor()->lines();
    QAction *span = m_form->action("ZnacznikSPAN1");
    QVERIFY(span && !span->isEnabled());
    QAction *print = m_form->action("Drukuj1");
    QVERIFY(print && !print->isEnabled());
    span->trigger();
    print->trigger();
    QCOMPARE(m_form->editor()->lines(), before);
    // The menu's "Kursywa" and alignments do what their captions say.
    activate(*m_form, "Kursywa1");
    QCOMPARE(m_form->editor()->lines().last(), QStringLiteral("<I></I>"));
    activate(*m_form, "Wyrodkuj1");
    QCOMPARE(m_form->editor()->line(m_form->editor()->lineCount() - 3), QStringLiteral("<P ALIGN=\"CENTER\">"));
}

QTEST_MAIN(TestMarkup)
#include "tst_markup.moc"
