#include "core/Dialogs.h"
#include "document/SourceEditor.h"
#include "preview/Preview.h"
#include "support/Files.h"
#include "support/Fixtures.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <sys/stat.h>

namespace {

const QByteArray kSecret = "TAJNE-7f3a91";
const QByteArray kSecretName = "tajny-plik-5c2e.txt";

// A web server on 127.0.0.1 standing for the internet: it serves the page's remote picture,
// style sheet and font, and keeps every request it gets, whatever sent it.
class Listener : public QObject
{
public:
    Listener()
    {
        QImage image(7, 5, QImage::Format_RGB32);
        image.fill(Qt::blue);
        QBuffer png;
        png.open(QIODevice::WriteOnly);
        image.save(&png, "PNG");
        QFile font(QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"));
        m_replies = {{"/remote.png", {"image/png", png.data()}},
                     {"/remote.css", {"text/css", "#remote-styled { color: rgb(4, 5, 6) }"}},
                     {"/remote.ttf", {"font/ttf", font.open(QIODevice::ReadOnly) ? font.readAll() : QByteArray()}}};
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { read(socket); });
        });
        m_server.listen(QHostAddress::LocalHost);
    }

    QString host() const { return QStringLiteral("127.0.0.1:%1").arg(m_server.serverPort()); }
    bool fontFound() const { return !m_replies.value("/remote.ttf").second.isEmpty(); }
    // Whether a request came whose path starts with `path`.
    bool received(const QByteArray &path) const
    {
        return std::any_of(m_requests.begin(), m_requests.end(), [&](const QByteArray &r) { return r.contains(" /" + path); });
    }
    // Every request, head and body.
    const QList<QByteArray> &all() const { return m_requests; }

private:
    void read(QTcpSocket *socket)
    {
        QByteArray &buffer = m_buffers[socket];
        buffer += socket->readAll();
        const qsizetype end = buffer.indexOf("\r\n\r\n");
        if (end < 0)
            return;
        qsizetype length = 0;
        for (const QByteArray &line : buffer.left(end).split('\n'))
            if (line.toLower().startsWith("content-length:"))
                length = line.mid(15).trimmed().toLongLong();
        if (buffer.size() < end + 4 + length)
            return;
        m_requests << buffer;
        const QByteArray path = buffer.mid(buffer.indexOf(' ') + 1).split(' ').value(0);
        const auto [type, body] = m_replies.value(path, {"text/plain", "ok"});
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: " + type + "\r\nAccess-Control-Allow-Origin: *\r\n"
                      "Content-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
        socket->disconnectFromHost();
        m_buffers.remove(socket);
    }

    QTcpServer m_server;
    QHash<QByteArray, std::pair<QByteArray, QByteArray>> m_replies; // path: type and body
    QHash<QTcpSocket *, QByteArray> m_buffers;
    QList<QByteArray> m_requests;
};

int modeOf(const QString &path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

} // namespace

Q_DECLARE_METATYPE(Dialogs::PageAnswer)

// A hostile page in a real web engine: what it may read and send, the boxes it may raise, and
// who may read the preview file.
class TestPreviewSafety : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void scriptsCannotReadLocalFiles_data();
    void scriptsCannotReadLocalFiles();
    void nothingReadLeavesThroughAnyChannel_data();
    void nothingReadLeavesThroughAnyChannel();
    void thePageStillLooksAsInABrowser_data();
    void thePageStillLooksAsInABrowser();
    void pageDialogs_data();
    void pageDialogs();
    void aNewLoadOffersTheBoxesAgain();
    void aBoxStillOpenIsClosedWhenThePreviewIsReplaced();
    void thePreviewFileIsPrivate_data();
    void thePreviewFileIsPrivate();

private:
    void showPage(const QString &html) { setDocument(m_editor, {html}); m_preview->show(m_editor, QString()); }
    QString title() { return evaluate(QStringLiteral("document.title")).toString(); }
    QVariant evaluate(const QString &script);
    const QJsonObject &hostileReport();
    QWebEngineView *view() { return m_host.findChild<QWebEngineView *>(QStringLiteral("WebBrowser1")); }

    QTemporaryDir m_dir;
    Listener m_listener;
    ScriptedDialogs m_dialogs;
    Guard m_guard{&m_dialogs};
    QWidget m_host;
    SourceEditor m_editor;
    std::unique_ptr<Preview> m_preview;
    QJsonObject m_report;
};

void TestPreviewSafety::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(m_listener.fontFound());
    QDir(m_dir.path()).mkpath(QStringLiteral("preview"));
    QDir(m_dir.path()).mkpath(QStringLiteral("other"));
    Preview::setFilePath(m_dir.filePath(QStringLiteral("preview/TarnwickView.html")));
    writeFile(m_dir.filePath(QStringLiteral("preview/secret.txt")), kSecret + " w tym samym folderze");
    writeFile(m_dir.filePath(QStringLiteral("other/") + kSecretName), kSecret + " w innym folderze");
    writeFile(m_dir.filePath(QStringLiteral("preview/local.css")), "#local-styled { color: rgb(1, 2, 3) }");
    writeFile(m_dir.filePath(QStringLiteral("preview/local.js")), "window.localScriptRan = true;");
    QVERIFY(QFile::copy(QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"), m_dir.filePath(QStringLiteral("preview/local.ttf"))));
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(Qt::red);
    QVERIFY(image.save(m_dir.filePath(QStringLiteral("preview/local.png"))));

    m_host.setLayout(new QVBoxLayout);
    m_host.resize(640, 480);
    m_host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&m_host));
    m_preview = std::make_unique<Preview>(&m_host, m_guard);
}

QVariant TestPreviewSafety::evaluate(const QString &script)
{
    QVariant result;
    bool done = false;
    view()->page()->runJavaScript(script, [&](const QVariant &v) {
        result = v;
        done = true;
    });
    if (!QTest::qWaitFor([&] { return done; }, 30000))
        return QStringLiteral("<no answer>");
    return result;
}

const QJsonObject &TestPreviewSafety::hostileReport()
{
    if (!m_report.isEmpty())
        return m_report;
    const QString other = QUrl::fromLocalFile(m_dir.filePath(QStringLiteral("other/") + kSecretName)).toString();
    const QString otherDir = QUrl::fromLocalFile(m_dir.filePath(QStringLiteral("other"))).toString() + u'/';
    showPage(QString::fromUtf8(readAll(QStringLiteral(TARNWICK_TESTS_DIR "/preview/hostile.html")))
                 .replace(QStringLiteral("@HOST@"), m_listener.host())
                 .replace(QStringLiteral("@OTHER@"), other)
                 .replace(QStringLiteral("@OTHER_DIR@"), otherDir));
    if (!QTest::qWaitFor([&] { return view() && title() == QStringLiteral("done"); }, 60000))
        return m_report;
    m_report = QJsonDocument::fromJson(evaluate(QStringLiteral("JSON.stringify(report)")).toString().toUtf8()).object();
    return m_report;
}

void TestPreviewSafety::scriptsCannotReadLocalFiles_data()
{
    QTest::addColumn<QString>("probe");
    QTest::newRow("fetch of a file in the page's own folder") << "fetchSameFolder";
    QTest::newRow("fetch of a file in another folder") << "fetchOtherFolder";
    QTest::newRow("XMLHttpRequest of a file") << "xhrOtherFolder";
    QTest::newRow("fetch of a folder listing") << "fetchListing";
    QTest::newRow("XMLHttpRequest of the listing of file:///") << "xhrRootListing";
    QTest::newRow("the document of an iframe showing a file") << "frameDocument";
    QTest::newRow("the document of an iframe showing a folder") << "frameListing";
    QTest::newRow("the pixels of a local picture drawn on a canvas") << "canvasPixels";
}

void TestPreviewSafety::scriptsCannotReadLocalFiles()
{
    QFETCH(QString, probe);
    const QJsonObject result = hostileReport().value(QStringLiteral("reads")).toObject().value(probe).toObject();
    QVERIFY2(!result.isEmpty(), "the page did not report");
    const QString text = result.value(QStringLiteral("text")).toString();
    // With local and remote loads both allowed, the engine treats a local page's pictures as
    // its own: their pixels stay readable, unlike in a browser.
    QEXPECT_FAIL("the pixels of a local picture drawn on a canvas", "the engine's origin rules allow it", Abort);
    QVERIFY2(!result.value(QStringLiteral("read")).toBool(), qPrintable(text.left(300)));
    QVERIFY(!text.contains(QString::fromLatin1(kSecret)));
    QVERIFY(!text.contains(QString::fromLatin1(kSecretName)));
}

void TestPreviewSafety::nothingReadLeavesThroughAnyChannel_data()
{
    QTest::addColumn<QByteArray>("path");
    QTest::newRow("fetch POST") << QByteArray("fetch");
    QTest::newRow("WebSocket") << QByteArray("websocket");
    QTest::newRow("form POST") << QByteArray("form");
    QTest::newRow("image beacon") << QByteArray("beacon");
    QTest::newRow("sendBeacon") << QByteArray("sendbeacon");
}

void TestPreviewSafety::nothingReadLeavesThroughAnyChannel()
{
    QFETCH(QByteArray, path);
    QVERIFY(!hostileReport().isEmpty());
    // The channel works, as in a browser; what it carries holds nothing of the files.
    QTRY_VERIFY_WITH_TIMEOUT(m_listener.received(path), 30000);
    for (const QByteArray &request : m_listener.all()) {
        const QByteArray decoded = QByteArray::fromPercentEncoding(request);
        QVERIFY2(!decoded.contains(kSecret) && !decoded.contains(kSecretName), request.left(300).constData());
    }
}

void TestPreviewSafety::thePageStillLooksAsInABrowser_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("a local picture") << "localImage" << QVariant(3);
    QTest::newRow("a local style sheet") << "localStyleSheet" << QVariant("rgb(1, 2, 3)");
    QTest::newRow("a local script") << "localScript" << QVariant("ran");
    QTest::newRow("a remote picture") << "remoteImage" << QVariant(7);
    QTest::newRow("a remote style sheet") << "remoteStyleSheet" << QVariant("rgb(4, 5, 6)");
    QTest::newRow("a local font") << "localFont" << QVariant("loaded");
    QTest::newRow("a remote font") << "remoteFont" << QVariant("loaded");
}

void TestPreviewSafety::thePageStillLooksAsInABrowser()
{
    QFETCH(QString, item);
    QFETCH(QVariant, expected);
    const QJsonValue value = hostileReport().value(QStringLiteral("look")).toObject().value(item);
    QCOMPARE(value.toVariant().toString(), expected.toString());
}

void TestPreviewSafety::pageDialogs_data()
{
    using Answer = Dialogs::PageAnswer;
    QTest::addColumn<QList<Answer>>("answers");
    QTest::addColumn<int>("asked");
    QTest::addColumn<QString>("results"); // of confirm() and prompt()

    const Answer ok{true, QString(), false};
    const Answer silence{true, QString(), true};
    const Answer cancel{false, QString(), false};
    const Answer name{true, QStringLiteral("Anna <b>"), false};
    QTest::newRow("silenced at the second box: the loop ends, confirm false, prompt null")
        << QList<Answer>{ok, silence} << 2 << "false,null";
    QTest::newRow("never silenced: every box is shown and answered")
        << QList<Answer>{ok, ok, ok, ok, ok, ok, ok, name} << 8 << "true,\"Anna <b>\"";
    QTest::newRow("cancelled: confirm false, prompt null")
        << QList<Answer>{ok, ok, ok, ok, ok, ok, cancel, cancel} << 8 << "false,null";
    QTest::newRow("silenced at the confirm box: it keeps its answer, prompt is not shown")
        << QList<Answer>{ok, ok, ok, ok, ok, ok, silence} << 7 << "true,null";
}

void TestPreviewSafety::pageDialogs()
{
    using Kind = Dialogs::PageQuestion::Kind;
    QFETCH(QList<Dialogs::PageAnswer>, answers);
    QFETCH(int, asked);
    QFETCH(QString, results);
    m_dialogs.pageQuestions.clear();
    m_dialogs.pageAnswers.assign(answers.begin(), answers.end());
    showPage(QStringLiteral("<script>for (let i = 0; i < 6; i++) alert('Uwaga <B>' + i + '</B> & \"x\" &amp;');"
                            "document.title = 'koniec ' + confirm('Na pewno?') + ',' "
                            "+ JSON.stringify(prompt('Imię?', 'Jan &amp;'));</script>"));
    QTRY_COMPARE_WITH_TIMEOUT(title(), QStringLiteral("koniec ") + results, 60000);
    QCOMPARE(m_dialogs.pageQuestions.size(), asked);
    for (int i = 0; i < asked; ++i) {
        const Dialogs::PageQuestion &q = m_dialogs.pageQuestions.at(i);
        QCOMPARE(q.offerSilence, i >= 1);
        const Kind kind = i < 6 ? Kind::Alert : i == 6 ? Kind::Confirm : Kind::Prompt;
        QVERIFY(q.kind == kind);
        const QString message = kind == Kind::Alert     ? QStringLiteral("Uwaga <B>%1</B> & \"x\" &amp;").arg(i)
                                : kind == Kind::Confirm ? QStringLiteral("Na pewno?")
                                                        : QStringLiteral("Imię?");
        QCOMPARE(q.message, message);
        QCOMPARE(q.defaultText, kind == Kind::Prompt ? QStringLiteral("Jan &amp;") : QString());
    }
}

void TestPreviewSafety::aNewLoadOffersTheBoxesAgain()
{
    const Dialogs::PageAnswer silence{true, QString(), true};
    m_dialogs.pageQuestions.clear();
    m_dialogs.pageAnswers = {silence, silence, silence, silence};
    showPage(QStringLiteral("<script>alert(1); alert(2); alert(3); document.title = 'wczytana ' + Date.now();</script>"));
    QTRY_VERIFY_WITH_TIMEOUT(title().startsWith(QStringLiteral("wczytana")), 60000);
    QCOMPARE(m_dialogs.pageQuestions.size(), 2);
    const QString first = title();
    m_preview->refresh();
    QTRY_VERIFY_WITH_TIMEOUT(title().startsWith(QStringLiteral("wczytana")) && title() != first, 60000);
    QCOMPARE(m_dialogs.pageQuestions.size(), 4);
    QVERIFY(!m_dialogs.pageQuestions.at(2).offerSilence);
}

// The user leaves the box open and switches to the source page, which rewrites the preview.
class SwitchingDialogs : public ScriptedDialogs
{
public:
    std::function<void()> whileAsked;
    QList<bool> scopeEndedDuringTheQuestion;
    PageAnswer askPage(const PageQuestion &question) override
    {
        QPointer<QObject> scope = question.scope;
        if (std::function<void()> act = std::exchange(whileAsked, {}))
            act();
        scopeEndedDuringTheQuestion << scope.isNull();
        return ScriptedDialogs::askPage(question);
    }
};

void TestPreviewSafety::aBoxStillOpenIsClosedWhenThePreviewIsReplaced()
{
    SwitchingDialogs dialogs;
    m_guard.setDialogs(&dialogs);
    dialogs.pageAnswers = {{true, QString(), false}, {true, QString(), false}};
    dialogs.whileAsked = [&] { showPage(QStringLiteral("<script>alert('druga'); document.title = 'druga';</script>")); };
    showPage(QStringLiteral("<script>alert('pierwsza'); document.title = 'pierwsza';</script>"));
    QTRY_COMPARE_WITH_TIMEOUT(title(), QStringLiteral("druga"), 60000);
    m_guard.setDialogs(&m_dialogs);
    QCOMPARE(dialogs.scopeEndedDuringTheQuestion, (QList<bool>{true, false}));
    QCOMPARE(dialogs.pageQuestions.size(), 2);
    QCOMPARE(dialogs.pageQuestions.at(1).message, QStringLiteral("druga"));
}

void TestPreviewSafety::thePreviewFileIsPrivate_data()
{
    QTest::addColumn<bool>("leftOpen");
    QTest::newRow("a new folder and file") << false;
    QTest::newRow("a folder and file left readable to all") << true;
}

void TestPreviewSafety::thePreviewFileIsPrivate()
{
    QFETCH(bool, leftOpen);
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("cache/Tarnwick"));
    const QString path = folder + QStringLiteral("/TarnwickView.html");
    if (leftOpen) {
        QVERIFY(QDir().mkpath(folder));
        writeFile(path, "stara");
        QVERIFY(QFile::setPermissions(folder, QFile::Permissions(0x7755)));
        QVERIFY(QFile::setPermissions(path, QFile::Permissions(0x6644)));
        QCOMPARE(modeOf(folder), 0755);
    }
    const mode_t mask = ::umask(022);
    Preview::setFilePath(path);
    showPage(QStringLiteral("<P>prywatne</P>"));
    Preview::setFilePath(m_dir.filePath(QStringLiteral("preview/TarnwickView.html")));
    ::umask(mask);
    QCOMPARE(modeOf(folder), 0700);
    QCOMPARE(modeOf(path), 0600);
    QCOMPARE(readAll(path), QByteArray("<P>prywatne</P>"));
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("TarnwickView.html")});
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    TestPreviewSafety test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_previewsafety.moc"
