// Editor, search and generator timings, each next to a baseline measured in the same run.
#include "document/DocumentCodec.h"
#include "document/Highlighting.h"
#include "document/SourceEditor.h"
#include "generators/TableMarkup.h"
#include "generators/TablePanel.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <vector>
#include <cstring>
#include <sys/resource.h>
#include <unistd.h>

namespace {

QTemporaryDir &scratch()
{
    static QTemporaryDir dir;
    return dir;
}

const char *const kEncodingNames[] = {"Windows-1250", "ISO-8859-2", "UTF-8"};

// An HTML file of about `megabytes` MB with Polish letters on every line, in one of the three
// encodings (0 Windows-1250, 1 ISO-8859-2, 2 UTF-8); the last two declare their set.
QString sampleFile(int megabytes, int encoding = 0)
{
    const QString path = scratch().filePath(QStringLiteral("sample%1-%2.html").arg(megabytes).arg(encoding));
    if (QFile::exists(path))
        return path;
    const QByteArray text =
        QStringLiteral("<TR><TD>Zażółć gęślą jaźń</TD><TD ALIGN=\"CENTER\">treść komórki</TD></TR>\r\n").toUtf8();
    const auto e = TextEncoding::Encoding(encoding);
    const QByteArray line = DocumentCodec::encode(e, text.constData(), size_t(text.size()), "\r\n").bytes;
    QByteArray block;
    while (block.size() < 1 << 20)
        block += line;
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write("<HTML>\r\n<HEAD>\r\n");
    if (e != TextEncoding::Encoding::Windows1250)
        f.write("<META HTTP-EQUIV=\"CONTENT-TYPE\" CONTENT=\"TEXT/HTML; CHARSET=" + TextEncoding::displayName(e).toLatin1() + "\">\r\n");
    f.write("</HEAD>\r\n<BODY>\r\n<TABLE>\r\n");
    for (int i = 0; i < megabytes; ++i)
        f.write(block);
    f.write("</TABLE>\r\nKONIEC_TABLE\r\n</BODY>\r\n</HTML>");
    return path;
}

QByteArray readWhole(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

// The source editor as the program shows it: HTML colouring, a window of the usual size.
struct Window {
    SourceEditor editor;
    Window()
    {
        Highlighting::apply(editor, Highlighting::Scheme::Html, QFont(QStringLiteral("Monospace"), 10));
        editor.resize(1000, 700);
        editor.show();
        if (!QTest::qWaitForWindowExposed(&editor))
            std::fprintf(stderr, "the editor window was not exposed; paint times are not meaningful\n");
    }
};

void BM_ReadFileBaseline(benchmark::State &state)
{
    const QString path = sampleFile(int(state.range(0)));
    for (auto _ : state) {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        benchmark::DoNotOptimize(f.readAll());
    }
}

void BM_OpenFileAndPaint(benchmark::State &state)
{
    const QString path = sampleFile(int(state.range(0)), int(state.range(1)));
    state.SetLabel(kEncodingNames[state.range(1)]);
    Window w;
    for (auto _ : state) {
        w.editor.loadFromFile(path);
        w.editor.repaint();
    }
}

void BM_CopyAndFsyncBaseline(benchmark::State &state)
{
    const QString path = sampleFile(int(state.range(0)));
    QFile in(path);
    in.open(QIODevice::ReadOnly);
    const QByteArray bytes = in.readAll();
    for (auto _ : state) {
        QFile out(scratch().filePath(QStringLiteral("copy.html")));
        out.open(QIODevice::WriteOnly);
        out.write(bytes);
        out.flush();
        fsync(out.handle());
    }
}

void BM_Save(benchmark::State &state)
{
    const QString path = sampleFile(int(state.range(0)), int(state.range(1)));
    state.SetLabel(kEncodingNames[state.range(1)]);
    Window w;
    w.editor.loadFromFile(path);
    for (auto _ : state)
        w.editor.saveToFile(scratch().filePath(QStringLiteral("saved.html")));
}

// Telling a file's encoding from its bytes: a small share of opening it.
void BM_DetectEncoding(benchmark::State &state)
{
    const QByteArray bytes = readWhole(sampleFile(int(state.range(0)), int(state.range(1))));
    state.SetLabel(kEncodingNames[state.range(1)]);
    for (auto _ : state)
        benchmark::DoNotOptimize(TextEncoding::detect(bytes.constData(), size_t(bytes.size())));
}

// UTF-8 validation against a scan at memory speed over the same bytes.
void BM_MemchrBaseline(benchmark::State &state)
{
    const QByteArray bytes = readWhole(sampleFile(int(state.range(0)), 2));
    for (auto _ : state)
        benchmark::DoNotOptimize(std::memchr(bytes.constData(), 0, size_t(bytes.size())));
}

void BM_ValidateUtf8(benchmark::State &state)
{
    const QByteArray bytes = readWhole(sampleFile(int(state.range(0)), 2));
    for (auto _ : state)
        benchmark::DoNotOptimize(TextEncoding::isValidUtf8(bytes.constData(), size_t(bytes.size())));
}

void BM_TypeAtEnd(benchmark::State &state)
{
    Window w;
    if (state.range(0) > 0)
        w.editor.loadFromFile(sampleFile(int(state.range(0))));
    else
        w.editor.setText(QStringLiteral("<HTML>\r\n</HTML>"));
    w.editor.setFocus();
    w.editor.SendScintilla(QsciScintillaBase::SCI_DOCUMENTEND);
    for (auto _ : state) {
        QTest::keyClick(w.editor.viewport(), Qt::Key_A);
        w.editor.repaint();
    }
}

void BM_FindBaselineIndexOf(benchmark::State &state)
{
    Window w;
    w.editor.loadFromFile(sampleFile(int(state.range(0))));
    const QString text = w.editor.documentText();
    for (auto _ : state)
        benchmark::DoNotOptimize(text.indexOf(QStringLiteral("koniec_table"), 0, Qt::CaseInsensitive));
}

void BM_FindNext(benchmark::State &state)
{
    Window w;
    w.editor.loadFromFile(sampleFile(int(state.range(0))));
    for (auto _ : state) {
        const auto hit = w.editor.find(0, QStringLiteral("koniec_table"), false);
        benchmark::DoNotOptimize(hit);
        w.editor.selectLastHit();
    }
}

void BM_TableBaselineSetPlainText(benchmark::State &state)
{
    TableMarkup::Request request;
    request.rows = request.cellsPerRow = int(state.range(0));
    const QString text = QString::fromUtf8(TableMarkup::generateUtf8(request));
    for (auto _ : state) {
        QPlainTextEdit edit;
        edit.setLineWrapMode(QPlainTextEdit::NoWrap);
        edit.setPlainText(text);
    }
}

void BM_TableIntoPanel(benchmark::State &state)
{
    for (auto _ : state) {
        TablePanel panel;
        panel.show();
        TableMarkup::Request request;
        request.rows = request.cellsPerRow = int(state.range(0));
        panel.appendLines(TableMarkup::generateUtf8(request));
        panel.repaint();
    }
}

} // namespace

BENCHMARK(BM_ReadFileBaseline)->Arg(50)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_OpenFileAndPaint)->ArgsProduct({{50}, {0, 1, 2}})->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_DetectEncoding)->ArgsProduct({{50}, {0, 1, 2}})->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_MemchrBaseline)->Arg(50)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_ValidateUtf8)->Arg(50)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_CopyAndFsyncBaseline)->Arg(50)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Save)->ArgsProduct({{50}, {0, 1, 2}})->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_TypeAtEnd)->Arg(0)->Arg(5)->Arg(50)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_FindBaselineIndexOf)->Arg(50)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_FindNext)->Arg(50)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_TableBaselineSetPlainText)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_TableIntoPanel)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(2);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // --peak-open FILE: open and paint one file, then print the peak memory in MB.
    if (argc == 3 && qstrcmp(argv[1], "--peak-open") == 0) {
        Window w;
        QElapsedTimer t;
        t.start();
        w.editor.loadFromFile(QString::fromLocal8Bit(argv[2]));
        w.editor.repaint();
        const qint64 ms = t.elapsed();
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("open+paint %lld ms, peak %ld MB\n", ms, usage.ru_maxrss / 1024);
        return 0;
    }
    // --type-keys FILE N: open and paint a file, then type N keys at its end, each painted;
    // prints the first key's time, the slowest and the median, in milliseconds.
    if (argc == 4 && qstrcmp(argv[1], "--type-keys") == 0) {
        Window w;
        if (qstrcmp(argv[2], "-") != 0)
            w.editor.loadFromFile(QString::fromLocal8Bit(argv[2]));
        w.editor.repaint();
        w.editor.setFocus();
        w.editor.SendScintilla(QsciScintillaBase::SCI_DOCUMENTEND);
        std::vector<double> times;
        for (int i = 0, n = QString::fromLocal8Bit(argv[3]).toInt(); i < n; ++i) {
            QElapsedTimer t;
            t.start();
            QTest::keyClick(w.editor.viewport(), Qt::Key_A);
            w.editor.repaint();
            times.push_back(double(t.nsecsElapsed()) / 1e6);
        }
        std::vector<double> sorted = times;
        std::sort(sorted.begin(), sorted.end());
        std::printf("first %.2f ms, slowest %.2f ms, median %.2f ms\n", times.front(), sorted.back(),
                    sorted[sorted.size() / 2]);
        return 0;
    }
    // --make-sample MB [ENCODING]: write sample.html (0 Windows-1250, 1 ISO-8859-2, 2 UTF-8).
    if ((argc == 3 || argc == 4) && qstrcmp(argv[1], "--make-sample") == 0) {
        const int encoding = argc == 4 ? QString::fromLocal8Bit(argv[3]).toInt() : 0;
        const QString target = QDir::current().filePath(QStringLiteral("sample.html"));
        QFile::remove(target);
        QFile::copy(sampleFile(QString::fromLocal8Bit(argv[2]).toInt(), encoding), target);
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
