#include "app/AppWindows.h"
#include "app/MainWindow.h"
#include "controls/LocalLists.h"
#include "document/FilePanel.h"
#include "document/SourceEditor.h"
#include "preview/Preview.h"
#include "support/Files.h"
#include "support/Fixtures.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QKeyEvent>
#include <QTabWidget>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

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
    return evaluate(view, QStringLiteral("document.body ? document.body.innerText : ''")).toString();
}

// The page's text once it holds `part` (a busy machine may take long to load a page), or
// what it holds when the bound runs out: a failure is reported once, without waiting again.
QString textHolding(QWebEngineView *view, const QString &part)
{
    QString text;
    QTest::qWaitFor([&] { return (text = pageText(view)).contains(part); }, 60000);
    return text;
}

// The program with its main window.
struct Program
{
    ScriptedDialogs dialogs;
    std::unique_ptr<AppWindows> windows = openProgram(dialogs);
    MainWindow &form = windows->main();
    SourceEditor &editor = *form.editor();

    // Turns to the preview page: its web view, or null when an error box came up.
    QWebEngineView *showPreview()
    {
        form.notebook()->setCurrentIndex(1);
        return dialogs.errors.isEmpty() ? form.findChild<QWebEngineView *>(QStringLiteral("WebBrowser1")) : nullptr;
    }
};

void writeImage(const QString &path, const QColor &colour)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage image(200, 200, QImage::Format_RGB32);
    image.fill(colour);
    QVERIFY(image.save(path, "PNG"));
}

} // namespace

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
    QTemporaryDir m_dir;
};

void TestPreview::initTestCase()
{
    Preview::setFilePath(m_dir.filePath("TarnwickView.html"));
}

void TestPreview::switchingPagesShowsTheCurrentDocument()
{
    Program p;
    QVERIFY(QTest::qWaitForWindowExposed(&p.form));
    QVERIFY(!p.form.preview().hasView()); // nothing of the engine before the first page change
    p.form.action("ToolButton36")->trigger();
    QCOMPARE(p.dialogs.errors, QStringList{"Nie można odświeżyć: podgląd nie wyświetla jeszcze żadnej strony."});
    p.dialogs.errors.clear();

    // The page is one link that fills the view, so a click anywhere follows it.
    QTemporaryDir elsewhere; // outside the preview file's folder, whose other names lead to the document's
    const QString second = elsewhere.filePath("druga.html");
    writeFile(second, "<P>Druga strona</P>");
    setDocument(p.editor, {QStringLiteral("<HTML><BODY><A HREF=\"%1\" STYLE=\"position:fixed; inset:0\">Podgląd działa</A></BODY></HTML>")
                                   .arg(QUrl::fromLocalFile(second).toString())});
    QWebEngineView *view = p.showPreview();
    QVERIFY2(view, qPrintable(p.dialogs.errors.join('\n')));
    QVERIFY(p.form.preview().hasView());
    QCOMPARE(textHolding(view, QStringLiteral("Podgląd działa")), QStringLiteral("Podgląd działa"));
    QCOMPARE(view->url(), QUrl::fromLocalFile(Preview::filePath()));
    QCOMPARE(QAccessible::queryAccessibleInterface(view)->text(QAccessible::Name), QStringLiteral("Podgląd"));

    // Nothing to go back or forward to: the error box says so.
    p.form.action("ToolButton5")->trigger();
    p.form.action("ToolButton27")->trigger();
    QCOMPARE(p.dialogs.errors, QStringList({"Nie można cofnąć: w historii podglądu nie ma wcześniejszej strony.",
                                            "Nie można przejść dalej: w historii podglądu nie ma następnej strony."}));
    // The link clicked, then Wstecz and Dalej walk that history.
    QWidget *page = view->focusProxy() ? view->focusProxy() : view;
    QTest::mouseClick(page, Qt::LeftButton, {}, page->rect().center());
    QCOMPARE(textHolding(view, QStringLiteral("Druga strona")), QStringLiteral("Druga strona"));
    p.form.action("ToolButton5")->trigger();
    QCOMPARE(textHolding(view, QStringLiteral("Podgląd działa")), QStringLiteral("Podgląd działa"));
    p.form.action("ToolButton27")->trigger();
    QCOMPARE(textHolding(view, QStringLiteral("Druga strona")), QStringLiteral("Druga strona"));
    QCOMPARE(p.dialogs.errors.size(), 2);

    // The web view takes every key, yet Ctrl+PageUp in it leads back to the source page
    // and its editor, so a keyboard never stays trapped in the preview.
    page->setFocus(Qt::OtherFocusReason);
    QTRY_VERIFY(page->hasFocus());
    QTest::keyClick(page, Qt::Key_PageUp, Qt::ControlModifier);
    QCOMPARE(p.form.notebook()->currentIndex(), 0);
    QVERIFY(p.editor.hasFocus());

    // Edited on the source page and back: the new text shows without anything else.
    setDocument(p.editor, {"<P>Druga wersja</P>"});
    p.form.notebook()->setCurrentIndex(1);
    QCOMPARE(textHolding(view, QStringLiteral("Druga wersja")), QStringLiteral("Druga wersja"));
    QCOMPARE(readAll(Preview::filePath()), QByteArray("<P>Druga wersja</P>"));

    // Refresh reloads the file as last written, not the editor's text.
    p.editor.appendLine(QStringLiteral("<P>niezapisane</P>"));
    p.form.action("ToolButton36")->trigger();
    QCOMPARE(textHolding(view, QStringLiteral("Druga wersja")), QStringLiteral("Druga wersja"));
    QCOMPARE(p.dialogs.errors.size(), 2);
}

void TestPreview::polishLettersTypedIntoANewPageShowUnchanged()
{
    Program p;
    QVERIFY(QTest::qWaitForWindowExposed(&p.form));
    p.form.action("Plik1")->trigger(); // New: the page declares ISO-8859-2
    p.editor.setFocus();
    p.editor.setCursorPosition(10, p.editor.line(10).size());
    // Typed key by key as a keyboard layout with Polish letters sends them.
    for (const QChar ch : QStringLiteral("Zażółć gęślą jaźń")) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(p.editor.viewport(), &press);
        QApplication::sendEvent(p.editor.viewport(), &release);
    }
    QCOMPARE(p.editor.line(10), QStringLiteral(" <!--Tutaj jest miejsce na wpisanie treści dokumentu-->Zażółć gęślą jaźń"));
    QWebEngineView *view = p.showPreview();
    QVERIFY2(view, qPrintable(p.dialogs.errors.join('\n')));
    QCOMPARE(textHolding(view, QStringLiteral("Zażółć gęślą jaźń")), QStringLiteral("Zażółć gęślą jaźń"));
    // The preview file holds the letters as ISO-8859-2 bytes.
    QVERIFY(readAll(Preview::filePath()).contains("-->Za\xBF\xF3\xB3\xE6 g\xEA\xB6l\xB1 ja\xBC\xF1\r\n"));
}

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
    writeFile(site.filePath("strona/styl.css"), "html, body { margin: 0; background: rgb(200, 0, 0); }");
    if (page.contains("%1"))
        page = page.arg(QUrl::fromLocalFile(site.filePath("inne")).toString());

    Program p;
    QVERIFY(QTest::qWaitForWindowExposed(&p.form));
    p.form.filePanel()->directoryList()->setDirectory(site.filePath(folder));
    setDocument(p.editor, {page});
    QWebEngineView *view = p.showPreview();
    QVERIFY2(view, qPrintable(p.dialogs.errors.join('\n')));
    // Loading may take long on a busy machine; once loaded, the picture is drawn soon.
    QSignalSpy loaded(view, &QWebEngineView::loadFinished);
    QVERIFY(loaded.wait(60000));
    QTRY_COMPARE_WITH_TIMEOUT(view->grab().toImage().pixelColor(50, 50), colour, 10000);
    // The preview file stays where it is and holds the document's bytes, nothing added.
    QCOMPARE(readAll(Preview::filePath()), page.toLatin1());
    QCOMPARE(view->url(), QUrl::fromLocalFile(Preview::filePath()));
}

void TestPreview::livePreviewFollowsTheTextAndKeepsTheScroll()
{
    Program p;
    QVERIFY(QTest::qWaitForWindowExposed(&p.form));
    auto *live = control<QCheckBox>(&p.form, "Odswiezajnabiezaco1");
    QCOMPARE(live->text(), QStringLiteral("Odświeżaj na bieżąco"));
    QVERIFY(!live->isChecked());
    p.editor.clearAll();
    for (int i = 0; i < 300; ++i)
        p.editor.appendLine(QStringLiteral("<P>akapit %1</P>").arg(i));
    QWebEngineView *view = p.showPreview();
    QVERIFY2(view, qPrintable(p.dialogs.errors.join('\n')));
    QVERIFY(textHolding(view, QStringLiteral("akapit 299")).contains(QStringLiteral("akapit 299")));
    evaluate(view, QStringLiteral("window.scrollTo(0, 1500)"));
    QTRY_COMPARE_WITH_TIMEOUT(evaluate(view, QStringLiteral("window.scrollY")).toInt(), 1500, 10000);

    live->click();
    QVERIFY(live->isChecked());
    // A markup command while the preview page is shown: the page follows, where it was read.
    p.editor.appendLine(QStringLiteral("<P>dopisany akapit</P>"));
    QVERIFY(textHolding(view, QStringLiteral("dopisany akapit")).contains(QStringLiteral("dopisany akapit")));
    QTRY_COMPARE_WITH_TIMEOUT(evaluate(view, QStringLiteral("window.scrollY")).toInt(), 1500, 10000);
    QVERIFY2(p.dialogs.errors.isEmpty(), qPrintable(p.dialogs.errors.join('\n')));
}

int main(int argc, char *argv[])
{
    // As in the program: nothing of the web engine is prepared before the first preview.
    QApplication app(argc, argv);
    TestPreview test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_preview.moc"
