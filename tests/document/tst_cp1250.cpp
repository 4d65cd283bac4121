#include "document/Cp1250.h"
#include "core/Failure.h"
#include "document/LineEnds.h"
#include "document/TextScan.h"

#include <QRandomGenerator>

#include <QTest>

class TestCp1250 : public QObject
{
    Q_OBJECT
private slots:
    void everyByteSurvivesARoundTrip();
    void polishLettersMapToTheirBytes_data();
    void polishLettersMapToTheirBytes();
    void unassignedBytesKeepTheirNumber();
    void lineEndsAreRewrittenToTheChosenOne_data();
    void lineEndsAreRewrittenToTheChosenOne();
    void characterOutsideTheCodePageIsRefusedWithItsLine();
    void malformedUtf8DoesNotCrash();
    void blocksMatchTheWholeAndCountLines_data();
    void blocksMatchTheWholeAndCountLines();
    void scansCountLikeALoop();
    void detectLineEnd_data();
    void detectLineEnd();
};

void TestCp1250::everyByteSurvivesARoundTrip()
{
    QByteArray bytes;
    for (int b = 0; b < 256; ++b)
        if (b != '\r' && b != '\n')
            bytes.append(char(b));
    bytes += "\r\n" + bytes + "\r\n";
    const QByteArray utf8 = Cp1250::toUtf8(bytes);
    const Cp1250::Encoded back = Cp1250::encodeUtf8(utf8.constData(), size_t(utf8.size()), "\r\n");
    QVERIFY(!back.error);
    QCOMPARE(back.bytes, bytes);
    // The decoded text holds one character per byte, NUL included.
    QCOMPARE(QString::fromUtf8(utf8).size(), bytes.size());
}

void TestCp1250::polishLettersMapToTheirBytes_data()
{
    QTest::addColumn<QString>("letter");
    QTest::addColumn<int>("byte");
    const QList<QPair<QString, int>> rows = {
        {"ą", 0xB9}, {"Ą", 0xA5}, {"ć", 0xE6}, {"Ć", 0xC6}, {"ę", 0xEA}, {"Ę", 0xCA},
        {"ł", 0xB3}, {"Ł", 0xA3}, {"ń", 0xF1}, {"Ń", 0xD1}, {"ó", 0xF3}, {"Ó", 0xD3},
        {"ś", 0x9C}, {"Ś", 0x8C}, {"ź", 0x9F}, {"Ź", 0x8F}, {"ż", 0xBF}, {"Ż", 0xAF},
        {"€", 0x80}, {"©", 0xA9}, {"®", 0xAE},
    };
    for (const auto &r : rows)
        QTest::newRow(qPrintable(r.first)) << r.first << r.second;
}

void TestCp1250::polishLettersMapToTheirBytes()
{
    QFETCH(QString, letter);
    QFETCH(int, byte);
    QCOMPARE(Cp1250::encode(letter), QByteArray(1, char(byte)));
    QCOMPARE(Cp1250::decode(QByteArray(1, char(byte))), letter);
}

void TestCp1250::unassignedBytesKeepTheirNumber()
{
    for (int b : {0x81, 0x83, 0x88, 0x90, 0x98}) {
        QCOMPARE(uint(Cp1250::toUnicode(uchar(b))), uint(b));
        QCOMPARE(int(*Cp1250::fromUnicode(char32_t(b))), b);
    }
    // A character the code page has no byte for stays unencodable, not "?".
    QVERIFY(!Cp1250::fromUnicode(0x0080 + 0x05)); // U+0085 is not in the table
    QVERIFY(!Cp1250::fromUnicode(U'Ж'));
}

void TestCp1250::lineEndsAreRewrittenToTheChosenOne_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("eol");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("mixed to CR LF") << QByteArray("a\nb\rc\r\nd") << QByteArray("\r\n") << QByteArray("a\r\nb\r\nc\r\nd");
    QTest::newRow("LF kept") << QByteArray("a\nb\n") << QByteArray("\n") << QByteArray("a\nb\n");
    QTest::newRow("CR kept") << QByteArray("a\rb") << QByteArray("\r") << QByteArray("a\rb");
    QTest::newRow("CR LF to LF") << QByteArray("a\r\n\r\nb") << QByteArray("\n") << QByteArray("a\n\nb");
    QTest::newRow("empty") << QByteArray() << QByteArray("\r\n") << QByteArray();
}

void TestCp1250::lineEndsAreRewrittenToTheChosenOne()
{
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, eol);
    QFETCH(QByteArray, expected);
    QCOMPARE(Cp1250::toUtf8(input), input); // decoding keeps line ends as they stand
    const Cp1250::Encoded e = Cp1250::encodeUtf8(input.constData(), size_t(input.size()), eol);
    QCOMPARE(e.bytes, expected);
}

void TestCp1250::characterOutsideTheCodePageIsRefusedWithItsLine()
{
    const QByteArray utf8 = QString::fromUtf8("zażółć\r\ngęślą\r\njaźń 😀 tu").toUtf8();
    const Cp1250::Encoded e = Cp1250::encodeUtf8(utf8.constData(), size_t(utf8.size()), "\r\n");
    QVERIFY(e.error);
    QCOMPARE(uint(e.error->character), 0x1F600u);
    QCOMPARE(e.error->line, 3);
    QVERIFY(e.bytes.isEmpty());
    const QString message = Cp1250::unencodableMessage(*e.error);
    QVERIFY(message.contains(QStringLiteral("😀")));
    QVERIFY(message.contains(QStringLiteral("U+1F600")));
    QVERIFY(message.contains(QStringLiteral("wierszu 3")));
    QVERIFY_THROWS_EXCEPTION(Failure, Cp1250::encode(QStringLiteral("Привет")));
}

void TestCp1250::malformedUtf8DoesNotCrash()
{
    const QByteArray bad("\xC3", 1);
    const Cp1250::Encoded e = Cp1250::encodeUtf8(bad.constData(), size_t(bad.size()), "\r\n");
    QVERIFY(e.error); // U+FFFD has no byte
}

void TestCp1250::blocksMatchTheWholeAndCountLines_data()
{
    QTest::addColumn<QByteArray>("eol");
    QTest::addColumn<QByteArray>("lineEnd"); // what the text holds
    QTest::addColumn<bool>("longLine");
    QTest::newRow("CR LF kept") << QByteArray("\r\n") << QByteArray("\r\n") << false;
    QTest::newRow("LF to CR LF") << QByteArray("\r\n") << QByteArray("\n") << false;
    QTest::newRow("CR kept") << QByteArray("\r") << QByteArray("\r") << false;
    QTest::newRow("one line longer than a block") << QByteArray("\n") << QByteArray("\n") << true;
}

void TestCp1250::blocksMatchTheWholeAndCountLines()
{
    QFETCH(QByteArray, eol);
    QFETCH(QByteArray, lineEnd);
    QFETCH(bool, longLine);
    QByteArray text;
    const QByteArray line = QString::fromUtf8("wiersz zażółć gęślą jaźń ").toUtf8();
    int lines = 0;
    while (text.size() < (3 << 20)) {
        text += longLine && lines == 10 ? line.repeated(60000) : line + QByteArray::number(lines);
        text += lineEnd;
        ++lines;
    }
    QByteArray blocks;
    int calls = 0;
    const auto none = Cp1250::encodeInBlocks(text.constData(), size_t(text.size()), eol, [&](const char *p, size_t n) {
        blocks.append(p, qsizetype(n));
        ++calls;
    });
    QVERIFY(!none);
    QVERIFY(calls >= 3);
    const Cp1250::Encoded whole = Cp1250::encodeUtf8(text.constData(), size_t(text.size()), eol);
    QVERIFY(!whole.error);
    QCOMPARE(blocks.size(), whole.bytes.size());
    QVERIFY(blocks == whole.bytes);

    // A character the code page lacks, far into the text: its line is counted over blocks.
    const qsizetype at = text.indexOf(line + QByteArray::number(lines - 5) + lineEnd);
    QByteArray bad = text;
    bad.insert(at, QString::fromUtf8("Ж").toUtf8());
    const auto error = Cp1250::encodeInBlocks(bad.constData(), size_t(bad.size()), eol, [](const char *, size_t) {});
    QVERIFY(error);
    QCOMPARE(error->line, lines - 4);
    const Cp1250::Encoded wholeBad = Cp1250::encodeUtf8(bad.constData(), size_t(bad.size()), eol);
    QCOMPARE(wholeBad.error->line, lines - 4);
}

void TestCp1250::detectLineEnd_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("eol");
    QTest::addColumn<bool>("uniform");
    QTest::newRow("no line end") << QByteArray("abc") << QByteArray("\r\n") << true;
    QTest::newRow("empty") << QByteArray() << QByteArray("\r\n") << true;
    QTest::newRow("LF only") << QByteArray("a\nb\n") << QByteArray("\n") << true;
    QTest::newRow("CR only") << QByteArray("a\rb\r") << QByteArray("\r") << true;
    QTest::newRow("CR LF only") << QByteArray("a\r\nb\r\n") << QByteArray("\r\n") << true;
    QTest::newRow("LF then CR LF") << QByteArray("a\nb\r\n") << QByteArray("\r\n") << false;
    QTest::newRow("CR then LF") << QByteArray("a\rb\nc") << QByteArray("\r\n") << false;
    QTest::newRow("LF CR pairs reversed") << QByteArray("a\n\rb") << QByteArray("\r\n") << false;
    QTest::newRow("lone CR before LF") << QByteArray("a\r\rb\n") << QByteArray("\r\n") << false;
    QTest::newRow("trailing lone CR") << QByteArray("a\n\r") << QByteArray("\r\n") << false;
}

void TestCp1250::detectLineEnd()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, eol);
    QFETCH(bool, uniform);
    QCOMPARE(LineEnds::detect(bytes), eol);
    QCOMPARE(LineEnds::analyse(bytes.constData(), bytes.size()).uniform, uniform);
}

void TestCp1250::scansCountLikeALoop()
{
    QRandomGenerator rng(1250);
    QList<QByteArray> samples = {QByteArray(), QByteArray(5000, '\n'), QByteArray(4100, char(0x80))};
    for (int size : {1, 7, 8, 9, 2039, 2040, 2041, 70000}) {
        QByteArray b(size, Qt::Uninitialized);
        for (char &c : b)
            c = char(rng.bounded(256));
        samples << b;
    }
    for (const QByteArray &b : samples) {
        std::size_t chars = 0, lfs = 0;
        for (const char c : b) {
            chars += (uchar(c) & 0xC0) != 0x80;
            lfs += c == '\n';
        }
        QCOMPARE(TextScan::countCharacters(b.constData(), size_t(b.size())), chars);
        QCOMPARE(TextScan::countByte(b.constData(), size_t(b.size()), '\n'), lfs);
    }
}

QTEST_APPLESS_MAIN(TestCp1250)
#include "tst_cp1250.moc"
