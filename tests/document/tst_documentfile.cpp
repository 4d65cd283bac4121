#include "core/Failure.h"
#include "document/DocumentFile.h"
#include "support/Files.h"
#include "support/WithoutFilePrivilege.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// Writes `bytes` through DocumentFile::write, then refuses them if `refusal` is given; the
// message of its failure, or empty.
QString save(const QString &path, const QByteArray &bytes, const QString &refusal = QString())
{
    try {
        DocumentFile::write(path, [&](const std::function<bool(const char *, std::size_t)> &append) {
            append(bytes.constData(), std::size_t(bytes.size()));
            return refusal.isNull() ? std::nullopt : std::optional<QString>(refusal);
        });
        return QString();
    } catch (const Failure &f) {
        return f.message();
    }
}

QString load(const QString &path, QByteArray *bytes = nullptr)
{
    try {
        const DocumentFile::Contents c = DocumentFile::read(path);
        if (bytes)
            *bytes = QByteArray(c.bytes->data(), qsizetype(c.size));
        return QString();
    } catch (const Failure &f) {
        return f.message();
    }
}

// Makes a special file of a kind in the folder; its path.
QString makeSpecial(const QTemporaryDir &dir, const QString &kind)
{
    const QString path = dir.filePath(kind);
    const QByteArray name = QFile::encodeName(path);
    if (kind == QLatin1String("fifo")) {
        mkfifo(name.constData(), 0600);
    } else if (kind == QLatin1String("socket")) {
        const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        qstrncpy(address.sun_path, name.constData(), sizeof address.sun_path);
        bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address);
        ::close(fd);
    } else if (kind == QLatin1String("link to a device")) {
        QFile::link(QStringLiteral("/dev/zero"), path);
    } else if (kind == QLatin1String("link to a fifo")) {
        mkfifo(QFile::encodeName(dir.filePath("target-fifo")).constData(), 0600);
        QFile::link(dir.filePath("target-fifo"), path);
    } else if (kind == QLatin1String("folder")) {
        QDir(dir.path()).mkdir(kind);
    }
    return path;
}

} // namespace

class TestDocumentFile : public QObject
{
    Q_OBJECT
private slots:
    void onlyRegularFilesAreReadOrReplaced_data();
    void onlyRegularFilesAreReadOrReplaced();
    void regularFilesAndLinksToThemAreRead();
    void filesOverOneGibibyteAreRefused();
    void ownerAndModeAreKept();
    void aFolderWithoutRoomForATemporaryFileIsWrittenInPlace();
    void aFailedWriteSaysWhyAndKeepsTheOldFile();
    void aRefusalWritesNothing();
};

void TestDocumentFile::onlyRegularFilesAreReadOrReplaced_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message"); // %1: the path
    const QString special = QStringLiteral("„%1” nie jest zwykłym plikiem, lecz folderem, potokiem, urządzeniem lub "
                                           "gniazdem. Tarnwick otwiera i zapisuje tylko zwykłe pliki.");
    // A pipe would block a plain open for ever: the test would hang instead of failing.
    QTest::newRow("pipe") << "fifo" << special;
    QTest::newRow("socket") << "socket" << special;
    QTest::newRow("link to /dev/zero") << "link to a device" << special;
    QTest::newRow("link to a pipe") << "link to a fifo" << special;
    QTest::newRow("folder") << "folder" << QStringLiteral("Cannot open file \"%1\". Is a directory");
    QTest::newRow("missing") << "missing" << QStringLiteral("Cannot open file \"%1\". No such file or directory");
}

void TestDocumentFile::onlyRegularFilesAreReadOrReplaced()
{
    QFETCH(QString, kind);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString path = makeSpecial(dir, kind);
    QCOMPARE(load(path), message.arg(path));
    if (!message.startsWith(QStringLiteral("„")))
        return; // a folder or a missing file, no special one
    // A save refuses it too, and leaves it what it was.
    QCOMPARE(save(path, "<P>"), message.arg(path));
    struct stat st {};
    QCOMPARE(stat(QFile::encodeName(path).constData(), &st), 0);
    QVERIFY(!S_ISREG(st.st_mode));
}

void TestDocumentFile::regularFilesAndLinksToThemAreRead()
{
    QTemporaryDir dir;
    const QByteArray bytes("a\0b\r\nzażółć", 14);
    writeFile(dir.filePath("page.html"), bytes);
    QVERIFY(QFile::link(dir.filePath("page.html"), dir.filePath("link.html")));
    for (const char *name : {"page.html", "link.html"}) {
        QByteArray got;
        QCOMPARE(load(dir.filePath(name), &got), QString());
        QCOMPARE(got, bytes);
    }
    // A kernel file tells no size; what it gives is read all the same.
    QByteArray status;
    QCOMPARE(load(QStringLiteral("/proc/self/status"), &status), QString());
    QVERIFY(status.startsWith("Name:"));
}

void TestDocumentFile::filesOverOneGibibyteAreRefused()
{
    // The bound itself, without reading a gibibyte.
    QVERIFY(DocumentFile::withinSizeLimit(1073741824));
    QVERIFY(!DocumentFile::withinSizeLimit(1073741825));
    // A file over it is refused before anything is read (sparse: it takes no room on disk).
    QTemporaryDir dir;
    const QString path = dir.filePath("big.html");
    writeFile(path, "");
    QVERIFY(QFile::resize(path, 1073741825));
    QCOMPARE(load(path), QStringLiteral("Plik „%1” ma 1024 MB; Tarnwick otwiera pliki do 1024 MB.").arg(path));
}

void TestDocumentFile::ownerAndModeAreKept()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("page.html");
    writeFile(path, "stare");
    const QByteArray name = QFile::encodeName(path);
    QCOMPARE(chmod(name.constData(), 0640), 0);
    const bool root = geteuid() == 0;
    if (root)
        QCOMPARE(chown(name.constData(), 65534, 65534), 0);
    QCOMPARE(save(path, "nowe"), QString());
    QCOMPARE(readAll(path), QByteArray("nowe"));
    struct stat st {};
    QCOMPARE(stat(name.constData(), &st), 0);
    QCOMPARE(st.st_mode & 07777, 0640u);
    QCOMPARE(st.st_uid, root ? uid_t(65534) : geteuid());
}

void TestDocumentFile::aFolderWithoutRoomForATemporaryFileIsWrittenInPlace()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("locked");
    QVERIFY(QDir(dir.path()).mkdir("locked"));
    const QString path = folder + QStringLiteral("/page.html");
    writeFile(path, "stare");
    // No new file can be made in the folder; the file in it stays writable.
    QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const auto unlock = qScopeGuard(
        [&] { QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner); });
    const WithoutFilePrivilege asAUser;
    QVERIFY(!QFile(folder + QStringLiteral("/probe")).open(QIODevice::WriteOnly));
    QCOMPARE(save(path, "nowe"), QString());
    QCOMPARE(readAll(path), QByteArray("nowe"));
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{"page.html"});
}

void TestDocumentFile::aFailedWriteSaysWhyAndKeepsTheOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("page.html");
    writeFile(path, "stare");
    // A file size limit makes the write fail as a full disk would, with the system's reason.
    rlimit before {};
    getrlimit(RLIMIT_FSIZE, &before);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = before;
    small.rlim_cur = 4096;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    const QString message = save(path, QByteArray(100000, 'x'));
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, previousHandler);
    QCOMPARE(message, QStringLiteral("Cannot create file \"%1\". File too large").arg(path));
    QCOMPARE(readAll(path), QByteArray("stare"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"page.html"});
}

void TestDocumentFile::aRefusalWritesNothing()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("page.html");
    writeFile(path, "stare");
    QCOMPARE(save(path, "nowe", QStringLiteral("znak nie pasuje")), QStringLiteral("znak nie pasuje"));
    QCOMPARE(readAll(path), QByteArray("stare"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"page.html"});
}

QTEST_APPLESS_MAIN(TestDocumentFile)
#include "tst_documentfile.moc"
