#include "core/Failure.h"
#include "document/SourceEditor.h"
#include "support/Files.h"

#include <QAccessible>
#include <QSignalSpy>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString encodingName(const SourceEditor &e)
{
    return TextEncoding::displayName(e.encoding()) + (e.hasByteOrderMark() ? QStringLiteral("+BOM") : QString());
}

// Types text at the caret as a user would, so it is recorded for Undo.
void type(SourceEditor &e, const QString &text)
{
    e.insert(text);
    e.SendScintilla(QsciScintillaBase::SCI_CHARRIGHT);
}

} // namespace

using TextEncoding::Encoding;
Q_DECLARE_METATYPE(Encoding)

class TestSourceEditor : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void roundTripIsByteExact_data();
    void roundTripIsByteExact();
    void typedLettersAreSavedInTheDocumentsEncoding_data();
    void typedLettersAreSavedInTheDocumentsEncoding();
    void editedDeclarationChoosesTheSaveEncoding();
    void conversionRewritesTheDeclarationAsOneUndoableEdit_data();
    void conversionRewritesTheDeclarationAsOneUndoableEdit();
    void conversionRefusedWhenACharacterDoesNotFit();
    void emptyFileAndLineEndsOfTheLastLoad();
    void lineOperationsLeaveUndoAndModifiedAlone();
    void headInsertAfterTypingCannotCorruptUndo();
    void appendAfterTypingKeepsUndoAndRedoTrue();
    void loadEmptiesHistoriesAndKeepsTheModifiedFlag();
    void missingFileLeavesTheDocument();
    void failedSaveKeepsTheFileAndTheFlag_data();
    void failedSaveKeepsTheFileAndTheFlag();
    void documentTextAndSelectRangeCountTwoPerLineEnd();
    void fullAccessibilityOnlyWhileAListenerIsThere();
    void positionsAgreeWithTheTextAcrossBlocks_data();
    void positionsAgreeWithTheTextAcrossBlocks();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<SourceEditor> m_editor;
    QString path(const char *name) const { return m_dir.filePath(QLatin1String(name)); }
};

void TestSourceEditor::init()
{
    m_editor = std::make_unique<SourceEditor>();
}

void TestSourceEditor::roundTripIsByteExact_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("saved");
    QTest::addColumn<QString>("encoding"); // as the status bar names it
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        if (b != '\r' && b != '\n')
            all.append(char(b));
    const QString win = QStringLiteral("Windows-1250"), iso = QStringLiteral("ISO-8859-2"), utf = QStringLiteral("UTF-8");
    const QByteArray declIso("<META HTTP-EQUIV=\"CONTENT-TYPE\" CONTENT=\"TEXT/HTML; CHARSET=ISO-8859-2\">\r\n");
    const QByteArray declUtf("<meta charset=\"utf-8\">\n");
    QTest::newRow("CR LF") << QByteArray("<P>\r\nzdanie\r\nkoniec") << QByteArray() << win;
    QTest::newRow("LF") << QByteArray("a\nb\nc") << QByteArray() << win;
    QTest::newRow("CR") << QByteArray("a\rb\rc") << QByteArray() << win;
    QTest::newRow("trailing CR LF") << QByteArray("a\r\nb\r\n") << QByteArray() << win;
    QTest::newRow("trailing LF") << QByteArray("a\n") << QByteArray() << win;
    QTest::newRow("only line ends") << QByteArray("\r\n\r\n") << QByteArray() << win;
    QTest::newRow("every byte, NUL too") << QByteArray(all + "\r\n" + all) << QByteArray() << win;
    QTest::newRow("Polish in Windows-1250") << QByteArray("Za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9 ja\x9F\xF1") << QByteArray() << win;
    QTest::newRow("mixed comes back as CR LF") << QByteArray("a\nb\r\nc\rd") << QByteArray("a\r\nb\r\nc\r\nd") << win;
    QByteArray allButC1 = all;
    allButC1.remove(0x80 - 2, 0x20); // CR and LF are not in `all`
    QTest::newRow("ISO-8859-2, every byte but 0x80-0x9F") << declIso + allButC1 << QByteArray() << iso;
    QTest::newRow("declared ISO-8859-2 holding 0x80-0x9F") << declIso + "g\xEA\x9Cl\xB9" << QByteArray() << win;
    QTest::newRow("UTF-8 Polish") << declUtf + "Za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87" << QByteArray() << utf;
    QTest::newRow("UTF-8 with NUL") << QByteArray("\xC4\x85\0\xC4\x99", 5) << QByteArray() << utf;
    QTest::newRow("UTF-8 byte-order mark") << QByteArray("\xEF\xBB\xBFg\xC4\x99\xC5\x9Bl\xC4\x85\r\n")
                                           << QByteArray() << QStringLiteral("UTF-8+BOM");
    QTest::newRow("declared UTF-8 holding invalid UTF-8") << declUtf + "g\xEA\x9Cl\xB9\xC5" << QByteArray() << win;
}

void TestSourceEditor::roundTripIsByteExact()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, saved);
    QFETCH(QString, encoding);
    writeFile(path("in.html"), bytes);
    m_editor->loadFromFile(path("in.html"));
    QCOMPARE(encodingName(*m_editor), encoding);
    QVERIFY_THROWS_NO_EXCEPTION(m_editor->save(path("out.html")));
    QCOMPARE(readAll(path("out.html")), saved.isNull() ? bytes : saved);
    QCOMPARE(encodingName(*m_editor), encoding);
}

void TestSourceEditor::typedLettersAreSavedInTheDocumentsEncoding_data()
{
    QTest::addColumn<QByteArray>("declaration");
    QTest::addColumn<QByteArray>("letters");
    QTest::newRow("new document, ISO-8859-2") << QByteArray() << QByteArray("Za\xBF\xF3\xB3\xE6 g\xEA\xB6l\xB1 ja\xBC\xF1");
    QTest::newRow("declared Windows-1250") << QByteArray("<meta charset=\"windows-1250\">")
                                           << QByteArray("Za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9 ja\x9F\xF1");
    QTest::newRow("declared UTF-8") << QByteArray("<meta charset=\"utf-8\">")
                                    << QString::fromUtf8("Zażółć gęślą jaźń").toUtf8();
}

void TestSourceEditor::typedLettersAreSavedInTheDocumentsEncoding()
{
    QFETCH(QByteArray, declaration);
    QFETCH(QByteArray, letters);
    if (declaration.isEmpty()) {
        m_editor->clearAll();
    } else {
        writeFile(path("in.html"), declaration + "\r\n");
        m_editor->loadFromFile(path("in.html"));
    }
    m_editor->SendScintilla(QsciScintillaBase::SCI_DOCUMENTEND);
    type(*m_editor, QStringLiteral("Zażółć gęślą jaźń"));
    QVERIFY_THROWS_NO_EXCEPTION(m_editor->save(path("out.html")));
    QCOMPARE(readAll(path("out.html")), declaration.isEmpty() ? letters : declaration + "\r\n" + letters);
}

void TestSourceEditor::editedDeclarationChoosesTheSaveEncoding()
{
    writeFile(path("in.html"), "<META CHARSET=\"ISO-8859-2\">\ng\xEA\xB6l\xB1");
    m_editor->loadFromFile(path("in.html"));
    QCOMPARE(encodingName(*m_editor), QStringLiteral("ISO-8859-2"));
    m_editor->setSelection(0, 15, 0, 25);
    QCOMPARE(m_editor->selectedText(), QStringLiteral("ISO-8859-2"));
    m_editor->replaceSelectedText(QStringLiteral("utf-8"));
    // The preview's copy follows the declaration without making it the document's encoding.
    QVERIFY_THROWS_NO_EXCEPTION(m_editor->saveToFile(path("preview.html")));
    QCOMPARE(readAll(path("preview.html")), QString::fromUtf8("<META CHARSET=\"utf-8\">\ngęślą").toUtf8());
    QCOMPARE(encodingName(*m_editor), QStringLiteral("ISO-8859-2"));
    QVERIFY_THROWS_NO_EXCEPTION(m_editor->save(path("out.html")));
    QCOMPARE(readAll(path("out.html")), QString::fromUtf8("<META CHARSET=\"utf-8\">\ngęślą").toUtf8());
    QCOMPARE(encodingName(*m_editor), QStringLiteral("UTF-8"));
}

void TestSourceEditor::conversionRewritesTheDeclarationAsOneUndoableEdit_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<Encoding>("to");
    QTest::addColumn<QString>("text");  // after the conversion
    QTest::addColumn<QByteArray>("saved");
    QTest::newRow("ISO-8859-2 to UTF-8") << QByteArray("<META CHARSET=\"ISO-8859-2\">\r\n\xB6") << Encoding::Utf8
                                         << QStringLiteral("<META CHARSET=\"UTF-8\">\r\nś")
                                         << QByteArray("<META CHARSET=\"UTF-8\">\r\n\xC5\x9B");
    QTest::newRow("UTF-8 to Windows-1250") << QByteArray("<meta charset=utf-8>\n\xC5\x9B") << Encoding::Windows1250
                                           << QStringLiteral("<meta charset=windows-1250>\nś")
                                           << QByteArray("<meta charset=windows-1250>\n\x9C");
    QTest::newRow("Windows-1250 to ISO-8859-2") << QByteArray("<meta charset=\"cp1250\">\n\x9C") << Encoding::Iso88592
                                                << QStringLiteral("<meta charset=\"iso-8859-2\">\nś")
                                                << QByteArray("<meta charset=\"iso-8859-2\">\n\xB6");
    QTest::newRow("UTF-8 with its mark to ISO-8859-2, no declaration")
        << QByteArray("\xEF\xBB\xBF\xC5\x9B") << Encoding::Iso88592 << QStringLiteral("ś") << QByteArray("\xB6");
}

void TestSourceEditor::conversionRewritesTheDeclarationAsOneUndoableEdit()
{
    QFETCH(QByteArray, file);
    QFETCH(Encoding, to);
    QFETCH(QString, text);
    QFETCH(QByteArray, saved);
    writeFile(path("in.html"), file);
    m_editor->loadFromFile(path("in.html"));
    const QString before = m_editor->text();
    const QString encodingBefore = encodingName(*m_editor);
    QSignalSpy changed(m_editor.get(), &SourceEditor::encodingChanged);
    m_editor->convertTo(to);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(m_editor->text(), text);
    QCOMPARE(int(m_editor->encoding()), int(to));
    QVERIFY(m_editor->isDocumentModified());
    QVERIFY_THROWS_NO_EXCEPTION(m_editor->saveToFile(path("out.html")));
    QCOMPARE(readAll(path("out.html")), saved);

    m_editor->undo();
    QCOMPARE(m_editor->text(), before);
    QCOMPARE(encodingName(*m_editor), encodingBefore);
    QVERIFY(!m_editor->isDocumentModified());
    QVERIFY(!m_editor->isUndoAvailable());
    QVERIFY_THROWS_NO_EXCEPTION(m_editor->saveToFile(path("back.html")));
    QCOMPARE(readAll(path("back.html")), file);
    m_editor->redo();
    QCOMPARE(m_editor->text(), text);
    QCOMPARE(int(m_editor->encoding()), int(to));
}

void TestSourceEditor::conversionRefusedWhenACharacterDoesNotFit()
{
    writeFile(path("in.html"), "<meta charset=\"utf-8\">\nzł\n10 \xE2\x82\xAC");
    m_editor->loadFromFile(path("in.html"));
    const QString before = m_editor->text();
    try {
        m_editor->convertTo(Encoding::Iso88592);
        QFAIL("converted");
    } catch (const Failure &f) {
        QVERIFY(f.message().contains(QStringLiteral("„€” (U+20AC) w wierszu 3")));
        QVERIFY(f.message().contains(QStringLiteral("ISO-8859-2")));
    }
    QCOMPARE(m_editor->text(), before);
    QCOMPARE(int(m_editor->encoding()), int(Encoding::Utf8));
    QVERIFY(!m_editor->isDocumentModified());
    QVERIFY(!m_editor->isUndoAvailable());
}

void TestSourceEditor::emptyFileAndLineEndsOfTheLastLoad()
{
    writeFile(path("empty.html"), "");
    m_editor->appendLine("stare");
    m_editor->loadFromFile(path("empty.html"));
    QCOMPARE(m_editor->lineCount(), 0);
    m_editor->appendLine("<B></B>");
    QCOMPARE(m_editor->lines(), QStringList{"<B></B>"});

    m_editor->clearAll();
    m_editor->appendLine(QString());
    QCOMPARE(m_editor->lineCount(), 1);
    m_editor->appendLine("x");
    QCOMPARE(m_editor->lines(), QStringList({"", "x"}));
    QVERIFY_THROWS_NO_EXCEPTION(m_editor->saveToFile(path("two.html")));
    QCOMPARE(readAll(path("two.html")), QByteArray("\r\nx"));

    // Lines added after New are written with the line ends of the last file loaded.
    writeFile(path("lf.txt"), "a\nb");
    m_editor->loadFromFile(path("lf.txt"));
    m_editor->clearAll();
    m_editor->appendLine("x");
    m_editor->appendLine("y");
    QVERIFY_THROWS_NO_EXCEPTION(m_editor->saveToFile(path("out.txt")));
    QCOMPARE(readAll(path("out.txt")), QByteArray("x\ny"));
}

void TestSourceEditor::lineOperationsLeaveUndoAndModifiedAlone()
{
    m_editor->appendLine("a");
    m_editor->appendLine("b");
    m_editor->setCursorPosition(0, 1);
    m_editor->insertLine(0, "first");
    m_editor->insertLine(3, "last"); // the line count: appends
    m_editor->insertLine(2, "middle");
    try { // past the end: a failure, and nothing changes
        m_editor->insertLine(6, "x");
        QFAIL("no failure");
    } catch (const Failure &f) {
        QCOMPARE(f.message(), QStringLiteral("Invalid stringlist index 6"));
    }
    QCOMPARE(m_editor->lines(), QStringList({"first", "a", "middle", "b", "last"}));
    QVERIFY(!m_editor->isDocumentModified());
    QVERIFY(!m_editor->isUndoAvailable());
    // The caret keeps its line and column numbers.
    int line = -1, column = -1;
    m_editor->getCursorPosition(&line, &column);
    QCOMPARE(line, 0);
    QCOMPARE(column, 1);
    // A line with line breaks becomes several lines.
    m_editor->appendLine("<!--x\r\ny-->");
    QCOMPARE(m_editor->lineCount(), 7);
    QCOMPARE(m_editor->line(6), QStringLiteral("y-->"));
    // A column past the end of the line that comes under the caret becomes that line's end.
    m_editor->setCursorPosition(2, 6); // the end of "middle"; "a" comes under it
    m_editor->insertLine(0, "<M>");
    m_editor->getCursorPosition(&line, &column);
    QCOMPARE(line, 2);
    QCOMPARE(column, 1);
}

void TestSourceEditor::headInsertAfterTypingCannotCorruptUndo()
{
    for (int i = 0; i < 12; ++i)
        m_editor->appendLine(QStringLiteral("line %1").arg(i));
    m_editor->setCursorPosition(9, 0);
    type(*m_editor, "TYPED ");
    QVERIFY(m_editor->isDocumentModified());
    m_editor->insertLine(4, " <META>");
    QVERIFY(m_editor->isDocumentModified());
    m_editor->undo(); // nothing left to undo: the history could not survive the insertion
    m_editor->redo();
    QCOMPARE(m_editor->line(4), QStringLiteral(" <META>"));
    QCOMPARE(m_editor->line(10), QStringLiteral("TYPED line 9"));
    QCOMPARE(m_editor->lineCount(), 13);
}

void TestSourceEditor::appendAfterTypingKeepsUndoAndRedoTrue()
{
    m_editor->appendLine("a");
    m_editor->setCursorPosition(0, 1);
    type(*m_editor, "bc");
    m_editor->appendLine("<B></B>");
    QVERIFY(m_editor->isUndoAvailable());
    m_editor->undo();
    QCOMPARE(m_editor->lines(), QStringList({"a", "<B></B>"}));
    QVERIFY(!m_editor->isDocumentModified());
    m_editor->redo();
    QCOMPARE(m_editor->lines(), QStringList({"abc", "<B></B>"}));
    QVERIFY(m_editor->isDocumentModified());
    // New empties the history and clears the flag.
    m_editor->clearAll();
    QVERIFY(!m_editor->isDocumentModified());
    QVERIFY(!m_editor->isUndoAvailable());
}

void TestSourceEditor::loadEmptiesHistoriesAndKeepsTheModifiedFlag()
{
    writeFile(path("f.html"), "x\r\ny");
    type(*m_editor, "typed");
    QVERIFY(m_editor->isDocumentModified());
    m_editor->loadFromFile(path("f.html"));
    QVERIFY(m_editor->isDocumentModified());
    QVERIFY(!m_editor->isUndoAvailable());
    // Typing and undoing cannot return to the state the flag was cleared in.
    type(*m_editor, "z");
    m_editor->undo();
    QVERIFY(m_editor->isDocumentModified());
    m_editor->setDocumentUnmodified();
    QVERIFY(!m_editor->isDocumentModified());

    m_editor->loadFromFile(path("f.html"));
    QVERIFY(!m_editor->isDocumentModified());
    QCOMPARE(m_editor->lines(), QStringList({"x", "y"}));
}

void TestSourceEditor::missingFileLeavesTheDocument()
{
#ifdef Q_OS_LINUX
    // A kernel file tells no size but has content.
    m_editor->loadFromFile(QStringLiteral("/proc/self/status"));
    QVERIFY(m_editor->line(0).startsWith(QStringLiteral("Name:")));
    m_editor->clearAll();
#endif
    m_editor->appendLine("keep");
    QVERIFY_THROWS_EXCEPTION(Failure, m_editor->loadFromFile(path("nope.html")));
    QVERIFY_THROWS_EXCEPTION(Failure, m_editor->loadFromFile(m_dir.path()));
    QCOMPARE(m_editor->lines(), QStringList{"keep"});
}

void TestSourceEditor::failedSaveKeepsTheFileAndTheFlag_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("message");
    QTest::newRow("a character outside the code page") << "old.html" << QStringLiteral("Привет") << "wierszu 2";
    QTest::newRow("a missing folder") << "no/such/folder/a.html" << "b" << "Cannot create file";
    QTest::newRow("a folder in the file's place") << "folder.html" << "b" << "Cannot create file";
}

void TestSourceEditor::failedSaveKeepsTheFileAndTheFlag()
{
    QFETCH(QString, target);
    QFETCH(QString, line);
    QFETCH(QString, message);
    writeFile(path("old.html"), "stara tre\x9C\xE6");
    QDir(m_dir.path()).mkdir("folder.html");
    m_editor->appendLine("a");
    m_editor->appendLine(line);
    type(*m_editor, "x");
    try {
        m_editor->saveToFile(m_dir.filePath(target));
        QFAIL("saved");
    } catch (const Failure &f) {
        QVERIFY2(f.message().contains(message), qPrintable(f.message()));
    }
    QCOMPARE(readAll(path("old.html")), QByteArray("stara tre\x9C\xE6"));
    QVERIFY(QFileInfo(path("folder.html")).isDir());
    QVERIFY(m_editor->isDocumentModified());
    QCOMPARE(m_editor->lines(), QStringList({"xa", line}));
}

void TestSourceEditor::documentTextAndSelectRangeCountTwoPerLineEnd()
{
    writeFile(path("lf.html"), "ab\n\xBF\xF3\xB3w\nTABLE");
    m_editor->loadFromFile(path("lf.html"));
    const QString text = m_editor->documentText();
    QCOMPARE(text, QStringLiteral("ab\r\nżółw\r\nTABLE"));
    const qsizetype at = text.indexOf(QStringLiteral("TABLE"));
    m_editor->selectRange(at, 5);
    QCOMPARE(m_editor->selectedText(), QStringLiteral("TABLE"));
    m_editor->selectRange(text.indexOf(QStringLiteral("ół")), 2);
    QCOMPARE(m_editor->selectedText(), QStringLiteral("ół"));
    QCOMPARE(m_editor->crlfPositionOf(m_editor->bytePositionOf(at)), at);
}

void TestSourceEditor::positionsAgreeWithTheTextAcrossBlocks_data()
{
    QTest::addColumn<QByteArray>("eol");
    QTest::newRow("LF") << QByteArray("\n");
    QTest::newRow("CR LF") << QByteArray("\r\n");
    QTest::newRow("CR") << QByteArray("\r");
}

void TestSourceEditor::positionsAgreeWithTheTextAcrossBlocks()
{
    QFETCH(QByteArray, eol);
    QByteArray bytes;
    for (int i = 0; i < 3000; ++i)
        bytes += "wiersz \xB9\xE6\xEA " + QByteArray::number(i) + (i % 7 ? "" : " \x9C\x9F\xBF") + eol;
    writeFile(path("big.html"), bytes);
    m_editor->loadFromFile(path("big.html"));
    const QString text = m_editor->documentText();
    for (qsizetype at : {qsizetype(0), qsizetype(4095), qsizetype(4096), qsizetype(4097), qsizetype(12345), text.size() - 7}) {
        // A position at a line end's second character is not a character of its own here.
        if (at > 0 && text.at(at) == QLatin1Char('\n') && text.at(at - 1) == QLatin1Char('\r'))
            ++at;
        const qsizetype bytePos = m_editor->bytePositionOf(at);
        QCOMPARE(m_editor->crlfPositionOf(bytePos), at);
        m_editor->selectRange(at, 3);
        QCOMPARE(m_editor->selectedText(), text.mid(at, 3).replace("\r\n", QString::fromLatin1(eol)));
    }
    const qsizetype last = text.lastIndexOf(QStringLiteral("2999"));
    const auto hit = m_editor->find(100, QStringLiteral("2999"), true);
    QVERIFY(hit);
    QCOMPARE(*hit, last);
}

void TestSourceEditor::fullAccessibilityOnlyWhileAListenerIsThere()
{
    QVERIFY(!QAccessible::isActive());
    QAccessibleInterface *plain = QAccessible::queryAccessibleInterface(m_editor.get());
    QVERIFY(plain);
    QVERIFY(!plain->textInterface());
    QCOMPARE(plain->text(QAccessible::Name), QStringLiteral("Kod źródłowy"));
    QCOMPARE(m_editor->SendScintilla(QsciScintillaBase::SCI_GETMODEVENTMASK), long(QsciScintillaBase::SC_MOD_CONTAINER));

    QAccessible::setActive(true);
    QAccessibleInterface *full = QAccessible::queryAccessibleInterface(m_editor.get());
    QVERIFY(full && full->textInterface());
    m_editor->appendLine(QStringLiteral("zażółć"));
    QCOMPARE(full->textInterface()->characterCount(), 6);
    QCOMPARE(m_editor->SendScintilla(QsciScintillaBase::SCI_GETMODEVENTMASK), long(QsciScintillaBase::SC_MODEVENTMASKALL));
    QAccessible::setActive(false);
    QCOMPARE(m_editor->SendScintilla(QsciScintillaBase::SCI_GETMODEVENTMASK), long(QsciScintillaBase::SC_MOD_CONTAINER));
    QVERIFY(!QAccessible::queryAccessibleInterface(m_editor.get())->textInterface());
    // A view that follows its edits hears of insertions and deletions, and of nothing more.
    m_editor->setReportsEdits(true);
    QCOMPARE(m_editor->SendScintilla(QsciScintillaBase::SCI_GETMODEVENTMASK),
             long(QsciScintillaBase::SC_MOD_CONTAINER | QsciScintillaBase::SC_MOD_INSERTTEXT | QsciScintillaBase::SC_MOD_DELETETEXT));
    m_editor->setReportsEdits(false);
    QCOMPARE(m_editor->SendScintilla(QsciScintillaBase::SCI_GETMODEVENTMASK), long(QsciScintillaBase::SC_MOD_CONTAINER));
}

QTEST_MAIN(TestSourceEditor)
#include "tst_sourceeditor.moc"
