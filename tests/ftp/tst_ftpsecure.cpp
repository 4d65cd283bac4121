#include "core/Failure.h"
#include "ftp/FtpClient.h"
#include "ftp/FtpPanel.h"
#include "ftp/FtpTrust.h"
#include "support/FtpFixture.h"
#include "support/FtpServer.h"
#include "support/ScriptedDialogs.h"
#include "support/SshServer.h"

#include <QComboBox>
#include <QDir>
#include <QProcess>
#include <QSettings>
#include <QSslCertificate>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <pwd.h>
#include <unistd.h>

using namespace FtpFixture;

// FTPS against pyftpdlib's TLS handler and SFTP against OpenSSH's sshd: the trust questions,
// remembered certificates and keys, and transfers over both. One server of each kind serves
// every test that needs no other.
class TestFtpSecure : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void hostPatterns_data();
    void hostPatterns();
    void certificatesAreReadOrRefused_data();
    void certificatesAreReadOrRefused();
    void asksAboutAnUnknownServer_data();
    void asksAboutAnUnknownServer();
    void ftpsTransfersAreByteExact();
    void sftpRemembersHostKeys_data();
    void sftpRemembersHostKeys();
    void sftpTransfersAndFolders();
    void sftpLogsInWithAPassword_data();
    void sftpLogsInWithAPassword();

private:
    QString userName() const { return QString::fromLocal8Bit(::getpwuid(::geteuid())->pw_name); }
    QString m_certificate, m_key;
    QTemporaryDir m_home, m_tls, m_server, m_local;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<FtpServer> m_ftps;
    std::unique_ptr<SshServer> m_ssh;
};

void TestFtpSecure::initTestCase()
{
    // The SSH keys and known_hosts the program reads are those of a home of the test's own.
    qputenv("HOME", QFile::encodeName(m_home.path()));
    QStandardPaths::setTestModeEnabled(true);
    m_certificate = m_tls.filePath("cert.pem");
    m_key = m_tls.filePath("key.pem");
    QProcess openssl;
    openssl.start("openssl", {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
                              "-subj", "/CN=localhost", "-days", "2", "-keyout", m_key, "-out", m_certificate});
    QVERIFY(openssl.waitForFinished(30000));
    QCOMPARE(openssl.exitCode(), 0);
    m_ftps = std::make_unique<FtpServer>(m_server.path(), QStringList{"--tls", m_certificate, m_key});
    QVERIFY(m_ftps->port() > 0);
    m_ssh = std::make_unique<SshServer>(m_server.path(), m_home.filePath(".ssh/id_ed25519"));
    QVERIFY2(m_ssh->port() > 0, m_ssh->errors().constData());
}

void TestFtpSecure::init()
{
    QDir(FtpTrust::folder()).removeRecursively();
    QFile::remove(m_home.filePath(".ssh/known_hosts")); // the key pair stays: sshd lets it in
    QDir(m_server.path()).removeRecursively();
    QDir().mkpath(m_server.path());
    QDir(m_local.path()).removeRecursively();
    QDir().mkpath(m_local.path());
    m_dialogs = ScriptedDialogs();
    QSettings(QStringLiteral("Tarnwick"), QStringLiteral("Tarnwick")).clear();
}

void TestFtpSecure::hostPatterns_data()
{
    QTest::addColumn<int>("port");
    QTest::addColumn<QByteArray>("pattern");
    // As ssh writes known_hosts: the bare name only for its own port.
    QTest::newRow("22") << 22 << QByteArray("example.org");
    QTest::newRow("21") << 21 << QByteArray("[example.org]:21");
    QTest::newRow("2222") << 2222 << QByteArray("[example.org]:2222");
}

void TestFtpSecure::hostPatterns()
{
    QFETCH(int, port);
    QFETCH(QByteArray, pattern);
    QCOMPARE(FtpTrust::hostPattern("example.org", port), pattern);
}

// The test's certificate is read as openssl reads it; one that is cut, garbled or lies about
// its lengths is refused instead of read past its end.
void TestFtpSecure::certificatesAreReadOrRefused_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("the whole certificate") << 0;
    QTest::newRow("no END line") << 1;
    QTest::newRow("not base64") << 2;
    QTest::newRow("cut in half") << 3;
    QTest::newRow("a length past the end") << 4;
    QTest::newRow("a length of five bytes") << 5;
    QTest::newRow("nothing") << 6;
}

void TestFtpSecure::certificatesAreReadOrRefused()
{
    QFETCH(int, kind);
    QFile file(m_certificate);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray pem = file.readAll();
    const QByteArray begin = "-----BEGIN CERTIFICATE-----\n", end = "-----END CERTIFICATE-----\n";
    const QByteArray der = QSslCertificate(pem).toDer();
    QVERIFY(der.size() > 100);
    const auto wrapped = [&](const QByteArray &bytes) { return begin + bytes.toBase64() + '\n' + end; };
    const QByteArray given[] = {pem, pem.left(pem.indexOf("-----END")), begin + "@@@@" + end, wrapped(der.left(der.size() / 2)),
                                wrapped(QByteArray::fromHex("3084ffffffff3003020100")),
                                wrapped(QByteArray::fromHex("30850000000003020100")), QByteArray()};
    const std::optional<FtpTrust::Certificate> read = FtpTrust::certificateFromPem(given[kind]);
    QCOMPARE(read.has_value(), kind == 0);
    if (kind != 0)
        return;
    QProcess openssl;
    openssl.start("openssl", {"x509", "-in", m_certificate, "-noout", "-pubkey"});
    QVERIFY(openssl.waitForFinished(30000));
    QByteArray publicKey = openssl.readAllStandardOutput();
    QVERIFY(publicKey.startsWith("-----BEGIN PUBLIC KEY-----\n"));
    publicKey = publicKey.mid(27, publicKey.indexOf("-----END") - 27);
    QCOMPARE(read->pin, QCryptographicHash::hash(QByteArray::fromBase64(publicKey), QCryptographicHash::Sha256).toBase64());
    QCOMPARE(read->fingerprint, QString::fromLatin1(QCryptographicHash::hash(der, QCryptographicHash::Sha256).toHex(':').toUpper()));
}

void TestFtpSecure::asksAboutAnUnknownServer_data()
{
    QTest::addColumn<bool>("sftp");
    QTest::addColumn<Dialogs::Trust>("answer");
    QTest::addColumn<bool>("connected");
    QTest::addColumn<int>("questionsOnTheNextConnect");
    for (const bool sftp : {false, true}) {
        const char *protocol = sftp ? "SFTP" : "FTPS";
        QTest::addRow("%s, Anuluj", protocol) << sftp << Dialogs::Trust::Cancel << false << 1;
        QTest::addRow("%s, Połącz tylko tym razem", protocol) << sftp << Dialogs::Trust::Once << true << 1;
        QTest::addRow("%s, Zawsze ufaj", protocol) << sftp << Dialogs::Trust::Always << true << 0;
    }
}

void TestFtpSecure::asksAboutAnUnknownServer()
{
    QFETCH(bool, sftp);
    QFETCH(Dialogs::Trust, answer);
    QFETCH(bool, connected);
    QFETCH(int, questionsOnTheNextConnect);
    QVERIFY(writeFile(m_server.filePath("a.html"), "A"));
    // The question names the host key's fingerprint, or the certificate's SHA-256.
    // The host key's as ssh-keygen prints it, and as the server's keeper reads it out.
    QVERIFY(writeFile(m_local.filePath("klucz.pub"), "ssh-ed25519 " + m_ssh->hostKey().toBase64() + '\n'));
    QProcess keygen;
    keygen.start(QStringLiteral("ssh-keygen"), {QStringLiteral("-l"), QStringLiteral("-E"), QStringLiteral("sha256"),
                                                 QStringLiteral("-f"), m_local.filePath("klucz.pub")});
    QVERIFY(keygen.waitForFinished(30000));
    QString fingerprint = QString::fromLatin1(keygen.readAllStandardOutput().split(' ').value(1));
    QVERIFY2(fingerprint.startsWith("SHA256:") && !fingerprint.endsWith('='), qPrintable(fingerprint));
    if (!sftp) {
        QFile pem(m_certificate);
        QVERIFY(pem.open(QIODevice::ReadOnly));
        fingerprint = QString::fromLatin1(QSslCertificate(pem.readAll()).digest(QCryptographicHash::Sha256).toHex(':').toUpper());
    }
    for (int round = 0; round < 2; ++round) {
        FtpPanel panel;
        control<QComboBox>(&panel, "cProtocol")->setCurrentIndex(sftp ? 2 : 1);
        m_dialogs = ScriptedDialogs();
        m_dialogs.trustAnswers = {answer};
        QVERIFY(sftp ? connectPanel(panel, m_dialogs, m_ssh->address(), userName(), QString())
                     : connectPanel(panel, m_dialogs, m_ftps->address()));
        if (round == 1) {
            QCOMPARE(m_dialogs.trustQuestions.size(), questionsOnTheNextConnect);
            break;
        }
        QCOMPARE(m_dialogs.trustQuestions.size(), 1);
        QCOMPARE(m_dialogs.trustQuestions.first(),
                 (sftp ? QStringLiteral("Klucz hosta serwera „127.0.0.1” (ssh-ed25519) nie jest jeszcze znany.")
                       : QStringLiteral("Certyfikat serwera „127.0.0.1” nie jest zaufany (SSL certificate problem: "
                                        "self-signed certificate)."))
                     + QStringLiteral("\n\nOdcisk SHA-256:\n") + fingerprint + QStringLiteral("\n\nCzy połączyć się z tym serwerem?"));
        QVERIFY2(m_dialogs.errors.isEmpty(), qPrintable(m_dialogs.errors.join('\n')));
        QCOMPARE(panel.isConnected(), connected);
        QCOMPARE(remoteList(panel)->count(), connected ? 1 : 0);
        if (!connected)
            QCOMPARE(statusLine(panel), QStringLiteral("Nie połączono: serwer nie jest zaufany."));
    }
    // "Zawsze ufaj" for a host key writes the program's own known_hosts, never the user's, in
    // the form ssh reads: the key's type and the key as the server's public key file holds them.
    QCOMPARE(readFile(FtpTrust::knownHostsFile()),
             sftp && answer == Dialogs::Trust::Always
                 ? "[127.0.0.1]:" + QByteArray::number(m_ssh->port()) + " ssh-ed25519 " + m_ssh->hostKey().toBase64() + '\n'
                 : QByteArray("<missing>"));
    QVERIFY(!QFile::exists(m_home.filePath(".ssh/known_hosts")));
}

void TestFtpSecure::ftpsTransfersAreByteExact()
{
    FtpClient client;
    FtpClient::Login login;
    login.host = m_ftps->address();
    login.user = "tester";
    login.password = "sekret";
    // Plain FTP is refused by this server: the session below really is encrypted.
    QVERIFY_THROWS_EXCEPTION(Failure, client.connectAndLogin(login));
    login.protocol = FtpPath::Protocol::Ftps;
    try {
        client.connectAndLogin(login);
        QFAIL("a self-signed certificate was trusted");
    } catch (const UntrustedServer &u) {
        QVERIFY(!u.sshKey);
        // A certificate other than the one trusted before is asked about again, and said to be another.
        FtpTrust::rememberPin(u.host, u.port, "an-older-certificate");
        try {
            client.connectAndLogin(login);
            QFAIL("a certificate other than the trusted one was taken");
        } catch (const UntrustedServer &changed) {
            QVERIFY2(changed.message().startsWith(QStringLiteral("Certyfikat serwera „127.0.0.1” jest inny niż ten, któremu "
                                                                 "zaufano.\n\nOdcisk SHA-256:\n")),
                     qPrintable(changed.message()));
        }
        // A renewed certificate is appended after the old one, and the latest line is the one trusted.
        FtpTrust::rememberPin("example.org", u.port, "another-host");
        FtpTrust::rememberPin(u.host, u.port, u.key);
        QCOMPARE(FtpTrust::rememberedPin(u.host, u.port), u.key);
        QCOMPARE(FtpTrust::rememberedPin("example.org", u.port), QByteArray("another-host"));
    }
    client.connectAndLogin(login);
    const QByteArray data = everyByte(3 * 1024 * 1024 + 7);
    QVERIFY(writeFile(m_local.filePath("a.bin"), data));
    client.upload(m_local.filePath("a.bin"), "//a.bin");
    QCOMPARE(readFile(m_server.filePath("a.bin")), data);
    client.download("//a.bin", m_local.filePath("b.bin"));
    QCOMPARE(readFile(m_local.filePath("b.bin")), data);
}

void TestFtpSecure::sftpRemembersHostKeys_data()
{
    QTest::addColumn<int>("changedIn"); // 0: nowhere, 1: the program's own store, 2: ssh's known_hosts
    QTest::newRow("known to ssh: no question") << 0;
    QTest::newRow("another key than ssh knows: refused") << 2;
    QTest::newRow("another key than the program once trusted: refused") << 1;
}

void TestFtpSecure::sftpRemembersHostKeys()
{
    QFETCH(int, changedIn);
    const bool changed = changedIn != 0;
    QByteArray key = m_ssh->hostKey();
    if (changed)
        key[key.size() - 1] = char(key.at(key.size() - 1) ^ 1);
    QFile::remove(FtpTrust::knownHostsFile());
    QFile::remove(m_home.filePath(".ssh/known_hosts"));
    if (changedIn == 1) {
        FtpTrust::rememberKey("127.0.0.1", m_ssh->port(), key);
    } else {
        QVERIFY(writeFile(m_home.filePath(".ssh/known_hosts"),
                          "[127.0.0.1]:" + QByteArray::number(m_ssh->port()) + " ssh-ed25519 " + key.toBase64() + '\n'));
    }
    FtpPanel panel;
    control<QComboBox>(&panel, "cProtocol")->setCurrentIndex(2);
    m_dialogs.trustAnswers = {Dialogs::Trust::Once};
    QVERIFY(connectPanel(panel, m_dialogs, m_ssh->address(), userName(), QString()));
    QVERIFY(m_dialogs.trustQuestions.isEmpty());
    QCOMPARE(panel.isConnected(), !changed);
    QCOMPARE(m_dialogs.errors.size(), changed ? 1 : 0);
    if (changed)
        QVERIFY2(m_dialogs.errors.first().contains(QStringLiteral("zmienił się")), qPrintable(m_dialogs.errors.first()));
}

void TestFtpSecure::sftpTransfersAndFolders()
{
    QVERIFY(QDir(m_server.path()).mkpath("images"));
    QVERIFY(QDir(m_server.path()).mkpath("pusty"));
    QVERIFY(writeFile(m_server.filePath("images/logo.png"), "PNG"));
    FtpClient client;
    FtpClient::Login login;
    login.host = m_ssh->address();
    login.user = userName();
    login.protocol = FtpPath::Protocol::Sftp;
    login.acceptedKey = m_ssh->hostKey();
    client.connectAndLogin(login);
    const QByteArray home = client.entryDirectory();
    QCOMPARE(QString::fromUtf8(home), QDir(m_server.path()).canonicalPath());
    QList<FtpListing::Entry> entries = client.list(home);
    QCOMPARE(entries.size(), 2);
    QVERIFY(entries.at(0).folder && entries.at(1).folder);
    const QByteArray data = everyByte(2 * 1024 * 1024 + 3);
    // Quotes and a backslash: SFTP commands carry the name as a quoted string.
    const char *const name = "a \"b\" \\c.bin";
    QVERIFY(writeFile(m_local.filePath(name), data));
    client.upload(m_local.filePath(name), FtpPath::join(home + "/images", name));
    QCOMPARE(readFile(m_server.filePath(QStringLiteral("images/") + name)), data);
    client.download(FtpPath::join(home + "/images", name), m_local.filePath("kopia.bin"));
    QCOMPARE(readFile(m_local.filePath("kopia.bin")), data);
    QCOMPARE(client.list(home + "/images").size(), 2);
    client.remove(FtpPath::join(home, "pusty"), true);
    QVERIFY(!QFileInfo::exists(m_server.filePath("pusty")));
    QVERIFY_THROWS_EXCEPTION(Failure, client.remove(FtpPath::join(home, "images"), true));
    QVERIFY(QFileInfo::exists(m_server.filePath("images/logo.png")));
    client.remove(FtpPath::join(home + "/images", name), false);
    QVERIFY(!QFileInfo::exists(m_server.filePath(QStringLiteral("images/") + name)));
}

void TestFtpSecure::sftpLogsInWithAPassword_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("connected");
    // Spaces and Polish letters: the password reaches the server as the UTF-8 typed.
    QTest::newRow("the right password") << QStringLiteral("tajne hasło ź") << true;
    QTest::newRow("a wrong password") << QStringLiteral("tajne haslo z") << false;
}

void TestFtpSecure::sftpLogsInWithAPassword()
{
    QFETCH(QString, password);
    QFETCH(bool, connected);
    if (!SshServer::passwordLoginPossible())
        QSKIP("sshd checks passwords against /etc/shadow; a private one needs a mount namespace, which needs root");
    // This server takes no key at all, so a login can only be the password's.
    SshServer server(m_server.path(), QString(), QStringLiteral("tajne hasło ź").toUtf8());
    QVERIFY2(server.port() > 0, server.errors().constData());
    QVERIFY(writeFile(m_server.filePath("a.html"), "A"));
    QVERIFY(QDir().mkpath(m_home.filePath(".ssh")));
    QVERIFY(writeFile(m_home.filePath(".ssh/known_hosts"),
                      "[127.0.0.1]:" + QByteArray::number(server.port()) + " ssh-ed25519 " + server.hostKey().toBase64() + '\n'));
    FtpPanel panel;
    control<QComboBox>(&panel, "cProtocol")->setCurrentIndex(2);
    QVERIFY(connectPanel(panel, m_dialogs, server.address(), userName(), password));
    QCOMPARE(panel.isConnected(), connected);
    QVERIFY(m_dialogs.trustQuestions.isEmpty());
    if (connected) {
        QVERIFY2(m_dialogs.errors.isEmpty(), qPrintable(m_dialogs.errors.join('\n')));
        QCOMPARE(remoteList(panel)->count(), 1);
    } else {
        QCOMPARE(m_dialogs.errors.size(), 1);
        QVERIFY2(m_dialogs.errors.first().contains(QStringLiteral("Sprawdź login i hasło")), qPrintable(m_dialogs.errors.first()));
        QCOMPARE(remoteList(panel)->count(), 0);
    }
}

QTEST_MAIN(TestFtpSecure)
#include "tst_ftpsecure.moc"
