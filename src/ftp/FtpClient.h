#pragma once

#include "core/Failure.h"
#include "ftp/FtpListing.h"
#include "ftp/FtpPath.h"

#include <QByteArray>
#include <QSet>
#include <QString>
#include <atomic>
#include <functional>
#include <mutex>

// The server's certificate or host key is not trusted yet; the user may trust it once or
// for good and connect again.
class UntrustedServer : public Failure
{
public:
    UntrustedServer(const QString &question, const QString &host, int port, const QByteArray &key, bool sshKey)
        : Failure(question), host(host), port(port), key(key), sshKey(sshKey) {}
    QString host;
    int port;
    QByteArray key; // FTPS: the public key's pin; SFTP: the host key
    bool sshKey;
};

// A session with an FTP, FTPS or SFTP server over libcurl. One easy handle lives for the
// session, so the connection stays open and logged in between operations (and is opened
// again by curl when a stop or a time-out closed it). Every operation blocks its caller (the
// panel runs them off the window thread) and reports failure by throwing Failure with a
// message for the user; no curl code leaves this class. Server paths are raw bytes.
class FtpClient
{
public:
    using Protocol = FtpPath::Protocol;
    struct Login {
        QString host; // as typed, optionally with ":port"
        QString user, password;
        bool passive = true;
        Protocol protocol = Protocol::Ftp;
        QByteArray acceptedKey; // a certificate pin or host key the user trusted this once
    };
    struct Timeouts {
        int connectSeconds = 15;
        int stallSeconds = 30; // no data and no reply for this long ends the operation
    };

    FtpClient();
    ~FtpClient();
    FtpClient(const FtpClient &) = delete;
    FtpClient &operator=(const FtpClient &) = delete;

    // Called from the thread that runs the operation.
    std::function<void(const QString &)> onStatus;
    std::function<void(qint64 done, qint64 total)> onProgress;
    std::function<void()> onDisconnected;

    void setTimeouts(const Timeouts &timeouts) { m_timeouts = timeouts; }
    bool connected() const { return m_handle != nullptr; }
    const Login &login() const { return m_login; }
    void connectAndLogin(const Login &login);
    void disconnect(); // QUIT, close, then the disconnected notification
    QByteArray entryDirectory() const; // the folder the server gave at login
    QList<FtpListing::Entry> list(const QByteArray &directory); // sorted, folders first
    void download(const QByteArray &remotePath, const QString &localPath); // never overwrites
    void upload(const QString &localPath, const QByteArray &remotePath);
    void remove(const QByteArray &remotePath, bool folder);

    // Thread-safe: ends the running operation at once by closing its sockets.
    void abort();
    bool aborted() const { return m_abort; }

private:
    friend struct FtpCallbacks;
    void requireConnection() const;
    void begin();
    void report(const QString &text) const;
    void prepare(const QByteArray &path, bool trace);
    void setTrust();
    void perform(const QString &what);
    [[noreturn]] void fail(int code, const QString &what);
    void lose();
    void closeHandles();
    void checkCertificate(int code);
    QByteArray collect(const QByteArray &path, bool namesOnly, const char *command);

    void *m_handle = nullptr; // CURL*
    void *m_multi = nullptr;  // CURLM*: keeps the session's connections between operations
    Login m_login;
    FtpPath::Address m_address;
    Timeouts m_timeouts;
    QByteArray m_entryPath;
    QString m_lastReply;
    char m_error[256] = {};
    std::atomic<bool> m_abort{false};
    bool m_connecting = false;
    bool m_stalled = false;
    bool m_overflow = false;
    QByteArray m_unknownKey;  // an SFTP host key curl was shown and did not know
    bool m_keyChanged = false;
    std::mutex m_socketsLock;
    QSet<qintptr> m_sockets;
};
