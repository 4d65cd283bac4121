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
    // Lines the window tests leave out: the other shapes in the command table, and a panel
    // comment whose empty line is the user's.
    command("pair with attributes", "Szkieletformularza1", "")
        << Where::Selection << false << "<FORM NAME=\"\" ACTION=\"\" METHOD=\"POST\">" << "" << "</FORM>";
    command("table element is a pair", "abelaTABLE1", "x") << Where::Selection << false << "<TABLE>" << "x" << "</TABLE>";
    command("script call is text", "Prompt1", "")
        << Where::Selection << false << "prompt(\"Informacja\",\"Domyślna wartość\")" << "" << "";
    command("empty tag is text", "Pustyznacznik1", "") << Where::Selection << false << "<>" << "" << "";
    command("entity is text", "N8", "x") << Where::Selection << false << "&copy" << "" << "";
    command("form field is text", "Poletekstowe1", "")
        << Where::Selection << false << "<INPUT TYPE=\"TEXT\" NAME=\"\" VALUE=\"\">" << "" << "";
    command("head command ignores the selection", "IndeksowaniestronyRoboty1", "x")
        << Where::HeadLine << false << " <META NAME=\"ROBOTS\" CONTENT=\"ALL\">" << "" << "";
    panel("panel comment with an empty line is a block without a slot", "<!--a\r\n\r\nb-->", "x")
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
