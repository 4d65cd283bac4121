#include "app/AppWindows.h"
#include "app/MainWindow.h"
#include "preview/Preview.h"
#include "document/SourceEditor.h"
#include "support/Fixtures.h"

#include "controls/LocalLists.h"
#include "document/FilePanel.h"

#include <QAction>
#include <QCheckBox>
#include <QImage>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

// Loads the preview in a real web engine and reads back what the page shows.
class TestPreview : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void switchingPagesShowsTheCurrentDocument();
    void polishLettersTypedIntoANewPageShowUnchanged();
    void relativeReferencesFindTheFolderFiles_data();
    void relativeReferencesFindTheFolderFiles();
    void livePreviewFollowsTheTextAndKeepsTheScroll();

private:
    QVariant evaluate(QWebEngineView *view, const QString &script)
    {
        QVariant result;
        bool done = false;
        view->page()->runJavaScript(script, [&](const QVariant &v) {
            result = v;
            done = true;
        });
        if (!QTest::qWaitFor([&] { return done; }, 30000))
            return QStringLiteral("<no answer>");
        return result;
    }
    QString pageText(QWebEngineView *view)
    {
        QString result;
        bool done = false;
        view->page()->runJavaScript(QStringLiteral("document.body ? document.body.innerText : ''"),
                                    [&](const QVariant &v) {
                                        result = v.toString();
                                        done = true;
                                    });
        if (!QTest::qWaitFor([&] { return done; }, 30000))
            return QStringLiteral("<no answer>");
        return result;
    }
    QTemporaryDir m_dir;
};

void TestPreview::initTestCase()
{
    Preview::setFilePath(m_dir.filePath("TarnwickView.html"));
}

void TestPreview::switchingPagesShowsTheCurrentDocument()
{
    ScriptedDialogs dialogs;
    const auto windows = openProgram(dialogs);
    MainWindow &form = windows->main();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(!form.preview().hasView()); // nothing of the engine before the first page change

    form.editor()->clearAll();
    form.editor()->appendLine(QStringLiteral("<HTML><BODY><P>Podgląd działa</P></BODY></HTML>"));
    form.notebook()->setCurrentIndex(1);
    QVERIFY2(dialogs.errors.isEmpty(), qPrintable(dialogs.errors.join('\n')));
    QVERIFY(form.preview().hasView());
    auto *view = form.findChild<QWebEngineView *>(QStringLiteral("WebBrowser1"));
    QVERIFY(view);
    QTRY_COMPARE_WITH_TIMEOUT(pageText(view), QStringLiteral("Podgląd działa"), 60000);
    QCOMPARE(view->url(), QUrl::fromLocalFile(Preview::filePath()));

    // Nothing to go forward to: the error box says so.
    form.action("ToolButton27")->trigger();
    QCOMPARE(dialogs.errors.size(), 1);

    // The web view takes every key, yet Ctrl+PageUp in it leads back to the source page
    // and its editor, so a keyboard never stays trapped in the preview.
    QWidget *page = view->focusProxy() ? view->focusProxy() : view;
    page->setFocus(Qt::OtherFocusReason);
    QTRY_VERIFY(page->hasFocus());
    QTest::keyClick(page, Qt::Key_PageUp, Qt::ControlModifier);
    QCOMPARE(form.notebook()->currentIndex(), 0);
    QVERIFY(form.editor()->hasFocus());

    // Back to the source, edit, and again: the new text shows without anything else.
    form.notebook()->setCurrentIndex(0);
    form.editor()->clearAll();
    form.editor()->appendLine(QStringLiteral("<P>Druga wersja</P>"));
    form.notebook()->setCurrentIndex(1);
    QTRY_COMPARE_WITH_TIMEOUT(pageText(view), QStringLiteral("Druga wersja"), 60000);
    QFile file(Preview::filePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("<P>Druga wersja</P>"));

    // Refresh reloads the file as last written, not the editor's text.
    form.editor()->appendLine(QStringLiteral("<P>niezapisane</P>"));
    form.action("ToolButton36")->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(pageText(view), QStringLiteral("Druga wersja"), 60000);
    QCOMPARE(dialogs.errors.size(), 1);
}

void TestPreview::polishLettersTypedIntoANewPageShowUnchanged()
{
    ScriptedDialogs dialogs;
    const auto windows = openProgram(dialogs);
    MainWindow &form = windows->main();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.action("Plik1")->trigger(); // New: the page declares ISO-8859-2
    form.editor()->setFocus();
    form.editor()->setCursorPosition(10, form.editor()->line(10).size());
    // Typed key by key as a keyboard layout with Polish letters sends them.
    for (const QChar ch : QStringLiteral("Zażółć gęślą jaźń")) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(form.editor()->viewport(), &press);
        QApplication::sendEvent(form.editor()->viewport(), &release);
    }
    QCOMPARE(form.editor()->line(10), QStringLiteral(" <!--Tutaj jest miejsce na wpisanie treści dokumentu-->Zażółć gęślą jaźń"));
    form.notebook()->setCurrentIndex(1);
    QVERIFY2(dialogs.errors.isEmpty(), qPrintable(dialogs.errors.join('\n')));
    auto *view = form.findChild<QWebEngineView *>(QStringLiteral("WebBrowser1"));
    QVERIFY(view);
    QTRY_COMPARE_WITH_TIMEOUT(pageText(view), QStringLiteral("Zażółć gęślą jaźń"), 60000);
    // The preview file holds the letters as ISO-8859-2 bytes.
    QFile file(Preview::filePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("-->Za\xBF\xF3\xB3\xE6 g\xEA\xB6l\xB1 ja\xBC\xF1\r\n"));
}


namespace {

void writeImage(const QString &path, const QColor &colour)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage image(200, 200, QImage::Format_RGB32);
    image.fill(colour);
    QVERIFY(image.save(path, "PNG"));
}

} // namespace

void TestPreview::relativeReferencesFindTheFolderFiles_data()
{
    QTest::addColumn<QString>("folder"); // the file panel's, under the test folder
    QTest::addColumn<QString>("page");
    QTest::addColumn<QColor>("colour");
    const QString img = QStringLiteral("<HTML><BODY STYLE=\"margin:0\">%1<IMG SRC=\"%2\" WIDTH=200 HEIGHT=200></BODY></HTML>");
    QTest::newRow("an image beside the document")
        << "strona" << img.arg(QString(), "obrazki/kolor.png") << QColor(0, 200, 0);
    QTest::newRow("an image one folder up")
        << "strona/podstrona" << img.arg(QString(), "../obrazki/kolor.png") << QColor(0, 200, 0);
    QTest::newRow("a style sheet beside the document")
        << "strona" << QStringLiteral("<HTML><HEAD><LINK REL=\"stylesheet\" HREF=\"styl.css\"></HEAD><BODY></BODY></HTML>")
        << QColor(200, 0, 0);
    QTest::newRow("the document's own BASE HREF is kept")
        << "strona" << img.arg(QStringLiteral("<BASE HREF=\"%1/\">"), "obrazki/kolor.png") << QColor(0, 0, 200);
}

void TestPreview::relativeReferencesFindTheFolderFiles()
{
    QFETCH(QString, folder);
    QFETCH(QString, page);
    QFETCH(QColor, colour);
    QTemporaryDir site;
    writeImage(site.filePath("strona/obrazki/kolor.png"), QColor(0, 200, 0));
    writeImage(site.filePath("inne/obrazki/kolor.png"), QColor(0, 0, 200));
    QDir(site.path()).mkpath("strona/podstrona");
    QFile css(site.filePath("strona/styl.css"));
    QVERIFY(css.open(QIODevice::WriteOnly));
    css.write("html, body { margin: 0; background: rgb(200, 0, 0); }");
    css.close();
    if (page.contains("%1"))
        page = page.arg(QUrl::fromLocalFile(site.filePath("inne")).toString());

    ScriptedDialogs dialogs;
    const auto windows = openProgram(dialogs);
    MainWindow &form = windows->main();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.filePanel()->directoryList()->setDirectory(site.filePath(folder));
    form.editor()->clearAll();
    form.editor()->appendLine(page);
    form.notebook()->setCurrentIndex(1);
    QVERIFY2(dialogs.errors.isEmpty(), qPrintable(dialogs.errors.join('\n')));
    auto *view = form.findChild<QWebEngineView *>(QStringLiteral("WebBrowser1"));
    QVERIFY(view);
    QTRY_COMPARE_WITH_TIMEOUT(view->grab().toImage().pixelColor(50, 50), colour, 60000);
    // The preview file holds the document's bytes, nothing added.
    QFile file(Preview::filePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), form.editor()->encodedDocument());
    QCOMPARE(view->url(), QUrl::fromLocalFile(Preview::filePath()));
}

void TestPreview::livePreviewFollowsTheTextAndKeepsTheScroll()
{
    ScriptedDialogs dialogs;
    const auto windows = openProgram(dialogs);
    MainWindow &form = windows->main();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto *live = form.findChild<QCheckBox *>(QStringLiteral("Odswiezajnabiezaco1"));
    QVERIFY(live);
    QCOMPARE(live->text(), QStringLiteral("Odświeżaj na bieżąco"));
    QVERIFY(!live->isChecked());
    form.editor()->clearAll();
    for (int i = 0; i < 300; ++i)
        form.editor()->appendLine(QStringLiteral("<P>akapit %1</P>").arg(i));
    form.notebook()->setCurrentIndex(1);
    auto *view = form.findChild<QWebEngineView *>(QStringLiteral("WebBrowser1"));
    QVERIFY(view);
    QTRY_VERIFY_WITH_TIMEOUT(pageText(view).contains(QStringLiteral("akapit 299")), 60000);
    evaluate(view, QStringLiteral("window.scrollTo(0, 1500)"));
    QTRY_COMPARE_WITH_TIMEOUT(evaluate(view, QStringLiteral("window.scrollY")).toInt(), 1500, 10000);

    live->click();
    QVERIFY(live->isChecked());
    // A markup command while the preview page is shown: the page follows, where it was read.
    form.editor()->appendLine(QStringLiteral("<P>dopisany akapit</P>"));
    QTRY_VERIFY_WITH_TIMEOUT(pageText(view).contains(QStringLiteral("dopisany akapit")), 60000);
    QTRY_COMPARE_WITH_TIMEOUT(evaluate(view, QStringLiteral("window.scrollY")).toInt(), 1500, 10000);
    QVERIFY2(dialogs.errors.isEmpty(), qPrintable(dialogs.errors.join('\n')));
}

int main(int argc, char *argv[])
{
    // As in the program: nothing of the web engine is prepared before the first preview.
    QApplication app(argc, argv);
    TestPreview test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_preview.moc"
