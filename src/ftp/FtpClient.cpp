#include "ftp/FtpClient.h"

#include "core/Failure.h"
#include "ftp/FtpPath.h"

#include <QCollator>
#include <QFile>
#include <QFileInfo>
#include <QDir>
#include <QTemporaryFile>

#include <curl/curl.h>

struct FtpClient::Transfer {
    FtpClient *client;
    QIODevice *device = nullptr;
    QByteArray *buffer = nullptr;
    qint64 lastReported = -1;
};

namespace {

void ensureCurl()
{
    static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    if (!initialised)
        throw Failure(QStringLiteral("Nie można uruchomić biblioteki libcurl."));
}

CURL *h(void *handle) { return static_cast<CURL *>(handle); }

// Codes after which the control connection cannot be trusted any more.
bool losesConnection(CURLcode rc)
{
    switch (rc) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_PARTIAL_FILE:
    case CURLE_GOT_NOTHING:
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_OPERATION_TIMEDOUT:
    case CURLE_ABORTED_BY_CALLBACK:
    case CURLE_FTP_ACCEPT_FAILED:
    case CURLE_FTP_ACCEPT_TIMEOUT:
    case CURLE_FTP_CANT_GET_HOST:
    case CURLE_FTP_WEIRD_PASV_REPLY:
    case CURLE_FTP_WEIRD_227_FORMAT:
    case CURLE_FTP_PORT_FAILED:
    case CURLE_LOGIN_DENIED:
        return true;
    default:
        return false;
    }
}

QString describe(CURLcode rc, const char *detail, long reply, const QString &host, const QString &what)
{
    const QString more = detail && *detail ? QString::fromUtf8(detail) : QString::fromUtf8(curl_easy_strerror(rc));
    switch (rc) {
    case CURLE_COULDNT_RESOLVE_HOST:
        return QStringLiteral("Nie można odnaleźć hosta „%1”.").arg(host);
    case CURLE_COULDNT_CONNECT:
        return QStringLiteral("Nie można połączyć się z serwerem „%1”: %2").arg(host, more);
    case CURLE_LOGIN_DENIED:
        return QStringLiteral("Serwer odrzucił logowanie (odpowiedź %1). Sprawdź login i hasło.").arg(reply);
    case CURLE_REMOTE_FILE_NOT_FOUND:
    case CURLE_FTP_COULDNT_RETR_FILE:
        return QStringLiteral("Serwer nie wydał pliku %1 (odpowiedź %2).").arg(what).arg(reply);
    case CURLE_UPLOAD_FAILED:
    case CURLE_REMOTE_ACCESS_DENIED:
        return QStringLiteral("Serwer nie przyjął pliku %1 (odpowiedź %2).").arg(what).arg(reply);
    case CURLE_QUOTE_ERROR:
        return QStringLiteral("Serwer odmówił wykonania polecenia dla %1 (odpowiedź %2).").arg(what).arg(reply);
    case CURLE_ABORTED_BY_CALLBACK:
        return QStringLiteral("Przerwano przesyłanie %1.").arg(what);
    case CURLE_PARTIAL_FILE:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_GOT_NOTHING:
        return QStringLiteral("Połączenie z serwerem zostało przerwane (%1).").arg(more);
    default:
        return QStringLiteral("Błąd FTP: %1").arg(more);
    }
}

size_t writeToDevice(char *data, size_t size, size_t count, void *user)
{
    auto *t = static_cast<FtpClient::Transfer *>(user);
    const qint64 n = qint64(size * count);
    if (t->buffer) {
        t->buffer->append(data, n);
        return size_t(n);
    }
    return t->device->write(data, n) == n ? size_t(n) : 0;
}

size_t readFromDevice(char *data, size_t size, size_t count, void *user)
{
    auto *t = static_cast<FtpClient::Transfer *>(user);
    const qint64 n = t->device->read(data, qint64(size * count));
    return n < 0 ? CURL_READFUNC_ABORT : size_t(n);
}

} // namespace

// The progress and debug callbacks need the private members; they are friends in all but name.
struct FtpCallbacks {
    static int progress(void *user, curl_off_t dlTotal, curl_off_t dlNow, curl_off_t ulTotal, curl_off_t ulNow)
    {
        auto *t = static_cast<FtpClient::Transfer *>(user);
        if (t->client->m_abort)
            return 1;
        const qint64 total = dlTotal + ulTotal;
        const qint64 done = dlNow + ulNow;
        // Reported in steps of 1/200 of the file: a moving bar without a flood of events.
        if (t->client->onProgress && done != t->lastReported
            && (t->lastReported < 0 || total <= 0 || done - t->lastReported >= total / 200 || done == total)) {
            t->lastReported = done;
            t->client->onProgress(done, total);
        }
        return 0;
    }

    static int debug(CURL *, curl_infotype type, char *data, size_t size, void *user)
    {
        auto *client = static_cast<FtpClient *>(user);
        if (!client->onStatus)
            return 0;
        if (type == CURLINFO_TEXT) {
            const QByteArray text = QByteArray(data, qsizetype(size)).trimmed();
            if (text.startsWith("Trying "))
                client->onStatus(QStringLiteral("Łączenie z %1...").arg(QString::fromUtf8(text.mid(7)).remove(QLatin1String("..."))));
            else if (text.startsWith("Connected to ") && client->m_connecting)
                client->onStatus(QStringLiteral("Połączono z %1.").arg(client->m_login.host));
        } else if (type == CURLINFO_HEADER_OUT) {
            // The password line is never shown: only the command's name is looked at.
            if (size >= 5 && qstrncmp(data, "USER ", 5) == 0)
                client->onStatus(QStringLiteral("Logowanie jako %1...").arg(client->m_login.user));
        } else if (type == CURLINFO_HEADER_IN) {
            if (size >= 3 && qstrncmp(data, "230", 3) == 0)
                client->onStatus(QStringLiteral("Zalogowano."));
        }
        return 0;
    }
};

FtpClient::FtpClient() = default;

FtpClient::~FtpClient()
{
    if (m_handle)
        curl_easy_cleanup(h(m_handle));
}

void FtpClient::requireConnection() const
{
    if (!m_handle)
        throw Failure(QStringLiteral("Nie połączono z serwerem FTP."));
}

void FtpClient::begin()
{
    requireConnection();
    m_abort = false;
}

void FtpClient::report(const QString &text) const
{
    if (onStatus)
        onStatus(text);
}

void FtpClient::prepare(const QString &path)
{
    CURL *c = h(m_handle);
    curl_easy_reset(c); // options only: the open connection stays
    const QByteArray url = FtpPath::url(m_login.host, m_login.port, path);
    curl_easy_setopt(c, CURLOPT_URL, url.constData());
    curl_easy_setopt(c, CURLOPT_USERNAME, m_login.user.toUtf8().constData());
    curl_easy_setopt(c, CURLOPT_PASSWORD, m_login.password.toUtf8().constData());
    curl_easy_setopt(c, CURLOPT_PROXY, "");
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_FTP_FILEMETHOD, long(CURLFTPMETHOD_NOCWD));
    curl_easy_setopt(c, CURLOPT_FTPPORT, m_login.passive ? nullptr : "-");
    // Downloads arrive in large blocks (the default 16 KiB costs a fifth of the throughput on
    // loopback); uploads keep curl's own block size, larger ones measured no faster.
    curl_easy_setopt(c, CURLOPT_BUFFERSIZE, 512L * 1024);
    curl_easy_setopt(c, CURLOPT_UPLOAD_BUFFERSIZE, 64L * 1024);
    curl_easy_setopt(c, CURLOPT_TCP_NODELAY, 1L);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, m_error);
    // The protocol trace feeds the status texts of connecting and logging in; a transfer
    // does without it, since it would pass every block of data through the trace too.
    curl_easy_setopt(c, CURLOPT_DEBUGFUNCTION, &FtpCallbacks::debug);
    curl_easy_setopt(c, CURLOPT_DEBUGDATA, this);
    curl_easy_setopt(c, CURLOPT_VERBOSE, long(m_connecting));
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, &FtpCallbacks::progress);
    m_error[0] = '\0';
}

void FtpClient::perform(const QString &what)
{
    const CURLcode rc = curl_easy_perform(h(m_handle));
    if (rc == CURLE_OK)
        return;
    long reply = 0;
    curl_easy_getinfo(h(m_handle), CURLINFO_RESPONSE_CODE, &reply);
    const QString message = describe(rc, m_error, reply, m_login.host, what);
    if (losesConnection(rc))
        lose();
    throw Failure(message);
}

void FtpClient::lose()
{
    if (!m_handle)
        return;
    curl_easy_cleanup(h(m_handle));
    m_handle = nullptr;
    if (onDisconnected)
        onDisconnected();
}

void FtpClient::connectAndLogin(const Login &login)
{
    ensureCurl();
    if (m_handle)
        disconnect();
    m_login = login;
    m_abort = false;
    m_handle = curl_easy_init();
    if (!m_handle)
        throw Failure(QStringLiteral("Nie można utworzyć połączenia FTP."));
    report(QStringLiteral("Wyszukiwanie hosta %1...").arg(login.host));
    m_connecting = true;
    prepare(QString());
    curl_easy_setopt(h(m_handle), CURLOPT_NOBODY, 1L);
    Transfer t{this};
    curl_easy_setopt(h(m_handle), CURLOPT_XFERINFODATA, &t);
    try {
        perform(login.host);
        m_connecting = false;
    } catch (...) {
        m_connecting = false;
        // A failed connect or login leaves nothing open; the next attempt starts afresh.
        if (m_handle) {
            curl_easy_cleanup(h(m_handle));
            m_handle = nullptr;
        }
        throw;
    }
    char *entry = nullptr;
    curl_easy_getinfo(h(m_handle), CURLINFO_FTP_ENTRY_PATH, &entry);
    m_entryPath = entry ? QString::fromUtf8(entry) : QStringLiteral("/");
    report(QStringLiteral("Połączono z %1 jako %2.").arg(login.host, login.user));
}

void FtpClient::disconnect()
{
    if (!m_handle)
        return;
    report(QStringLiteral("Rozłączanie..."));
    curl_easy_cleanup(h(m_handle)); // sends QUIT on the open control connection
    m_handle = nullptr;
    if (onDisconnected)
        onDisconnected();
}

QString FtpClient::currentDirectory() const
{
    requireConnection();
    return m_entryPath;
}

QStringList FtpClient::listFiles()
{
    begin();
    report(QStringLiteral("Pobieranie listy plików..."));
    QByteArray listing;
    Transfer t{this};
    t.buffer = &listing;
    QStringList names;
    bool machineReadable = true;
    try {
        prepare(QString());
        curl_easy_setopt(h(m_handle), CURLOPT_CUSTOMREQUEST, "MLSD");
        curl_easy_setopt(h(m_handle), CURLOPT_WRITEFUNCTION, &writeToDevice);
        curl_easy_setopt(h(m_handle), CURLOPT_WRITEDATA, &t);
        curl_easy_setopt(h(m_handle), CURLOPT_XFERINFODATA, &t);
        perform(QStringLiteral("MLSD"));
    } catch (const Failure &) {
        if (!m_handle)
            throw;
        // The server has no MLSD: its plain name list has to do.
        machineReadable = false;
        listing.clear();
        prepare(QString());
        curl_easy_setopt(h(m_handle), CURLOPT_DIRLISTONLY, 1L);
        curl_easy_setopt(h(m_handle), CURLOPT_WRITEFUNCTION, &writeToDevice);
        curl_easy_setopt(h(m_handle), CURLOPT_WRITEDATA, &t);
        curl_easy_setopt(h(m_handle), CURLOPT_XFERINFODATA, &t);
        perform(QStringLiteral("NLST"));
    }
    for (QByteArray line : listing.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty())
            continue;
        QString name;
        if (machineReadable) {
            const qsizetype space = line.indexOf(' ');
            if (space < 0)
                continue;
            const QByteArray facts = line.left(space).toLower();
            if (!facts.startsWith("type=file;") && !facts.contains(";type=file;"))
                continue;
            name = QString::fromUtf8(line.mid(space + 1));
        } else {
            name = QString::fromUtf8(line);
            const qsizetype slash = name.lastIndexOf(QLatin1Char('/'));
            if (slash >= 0)
                name = name.mid(slash + 1);
            if (name == QLatin1String(".") || name == QLatin1String(".."))
                continue;
        }
        names.append(name);
    }
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(names.begin(), names.end(), collator);
    return names;
}

void FtpClient::download(const QString &remotePath, const QString &localPath)
{
    begin();
    if (QFileInfo::exists(localPath))
        throw Failure(QStringLiteral("Destination file already exists."));
    // Written under a temporary name beside the target and renamed at the end, so a failed
    // transfer leaves nothing behind. Unlike a document save it is not synced to disk first:
    // that would halve the speed of a large download for nothing the user asked.
    const QFileInfo target(localPath);
    QTemporaryFile file(target.absoluteDir().filePath(QLatin1Char('.') + target.fileName() + QStringLiteral(".XXXXXX")));
    if (!file.open())
        throw Failure(QStringLiteral("Cannot create file \"%1\". %2").arg(localPath, file.errorString()));
    report(QStringLiteral("Pobieranie %1...").arg(remotePath));
    Transfer t{this};
    t.device = &file;
    prepare(remotePath);
    curl_easy_setopt(h(m_handle), CURLOPT_WRITEFUNCTION, &writeToDevice);
    curl_easy_setopt(h(m_handle), CURLOPT_WRITEDATA, &t);
    curl_easy_setopt(h(m_handle), CURLOPT_XFERINFODATA, &t);
    perform(remotePath);
    if (!file.flush())
        throw Failure(QStringLiteral("Cannot create file \"%1\". %2").arg(localPath, file.errorString()));
    // A rename never replaces a file that appeared meanwhile.
    if (QFileInfo::exists(localPath) || !file.rename(localPath))
        throw Failure(QStringLiteral("Destination file already exists."));
    file.setAutoRemove(false);
    report(QStringLiteral("Pobrano %1.").arg(remotePath));
}

void FtpClient::upload(const QString &localPath, const QString &remotePath)
{
    begin();
    QFile file(localPath);
    // Unbuffered: curl asks for large blocks, a second copy through a buffer only costs.
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw Failure(QStringLiteral("Cannot open file \"%1\". %2").arg(localPath, file.errorString()));
    report(QStringLiteral("Wysyłanie %1...").arg(remotePath));
    Transfer t{this};
    t.device = &file;
    prepare(remotePath);
    curl_easy_setopt(h(m_handle), CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(h(m_handle), CURLOPT_READFUNCTION, &readFromDevice);
    curl_easy_setopt(h(m_handle), CURLOPT_READDATA, &t);
    curl_easy_setopt(h(m_handle), CURLOPT_INFILESIZE_LARGE, curl_off_t(file.size()));
    curl_easy_setopt(h(m_handle), CURLOPT_XFERINFODATA, &t);
    perform(remotePath);
    report(QStringLiteral("Wysłano %1.").arg(remotePath));
}

void FtpClient::remove(const QString &remotePath)
{
    begin();
    report(QStringLiteral("Usuwanie %1...").arg(remotePath));
    prepare(QString());
    curl_easy_setopt(h(m_handle), CURLOPT_NOBODY, 1L);
    const QByteArray command = "DELE " + remotePath.toUtf8();
    curl_slist *quote = curl_slist_append(nullptr, command.constData());
    curl_easy_setopt(h(m_handle), CURLOPT_QUOTE, quote);
    Transfer t{this};
    curl_easy_setopt(h(m_handle), CURLOPT_XFERINFODATA, &t);
    try {
        perform(remotePath);
    } catch (...) {
        curl_slist_free_all(quote);
        throw;
    }
    curl_slist_free_all(quote);
    report(QStringLiteral("Usunięto %1.").arg(remotePath));
}
