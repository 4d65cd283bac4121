// How long the FTP panel takes to close (shutdown and destruction, as the main window closes
// it) while a download is stalled because the server stopped answering, against closing it
// while connected and idle:
//   ftp_close ftp|ftps|sftp HOST:PORT USER PASSWORD REMOTE_NAME SERVER_PID [PIN]
// PIN: an FTPS certificate's public-key pin, trusted as "Zawsze ufaj" trusts it.
// The server process and its children are frozen with SIGSTOP once data moves, and thawed
// again before the program ends. Prints "idle MS stalled MS".
#include "core/Dialogs.h"
#include "ftp/FtpPanel.h"
#include "ftp/FtpTrust.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <cstdio>
#include <signal.h>

namespace {

// A control of the panel by its design name.
template <typename W>
W *part(const QObject *panel, const char *name)
{
    W *w = panel->findChild<W *>(QLatin1String(name));
    if (!w)
        qFatal("no control named %s", name);
    return w;
}

// Answers nothing: any question or error ends the measurement.
class NoDialogs : public Dialogs
{
public:
    QStringList errors;
    std::optional<QString> openFileName() override { return std::nullopt; }
    std::optional<SaveChoice> saveFileName(const SaveState &) override { return std::nullopt; }
    Answer askSaveChanges() override { return Answer::Cancel; }
    void showError(const QString &message) override { errors << message; }
    void showMessage(const QString &) override {}
    Trust askTrust(const QString &question) override
    {
        errors << question;
        return Trust::Cancel;
    }
    PageAnswer askPage(const PageQuestion &) override { return {}; }
};

// The process and every descendant (sshd serves each connection from a child of its own).
QList<pid_t> processTree(pid_t root)
{
    QList<pid_t> tree{root};
    for (qsizetype i = 0; i < tree.size(); ++i)
        for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
            QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
            if (!stat.open(QIODevice::ReadOnly))
                continue;
            const QByteArray line = stat.readAll();
            // "pid (name) state ppid ...": the name may hold spaces, so read after its ")".
            const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
            if (fields.size() > 1 && fields.at(1).toInt() == tree.at(i))
                tree << pid_t(entry.toInt());
        }
    return tree;
}

void signalTree(pid_t root, int signal)
{
    for (const pid_t p : processTree(root))
        ::kill(p, signal);
}

bool connectPanel(FtpPanel &panel, char *argv[])
{
    part<QComboBox>(&panel, "cProtocol")->setCurrentIndex(QStringList{"ftp", "ftps", "sftp"}.indexOf(QString::fromLocal8Bit(argv[1])));
    part<QLineEdit>(&panel, "eHost")->setText(QString::fromLocal8Bit(argv[2]));
    part<QLineEdit>(&panel, "eLogin")->setText(QString::fromLocal8Bit(argv[3]));
    part<QLineEdit>(&panel, "eHaslo")->setText(QString::fromLocal8Bit(argv[4]));
    QSignalSpy finished(&panel, &FtpPanel::operationFinished);
    QTest::mouseClick(part<QPushButton>(&panel, "bConnect"), Qt::LeftButton);
    return finished.wait(60000) && panel.isConnected();
}

// Milliseconds from the start of the close to the panel's end.
double closeMs(FtpPanel *panel)
{
    QElapsedTimer timer;
    timer.start();
    panel->shutdown();
    delete panel;
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 7 && argc != 8) {
        std::fprintf(stderr, "usage: ftp_close ftp|ftps|sftp HOST:PORT USER PASSWORD REMOTE_NAME SERVER_PID [PIN]\n");
        return 2;
    }
    // A certificate pin is kept where "Zawsze ufaj" keeps it.
    if (argc == 8) {
        const FtpPath::Address address = FtpPath::parseAddress(QString::fromLocal8Bit(argv[2]), 21);
        FtpTrust::rememberPin(address.host, address.port, QByteArray(argv[7]));
    }
    QTemporaryDir local;
    QDir::setCurrent(local.path()); // where the download is written
    const pid_t server = pid_t(QByteArray(argv[6]).toInt());
    NoDialogs dialogs;

    auto *idle = new FtpPanel;
    idle->setDialogs([&dialogs]() -> Dialogs & { return dialogs; });
    if (!connectPanel(*idle, argv)) {
        std::fprintf(stderr, "could not connect: %s\n", qPrintable(dialogs.errors.join('\n')));
        return 1;
    }
    const double idleMs = closeMs(idle);

    auto *panel = new FtpPanel;
    panel->setDialogs([&dialogs]() -> Dialogs & { return dialogs; });
    if (!connectPanel(*panel, argv))
        return 1;
    const QList<QListWidgetItem *> items = part<QListWidget>(panel, "rList")->findItems(QString::fromLocal8Bit(argv[5]), Qt::MatchExactly);
    if (items.isEmpty()) {
        std::fprintf(stderr, "%s is not on the server\n", argv[5]);
        return 1;
    }
    part<QListWidget>(panel, "rList")->setCurrentItem(items.first());
    part<QToolButton>(panel, "aRemote")->click();
    QSignalSpy progress(part<QProgressBar>(panel, "ProgressBar1"), &QProgressBar::valueChanged);
    QTest::mouseClick(part<QPushButton>(panel, "Button6"), Qt::LeftButton);
    if (!progress.wait(30000)) {
        std::fprintf(stderr, "no data moved: %s\n", qPrintable(dialogs.errors.join('\n')));
        return 1;
    }
    signalTree(server, SIGSTOP);
    // Stalled once what the kernel had buffered has been read: no progress for half a second.
    while (progress.wait(500)) {
    }
    const bool stillRunning = panel->busy();
    const double stalledMs = closeMs(panel);
    signalTree(server, SIGCONT);
    if (!stillRunning) {
        std::fprintf(stderr, "the transfer ended before the close\n");
        return 1;
    }
    std::printf("idle %.1f stalled %.1f\n", idleMs, stalledMs);
    return 0;
}
