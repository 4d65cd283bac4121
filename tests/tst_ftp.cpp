#include "controls/LocalLists.h"
#include "core/Failure.h"
#include "ftp/FtpClient.h"
#include "ftp/FtpPanel.h"
#include "ftp/FtpPath.h"
#include "support/FtpServer.h"

#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <atomic>
#include <thread>

namespace {

QByteArray everyByte(qsizetype size)
{
    QByteArray data(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        data[i] = char((i * 7 + i / 256) & 0xFF);
    return data;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

FtpClient::Login loginFor(const FtpServer &server, bool passive = true)
{
    FtpClient::Login l;
    l.host = QStringLiteral("127.0.0.1");
    l.user = QStringLiteral("tester");
    l.password = QStringLiteral("sekret");
    l.passive = passive;
    l.port = server.port();
    return l;
}

} // namespace

class TestFtp : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void safeLocalNames_data();
    void safeLocalNames();
    void pathsAreJoinedAsBuilt();

    void transfersAreByteExact_data();
    void transfersAreByteExact();
    void listingFallsBackToNlst();
    void wrongPasswordLeavesItDisconnected();
    void refusedConnection();
    void missingRemoteFileKeepsTheConnection();
    void downloadNeverOverwrites();
    void notConnectedComesFirst();
    void serverStoppingMidTransfer();

    void panelConnectsCopiesAndDeletes();
    void panelReportsSelectionAndConnectionErrors();
    void panelRefusesHostileNames();
    void panelStaysResponsiveDuringATransfer();
    void closingDuringATransferAbortsIt();

private:
    bool waitForPanel(FtpPanel &panel)
    {
        QSignalSpy spy(&panel, &FtpPanel::operationFinished);
        return spy.wait(60000) && !panel.busy();
    }
    // Points a panel at the test server, fills in the login and clicks "Połącz".
    bool connectPanel(FtpPanel &panel, const FtpServer &server, const QString &password = QStringLiteral("sekret"))
    {
        panel.setErrorHandler([this](const QString &m) { m_errors << m; });
        panel.setPort(server.port());
        panel.eHost->setText("127.0.0.1");
        panel.eLogin->setText("tester");
        panel.eHaslo->setText(password);
        QTest::mouseClick(panel.bConnect, Qt::LeftButton);
        return waitForPanel(panel);
    }

    QTemporaryDir m_server;
    QTemporaryDir m_local;
    QString m_startDir;
    QStringList m_errors;
};

void TestFtp::initTestCase()
{
    m_startDir = QDir::currentPath();
}

void TestFtp::init()
{
    QDir(m_server.path()).removeRecursively();
    QDir().mkpath(m_server.path());
    QDir(m_local.path()).removeRecursively();
    QDir().mkpath(m_local.path());
    m_errors.clear();
    QDir::setCurrent(m_local.path());
}

void TestFtp::cleanup()
{
    QDir::setCurrent(m_startDir);
}

void TestFtp::safeLocalNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("safe");
    QTest::newRow("plain") << "strona.html" << true;
    QTest::newRow("Polish") << "żółw.txt" << true;
    QTest::newRow("leading dots") << "..ukryty" << true;
    QTest::newRow("parent") << ".." << false;
    QTest::newRow("self") << "." << false;
    QTest::newRow("climbing") << "../../x" << false;
    QTest::newRow("absolute") << "/etc/x" << false;
    QTest::newRow("backslash") << "..\\x" << false;
    QTest::newRow("empty") << "" << false;
}

void TestFtp::safeLocalNames()
{
    QFETCH(QString, name);
    QFETCH(bool, safe);
    QCOMPARE(FtpPath::isSafeLocalName(name), safe);
}

void TestFtp::pathsAreJoinedAsBuilt()
{
    QCOMPARE(FtpPath::join("/", "a.html"), QStringLiteral("//a.html"));
    QCOMPARE(FtpPath::join("/www/", "a b.html"), QStringLiteral("/www//a b.html"));
    QCOMPARE(FtpPath::url("example.com", 21, "//a b.html"), QByteArray("ftp://example.com:21///a%20b.html"));
}

void TestFtp::transfersAreByteExact_data()
{
    QTest::addColumn<bool>("passive");
    QTest::newRow("passive") << true;
    QTest::newRow("active") << false;
}

void TestFtp::transfersAreByteExact()
{
    QFETCH(bool, passive);
    FtpServer server(m_server.path());
    QVERIFY(server.port() > 0);
    const QByteArray data = everyByte(10 * 1024 * 1024);
    QVERIFY(writeFile(m_local.filePath("duzy.bin"), data));

    FtpClient client;
    QStringList statuses;
    client.onStatus = [&](const QString &s) { statuses << s; };
    client.connectAndLogin(loginFor(server, passive));
    QVERIFY(client.connected());
    const QString dir = client.currentDirectory();
    QCOMPARE(dir, QStringLiteral("/"));
    client.upload(m_local.filePath("duzy.bin"), FtpPath::join(dir, "duzy.bin"));
    QCOMPARE(readFile(m_server.filePath("duzy.bin")), data);
    QVERIFY(writeFile(m_server.filePath("a.html"), "A"));
    QDir(m_server.path()).mkdir("katalog");
    QCOMPARE(client.listFiles(), QStringList({"a.html", "duzy.bin"}));

    client.download(FtpPath::join(dir, "duzy.bin"), m_local.filePath("kopia.bin"));
    QCOMPARE(readFile(m_local.filePath("kopia.bin")), data);
    client.remove(FtpPath::join(dir, "duzy.bin"));
    QVERIFY(!QFile::exists(m_server.filePath("duzy.bin")));
    for (const QString &s : statuses)
        QVERIFY2(!s.contains("sekret"), qPrintable(s));
    QVERIFY(statuses.join('\n').contains(QStringLiteral("Logowanie jako tester")));
    bool disconnected = false;
    client.onDisconnected = [&] { disconnected = true; };
    client.disconnect();
    QVERIFY(disconnected);
    QVERIFY(!client.connected());
}

void TestFtp::listingFallsBackToNlst()
{
    FtpServer server(m_server.path(), {"--no-mlsd"});
    QVERIFY(writeFile(m_server.filePath("b.txt"), "B"));
    QVERIFY(writeFile(m_server.filePath("A.txt"), "A"));
    FtpClient client;
    client.connectAndLogin(loginFor(server));
    QCOMPARE(client.listFiles(), QStringList({"A.txt", "b.txt"}));
}

void TestFtp::wrongPasswordLeavesItDisconnected()
{
    FtpServer server(m_server.path());
    FtpClient client;
    FtpClient::Login login = loginFor(server);
    login.password = "zle-haslo";
    try {
        client.connectAndLogin(login);
        QFAIL("logged in");
    } catch (const Failure &f) {
        QVERIFY(!f.message().contains("zle-haslo"));
        QVERIFY(f.message().contains(QStringLiteral("logowanie")));
    }
    QVERIFY(!client.connected());
    client.connectAndLogin(loginFor(server)); // the next attempt starts afresh
    QVERIFY(client.connected());
}

void TestFtp::refusedConnection()
{
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress::LocalHost));
    const int port = probe.serverPort();
    probe.close();
    FtpClient client;
    FtpClient::Login login;
    login.host = "127.0.0.1";
    login.port = port;
    QVERIFY_THROWS_EXCEPTION(Failure, client.connectAndLogin(login));
    QVERIFY(!client.connected());
}

void TestFtp::missingRemoteFileKeepsTheConnection()
{
    FtpServer server(m_server.path());
    FtpClient client;
    client.connectAndLogin(loginFor(server));
    QVERIFY_THROWS_EXCEPTION(Failure, client.download("//brak.html", m_local.filePath("brak.html")));
    QVERIFY(!QFile::exists(m_local.filePath("brak.html")));
    QVERIFY(QDir(m_local.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    QVERIFY_THROWS_EXCEPTION(Failure, client.remove("//brak.html"));
    QVERIFY(client.connected());
    QCOMPARE(client.listFiles(), QStringList());
}

void TestFtp::downloadNeverOverwrites()
{
    FtpServer server(m_server.path());
    QVERIFY(writeFile(m_server.filePath("a.html"), "NOWY"));
    QVERIFY(writeFile(m_local.filePath("a.html"), "STARY"));
    FtpClient client;
    client.connectAndLogin(loginFor(server));
    try {
        client.download("//a.html", m_local.filePath("a.html"));
        QFAIL("overwrote");
    } catch (const Failure &f) {
        QCOMPARE(f.message(), QStringLiteral("Destination file already exists."));
    }
    QCOMPARE(readFile(m_local.filePath("a.html")), QByteArray("STARY"));
}

void TestFtp::notConnectedComesFirst()
{
    FtpClient client;
    QVERIFY_THROWS_EXCEPTION(Failure, client.currentDirectory());
    QVERIFY_THROWS_EXCEPTION(Failure, client.listFiles());
    QVERIFY_THROWS_EXCEPTION(Failure, client.upload(m_local.filePath("x"), "/x"));
}

void TestFtp::serverStoppingMidTransfer()
{
    auto server = std::make_unique<FtpServer>(m_server.path(), QStringList{"--throttle", "262144"});
    QVERIFY(writeFile(m_server.filePath("duzy.bin"), everyByte(4 * 1024 * 1024)));
    FtpClient client;
    client.connectAndLogin(loginFor(*server));
    std::atomic<bool> moving{false};
    client.onProgress = [&](qint64 done, qint64) {
        if (done > 0)
            moving = true;
    };
    bool disconnectedOnce = false;
    int disconnectedCount = 0;
    client.onDisconnected = [&] { ++disconnectedCount; };
    QString error;
    std::thread transfer([&] {
        try {
            client.download("//duzy.bin", m_local.filePath("duzy.bin"));
        } catch (const Failure &f) {
            error = f.message();
        }
    });
    QVERIFY(QTest::qWaitFor([&] { return moving.load(); }, 30000));
    server->stop();
    transfer.join();
    disconnectedOnce = disconnectedCount == 1;
    QVERIFY(!error.isEmpty());
    QVERIFY(disconnectedOnce);
    QVERIFY(!client.connected());
    QVERIFY(QDir(m_local.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

void TestFtp::panelConnectsCopiesAndDeletes()
{
    FtpServer server(m_server.path());
    QVERIFY(writeFile(m_server.filePath("zdalny.html"), "ZDALNY"));
    QVERIFY(writeFile(m_local.filePath("lokalny.html"), "LOKALNY"));
    FtpPanel panel;
    panel.setErrorHandler([this](const QString &m) { m_errors << m; });
    panel.setPort(server.port());
    panel.show();
    QCOMPARE(panel.sBar->text(), QStringLiteral("Rozlaczony"));
    panel.lDirList->setDirectory(m_local.path());
    QCOMPARE(panel.aLocal->text(), QDir::toNativeSeparators(m_local.path()));

    panel.eHost->setText("127.0.0.1");
    panel.eLogin->setText("tester");
    panel.eHaslo->setText("sekret");
    panel.cPassive->setChecked(false);
    QTest::mouseClick(panel.bConnect, Qt::LeftButton);
    QVERIFY(panel.busy());
    QVERIFY(!panel.Button6->isEnabled());
    QVERIFY(waitForPanel(panel));
    QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join('\n')));
    QVERIFY(panel.isConnected());
    QCOMPARE(panel.rList->count(), 1);
    QVERIFY(!panel.sBar->text().contains("sekret"));

    // Upload: the local side is current.
    panel.lList->setCurrentRow(0);
    QCOMPARE(panel.aLocal->text(), QDir::toNativeSeparators(m_local.filePath("lokalny.html")));
    QTest::mouseClick(panel.Button6, Qt::LeftButton);
    QVERIFY(waitForPanel(panel));
    QCOMPARE(readFile(m_server.filePath("lokalny.html")), QByteArray("LOKALNY"));
    QCOMPARE(panel.rList->count(), 2);

    // Download: a click in the remote list makes the remote side current.
    QTest::mouseClick(panel.rList->viewport(), Qt::LeftButton, {},
                      panel.rList->visualItemRect(panel.rList->item(1)).center());
    QVERIFY(panel.aRemote->isChecked());
    QCOMPARE(panel.rList->currentItem()->text(), QStringLiteral("zdalny.html"));
    QTest::mouseClick(panel.Button6, Qt::LeftButton);
    QVERIFY(waitForPanel(panel));
    QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join('\n')));
    QCOMPARE(readFile(m_local.filePath("zdalny.html")), QByteArray("ZDALNY"));

    // Remote delete, then local delete after switching sides.
    QTest::mouseClick(panel.Button7, Qt::LeftButton);
    QVERIFY(waitForPanel(panel));
    QVERIFY(!QFile::exists(m_server.filePath("zdalny.html")));
    QCOMPARE(panel.rList->count(), 1);
    QTest::mouseClick(panel.aLocal, Qt::LeftButton);
    QVERIFY(panel.aLocal->isChecked());
    panel.lList->setCurrentRow(0);
    QTest::mouseClick(panel.Button7, Qt::LeftButton);
    QVERIFY(waitForPanel(panel));
    QVERIFY(!QFile::exists(m_local.filePath("lokalny.html")));
    QVERIFY(QFile::exists(m_server.filePath("lokalny.html")));

    QTest::mouseClick(panel.bConnect, Qt::LeftButton);
    QVERIFY(waitForPanel(panel));
    QVERIFY(!panel.isConnected());
    QCOMPARE(panel.sBar->text(), QStringLiteral("Rozłączony"));
    QCOMPARE(panel.bConnect->text(), QStringLiteral("Połącz"));
    QCOMPARE(panel.rList->count(), 0);
    QVERIFY(m_errors.isEmpty());
}

void TestFtp::panelReportsSelectionAndConnectionErrors()
{
    FtpPanel panel;
    panel.setErrorHandler([this](const QString &m) { m_errors << m; });
    // Not connected: the client's error comes before the missing selection.
    QTest::mouseClick(panel.Button6, Qt::LeftButton);
    QVERIFY(waitForPanel(panel));
    QCOMPARE(m_errors.size(), 1);
    QCOMPARE(m_errors.last(), QStringLiteral("Nie połączono z serwerem FTP."));

    FtpServer server(m_server.path());
    panel.setPort(server.port());
    panel.eHost->setText("127.0.0.1");
    panel.eLogin->setText("tester");
    panel.eHaslo->setText("zle");
    QTest::mouseClick(panel.bConnect, Qt::LeftButton);
    QVERIFY(waitForPanel(panel));
    QCOMPARE(m_errors.size(), 2);
    QVERIFY(!m_errors.last().contains("zle\""));
    QVERIFY(!panel.isConnected());

    panel.eHaslo->setText("sekret");
    QTest::mouseClick(panel.bConnect, Qt::LeftButton);
    QVERIFY(waitForPanel(panel));
    QVERIFY(panel.isConnected());
    panel.lDirList->setDirectory(m_local.path());
    QTest::mouseClick(panel.Button6, Qt::LeftButton); // no local file selected
    QVERIFY(waitForPanel(panel));
    QCOMPARE(m_errors.last(), QStringLiteral("List index out of bounds (-1)"));
    panel.aRemote->click();
    QTest::mouseClick(panel.Button7, Qt::LeftButton); // no remote entry selected
    QVERIFY(waitForPanel(panel));
    QCOMPARE(m_errors.last(), QStringLiteral("List index out of bounds (-1)"));
    QCOMPARE(m_errors.size(), 4);
}

void TestFtp::panelRefusesHostileNames()
{
    FtpServer server(m_server.path());
    QVERIFY(writeFile(m_server.filePath("x"), "X"));
    FtpPanel panel;
    QVERIFY(connectPanel(panel, server));
    QDir(m_local.path()).mkpath("a/b");
    QDir::setCurrent(m_local.filePath("a/b"));
    for (const QString &hostile : {QStringLiteral("../../x"), QStringLiteral("/tmp/x"), QStringLiteral("..")}) {
        panel.rList->clear();
        panel.rList->addItem(hostile);
        panel.rList->setCurrentRow(0);
        QVERIFY(panel.aRemote->isChecked());
        QTest::mouseClick(panel.Button6, Qt::LeftButton);
        QVERIFY(waitForPanel(panel));
        QVERIFY(m_errors.last().contains(hostile));
    }
    QVERIFY(!QFile::exists(m_local.filePath("x")));
    QVERIFY(!QFile::exists("/tmp/x") || readFile("/tmp/x") != "X");
}

void TestFtp::panelStaysResponsiveDuringATransfer()
{
    // The server sends at 512 KiB/s: a 2 MiB download lasts about four seconds.
    FtpServer server(m_server.path(), {"--throttle", "524288"});
    QVERIFY(writeFile(m_server.filePath("plik.bin"), everyByte(2 * 1024 * 1024)));
    FtpPanel panel;
    panel.show();
    QVERIFY(connectPanel(panel, server));
    panel.lDirList->setDirectory(m_local.path());
    panel.rList->setCurrentRow(0);
    QVERIFY(panel.aRemote->isChecked());

    int ticks = 0;
    QTimer timer;
    connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(10);
    QSignalSpy progress(panel.ProgressBar1, &QProgressBar::valueChanged);
    QTest::mouseClick(panel.Button6, Qt::LeftButton);
    QVERIFY(panel.busy());
    // While the transfer runs the window handles events and shows progress; a second
    // operation cannot start.
    QVERIFY(QTest::qWaitFor([&] { return progress.size() >= 2; }, 30000));
    QVERIFY(panel.busy());
    QVERIFY(panel.ProgressBar1->isVisible());
    QVERIFY(ticks > 0);
    QVERIFY(!panel.bConnect->isEnabled() && !panel.Button7->isEnabled());
    panel.Button7Click(); // ignored while busy: nothing is deleted on the server
    QVERIFY(waitForPanel(panel));
    QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join('\n')));
    QVERIFY(!panel.ProgressBar1->isVisible());
    QCOMPARE(readFile(m_local.filePath("plik.bin")).size(), 2 * 1024 * 1024);
    QVERIFY(QFile::exists(m_server.filePath("plik.bin")));
}

void TestFtp::closingDuringATransferAbortsIt()
{
    FtpServer server(m_server.path(), {"--throttle", "262144"});
    QVERIFY(writeFile(m_server.filePath("plik.bin"), everyByte(8 * 1024 * 1024)));
    FtpPanel panel;
    QVERIFY(connectPanel(panel, server));
    panel.lDirList->setDirectory(m_local.path());
    panel.rList->setCurrentRow(0);
    QSignalSpy progress(panel.ProgressBar1, &QProgressBar::valueChanged);
    QTest::mouseClick(panel.Button6, Qt::LeftButton);
    QVERIFY(QTest::qWaitFor([&] { return !progress.isEmpty(); }, 30000));
    // The window closes: the transfer stops at once (it would need half a minute), and no
    // partial file is left behind.
    QElapsedTimer timer;
    timer.start();
    panel.shutdown();
    QVERIFY(timer.elapsed() < 10000);
    QVERIFY(!panel.busy());
    QVERIFY(QDir(m_local.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    // The finished thread's own notification, already posted, must find nothing left to do.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QVERIFY(panel.Button6->isEnabled());
    QVERIFY(m_errors.isEmpty());
}

QTEST_MAIN(TestFtp)
#include "tst_ftp.moc"
