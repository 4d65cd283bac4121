#include "controls/FreeButton.h"
#include "document/SourceEditor.h"
#include "generators/Templates.h"
#include "generators/TemplatesWindow.h"
#include "support/Files.h"
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
    void init();
    void cleanup();
    void templatesByKeyboard();
    void templatesLoadAndFallBack_data();
    void templatesLoadAndFallBack();
    void templateMissingEverywhere();
    void escapeLeavesTheTemplatesWindow();
    void templateFromDataFolder_data();
    void templateFromDataFolder();

private:
    // Each test runs in a folder of its own, without a "szablony" unless it makes one.
    std::unique_ptr<QTemporaryDir> m_elsewhere;
    std::unique_ptr<CurrentFolder> m_folder;
    std::unique_ptr<AppWindows> m_windows;
    ScriptedDialogs m_dialogs;
};

void TestTemplatesWindow::init()
{
    m_elsewhere = std::make_unique<QTemporaryDir>();
    m_folder = std::make_unique<CurrentFolder>(m_elsewhere->path());
    m_dialogs = ScriptedDialogs();
    m_windows = std::make_unique<AppWindows>();
    m_windows->setDialogs(&m_dialogs);
}

void TestTemplatesWindow::cleanup()
{
    m_windows.reset();
    m_folder.reset();
    m_elsewhere.reset();
}

void TestTemplatesWindow::templatesByKeyboard()
{
    m_windows->templates().show();
    QVERIFY(QTest::qWaitForWindowActive(&m_windows->templates()));
    QVERIFY(templateButton(*m_windows, 0)->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QVERIFY(templateButton(*m_windows, 1)->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QVERIFY2(m_dialogs.errors.isEmpty(), qPrintable(m_dialogs.errors.join('\n')));
    QVERIFY(!m_windows->templates().isVisible());
    QVERIFY(m_windows->main().editor()->documentText().contains("ISO-8859-2"));
    // Opened again, the first button has the focus again.
    m_windows->templates().show();
    QVERIFY(QTest::qWaitForWindowActive(&m_windows->templates()));
    QVERIFY(templateButton(*m_windows, 0)->hasFocus());
}

void TestTemplatesWindow::templatesLoadAndFallBack_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QRgb>("background");
    QTest::addColumn<int>("left");
    QTest::newRow("ANKIETA") << "FreeButton1" << "Ankieta.html" << qRgb(192, 192, 192) << 16;
    QTest::newRow("GALERIA") << "FreeButton2" << "galeria.html" << qRgb(236, 233, 216) << 144;
    QTest::newRow("LINKI") << "FreeButton3" << "linki1.html" << qRgb(236, 233, 216) << 272;
    QTest::newRow("PRZENIESIONA") << "FreeButton4" << "przeniesiony.html" << qRgb(236, 233, 216) << 400;
    QTest::newRow("RAMKI PION.") << "FreeButton5" << "ramki1.html" << qRgb(236, 233, 216) << 528;
    QTest::newRow("RAMKI POZ.") << "FreeButton6" << "ramki2.html" << qRgb(236, 233, 216) << 656;
}

void TestTemplatesWindow::templatesLoadAndFallBack()
{
    QFETCH(QString, button);
    QFETCH(QString, file);
    QFETCH(QRgb, background);
    QFETCH(int, left);
    auto *b = control<FreeButton>(&m_windows->templates(), button.toLatin1());
    QCOMPARE(b->Caption(), QString::fromLatin1(QTest::currentDataTag()));
    // A deep blue face (TColor 9981440) with white Verdana of 13 pixels, in a row.
    QCOMPARE(b->DrawColor(), Colors::TColor(9981440));
    QCOMPARE(b->FontColor(), Colors::TColor(0xFFFFFF));
    QCOMPARE(b->Font().family() + QString::number(b->Font().pixelSize()), QStringLiteral("Verdana13"));
    QCOMPARE(b->geometry(), QRect(left, 16, 121, 41));
    // The button's corner, outside its face, shows its background.
    QCOMPARE(b->grab().toImage().pixel(0, 0), background);
    m_windows->main().editor()->appendLine("stare");
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY2(m_dialogs.errors.isEmpty(), qPrintable(m_dialogs.errors.join('\n')));
    const QString text = m_windows->main().editor()->documentText();
    QCOMPARE(text.toLatin1(), readAll(QStringLiteral(TARNWICK_TESTS_DIR "/../szablony/") + file));
    QVERIFY(text.contains("ISO-8859-2"));
    QVERIFY(!m_windows->main().editor()->isUndoAvailable());
    QCOMPARE(int(m_windows->main().editor()->encoding()), int(TextEncoding::Encoding::Iso88592));
    // What the page declares is what it holds: plain ASCII, Polish letters as entities.
    for (const QChar c : text)
        QVERIFY(c.unicode() < 128);
    // A template of the user's own in "szablony" under the current folder wins; an empty one
    // leaves the editor empty.
    QDir(m_elsewhere->path()).mkdir("szablony");
    writeFile(m_elsewhere->filePath("szablony/" + file), QByteArray());
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(m_windows->main().editor()->lineCount(), 0);
}

void TestTemplatesWindow::templateMissingEverywhere()
{
    TemplatesWindow::setBundledFolders({m_elsewhere->filePath("nothing-here")});
    const auto restore = qScopeGuard([] { TemplatesWindow::setBundledFolders({}); });
    m_windows->templates().show();
    const QStringList before = m_windows->main().editor()->lines();
    QTest::mouseClick(templateButton(*m_windows, 0), Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(m_dialogs.errors.size(), 1);
    QCOMPARE(m_dialogs.errors.first(),
             QStringLiteral("Cannot open file \"%1\". No such file or directory").arg(QDir::toNativeSeparators("szablony/Ankieta.html")));
    QVERIFY(m_windows->templates().isVisible());
    QCOMPARE(m_windows->main().editor()->lines(), before);
}

void TestTemplatesWindow::escapeLeavesTheTemplatesWindow()
{
    m_windows->templates().show();
    QVERIFY(QTest::qWaitForWindowExposed(&m_windows->templates()));
    const QStringList before = m_windows->main().editor()->lines();
    QTest::keyClick(&m_windows->templates(), Qt::Key_Escape);
    QVERIFY(!m_windows->templates().isVisible());
    QCOMPARE(m_windows->main().editor()->lines(), before);
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
    QTemporaryDir data;
    QVERIFY(QDir(data.path()).mkdir("szablony"));
    if (dataFolderHasIt)
        writeFile(data.filePath("szablony/Ankieta.html"), "<P>z katalogu danych</P>\r\n");
    qputenv("TARNWICK_DATA_DIR", QFile::encodeName(data.path()));
    const auto restore = qScopeGuard([] { qunsetenv("TARNWICK_DATA_DIR"); });
    QTest::mouseClick(templateButton(*m_windows, 0), Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY2(m_dialogs.errors.isEmpty(), qPrintable(m_dialogs.errors.join('\n')));
    const QString text = m_windows->main().editor()->documentText();
    QCOMPARE(text.contains("z katalogu danych"), dataFolderHasIt);
    QCOMPARE(text.contains("ISO-8859-2"), !dataFolderHasIt);
}

QTEST_MAIN(TestTemplatesWindow)
#include "tst_templateswindow.moc"
