#include "markup/CaretMarkup.h"
#include "markup/MarkupTable.h"

#include <QTest>

using CaretMarkup::Where;

class TestCaretMarkup : public QObject
{
    Q_OBJECT
private slots:
    void planAroundTheSelection_data();
    void planAroundTheSelection();
    void pairsAreRecognised_data();
    void pairsAreRecognised();
};

void TestCaretMarkup::planAroundTheSelection_data()
{
    QTest::addColumn<QString>("control");   // a command's control; empty: `built` is the panel's line
    QTest::addColumn<QString>("built");
    QTest::addColumn<QString>("selection");
    QTest::addColumn<Where>("where");
    QTest::addColumn<bool>("takesSelection");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("middle");
    QTest::addColumn<QString>("after");

    const auto command = [](const char *name, const char *control, const QString &selection) -> QTestData & {
        return QTest::newRow(name) << QString::fromLatin1(control) << QString() << selection;
    };
    const auto panel = [](const char *name, const QString &built, const QString &selection) -> QTestData & {
        return QTest::newRow(name) << QString() << built << selection;
    };
    const QString link = QStringLiteral("<A HREF=\"http://www.example.com/\">");

    command("pair without selection: caret between the tags", "Pogrubienie1", "")
        << Where::Selection << false << "<B>" << "" << "</B>";
    command("pair with selection: selection between the tags", "ToolButton15", "słowo")
        << Where::Selection << false << "<B>" << "słowo" << "</B>";
    command("pair with attributes", "Szkieletformularza1", "")
        << Where::Selection << false << "<FORM NAME=\"\" ACTION=\"\" METHOD=\"POST\">" << "" << "</FORM>";
    command("placeholder content is selected", "Link1", "") << Where::Selection << false << link << "OPIS" << "</A>";
    command("selection replaces the placeholder", "ToolButton18", "strona")
        << Where::Selection << false << link << "strona" << "</A>";
    command("selection over lines goes between the tags", "Poziom11", "a\nb")
        << Where::Selection << false << "<H1>" << "a\nb" << "</H1>";
    command("one-line command replaces the selection", "ylkonowalinia1", "x")
        << Where::Selection << false << "<BR>" << "" << "";
    command("script call is text", "Prompt1", "")
        << Where::Selection << false << "prompt(\"Informacja\",\"Domyślna wartość\")" << "" << "";
    command("empty tag is text", "Pustyznacznik1", "") << Where::Selection << false << "<>" << "" << "";
    command("form field is text", "Poletekstowe1", "")
        << Where::Selection << false << "<INPUT TYPE=\"TEXT\" NAME=\"\" VALUE=\"\">" << "" << "";
    command("alignment block: caret on its blank line", "ToolButton21", "")
        << Where::BelowCaretLine << false << "<P ALIGN=\"CENTER\">\n" << "" << "\n</P>";
    command("alignment block takes the selection into its blank line", "Justuj1", "Ala\nma")
        << Where::BelowCaretLine << true << "<P ALIGN=\"JUSTIFY\">\n" << "Ala\nma" << "\n</P>";
    command("head command keeps its line", "Opisstrony1", "x")
        << Where::HeadLine << false << " <META NAME=\"DESCRIPTION\" CONTENT=\"Krótki opis strony\">" << "" << "";
    panel("panel marquee is text: its content is the user's", "<marquee>Witaj</marquee>", "x")
        << Where::Selection << false << "<marquee>Witaj</marquee>" << "" << "";
    panel("panel link is text", "<A HREF=\"a\">Tekst</A>", "")
        << Where::Selection << false << "<A HREF=\"a\">Tekst</A>" << "" << "";
    panel("panel comment with line breaks is a block without a slot", "<!--a\r\n\r\nb-->", "x")
        << Where::BelowCaretLine << false << "<!--a\n\nb-->" << "" << "";
}

void TestCaretMarkup::planAroundTheSelection()
{
    QFETCH(QString, control);
    QFETCH(QString, built);
    QFETCH(QString, selection);
    CaretMarkup::Shape shape;
    if (control.isEmpty()) {
        shape = CaretMarkup::ofBuiltText(built);
    } else {
        const Markup::Command *c = Markup::forControl(control);
        QVERIFY2(c, qPrintable(control));
        shape = CaretMarkup::ofCommand(*c);
    }
    const CaretMarkup::Plan p = CaretMarkup::plan(shape, selection);
    QTEST(p.where, "where");
    QTEST(p.takesSelection, "takesSelection");
    QTEST(p.before, "before");
    QTEST(p.middle, "middle");
    QTEST(p.after, "after");
}

void TestCaretMarkup::pairsAreRecognised_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("content"); // null: not a pair
    QTest::newRow("empty pair") << "<TT></TT>" << "";
    QTest::newRow("closing tag in another case") << "<b>x</B>" << "x";
    QTest::newRow("\">\" inside a quoted attribute") << "<A HREF=\"a>b\">OPIS</A>" << "OPIS";
    QTest::newRow("another element closes") << "<B>x</I>" << QString();
    QTest::newRow("longer element closes") << "<B></BR>" << QString();
    QTest::newRow("name runs into another") << "<BFOO></B>" << QString();
    QTest::newRow("tags inside are no placeholder") << "<B><I></I></B>" << QString();
    QTest::newRow("text before the tag") << "x<B></B>" << QString();
    QTest::newRow("text after the closing tag") << "<B></B>x" << QString();
    QTest::newRow("no closing tag") << "<IMG SRC=\"a.gif\">" << QString();
}

void TestCaretMarkup::pairsAreRecognised()
{
    QFETCH(QString, line);
    QFETCH(QString, content);
    const CaretMarkup::Shape shape = CaretMarkup::ofCommand({{}, Markup::Placement::Append, {line}});
    QCOMPARE(shape.kind == CaretMarkup::Kind::Pair, !content.isNull());
    if (!content.isNull())
        QCOMPARE(line.mid(shape.contentStart, shape.contentLength), content);
}

QTEST_APPLESS_MAIN(TestCaretMarkup)
#include "tst_caretmarkup.moc"
