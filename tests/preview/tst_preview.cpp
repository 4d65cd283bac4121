#include "app/AppWindows.h"
#include "app/MainWindow.h"
#include "preview/Preview.h"
#include "document/SourceEditor.h"
#include "support/ScriptedDialogs.h"

#include <QAction>
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

private:
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
    AppWindows windows;
    windows.setDialogs(&dialogs);
    MainWindow &form = windows.main();
    form.show();
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
    AppWindows windows;
    windows.setDialogs(&dialogs);
    MainWindow &form = windows.main();
    form.show();
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

int main(int argc, char *argv[])
{
    // As in the program: nothing of the web engine is prepared before the first preview.
    QApplication app(argc, argv);
    TestPreview test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_preview.moc"
