#include "ftp/FtpCurl.h"

#include "ftp/CurlLibrary.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/socket.h>
#include <unistd.h>

// The callbacks curl calls during an operation; they read and set the client's state.
struct FtpCallbacks {
    static int progress(void *user, curl_off_t dlTotal, curl_off_t dlNow, curl_off_t ulTotal, curl_off_t ulNow)
    {
        auto *t = static_cast<FtpCurl::Transfer *>(user);
        FtpClient *c = t->client;
        if (c->m_abort)
            return 1;
        const qint64 total = dlTotal + ulTotal;
        const qint64 done = dlNow + ulNow;
        // curl calls this about once a second also while nothing moves: a server that
        // stopped answering is noticed here in every phase, SSH included.
        const auto now = std::chrono::steady_clock::now();
        if (done != t->lastDone) {
            t->lastDone = done;
            t->lastActivity = now;
        } else if (!c->m_connecting && now - t->lastActivity > std::chrono::seconds(c->m_timeouts.stallSeconds)) {
            c->m_stalled = true;
            return 1;
        }
        // Reported in steps of 1/200 of the file: a moving bar without a flood of events.
        if (c->onProgress && done != t->lastReported
            && (t->lastReported < 0 || total <= 0 || done - t->lastReported >= total / 200 || done == total)) {
            t->lastReported = done;
            c->onProgress(done, total);
        }
        return 0;
    }

    static int debug(CURL *, curl_infotype type, char *data, size_t size, void *user)
    {
        auto *c = static_cast<FtpClient *>(user);
        if (type == CURLINFO_HEADER_IN) {
            const QByteArray line = QByteArray(data, qsizetype(size)).trimmed();
            if (!line.isEmpty())
                c->m_lastReply = FtpPath::displayName(line);
            if (line.startsWith("230"))
                c->report(QStringLiteral("Zalogowano."));
            return 0;
        }
        if (!c->m_connecting)
            return 0;
        if (type == CURLINFO_TEXT) {
            const QByteArray text = QByteArray(data, qsizetype(size)).trimmed();
            if (text.startsWith("Trying "))
                c->report(QStringLiteral("Łączenie z %1...").arg(QString::fromUtf8(text.mid(7)).remove(QLatin1String("..."))));
            else if (text.startsWith("Connected to "))
                c->report(QStringLiteral("Połączono z %1.").arg(c->m_address.host));
        } else if (type == CURLINFO_HEADER_OUT) {
            // The password line is never shown: only the command's name is looked at.
            if (size >= 5 && qstrncmp(data, "USER ", 5) == 0)
                c->report(QStringLiteral("Logowanie jako %1...").arg(c->m_login.user));
        }
        return 0;
    }

    // Every socket curl opens is known, so a stop can close them from another thread.
    static curl_socket_t openSocket(void *user, curlsocktype, curl_sockaddr *address)
    {
        auto *c = static_cast<FtpClient *>(user);
        const int s = ::socket(address->family, address->socktype | SOCK_CLOEXEC, address->protocol);
        if (s < 0)
            return CURL_SOCKET_BAD;
        const std::lock_guard<std::mutex> lock(c->m_socketsLock);
        c->m_sockets.insert(s);
        if (c->m_abort)
            ::shutdown(s, SHUT_RDWR);
        return s;
    }

    static int closeSocket(void *user, curl_socket_t s)
    {
        auto *c = static_cast<FtpClient *>(user);
        const std::lock_guard<std::mutex> lock(c->m_socketsLock);
        c->m_sockets.remove(s);
        return ::close(s);
    }

    static int sshKey(CURL *, const curl_khkey *, const curl_khkey *found, curl_khmatch match, void *user)
    {
        auto *c = static_cast<FtpClient *>(user);
        const QByteArray blob = found->len ? QByteArray(found->key, qsizetype(found->len))
                                           : QByteArray::fromBase64(QByteArray(found->key));
        if (match == CURLKHMATCH_OK)
            return CURLKHSTAT_FINE;
        if (match == CURLKHMATCH_MISMATCH) {
            c->m_keyChanged = true;
            return CURLKHSTAT_REJECT;
        }
        switch (FtpTrust::lookupKey(c->m_address.host, c->m_address.port, blob)) {
        case FtpTrust::KeyMatch::Known:
            return CURLKHSTAT_FINE;
        case FtpTrust::KeyMatch::Changed:
            c->m_keyChanged = true;
            return CURLKHSTAT_REJECT;
        case FtpTrust::KeyMatch::Missing:
            break;
        }
        if (blob == c->m_login.acceptedKey)
            return CURLKHSTAT_FINE;
        c->m_unknownKey = blob;
        return CURLKHSTAT_REJECT;
    }

    static bool overflow(FtpClient *c)
    {
        c->m_overflow = true;
        return false;
    }
};

namespace FtpCurl {

void ensureCurl()
{
    Curl::lib();
}

size_t write(char *data, size_t size, size_t count, void *user)
{
    auto *t = static_cast<Transfer *>(user);
    const qint64 n = qint64(size * count);
    if (t->listing)
        return t->listing->append(data, n) || FtpCallbacks::overflow(t->client) ? size_t(n) : 0;
    return t->device->write(data, n) == n ? size_t(n) : 0;
}

size_t read(char *data, size_t size, size_t count, void *user)
{
    auto *t = static_cast<Transfer *>(user);
    const qint64 n = t->device->read(data, qint64(size * count));
    return n < 0 ? CURL_READFUNC_ABORT : size_t(n);
}

int perform(void *multi, void *easy)
{
    // curl_easy_perform sleeps up to a second whenever curl is left with no socket to watch
    // and no timer due. libcurl 7.88's FTP does that at random between the PASV reply and
    // opening the data connection, so about every other transfer or listing took a second
    // longer (the command-line tool loses 0.2 s there, bounded by a connect timer that a
    // reused connection does not have). The same loop with a short bound on the wait.
    constexpr int kLongestWaitMs = 5;
    CURLM *m = static_cast<CURLM *>(multi);
    if (Curl::lib().multi_add_handle(m, easy) != CURLM_OK)
        return CURLE_FAILED_INIT;
    CURLcode result = CURLE_OK;
    int running = 1;
    while (running) {
        if (Curl::lib().multi_perform(m, &running) != CURLM_OK
            || (running && Curl::lib().multi_poll(m, nullptr, 0, kLongestWaitMs, nullptr) != CURLM_OK)) {
            result = CURLE_OUT_OF_MEMORY;
            break;
        }
    }
    int left = 0;
    while (CURLMsg *message = Curl::lib().multi_info_read(m, &left))
        if (message->msg == CURLMSG_DONE && message->easy_handle == easy)
            result = message->data.result;
    Curl::lib().multi_remove_handle(m, easy);
    return result;
}

void setCommonOptions(void *curl, FtpClient *client, const FtpClient::Timeouts &timeouts)
{
    CURL *c = curl;
    Curl::lib().easy_setopt(c, CURLOPT_PROXY, "");
    Curl::lib().easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    // Downloads arrive in large blocks (the default 16 KiB costs a fifth of the throughput on
    // loopback); uploads keep curl's own block size, larger ones measured no faster.
    Curl::lib().easy_setopt(c, CURLOPT_BUFFERSIZE, 512L * 1024);
    Curl::lib().easy_setopt(c, CURLOPT_UPLOAD_BUFFERSIZE, 64L * 1024);
    Curl::lib().easy_setopt(c, CURLOPT_TCP_NODELAY, 1L);
    Curl::lib().easy_setopt(c, CURLOPT_CONNECTTIMEOUT, long(timeouts.connectSeconds));
    Curl::lib().easy_setopt(c, CURLOPT_SERVER_RESPONSE_TIMEOUT, long(timeouts.stallSeconds));
    Curl::lib().easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
    Curl::lib().easy_setopt(c, CURLOPT_LOW_SPEED_TIME, long(timeouts.stallSeconds));
    Curl::lib().easy_setopt(c, CURLOPT_OPENSOCKETFUNCTION, &FtpCallbacks::openSocket);
    Curl::lib().easy_setopt(c, CURLOPT_OPENSOCKETDATA, client);
    Curl::lib().easy_setopt(c, CURLOPT_CLOSESOCKETFUNCTION, &FtpCallbacks::closeSocket);
    Curl::lib().easy_setopt(c, CURLOPT_CLOSESOCKETDATA, client);
    Curl::lib().easy_setopt(c, CURLOPT_DEBUGFUNCTION, &FtpCallbacks::debug);
    Curl::lib().easy_setopt(c, CURLOPT_DEBUGDATA, client);
    Curl::lib().easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    Curl::lib().easy_setopt(c, CURLOPT_XFERINFOFUNCTION, &FtpCallbacks::progress);
}

void setSshOptions(void *curl, FtpClient *client, const QString &password)
{
    CURL *c = curl;
    const QDir ssh(QDir::home().filePath(QStringLiteral(".ssh")));
    if (!password.isEmpty()) {
        Curl::lib().easy_setopt(c, CURLOPT_PASSWORD, password.toUtf8().constData());
        Curl::lib().easy_setopt(c, CURLOPT_SSH_AUTH_TYPES, long(CURLSSH_AUTH_PASSWORD | CURLSSH_AUTH_KEYBOARD));
    } else {
        // Without a password: the agent and the first of the keys ssh itself tries.
        Curl::lib().easy_setopt(c, CURLOPT_SSH_AUTH_TYPES, long(CURLSSH_AUTH_PUBLICKEY | CURLSSH_AUTH_AGENT));
        for (const char *name : {"id_ed25519", "id_ecdsa", "id_rsa"}) {
            const QString key = ssh.filePath(QLatin1String(name));
            if (!QFile::exists(key))
                continue;
            Curl::lib().easy_setopt(c, CURLOPT_SSH_PRIVATE_KEYFILE, QFile::encodeName(key).constData());
            // Empty: libssh2 computes the public key from the private one.
            const QByteArray pub = QFile::exists(key + QStringLiteral(".pub")) ? QFile::encodeName(key + QStringLiteral(".pub")) : QByteArray();
            Curl::lib().easy_setopt(c, CURLOPT_SSH_PUBLIC_KEYFILE, pub.constData());
            break;
        }
    }
    Curl::lib().easy_setopt(c, CURLOPT_SSH_KNOWNHOSTS, QFile::encodeName(ssh.filePath(QStringLiteral("known_hosts"))).constData());
    Curl::lib().easy_setopt(c, CURLOPT_SSH_KEYFUNCTION, &FtpCallbacks::sshKey);
    Curl::lib().easy_setopt(c, CURLOPT_SSH_KEYDATA, client);
}

std::optional<FtpTrust::Certificate> fetchCertificate(const QByteArray &url, FtpClient *client,
                                                      const FtpClient::Timeouts &timeouts)
{
    CURL *c = Curl::lib().easy_init();
    if (!c)
        return std::nullopt;
    Curl::lib().easy_setopt(c, CURLOPT_URL, url.constData());
    setCommonOptions(c, client, timeouts);
    Curl::lib().easy_setopt(c, CURLOPT_NOPROGRESS, 1L);
    Curl::lib().easy_setopt(c, CURLOPT_USE_SSL, long(CURLUSESSL_ALL));
    Curl::lib().easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 0L);
    Curl::lib().easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 0L);
    Curl::lib().easy_setopt(c, CURLOPT_CERTINFO, 1L);
    // A pin nothing matches ends the handshake after the certificate has been read and
    // before the login is sent to a server nobody trusts yet.
    Curl::lib().easy_setopt(c, CURLOPT_PINNEDPUBLICKEY, "sha256//AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA=");
    Curl::lib().easy_setopt(c, CURLOPT_NOBODY, 1L);
    Curl::lib().easy_perform(c);
    QByteArray pem;
    curl_certinfo *info = nullptr;
    if (Curl::lib().easy_getinfo(c, CURLINFO_CERTINFO, &info) == CURLE_OK && info && info->num_of_certs > 0)
        for (curl_slist *s = info->certinfo[0]; s; s = s->next)
            if (qstrncmp(s->data, "Cert:", 5) == 0)
                pem = QByteArray(s->data + 5);
    Curl::lib().easy_cleanup(c);
    return pem.isEmpty() ? std::nullopt : FtpTrust::certificateFromPem(pem);
}

} // namespace FtpCurl

