// A page that is one line of many megabytes: where opening and painting it spends its time, next
// to the editor component alone, and a window for timing the first paint from outside.
//   long_line_bench --make FILE MB [cjk]
//                                     writes a one-line page of about MB megabytes, its text
//                                     Polish, or Chinese with cjk
//   long_line_bench --phases FILE     opens and paints it in process, one time per step
//   long_line_bench --scroll FILE     scrolls FILE's longest line into view and a line further,
//                                     and types on its first line
//   long_line_bench --paste FILE      pastes FILE's text into a short page, types after it
//   long_line_bench --bare FILE       the same bytes into a bare QScintilla with its HTML lexer
//   long_line_bench --show FILE       opens it in a window captioned "long line", left running
#include "controls/Fonts.h"
#include "document/Highlighting.h"
#include "document/SourceEditor.h"

#include <Qsci/qscilexerhtml.h>

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>

#include <cstdio>
#include <sys/resource.h>

namespace {


long peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

// Text in Chinese: runs of 40 characters drawn from the 3,500 most common ones, the same runs
// in every run of the bench.
QByteArray chineseText(quint32 &seed)
{
    QString text;
    for (int i = 0; i < 40; ++i) {
        seed = seed * 1103515245u + 12345u;
        text += QChar(char16_t(0x4E00 + (seed >> 8) % 3500));
    }
    return text.toUtf8();
}

// Minified markup: tags, attributes, entities, a comment and Polish text, with numbers that
// differ from element to element as ids and links do in a real page. With `chinese`, paragraphs
// of Chinese text instead.
int make(const QString &path, int megabytes, bool chinese)
{
    quint32 seed = 1;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return 1;
    const qint64 target = qint64(megabytes) << 20;
    QByteArray out = "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Długa linia</title></head><body>";
    qint64 written = 0;
    for (int n = 0; written + out.size() < target; ++n) {
        const QByteArray id = QByteArray::number(n);
        if (chinese)
            out += "<p class=\"w\" id=\"p" + id + "\">" + chineseText(seed) + "</p>";
        else
            out += "<div class=\"wiersz\" id=\"w" + id + "\"><a href=\"strona" + id + ".html\" title=\"Zażółć gęślą jaźń\">Pozycja "
                + id + "</a><span style=\"color:#336699\">treść komórki &amp; opis</span><!-- uwaga --></div>";
        if (out.size() > 1 << 24) {
            written += f.write(out);
            out.clear();
        }
    }
    out += "</body></html>";
    return f.write(out) == out.size() ? 0 : 1;
}

void showSized(QWidget &w)
{
    w.resize(1000, 700);
    w.show();
    if (!QTest::qWaitForWindowExposed(&w))
        std::fprintf(stderr, "the window was not exposed; paint times are not meaningful\n");
}

int phases(const QString &path)
{
    QElapsedTimer t;
    t.start();
    {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        const QByteArray bytes = f.readAll();
    }
    const qint64 read = t.restart();
    SourceEditor editor;
    Highlighting::apply(editor, Highlighting::Scheme::Html, Fonts::editor());
    showSized(editor);
    t.restart();
    editor.loadFromFile(path);
    const qint64 load = t.restart();
    // What the first paint does, one step at a time: colour the visible lines (here all of
    // the one line), measure the line, draw.
    editor.SendScintilla(QsciScintillaBase::SCI_COLOURISE, 0UL, -1L);
    const qint64 colour = t.restart();
    editor.SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0UL, long(editor.length()));
    const qint64 layout = t.restart();
    editor.repaint();
    const qint64 paint = t.restart();
    // A key typed near the start of the line: the editor measures the whole line again.
    editor.setFocus();
    editor.SendScintilla(QsciScintillaBase::SCI_GOTOPOS, 10UL);
    editor.repaint();
    t.restart();
    QTest::keyClick(editor.viewport(), Qt::Key_A);
    editor.repaint();
    const qint64 key = t.restart();
    // Loading is one event (the Open command), the first paint another: the window cannot
    // answer during the longer of the two.
    std::printf("readAll %lld ms; load %lld, colour %lld, measure %lld, paint %lld: total %lld ms, "
                "longest stall %lld ms, a typed key %lld ms, peak %ld MB\n",
                read, load, colour, layout, paint, load + colour + layout + paint,
                qMax(load, colour + layout + paint), key, peakMegabytes());
    return 0;
}

// A page with a long line below the first screen, the caret on the first line: the long line
// scrolled into view, a line of scrolling with it on the screen, a key typed on the first line.
int scroll(const QString &path)
{
    SourceEditor editor;
    Highlighting::apply(editor, Highlighting::Scheme::Html, Fonts::editor());
    showSized(editor);
    editor.loadFromFile(path);
    editor.setFocus();
    editor.SendScintilla(QsciScintillaBase::SCI_GOTOPOS, 0UL);
    editor.repaint();
    long longest = 0;
    for (long l = 0, n = editor.SendScintilla(QsciScintillaBase::SCI_GETLINECOUNT); l < n; ++l)
        if (editor.SendScintilla(QsciScintillaBase::SCI_LINELENGTH, ulong(l)) > editor.SendScintilla(QsciScintillaBase::SCI_LINELENGTH, ulong(longest)))
            longest = l;
    QElapsedTimer t;
    t.start();
    editor.SendScintilla(QsciScintillaBase::SCI_SETFIRSTVISIBLELINE, ulong(qMax(0L, longest - 10)));
    editor.repaint();
    const qint64 shown = t.restart();
    editor.SendScintilla(QsciScintillaBase::SCI_LINESCROLL, 0UL, 1L);
    editor.repaint();
    const qint64 down = t.restart();
    QTest::keyClick(editor.viewport(), Qt::Key_A);
    editor.repaint();
    const qint64 key = t.restart();
    std::printf("scrolled into view %lld ms, a line further %lld ms, a key typed on the first line %lld ms, peak %ld MB\n",
                shown, down, key, peakMegabytes());
    return 0;
}

// FILE's text pasted into the third line of a short page, and a key typed after it.
int paste(const QString &path)
{
    SourceEditor editor;
    Highlighting::apply(editor, Highlighting::Scheme::Html, Fonts::editor());
    showSized(editor);
    editor.setText(QStringLiteral("<HTML>\n<BODY>\n\n</BODY>\n</HTML>\n"));
    editor.repaint();
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    QApplication::clipboard()->setText(QString::fromUtf8(f.readAll()));
    editor.setFocus();
    editor.SendScintilla(QsciScintillaBase::SCI_GOTOLINE, 2UL);
    QElapsedTimer t;
    t.start();
    QTest::keyClick(editor.viewport(), Qt::Key_V, Qt::ControlModifier);
    editor.repaint();
    const qint64 pasted = t.restart();
    QTest::keyClick(editor.viewport(), Qt::Key_A);
    editor.repaint();
    const qint64 key = t.restart();
    std::printf("pasted and shown %lld ms, a key typed after it %lld ms, peak %ld MB\n", pasted, key, peakMegabytes());
    return 0;
}

int bare(const QString &path)
{
    QsciScintilla editor;
    editor.setUtf8(true);
    auto *lexer = new QsciLexerHTML(&editor);
    lexer->setDefaultFont(Fonts::editor());
    lexer->setFont(Fonts::editor(), -1);
    editor.setLexer(lexer);
    showSized(editor);
    QElapsedTimer t;
    t.start();
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    const QByteArray bytes = f.readAll();
    editor.SendScintilla(QsciScintillaBase::SCI_APPENDTEXT, uintptr_t(bytes.size()), bytes.constData());
    editor.repaint();
    std::printf("bare component %lld ms, peak %ld MB\n", t.elapsed(), peakMegabytes());
    return 0;
}

int show(const QString &path)
{
    SourceEditor editor;
    editor.setWindowTitle(QStringLiteral("long line"));
    Highlighting::apply(editor, Highlighting::Scheme::Html, Fonts::editor());
    editor.loadFromFile(path);
    editor.resize(1000, 700);
    editor.show();
    return qApp->exec();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if ((args.size() == 4 || args.size() == 5) && args[1] == QLatin1String("--make"))
        return make(args[2], args[3].toInt(), args.size() == 5 && args[4] == QLatin1String("cjk"));
    if (args.size() == 3 && args[1] == QLatin1String("--phases"))
        return phases(args[2]);
    if (args.size() == 3 && args[1] == QLatin1String("--scroll"))
        return scroll(args[2]);
    if (args.size() == 3 && args[1] == QLatin1String("--paste"))
        return paste(args[2]);
    if (args.size() == 3 && args[1] == QLatin1String("--bare"))
        return bare(args[2]);
    if (args.size() == 3 && args[1] == QLatin1String("--show"))
        return show(args[2]);
    std::fprintf(stderr, "usage: long_line_bench --make FILE MB [cjk] | --phases FILE | --scroll FILE | --paste FILE | --bare FILE | --show FILE\n");
    return 2;
}
