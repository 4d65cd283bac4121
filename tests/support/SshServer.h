#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <pwd.h>
#include <unistd.h>

// OpenSSH's sshd on a free loopback port, with its own host key, letting in the key pair at
// `clientKey` (created when missing). SFTP starts in `root`.
//
// With a password instead, sshd lets in the user running the test with that password and
// with no key. sshd checks passwords against /etc/shadow, so it then runs in a mount
// namespace of its own in which a file of the test's lies over /etc/shadow: the machine's
// accounts are neither read nor changed. That needs root; passwordLoginPossible() tells.
class SshServer
{
public:
    SshServer(const QString &root, const QString &clientKey, const QByteArray &password = {})
    {
        const QString dir = m_dir.path();
        if (password.isEmpty() && !QFile::exists(clientKey) && !keygen(clientKey))
            return;
        if (!keygen(dir + QStringLiteral("/host_key")))
            return;
        if (password.isEmpty())
            QFile::copy(clientKey + QStringLiteral(".pub"), dir + QStringLiteral("/authorized_keys"));
        else if (!passwordLoginPossible() || !writeShadow(dir + QStringLiteral("/shadow"), password))
            return;
        QTcpServer probe;
        if (!probe.listen(QHostAddress::LocalHost))
            return;
        const int port = probe.serverPort();
        probe.close();
        QFile config(dir + QStringLiteral("/sshd_config"));
        if (!config.open(QIODevice::WriteOnly))
            return;
        const QString authentication = password.isEmpty()
            ? QStringLiteral("PasswordAuthentication no\nPermitRootLogin prohibit-password\n")
            : QStringLiteral("PasswordAuthentication yes\nPubkeyAuthentication no\nPermitRootLogin yes\n");
        config.write(QStringLiteral("Port %1\nListenAddress 127.0.0.1\nHostKey %2/host_key\nPidFile none\n"
                                    "AuthorizedKeysFile %2/authorized_keys\nStrictModes no\nUsePAM no\n"
                                    "%4KbdInteractiveAuthentication no\nLogLevel ERROR\n"
                                    "Subsystem sftp internal-sftp -d %3\n")
                         .arg(QString::number(port), dir, root, authentication).toUtf8());
        config.close();
        // As root, sshd insists on its privilege separation folder.
        if (::geteuid() == 0)
            QDir().mkpath(QStringLiteral("/run/sshd"));
        if (password.isEmpty())
            m_process.start(QStringLiteral("/usr/sbin/sshd"), {"-D", "-e", "-f", config.fileName()});
        else
            m_process.start(QStringLiteral("unshare"),
                            {"--mount", "--propagation", "private", "sh", "-c",
                             "mount --bind \"$1\" /etc/shadow && exec /usr/sbin/sshd -D -e -f \"$2\"", "sh",
                             dir + QStringLiteral("/shadow"), config.fileName()});
        if (!m_process.waitForStarted(10000))
            return;
        // Ready when it accepts a connection; it prints nothing on its own.
        for (int i = 0; i < 100 && m_process.state() == QProcess::Running; ++i) {
            QTcpSocket s;
            s.connectToHost(QHostAddress::LocalHost, quint16(port));
            if (s.waitForConnected(100)) {
                m_port = port;
                return;
            }
            m_process.waitForFinished(100);
        }
    }
    ~SshServer()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(10000);
        }
    }
    int port() const { return m_port; }
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }
    QByteArray hostKey() const
    {
        QFile f(m_dir.filePath(QStringLiteral("host_key.pub")));
        return f.open(QIODevice::ReadOnly) ? QByteArray::fromBase64(f.readAll().split(' ').value(1)) : QByteArray();
    }
    QByteArray errors() { return m_process.readAllStandardError(); }

    // A private /etc/shadow needs a mount namespace, which only root may make here.
    static bool passwordLoginPossible()
    {
        return ::geteuid() == 0 && QProcess::execute(QStringLiteral("unshare"), {"--mount", "true"}) == 0;
    }

private:
    // The one line sshd reads: the user running the test, with the password's SHA-512 hash.
    static bool writeShadow(const QString &path, const QByteArray &password)
    {
        QProcess openssl;
        openssl.start(QStringLiteral("openssl"), {"passwd", "-6", "-stdin"});
        openssl.write(password + '\n');
        openssl.closeWriteChannel();
        if (!openssl.waitForFinished(10000) || openssl.exitCode() != 0)
            return false;
        QFile shadow(path);
        const QByteArray user(::getpwuid(::geteuid())->pw_name);
        return shadow.open(QIODevice::WriteOnly)
            && shadow.write(user + ':' + openssl.readAllStandardOutput().trimmed() + ":19000:0:99999:7:::\n") > 0;
    }
    static bool keygen(const QString &path)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        return QProcess::execute(QStringLiteral("ssh-keygen"), {"-q", "-t", "ed25519", "-N", "", "-f", path}) == 0;
    }
    QTemporaryDir m_dir;
    QProcess m_process;
    int m_port = 0;
};
