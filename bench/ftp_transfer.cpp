// Uploads or downloads one file through FtpClient: ftp_transfer up|down PORT LOCAL REMOTE.
#include "core/Failure.h"
#include "ftp/FtpClient.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 5) {
        std::fprintf(stderr, "usage: ftp_transfer up|down PORT LOCAL REMOTE\n");
        return 2;
    }
    const QString mode = QString::fromLocal8Bit(argv[1]);
    FtpClient client;
    qint64 progressCalls = 0;
    client.onProgress = [&](qint64, qint64) { ++progressCalls; };
    FtpClient::Login login;
    login.host = QStringLiteral("127.0.0.1:") + QString::fromLocal8Bit(argv[2]);
    login.user = QStringLiteral("tester");
    login.password = QStringLiteral("sekret");
    try {
        client.connectAndLogin(login);
        QElapsedTimer timer;
        timer.start();
        if (mode == QLatin1String("up"))
            client.upload(QString::fromLocal8Bit(argv[3]), QByteArray(argv[4]));
        else
            client.download(QByteArray(argv[4]), QString::fromLocal8Bit(argv[3]));
        const double seconds = double(timer.nsecsElapsed()) / 1e9;
        std::printf("%.3f %lld\n", seconds, progressCalls);
    } catch (const Failure &f) {
        std::fprintf(stderr, "%s\n", qPrintable(f.message()));
        return 1;
    }
    return 0;
}
