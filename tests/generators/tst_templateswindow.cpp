#include "controls/FreeButton.h"
#include "document/SourceEditor.h"
#include "generators/Templates.h"
#include "generators/TemplatesWindow.h"
#include "support/Fixtures.h"

#include <QApplication>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The button of the templates window that loads template `index`.
FreeButton *templateButton(const AppWindows &windows, int index)
{
    return control<FreeButton>(&windows.templates(), Templates::entries().at(index).button);
}

} // namespace

// The templates window: its six buttons load the pages from the current folder's "szablony",
// the data folder or the installed one.
class TestTemplatesWindow : public QObject
{
    Q_OBJECT
private slots:
    void templatesByKeyboard();
    void templatesLoadAndFallBack();
    void templateMissingEverywhere();
    void escapeLeavesTheTemplatesWindow();
    void templateFromDataFolder_data();
    void templateFromDataFolder();
};

void TestTemplatesWindow::templatesByKeyboard()
{
    ScriptedDialogs dialogs;
    AppWindows windows;
    windows.setDialogs(&dialogs);
    QTemporaryDir elsewhere;
    const CurrentFolder folder(elsewhere.path());
    windows.templates().show();
    QVERIFY(QTest::qWaitForWindowActive(&windows.templates()));
    QVERIFY(templateButton(windows, 0)->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QVERIFY(templateButton(windows, 1)->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QVERIFY2(dialogs.errors.isEmpty(), qPrintable(dialogs.errors.join('\n')));
    QVERIFY(!windows.templates().isVisible());
    QVERIFY(windows.main().editor()->documentText().contains("ISO-8859-2"));
    // Opened again, the first button has the focus again.
    windows.templates().show();
    QVERIFY(QTest::qWaitForWindowActive(&windows.templates()));
    QVERIFY(templateButton(windows, 0)->hasFocus());
}

void TestTemplatesWindow::templatesLoadAndFallBack()
{
    ScriptedDialogs dialogs;
    AppWindows windows;
    windows.setDialogs(&dialogs);
    QTemporaryDir elsewhere;
    const CurrentFolder folder(elsewhere.path()); // no "szablony" here: the bundled ones are used
    for (int i = 0; i < 6; ++i) {
        windows.main().editor()->appendLine("stare");
        QTest::mouseClick(templateButton(windows, i), Qt::LeftButton, {}, QPoint(10, 10));
        QVERIFY2(dialogs.errors.isEmpty(), qPrintable(dialogs.errors.join('\n')));
        const QString text = windows.main().editor()->documentText();
        QVERIFY(text.contains("ISO-8859-2"));
        QVERIFY(!text.contains("stare"));
        QVERIFY(!windows.main().editor()->isUndoAvailable());
        QCOMPARE(int(windows.main().editor()->encoding()), int(TextEncoding::Encoding::Iso88592));
        // What the page declares is what it holds: plain ASCII, Polish letters as entities.
        for (const QChar c : text)
            QVERIFY(c.unicode() < 128);
    }
    // A template of the user's own in "szablony" under the current folder wins; an empty one
    // leaves the editor empty.
    QDir(elsewhere.path()).mkdir("szablony");
    QFile own(elsewhere.filePath("szablony/galeria.html"));
    QVERIFY(own.open(QIODevice::WriteOnly));
    own.close();
    QTest::mouseClick(templateButton(windows, 1), Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(windows.main().editor()->lineCount(), 0);
}

void TestTemplatesWindow::templateMissingEverywhere()
{
    ScriptedDialogs dialogs;
    AppWindows windows;
    windows.setDialogs(&dialogs);
    QTemporaryDir elsewhere;
    const CurrentFolder folder(elsewhere.path());
    TemplatesWindow::setBundledFolders({elsewhere.filePath("nothing-here")});
    const auto restore = qScopeGuard([] { TemplatesWindow::setBundledFolders({}); });
    windows.templates().show();
    const QStringList before = windows.main().editor()->lines();
    QTest::mouseClick(templateButton(windows, 0), Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(dialogs.errors.size(), 1);
    QCOMPARE(dialogs.errors.first(),
             QStringLiteral("Cannot open file \"%1\". No such file or directory").arg(QDir::toNativeSeparators("szablony/Ankieta.html")));
    QVERIFY(windows.templates().isVisible());
    QCOMPARE(windows.main().editor()->lines(), before);
}

void TestTemplatesWindow::escapeLeavesTheTemplatesWindow()
{
    AppWindows windows;
    windows.templates().show();
    QVERIFY(QTest::qWaitForWindowExposed(&windows.templates()));
    const QStringList before = windows.main().editor()->lines();
    QTest::keyClick(&windows.templates(), Qt::Key_Escape);
    QVERIFY(!windows.templates().isVisible());
    QCOMPARE(windows.main().editor()->lines(), before);
}

void TestTemplatesWindow::templateFromDataFolder_data()
{
    QTest::addColumn<bool>("dataFolderHasIt");
    QTest::newRow("the data folder's copy wins over the bundled one") << true;
    QTest::newRow("a data folder without the file falls back to the bundled one") << false;
}

void TestTemplatesWindow::templateFromDataFolder()
{
    QFETCH(bool, dataFolderHasIt);
    ScriptedDialogs dialogs;
    AppWindows windows;
    windows.setDialogs(&dialogs);
    QTemporaryDir elsewhere;
    const CurrentFolder folder(elsewhere.path());
    QTemporaryDir data;
    QVERIFY(QDir(data.path()).mkdir("szablony"));
    if (dataFolderHasIt) {
        QFile own(data.filePath("szablony/Ankieta.html"));
        QVERIFY(own.open(QIODevice::WriteOnly));
        own.write("<P>z katalogu danych</P>\r\n");
    }
    qputenv("TARNWICK_DATA_DIR", QFile::encodeName(data.path()));
    const auto restore = qScopeGuard([] { qunsetenv("TARNWICK_DATA_DIR"); });
    QTest::mouseClick(templateButton(windows, 0), Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY2(dialogs.errors.isEmpty(), qPrintable(dialogs.errors.join('\n')));
    const QString text = windows.main().editor()->documentText();
    QCOMPARE(text.contains("z katalogu danych"), dataFolderHasIt);
    QCOMPARE(text.contains("ISO-8859-2"), !dataFolderHasIt);
}

QTEST_MAIN(TestTemplatesWindow)
#include "tst_templateswindow.moc"
