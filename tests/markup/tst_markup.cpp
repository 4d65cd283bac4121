#include "document/SourceEditor.h"
#include "markup/QuickInsertPanel.h"
#include "support/Files.h"
#include "support/Fixtures.h"

#include <QAction>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QToolButton>

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
    // Every control that adds fixed markup, with the lines it adds, as the design gives them.
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("head"); // inserted before line 4, else appended
    QTest::addColumn<QStringList>("lines");
    using List = std::initializer_list<const char *>;
    const auto rows = [](bool head, List controls, List lines) {
        QStringList l;
        for (const char *line : lines)
            l << QString::fromUtf8(line);
        for (const char *c : controls)
            QTest::newRow(c) << QString::fromLatin1(c) << head << l;
    };
    const auto add = [&](List controls, List lines) { rows(false, controls, lines); };
    const auto head = [&](List controls, List lines) { rows(true, controls, lines); };
    add({"Pogrubienie1", "ToolButton15"}, {"<B></B>"});
    add({"ToolButton16", "Kursywa1"}, {"<I></I>"});
    add({"Podkrelenie1", "ToolButton17"}, {"<U></U>"});
    add({"Zakrelenie1"}, {"<S></S>"});
    add({"Akapit1", "SpeedButton2"}, {"<P></P>"});
    add({"Nowywiersz1", "SpeedButton3", "ylkonowalinia1"}, {"<BR>"});
    add({"Indexgrny1", "Button4"}, {"<SUP></SUP>"});
    add({"Indexdolny1", "Button5"}, {"<SUB></SUB>"});
    add({"Poziom11"}, {"<H1></H1>"});
    add({"Poziom21"}, {"<H2></H2>"});
    add({"Poziom31"}, {"<H3></H3>"});
    add({"Poziom41"}, {"<H4></H4>"});
    add({"Poziom51"}, {"<H5></H5>"});
    add({"Poziom61"}, {"<H6></H6>"});
    add({"Cytat1"}, {"<CITE></CITE>"});
    add({"Kod1"}, {"<CODE></CODE>"});
    add({"ekstwyrniony1"}, {"<EM></EM>"});
    add({"Mocnewyrnienie1"}, {"<STRONG></STRONG>"});
    add({"Zmienna1"}, {"<VAR></VAR>"});
    add({"Staaszerokoczcionki1"}, {"<TT></TT>"});
    add({"Duoczcionka1"}, {"<BIG></BIG>"});
    add({"Maaczcionka1"}, {"<SMALL></SMALL>"});
    add({"Wcicie1"}, {"<BLOCKQUOTE></BLOCKQUOTE>"});
    add({"ekstmigajcy1"}, {"<BLINK></BLINK>"});
    add({"Przykadowewyjcie1"}, {"<SAMP></SAMP>"});
    add({"SkrtABBR1"}, {"<ABBR></ABBR>"});
    add({"AkronimACRONYM1"}, {"<ACRONYM></ACRONYM>"});
    add({"Link1", "ToolButton18"}, {"<A HREF=\"http://www.example.com/\">OPIS</A>"});
    add({"Spacja1", "SpeedButton4"}, {"&nbsp;"});
    add({"N7"}, {"&reg;"});
    add({"N8"}, {"&copy"});
    add({"Ob1", "Button1"}, {"<IMG SRC=\"http://www.example.com/obrazek.gif\">"});
    add({"Plikwideo1", "Button2"}, {"<IMG DYNSRC=\"http://www.example.com/video.avi\" LOOP=\"0\">"});
    add({"Liniapozioma1", "Button3"}, {"<HR WIDTH=\"100%\" SIZE=\"2\">"});
    add({"Pustyznacznik1"}, {"<>"});
    add({"FragmentdodanyINS1"}, {"<INS></INS>"});
    add({"FragmentusunityDEL1"}, {"<DEL></DEL>"});
    add({"Poniejdolewej1"}, {"<br clear=\"left\">"});
    add({"Poniejdoprawej1"}, {"<br clear=\"right\">"});
    add({"Poniejobamarginesy1"}, {"<BR CLEAR=\"ALL\">"});
    add({"FRAMESET1"}, {"<FRAMESET></FRAMESET>"});
    add({"FRAME1"}, {"<FRAME></FRAME>"});
    add({"NOFRAME1"}, {"<NOFRAME></NOFRAME>"});
    add({"Pywajcaramka1"}, {"<IFRAME></IFRAME>"});
    add({"Szkieletformularza1"}, {"<FORM NAME=\"\" ACTION=\"\" METHOD=\"POST\"></FORM>"});
    add({"Poletekstowe1"}, {"<INPUT TYPE=\"TEXT\" NAME=\"\" VALUE=\"\">"});
    add({"Polehasa1"}, {"<INPUT TYPE=\"PASSWORD\" NAME=\"\" VALUE=\"\">"});
    add({"Poleukryte1"}, {"<INPUT TYPE=\"HIDDEN\" NAME=\"\" VALUE=\"\">"});
    add({"Opcjaradio1"}, {"<INPUT TYPE=\"RADIO\" NAME=\"\" VALUE=\"\">"});
    add({"Opcjacheckbox1"}, {"<INPUT TYPE=\"CHECKBOX\" NAME=\"\" VALUE=\"\">"});
    add({"PrzyciskWylij1"}, {"<INPUT TYPE=\"SUBMIT\" NAME=\"\" VALUE=\"Ok\">"});
    add({"PrzyciskWyczy1"}, {"<INPUT TYPE=\"RESET\" NAME=\"\" VALUE=\"Anuluj\">"});
    add({"ElemntlistyLI1"}, {"<LI></LI>"});
    add({"Numerowana1"}, {"<OL></OL>"});
    add({"NienumerowanaUL1"}, {"<UL></UL>"});
    add({"DeficyjnaDL1"}, {"<DL></DL>"});
    add({"abelaTABLE1"}, {"<TABLE></TABLE>"});
    add({"WierszTR1"}, {"<TR></TR>"});
    add({"NagwekTH1"}, {"<TH></TH>"});
    add({"KomrkaTD1"}, {"<TD></TD>"});
    add({"NagwekTHEAD1"}, {"<THEAD></THEAD>"});
    add({"ZawartoTBODY1"}, {"<TBODY></TBODY>"});
    add({"StopkaTFOOT1"}, {"<TFOOT></TFOOT>"});
    add({"KolumnyCOL1"}, {"<COL></COL>"});
    add({"GrupakolumnCOLGROUP1"}, {"<COLGROUP></COLGROUP>"});
    add({"Komunikat1"}, {"confirm(\"Informacja\")"});
    add({"Informacja1"}, {"alert(\"Informacja\")"});
    add({"Prompt1"}, {"prompt(\"Informacja\",\"Domyślna wartość\")"});
    add({"ToolButton20", "Dolewej1"}, {"<P ALIGN=\"LEFT\">", "", "</P>"});
    add({"ToolButton21", "Wyrodkuj1"}, {"<P ALIGN=\"CENTER\">", "", "</P>"});
    add({"ToolButton22", "Doprawej1"}, {"<P ALIGN=\"RIGHT\">", "", "</P>"});
    add({"Justuj1", "ToolButton38"}, {"<P ALIGN=\"JUSTIFY\">", "", "</P>"});
    head({"OznaczeniekodowaniaISO1"}, {" <META HTTP-EQUIV=\"CONTENT-TYPE\" CONTENT=\"TEXT/HTML; CHARSET=ISO-8859-2\">"});
    head({"Opisstrony1"}, {" <META NAME=\"DESCRIPTION\" CONTENT=\"Krótki opis strony\">"});
    head({"Sowakluczowe1"}, {" <META NAME=\"KEYWORDS\" CONTENT=\"slowa, kluczowe\">"});
    head({"Autorstrony1"}, {" <META NAME=\"AUTHOR\" CONTENT=\"Imię i nazwisko autora\">"});
    head({"Emailautora1"}, {" <LINK REV=\"MADE\" HREF=\"MAILTO:autor@example.com\">"});
    head({"IndeksowaniestronyRoboty1"}, {" <META NAME=\"ROBOTS\" CONTENT=\"ALL\">"});
}

void TestMarkup::everyControlAddsItsLines()
{
    QFETCH(QString, control);
    QFETCH(bool, head);
    QFETCH(QStringList, lines);
    SourceEditor *s = m_form->editor();
    QStringList expected = s->lines();
    QVERIFY2(activate(*m_form, control), qPrintable(control));
    QVERIFY(m_dialogs.errors.isEmpty());
    if (head)
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
    QTest::newRow("image Polish") << "BitBtn3" << QStringList{"zażółć gęślą.gif"} << "<img src=\"zażółć gęślą.gif\">";
    QTest::newRow("video changed") << "BitBtn4" << QStringList{"f i\"lm"} << "<IMG DYNSRC=\"f i\"lm\" LOOP=\"0\">";
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
        {"BitBtn2", {control<QLineEdit>(q, "Edit1")}}, {"BitBtn3", {control<QLineEdit>(q, "Edit2")}}, {"BitBtn4", {control<QLineEdit>(q, "Edit3")}}, {"BitBtn5", {control<QLineEdit>(q, "Edit4"), control<QLineEdit>(q, "Edit5")}}};
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
    auto *memo = control<QPlainTextEdit>(m_form->quickInsert(), "Memo1");
    memo->setFocus();
    QTRY_VERIFY(memo->hasFocus());
    QTest::keyClick(memo, Qt::Key_Tab); // leaves the box, typing nothing
    QVERIFY(!memo->hasFocus());
    QCOMPARE(memo->toPlainText(), QStringLiteral("Komentarz w jednej linii!"));
    memo->setPlainText(QStringLiteral("a\u00A0z\nb"));
    // Shift+Enter breaks the line within its paragraph: a line break all the same.
    memo->setFocus();
    memo->moveCursor(QTextCursor::End);
    QTest::keyClick(memo, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClick(memo, Qt::Key_C);
    // The no-break space stays what it is.
    QCOMPARE(m_form->quickInsert()->commentText(), QStringLiteral("a\u00A0z\r\nb\r\nc"));
    QTest::mouseClick(control<QPushButton>(m_form->quickInsert(), "BitBtn6"), Qt::LeftButton);
    QTemporaryDir dir;
    m_form->editor()->saveToFile(dir.filePath("c.html"));
    QVERIFY(readAll(dir.filePath("c.html")).endsWith("</HTML>\r\n<!--a\xA0z\r\nb\r\nc-->"));
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
    // An emptied document is in ISO-8859-2, where "ś" is 0xB6.
    QCOMPARE(readAll(dir.filePath("m")), QByteArray("prompt(\"Informacja\",\"Domy\xB6lna warto\xB6\xE6\")\r\n&copy\r\n"
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
}

QTEST_MAIN(TestMarkup)
#include "tst_markup.moc"
