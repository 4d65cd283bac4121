// Uploads or downloads one file through FtpClient:
//   ftp_transfer up|down ftp|ftps|sftp HOST:PORT USER PASSWORD LOCAL REMOTE [PIN]
// PIN is the FTPS certificate's public-key pin the user trusted ("Połącz tylko tym razem").
// Prints the seconds from the start of connecting to the end of the transfer, as curl's
// time_total counts them, and the number of progress calls.
#include "core/Failure.h"
#include "ftp/FtpClient.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList protocols{QStringLiteral("ftp"), QStringLiteral("ftps"), QStringLiteral("sftp")};
    const QString mode = QString::fromLocal8Bit(argc > 1 ? argv[1] : "");
    const int protocol = protocols.indexOf(QString::fromLocal8Bit(argc > 2 ? argv[2] : ""));
    if ((argc != 8 && argc != 9) || protocol < 0 || (mode != QLatin1String("up") && mode != QLatin1String("down"))) {
        std::fprintf(stderr, "usage: ftp_transfer up|down ftp|ftps|sftp HOST:PORT USER PASSWORD LOCAL REMOTE [PIN]\n");
        return 2;
    }
    FtpClient client;
    qint64 progressCalls = 0;
    client.onProgress = [&](qint64, qint64) { ++progressCalls; };
    FtpClient::Login login;
    login.protocol = FtpClient::Protocol(protocol);
    login.host = QString::fromLocal8Bit(argv[3]);
    login.user = QString::fromLocal8Bit(argv[4]);
    login.password = QString::fromLocal8Bit(argv[5]);
    if (argc == 9)
        login.acceptedKey = QByteArray(argv[8]);
    const QString local = QString::fromLocal8Bit(argv[6]);
    const QByteArray remote(argv[7]);
    try {
        QElapsedTimer timer;
        timer.start();
        client.connectAndLogin(login);
        if (mode == QLatin1String("up"))
            client.upload(local, remote);
        else
            client.download(remote, local);
        std::printf("%.3f %lld\n", double(timer.nsecsElapsed()) / 1e9, progressCalls);
    } catch (const Failure &f) {
        std::fprintf(stderr, "%s\n", qPrintable(f.message()));
        return 1;
    }
    return 0;
}
