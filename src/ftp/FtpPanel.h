#pragma once

#include "core/Dialogs.h"
#include "ftp/FtpClient.h"

#include <QElapsedTimer>
#include <QWidget>
#include <exception>
#include <functional>

class DirectoryListBox;
class DriveComboBox;
class FileListBox;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QThread;
class QToolButton;
class QVBoxLayout;

// The FTP panel: connection tab and file management tab over one FtpClient. Operations run
// on a worker thread; the panel's FTP buttons are disabled meanwhile, so no second
// operation can start inside the first, and "Przerwij" ends the running one.
class FtpPanel : public QWidget
{
    Q_OBJECT
public:
    explicit FtpPanel(QWidget *parent = nullptr);
    ~FtpPanel() override;

    // The program's dialogs, looked up at each use: failures reach the user through the
    // one guard, and the question about an untrusted server is asked there.
    void setDialogs(std::function<Dialogs &()> dialogs) { m_dialogs = std::move(dialogs); }
    void setTimeouts(const FtpClient::Timeouts &timeouts) { m_client.setTimeouts(timeouts); }

    bool busy() const { return m_worker != nullptr; }
    bool isConnected() const { return m_client.connected(); }
    QByteArray remoteFolder() const { return m_folder; }
    // The window is closing: stops a running operation at once, waits for its thread and
    // remembers the connection settings (never the password).
    void shutdown();

    void bConnectClick();
    void Button6Click();
    void Button7Click();
    void bAbortClick();
    void rListActivated(QListWidgetItem *item);

signals:
    void operationFinished(bool ok);

private:
    // Each control's design name ("eHost", "rList", "Button6" …) is its objectName.
    QTabWidget *m_pages;
    QLineEdit *m_host, *m_login, *m_password;
    QComboBox *m_protocol;
    QCheckBox *m_passive;
    QPushButton *m_connectButton;
    QLabel *m_status;
    QProgressBar *m_progress;
    QPushButton *m_abortButton;
    QToolButton *m_remoteSide, *m_localSide;
    DriveComboBox *m_drives;
    QLineEdit *m_remotePath;
    QListWidget *m_remoteList;
    DirectoryListBox *m_folders;
    FileListBox *m_localFiles;
    QPushButton *m_copyButton, *m_deleteButton;

    struct Listing {
        QByteArray folder;
        QList<FtpListing::Entry> entries;
    };
    void buildHeader(QVBoxLayout *outer);
    void buildPages(QVBoxLayout *outer);
    void buildProgressRow(QVBoxLayout *outer);
    void connectCommands();
    void connectClientNotifications();
    void buildConnectionTab();
    void buildManagementTab();
    void buildSideButtons(QWidget *manage, QGridLayout *g);
    void buildLists(QWidget *manage, QGridLayout *g);
    void buildFileButtons(QWidget *manage, QGridLayout *g);
    void connectListsToSideButtons();
    void showStartFolder();
    void loadSettings();
    void saveSettings() const;
    FtpClient::Login loginFromFields() const;
    static QString serverKey(const FtpClient::Login &login); // whose folder is remembered
    void connectWith(const FtpClient::Login &login);
    // Runs `job` on a worker thread; the status line ends on `done` (which the job may
    // rewrite with what it learnt) or, when the job fails, on `failed`.
    void startJob(const std::function<void()> &job, const QString &done = QString(), const QString &failed = QString());
    void jobFinished(QThread *worker);
    void reportFailure(std::exception_ptr error, bool stopped);
    void askTrust(const UntrustedServer &server);
    Listing listFolder(const QByteArray &folder);
    void showListing(const Listing &listing);
    void setBusy(bool busy);
    Dialogs &dialogs();
    void IdFTP1Status(const QString &text);
    void IdFTP1Work(qint64 done, qint64 total);
    void IdFTP1Disconnected();
    bool remoteSideCurrent() const;
    const QListWidgetItem *selectedRemote() const;

    FtpClient m_client;
    QThread *m_worker = nullptr;
    std::exception_ptr m_jobError;
    std::optional<Listing> m_listing; // filled by a job that listed a folder
    QString m_doneText, m_failedText; // the status line's last word on the running job
    QByteArray m_folder;              // the remote folder the list shows
    QByteArray m_rememberedFolder;    // from the last session, for the same server and login
    QString m_rememberedServer;
    bool m_stopRequested = false;
    QElapsedTimer m_transferClock;
    std::function<Dialogs &()> m_dialogs;
};
