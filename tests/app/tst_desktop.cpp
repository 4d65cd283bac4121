#include "app/FileDrops.h"
#include "app/WindowState.h"
#include "controls/LocalLists.h"
#include "document/FilePanel.h"
#include "document/SourceEditor.h"
#include "support/Files.h"
#include "support/Fixtures.h"

#include <QFile>
#include <QMimeData>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

namespace {

// A drag from a file manager, or from another program with text, carried to its drop.
bool dragAndDrop(QWidget *target, QMimeData *mime)
{
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDragMoveEvent move(at, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    QDropEvent drop(at, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

QMimeData *files(const QStringList &paths)
{
    auto *mime = new QMimeData;
    QList<QUrl> urls;
    for (const QString &p : paths)
        urls << QUrl::fromLocalFile(p);
    mime->setUrls(urls);
    // File managers send the paths as text as well; the editor must not insert it.
    mime->setText(paths.join('\n'));
    return mime;
}

} // namespace

// The main window on the desktop: files named on the command line or dropped, and the
// window's size and place from one run to the next.
class TestDesktop : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void openPaths_data();
    void openPaths();
    void drops_data();
    void drops();
    void windowStateComesBack_data();
    void windowStateComesBack();

private:
    std::unique_ptr<AppWindows> m_windows;
    MainWindow *m_form = nullptr;
    ScriptedDialogs m_dialogs;
    QTemporaryDir m_dir;
    QString m_startDir = QDir::currentPath();
};

void TestDesktop::init()
{
    QDir::setCurrent(m_startDir);
    QDir(m_dir.path()).mkpath("strony");
    writeFile(m_dir.filePath("strony/strona.html"), "<P>pierwsza</P>\n<P>druga linia</P>");
    writeFile(m_dir.filePath("strony/inna.html"), "inna");
    writeFile(m_dir.filePath("pusty.txt"), "");
    m_windows = openProgram(m_dialogs);
    m_form = &m_windows->main();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
}

void TestDesktop::cleanup()
{
    m_windows.reset();
    QDir::setCurrent(m_startDir);
}

void TestDesktop::openPaths_data()
{
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<QStringList>("document");
    QTest::addColumn<QString>("folder");   // the file panel's, relative to the test folder
    QTest::addColumn<QString>("selected"); // in the file list
    QTest::addColumn<bool>("onlyFirst");   // the status bar says only the first was opened
    QTest::addColumn<int>("errors");
    const QStringList loaded{"<P>pierwsza</P>", "<P>druga linia</P>"};
    QTest::newRow("one file: loaded, its folder shown and made current")
        << QStringList{"strony/strona.html"} << loaded << "strony" << "strona.html" << false << 0;
    QTest::newRow("several files: the first loaded, the status bar says so")
        << QStringList{"strony/strona.html", "strony/inna.html"} << loaded << "strony" << "strona.html" << true << 0;
    QTest::newRow("a missing file: the error box, the default document kept")
        << QStringList{"strony/brak.html"} << kDefaultDocument << "" << "" << false << 1;
    QTest::newRow("a folder: the file panel opens it")
        << QStringList{"strony"} << kDefaultDocument << "strony" << "" << false << 0;
}

void TestDesktop::openPaths()
{
    QFETCH(QStringList, paths);
    QFETCH(QStringList, document);
    QFETCH(QString, folder);
    QFETCH(QString, selected);
    QFETCH(bool, onlyFirst);
    QFETCH(int, errors);
    const QString startFolder = m_form->filePanel()->folder();
    QStringList absolute;
    for (const QString &p : paths)
        absolute << m_dir.filePath(p);
    m_form->openPaths(absolute, true);

    QCOMPARE(m_dialogs.errors.size(), errors);
    QCOMPARE(m_form->editor()->lines(), document);
    const QString expectedFolder = folder.isEmpty() ? startFolder : m_dir.filePath(folder);
    QCOMPARE(canonical(m_form->filePanel()->folder()), canonical(expectedFolder));
    QCOMPARE(canonical(QDir::currentPath()), canonical(expectedFolder));
    QCOMPARE(m_form->filePanel()->fileList()->selectedName(), selected);
    QCOMPARE(m_form->statusBar()->currentMessage(),
             onlyFirst ? QStringLiteral("Otwarto tylko pierwszy plik, strona.html: Tarnwick edytuje jeden dokument naraz.") : QString());
}

void TestDesktop::drops_data()
{
    QTest::addColumn<bool>("onEditor");
    QTest::addColumn<QString>("dropped"); // a path relative to the test folder, or text
    QTest::addColumn<bool>("isText");
    QTest::addColumn<QString>("lineTen"); // the default document's line 10 after the drop
    QTest::addColumn<QString>("folder");
    QTest::newRow("a file on the window loads like Open") << false << "strony/inna.html" << false << "" << "";
    QTest::newRow("a file on the editor loads like Open") << true << "strony/inna.html" << false << "" << "";
    QTest::newRow("a folder on the window moves the file panel") << false << "strony" << false << "-" << "strony";
    QTest::newRow("a folder on the editor moves the file panel") << true << "strony" << false << "-" << "strony";
    QTest::newRow("text on the editor is inserted as text") << true << "wklejone" << true << "wklejone" << "";
    // Links dragged from a browser: one web address among them and no file of the drop loads.
    QTest::newRow("a web address with a file loads nothing") << true << "http://example.com/a.html" << true << "-" << "";
}

void TestDesktop::drops()
{
    QFETCH(bool, onEditor);
    QFETCH(QString, dropped);
    QFETCH(bool, isText);
    QFETCH(QString, lineTen);
    QFETCH(QString, folder);
    const QString startFolder = m_form->filePanel()->folder();
    QWidget *target = onEditor ? m_form->editor()->viewport() : static_cast<QWidget *>(m_form);
    QMimeData *mime = nullptr;
    if (isText) {
        mime = new QMimeData;
        if (dropped.startsWith("http"))
            mime->setUrls({QUrl::fromLocalFile(m_dir.filePath("strony/inna.html")), QUrl(dropped)});
        mime->setText(dropped);
        m_form->editor()->setCursorPosition(10, 0);
    } else {
        mime = files({m_dir.filePath(dropped)});
    }
    const std::unique_ptr<QMimeData> owner(mime);
    QVERIFY(dragAndDrop(target, mime));
    QVERIFY2(m_dialogs.errors.isEmpty(), qPrintable(m_dialogs.errors.join('\n')));

    if (lineTen.isEmpty())
        QCOMPARE(m_form->editor()->lines(), QStringList{"inna"});
    else if (lineTen == QLatin1String("-"))
        QCOMPARE(m_form->editor()->lines(), kDefaultDocument);
    else
        QVERIFY2(m_form->editor()->text().contains(lineTen), qPrintable(m_form->editor()->text()));
    const QString expectedFolder = folder.isEmpty() ? startFolder : m_dir.filePath(folder);
    QCOMPARE(canonical(m_form->filePanel()->folder()), canonical(expectedFolder));
}

void TestDesktop::windowStateComesBack_data()
{
    QTest::addColumn<bool>("firstRun");
    QTest::addColumn<bool>("maximised");
    QTest::newRow("the first run is maximised") << true << true;
    QTest::newRow("a window left maximised comes back maximised") << false << true;
    QTest::newRow("a window left at a size and place comes back there") << false << false;
}

void TestDesktop::windowStateComesBack()
{
    QFETCH(bool, firstRun);
    QFETCH(bool, maximised);
    QSettings(QStringLiteral("Tarnwick"), QStringLiteral("Tarnwick")).remove(QStringLiteral("MainWindow"));
    const QRect placed(60, 70, 1000, 800); // above the window's minimum size
    if (!firstRun) {
        if (maximised) {
            m_form->showMaximized();
        } else {
            m_form->showNormal();
            m_form->setGeometry(placed);
        }
        QVERIFY(m_form->close());
    }

    m_windows.reset();
    m_windows = openProgram(m_dialogs);
    m_form = &m_windows->main();
    m_form->hide();
    WindowState::show(*m_form);
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
    QCOMPARE(m_form->isMaximized(), maximised);
    if (!maximised)
        QCOMPARE(m_form->geometry(), placed);
}

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
