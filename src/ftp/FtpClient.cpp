#include "ftp/FtpClient.h"

#include "ftp/CurlLibrary.h"
#include "ftp/FtpCurl.h"
#include "ftp/FtpTrust.h"
#include "core/Failure.h"
#include "ftp/FtpPath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <climits>
#include <sys/socket.h>
#include <unistd.h>

using FtpCurl::h;
using FtpCurl::Transfer;

FtpClient::FtpClient() = default;

FtpClient::~FtpClient()
{
    // The window is closing: the connection is dropped, not ended politely, so a server
    // that stopped answering cannot hold the program up.
    if (m_handle) {
        abort();
        closeHandles();
    }
}

void FtpClient::closeHandles()
{
    // The open connections belong to the multi handle: its cleanup ends them (QUIT on FTP).
    Curl::lib().easy_cleanup(h(m_handle));
    Curl::lib().multi_cleanup(static_cast<CURLM *>(m_multi));
    m_handle = nullptr;
    m_multi = nullptr;
}

void FtpClient::abort()
{
    m_abort = true;
    const std::lock_guard<std::mutex> lock(m_socketsLock);
    for (const qintptr s : std::as_const(m_sockets))
        ::shutdown(int(s), SHUT_RDWR);
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
    m_stalled = false;
    m_overflow = false;
    m_lastReply.clear();
}

void FtpClient::report(const QString &text) const
{
    if (onStatus)
        onStatus(text);
}

void FtpClient::prepare(const QByteArray &path, bool trace)
{
    CURL *c = h(m_handle);
    Curl::lib().easy_reset(c); // options only: the open connection stays
    const QByteArray url = FtpPath::url(m_login.protocol, m_address, path);
    Curl::lib().easy_setopt(c, CURLOPT_URL, url.constData());
    Curl::lib().easy_setopt(c, CURLOPT_USERNAME, m_login.user.toUtf8().constData());
    FtpCurl::setCommonOptions(c, this, m_timeouts);
    if (m_login.protocol == Protocol::Sftp) {
        FtpCurl::setSshOptions(c, this, m_login.password);
    } else {
        Curl::lib().easy_setopt(c, CURLOPT_PASSWORD, m_login.password.toUtf8().constData());
        Curl::lib().easy_setopt(c, CURLOPT_FTP_FILEMETHOD, long(CURLFTPMETHOD_NOCWD));
        Curl::lib().easy_setopt(c, CURLOPT_FTPPORT, m_login.passive ? nullptr : "-");
        if (m_login.protocol == Protocol::Ftps) {
            Curl::lib().easy_setopt(c, CURLOPT_USE_SSL, long(CURLUSESSL_ALL));
            // A certificate the user trusted is held to its public key instead of the
            // system's trust store, which does not know it.
            const QByteArray pin = !m_login.acceptedKey.isEmpty() ? m_login.acceptedKey
                                                                  : FtpTrust::rememberedPin(m_address.host, m_address.port);
            if (!pin.isEmpty()) {
                Curl::lib().easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 0L);
                Curl::lib().easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 0L);
                Curl::lib().easy_setopt(c, CURLOPT_PINNEDPUBLICKEY, QByteArray("sha256//" + pin).constData());
            }
        }
    }
    // The protocol trace feeds the status texts and the server's last reply; a transfer
    // does without it, since it would pass every block of data through the trace too.
    Curl::lib().easy_setopt(c, CURLOPT_VERBOSE, long(trace));
    Curl::lib().easy_setopt(c, CURLOPT_ERRORBUFFER, m_error);
    m_error[0] = '\0';
}

void FtpClient::perform(const QString &what)
{
    m_unknownKey.clear();
    m_keyChanged = false;
    const auto rc = CURLcode(FtpCurl::perform(m_multi, m_handle));
    if (rc != CURLE_OK)
        fail(rc, what);
}

void FtpClient::fail(int code, const QString &what)
{
    const auto rc = CURLcode(code);
    long reply = 0;
    Curl::lib().easy_getinfo(h(m_handle), CURLINFO_RESPONSE_CODE, &reply);
    FtpCurl::Outcome outcome;
    outcome.code = code;
    outcome.reply = reply;
    outcome.detail = QString::fromUtf8(m_error);
    outcome.lastReply = m_lastReply;
    outcome.host = m_address.host;
    outcome.what = what;
    outcome.aborted = m_abort;
    outcome.stalled = m_stalled;
    outcome.overflow = m_overflow;
    outcome.connecting = m_connecting;
    outcome.timeouts = m_timeouts;
    if (m_keyChanged)
        throw Failure(FtpCurl::changedKeyMessage(m_address.host));
    if (!m_unknownKey.isEmpty())
        throw UntrustedServer(FtpCurl::unknownKeyQuestion(m_address.host, m_unknownKey), m_address.host,
                              m_address.port, m_unknownKey, true);
    if (m_connecting && !m_abort)
        checkCertificate(code);
    const QString message = FtpCurl::describe(outcome);
    // A stop by the user leaves the session: curl opens the connection again when needed.
    if (FtpCurl::losesConnection(rc) && !(m_abort && !m_connecting))
        lose();
    throw Failure(message);
}

void FtpClient::checkCertificate(int code)
{
    if (m_login.protocol != Protocol::Ftps
        || (code != CURLE_PEER_FAILED_VERIFICATION && code != CURLE_SSL_PINNEDPUBKEYNOTMATCH))
        return;
    const QString reason = QString::fromUtf8(m_error);
    const std::optional<FtpTrust::Certificate> cert = FtpCurl::fetchCertificate(
        FtpPath::url(m_login.protocol, m_address, QByteArray()), this, m_timeouts);
    if (!cert)
        return;
    throw UntrustedServer(FtpCurl::certificateQuestion(m_address.host, reason, cert->fingerprint, code == CURLE_SSL_PINNEDPUBKEYNOTMATCH),
                          m_address.host, m_address.port, cert->pin, false);
}

void FtpClient::lose()
{
    if (!m_handle)
        return;
    abort(); // what is left of the connection is dropped, not talked to
    closeHandles();
    if (onDisconnected)
        onDisconnected();
}

void FtpClient::connectAndLogin(const Login &login)
{
    FtpCurl::ensureCurl();
    if (m_handle)
        disconnect();
    m_login = login;
    m_address = FtpPath::parseAddress(login.host, FtpPath::defaultPort(login.protocol));
    m_abort = false;
    m_stalled = false;
    m_handle = Curl::lib().easy_init();
    m_multi = Curl::lib().multi_init();
    if (!m_handle || !m_multi) {
        closeHandles();
        throw Failure(QStringLiteral("Nie można utworzyć połączenia FTP."));
    }
    report(QStringLiteral("Wyszukiwanie hosta %1...").arg(m_address.host));
    m_connecting = true;
    try {
        prepare(QByteArray(), true);
        Curl::lib().easy_setopt(h(m_handle), CURLOPT_NOBODY, 1L);
        Transfer t{this};
        Curl::lib().easy_setopt(h(m_handle), CURLOPT_XFERINFODATA, &t);
        perform(m_address.host);
        m_connecting = false;
    } catch (...) {
        m_connecting = false;
        // A failed connect or login leaves nothing open; the next attempt starts afresh.
        if (m_handle) {
            abort();
            closeHandles();
        }
        throw;
    }
    char *entry = nullptr;
    Curl::lib().easy_getinfo(h(m_handle), CURLINFO_FTP_ENTRY_PATH, &entry);
    m_entryPath = entry && *entry ? QByteArray(entry) : QByteArray("/");
    report(QStringLiteral("Połączono z %1 jako %2.").arg(m_address.host, login.user));
}

void FtpClient::disconnect()
{
    if (!m_handle)
        return;
    report(QStringLiteral("Rozłączanie..."));
    m_abort = false;
    // QUIT is sent on the open control connection and its reply awaited at most the stall
    // time-out; a stop ends the wait at once.
    closeHandles();
    if (onDisconnected)
        onDisconnected();
}

QByteArray FtpClient::entryDirectory() const
{
    requireConnection();
    return m_entryPath;
}

QByteArray FtpClient::collect(const QByteArray &path, bool namesOnly, const char *command)
{
    FtpListing::Buffer buffer;
    Transfer t{this};
    t.listing = &buffer;
    prepare(path, true);
    if (command)
        Curl::lib().easy_setopt(h(m_handle), CURLOPT_CUSTOMREQUEST, command);
    Curl::lib().easy_setopt(h(m_handle), CURLOPT_DIRLISTONLY, long(namesOnly));
    Curl::lib().easy_setopt(h(m_handle), CURLOPT_WRITEFUNCTION, &FtpCurl::write);
    Curl::lib().easy_setopt(h(m_handle), CURLOPT_WRITEDATA, &t);
    Curl::lib().easy_setopt(h(m_handle), CURLOPT_XFERINFODATA, &t);
    perform(FtpPath::displayPath(path));
    return buffer.bytes();
}

QList<FtpListing::Entry> FtpClient::list(const QByteArray &directory)
{
    begin();
    FtpPath::refuseControlCharacters(directory);
    report(QStringLiteral("Pobieranie listy plików..."));
    const QByteArray path = directory.endsWith('/') ? directory : directory + '/';
    QList<FtpListing::Entry> entries;
    if (m_login.protocol == Protocol::Sftp) {
        entries = FtpListing::parseNamesWithLong(collect(path, true, nullptr), collect(path, false, nullptr));
    } else {
        try {
            entries = FtpListing::parseMlsd(collect(path, false, "MLSD"));
        } catch (const Failure &) {
            if (!m_handle || m_overflow || m_abort || m_stalled)
                throw;
            // The server has no MLSD: its bare names, with the long listing for the kinds.
            m_lastReply.clear();
            entries = FtpListing::parseNamesWithLong(collect(path, true, nullptr), collect(path, false, nullptr));
        }
    }
    FtpListing::sort(entries);
    return entries;
}

void FtpClient::download(const QByteArray &remotePath, const QString &localPath)
{
    begin();
    FtpPath::refuseControlCharacters(remotePath);
    if (QFileInfo::exists(localPath))
        throw Failure(QStringLiteral("Destination file already exists."));
    FtpCurl::refuseLongLocalName(localPath);
    // Created new, never over a file that appeared meanwhile, with the mode any new file
    // gets; written straight into and removed again when the transfer fails or is stopped.
    QFile file(localPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        if (QFileInfo::exists(localPath))
            throw Failure(QStringLiteral("Destination file already exists."));
        throw Failure(QStringLiteral("Nie można utworzyć pliku „%1”: %2").arg(localPath, file.errorString()));
    }
    report(QStringLiteral("Pobieranie %1...").arg(FtpPath::displayPath(remotePath)));
    Transfer t{this};
    t.device = &file;
    try {
        prepare(remotePath, false);
        Curl::lib().easy_setopt(h(m_handle), CURLOPT_WRITEFUNCTION, &FtpCurl::write);
        Curl::lib().easy_setopt(h(m_handle), CURLOPT_WRITEDATA, &t);
        Curl::lib().easy_setopt(h(m_handle), CURLOPT_XFERINFODATA, &t);
        perform(FtpPath::displayPath(remotePath));
        if (!file.flush())
            throw Failure(QStringLiteral("Nie można zapisać pliku „%1”: %2").arg(localPath, file.errorString()));
    } catch (...) {
        file.remove();
        throw;
    }
    file.close();
    report(QStringLiteral("Pobrano %1.").arg(FtpPath::displayPath(remotePath)));
}

void FtpClient::upload(const QString &localPath, const QByteArray &remotePath)
{
    begin();
    FtpPath::refuseControlCharacters(remotePath);
    QFile file(localPath);
    // Unbuffered: curl asks for large blocks, a second copy through a buffer only costs.
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw Failure(QStringLiteral("Cannot open file \"%1\". %2").arg(localPath, file.errorString()));
    report(QStringLiteral("Wysyłanie %1...").arg(FtpPath::displayPath(remotePath)));
    Transfer t{this};
    t.device = &file;
    prepare(remotePath, false);
    Curl::lib().easy_setopt(h(m_handle), CURLOPT_UPLOAD, 1L);
    Curl::lib().easy_setopt(h(m_handle), CURLOPT_READFUNCTION, &FtpCurl::read);
    Curl::lib().easy_setopt(h(m_handle), CURLOPT_READDATA, &t);
    Curl::lib().easy_setopt(h(m_handle), CURLOPT_INFILESIZE_LARGE, curl_off_t(file.size()));
    Curl::lib().easy_setopt(h(m_handle), CURLOPT_XFERINFODATA, &t);
    perform(FtpPath::displayPath(remotePath));
    report(QStringLiteral("Wysłano %1.").arg(FtpPath::displayPath(remotePath)));
}

void FtpClient::remove(const QByteArray &remotePath, bool folder)
{
    begin();
    FtpPath::refuseControlCharacters(remotePath);
    const QString shown = FtpPath::displayPath(remotePath);
    report(QStringLiteral("Usuwanie %1...").arg(shown));
    QByteArray command;
    if (m_login.protocol == Protocol::Sftp) {
        // curl reads the path of an SFTP command as a quoted string.
        QByteArray quoted = remotePath;
        quoted.replace('\\', "\\\\").replace('"', "\\\"");
        command = (folder ? "rmdir \"" : "rm \"") + quoted + '"';
    } else {
        command = (folder ? "RMD " : "DELE ") + remotePath;
    }
    prepare(QByteArray(), true);
    Curl::lib().easy_setopt(h(m_handle), CURLOPT_NOBODY, 1L);
    curl_slist *quote = Curl::lib().slist_append(nullptr, command.constData());
    Curl::lib().easy_setopt(h(m_handle), CURLOPT_QUOTE, quote);
    Transfer t{this};
    Curl::lib().easy_setopt(h(m_handle), CURLOPT_XFERINFODATA, &t);
    try {
        perform(shown);
    } catch (...) {
        Curl::lib().slist_free_all(quote);
        throw;
    }
    Curl::lib().slist_free_all(quote);
    report(QStringLiteral("Usunięto %1.").arg(shown));
}
