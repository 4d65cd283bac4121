#pragma once

#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>

// An FTP session over libcurl. One easy handle lives for the session, so the control
// connection stays open and logged in between operations. Every operation blocks its caller
// (the panel runs them off the window thread) and reports failure by throwing Failure with a
// message for the user; no curl code leaves this class.
class FtpClient
{
public:
    struct Login {
        QString host, user, password;
        bool passive = true;
        int port = 21;
    };

    FtpClient();
    ~FtpClient();
    FtpClient(const FtpClient &) = delete;
    FtpClient &operator=(const FtpClient &) = delete;

    // Called from the thread that runs the operation.
    std::function<void(const QString &)> onStatus;
    std::function<void(qint64 done, qint64 total)> onProgress;
    std::function<void()> onDisconnected;

    bool connected() const { return m_handle != nullptr; }
    void connectAndLogin(const Login &login);
    void disconnect(); // QUIT, close, then the disconnected notification
    QString currentDirectory() const;
    QStringList listFiles(); // the current directory's plain files, bare names, sorted
    void download(const QString &remotePath, const QString &localPath); // never overwrites
    void upload(const QString &localPath, const QString &remotePath);
    void remove(const QString &remotePath);

    // Thread-safe: makes a running transfer stop with an error as soon as it can.
    void abort() { m_abort = true; }

    struct Transfer;

private:
    friend struct FtpCallbacks;
    void requireConnection() const;
    void begin(); // every operation on an open connection starts here
    void report(const QString &text) const;
    void prepare(const QString &path);
    void perform(const QString &what);
    void lose();

    void *m_handle = nullptr; // CURL*
    Login m_login;
    QString m_entryPath;
    char m_error[256] = {};
    std::atomic<bool> m_abort{false};
    bool m_connecting = false;
};
