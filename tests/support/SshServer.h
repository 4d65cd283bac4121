#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

// OpenSSH's sshd on a free loopback port, with its own host key, letting in the key pair at
// `clientKey` (created when missing). SFTP starts in `root`.
class SshServer
{
public:
    SshServer(const QString &root, const QString &clientKey)
    {
        const QString dir = m_dir.path();
        if (!QFile::exists(clientKey) && !keygen(clientKey))
            return;
        if (!keygen(dir + QStringLiteral("/host_key")))
            return;
        QFile::copy(clientKey + QStringLiteral(".pub"), dir + QStringLiteral("/authorized_keys"));
        QTcpServer probe;
        if (!probe.listen(QHostAddress::LocalHost))
            return;
        const int port = probe.serverPort();
        probe.close();
        QFile config(dir + QStringLiteral("/sshd_config"));
        if (!config.open(QIODevice::WriteOnly))
            return;
        config.write(QStringLiteral("Port %1\nListenAddress 127.0.0.1\nHostKey %2/host_key\nPidFile none\n"
                                    "AuthorizedKeysFile %2/authorized_keys\nStrictModes no\nUsePAM no\n"
                                    "PasswordAuthentication no\nKbdInteractiveAuthentication no\n"
                                    "PermitRootLogin prohibit-password\nLogLevel ERROR\n"
                                    "Subsystem sftp internal-sftp -d %3\n")
                         .arg(QString::number(port), dir, root).toUtf8());
        config.close();
        // As root, sshd insists on its privilege separation folder.
        if (::geteuid() == 0)
            QDir().mkpath(QStringLiteral("/run/sshd"));
        m_process.start(QStringLiteral("/usr/sbin/sshd"), {"-D", "-e", "-f", config.fileName()});
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

private:
    static bool keygen(const QString &path)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        return QProcess::execute(QStringLiteral("ssh-keygen"), {"-q", "-t", "ed25519", "-N", "", "-f", path}) == 0;
    }
    QTemporaryDir m_dir;
    QProcess m_process;
    int m_port = 0;
};
