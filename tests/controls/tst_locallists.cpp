#include "controls/LocalLists.h"
#include "document/DocumentRules.h"
#include "document/FilePanel.h"
#include "document/SourceEditor.h"
#include "support/Files.h"
#include "support/Fixtures.h"
#include "support/WithoutFilePrivilege.h"

#include <QFile>
#include <QProcess>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Changes the disk from another process, as a file manager or another editor would.
void shell(const QString &script, const QString &folder)
{
    QProcess p;
    p.setWorkingDirectory(folder);
    p.start(QStringLiteral("sh"), {QStringLiteral("-c"), script});
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(p.exitCode(), 0);
}

QStringList rows(const QListWidget *list)
{
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names << list->item(i)->text().trimmed();
    return names;
}

} // namespace

// The drive box, folder list and file list of the file panel, in the running main window.
class TestLocalLists : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void fileListFollowsTheDisk_data();
    void fileListFollowsTheDisk();
    void folderListFollowsTheDisk();
    void listsKeepTheirPlaceWhenTheDiskChanges();
    void filtersListTheirFiles_data();
    void filtersListTheirFiles();
    void focusArrivingLoadsNothing_data();
    void focusArrivingLoadsNothing();
    void driveOpensItsOwnCurrentFolder();
    void vanishedFolderMovesToTheNearestOneLeft_data();
    void vanishedFolderMovesToTheNearestOneLeft();
    void lockedFolderIsRefusedByName();
    void eitherEnterOrADoubleClickOpensAFolder_data();
    void eitherEnterOrADoubleClickOpensAFolder();

private:
    FilePanel *panel() const { return m_form->filePanel(); }
    QStringList document() const { return m_form->editor()->lines(); }

    std::unique_ptr<AppWindows> m_windows;
    MainWindow *m_form = nullptr;
    ScriptedDialogs m_dialogs;
    QString m_startDir = QDir::currentPath();
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestLocalLists::init()
{
    QDir::setCurrent(m_startDir);
    m_dir = std::make_unique<QTemporaryDir>();
    writeFile(m_dir->filePath("a.html"), "A");
    writeFile(m_dir->filePath("b.html"), "B");
    writeFile(m_dir->filePath("c.html"), "C");
    m_windows = openProgram(m_dialogs);
    m_form = &m_windows->main();
    QVERIFY(QTest::qWaitForWindowActive(m_form));
    panel()->directoryList()->setDirectory(m_dir->path());
}

void TestLocalLists::cleanup()
{
    m_windows.reset();
    QDir::setCurrent(m_startDir);
    m_dir.reset();
}

void TestLocalLists::fileListFollowsTheDisk_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("a file created appears") << "printf N > nowy.html" << QStringList{"a.html", "b.html", "c.html", "nowy.html"};
    QTest::newRow("a file deleted disappears") << "rm c.html" << QStringList{"a.html", "b.html"};
    QTest::newRow("a file renamed moves") << "mv a.html z.html" << QStringList{"b.html", "c.html", "z.html"};
    QTest::newRow("capitals sort with their letters") << "mv a.html Bz.html" << QStringList{"b.html", "Bz.html", "c.html"};
    QTest::newRow("a save by rename over the file keeps it once")
        << "printf X > .tmp && mv .tmp c.html" << QStringList{"a.html", "b.html", "c.html"};
    QTest::newRow("a file outside the mask stays out") << "printf T > t.txt" << QStringList{"a.html", "b.html", "c.html"};
    QTest::newRow("pipes and links to devices stay out, links to files come in")
        << "mkfifo rura.html && ln -s /dev/zero zero.html && ln -s a.html link.html"
        << QStringList{"a.html", "b.html", "c.html", "link.html"};
}

void TestLocalLists::fileListFollowsTheDisk()
{
    QFETCH(QString, script);
    QFETCH(QStringList, expected);
    FileListBox *files = panel()->fileList();
    files->setCurrentItem(files->findItems("b.html", Qt::MatchExactly).first());
    QCOMPARE(document(), QStringList{"B"});
    m_form->editor()->appendLine(QStringLiteral("niezapisane"));
    const QStringList before = document();
    QSignalSpy chosen(panel(), &FilePanel::fileChosen);

    shell(script, m_dir->path());
    QTRY_COMPARE_WITH_TIMEOUT(rows(files), expected, 1000);
    // The selection stays where it was, and following the disk never loads a file.
    QCOMPARE(files->selectedName(), QStringLiteral("b.html"));
    QCOMPARE(chosen.count(), 0);
    QCOMPARE(document(), before);
    QVERIFY(m_dialogs.errors.isEmpty());
}

// Both lists keep where they were scrolled to, and the chosen folder, when the disk changes.
void TestLocalLists::listsKeepTheirPlaceWhenTheDiskChanges()
{
    for (int i = 0; i < 80; ++i) {
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("k%1").arg(i, 2, 10, QLatin1Char('0'))));
        writeFile(m_dir->filePath(QStringLiteral("p%1.html").arg(i, 2, 10, QLatin1Char('0'))), "P");
    }
    DirectoryListBox *dirs = panel()->directoryList();
    dirs->setDirectory(m_dir->path());
    const int rowsBefore = dirs->count();
    dirs->setCurrentRow(rowsBefore - 20);
    FileListBox *files = panel()->fileList();
    QCOMPARE(files->count(), 83);
    QTRY_VERIFY(files->verticalScrollBar()->maximum() > 0); // laid out
    for (QListWidget *list : std::initializer_list<QListWidget *>{dirs, files})
        list->verticalScrollBar()->setValue(list->verticalScrollBar()->maximum() / 2);
    const int dirScroll = dirs->verticalScrollBar()->value(), fileScroll = files->verticalScrollBar()->value();
    QVERIFY(dirScroll > 0 && fileScroll > 0);
    shell(QStringLiteral("mkdir zz && printf Z > zz.html"), m_dir->path());
    QTRY_COMPARE_WITH_TIMEOUT(dirs->count(), rowsBefore + 1, 1000);
    QTRY_COMPARE_WITH_TIMEOUT(files->count(), 84, 1000);
    QCOMPARE(dirs->verticalScrollBar()->value(), dirScroll);
    QCOMPARE(dirs->currentRow(), rowsBefore - 20);
    QCOMPARE(files->verticalScrollBar()->value(), fileScroll);
}

void TestLocalLists::filtersListTheirFiles_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("HTML") << "HTML (*.html)" << QStringList{"a.html", "b.html", "c.html"};
    QTest::newRow("HTM") << "HTM (*.htm)" << QStringList{"d.htm"};
    QTest::newRow("PHP") << "PHP (*.php)" << QStringList{"e.php"};
    QTest::newRow("CSS") << "CSS (*.css)" << QStringList{"f.css"};
    QTest::newRow("TXT") << "TXT (*.txt)" << QStringList{"g.txt"};
    QTest::newRow("all files")
        << "Wszystkie pliki (*.*)" << QStringList{"a.html", "b.html", "c.html", "d.htm", "e.php", "f.css", "g.txt", "README"};
}

void TestLocalLists::filtersListTheirFiles()
{
    QFETCH(QString, filter);
    QFETCH(QStringList, expected);
    for (const char *name : {"d.htm", "e.php", "f.css", "g.txt", "README"})
        writeFile(m_dir->filePath(name), "x");
    QComboBox *box = panel()->filterBox();
    const int index = box->findText(filter);
    QVERIFY(index >= 0);
    box->setCurrentIndex(index);
    emit box->activated(index);
    QTRY_COMPARE_WITH_TIMEOUT(rows(panel()->fileList()), expected, 1000);
}

void TestLocalLists::folderListFollowsTheDisk()
{
    DirectoryListBox *dirs = panel()->directoryList();
    const QString current = dirs->currentItem()->text();
    shell(QStringLiteral("mkdir podfolder Zdjecia css"), m_dir->path());
    QTRY_VERIFY_WITH_TIMEOUT(rows(dirs).contains(QStringLiteral("podfolder")), 1000);
    QCOMPARE(dirs->currentItem()->text(), current);
    // A tree: the root, each folder down to the current one two spaces deeper, its subfolders
    // two deeper still, in alphabetical order whatever their case.
    QStringList tree{"/"};
    for (const QString &name : dirs->directory().split('/', Qt::SkipEmptyParts))
        tree << QString(2 * tree.size(), ' ') + name;
    const QString indent(2 * tree.size(), ' ');
    tree << indent + "css" << indent + "podfolder" << indent + "Zdjecia";
    const auto shown = [dirs] {
        QStringList texts;
        for (int i = 0; i < dirs->count(); ++i)
            texts << dirs->item(i)->text();
        return texts;
    };
    QTRY_COMPARE_WITH_TIMEOUT(shown(), tree, 1000); // all three made, however the watcher groups them
    shell(QStringLiteral("rmdir podfolder Zdjecia css"), m_dir->path());
    QTRY_VERIFY_WITH_TIMEOUT(!rows(dirs).contains(QStringLiteral("podfolder")), 1000);
    QCOMPARE(canonical(QDir::currentPath()), canonical(m_dir->path()));
}

void TestLocalLists::focusArrivingLoadsNothing_data()
{
    QTest::addColumn<int>("how");
    QTest::newRow("Tab from the folder list, then the arrow keys load") << 0;
    QTest::newRow("window activation") << 1;
    QTest::newRow("click on the empty area") << 2;
    QTest::newRow("refill after another mask") << 3;
}

void TestLocalLists::focusArrivingLoadsNothing()
{
    QFETCH(int, how);
    FileListBox *files = panel()->fileList();
    switch (how) {
    case 0:
        panel()->directoryList()->setFocus();
        QTest::keyClick(panel()->directoryList(), Qt::Key_Tab);
        QTRY_VERIFY(files->hasFocus());
        break;
    case 1:
        files->setFocus(Qt::ActiveWindowFocusReason);
        break;
    case 2:
        QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, QPoint(10, files->viewport()->height() - 5));
        break;
    case 3:
        panel()->filterBox()->setCurrentIndex(5);
        emit panel()->filterBox()->activated(5);
        break;
    }
    // The document is unchanged, so any load would have replaced it.
    QCOMPARE(document(), kDefaultDocument);
    QCOMPARE(files->selectedName(), QString());
    if (how == 0) { // the first arrow key loads the first file, End the last
        QTest::keyClick(files, Qt::Key_Down);
        QCOMPARE(document(), QStringList{"A"});
        QTest::keyClick(files, Qt::Key_End);
        QCOMPARE(document(), QStringList{"C"});
    }
}

void TestLocalLists::driveOpensItsOwnCurrentFolder()
{
    // Two folders stand in for two drives: each keeps the folder last opened on it, and a
    // drive chosen again keeps its folder.
    QTemporaryDir other;
    QDir(other.path()).mkpath("deeper/still");
    QDir(m_dir->path()).mkdir("sub");
    DriveComboBox *drives = panel()->driveBox();
    drives->setDrives({m_dir->path(), other.path()});
    panel()->directoryList()->setDirectory(m_dir->filePath("sub"));
    QCOMPARE(drives->currentIndex(), 0);
    panel()->directoryList()->setDirectory(other.filePath("deeper/still"));
    QCOMPARE(drives->currentIndex(), 1);

    drives->setCurrentIndex(0);
    emit drives->activated(0);
    QCOMPARE(panel()->folder(), m_dir->filePath("sub"));
    QCOMPARE(canonical(QDir::currentPath()), canonical(m_dir->filePath("sub")));
    drives->setCurrentIndex(1);
    emit drives->activated(1);
    QCOMPARE(panel()->folder(), other.filePath("deeper/still"));
    QSignalSpy changed(panel()->directoryList(), &DirectoryListBox::directoryChanged);
    emit drives->activated(1);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(canonical(QDir::currentPath()), canonical(other.filePath("deeper/still")));
    // A drive whose name begins another folder's name does not hold that folder.
    QDir(m_dir->path()).mkpath("subx/y");
    drives->setDrives({m_dir->path(), other.path(), m_dir->filePath("sub")});
    panel()->directoryList()->setDirectory(m_dir->filePath("subx/y"));
    QCOMPARE(drives->currentIndex(), 0);
    panel()->directoryList()->setDirectory(m_dir->filePath("sub"));
    QCOMPARE(drives->currentIndex(), 2);
}

void TestLocalLists::vanishedFolderMovesToTheNearestOneLeft_data()
{
    QTest::addColumn<int>("how");
    QTest::newRow("noticed on the disk") << 0;
    QTest::newRow("another mask chosen") << 1;
    QTest::newRow("the vanished folder opened from the list") << 2;
    QTest::newRow("a file of the vanished folder chosen: one error, then the lists filled again") << 3;
}

void TestLocalLists::vanishedFolderMovesToTheNearestOneLeft()
{
    QFETCH(int, how);
    QDir(m_dir->path()).mkpath("x/y");
    writeFile(m_dir->filePath("x/y/w.html"), "W");
    panel()->directoryList()->setDirectory(m_dir->filePath("x/y"));
    QCOMPARE(rows(panel()->fileList()), QStringList{"w.html"});
    QCOMPARE(QDir(m_dir->filePath("x")).removeRecursively(), true);

    switch (how) {
    case 0:
        break;
    case 1:
        panel()->filterBox()->setCurrentIndex(5);
        emit panel()->filterBox()->activated(5);
        break;
    case 2: {
        DirectoryListBox *dirs = panel()->directoryList();
        dirs->setCurrentRow(dirs->count() - 1);
        dirs->setFocus();
        QTest::keyClick(dirs, Qt::Key_Return);
        break;
    }
    case 3:
        panel()->fileList()->setCurrentRow(0);
        QCOMPARE(m_dialogs.errors.size(), 1);
        QCOMPARE(document(), kDefaultDocument);
        panel()->fileList()->refill();
        break;
    }
    // The lists and the process's current folder agree, on the nearest folder that exists.
    QTRY_COMPARE_WITH_TIMEOUT(canonical(panel()->folder()), canonical(m_dir->path()), 1000);
    QCOMPARE(canonical(QDir::currentPath()), canonical(m_dir->path()));
    QCOMPARE(canonical(panel()->directoryList()->directory()), canonical(m_dir->path()));
    QVERIFY(rows(panel()->fileList()).contains(QStringLiteral("a.html")));
    QCOMPARE(m_dialogs.errors.size(), how == 3 ? 1 : 0);
}

void TestLocalLists::lockedFolderIsRefusedByName()
{
    const QString locked = m_dir->filePath("zamknięty");
    QVERIFY(QDir(m_dir->path()).mkdir("zamknięty"));
    const auto unlock = qScopeGuard([&] { QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner); });
    QVERIFY(QFile::setPermissions(locked, {}));
    DirectoryListBox *dirs = panel()->directoryList();
    dirs->setDirectory(m_dir->path());
    const QList<QListWidgetItem *> found = dirs->findItems(QStringLiteral("zamknięty"), Qt::MatchEndsWith);
    QCOMPARE(found.size(), 1);
    dirs->setCurrentItem(found.first());
    dirs->setFocus();
    {
        const WithoutFilePrivilege asAUser;
        QTest::keyClick(dirs, Qt::Key_Return);
    }
    QCOMPARE(m_dialogs.errors, QStringList{QStringLiteral("Nie można otworzyć folderu \"%1\": brak dostępu.").arg(locked)});
    QCOMPARE(canonical(QDir::currentPath()), canonical(m_dir->path()));
    QCOMPARE(canonical(panel()->folder()), canonical(m_dir->path()));
    QCOMPARE(rows(panel()->fileList()), (QStringList{"a.html", "b.html", "c.html"}));
}

void TestLocalLists::eitherEnterOrADoubleClickOpensAFolder_data()
{
    QTest::addColumn<int>("how");
    QTest::addColumn<bool>("opens");
    QTest::newRow("Enter") << 0 << true;
    QTest::newRow("keypad Enter") << 1 << true;
    QTest::newRow("a double click") << 2 << true;
    QTest::newRow("a single click only chooses it") << 3 << false;
}

void TestLocalLists::eitherEnterOrADoubleClickOpensAFolder()
{
    QFETCH(int, how);
    QFETCH(bool, opens);
    QVERIFY(QDir(m_dir->path()).mkdir("sub"));
    writeFile(m_dir->filePath("sub/s.html"), "S");
    DirectoryListBox *dirs = panel()->directoryList();
    dirs->setDirectory(m_dir->path());
    QListWidgetItem *sub = dirs->findItems(QStringLiteral("sub"), Qt::MatchEndsWith).first();
    const QPoint at = dirs->visualItemRect(sub).center();
    dirs->setFocus();
    switch (how) {
    case 0: dirs->setCurrentItem(sub); QTest::keyClick(dirs, Qt::Key_Return); break;
    case 1: dirs->setCurrentItem(sub); QTest::keyClick(dirs, Qt::Key_Enter, Qt::KeypadModifier); break;
    case 2: QTest::mouseClick(dirs->viewport(), Qt::LeftButton, {}, at); QTest::mouseDClick(dirs->viewport(), Qt::LeftButton, {}, at); break;
    case 3: QTest::mouseClick(dirs->viewport(), Qt::LeftButton, {}, at); break;
    }
    const QString expected = opens ? m_dir->filePath("sub") : m_dir->path();
    QCOMPARE(panel()->folder(), expected);
    QCOMPARE(canonical(QDir::currentPath()), canonical(expected));
    QCOMPARE(rows(panel()->fileList()), opens ? QStringList{"s.html"} : QStringList({"a.html", "b.html", "c.html"}));
}

QTEST_MAIN(TestLocalLists)
#include "tst_locallists.moc"
