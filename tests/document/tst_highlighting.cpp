#include "document/Highlighting.h"
#include "support/Files.h"
#include "document/SourceEditor.h"

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QByteArray kPolishUtf8 = "Zażółć gęślą jaźń";
const QByteArray kPolishCp1250 = "Za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9 ja\x9F\xF1";

// A line of markup half as long again as the long-line bound, in UTF-8 with Polish letters.
QByteArray longLine()
{
    const QByteArray unit = "<div class=\"w\"><a href=\"s.html\">" + kPolishUtf8 + "</a>&amp;</div>";
    return unit.repeated(int(Highlighting::kLongLine / unit.size()) * 3 / 2);
}

long send(SourceEditor &e, unsigned msg, unsigned long w = 0, long l = 0)
{
    return e.SendScintilla(msg, w, l);
}

// Scintilla hands style numbers over as signed bytes.
long styleAt(SourceEditor &e, long position)
{
    return send(e, QsciScintillaBase::SCI_GETSTYLEAT, ulong(position)) & 0xFF;
}

long lexer(SourceEditor &e)
{
    return send(e, QsciScintillaBase::SCI_GETLEXER);
}

QFont testFont()
{
    QFont f(QStringLiteral("Monospace"));
    f.setPointSizeF(9.75);
    return f;
}

} // namespace

class TestHighlighting : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void colouringFollowsTheLongestLineAndFilesRoundTrip_data();
    void colouringFollowsTheLongestLineAndFilesRoundTrip();
    void schemeChosenWhileSuspendedIsUsedOnResume();
    void phpScriptStyles_data();
    void phpScriptStyles();
    void uncolouredLineLooksLikePlainText();
    void editedLongLineStaysUncolouredAndSaved();
    void longLineFurtherDownIsStyledWhenShown();
    void keyTypedAtTheEndOfALongLineKeepsItsStyles();
    void makesLongLine_data();
    void makesLongLine();
    void pastedLongLineTurnsTheColoursOff();
    void longLineMadeByAPasteOrADropCounts_data();
    void longLineMadeByAPasteOrADropCounts();
    void loadShowsTheStartOfTheDocument();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<SourceEditor> m_editor;
    QString path(const char *name) const { return m_dir.filePath(QLatin1String(name)); }
    void paint() { m_editor->grab(); }
    void load(const char *name, const QByteArray &bytes)
    {
        writeFile(path(name), bytes);
        m_editor->loadFromFile(path(name));
    }
};

void TestHighlighting::init()
{
    m_editor = std::make_unique<SourceEditor>();
    Highlighting::apply(*m_editor, Highlighting::Scheme::Html, testFont());
    m_editor->resize(500, 200);
}

void TestHighlighting::colouringFollowsTheLongestLineAndFilesRoundTrip_data()
{
    QTest::addColumn<QByteArray>("first"); // none: the second file is the first loaded
    QTest::addColumn<QByteArray>("second");
    QTest::addColumn<bool>("suspended");
    const QByteArray line = longLine();
    const auto alone = [](const char *name, const QByteArray &bytes) { QTest::newRow(name) << QByteArray() << bytes << true; };
    alone("long line alone: UTF-8, one line without a line end", line);
    alone("long line alone: between short lines, CR LF", "<HTML>\r\n" + line + "\r\n</HTML>\r\n");
    alone("long line alone: LF after it", line + "\n");
    alone("long line alone: Windows-1250", QByteArray(line).replace(kPolishUtf8, kPolishCp1250));
    alone("long line alone: NUL bytes", QByteArray("a\0b", 3) + line);
    const QByteArray page = "<P>kr\xC3\xB3tki wiersz</P>\r\n<B>drugi</B>";
    // With CR LF line ends the CR counts in the line.
    const QByteArray oneShort = "<" + QByteArray(int(Highlighting::kLongLine) - 3, 'x') + "\r\ny";
    QTest::newRow("page after page stays coloured") << page << page << false;
    QTest::newRow("long line suspends") << page << longLine() << true;
    QTest::newRow("page after a long line resumes") << longLine() << page << false;
    QTest::newRow("page after a long line looks as if none came before")
        << longLine() << QByteArray("<HTML>\r\n<BODY BGCOLOR=\"#FFFFFF\">\r\n <!--uwaga-->&nbsp;tekst\r\n</BODY>") << false;
    QTest::newRow("long line after a long line stays suspended") << longLine() << longLine() + "\r\nkoniec" << true;
    QTest::newRow("a line one byte short stays coloured") << page << oneShort << false;
}

void TestHighlighting::colouringFollowsTheLongestLineAndFilesRoundTrip()
{
    QFETCH(QByteArray, first);
    QFETCH(QByteArray, second);
    QFETCH(bool, suspended);
    if (!first.isNull()) {
        load("first.html", first);
        paint();
    }
    load("second.html", second);
    // Told as soon as the file is loaded, and still so after the first paint.
    QCOMPARE(Highlighting::isSuspended(*m_editor), suspended);
    const QImage shown = m_editor->grab().toImage();
    QCOMPARE(Highlighting::isSuspended(*m_editor), suspended);
    QCOMPARE(lexer(*m_editor), long(suspended ? QsciScintillaBase::SCLEX_CONTAINER : QsciScintillaBase::SCLEX_HTML));
    // Coloured or not, the editor remembers the widths of enough runs for the characters of any
    // script: a page in Chinese took seconds for every layout with the component's own 1024.
    QCOMPARE(send(*m_editor, QsciScintillaBase::SCI_GETPOSITIONCACHE), 65536L);
    // Coloured: the opening "<" has a tag's style. Uncoloured: the bytes alternate between two
    // styles that look alike, so both are measured from the cache.
    const long style0 = styleAt(*m_editor, 0);
    const long style1 = styleAt(*m_editor, 1);
    if (suspended) {
        QCOMPARE(style0, 0L);
        QVERIFY(style1 != style0);
        QCOMPARE(send(*m_editor, QsciScintillaBase::SCI_STYLEGETFORE, ulong(style1)),
                 send(*m_editor, QsciScintillaBase::SCI_STYLEGETFORE, ulong(style0)));
    } else {
        QVERIFY(style0 != 0);
    }
    // The first paint is as in an editor that loaded only the second file.
    SourceEditor fresh;
    Highlighting::apply(fresh, Highlighting::Scheme::Html, testFont());
    fresh.resize(m_editor->size());
    fresh.loadFromFile(path("second.html"));
    QCOMPARE(shown, fresh.grab().toImage());
    QVERIFY_THROWS_NO_EXCEPTION(m_editor->save(path("out.html")));
    QCOMPARE(readAll(path("out.html")), second);
    // New gives the colours back.
    m_editor->clearAll();
    QVERIFY(!Highlighting::isSuspended(*m_editor));
    QCOMPARE(lexer(*m_editor), long(QsciScintillaBase::SCLEX_HTML));
}

void TestHighlighting::schemeChosenWhileSuspendedIsUsedOnResume()
{
    load("long.html", longLine());
    Highlighting::apply(*m_editor, Highlighting::Scheme::Css, testFont());
    QVERIFY(Highlighting::isSuspended(*m_editor));
    QCOMPARE(lexer(*m_editor), long(QsciScintillaBase::SCLEX_CONTAINER));
    QCOMPARE(Highlighting::current(*m_editor), Highlighting::Scheme::Css);
    load("short.css", "p { color: red; }");
    QVERIFY(!Highlighting::isSuspended(*m_editor));
    QCOMPARE(lexer(*m_editor), long(QsciScintillaBase::SCLEX_CSS));
}

// Each style of a PHP script: its colour and face, and the text of a script that takes it.
void TestHighlighting::phpScriptStyles_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("colour");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<QString>("text");
    QTest::newRow("default") << 118 << "#000033" << false << false << "strlen";
    QTest::newRow("\"string\"") << 119 << "#007f00" << false << false << "\"a ";
    QTest::newRow("'string'") << 120 << "#009f00" << false << false << "'c'";
    QTest::newRow("keyword") << 121 << "#00007f" << true << false << "echo";
    QTest::newRow("number") << 122 << "#cc3300" << false << false << "12";
    QTest::newRow("$variable") << 123 << "#00007f" << false << true << "$v =";
    QTest::newRow("/* comment */") << 124 << "#999999" << false << true << "/* k */";
    QTest::newRow("// comment") << 125 << "#666666" << false << true << "// l";
    QTest::newRow("variable in a string") << 126 << "#00007f" << false << true << "$v\")";
    QTest::newRow("operator") << 127 << "#000000" << false << false << "= 12";
}

void TestHighlighting::phpScriptStyles()
{
    QFETCH(int, style);
    QFETCH(QString, colour);
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    QFETCH(QString, text);
    Highlighting::apply(*m_editor, Highlighting::Scheme::Php, testFont());
    const long bgr = send(*m_editor, QsciScintillaBase::SCI_STYLEGETFORE, ulong(style)); // 0xBBGGRR
    QCOMPARE(QColor(int(bgr & 0xFF), int(bgr >> 8 & 0xFF), int(bgr >> 16 & 0xFF)).name(), colour);
    QCOMPARE(send(*m_editor, QsciScintillaBase::SCI_STYLEGETBOLD, ulong(style)) != 0, bold);
    QCOMPARE(send(*m_editor, QsciScintillaBase::SCI_STYLEGETITALIC, ulong(style)) != 0, italic);
    const QString script = QStringLiteral("<?php\n$v = 12 + strlen(\"a $v\") . 'c'; echo $v; /* k */ // l\n?>");
    m_editor->setText(script);
    send(*m_editor, QsciScintillaBase::SCI_COLOURISE, 0, -1);
    QCOMPARE(styleAt(*m_editor, long(script.indexOf(text))), long(style));
}

void TestHighlighting::uncolouredLineLooksLikePlainText()
{
    // The same first screen of text in an editor that does no colouring at all.
    const QByteArray line = longLine();
    load("long.html", line);
    writeFile(path("head.html"), line.left(line.indexOf("</div>", 400) + 6)); // whole characters
    SourceEditor plain;
    Highlighting::apply(plain, Highlighting::Scheme::Html, testFont());
    plain.resize(m_editor->size());
    plain.loadFromFile(path("head.html"));
    send(plain, QsciScintillaBase::SCI_SETLEXER, QsciScintillaBase::SCLEX_NULL);
    send(plain, QsciScintillaBase::SCI_CLEARDOCUMENTSTYLE);
    const QImage shown = m_editor->grab().toImage();
    QCOMPARE(shown, plain.grab().toImage());
    SourceEditor empty;
    empty.resize(m_editor->size());
    QVERIFY(shown != empty.grab().toImage());
}

void TestHighlighting::editedLongLineStaysUncolouredAndSaved()
{
    const QByteArray line = longLine();
    load("long.html", line);
    paint();
    for (long at = 0; at < 64; ++at)
        QCOMPARE(styleAt(*m_editor, at) != 0, (at & 1) == 1);
    // Three bytes typed near the start move everything after them: every style stays as it
    // was (any change of style lays the whole line out again), the typed bytes keep style 0.
    send(*m_editor, QsciScintillaBase::SCI_GOTOPOS, 5);
    m_editor->insert(QStringLiteral("ż!"));
    paint();
    const long end = m_editor->length();
    for (long at : {0L, 1L, 2L, 3L, 4L, 5L, 6L, 7L, 8L, 9L, 10L, 11L, end - 2, end - 1})
        QCOMPARE(styleAt(*m_editor, at) != 0, at < 5 ? (at & 1) == 1 : at >= 8 && ((at - 3) & 1) == 1);
    // Long insertions (pastes) alternate as the loaded text does, also one that moves an
    // earlier paste before it was drawn.
    // 4 KB is the least that counts as a paste.
    const QByteArray pasted(4096, 'p'), earlier(8192, 'q');
    m_editor->insert(QString::fromLatin1(pasted));
    send(*m_editor, QsciScintillaBase::SCI_GOTOPOS, 2);
    m_editor->insert(QString::fromLatin1(earlier));
    paint();
    for (const auto &[from, size] : {std::pair{2L, 8192L}, {5L + 8192L, 4096L}})
        for (long at = from; at + 1 < from + size; ++at)
            QVERIFY2(styleAt(*m_editor, at) != styleAt(*m_editor, at + 1), qPrintable(QString::number(at)));
    QVERIFY(m_editor->isDocumentModified());
    QVERIFY_THROWS_NO_EXCEPTION(m_editor->save(path("out.html")));
    QCOMPARE(readAll(path("out.html")), QByteArray(line).insert(5, "ż!").insert(5, pasted).insert(2, earlier));
}

void TestHighlighting::longLineFurtherDownIsStyledWhenShown()
{
    // Left as one run of a single style, a long line below the first screen took seconds at
    // every paint once scrolled to. Opened, it is styled as it is shown, not all at once.
    QByteArray text;
    for (int i = 0; i < 300; ++i)
        text += "<P>wiersz</P>\r\n";
    load("late.html", text + longLine());
    paint();
    long start = send(*m_editor, QsciScintillaBase::SCI_POSITIONFROMLINE, 300);
    QCOMPARE(styleAt(*m_editor, start), 0L);
    QCOMPARE(styleAt(*m_editor, start + 1), 0L);
    // Edits above it move where styling stopped: 3 bytes typed, 5 deleted, 2 typed where
    // styling stopped (they belong to the styled text), and edits below it do not.
    const qsizetype stopped = Highlighting::styledUpTo(*m_editor);
    QVERIFY(stopped > 100 && stopped < start);
    send(*m_editor, QsciScintillaBase::SCI_GOTOPOS, 3);
    m_editor->insert(QStringLiteral("ab\n"));
    QCOMPARE(Highlighting::styledUpTo(*m_editor), stopped + 3);
    send(*m_editor, QsciScintillaBase::SCI_DELETERANGE, 20, 5);
    QCOMPARE(Highlighting::styledUpTo(*m_editor), stopped - 2);
    send(*m_editor, QsciScintillaBase::SCI_GOTOPOS, ulong(stopped - 2));
    m_editor->insert(QStringLiteral("cd"));
    QCOMPARE(Highlighting::styledUpTo(*m_editor), stopped);
    m_editor->SendScintilla(QsciScintillaBase::SCI_INSERTTEXT, ulong(stopped + 10), "ef");
    send(*m_editor, QsciScintillaBase::SCI_DELETERANGE, ulong(stopped + 10), 2);
    QCOMPARE(Highlighting::styledUpTo(*m_editor), stopped);
    // A deletion across where styling stopped ends it at the deletion.
    m_editor->SendScintilla(QsciScintillaBase::SCI_INSERTTEXT, ulong(stopped - 1), "gh");
    send(*m_editor, QsciScintillaBase::SCI_DELETERANGE, ulong(stopped - 1), 3);
    QCOMPARE(Highlighting::styledUpTo(*m_editor), stopped - 1);
    send(*m_editor, QsciScintillaBase::SCI_SETFIRSTVISIBLELINE, 290);
    paint();
    start = send(*m_editor, QsciScintillaBase::SCI_POSITIONFROMLINE, 301);
    QCOMPARE(start, 300 * 15L + 3 - 5 + 2 - 1);
    QVERIFY(Highlighting::styledUpTo(*m_editor) > start + 64);
    for (long at = start - 20; at < start + 64; ++at)
        QVERIFY2(styleAt(*m_editor, at) != styleAt(*m_editor, at + 1), qPrintable(QString::number(at)));
    QCOMPARE(send(*m_editor, QsciScintillaBase::SCI_STYLEGETFORE, ulong(styleAt(*m_editor, start + 1))),
             send(*m_editor, QsciScintillaBase::SCI_STYLEGETFORE, ulong(styleAt(*m_editor, start))));
    // The first bytes kept the styles they were shown with; the typed ones are style 0.
    for (long at = 0; at < 3; ++at)
        QCOMPARE(styleAt(*m_editor, at) != 0, (at & 1) == 1);
    for (long at : {3L, 4L, 5L, long(stopped) - 2})
        QCOMPARE(styleAt(*m_editor, at), 0L);
}

void TestHighlighting::keyTypedAtTheEndOfALongLineKeepsItsStyles()
{
    // Restyling the typed byte lays its whole line out again, at every key.
    load("long.html", longLine());
    send(*m_editor, QsciScintillaBase::SCI_DOCUMENTEND);
    paint();
    const long end = m_editor->length();
    const long last = styleAt(*m_editor, end - 1);
    QVERIFY(last != styleAt(*m_editor, end - 2));
    m_editor->insert(QStringLiteral("x"));
    paint();
    QCOMPARE(styleAt(*m_editor, end), 0L);
    QCOMPARE(styleAt(*m_editor, end - 1), last);
}

void TestHighlighting::makesLongLine_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<qsizetype>("before");
    QTest::addColumn<qsizetype>("after");
    QTest::addColumn<bool>("longLine");
    const qsizetype bound = Highlighting::kLongLine;
    const QByteArray half(int(bound / 2), 'x');
    QTest::newRow("short text, short line") << QByteArray("abc") << qsizetype(3) << qsizetype(4) << false;
    QTest::newRow("a whole long line") << QByteArray(int(bound), 'x') << qsizetype(0) << qsizetype(0) << true;
    QTest::newRow("one byte short") << QByteArray(int(bound) - 1, 'x') << qsizetype(0) << qsizetype(0) << false;
    QTest::newRow("joining the bytes before it") << half << bound / 2 << qsizetype(0) << true;
    QTest::newRow("joining the bytes after it") << half << qsizetype(0) << bound / 2 << true;
    QTest::newRow("between both, one byte short") << half << bound / 4 << bound / 4 - 1 << false;
    QTest::newRow("its first line joins the bytes before") << half + "\n" + half << bound / 2 << qsizetype(0) << true;
    QTest::newRow("its last line does not join them") << "a\n" + half << bound / 2 << qsizetype(0) << false;
    QTest::newRow("its last line joins the bytes after") << "a\n" + half << qsizetype(0) << bound / 2 << true;
    QTest::newRow("CR ends a line") << half + "\r" + half << qsizetype(0) << qsizetype(0) << false;
    QTest::newRow("LF ends a line") << half + "\n" + half << qsizetype(0) << qsizetype(0) << false;
    QTest::newRow("a long line in the middle") << "a\r\n" + QByteArray(int(bound), 'x') + "\r\nb" << qsizetype(0) << qsizetype(0) << true;
}

void TestHighlighting::makesLongLine()
{
    QFETCH(QByteArray, text);
    QFETCH(qsizetype, before);
    QFETCH(qsizetype, after);
    QFETCH(bool, longLine);
    QCOMPARE(Highlighting::makesLongLine(text.constData(), text.size(), before, after), longLine);
}

void TestHighlighting::pastedLongLineTurnsTheColoursOff()
{
    QByteArray page;
    for (int i = 0; i < 300; ++i)
        page += "<P>wiersz</P>\r\n";
    load("page.html", page);
    paint();
    QVERIFY(!Highlighting::isSuspended(*m_editor));
    // A short paste keeps the colours.
    QApplication::clipboard()->setText(QStringLiteral("<B>x</B>\r\n").repeated(1000));
    m_editor->paste();
    QVERIFY(!Highlighting::isSuspended(*m_editor));
    // A line of a megabyte goes in uncoloured and alternating at once: the editor lays the
    // caret's line out to show the caret before any paint, and one long run took seconds.
    send(*m_editor, QsciScintillaBase::SCI_DOCUMENTEND);
    const long at = m_editor->length();
    QApplication::clipboard()->setText(QString::fromUtf8(longLine()));
    m_editor->paste();
    QVERIFY(Highlighting::isSuspended(*m_editor));
    QCOMPARE(lexer(*m_editor), long(QsciScintillaBase::SCLEX_CONTAINER));
    for (long i = at; i < at + 64; ++i)
        QVERIFY2(styleAt(*m_editor, i) != styleAt(*m_editor, i + 1), qPrintable(QString::number(i)));
    // The page above, coloured before, is styled alike as it is shown.
    send(*m_editor, QsciScintillaBase::SCI_SETFIRSTVISIBLELINE, 0);
    paint();
    for (long i = 0; i < 64; ++i)
        QVERIFY2(styleAt(*m_editor, i) != styleAt(*m_editor, i + 1), qPrintable(QString::number(i)));
    QVERIFY_THROWS_NO_EXCEPTION(m_editor->save(path("out.html")));
    // The short paste went in where the caret was after opening: at the start.
    // The page opened without Polish letters is saved in Windows-1250.
    QCOMPARE(readAll(path("out.html")), QByteArray("<B>x</B>\r\n").repeated(1000) + page
                                            + QByteArray(longLine()).replace(kPolishUtf8, kPolishCp1250));
}

void TestHighlighting::longLineMadeByAPasteOrADropCounts_data()
{
    QTest::addColumn<bool>("drop");
    QTest::newRow("pasted over a selection") << false;
    QTest::newRow("dropped away from the caret") << true;
}

void TestHighlighting::longLineMadeByAPasteOrADropCounts()
{
    // The text joins a line of 3/4 of the bound; the caret is on a short line.
    QFETCH(bool, drop);
    const QByteArray wide(int(Highlighting::kLongLine * 3 / 4), 'x');
    load("wide.html", wide + "\r\nkr\u00f3tki\r\n");
    paint();
    QVERIFY(!Highlighting::isSuspended(*m_editor));
    const QString half = QString(int(Highlighting::kLongLine / 2), QLatin1Char('y'));
    if (drop) {
        send(*m_editor, QsciScintillaBase::SCI_GOTOLINE, 1);
        m_editor->resize(800, 300);
        const QPoint point(int(send(*m_editor, QsciScintillaBase::SCI_POINTXFROMPOSITION, 0, 10)),
                           int(send(*m_editor, QsciScintillaBase::SCI_POINTYFROMPOSITION, 0, 10)) + 2);
        QMimeData data;
        data.setText(half);
        QDragEnterEvent enter(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_editor->viewport(), &enter);
        QDragMoveEvent move(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_editor->viewport(), &move);
        QDropEvent dropped(QPointF(point), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_editor->viewport(), &dropped);
    } else {
        // The selection runs from the end of the wide line into the short one.
        send(*m_editor, QsciScintillaBase::SCI_SETSEL, ulong(wide.size()), long(wide.size()) + 3);
        QApplication::clipboard()->setText(half);
        m_editor->paste();
    }
    QCOMPARE(send(*m_editor, QsciScintillaBase::SCI_LINELENGTH, 0) >= Highlighting::kLongLine, true);
    QVERIFY(Highlighting::isSuspended(*m_editor));
}

void TestHighlighting::loadShowsTheStartOfTheDocument()
{
    QByteArray text;
    for (int i = 0; i < 200; ++i)
        text += QByteArray(300, char('a' + i % 26)) + "\r\n";
    load("wide.html", text);
    m_editor->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_editor.get()));
    send(*m_editor, QsciScintillaBase::SCI_GOTOPOS, ulong(m_editor->length() - 10));
    paint();
    QVERIFY(send(*m_editor, QsciScintillaBase::SCI_GETFIRSTVISIBLELINE) > 0);
    QVERIFY(send(*m_editor, QsciScintillaBase::SCI_GETXOFFSET) > 0);
    m_editor->loadFromFile(path("wide.html"));
    paint();
    QCOMPARE(send(*m_editor, QsciScintillaBase::SCI_GETCURRENTPOS), 0L);
    QCOMPARE(send(*m_editor, QsciScintillaBase::SCI_GETANCHOR), 0L);
    QCOMPARE(send(*m_editor, QsciScintillaBase::SCI_GETFIRSTVISIBLELINE), 0L);
    QCOMPARE(send(*m_editor, QsciScintillaBase::SCI_GETXOFFSET), 0L);
}

QTEST_MAIN(TestHighlighting)
#include "tst_highlighting.moc"
