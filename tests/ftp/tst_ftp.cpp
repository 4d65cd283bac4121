#include "controls/LocalLists.h"
#include "core/Failure.h"
#include "ftp/FtpClient.h"
#include "ftp/FtpCurl.h"
#include "ftp/FtpListing.h"
#include "ftp/FtpPanel.h"
#include "ftp/FtpPath.h"
#include "support/FtpFixture.h"
#include "support/FtpServer.h"
#include "support/ScriptedDialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QProgressBar>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QToolButton>

#include <fcntl.h>
#include <sys/stat.h>
#include <curl/curl.h>
#include <unistd.h>

using namespace FtpFixture;

namespace {

FtpClient::Login loginFor(const FtpServer &server, bool passive = true)
{
    FtpClient::Login l;
    l.host = server.address();
    l.user = QStringLiteral("tester");
    l.password = QStringLiteral("sekret");
    l.passive = passive;
    return l;
}

QStringList names(const QList<FtpListing::Entry> &entries)
{
    QStringList out;
    for (const FtpListing::Entry &e : entries)
        out << (e.folder ? e.name + '/' : e.name);
    return out;
}

QStringList rows(const QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

void selectRemote(FtpPanel &panel, const QString &text)
{
    const QList<QListWidgetItem *> found = remoteList(panel)->findItems(text, Qt::MatchExactly);
    QVERIFY2(!found.isEmpty(), qPrintable(text));
    remoteList(panel)->setCurrentItem(found.first());
    QVERIFY(control<QToolButton>(&panel, "aRemote")->isChecked());
}

} // namespace

class TestFtp : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void names_data();
    void names();
    void localNamesWithinTheFileSystemsLimits_data();
    void localNamesWithinTheFileSystemsLimits();
    void failureMessages_data();
    void failureMessages();
    void addresses_data();
    void addresses();
    void urlsCarryThePathAsBuilt();
    void listings_data();
    void listings();

    void transfersAreByteExact_data();
    void transfersAreByteExact();
    void listingWithoutMlsdTellsFoldersFromFiles();
    void wrongPasswordLeavesItDisconnected();
    void refusedOperationsKeepTheConnection();
    void downloadNeverOverwritesAndGetsTheUsualMode();
    void namesThatAreNotUtf8KeepTheirBytes();
    void endlessListingIsBounded();
    void timeOuts_data();
    void timeOuts();

    void panelConnectsCopiesAndDeletes();
    void panelReportsSelectionAndConnectionErrors();
    void panelRefusesNamesBeforeTransferring_data();
    void panelRefusesNamesBeforeTransferring();
    void panelBrowsesFolders();
    void panelLocalSideFollowsTheDisk();
    void stopEndsATransfer_data();
    void stopEndsATransfer();
    void closingWhileTheServerIsFrozen();
    void settingsAreRememberedWithoutThePassword();

private:
    QTemporaryDir m_server;
    QTemporaryDir m_local;
    QString m_startDir;
    ScriptedDialogs m_dialogs;
    // The one plain server of the tests that need no options and do not freeze it.
    std::unique_ptr<FtpServer> m_ftp;
};

void TestFtp::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    m_startDir = QDir::currentPath();
    m_ftp = std::make_unique<FtpServer>(m_server.path());
    QVERIFY(m_ftp->port() > 0);
}

void TestFtp::init()
{
    QDir(m_server.path()).removeRecursively();
    QDir().mkpath(m_server.path());
    QDir(m_local.path()).removeRecursively();
    QDir().mkpath(m_local.path());
    m_dialogs = ScriptedDialogs();
    QSettings(QStringLiteral("Tarnwick"), QStringLiteral("Tarnwick")).clear();
    QDir::setCurrent(m_local.path());
}

void TestFtp::cleanup()
{
    QDir::setCurrent(m_startDir);
}

// What the user reads for each way an operation can fail, for one host, file and reply.
void TestFtp::failureMessages_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("connecting");
    QTest::addColumn<QString>("message");
    QTest::newRow("host unknown") << int(CURLE_COULDNT_RESOLVE_HOST) << true << "Nie można odnaleźć hosta „serwer.example”.";
    QTest::newRow("no connection") << int(CURLE_COULDNT_CONNECT) << true << "Nie można połączyć się z serwerem „serwer.example”: odmowa";
    QTest::newRow("no answer to the connection") << int(CURLE_OPERATION_TIMEDOUT) << true
        << "Serwer „serwer.example” nie odpowiedział w ciągu 15 s od próby połączenia.";
    QTest::newRow("no answer later") << int(CURLE_OPERATION_TIMEDOUT) << false
        << "Serwer „serwer.example” nie odpowiada od 30 s; przerwano połączenie.";
    QTest::newRow("login refused") << int(CURLE_LOGIN_DENIED) << true << "Serwer odrzucił logowanie (odpowiedź 530). Sprawdź login i hasło.";
    QTest::newRow("no TLS") << int(CURLE_USE_SSL_FAILED) << true << "Serwer „serwer.example” nie obsługuje szyfrowania TLS (FTPS).";
    QTest::newRow("file not given") << int(CURLE_REMOTE_FILE_NOT_FOUND) << false << "Serwer nie wydał pliku strona.html (odpowiedź 530).";
    QTest::newRow("file not taken") << int(CURLE_UPLOAD_FAILED) << false << "Serwer nie przyjął pliku strona.html (odpowiedź 530).";
    QTest::newRow("access denied") << int(CURLE_REMOTE_ACCESS_DENIED) << false << "Serwer nie przyjął pliku strona.html (odpowiedź 530).";
    QTest::newRow("command refused") << int(CURLE_QUOTE_ERROR) << false << "Serwer odmówił wykonania polecenia dla strona.html: odmowa";
    QTest::newRow("connection broken") << int(CURLE_RECV_ERROR) << false << "Połączenie z serwerem zostało przerwane (odmowa).";
    QTest::newRow("anything else") << int(CURLE_BAD_FUNCTION_ARGUMENT) << false << "Błąd FTP: odmowa";
}

void TestFtp::failureMessages()
{
    QFETCH(int, code);
    QFETCH(bool, connecting);
    QFETCH(QString, message);
    FtpCurl::Outcome o;
    o.code = code;
    o.connecting = connecting;
    o.host = QStringLiteral("serwer.example");
    o.what = QStringLiteral("strona.html");
    o.reply = 530;
    o.detail = QStringLiteral("odmowa");
    QCOMPARE(FtpCurl::describe(o), message);
}

void TestFtp::names_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("problem"); // none for a usable name
    QTest::newRow("plain") << QByteArray("strona.html") << QString();
    QTest::newRow("Polish") << QByteArray("żółw.txt") << QString();
    QTest::newRow("colon is a Linux name") << QByteArray("a:b.txt") << QString();
    QTest::newRow("backslash is a Linux name") << QByteArray("a\\b.txt") << QString();
    QTest::newRow("leading dots") << QByteArray("..ukryty") << QString();
    QTest::newRow("dotfile") << QByteArray(".htaccess") << QString();
    QTest::newRow("parent") << QByteArray("..") << "Nazwa „..” nie wskazuje pliku w bieżącym folderze.";
    QTest::newRow("self") << QByteArray(".") << "Nazwa „.” nie wskazuje pliku w bieżącym folderze.";
    QTest::newRow("climbing") << QByteArray("../../x") << "Nazwa „../../x” zawiera znak „/” i wskazywałaby poza bieżący folder.";
    QTest::newRow("absolute") << QByteArray("/etc/x") << "Nazwa „/etc/x” zawiera znak „/” i wskazywałaby poza bieżący folder.";
    QTest::newRow("empty") << QByteArray() << "Nazwa „” nie wskazuje pliku w bieżącym folderze.";
    // Control characters are shown as "?" and told by their decimal code.
    QTest::newRow("CR LF starts a command") << QByteArray("a\r\nDELE b")
        << "Nazwa „a??DELE b” zawiera znak sterujący (kod 13); nie wysłano żadnego polecenia.";
    QTest::newRow("LF") << QByteArray("a\nb") << "Nazwa „a?b” zawiera znak sterujący (kod 10); nie wysłano żadnego polecenia.";
    QTest::newRow("NUL") << QByteArray("a\0b", 3) << "Nazwa „a?b” zawiera znak sterujący (kod 0); nie wysłano żadnego polecenia.";
    QTest::newRow("DEL") << QByteArray("a\x7f") << "Nazwa „a?” zawiera znak sterujący (kod 127); nie wysłano żadnego polecenia.";
}

void TestFtp::names()
{
    QFETCH(QByteArray, name);
    QFETCH(QString, problem);
    QCOMPARE(FtpPath::nameProblem(name).value_or(QString()), problem);
}

// A name is measured in bytes against the folder's limit of 255, a path against 4095.
void TestFtp::localNamesWithinTheFileSystemsLimits_data()
{
    QTest::addColumn<QString>("folder"); // under the test's local folder
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("refusal");
    const QString x60 = QString(60, QLatin1Char('x')) + QStringLiteral("…");
    QTest::newRow("255 bytes") << "" << QString(255, 'x') << "";
    QTest::newRow("256 bytes") << "" << QString(256, 'x')
        << "Nazwa „" + x60 + "” ma 256 bajtów, a system plików w folderze „%1” przyjmuje najwyżej 255. Nic nie pobrano.";
    QTest::newRow("128 Polish letters are 256 bytes") << "" << QString(128, QChar(0x017C))
        << "Nazwa „" + QString(60, QChar(0x017C)) + "…” ma 256 bajtów, a system plików w folderze „%1” przyjmuje najwyżej 255. "
                                                      "Nic nie pobrano.";
    // Folders of 200 bytes make up the rest: the whole path is 4095 or 4096 bytes long.
    QTest::newRow("a path of 4095 bytes") << "d" << "" << "";
    QTest::newRow("a path of 4096 bytes") << "d" << "x"
        << "Ścieżka „%2” ma 4096 bajtów, a system plików przyjmuje najwyżej 4095. Nic nie pobrano.";
}

void TestFtp::localNamesWithinTheFileSystemsLimits()
{
    QFETCH(QString, folder);
    QFETCH(QString, name);
    QFETCH(QString, refusal);
    QString path = m_local.filePath(name);
    if (!folder.isEmpty()) {
        QString deep = m_local.path();
        while (deep.size() + 201 < 4095 - 20)
            deep += QLatin1Char('/') + QString(200, 'd');
        path = deep + QLatin1Char('/') + QString(4095 - deep.size() - 1, 'f') + name;
        QCOMPARE(QFile::encodeName(path).size(), name.isEmpty() ? 4095 : 4096);
    }
    QString got;
    try {
        FtpCurl::refuseLongLocalName(path);
    } catch (const Failure &f) {
        got = f.message();
    }
    QCOMPARE(got, refusal.replace("%1", m_local.path()).replace("%2", path.left(60) + QStringLiteral("…")));
}

void TestFtp::addresses_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::newRow("name") << "serwer.pl" << "serwer.pl" << 21;
    QTest::newRow("name with port") << "serwer.pl:2121" << "serwer.pl" << 2121;
    QTest::newRow("IPv4 with port") << "192.0.2.7:2121" << "192.0.2.7" << 2121;
    QTest::newRow("IPv6 in brackets with port") << "[2001:db8::1]:2121" << "2001:db8::1" << 2121;
    QTest::newRow("IPv6 in brackets") << "[2001:db8::1]" << "2001:db8::1" << 21;
    QTest::newRow("bare IPv6") << "2001:db8::1" << "2001:db8::1" << 21;
    QTest::newRow("port out of range") << "serwer.pl:70000" << "serwer.pl:70000" << 21;
}

void TestFtp::addresses()
{
    QFETCH(QString, typed);
    QFETCH(QString, host);
    QFETCH(int, port);
    const FtpPath::Address a = FtpPath::parseAddress(typed, 21);
    QCOMPARE(a.host, host);
    QCOMPARE(a.port, port);
}

void TestFtp::urlsCarryThePathAsBuilt()
{
    using FtpPath::Protocol;
    QCOMPARE(FtpPath::join("/", "a.html"), QByteArray("//a.html"));
    QCOMPARE(FtpPath::url(Protocol::Ftp, {"example.com", 21}, "//a b.html"), QByteArray("ftp://example.com:21///a%20b.html"));
    QCOMPARE(FtpPath::url(Protocol::Ftps, {"2001:db8::1", 2121}, "/x"), QByteArray("ftp://[2001:db8::1]:2121//x"));
    QCOMPARE(FtpPath::url(Protocol::Sftp, {"example.com", 22}, "/home/a/%2e"), QByteArray("sftp://example.com:22/home/a/%252e"));
    QCOMPARE(FtpPath::url(Protocol::Ftp, {"h", 21}, "/\xb3\xf3"), QByteArray("ftp://h:21//%B3%F3"));
    QCOMPARE(FtpPath::parent("/a/b"), QByteArray("/a"));
    QCOMPARE(FtpPath::parent("/a"), QByteArray("/"));
    QCOMPARE(FtpPath::child("/", "a"), QByteArray("/a"));
}

void TestFtp::listings_data()
{
    QTest::addColumn<QByteArray>("mlsd");
    QTest::addColumn<QByteArray>("names");
    QTest::addColumn<QByteArray>("longListing");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("MLSD: folders first, no line without a name")
        << QByteArray("type=file;size=1; b.txt\r\ntype=dir; zdjęcia\r\ntype=cdir; .\r\ntype=pdir; ..\r\n"
                      "type=file;size=1; \r\nType=File; A b.txt\r\n")
        << QByteArray() << QByteArray() << QStringList{"zdjęcia/", "A b.txt", "b.txt"};
    QTest::newRow("names with a Unix long listing")
        << QByteArray() << QByteArray("css\r\nindex.html\r\nlink\r\n")
        << QByteArray("drwxr-xr-x 2 u g 4096 Jan 1 10:00 css\r\n-rw-r--r-- 1 u g 5 Jan 1 10:00 index.html\r\n"
                      "lrwxrwxrwx 1 u g 5 Jan 1 10:00 link -> index.html\r\n")
        << QStringList{"css/", "index.html", "link"};
    QTest::newRow("names with a DOS long listing, paths cut to names")
        << QByteArray() << QByteArray("/www/images\r\n/www/a b.htm\r\n")
        << QByteArray("01-01-24  10:00AM       <DIR>          images\r\n01-01-24  10:00AM                5 a b.htm\r\n")
        << QStringList{"images/", "a b.htm"};
    QTest::newRow("a file named like the end of another") << QByteArray() << QByteArray("x b\r\nb\r\n")
        << QByteArray("drwxr-xr-x 2 u g 1 Jan 1 10:00 x b\r\n-rw-r--r-- 1 u g 1 Jan 1 10:00 b\r\n")
        << QStringList{"x b/", "b"};
    QTest::newRow("MLSD: case does not order") << QByteArray("type=file; B.html\r\ntype=file; a.txt\r\n")
        << QByteArray() << QByteArray() << QStringList{"a.txt", "B.html"};
}

void TestFtp::listings()
{
    QFETCH(QByteArray, mlsd);
    QFETCH(QByteArray, names);
    QFETCH(QByteArray, longListing);
    QFETCH(QStringList, expected);
    QList<FtpListing::Entry> entries = mlsd.isEmpty() ? FtpListing::parseNamesWithLong(names, longListing)
                                                      : FtpListing::parseMlsd(mlsd);
    FtpListing::sort(entries);
    QCOMPARE(::names(entries), expected);
}

void TestFtp::transfersAreByteExact_data()
{
    QTest::addColumn<bool>("passive");
    QTest::newRow("passive") << true;
    QTest::newRow("active") << false;
}

void TestFtp::transfersAreByteExact()
try {
    QFETCH(bool, passive);
    const QByteArray data = everyByte(10 * 1024 * 1024);
    QVERIFY(writeFile(m_local.filePath("duzy.bin"), data));

    FtpClient client;
    QStringList statuses;
    client.onStatus = [&](const QString &s) { statuses << s; };
    client.connectAndLogin(loginFor(*m_ftp, passive));
    QVERIFY(client.connected());
    const QByteArray dir = client.entryDirectory();
    QCOMPARE(dir, QByteArray("/"));
    client.upload(m_local.filePath("duzy.bin"), FtpPath::join(dir, "duzy.bin"));
    QCOMPARE(readFile(m_server.filePath("duzy.bin")), data);
    QVERIFY(writeFile(m_server.filePath("a.html"), "A"));
    QDir(m_server.path()).mkdir("katalog");
    QCOMPARE(::names(client.list(dir)), QStringList({"katalog/", "a.html", "duzy.bin"}));

    client.download(FtpPath::join(dir, "duzy.bin"), m_local.filePath("kopia.bin"));
    QCOMPARE(readFile(m_local.filePath("kopia.bin")), data);
    client.remove(FtpPath::join(dir, "duzy.bin"), false);
    QVERIFY(!QFile::exists(m_server.filePath("duzy.bin")));
    for (const QString &s : statuses)
        QVERIFY2(!s.contains("sekret"), qPrintable(s));
    // "Zalogowano." answers the login, not the server's greeting before it.
    const qsizetype asked = statuses.indexOf(QStringLiteral("Logowanie jako tester...")),
                    in = statuses.indexOf(QStringLiteral("Zalogowano."));
    QVERIFY2(asked >= 0 && in > asked, qPrintable(statuses.join('\n')));
    QVERIFY2(statuses.indexOf(QStringLiteral("Połączono z 127.0.0.1 jako tester.")) > in, qPrintable(statuses.join('\n')));
    bool disconnected = false;
    client.onDisconnected = [&] { disconnected = true; };
    client.disconnect();
    QVERIFY(disconnected);
    QVERIFY(!client.connected());
} catch (const Failure &f) {
    // A client's failure fails this test only, instead of ending the whole test program.
    QFAIL(qPrintable(f.message()));
}

void TestFtp::listingWithoutMlsdTellsFoldersFromFiles()
try {
    FtpServer server(m_server.path(), {"--no-mlsd"});
    QVERIFY(writeFile(m_server.filePath("b.txt"), "B"));
    QVERIFY(writeFile(m_server.filePath("A.txt"), "A"));
    QVERIFY(QDir(m_server.path()).mkpath("css/x"));
    QVERIFY(writeFile(m_server.filePath("css/s.css"), "S"));
    FtpClient client;
    client.connectAndLogin(loginFor(server));
    QCOMPARE(::names(client.list("/")), QStringList({"css/", "A.txt", "b.txt"}));
    QCOMPARE(::names(client.list("/css")), QStringList({"x/", "s.css"}));
} catch (const Failure &f) {
    QFAIL(qPrintable(f.message()));
}

void TestFtp::wrongPasswordLeavesItDisconnected()
try {
    FtpClient client;
    FtpClient::Login login = loginFor(*m_ftp);
    login.password = "zle-haslo";
    try {
        client.connectAndLogin(login);
        QFAIL("logged in");
    } catch (const Failure &f) {
        QVERIFY(!f.message().contains("zle-haslo"));
        QVERIFY(f.message().contains(QStringLiteral("logowanie")));
    }
    QVERIFY(!client.connected());
    client.connectAndLogin(loginFor(*m_ftp)); // the next attempt starts afresh
    QVERIFY(client.connected());
} catch (const Failure &f) {
    QFAIL(qPrintable(f.message()));
}

void TestFtp::refusedOperationsKeepTheConnection()
try {
    QVERIFY(writeFile(m_server.filePath("b"), "B"));
    QVERIFY(writeFile(m_local.filePath("x"), "X"));
    FtpClient client;
    client.connectAndLogin(loginFor(*m_ftp));
    const auto failure = [](const std::function<void()> &operation) {
        try {
            operation();
        } catch (const Failure &f) {
            return f.message();
        }
        return QStringLiteral("no failure");
    };
    // A missing file, and names with a line break or a NUL, which would send another command.
    // A path reads with one slash where the root and a name were joined.
    QVERIFY_THROWS_EXCEPTION(Failure, client.download("//brak.html", m_local.filePath("brak.html")));
    QCOMPARE(failure([&] { client.remove("//brak.html", false); }),
             QStringLiteral("Serwer odmówił wykonania polecenia dla /brak.html: 550 No such file or directory."));
    QCOMPARE(failure([&] { client.remove("//a\r\nDELE //b", false); }),
             QStringLiteral("Ścieżka „/a??DELE /b” zawiera znak sterujący (kod 13); nie wysłano żadnego polecenia."));
    QVERIFY_THROWS_EXCEPTION(Failure, client.upload(m_local.filePath("x"), "//a\nb"));
    QVERIFY_THROWS_EXCEPTION(Failure, client.download(QByteArray("//b\0c", 5), m_local.filePath("c")));
    // Percent signs kept; the server's reply after the name.
    QCOMPARE(failure([&] { client.download("//%2e%2e%2f", m_local.filePath("y")); }),
             QStringLiteral("Serwer nie wydał pliku /%2e%2e%2f (odpowiedź 550)."));
    QCOMPARE(QDir(m_local.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"x"});
    QVERIFY(client.connected());
    QCOMPARE(::names(client.list("/")), QStringList{"b"});
} catch (const Failure &f) {
    QFAIL(qPrintable(f.message()));
}

void TestFtp::downloadNeverOverwritesAndGetsTheUsualMode()
try {
    QVERIFY(writeFile(m_server.filePath("a.html"), "NOWY"));
    QVERIFY(writeFile(m_local.filePath("a.html"), "STARY"));
    FtpClient client;
    client.connectAndLogin(loginFor(*m_ftp));
    try {
        client.download("//a.html", m_local.filePath("a.html"));
        QFAIL("overwrote");
    } catch (const Failure &f) {
        QCOMPARE(f.message(), QStringLiteral("Destination file already exists."));
    }
    QCOMPARE(readFile(m_local.filePath("a.html")), QByteArray("STARY"));

    const mode_t old = ::umask(022);
    client.download("//a.html", m_local.filePath("b.html"));
    ::umask(old);
    struct stat st {};
    QCOMPARE(::stat(QFile::encodeName(m_local.filePath("b.html")).constData(), &st), 0);
    QCOMPARE(st.st_mode & 0777, mode_t(0644));
} catch (const Failure &f) {
    QFAIL(qPrintable(f.message()));
}

void TestFtp::namesThatAreNotUtf8KeepTheirBytes()
try {
    // "łódź.txt" in Windows-1250, as an old Polish server stores it.
    const QByteArray raw("\xb3\xf3\x64\x9f.txt");
    const QByteArray onDisk = QFile::encodeName(m_server.path()) + '/' + raw;
    const auto removeIt = qScopeGuard([&] { ::unlink(onDisk.constData()); }); // init() cannot name it
    const int fd = ::open(onDisk.constData(), O_CREAT | O_WRONLY, 0644);
    QVERIFY(fd >= 0);
    QCOMPARE(::write(fd, "L", 1), ssize_t(1));
    ::close(fd);
    FtpClient client;
    client.connectAndLogin(loginFor(*m_ftp));
    const QList<FtpListing::Entry> entries = client.list("/");
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries.first().name, QStringLiteral("łódź.txt"));
    QCOMPARE(entries.first().raw, raw);
    client.download(FtpPath::join("/", raw), m_local.filePath(entries.first().name));
    QCOMPARE(readFile(m_local.filePath(QStringLiteral("łódź.txt"))), QByteArray("L"));
    client.remove(FtpPath::join("/", raw), false);
    QVERIFY(::access(onDisk.constData(), F_OK) != 0);
} catch (const Failure &f) {
    QFAIL(qPrintable(f.message()));
}

void TestFtp::endlessListingIsBounded()
try {
    FtpServer server(m_server.path(), {"--endless", "bez_konca", "--mlsd-extra", "type=file;size=1; "});
    QVERIFY(QDir(m_server.path()).mkdir("bez_konca"));
    QVERIFY(writeFile(m_server.filePath("a.html"), "A"));
    FtpClient client;
    client.connectAndLogin(loginFor(server));
    try {
        client.list("/bez_konca");
        QFAIL("an endless listing came to an end");
    } catch (const Failure &f) {
        QCOMPARE(f.message(), QStringLiteral("Lista plików folderu „/bez_konca/” jest zbyt długa (ponad 64 MB lub "
                                             "1 000 000 pozycji); nie została wczytana."));
    }
    // Still usable; and a line without a name is no entry.
    QCOMPARE(::names(client.list("/")), QStringList({"bez_konca/", "a.html"}));
} catch (const Failure &f) {
    QFAIL(qPrintable(f.message()));
}

void TestFtp::timeOuts_data()
{
    QTest::addColumn<int>("frozen"); // 0 before the connection, 1 before a listing, 2 in a download
    QTest::addColumn<QString>("message");
    QTest::newRow("connect") << 0 << QStringLiteral("Serwer „127.0.0.1” nie odpowiedział w ciągu 1 s od próby połączenia.");
    QTest::newRow("stall") << 1 << QStringLiteral("Serwer „127.0.0.1” nie odpowiada od 1 s; przerwano połączenie.");
    QTest::newRow("a download that stops midway")
        << 2 << QStringLiteral("Serwer „127.0.0.1” nie odpowiada od 1 s; przerwano połączenie.");
}

void TestFtp::timeOuts()
{
    QFETCH(int, frozen);
    QFETCH(QString, message);
    // 256 KiB/s: the download is under way when the server stops.
    FtpServer server(m_server.path(), {"--throttle", "262144"});
    QVERIFY(writeFile(m_server.filePath("plik.bin"), everyByte(4 * 1024 * 1024)));
    FtpClient client;
    client.setTimeouts({1, 1});
    client.onProgress = [&](qint64 done, qint64) {
        if (frozen == 2 && done > 0)
            server.freeze();
    };
    try {
        if (frozen == 0)
            server.freeze();
        client.connectAndLogin(loginFor(server));
        if (frozen == 1) {
            server.freeze();
            client.list("/");
        } else {
            client.download("/plik.bin", m_local.filePath("plik.bin"));
        }
        QFAIL("a frozen server answered");
    } catch (const Failure &f) {
        QCOMPARE(f.message(), message);
    }
    QVERIFY(!client.connected());
    QVERIFY(!QFile::exists(m_local.filePath("plik.bin")));
}

void TestFtp::panelConnectsCopiesAndDeletes()
{
    QVERIFY(writeFile(m_server.filePath("zdalny.html"), "ZDALNY"));
    QVERIFY(writeFile(m_local.filePath(".htaccess"), "LOKALNY"));
    FtpPanel panel;
    panel.show();
    QCOMPARE(statusLine(panel), QStringLiteral("Rozlaczony"));
    QCOMPARE(pressable(panel), (QList<bool>{true, true, true, false}));
    control<DirectoryListBox>(&panel, "lDirList")->setDirectory(m_local.path());
    QCOMPARE(rows(control<FileListBox>(&panel, "lList")), QStringList{".htaccess"});
    QCOMPARE(control<QToolButton>(&panel, "aLocal")->text(), m_local.path());

    // Unticked, the session takes active mode: this server refuses passive mode.
    control<QCheckBox>(&panel, "cPassive")->setChecked(false);
    FtpServer activeOnly(m_server.path(), {"--active-only"});
    panel.setDialogs([this]() -> Dialogs & { return m_dialogs; });
    control<QLineEdit>(&panel, "eHost")->setText(activeOnly.address());
    control<QLineEdit>(&panel, "eLogin")->setText("tester");
    control<QLineEdit>(&panel, "eHaslo")->setText("sekret");
    QTest::mouseClick(control<QPushButton>(&panel, "bConnect"), Qt::LeftButton);
    QVERIFY(panel.busy());
    QCOMPARE(pressable(panel), (QList<bool>{false, false, false, true}));
    QVERIFY(waitForPanel(panel));
    QCOMPARE(pressable(panel), (QList<bool>{true, true, true, false}));
    QVERIFY2(m_dialogs.errors.isEmpty(), qPrintable(m_dialogs.errors.join('\n')));
    QVERIFY(panel.isConnected());
    QCOMPARE(rows(remoteList(panel)), QStringList{"zdalny.html"});
    // Each operation leaves the status line on what came of it, not on what was under way.
    QCOMPARE(statusLine(panel), QStringLiteral("Połączono z 127.0.0.1."));

    // Upload of a dotfile: the local side is current.
    control<FileListBox>(&panel, "lList")->setCurrentRow(0);
    QVERIFY(press(panel, "Button6"));
    QCOMPARE(readFile(m_server.filePath(".htaccess")), QByteArray("LOKALNY"));
    QCOMPARE(remoteList(panel)->count(), 2);
    QCOMPARE(statusLine(panel), QStringLiteral("Wysłano .htaccess (7 B)."));

    QListWidget *remote = remoteList(panel);
    QTest::mouseClick(remote->viewport(), Qt::LeftButton, {},
                      remote->visualItemRect(remote->findItems("zdalny.html", Qt::MatchExactly).first()).center());
    QVERIFY(control<QToolButton>(&panel, "aRemote")->isChecked());
    QVERIFY(press(panel, "Button6"));
    QVERIFY2(m_dialogs.errors.isEmpty(), qPrintable(m_dialogs.errors.join('\n')));
    QCOMPARE(readFile(m_local.filePath("zdalny.html")), QByteArray("ZDALNY"));
    QCOMPARE(statusLine(panel), QStringLiteral("Pobrano zdalny.html (6 B)."));

    QVERIFY(press(panel, "Button7"));
    QVERIFY(!QFile::exists(m_server.filePath("zdalny.html")));
    QCOMPARE(remoteList(panel)->count(), 1);
    QCOMPARE(statusLine(panel), QStringLiteral("Usunięto zdalny.html."));

    // Bytes up to 1023; then sizes are rounded to whole kilobytes; megabytes keep one decimal.
    FileListBox *local = control<FileListBox>(&panel, "lList");
    for (const auto &[bytes, shown] : {std::pair{1023, "1023 B"}, {1024, "1 KB"}, {1535, "1 KB"}, {1536, "2 KB"},
                                      {1572864, "1,5 MB"}}) {
        const QString name = QStringLiteral("%1.bin").arg(bytes);
        QVERIFY(writeFile(m_local.filePath(name), QByteArray(bytes, 'x')));
        local->refill();
        local->setCurrentItem(local->findItems(name, Qt::MatchExactly).first());
        control<QToolButton>(&panel, "aLocal")->click();
        QVERIFY(press(panel, "Button6"));
        QCOMPARE(statusLine(panel), QStringLiteral("Wysłano %1 (%2).").arg(name, QLatin1String(shown)));
    }
    QVERIFY(press(panel, "Button7"));
    QVERIFY(!QFile::exists(m_local.filePath("1572864.bin")));
    QCOMPARE(statusLine(panel), QStringLiteral("Usunięto 1572864.bin."));
    // A local file gone before its delete is not reported as deleted.
    local->refill();
    local->setCurrentItem(local->findItems("1536.bin", Qt::MatchExactly).first());
    QCOMPARE(control<QToolButton>(&panel, "aLocal")->text(), m_local.filePath("1536.bin"));
    QVERIFY(QFile::remove(m_local.filePath("1536.bin")));
    QVERIFY(press(panel, "Button7"));
    QCOMPARE(statusLine(panel), QStringLiteral("Nie usunięto 1536.bin."));
    local->clearSelection();
    QVERIFY(press(panel, "Button7"));
    QCOMPARE(statusLine(panel), QStringLiteral("Nie wybrano pliku."));

    QVERIFY(press(panel, "bConnect"));
    QVERIFY(!panel.isConnected());
    QCOMPARE(statusLine(panel), QStringLiteral("Rozłączony"));
    QCOMPARE(control<QPushButton>(&panel, "bConnect")->text(), QStringLiteral("Połącz"));
    QCOMPARE(remoteList(panel)->count(), 0);
    QCOMPARE(control<QLineEdit>(&panel, "rPath")->text(), QString());
    QVERIFY(m_dialogs.errors.isEmpty());
}

void TestFtp::panelReportsSelectionAndConnectionErrors()
{
    FtpPanel panel;
    panel.setDialogs([this]() -> Dialogs & { return m_dialogs; });
    // Not connected: the client's error comes before the missing selection.
    QVERIFY(press(panel, "Button6"));
    QCOMPARE(m_dialogs.errors, QStringList{QStringLiteral("Nie połączono z serwerem FTP.")});

    QVERIFY(connectPanel(panel, m_dialogs, m_ftp->address(), "tester", "zle"));
    QVERIFY(!panel.isConnected());
    QCOMPARE(m_dialogs.errors.size(), 2);
    QCOMPARE(statusLine(panel), QStringLiteral("Nie połączono z 127.0.0.1."));
    QVERIFY(connectPanel(panel, m_dialogs, m_ftp->address()));
    QVERIFY(panel.isConnected());
    control<DirectoryListBox>(&panel, "lDirList")->setDirectory(m_local.path());
    QVERIFY(press(panel, "Button6")); // no local file selected
    QCOMPARE(m_dialogs.errors.last(), QStringLiteral("List index out of bounds (-1)"));
    QCOMPARE(statusLine(panel), QStringLiteral("Nie wysłano pliku."));
    control<QToolButton>(&panel, "aRemote")->click();
    QVERIFY(press(panel, "Button7")); // no remote entry selected
    QCOMPARE(m_dialogs.errors.last(), QStringLiteral("List index out of bounds (-1)"));
    QCOMPARE(m_dialogs.errors.size(), 4);
}

void TestFtp::panelRefusesNamesBeforeTransferring_data()
{
    QTest::addColumn<QString>("extraLine");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("reason");
    QTest::newRow("too long for the local file system")
        << QStringLiteral("type=file;size=1; ") + QString(10000, 'x') << QString(10000, 'x')
        << QStringLiteral("Nazwa „xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx…” ma 10000 bajtów");
    QTest::newRow("climbing out") << QStringLiteral("type=file;size=1; ../../x") << QStringLiteral("../../x")
        << QStringLiteral("Nazwa „../../x” zawiera znak „/” i wskazywałaby poza bieżący folder.");
    QTest::newRow("control character") << QStringLiteral("type=file;size=1; a\x1b[2Jb") << QStringLiteral("a\x1b[2Jb")
        << QStringLiteral("Nazwa „a?[2Jb” zawiera znak sterujący (kod 27); nie wysłano żadnego polecenia.");
}

void TestFtp::panelRefusesNamesBeforeTransferring()
{
    QFETCH(QString, extraLine);
    QFETCH(QString, shown);
    QFETCH(QString, reason);
    FtpServer server(m_server.path(), {"--mlsd-extra", extraLine});
    QVERIFY(writeFile(m_server.filePath("x"), "X"));
    FtpPanel panel;
    QVERIFY(connectPanel(panel, m_dialogs, server.address()));
    QDir(m_local.path()).mkpath("a/b");
    QDir::setCurrent(m_local.filePath("a/b"));
    selectRemote(panel, shown);
    QVERIFY(press(panel, "Button6"));
    QCOMPARE(m_dialogs.errors.size(), 1);
    QVERIFY2(m_dialogs.errors.last().contains(reason), qPrintable(m_dialogs.errors.last()));
    QVERIFY(QDir(m_local.filePath("a/b")).entryList(QDir::Files | QDir::Hidden).isEmpty());
    QVERIFY(!QFile::exists(m_local.filePath("x")));
    QVERIFY(QFile::exists(m_server.filePath("x")));
}

void TestFtp::panelBrowsesFolders()
{
    QVERIFY(QDir(m_server.path()).mkpath("katalog"));
    QVERIFY(QDir(m_server.path()).mkpath("pusty"));
    QVERIFY(writeFile(m_server.filePath("katalog/plik.txt"), "P"));
    QVERIFY(writeFile(m_server.filePath("a.html"), "A"));
    QVERIFY(writeFile(m_local.filePath("nowy.css"), "N"));
    FtpPanel panel;
    panel.show();
    control<DirectoryListBox>(&panel, "lDirList")->setDirectory(m_local.path());
    QVERIFY(connectPanel(panel, m_dialogs, m_ftp->address()));
    QCOMPARE(rows(remoteList(panel)), QStringList({"katalog/", "pusty/", "a.html"}));
    QCOMPARE(control<QLineEdit>(&panel, "rPath")->text(), QStringLiteral("/"));
    QVERIFY(control<QLineEdit>(&panel, "rPath")->isReadOnly());

    // Enter on a folder opens it; copies act inside it.
    selectRemote(panel, "katalog/");
    QTest::keyClick(remoteList(panel), Qt::Key_Return);
    QVERIFY(waitForPanel(panel));
    QCOMPARE(control<QLineEdit>(&panel, "rPath")->text(), QStringLiteral("/katalog"));
    QCOMPARE(statusLine(panel), QStringLiteral("Otwarto folder /katalog."));
    QCOMPARE(rows(remoteList(panel)), QStringList({"..", "plik.txt"}));
    selectRemote(panel, "plik.txt");
    QVERIFY(press(panel, "Button6"));
    QCOMPARE(readFile(m_local.filePath("plik.txt")), QByteArray("P"));
    QTest::mouseClick(control<QToolButton>(&panel, "aLocal"), Qt::LeftButton);
    control<FileListBox>(&panel, "lList")->setCurrentItem(control<FileListBox>(&panel, "lList")->findItems("nowy.css", Qt::MatchExactly).first());
    QVERIFY(press(panel, "Button6"));
    QCOMPARE(readFile(m_server.filePath("katalog/nowy.css")), QByteArray("N"));
    QCOMPARE(rows(remoteList(panel)), QStringList({"..", "nowy.css", "plik.txt"}));

    // A double click on ".." goes up.
    const QRect up = remoteList(panel)->visualItemRect(remoteList(panel)->item(0));
    QTest::mouseClick(remoteList(panel)->viewport(), Qt::LeftButton, {}, up.center());
    QTest::mouseDClick(remoteList(panel)->viewport(), Qt::LeftButton, {}, up.center());
    QVERIFY(waitForPanel(panel));
    QCOMPARE(control<QLineEdit>(&panel, "rPath")->text(), QStringLiteral("/"));
    QCOMPARE(statusLine(panel), QStringLiteral("Otwarto folder /."));

    // An empty folder is deleted; a full one is refused with the server's reason.
    selectRemote(panel, "pusty/");
    QVERIFY(press(panel, "Button7"));
    QVERIFY(!QFileInfo::exists(m_server.filePath("pusty")));
    QVERIFY(m_dialogs.errors.isEmpty());
    selectRemote(panel, "katalog/");
    QVERIFY(press(panel, "Button7"));
    QCOMPARE(m_dialogs.errors.size(), 1);
    QCOMPARE(m_dialogs.errors.last(), QStringLiteral("Serwer odmówił wykonania polecenia dla /katalog: 550 Directory not empty."));
    QVERIFY(QFile::exists(m_server.filePath("katalog/plik.txt")));
    // Copying a folder says what to do instead.
    QVERIFY(press(panel, "Button6"));
    QCOMPARE(m_dialogs.errors.last(), QStringLiteral("„katalog/” to folder: otwórz go dwukrotnym kliknięciem lub klawiszem Enter."));
    QCOMPARE(statusLine(panel), QStringLiteral("Nie pobrano katalog/."));
}

void TestFtp::panelLocalSideFollowsTheDisk()
{
    // Two folders stand in for two drives; each keeps the folder last opened on it.
    QTemporaryDir other;
    QVERIFY(QDir(other.path()).mkpath("głęboko/niżej"));
    FtpPanel panel;
    panel.setDialogs([this]() -> Dialogs & { return m_dialogs; });
    panel.show();
    auto *drives = control<DriveComboBox>(&panel, "lDrives");
    auto *folders = control<DirectoryListBox>(&panel, "lDirList");
    const QToolButton *side = control<QToolButton>(&panel, "aLocal");
    // The chosen file removed from outside: the side names nothing.
    QVERIFY(writeFile(m_local.filePath("plik.html"), "P"));
    folders->setDirectory(m_local.path());
    auto *files = control<FileListBox>(&panel, "lList");
    files->setCurrentItem(files->findItems("plik.html", Qt::MatchExactly).first());
    QCOMPARE(side->text(), m_local.filePath("plik.html"));
    QVERIFY(QFile::remove(m_local.filePath("plik.html")));
    QTRY_COMPARE_WITH_TIMEOUT(side->text(), QString(), 2000);
    QCOMPARE(files->count(), 0);

    drives->setDrives({m_local.path(), other.path()});
    folders->setDirectory(other.filePath("głęboko/niżej"));
    drives->setCurrentIndex(0);
    emit drives->activated(0);
    QCOMPARE(folders->directory(), m_local.path());
    QCOMPARE(side->text(), m_local.path());
    drives->setCurrentIndex(1);
    emit drives->activated(1);
    QCOMPARE(folders->directory(), other.filePath("głęboko/niżej"));
    QCOMPARE(side->text(), other.path());
    // The folder shown is removed from outside: the lists move to the nearest one left.
    QVERIFY(QDir(other.filePath("głęboko")).removeRecursively());
    QTRY_COMPARE_WITH_TIMEOUT(folders->directory(), other.path(), 2000);
    QCOMPARE(QFileInfo(QDir::currentPath()).canonicalFilePath(), QFileInfo(other.path()).canonicalFilePath());
    QVERIFY(m_dialogs.errors.isEmpty());
}

void TestFtp::stopEndsATransfer_data()
{
    QTest::addColumn<bool>("upload");
    QTest::addColumn<QString>("progress"); // the bar: done, speed, time left
    // A download runs at the throttled rate from the start: about 0,26 MB/s, half a minute.
    QTest::newRow("download") << false << QStringLiteral("^\\d{1,3}% · 0,\\d MB/s · 0:[1-3]\\d$");
    // An upload fills the socket buffers first and runs fast for a while.
    QTest::newRow("upload") << true << QStringLiteral("^\\d{1,3}% · \\d+,\\d MB/s · \\d+:[0-5]\\d$");
}

void TestFtp::stopEndsATransfer()
{
    QFETCH(bool, upload);
    QFETCH(QString, progress);
    // 256 KiB/s: the 8 MiB file would take half a minute.
    FtpServer server(m_server.path(), {"--throttle", "262144"});
    const QByteArray data = everyByte(8 * 1024 * 1024);
    QVERIFY(writeFile(upload ? m_local.filePath("plik.bin") : m_server.filePath("plik.bin"), data));
    FtpPanel panel;
    panel.show();
    control<DirectoryListBox>(&panel, "lDirList")->setDirectory(m_local.path());
    QVERIFY(connectPanel(panel, m_dialogs, server.address()));
    if (upload)
        control<FileListBox>(&panel, "lList")->setCurrentRow(0);
    else
        selectRemote(panel, "plik.bin");
    QTest::mouseClick(control<QPushButton>(&panel, "Button6"), Qt::LeftButton);
    const QProgressBar *bar = control<QProgressBar>(&panel, "ProgressBar1");
    const QRegularExpression format(progress);
    QTRY_VERIFY2_WITH_TIMEOUT(format.match(bar->text()).hasMatch(), qPrintable(bar->text()), 30000);
    // A tenth of the file is a tenth of the bar: 100 of its 1000 steps, after about 3 s.
    QTRY_VERIFY2_WITH_TIMEOUT(bar->value() >= 100, qPrintable(bar->text()), 20000);
    QVERIFY(bar->isVisible());
    QSignalSpy finished(&panel, &FtpPanel::operationFinished);
    QTest::mouseClick(control<QPushButton>(&panel, "bAbort"), Qt::LeftButton);
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.first().first().toBool(), false);
    QVERIFY(m_dialogs.errors.isEmpty());
    QCOMPARE(statusLine(panel), QStringLiteral("Przerwano: /plik.bin."));
    QCOMPARE(pressable(panel), (QList<bool>{true, true, true, false}));
    // The bar goes with the transfer; the next one starts from an empty bar in its own format.
    QVERIFY(!bar->isVisible());
    QCOMPARE(bar->format(), QStringLiteral("%p%"));
    if (upload)
        QVERIFY(readFile(m_server.filePath("plik.bin")).size() < data.size());
    else
        QCOMPARE(QDir(m_local.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    // The session goes on: the next copy works.
    QVERIFY(panel.isConnected());
    QVERIFY(writeFile(m_local.filePath("drugi.txt"), "D"));
    control<FileListBox>(&panel, "lList")->refill();
    control<FileListBox>(&panel, "lList")->setCurrentItem(control<FileListBox>(&panel, "lList")->findItems("drugi.txt", Qt::MatchExactly).first());
    control<QToolButton>(&panel, "aLocal")->click();
    QVERIFY(press(panel, "Button6"));
    QVERIFY2(m_dialogs.errors.isEmpty(), qPrintable(m_dialogs.errors.join('\n')));
    QCOMPARE(readFile(m_server.filePath("drugi.txt")), QByteArray("D"));
}

void TestFtp::closingWhileTheServerIsFrozen()
{
    FtpServer server(m_server.path());
    FtpPanel panel;
    // Time-outs far longer than any test: only a stop can end the wait.
    panel.setTimeouts({3600, 3600});
    QVERIFY(connectPanel(panel, m_dialogs, server.address()));
    server.freeze();
    QTest::mouseClick(control<QPushButton>(&panel, "bConnect"), Qt::LeftButton); // QUIT, never answered
    QVERIFY(panel.busy());
    panel.shutdown();
    QVERIFY(!panel.busy());
    QVERIFY(!panel.isConnected());
    QVERIFY(m_dialogs.errors.isEmpty());
    server.stop();
}

void TestFtp::settingsAreRememberedWithoutThePassword()
{
    QVERIFY(QDir(m_server.path()).mkpath("www/css"));
    {
        FtpPanel panel;
        control<QComboBox>(&panel, "cProtocol")->setCurrentIndex(0);
        control<QCheckBox>(&panel, "cPassive")->setChecked(false);
        QVERIFY(connectPanel(panel, m_dialogs, m_ftp->address(), "tester", "sekret"));
        selectRemote(panel, "www/");
        QTest::keyClick(remoteList(panel), Qt::Key_Return);
        QVERIFY(waitForPanel(panel));
        QCOMPARE(control<QLineEdit>(&panel, "rPath")->text(), QStringLiteral("/www"));
        control<QComboBox>(&panel, "cProtocol")->setCurrentIndex(2);
        panel.shutdown();
    }
    QSettings settings(QStringLiteral("Tarnwick"), QStringLiteral("Tarnwick"));
    QVERIFY(settings.fileName().startsWith(QDir::tempPath())); // never the user's own settings
    QVERIFY(!readFile(settings.fileName()).contains("sekret"));

    FtpPanel panel;
    QCOMPARE(control<QLineEdit>(&panel, "eHost")->text(), m_ftp->address());
    QCOMPARE(control<QLineEdit>(&panel, "eLogin")->text(), QStringLiteral("tester"));
    QCOMPARE(control<QLineEdit>(&panel, "eHaslo")->text(), QString());
    QVERIFY(!control<QCheckBox>(&panel, "cPassive")->isChecked());
    QCOMPARE(control<QComboBox>(&panel, "cProtocol")->currentIndex(), 2);
    QVERIFY(!control<QCheckBox>(&panel, "cPassive")->isEnabled());
    control<QComboBox>(&panel, "cProtocol")->setCurrentIndex(0);
    panel.setDialogs([this]() -> Dialogs & { return m_dialogs; });
    control<QLineEdit>(&panel, "eHaslo")->setText("sekret");
    QVERIFY(press(panel, "bConnect"));
    QCOMPARE(control<QLineEdit>(&panel, "rPath")->text(), QStringLiteral("/www"));
    QCOMPARE(rows(remoteList(panel)), QStringList({"..", "css/"}));
}

QTEST_MAIN(TestFtp)
#include "tst_ftp.moc"
