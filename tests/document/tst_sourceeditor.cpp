#include "core/Failure.h"
#include "document/SourceEditor.h"

#include <QAccessible>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return "<missing>";
    return f.readAll();
}

void write(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Types text at the caret as a user would, so it is recorded for Undo.
void type(SourceEditor &e, const QString &text)
{
    e.insert(text);
    e.SendScintilla(QsciScintillaBase::SCI_CHARRIGHT);
}

} // namespace

class TestSourceEditor : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void roundTripIsByteExact_data();
    void roundTripIsByteExact();
    void lineEndsFromTheLastLoadAreKept();
    void emptyFileAndEmptyDocument();
    void appendAndInsertLines();
    void insertPastTheEndFailsAndChangesNothing();
    void lineOperationsLeaveUndoAndModifiedAlone();
    void headInsertAfterTypingCannotCorruptUndo();
    void appendAfterTypingKeepsUndoAndRedoTrue();
    void loadEmptiesHistoriesAndKeepsTheModifiedFlag();
    void undoBackToTheSavePointClearsTheFlag();
    void missingFileLeavesTheDocument();
    void saveRefusesCharactersOutsideTheCodePage();
    void saveIntoMissingFolderFailsAndKeepsFlag();
    void failedSaveKeepsTheOldFile();
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
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        if (b != '\r' && b != '\n')
            all.append(char(b));
    QTest::newRow("CR LF") << QByteArray("<P>\r\nzdanie\r\nkoniec") << QByteArray();
    QTest::newRow("LF") << QByteArray("a\nb\nc") << QByteArray();
    QTest::newRow("CR") << QByteArray("a\rb\rc") << QByteArray();
    QTest::newRow("trailing CR LF") << QByteArray("a\r\nb\r\n") << QByteArray();
    QTest::newRow("trailing LF") << QByteArray("a\n") << QByteArray();
    QTest::newRow("only line ends") << QByteArray("\r\n\r\n") << QByteArray();
    QTest::newRow("every byte, NUL too") << QByteArray(all + "\r\n" + all) << QByteArray();
    QTest::newRow("Polish in Windows-1250") << QByteArray("Za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9 ja\x9F\xF1") << QByteArray();
    QTest::newRow("mixed comes back as CR LF") << QByteArray("a\nb\r\nc\rd") << QByteArray("a\r\nb\r\nc\r\nd");
}

void TestSourceEditor::roundTripIsByteExact()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, saved);
    write(path("in.html"), bytes);
    m_editor->loadFromFile(path("in.html"));
    m_editor->saveToFile(path("out.html"));
    QCOMPARE(readAll(path("out.html")), saved.isNull() ? bytes : saved);
}

void TestSourceEditor::lineEndsFromTheLastLoadAreKept()
{
    write(path("lf.txt"), "a\nb");
    m_editor->loadFromFile(path("lf.txt"));
    m_editor->clearAll();
    m_editor->appendLine("x");
    m_editor->appendLine("y");
    m_editor->saveToFile(path("out.txt"));
    QCOMPARE(readAll(path("out.txt")), QByteArray("x\ny"));
    QCOMPARE(m_editor->lines(), QStringList({"x", "y"}));
}

void TestSourceEditor::emptyFileAndEmptyDocument()
{
    write(path("empty.html"), "");
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
    m_editor->saveToFile(path("two.html"));
    QCOMPARE(readAll(path("two.html")), QByteArray("\r\nx"));
}

void TestSourceEditor::appendAndInsertLines()
{
    m_editor->appendLine("a");
    m_editor->appendLine("b");
    m_editor->insertLine(0, "first");
    m_editor->insertLine(3, "last"); // the line count: appends
    m_editor->insertLine(2, "middle");
    QCOMPARE(m_editor->lines(), QStringList({"first", "a", "middle", "b", "last"}));
    // A line with line breaks becomes several lines.
    m_editor->appendLine("<!--x\r\ny-->");
    QCOMPARE(m_editor->lineCount(), 7);
    QCOMPARE(m_editor->line(6), QStringLiteral("y-->"));
}

void TestSourceEditor::insertPastTheEndFailsAndChangesNothing()
{
    for (const char *l : {"1", "2", "3"})
        m_editor->appendLine(l);
    try {
        m_editor->insertLine(4, "x");
        QFAIL("no failure");
    } catch (const Failure &f) {
        QCOMPARE(f.message(), QStringLiteral("Invalid stringlist index 4"));
    }
    QCOMPARE(m_editor->lines(), QStringList({"1", "2", "3"}));
}

void TestSourceEditor::lineOperationsLeaveUndoAndModifiedAlone()
{
    m_editor->appendLine("a");
    m_editor->appendLine("b");
    QVERIFY(!m_editor->isDocumentModified());
    QVERIFY(!m_editor->isUndoAvailable());
    m_editor->setCursorPosition(0, 1);
    m_editor->insertLine(0, "head");
    QVERIFY(!m_editor->isDocumentModified());
    QVERIFY(!m_editor->isUndoAvailable());
    // The caret keeps its line and column numbers.
    int line = -1, column = -1;
    m_editor->getCursorPosition(&line, &column);
    QCOMPARE(line, 0);
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
}

void TestSourceEditor::loadEmptiesHistoriesAndKeepsTheModifiedFlag()
{
    write(path("f.html"), "x\r\ny");
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

void TestSourceEditor::undoBackToTheSavePointClearsTheFlag()
{
    m_editor->appendLine("a");
    type(*m_editor, "x");
    QVERIFY(m_editor->isDocumentModified());
    m_editor->undo();
    QVERIFY(!m_editor->isDocumentModified());
    m_editor->redo();
    QVERIFY(m_editor->isDocumentModified());
    m_editor->clearAll();
    QVERIFY(!m_editor->isDocumentModified());
    QVERIFY(!m_editor->isUndoAvailable());
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

void TestSourceEditor::saveRefusesCharactersOutsideTheCodePage()
{
    write(path("old.html"), "stara tre\x9C\xE6");
    m_editor->appendLine("a");
    m_editor->appendLine(QStringLiteral("Привет"));
    try {
        m_editor->saveToFile(path("old.html"));
        QFAIL("saved");
    } catch (const Failure &f) {
        QVERIFY(f.message().contains(QStringLiteral("wierszu 2")));
    }
    QCOMPARE(readAll(path("old.html")), QByteArray("stara tre\x9C\xE6"));
    QCOMPARE(m_editor->lineCount(), 2);
}

void TestSourceEditor::saveIntoMissingFolderFailsAndKeepsFlag()
{
    type(*m_editor, "x");
    try {
        m_editor->saveToFile(path("no/such/folder/a.html"));
        QFAIL("saved");
    } catch (const Failure &f) {
        QVERIFY(f.message().startsWith(QStringLiteral("Cannot create file")));
    }
    QVERIFY(m_editor->isDocumentModified());
}

void TestSourceEditor::failedSaveKeepsTheOldFile()
{
    // The target is a folder: the write fails and nothing is left half written.
    QDir(m_dir.path()).mkdir("target.html");
    m_editor->appendLine("x");
    QVERIFY_THROWS_EXCEPTION(Failure, m_editor->saveToFile(path("target.html")));
    QVERIFY(QFileInfo(path("target.html")).isDir());
}

void TestSourceEditor::documentTextAndSelectRangeCountTwoPerLineEnd()
{
    write(path("lf.html"), "ab\n\xBF\xF3\xB3w\nTABLE");
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
    write(path("big.html"), bytes);
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
    QCOMPARE(m_editor->SendScintilla(QsciScintillaBase::SCI_GETMODEVENTMASK), 0L);

    QAccessible::setActive(true);
    QAccessibleInterface *full = QAccessible::queryAccessibleInterface(m_editor.get());
    QVERIFY(full && full->textInterface());
    m_editor->appendLine(QStringLiteral("zażółć"));
    QCOMPARE(full->textInterface()->characterCount(), 6);
    QVERIFY(m_editor->SendScintilla(QsciScintillaBase::SCI_GETMODEVENTMASK) != 0L);
    QAccessible::setActive(false);
    QCOMPARE(m_editor->SendScintilla(QsciScintillaBase::SCI_GETMODEVENTMASK), 0L);
    QVERIFY(!QAccessible::queryAccessibleInterface(m_editor.get())->textInterface());
}

QTEST_MAIN(TestSourceEditor)
#include "tst_sourceeditor.moc"
