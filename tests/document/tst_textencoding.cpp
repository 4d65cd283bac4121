#include "document/DocumentCodec.h"
#include "document/LineEnds.h"
#include "document/SingleByteCodec.h"
#include "document/TextEncoding.h"
#include "document/TextScan.h"

#include <QRandomGenerator>
#include <QStringDecoder>

#include <QTest>

using TextEncoding::Encoding;
Q_DECLARE_METATYPE(Encoding)
Q_DECLARE_METATYPE(std::optional<Encoding>)

namespace {

// Bytes 0x80..0xFF as the code pages' published definitions give them. Windows-1250 leaves
// 0x81 0x83 0x88 0x90 0x98 unassigned; the program maps them to the C1 control of that number.
const std::array<char16_t, 128> kExpectedWindows1250 = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021, 0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, 0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, 0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7, 0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};
const std::array<char16_t, 128> kExpectedIso88592 = {
    0x0080, 0x0081, 0x0082, 0x0083, 0x0084, 0x0085, 0x0086, 0x0087, 0x0088, 0x0089, 0x008A, 0x008B, 0x008C, 0x008D, 0x008E, 0x008F,
    0x0090, 0x0091, 0x0092, 0x0093, 0x0094, 0x0095, 0x0096, 0x0097, 0x0098, 0x0099, 0x009A, 0x009B, 0x009C, 0x009D, 0x009E, 0x009F,
    0x00A0, 0x0104, 0x02D8, 0x0141, 0x00A4, 0x013D, 0x015A, 0x00A7, 0x00A8, 0x0160, 0x015E, 0x0164, 0x0179, 0x00AD, 0x017D, 0x017B,
    0x00B0, 0x0105, 0x02DB, 0x0142, 0x00B4, 0x013E, 0x015B, 0x02C7, 0x00B8, 0x0161, 0x015F, 0x0165, 0x017A, 0x02DD, 0x017E, 0x017C,
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, 0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, 0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7, 0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

DocumentCodec::Encoded encode(Encoding encoding, const QByteArray &utf8, const QByteArray &eol = "\r\n")
{
    return DocumentCodec::encode(encoding, utf8.constData(), size_t(utf8.size()), eol);
}

} // namespace

class TestTextEncoding : public QObject
{
    Q_OBJECT
private slots:
    void codePagesMatchTheirDefinitions_data();
    void codePagesMatchTheirDefinitions();
    void detection_data();
    void detection();
    void declarationsAreFoundInTheirForms_data();
    void declarationsAreFoundInTheirForms();
    void rewrittenDeclarationsKeepTheirCase_data();
    void rewrittenDeclarationsKeepTheirCase();
    void utf8Validation_data();
    void utf8Validation();
    void utf8ValidationAgreesWithQtOnMixedInput();
    void c1BytesAreFoundAnywhere();
    void lineEndsAreRewrittenToTheChosenOne_data();
    void lineEndsAreRewrittenToTheChosenOne();
    void characterOutsideTheEncodingIsRefusedWithItsLine_data();
    void characterOutsideTheEncodingIsRefusedWithItsLine();
    void malformedUtf8DoesNotCrash();
    void blocksMatchTheWholeAndCountLines_data();
    void blocksMatchTheWholeAndCountLines();
    void scansCountLikeALoop();
    void detectLineEnd_data();
    void detectLineEnd();
    void longLineIsFound_data();
    void longLineIsFound();
};

void TestTextEncoding::codePagesMatchTheirDefinitions_data()
{
    QTest::addColumn<Encoding>("encoding");
    QTest::addColumn<QByteArray>("icuName");
    QTest::newRow("Windows-1250") << Encoding::Windows1250 << QByteArray("windows-1250");
    QTest::newRow("ISO-8859-2") << Encoding::Iso88592 << QByteArray("ISO-8859-2");
}

void TestTextEncoding::codePagesMatchTheirDefinitions()
{
    QFETCH(Encoding, encoding);
    QFETCH(QByteArray, icuName);
    const bool iso = encoding == Encoding::Iso88592;
    const auto &expected = iso ? kExpectedIso88592 : kExpectedWindows1250;
    const SingleByteCodec &codec = iso ? SingleByteCodec::iso88592() : SingleByteCodec::windows1250();
    QStringDecoder reference(icuName.constData());
    QVERIFY(reference.isValid());
    // A document of every byte but CR and LF, and the code page's character for each, NUL included.
    QByteArray bytes;
    QString characters;
    for (int b = 0; b < 256; ++b) {
        const char32_t want = b < 0x80 ? char32_t(b) : expected[std::size_t(b - 0x80)];
        QCOMPARE(uint(codec.toUnicode(uchar(b))), uint(want));
        QCOMPARE(int(*codec.fromUnicode(want)), b);
        const QString ref = reference(QByteArray(1, char(b)));
        const bool unassigned = !iso && want == char32_t(b) && b >= 0x80;
        if (!unassigned)
            QCOMPARE(uint(ref.at(0).unicode()), uint(want));
        if (b != '\r' && b != '\n') {
            bytes += char(b);
            characters += QChar(char16_t(want));
        }
    }
    QVERIFY(!codec.fromUnicode(U'Ж'));
    QVERIFY(!codec.fromUnicode(0x1F600));

    // The document, twice with CR LF after it, survives a round trip.
    bytes += "\r\n" + bytes + "\r\n";
    characters += "\r\n" + characters + "\r\n";
    QByteArray text(bytes.size() * 3, Qt::Uninitialized);
    text.truncate(DocumentCodec::toUtf8(encoding, bytes.constData(), size_t(bytes.size()), text.data()) - text.constData());
    QCOMPARE(QString::fromUtf8(text), characters);
    const DocumentCodec::Encoded back = encode(encoding, text);
    QVERIFY(!back.error);
    QCOMPARE(back.bytes, bytes);
}

void TestTextEncoding::detection_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Encoding>("encoding");
    QTest::addColumn<bool>("bom");
    QTest::addColumn<std::optional<Encoding>>("declared");
    const auto row = [](const char *name, const QByteArray &bytes, Encoding encoding, bool bom,
                        std::optional<Encoding> declared) { QTest::newRow(name) << bytes << encoding << bom << declared; };
    const auto meta = [](const char *name) {
        return QByteArray("<HTML><HEAD><META HTTP-EQUIV=\"CONTENT-TYPE\" CONTENT=\"TEXT/HTML; CHARSET=") + name + "\">";
    };
    const QByteArray polishUtf8("Zażółć gęślą jaźń"), polishIso("Za\xBF\xF3\xB3\xE6 g\xEA\xB6l\xB1 ja\xBC\xF1"),
        polishWin("Za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9 ja\x9F\xF1");
    const Encoding utf8 = Encoding::Utf8, iso = Encoding::Iso88592, win = Encoding::Windows1250;
    const auto none = std::nullopt;
    row("byte-order mark means UTF-8", "\xEF\xBB\xBF" "abc", utf8, true, none);
    row("byte-order mark wins over a declaration", "\xEF\xBB\xBF" + meta("ISO-8859-2"), utf8, true, iso);
    row("declared ISO-8859-2", meta("ISO-8859-2") + polishIso, iso, false, iso);
    row("declared ISO-8859-2 with 0x80-0x9F is Windows-1250", meta("ISO-8859-2") + polishWin, win, false, iso);
    row("declared UTF-8", meta("utf-8") + polishUtf8, utf8, false, utf8);
    row("declared UTF-8 but not UTF-8 is Windows-1250", meta("UTF-8") + polishWin, win, false, utf8);
    row("declared Windows-1250 holding UTF-8", meta("windows-1250") + polishUtf8, win, false, win);
    row("another declared set is Windows-1250", meta("windows-1252") + polishUtf8, win, false, none);
    row("undeclared valid UTF-8 with a letter", polishUtf8, utf8, false, none);
    row("undeclared ASCII is Windows-1250", "<P>abc</P>", win, false, none);
    row("undeclared invalid UTF-8 is Windows-1250", polishWin, win, false, none);
    row("empty file", QByteArray(), win, false, none);
    row("declaration past 64 KB does not count", QByteArray(70000, ' ') + meta("UTF-8") + polishWin, win, false, none);
    row("a tag opening at the last byte of 64 KB counts", QByteArray(65535, ' ') + "<meta charset=iso-8859-2>" + polishIso, iso, false, iso);
    row("a tag opening just past 64 KB does not", QByteArray(65536, ' ') + "<meta charset=iso-8859-2>" + polishIso, win, false, none);
    row("blanks of every kind around the declaration", "<meta\r\n\tcharset =\f'iso-8859-2'\n>" + polishIso, iso, false, iso);
    row("unquoted, closed by a slash", "<META CHARSET=utf-8/>" + polishUtf8, utf8, false, utf8);
    row("a tag that only begins with meta", "<metadata charset=\"utf-8\">" + polishWin, win, false, none);
    row("XML declaration", "<?xml version=\"1.0\" encoding='ISO-8859-2'?>" + polishIso, iso, false, iso);
    row("XML declaration's attribute past its end", "<?xml version=\"1.0\"?><a encoding=\"utf-8\">" + polishWin, win, false, none);
    // Each alias with text that every one of the three sets can read.
    for (const auto &[alias, encoding] : std::initializer_list<std::pair<const char *, Encoding>>{
             {"utf-8", utf8}, {"utf8", utf8}, {"UTF8", utf8}, {"iso-8859-2", iso}, {"iso8859-2", iso}, {"Latin2", iso},
             {"windows-1250", win}, {"CP1250", win}, {"x-cp1250", win}})
        row(qPrintable(QStringLiteral("alias %1").arg(QLatin1String(alias))),
            QByteArray("<meta charset=\"") + alias + "\"><p>plain</p>", encoding, false, encoding);
}

void TestTextEncoding::detection()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Encoding, encoding);
    QFETCH(bool, bom);
    QFETCH(std::optional<Encoding>, declared);
    const TextEncoding::Detection d = TextEncoding::detect(bytes.constData(), size_t(bytes.size()));
    QCOMPARE(int(d.encoding), int(encoding));
    QCOMPARE(d.bom, bom);
    QCOMPARE(d.declared ? int(*d.declared) : -1, declared ? int(*declared) : -1); // -1: none declared
}

void TestTextEncoding::declarationsAreFoundInTheirForms_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("name"); // empty: no declaration
    QTest::newRow("meta charset quoted") << QByteArray("<meta charset=\"utf-8\">") << QByteArray("utf-8");
    QTest::newRow("meta charset single quotes") << QByteArray("<META CHARSET='Latin2' />") << QByteArray("Latin2");
    QTest::newRow("meta charset bare") << QByteArray("<meta charset=cp1250>") << QByteArray("cp1250");
    QTest::newRow("http-equiv content") << QByteArray("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=ISO-8859-2\">")
                                        << QByteArray("ISO-8859-2");
    QTest::newRow("spaces around the equals sign") << QByteArray("<meta\ncontent=\"text/html; CHARSET = utf8\">")
                                                    << QByteArray("utf8");
    QTest::newRow("xml declaration") << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?><html>") << QByteArray("UTF-8");
    QTest::newRow("metadata is no meta tag") << QByteArray("<metadata charset=\"utf-8\">") << QByteArray();
    QTest::newRow("charset outside a tag") << QByteArray("<p>charset=utf-8</p>") << QByteArray();
    QTest::newRow("unclosed meta") << QByteArray("<meta charset=\"utf-8\"") << QByteArray();
}

void TestTextEncoding::declarationsAreFoundInTheirForms()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, name);
    const auto found = TextEncoding::declarations(text.constData(), size_t(text.size()));
    if (name.isEmpty()) {
        QVERIFY(found.empty());
        return;
    }
    QCOMPARE(found.size(), size_t(1));
    QCOMPARE(text.mid(qsizetype(found.front().offset), qsizetype(found.front().length)), name);
}

void TestTextEncoding::rewrittenDeclarationsKeepTheirCase_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<Encoding>("to");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("upper case to UTF-8")
        << QByteArray(" <META HTTP-EQUIV=\"CONTENT-TYPE\" CONTENT=\"TEXT/HTML; CHARSET=ISO-8859-2\">") << Encoding::Utf8
        << QByteArray(" <META HTTP-EQUIV=\"CONTENT-TYPE\" CONTENT=\"TEXT/HTML; CHARSET=UTF-8\">");
    QTest::newRow("lower case to Windows-1250")
        << QByteArray("<meta charset=\"utf-8\">x") << Encoding::Windows1250 << QByteArray("<meta charset=\"windows-1250\">x");
    QTest::newRow("every declaration, xml too")
        << QByteArray("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<meta charset=utf-8>") << Encoding::Iso88592
        << QByteArray("<?xml version=\"1.0\" encoding=\"iso-8859-2\"?>\n<meta charset=iso-8859-2>");
    QTest::newRow("no declaration, no change")
        << QByteArray("<p>charset=utf-8</p>") << Encoding::Iso88592 << QByteArray("<p>charset=utf-8</p>");
}

void TestTextEncoding::rewrittenDeclarationsKeepTheirCase()
{
    QFETCH(QByteArray, text);
    QFETCH(Encoding, to);
    QFETCH(QByteArray, expected);
    QCOMPARE(TextEncoding::withDeclarationsNaming(text, to), expected);
}

void TestTextEncoding::utf8Validation_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<bool>("multiByte");
    const struct { const char *name; QByteArray bytes; bool valid, multiByte; } rows[] = {
        {"ASCII", QByteArray(100, 'a'), true, false}, {"NUL is valid", QByteArray("a\0b", 3), true, false},
        {"Polish after a long ASCII run", QByteArray(37, 'a') + "ż", true, true},
        {"four-byte character", "\xF0\x9F\x98\x80", true, true}, {"last character U+10FFFF", "\xF4\x8F\xBF\xBF", true, true},
        {"last before the surrogates", "\xED\x9F\xBF", true, true}, {"first three-byte character", "\xE0\xA0\x80", true, true},
        {"three-byte with a high second byte", "\xE0\xB0\x80", true, true},
        {"past U+10FFFF", "\xF4\x90\x80\x80", false, false}, {"lead byte F5", "\xF5\x80\x80\x80", false, false},
        {"overlong slash", "\xC0\xAF", false, false}, {"overlong three bytes", "\xE0\x80\xAF", false, false},
        {"overlong four bytes", "\xF0\x8F\xBF\xBF", false, false}, {"surrogate", "\xED\xA0\x80", false, false},
        {"last surrogate", "\xED\xBF\xBF", false, false}, {"four-byte lead cut by ASCII", "\xF0\x9F\x98", false, false},
        {"three-byte lead cut by ASCII", "\xE2\x82", false, false}, {"lone continuation byte", "a\x80", false, false},
        {"cut at the end", QByteArray(20, 'a') + "\xC5", false, false}, {"Windows-1250 letter", "g\xEA\x9Cl", false, false},
    };
    for (const auto &r : rows)
        QTest::newRow(r.name) << r.bytes << r.valid << r.multiByte;
}

void TestTextEncoding::utf8Validation()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, valid);
    QFETCH(bool, multiByte);
    // The fast check and the one for processors without AVX2 alike.
    for (const auto check : {&TextEncoding::isValidUtf8, &TextEncoding::isValidUtf8Scalar}) {
        bool multi = false;
        QCOMPARE(check(bytes.constData(), size_t(bytes.size()), &multi), valid);
        if (valid)
            QCOMPARE(multi, multiByte);
        // The same at every place in a run of ASCII, across the ends of blocks.
        for (int at = 0; at < 70; ++at) {
            const QByteArray embedded = QByteArray(at, 'a') + bytes + QByteArray(70, 'z');
            QVERIFY2(check(embedded.constData(), size_t(embedded.size()), nullptr) == valid, qPrintable(QString::number(at)));
        }
    }
}

void TestTextEncoding::utf8ValidationAgreesWithQtOnMixedInput()
{
    // Random characters from every length class, with stray bytes now and then, at every
    // alignment to the 32-byte blocks, against Qt's own decoder.
    QRandomGenerator rng(8859);
    const auto randomCharacter = [&rng]() -> char32_t {
        switch (rng.bounded(5)) {
        case 0: return rng.bounded(0x80u);
        case 1: return 0x80 + rng.bounded(0x780u);
        case 2: {
            const char32_t c = 0x800 + rng.bounded(0xF800u);
            return c >= 0xD800 && c < 0xE000 ? c - 0x800 : c;
        }
        case 3: return 0x10000 + rng.bounded(0x100000u);
        default: return 'a';
        }
    };
    int invalid = 0;
    for (int round = 0; round < 4000; ++round) {
        QByteArray bytes(int(rng.bounded(40)), 'x');
        const int count = int(rng.bounded(1, 30));
        for (int k = 0; k < count; ++k) {
            const char32_t c = randomCharacter();
            bytes += QString::fromUcs4(&c, 1).toUtf8();
            if (rng.bounded(12) == 0)
                bytes += char(0x80 + rng.bounded(0x80));
        }
        if (rng.bounded(3) == 0)
            bytes.chop(1);
        QStringDecoder reference(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString decoded = reference(bytes);
        const bool valid = !reference.hasError();
        invalid += !valid;
        for (const auto check : {&TextEncoding::isValidUtf8, &TextEncoding::isValidUtf8Scalar}) {
            bool multi = false;
            QVERIFY2(check(bytes.constData(), size_t(bytes.size()), &multi) == valid, bytes.toHex(' ').constData());
            if (valid)
                QCOMPARE(multi, decoded.size() != bytes.size());
        }
    }
    QVERIFY(invalid > 400 && invalid < 3600); // both kinds were tried
}

void TestTextEncoding::c1BytesAreFoundAnywhere()
{
    QByteArray latin2;
    for (int b = 0xA0; b < 0x100; ++b)
        latin2 += char(b);
    latin2 += QByteArray(300, 'a') + latin2;
    QVERIFY(!TextEncoding::hasC1Bytes(latin2.constData(), size_t(latin2.size())));
    for (const int byte : {0x80, 0x9C, 0x9F}) {
        for (int at = 0; at < latin2.size(); at += 7) {
            QByteArray withC1 = latin2;
            withC1[at] = char(byte);
            QVERIFY2(TextEncoding::hasC1Bytes(withC1.constData(), size_t(withC1.size())), qPrintable(QString::number(at)));
        }
    }
}

void TestTextEncoding::lineEndsAreRewrittenToTheChosenOne_data()
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

void TestTextEncoding::lineEndsAreRewrittenToTheChosenOne()
{
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, eol);
    QFETCH(QByteArray, expected);
    QCOMPARE(SingleByteCodec::windows1250().toUtf8(input), input); // decoding keeps line ends as they stand
    for (Encoding encoding : {Encoding::Windows1250, Encoding::Iso88592, Encoding::Utf8})
        QCOMPARE(encode(encoding, input, eol).bytes, expected);
}

void TestTextEncoding::characterOutsideTheEncodingIsRefusedWithItsLine_data()
{
    QTest::addColumn<Encoding>("encoding");
    QTest::addColumn<QString>("text");
    QTest::addColumn<uint>("character");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("message"); // the refusal, between its fixed start and end
    QTest::newRow("emoji in Windows-1250")
        << Encoding::Windows1250 << QStringLiteral("zażółć\r\ngęślą\r\njaźń 😀 tu") << 0x1F600u << 3
        << QStringLiteral("„😀” (U+1F600) w wierszu 3 nie da się zapisać w kodowaniu Windows-1250");
    QTest::newRow("euro sign in ISO-8859-2") << Encoding::Iso88592 << QStringLiteral("cena\n10 €") << 0x20ACu << 2
                                             << QStringLiteral("„€” (U+20AC) w wierszu 2 nie da się zapisać w kodowaniu ISO-8859-2");
    QTest::newRow("Cyrillic in ISO-8859-2") << Encoding::Iso88592 << QStringLiteral("Привет") << 0x041Fu << 1
                                            << QStringLiteral("„П” (U+041F) w wierszu 1 nie da się zapisać w kodowaniu ISO-8859-2");
}

void TestTextEncoding::characterOutsideTheEncodingIsRefusedWithItsLine()
{
    QFETCH(Encoding, encoding);
    QFETCH(QString, text);
    QFETCH(uint, character);
    QFETCH(int, line);
    QFETCH(QString, message);
    const QByteArray bytes = text.toUtf8();
    const DocumentCodec::Encoded e = encode(encoding, bytes);
    QVERIFY(e.error);
    QCOMPARE(uint(e.error->character), character);
    QCOMPARE(e.error->line, line);
    QVERIFY(e.bytes.isEmpty());
    const auto first = DocumentCodec::firstUnencodable(encoding, bytes.constData(), size_t(bytes.size()));
    QVERIFY(first);
    QCOMPARE(first->line, line);
    QCOMPARE(DocumentCodec::unencodableMessage(*e.error, encoding),
             QStringLiteral("Nie można zapisać dokumentu: znaku ") + message
                 + QStringLiteral(". Usuń go lub zastąp innym i zapisz ponownie."));
    QVERIFY(!DocumentCodec::firstUnencodable(Encoding::Utf8, bytes.constData(), size_t(bytes.size())));
}

void TestTextEncoding::malformedUtf8DoesNotCrash()
{
    const QByteArray bad("\xC3", 1);
    QVERIFY(encode(Encoding::Windows1250, bad).error); // U+FFFD has no byte
    // A UTF-8 document writes what the editor holds, byte for byte.
    QCOMPARE(encode(Encoding::Utf8, bad).bytes, bad);
}

void TestTextEncoding::blocksMatchTheWholeAndCountLines_data()
{
    QTest::addColumn<QByteArray>("eol");
    QTest::addColumn<QByteArray>("lineEnd"); // what the text holds
    QTest::addColumn<bool>("longLine");
    QTest::newRow("CR LF kept") << QByteArray("\r\n") << QByteArray("\r\n") << false;
    QTest::newRow("LF to CR LF") << QByteArray("\r\n") << QByteArray("\n") << false;
    QTest::newRow("CR kept") << QByteArray("\r") << QByteArray("\r") << false;
    QTest::newRow("one line longer than a block") << QByteArray("\n") << QByteArray("\n") << true;
}

void TestTextEncoding::blocksMatchTheWholeAndCountLines()
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
    const auto none = DocumentCodec::encodeInBlocks(Encoding::Windows1250, text.constData(), size_t(text.size()), eol, [&](const char *p, size_t n) {
        blocks.append(p, qsizetype(n));
        ++calls;
    });
    QVERIFY(!none);
    QVERIFY(calls >= 3);
    const DocumentCodec::Encoded whole = encode(Encoding::Windows1250, text, eol);
    QVERIFY(!whole.error);
    QVERIFY(blocks == whole.bytes); // not QCOMPARE: megabytes would be printed

    // A character the code page lacks, far into the text: its line is counted over blocks.
    const qsizetype at = text.indexOf(line + QByteArray::number(lines - 5) + lineEnd);
    QByteArray bad = text;
    bad.insert(at, QString::fromUtf8("Ж").toUtf8());
    const auto error = DocumentCodec::encodeInBlocks(Encoding::Windows1250, bad.constData(), size_t(bad.size()), eol, [](const char *, size_t) {});
    QVERIFY(error);
    QCOMPARE(error->line, lines - 4);
    QCOMPARE(encode(Encoding::Windows1250, bad, eol).error->line, lines - 4);
}

void TestTextEncoding::detectLineEnd_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("eol");
    QTest::addColumn<bool>("uniform");
    const struct { const char *name; QByteArray bytes, eol; bool uniform; } rows[] = {
        {"no line end", "abc", "\r\n", true}, {"empty", QByteArray(), "\r\n", true}, {"LF only", "a\nb\n", "\n", true},
        {"CR only", "a\rb\r", "\r", true}, {"CR LF only", "a\r\nb\r\n", "\r\n", true},
        {"LF then CR LF", "a\nb\r\n", "\r\n", false}, {"CR then LF", "a\rb\nc", "\r\n", false},
        {"LF CR pairs reversed", "a\n\rb", "\r\n", false}, {"lone CR before LF", "a\r\rb\n", "\r\n", false},
        {"trailing lone CR", "a\n\r", "\r\n", false},
    };
    for (const auto &r : rows)
        QTest::newRow(r.name) << r.bytes << r.eol << r.uniform;
}

void TestTextEncoding::detectLineEnd()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, eol);
    QFETCH(bool, uniform);
    QCOMPARE(LineEnds::detect(bytes), eol);
    QCOMPARE(LineEnds::analyse(bytes.constData(), bytes.size()).uniform, uniform);
}

void TestTextEncoding::longLineIsFound_data()
{
    // With a limit of 10 bytes the scan looks at blocks of 5.
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("found");
    const QByteArray nine(9, 'x'), ten(10, 'x');
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("one line one short") << nine << false;
    QTest::newRow("one line just long enough") << ten << true;
    QTest::newRow("long line first") << ten + "\n" + "a\nb" << true;
    QTest::newRow("long line last, no line end after it") << "a\nb\n" + ten << true;
    QTest::newRow("long line across block edges") << "abc\n" + ten + "\nd" << true;
    QTest::newRow("short lines only") << QByteArray("ab\ncd\nef\n").repeated(20) << false;
    QTest::newRow("lines one short, each covering a block") << (nine + "\n").repeated(20) << false;
    QTest::newRow("line ends on both sides, one short") << "\n" + nine + "\n" << false;
    QTest::newRow("another line end byte does not count") << QByteArray("xxxx\rxxxxxx") << true;
}

void TestTextEncoding::longLineIsFound()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, found);
    QCOMPARE(LineEnds::hasLineOfAtLeast(bytes.constData(), bytes.size(), '\n', 10), found);
    // The same text with CR line ends, searched for CR.
    QByteArray cr = bytes;
    cr.replace('\r', 'y').replace('\n', '\r');
    QCOMPARE(LineEnds::hasLineOfAtLeast(cr.constData(), cr.size(), '\r', 10), found);
}

void TestTextEncoding::scansCountLikeALoop()
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

QTEST_APPLESS_MAIN(TestTextEncoding)
#include "tst_textencoding.moc"
