#include "core/Failure.h"
#include "generators/PageMarkup.h"
#include "generators/TableMarkup.h"

#include <QTest>

namespace {

// The table as the panel shows it.
QString generated(const TableMarkup::Request &request)
{
    return QString::fromUtf8(TableMarkup::generateUtf8(request));
}

} // namespace

class TestGenerators : public QObject
{
    Q_OBJECT
private slots:
    void toInteger_data();
    void toInteger();
    void tableCounts_data();
    void tableCounts();
    void tableAttributesAreWrittenBack();
    void hugeTableIsRefused_data();
    void hugeTableIsRefused();
    void pageWithEmptyFields();
};

void TestGenerators::toInteger_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("value");
    QTest::newRow("plain") << "12" << true << 12;
    QTest::newRow("leading zeros") << "007" << true << 7;
    QTest::newRow("leading blanks") << "  3" << true << 3;
    QTest::newRow("negative") << "-4" << true << -4;
    QTest::newRow("plus") << "+5" << true << 5;
    QTest::newRow("dollar hex") << "$1F" << true << 31;
    QTest::newRow("0x hex") << "0x10" << true << 16;
    QTest::newRow("hex digits in both cases") << "$aB" << true << 171;
    QTest::newRow("0X hex, small letters") << "0Xfe" << true << 254;
    QTest::newRow("largest") << "2147483647" << true << 2147483647;
    QTest::newRow("smallest") << "-2147483648" << true << int(-2147483648LL);
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("blank only") << " " << false << 0;
    QTest::newRow("trailing blank") << "3 " << false << 0;
    QTest::newRow("letters") << "abc" << false << 0;
    QTest::newRow("decimal point") << "1.5" << false << 0;
    QTest::newRow("too large") << "2147483648" << false << 0;
    QTest::newRow("far too large") << "99999999999999999999" << false << 0;
    QTest::newRow("hex too large") << "$FFFFFFFF" << false << 0;
    QTest::newRow("sign alone") << "-" << false << 0;
    QTest::newRow("Polish digit-like") << "5ą" << false << 0;
}

void TestGenerators::toInteger()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, value);
    try {
        const int got = TableMarkup::toInteger(text);
        QVERIFY2(valid, qPrintable(text));
        QCOMPARE(got, value);
    } catch (const Failure &f) {
        QVERIFY2(!valid, qPrintable(text));
        QCOMPARE(f.message(), QStringLiteral("'%1' is not a valid integer value").arg(text));
    }
}

void TestGenerators::tableCounts_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("cells");
    QTest::addColumn<int>("lines");
    QTest::newRow("no rows") << 0 << 5 << 3;
    QTest::newRow("negative rows") << -3 << 5 << 3;
    QTest::newRow("no cells") << 2 << 0 << 7;
    QTest::newRow("negative cells") << 2 << -1 << 7;
    QTest::newRow("one by one") << 1 << 1 << 6;
}

void TestGenerators::tableCounts()
{
    QFETCH(int, rows);
    QFETCH(int, cells);
    QFETCH(int, lines);
    TableMarkup::Request request;
    request.rows = rows;
    request.cellsPerRow = cells;
    const QStringList out = generated(request).split('\n');
    QCOMPARE(out.size(), lines);
    QCOMPARE(out.count(QStringLiteral("<TR>")), qMax(0, rows));
}

void TestGenerators::tableAttributesAreWrittenBack()
{
    TableMarkup::Request request;
    request.border = -2;
    const QString first = generated(request).section('\n', 0, 0);
    // Empty text fields leave the blank straight after the equals sign.
    QCOMPARE(first, QStringLiteral("<TABLE ALIGN= BORDER=-2 CELLPADDING=0 CELLSPACING=0 BORDERCOLOR=>"));
}

void TestGenerators::hugeTableIsRefused_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("cells");
    QTest::addColumn<QString>("colour");
    QTest::addColumn<int>("lines"); // 0: refused
    QTest::addColumn<QString>("size"); // of a refused table: its lines and megabytes, rounded up
    QTest::newRow("1000 x 1000 is built") << 1000 << 1000 << QString() << 1002003 << "";
    QTest::newRow("no rows, sixty million cells: three lines at once") << 0 << 60000000 << QString() << 3 << "";
    QTest::newRow("no rows, the largest cell count") << 0 << 2147483647 << QString() << 3 << "";
    QTest::newRow("no cells, three million rows") << 3000000 << 0 << QString() << 0 << "6000003 wierszy kodu (32 MB)";
    QTest::newRow("just over the line bound") << 366666 << 1 << QString() << 0 << "1100001 wierszy kodu (19 MB)";
    QTest::newRow("just under the line bound") << 366665 << 1 << QString() << 1099998 << "";
    QTest::newRow("the largest counts") << 2147483647 << 2147483647 << QString() << 0
                                        << "4611686018427387906 wierszy kodu (180319906809856 MB)";
    QTest::newRow("few lines, but over 64 MB") << 10 << 10 << QString(33 << 20, QChar(0x017C)) << 0 // 2 bytes each
                                               << "123 wierszy kodu (67 MB)";
}

void TestGenerators::hugeTableIsRefused()
{
    QFETCH(int, rows);
    QFETCH(int, cells);
    QFETCH(QString, colour);
    QFETCH(int, lines);
    QFETCH(QString, size);
    TableMarkup::Request request;
    request.rows = rows;
    request.cellsPerRow = cells;
    request.borderColour = colour;
    if (lines) {
        QCOMPARE(TableMarkup::generateUtf8(request).count('\n') + 1, lines);
        return;
    }
    try {
        TableMarkup::generateUtf8(request);
        QFAIL("built");
    } catch (const Failure &f) {
        QCOMPARE(f.message(), QStringLiteral("Tabela %1 × %2 miałaby %3, a kreator tworzy co najwyżej 1100000 wierszy "
                                             "i 64 MB. Zmniejsz liczbę wierszy lub kolumn.").arg(rows).arg(cells).arg(size));
    }
}

void TestGenerators::pageWithEmptyFields()
{
    // Every line and attribute stays, with nothing between its quotes.
    QCOMPARE(PageMarkup::page({}), QStringList({"<HTML>", "", "<HEAD>", " <TITLE></TITLE>",
                                                " <META HTTP-EQUIV=\"CONTENT-TYPE\" CONTENT=\"TEXT/HTML; CHARSET=ISO-8859-2\">",
                                                " <META NAME=\"GENERATOR\" CONTENT=\"\">", " <META NAME=\"AUTHOR\" CONTENT=\"\">",
                                                " <LINK REV=\"MADE\" HREF=\"mailto:\">", " <META NAME=\"ROBOTS\" CONTENT=\"ALL\">",
                                                " <META NAME=\"DESCRIPTION\" CONTENT=\"\">", " <META NAME=\"KEYWORDS\" CONTENT=\"\">",
                                                "</HEAD>", "",
                                                "<BODY BACKGROUND=\"\" BGCOLOR=\"\" LINK=\"\" VLINK=\"\" ALINK=\"\" TEXT=\"\">",
                                                QString::fromUtf8(" <!--Tutaj jest miejsce na wpisanie treści dokumentu-->"),
                                                "</BODY>", "", "</HTML>"}));
}

QTEST_APPLESS_MAIN(TestGenerators)
#include "tst_generators.moc"
