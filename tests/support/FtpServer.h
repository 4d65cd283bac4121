#pragma once

#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTest>

#include <signal.h>

// Runs tests/ftp_server.py (pyftpdlib) on 127.0.0.1 and tells its port.
class FtpServer
{
public:
    explicit FtpServer(const QString &root, const QStringList &options = {})
    {
        // Debian's own interpreter has pyftpdlib; the first python3 on PATH may not.
        const QString python = QFile::exists(QStringLiteral("/usr/bin/python3")) ? QStringLiteral("/usr/bin/python3")
                                                                                 : QStringLiteral("python3");
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.start(python, QStringList{QStringLiteral(TARNWICK_TESTS_DIR "/ftp_server.py"), root} + options);
        if (!m_process.waitForStarted(20000))
            return;
        QByteArray out;
        while (!out.contains('\n') && m_process.waitForReadyRead(20000))
            out += m_process.readAllStandardOutput();
        if (out.startsWith("PORT "))
            m_port = out.mid(5).trimmed().toInt();
    }
    ~FtpServer() { stop(); }
    int port() const { return m_port; }
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }
    // A server that stops answering: its process is frozen, its sockets stay open.
    void freeze() { ::kill(pid_t(m_process.processId()), SIGSTOP); }
    void thaw() { ::kill(pid_t(m_process.processId()), SIGCONT); }
    void stop()
    {
        if (m_process.state() != QProcess::NotRunning) {
            thaw();
            m_process.kill();
            m_process.waitForFinished(20000);
        }
    }
    QByteArray errors() { return m_process.readAllStandardError(); }

private:
    QProcess m_process;
    int m_port = 0;
};
