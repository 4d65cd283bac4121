// Switching to the preview of a 1 MB document once the engine runs, against the same web view
// loading the same file directly (the baseline), in one run.
#include "app/AppWindows.h"
#include "app/MainWindow.h"
#include "preview/Preview.h"
#include "document/SourceEditor.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QFile>
#include <QTest>
#include <QWebEngineView>
#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    Preview::setFilePath(dir.filePath(QStringLiteral("TarnwickView.html")));

    AppWindows windows;
    MainWindow &form = windows.main();
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        return 1;
    form.editor()->clearAll();
    form.editor()->appendLine(QStringLiteral("<HTML><BODY>"));
    for (int i = 0; form.editor()->length() < 1024 * 1024; ++i)
        form.editor()->appendLine(QStringLiteral("<P>Akapit %1: <B>Zażółć</B> gęślą jaźń, <A HREF=\"#a%1\">odnośnik</A>.</P>").arg(i));
    form.editor()->appendLine(QStringLiteral("</BODY></HTML>"));

    // The first switch starts the engine; it is not what is measured.
    form.notebook()->setCurrentIndex(1);
    auto *view = form.findChild<QWebEngineView *>(QStringLiteral("WebBrowser1"));
    QSignalSpy first(view, &QWebEngineView::loadFinished);
    first.wait(60000);

    auto timeLoad = [&](const std::function<void()> &start) {
        QSignalSpy done(view, &QWebEngineView::loadFinished);
        QElapsedTimer t;
        t.start();
        start();
        done.wait(60000);
        return double(t.nsecsElapsed()) / 1e6;
    };
    std::vector<double> ours, baseline, hidden, syncPart;
    for (int i = 0; i < 5; ++i) {
        form.notebook()->setCurrentIndex(0);
        QSignalSpy settle(view, &QWebEngineView::loadFinished);
        settle.wait(60000);
        ours.push_back(timeLoad([&] {
            QElapsedTimer sync;
            sync.start();
            form.notebook()->setCurrentIndex(1);
            syncPart.push_back(double(sync.elapsed()));
        }));
        baseline.push_back(timeLoad([&] { view->load(QUrl::fromLocalFile(Preview::filePath())); }));
        view->hide();
        QTest::qWait(300);
        hidden.push_back(timeLoad([&] { view->show(); view->load(QUrl::fromLocalFile(Preview::filePath())); }));
    }
    std::sort(ours.begin(), ours.end());
    std::sort(baseline.begin(), baseline.end());
    std::sort(hidden.begin(), hidden.end());
    std::sort(syncPart.begin(), syncPart.end());
    std::printf("preview of a 1 MB document (medians of 5): page change until loaded %.0f ms, of which the change "
                "itself %.0f ms; baselines: the same view loading the same file %.0f ms, hidden and shown again %.0f ms; "
                "ratio %.2f\n",
                ours[2], syncPart[2], baseline[2], hidden[2], ours[2] / baseline[2]);
    if (const QByteArray summary = qgetenv("SUMMARY"); !summary.isEmpty()) {
        QFile f(QString::fromLocal8Bit(summary));
        if (f.open(QIODevice::Append))
            f.write(QStringLiteral("preview\t%1\t%2\n").arg(baseline[2]).arg(ours[2]).toUtf8());
    }
    return 0;
}
