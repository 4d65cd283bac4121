// The FTP panel's commands: each one runs as a job on a worker thread.
#include "ftp/FtpPanel.h"

#include "controls/LocalLists.h"
#include "ftp/FtpTrust.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QToolButton>

namespace {

const QString kListIndexError = QStringLiteral("List index out of bounds (-1)");
constexpr int kRawRole = Qt::UserRole;         // the name's bytes on the server
constexpr int kFolderRole = Qt::UserRole + 1;  // true for a folder
constexpr int kUpRole = Qt::UserRole + 2;      // true for ".."

// A file's size as the status line gives it: "812 B", "12 KB", "3,4 MB".
QString sizeText(qint64 bytes)
{
    if (bytes < 1024)
        return QStringLiteral("%1 B").arg(bytes);
    if (bytes < 1024 * 1024)
        return QStringLiteral("%1 KB").arg((bytes + 512) / 1024);
    return QStringLiteral("%1 MB").arg(QLocale(QLocale::Polish).toString(double(bytes) / (1024 * 1024), 'f', 1));
}

} // namespace

QString FtpPanel::serverKey(const FtpClient::Login &login)
{
    return QString::number(int(login.protocol)) + QLatin1Char(' ') + login.user + QLatin1Char('@') + login.host;
}

Dialogs &FtpPanel::dialogs()
{
    // A panel must be given the program's dialogs before its first command.
    if (!m_dialogs)
        qFatal("FtpPanel: no dialogs connected");
    return m_dialogs();
}

bool FtpPanel::remoteSideCurrent() const
{
    return m_remoteSide->isChecked();
}

namespace {
// The name a list entry shows, without the slash that marks a folder.
// What the remote list's selected entry stands for, read once on the window thread; the job
// on the worker thread gets a copy.
struct RemoteEntry {
    bool chosen = false;
    QByteArray raw; // the name's bytes on the server
    bool folder = false;
    bool up = false; // ".."
    QString shown;
};

RemoteEntry remoteEntry(const QListWidgetItem *item)
{
    if (!item)
        return {};
    return {true, item->data(kRawRole).toByteArray(), item->data(kFolderRole).toBool(), item->data(kUpRole).toBool(),
            item->text()};
}

QString shownName(const QListWidgetItem *item)
{
    QString name = item ? item->text() : QString();
    if (name.endsWith(QLatin1Char('/')))
        name.chop(1);
    return name;
}
} // namespace

const QListWidgetItem *FtpPanel::selectedRemote() const
{
    const QListWidgetItem *item = m_remoteList->currentRow() >= 0 ? m_remoteList->currentItem() : nullptr;
    return item && item->isSelected() ? item : nullptr;
}

void FtpPanel::startJob(const std::function<void()> &job, const QString &done, const QString &failed)
{
    if (m_worker)
        return;
    m_doneText = done;
    m_failedText = failed;
    m_jobError = nullptr;
    m_listing.reset();
    m_stopRequested = false;
    setBusy(true);
    m_worker = QThread::create([this, job] {
        try {
            job();
        } catch (...) {
            m_jobError = std::current_exception();
        }
    });
    QThread *worker = m_worker;
    connect(worker, &QThread::finished, this, [this, worker] { jobFinished(worker); });
    m_worker->start();
}

void FtpPanel::jobFinished(QThread *worker)
{
    // A shutdown may have finished this job already.
    if (m_worker != worker)
        return;
    m_worker->deleteLater();
    m_worker = nullptr;
    setBusy(false);
    if (m_listing)
        showListing(*m_listing);
    const bool ok = !m_jobError;
    // The client's texts tell what is under way; the line ends on what came of it.
    if (ok && !m_doneText.isEmpty())
        m_status->setText(m_doneText);
    if (!ok)
        reportFailure(m_jobError, m_stopRequested);
    // A trusted server is connected to again: the operation goes on.
    if (!m_worker)
        emit operationFinished(ok);
}

void FtpPanel::reportFailure(std::exception_ptr error, bool stopped)
{
    try {
        std::rethrow_exception(error);
    } catch (const UntrustedServer &server) {
        askTrust(server);
    } catch (const Failure &f) {
        // A stop the user asked for is no error: the status line says what was stopped.
        if (stopped) {
            m_status->setText(f.message());
        } else {
            m_status->setText(m_failedText.isEmpty() ? f.message() : m_failedText);
            Guard(&dialogs()).run([&] { throw f; });
        }
    } catch (...) {
        m_status->setText(m_failedText);
        Guard(&dialogs()).run([&] { std::rethrow_exception(error); });
    }
}

void FtpPanel::askTrust(const UntrustedServer &server)
{
    const Dialogs::Trust answer = dialogs().askTrust(server.message());
    if (answer == Dialogs::Trust::Cancel) {
        m_status->setText(QStringLiteral("Nie połączono: serwer nie jest zaufany."));
        return;
    }
    if (answer == Dialogs::Trust::Always) {
        bool remembered = false;
        Guard(&dialogs()).run([&] {
            if (server.sshKey)
                FtpTrust::rememberKey(server.host, server.port, server.key);
            else
                FtpTrust::rememberPin(server.host, server.port, server.key);
            remembered = true;
        });
        if (!remembered)
            return;
    }
    FtpClient::Login login = loginFromFields();
    login.acceptedKey = server.key;
    connectWith(login);
}

FtpClient::Login FtpPanel::loginFromFields() const
{
    FtpClient::Login login;
    login.host = m_host->text();
    login.user = m_login->text();
    login.password = m_password->text();
    login.passive = m_passive->isChecked();
    login.protocol = FtpPath::Protocol(m_protocol->currentIndex());
    return login;
}

FtpPanel::Listing FtpPanel::listFolder(const QByteArray &folder)
{
    return Listing{folder, m_client.list(folder)};
}

void FtpPanel::showListing(const Listing &listing)
{
    const QByteArray selected = selectedRemote() ? selectedRemote()->data(kRawRole).toByteArray() : QByteArray();
    m_folder = listing.folder;
    m_remotePath->setText(FtpPath::displayName(m_folder));
    const QSignalBlocker blocker(m_remoteList);
    m_remoteList->clear();
    if (m_client.connected() && m_folder != m_client.entryDirectory()) {
        auto *up = new QListWidgetItem(QStringLiteral(".."), m_remoteList);
        up->setData(kUpRole, true);
        up->setData(kFolderRole, true);
    }
    for (const FtpListing::Entry &e : listing.entries) {
        auto *item = new QListWidgetItem(e.folder ? e.name + QLatin1Char('/') : e.name, m_remoteList);
        item->setData(kRawRole, e.raw);
        item->setData(kFolderRole, e.folder);
        // The entry the user had selected stays selected.
        if (!selected.isEmpty() && e.raw == selected)
            m_remoteList->setCurrentItem(item);
    }
}

void FtpPanel::connectWith(const FtpClient::Login &login)
{
    // The folder of the last session is opened again for the same server and login.
    const QByteArray remembered = m_rememberedServer == serverKey(login) ? m_rememberedFolder : QByteArray();
    const QString host = FtpPath::parseAddress(login.host, FtpPath::defaultPort(login.protocol)).host;
    startJob([this, login, remembered] {
        m_client.connectAndLogin(login);
        const QByteArray entry = m_client.entryDirectory();
        if (!remembered.isEmpty() && remembered != entry) {
            try {
                m_listing = listFolder(remembered);
                return;
            } catch (const Failure &) {
                if (!m_client.connected())
                    throw;
            }
        }
        m_listing = listFolder(entry);
    }, QStringLiteral("Połączono z %1.").arg(host), QStringLiteral("Nie połączono z %1.").arg(host));
}

void FtpPanel::bConnectClick()
{
    if (busy())
        return;
    if (m_client.connected()) {
        startJob([this] { m_client.disconnect(); }, QStringLiteral("Rozłączony"), QStringLiteral("Rozłączanie nie powiodło się."));
        return;
    }
    connectWith(loginFromFields());
}

void FtpPanel::Button6Click()
{
    if (busy())
        return;
    const QByteArray folder = m_folder;
    if (remoteSideCurrent()) {
        const RemoteEntry entry = remoteEntry(selectedRemote());
        const QString localFolder = QDir::currentPath();
        startJob([this, entry, folder, localFolder] {
            m_client.entryDirectory(); // not connected: that error comes first
            if (entry.shown.isEmpty())
                throw Failure(kListIndexError);
            if (entry.folder)
                throw Failure(QStringLiteral("„%1” to folder: otwórz go dwukrotnym kliknięciem lub klawiszem Enter.").arg(entry.shown));
            if (const std::optional<QString> problem = FtpPath::nameProblem(entry.raw))
                throw Failure(*problem);
            const QString local = QDir(localFolder).filePath(FtpPath::displayName(entry.raw));
            m_client.download(FtpPath::join(folder, entry.raw), local);
            m_doneText = QStringLiteral("Pobrano %1 (%2).").arg(entry.shown, sizeText(QFileInfo(local).size()));
            m_listing = listFolder(folder);
        }, QString(), QStringLiteral("Nie pobrano %1.").arg(entry.shown.isEmpty() ? QStringLiteral("pliku") : entry.shown));
    } else {
        const QString name = m_localFiles->selectedName();
        const QString path = m_localFiles->selectedPath();
        startJob([this, name, path, folder] {
            m_client.entryDirectory();
            if (name.isEmpty())
                throw Failure(kListIndexError);
            const QByteArray raw = name.toUtf8();
            if (const std::optional<QString> problem = FtpPath::nameProblem(raw))
                throw Failure(*problem);
            const qint64 size = QFileInfo(path).size();
            m_client.upload(path, FtpPath::join(folder, raw));
            m_doneText = QStringLiteral("Wysłano %1 (%2).").arg(name, sizeText(size));
            m_listing = listFolder(folder);
        }, QString(), QStringLiteral("Nie wysłano %1.").arg(name.isEmpty() ? QStringLiteral("pliku") : name));
    }
}

void FtpPanel::Button7Click()
{
    if (busy())
        return;
    const QByteArray folder = m_folder;
    if (remoteSideCurrent()) {
        const QListWidgetItem *item = selectedRemote();
        const RemoteEntry entry = remoteEntry(item);
        startJob([this, entry, folder] {
            m_client.entryDirectory();
            if (!entry.chosen)
                throw Failure(kListIndexError);
            const QByteArray name = entry.up ? QByteArray("..") : entry.raw;
            if (const std::optional<QString> problem = FtpPath::nameProblem(name))
                throw Failure(*problem);
            // A folder goes only when it is empty; the server's refusal says why not.
            m_client.remove(FtpPath::join(folder, entry.raw), entry.folder);
            m_listing = listFolder(folder);
        }, QStringLiteral("Usunięto %1.").arg(shownName(item)),
           QStringLiteral("Nie usunięto %1.").arg(item ? shownName(item) : QStringLiteral("pliku")));
    } else {
        // A local delete needs no connection; a refusal shows only on the status line.
        const QString path = m_localFiles->selectedPath();
        const QString name = m_localFiles->selectedName();
        const bool removed = !path.isEmpty() && QFile::remove(path);
        startJob([] {}, path.isEmpty() ? QStringLiteral("Nie wybrano pliku.")
                        : removed      ? QStringLiteral("Usunięto %1.").arg(name)
                                       : QStringLiteral("Nie usunięto %1.").arg(name));
    }
}

void FtpPanel::rListActivated(QListWidgetItem *item)
{
    if (busy() || !item || !item->data(kFolderRole).toBool())
        return;
    const QByteArray target = item->data(kUpRole).toBool() ? FtpPath::parent(m_folder)
                                                            : FtpPath::child(m_folder, item->data(kRawRole).toByteArray());
    const QString shown = FtpPath::displayName(target);
    startJob([this, target] { m_listing = listFolder(target); }, QStringLiteral("Otwarto folder %1.").arg(shown),
             QStringLiteral("Nie otwarto folderu %1.").arg(shown));
}

void FtpPanel::bAbortClick()
{
    if (!busy())
        return;
    m_stopRequested = true;
    m_client.abort();
}
