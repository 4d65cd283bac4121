#include "core/Failure.h"
#include "document/SourceEditor.h"
#include "support/Files.h"

#include <QAccessible>
#include <QSignalSpy>
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

// The message of the failure `act` throws, or "<no failure>".
QString failureOf(const std::function<void()> &act)
{
    try {
        act();
    } catch (const Failure &f) {
        return f.message();
    }
    return QStringLiteral("<no failure>");
}

} // namespace

using TextEncoding::Encoding;
Q_DECLARE_METATYPE(Encoding)

class TestSourceEditor : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void savesAreByteExactInTheDocumentsEncoding_data();
    void savesAreByteExactInTheDocumentsEncoding();
    void editedDeclarationChoosesTheSaveEncoding();
    void conversionRewritesTheDeclarationAsOneUndoableEdit_data();
    void conversionRewritesTheDeclarationAsOneUndoableEdit();
    void conversionRefusedWhenACharacterDoesNotFit();
    void emptyFileAndLineEndsOfTheLastLoad();
    void enterBreaksALineWithTheFilesLineEnd_data();
    void enterBreaksALineWithTheFilesLineEnd();
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
    void load(const QByteArray &bytes, const char *name = "in.html");
    QByteArray written(const char *name, bool save = false);
};

void TestSourceEditor::init()
{
    m_editor = std::make_unique<SourceEditor>();
}

void TestSourceEditor::load(const QByteArray &bytes, const char *name)
{
    writeFile(path(name), bytes);
    m_editor->loadFromFile(path(name));
}

// What a copy (as the preview's) or, with `save`, the document's own save writes; or why it failed.
QByteArray TestSourceEditor::written(const char *name, bool save)
{
    const QString failure = failureOf([&] { save ? m_editor->save(path(name)) : m_editor->saveToFile(path(name)); });
    return failure == QStringLiteral("<no failure>") ? readAll(path(name)) : "<failed: " + failure.toUtf8() + '>';
}

void TestSourceEditor::savesAreByteExactInTheDocumentsEncoding_data()
{
    QTest::addColumn<QByteArray>("bytes"); // the file loaded; none: a new document
    QTest::addColumn<QString>("typed");    // at the end before the save
    QTest::addColumn<QByteArray>("saved"); // none: the bytes loaded
    QTest::addColumn<QString>("encoding"); // as the status bar names it
    const auto row = [](const char *name, const QByteArray &bytes, const QString &encoding, const QByteArray &saved = {},
                        const QString &typed = {}) { QTest::newRow(name) << bytes << typed << saved << encoding; };
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        if (b != '\r' && b != '\n')
            all.append(char(b));
    const QString win = QStringLiteral("Windows-1250"), iso = QStringLiteral("ISO-8859-2"), utf = QStringLiteral("UTF-8");
    const QByteArray declIso("<META HTTP-EQUIV=\"CONTENT-TYPE\" CONTENT=\"TEXT/HTML; CHARSET=ISO-8859-2\">\r\n");
    const QByteArray declUtf("<meta charset=\"utf-8\">\n");
    row("CR LF", "<P>\r\nzdanie\r\nkoniec", win);
    row("LF", "a\nb\nc", win);
    row("CR", "a\rb\rc", win);
    row("trailing CR LF", "a\r\nb\r\n", win);
    row("trailing LF", "a\n", win);
    row("only line ends", "\r\n\r\n", win);
    row("every byte, NUL too", all + "\r\n" + all, win);
    row("Polish in Windows-1250", "Za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9 ja\x9F\xF1", win);
    row("mixed comes back as CR LF", "a\nb\r\nc\rd", win, "a\r\nb\r\nc\r\nd");
    QByteArray allButC1 = all;
    allButC1.remove(0x80 - 2, 0x20); // CR and LF are not in `all`
    row("ISO-8859-2, every byte but 0x80-0x9F", declIso + allButC1, iso);
    row("declared ISO-8859-2 holding 0x80-0x9F", declIso + "g\xEA\x9Cl\xB9", win);
    row("UTF-8 Polish", declUtf + "Za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87", utf);
    row("UTF-8 with NUL", QByteArray("\xC4\x85\0\xC4\x99", 5), utf);
    row("UTF-8 byte-order mark", "\xEF\xBB\xBFg\xC4\x99\xC5\x9Bl\xC4\x85\r\n", QStringLiteral("UTF-8+BOM"));
    row("declared UTF-8 holding invalid UTF-8", declUtf + "g\xEA\x9Cl\xB9\xC5", win);
    // Typed letters go out in the document's encoding: a new document's, or the one declared.
    const QString typed = QStringLiteral("Zażółć gęślą jaźń");
    row("typed into a new document, ISO-8859-2", QByteArray(), iso, "Za\xBF\xF3\xB3\xE6 g\xEA\xB6l\xB1 ja\xBC\xF1", typed);
    row("typed after a Windows-1250 declaration", "<meta charset=\"windows-1250\">\r\n", win,
        "<meta charset=\"windows-1250\">\r\nZa\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9 ja\x9F\xF1", typed);
    row("typed after a UTF-8 declaration", "<meta charset=\"utf-8\">\r\n", utf, "<meta charset=\"utf-8\">\r\nZażółć gęślą jaźń", typed);
}

void TestSourceEditor::savesAreByteExactInTheDocumentsEncoding()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, typed);
    QFETCH(QByteArray, saved);
    QFETCH(QString, encoding);
    if (bytes.isNull())
        m_editor->clearAll();
    else
        load(bytes);
    QCOMPARE(encodingName(*m_editor), encoding);
    if (!typed.isNull()) {
        m_editor->SendScintilla(QsciScintillaBase::SCI_DOCUMENTEND);
        type(*m_editor, typed);
    }
    QCOMPARE(written("out.html", true), saved.isNull() ? bytes : saved);
    QCOMPARE(encodingName(*m_editor), encoding);
}

void TestSourceEditor::editedDeclarationChoosesTheSaveEncoding()
{
    load("<META CHARSET=\"ISO-8859-2\">\ng\xEA\xB6l\xB1");
    QCOMPARE(encodingName(*m_editor), QStringLiteral("ISO-8859-2"));
    m_editor->setSelection(0, 15, 0, 25);
    QCOMPARE(m_editor->selectedText(), QStringLiteral("ISO-8859-2"));
    m_editor->replaceSelectedText(QStringLiteral("utf-8"));
    // The preview's copy follows the declaration without making it the document's encoding.
    QCOMPARE(written("preview.html"), QByteArray("<META CHARSET=\"utf-8\">\ngęślą"));
    QCOMPARE(encodingName(*m_editor), QStringLiteral("ISO-8859-2"));
    QCOMPARE(written("out.html", true), QByteArray("<META CHARSET=\"utf-8\">\ngęślą"));
    QCOMPARE(encodingName(*m_editor), QStringLiteral("UTF-8"));
}

void TestSourceEditor::conversionRewritesTheDeclarationAsOneUndoableEdit_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<Encoding>("to");
    QTest::addColumn<QString>("text");  // after the conversion
    QTest::addColumn<QByteArray>("saved");
    const auto row = [](const char *name, const QByteArray &file, Encoding to, const QString &text, const QByteArray &saved) {
        QTest::newRow(name) << file << to << text << saved;
    };
    row("ISO-8859-2 to UTF-8", "<META CHARSET=\"ISO-8859-2\">\r\n\xB6", Encoding::Utf8,
        QStringLiteral("<META CHARSET=\"UTF-8\">\r\nś"), "<META CHARSET=\"UTF-8\">\r\n\xC5\x9B");
    row("UTF-8 to Windows-1250", "<meta charset=utf-8>\n\xC5\x9B", Encoding::Windows1250,
        QStringLiteral("<meta charset=windows-1250>\nś"), "<meta charset=windows-1250>\n\x9C");
    row("Windows-1250 to ISO-8859-2", "<meta charset=\"cp1250\">\n\x9C", Encoding::Iso88592,
        QStringLiteral("<meta charset=\"iso-8859-2\">\nś"), "<meta charset=\"iso-8859-2\">\n\xB6");
    row("UTF-8 with its mark to ISO-8859-2, no declaration", "\xEF\xBB\xBF\xC5\x9B", Encoding::Iso88592,
        QStringLiteral("ś"), "\xB6");
}

void TestSourceEditor::conversionRewritesTheDeclarationAsOneUndoableEdit()
{
    QFETCH(QByteArray, file);
    QFETCH(Encoding, to);
    QFETCH(QString, text);
    QFETCH(QByteArray, saved);
    load(file);
    const QString before = m_editor->text();
    const QString encodingBefore = encodingName(*m_editor);
    QSignalSpy changed(m_editor.get(), &SourceEditor::encodingChanged);
    m_editor->convertTo(to);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(m_editor->text(), text);
    QCOMPARE(int(m_editor->encoding()), int(to));
    QVERIFY(m_editor->isDocumentModified());
    QCOMPARE(written("out.html"), saved);

    m_editor->undo();
    QCOMPARE(m_editor->text(), before);
    QCOMPARE(encodingName(*m_editor), encodingBefore);
    QVERIFY(!m_editor->isDocumentModified());
    QVERIFY(!m_editor->isUndoAvailable());
    QCOMPARE(written("back.html"), file);
    m_editor->redo();
    QCOMPARE(m_editor->text(), text);
    QCOMPARE(int(m_editor->encoding()), int(to));
}

void TestSourceEditor::conversionRefusedWhenACharacterDoesNotFit()
{
    load("<meta charset=\"utf-8\">\nzł\n10 \xE2\x82\xAC");
    const QString before = m_editor->text();
    const QString message = failureOf([&] { m_editor->convertTo(Encoding::Iso88592); });
    QVERIFY2(message.contains(QStringLiteral("„€” (U+20AC) w wierszu 3")), qPrintable(message));
    QVERIFY(message.contains(QStringLiteral("ISO-8859-2")));
    QCOMPARE(m_editor->text(), before);
    QCOMPARE(int(m_editor->encoding()), int(Encoding::Utf8));
    QVERIFY(!m_editor->isDocumentModified());
    QVERIFY(!m_editor->isUndoAvailable());
}

void TestSourceEditor::emptyFileAndLineEndsOfTheLastLoad()
{
    m_editor->appendLine("stare");
    load("", "empty.html");
    QCOMPARE(m_editor->lineCount(), 0);
    m_editor->appendLine("<B></B>");
    QCOMPARE(m_editor->lines(), QStringList{"<B></B>"});

    m_editor->clearAll();
    m_editor->appendLine(QString());
    QCOMPARE(m_editor->lineCount(), 1);
    m_editor->appendLine("x");
    QCOMPARE(m_editor->lines(), QStringList({"", "x"}));
    QCOMPARE(written("two.html"), QByteArray("\r\nx"));

    // Lines added after New are written with the line ends of the last file loaded.
    load("a\nb", "lf.txt");
    m_editor->clearAll();
    m_editor->appendLine("x");
    m_editor->appendLine("y");
    QCOMPARE(written("out.txt"), QByteArray("x\ny"));
}

void TestSourceEditor::enterBreaksALineWithTheFilesLineEnd_data()
{
    QTest::addColumn<QByteArray>("eol");
    QTest::newRow("CR LF") << QByteArray("\r\n");
    QTest::newRow("LF") << QByteArray("\n");
    QTest::newRow("CR") << QByteArray("\r");
}

void TestSourceEditor::enterBreaksALineWithTheFilesLineEnd()
{
    QFETCH(QByteArray, eol);
    load("a" + eol + "b", "in.txt");
    m_editor->SendScintilla(QsciScintillaBase::SCI_DOCUMENTEND);
    m_editor->SendScintilla(QsciScintillaBase::SCI_NEWLINE);
    type(*m_editor, QStringLiteral("c"));
    // In the editor too: the positions the program counts rely on one kind of line end.
    QCOMPARE(m_editor->bytes(0, m_editor->length()).chopped(1), "a" + eol + "b" + eol + "c");
    QCOMPARE(written("out.txt"), "a" + eol + "b" + eol + "c");
}

void TestSourceEditor::lineOperationsLeaveUndoAndModifiedAlone()
{
    m_editor->appendLine("a");
    m_editor->appendLine("b");
    m_editor->setCursorPosition(0, 1);
    m_editor->insertLine(0, "first");
    m_editor->insertLine(3, "last"); // the line count: appends
    m_editor->insertLine(2, "middle");
    // Past the end: a failure, and nothing changes.
    QCOMPARE(failureOf([&] { m_editor->insertLine(6, "x"); }), QStringLiteral("Invalid stringlist index 6"));
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
    type(*m_editor, "typed");
    QVERIFY(m_editor->isDocumentModified());
    load("x\r\ny", "f.html");
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
    const QString failure = failureOf([&] { m_editor->saveToFile(m_dir.filePath(target)); });
    QVERIFY2(failure.contains(message), qPrintable(failure));
    QCOMPARE(readAll(path("old.html")), QByteArray("stara tre\x9C\xE6"));
    QVERIFY(QFileInfo(path("folder.html")).isDir());
    QVERIFY(m_editor->isDocumentModified());
    QCOMPARE(m_editor->lines(), QStringList({"xa", line}));
}

void TestSourceEditor::documentTextAndSelectRangeCountTwoPerLineEnd()
{
    load("ab\n\xBF\xF3\xB3w\nTABLE");
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
    load(bytes);
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
    const auto eventMask = [&] { return m_editor->SendScintilla(QsciScintillaBase::SCI_GETMODEVENTMASK); };
    QVERIFY(!QAccessible::isActive());
    QAccessibleInterface *plain = QAccessible::queryAccessibleInterface(m_editor.get());
    QVERIFY(plain);
    QVERIFY(!plain->textInterface());
    QCOMPARE(plain->text(QAccessible::Name), QStringLiteral("Kod źródłowy"));
    QCOMPARE(eventMask(), long(QsciScintillaBase::SC_MOD_CONTAINER));

    QAccessible::setActive(true);
    QAccessibleInterface *full = QAccessible::queryAccessibleInterface(m_editor.get());
    QVERIFY(full && full->textInterface());
    m_editor->appendLine(QStringLiteral("zażółć"));
    QCOMPARE(full->textInterface()->characterCount(), 6);
    QCOMPARE(eventMask(), long(QsciScintillaBase::SC_MODEVENTMASKALL));
    QAccessible::setActive(false);
    QCOMPARE(eventMask(), long(QsciScintillaBase::SC_MOD_CONTAINER));
    QVERIFY(!QAccessible::queryAccessibleInterface(m_editor.get())->textInterface());
    // A view that follows its edits hears of insertions and deletions, and of nothing more.
    m_editor->setReportsEdits(true);
    QCOMPARE(eventMask(), long(QsciScintillaBase::SC_MOD_CONTAINER | QsciScintillaBase::SC_MOD_INSERTTEXT | QsciScintillaBase::SC_MOD_DELETETEXT));
    m_editor->setReportsEdits(false);
    QCOMPARE(eventMask(), long(QsciScintillaBase::SC_MOD_CONTAINER));
}

QTEST_MAIN(TestSourceEditor)
#include "tst_sourceeditor.moc"
