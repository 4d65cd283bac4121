#include "app/CommandTable.h"
#include "document/DocumentCodec.h"
#include "document/DocumentRules.h"
#include "support/Fixtures.h"

#include <QSet>
#include <QTest>

class TestDocumentRules : public QObject
{
    Q_OBJECT
private slots:
    void defaultDocumentBytes();
    void savePath_data();
    void savePath();
    void filterIndexSetsTheDefaultExtension();
    void controlNamesAreUnique();
};

void TestDocumentRules::defaultDocumentBytes()
{
    const QStringList &doc = DocumentRules::defaultDocument();
    QCOMPARE(doc, kDefaultDocument);
    // Saved, the page is in the ISO-8859-2 it declares: "ł" is one byte 0xB3, "ę" 0xEA, "ś" 0xB6.
    const QByteArray text = doc.join(QStringLiteral("\r\n")).toUtf8();
    const QByteArray bytes =
        DocumentCodec::encode(TextEncoding::Encoding::Iso88592, text.constData(), size_t(text.size()), "\r\n").bytes;
    QCOMPARE(bytes, QByteArray("<HTML>\r\n\r\n<HEAD>\r\n <TITLE>Tytu\xB3 strony</TITLE>\r\n"
                               " <META HTTP-EQUIV=\"CONTENT-TYPE\" CONTENT=\"TEXT/HTML; CHARSET=ISO-8859-2\">\r\n"
                               " <META NAME=\"GENERATOR\" CONTENT=\"Tarnwick\">\r\n"
                               " <META NAME=\"AUTHOR\" CONTENT=\"Imi\xEA i nazwisko autora\">\r\n</HEAD>\r\n\r\n"
                               "<BODY BGCOLOR=\"#FFFFFF\">\r\n <!--Tutaj jest miejsce na wpisanie tre\xB6" "ci dokumentu-->\r\n"
                               "</BODY>\r\n\r\n</HTML>"));
}

void TestDocumentRules::savePath_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QString>("path");
    QTest::newRow("no extension gets the filter's") << "/d/strona" << "html" << "/d/strona.html";
    QTest::newRow("same extension is not doubled") << "/d/strona.html" << "html" << "/d/strona.html";
    QTest::newRow("same extension in capitals") << "/d/STRONA.HTML" << "html" << "/d/STRONA.HTML";
    QTest::newRow("another extension still gets it") << "/d/strona.htm" << "html" << "/d/strona.htm.html";
    QTest::newRow("php") << "/d/a.txt" << "php" << "/d/a.txt.php";
    QTest::newRow("all files: as typed") << "/d/strona" << "" << "/d/strona";
    QTest::newRow("ends with the letters but no dot") << "/d/xhtml" << "html" << "/d/xhtml.html";
}

void TestDocumentRules::savePath()
{
    QFETCH(QString, name);
    QFETCH(QString, extension);
    QFETCH(QString, path);
    QCOMPARE(DocumentRules::savePath(name, extension), path);
}

void TestDocumentRules::filterIndexSetsTheDefaultExtension()
{
    QCOMPARE(DocumentRules::defaultExtensionFor(1, "txt"), QStringLiteral("html"));
    QCOMPARE(DocumentRules::defaultExtensionFor(2, ""), QStringLiteral("php"));
    QCOMPARE(DocumentRules::defaultExtensionFor(3, "html"), QStringLiteral("txt"));
    QCOMPARE(DocumentRules::defaultExtensionFor(4, "html"), QString());
    QCOMPARE(DocumentRules::defaultExtensionFor(0, "php"), QStringLiteral("php"));
    QCOMPARE(DocumentRules::defaultExtensionFor(7, "txt"), QStringLiteral("txt"));
}

void TestDocumentRules::controlNamesAreUnique()
{
    QSet<QString> seen;
    auto check = [&](const char *name) {
        if (!name)
            return;
        const QString n = QLatin1String(name);
        QVERIFY2(!seen.contains(n), qPrintable(n));
        seen.insert(n);
    };
    for (const auto &e : Commands::mainMenu())
        check(e.name);
    for (const auto &e : Commands::editorMenu())
        check(e.name);
    for (const auto &e : Commands::toolBar1())
        check(e.name);
    for (const auto &e : Commands::toolBar2())
        check(e.name);
}

QTEST_APPLESS_MAIN(TestDocumentRules)
#include "tst_documentrules.moc"
