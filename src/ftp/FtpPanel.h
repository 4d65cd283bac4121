#pragma once

#include "ftp/FtpClient.h"

#include <QWidget>
#include <functional>
#include <memory>

class DirectoryListBox;
class DriveComboBox;
class FileListBox;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QThread;
class QToolButton;

// The FTP panel: connection tab and file management tab over one FtpClient. Operations run
// on a worker thread; the panel's FTP buttons are disabled meanwhile, so no second
// operation can start inside the first.
class FtpPanel : public QWidget
{
    Q_OBJECT
public:
    explicit FtpPanel(QWidget *parent = nullptr);
    ~FtpPanel() override;

    // How failures reach the user (the program's error box).
    void setErrorHandler(std::function<void(const QString &)> handler) { m_showError = std::move(handler); }
    // The port is 21 for the user; tests point the panel at their own server.
    void setPort(int port) { m_port = port; }

    bool busy() const { return m_worker != nullptr; }
    bool isConnected() const { return m_client.connected(); }
    // Stops a running transfer and waits for its thread (the window is closing).
    void shutdown();

    QTabWidget *PageControl1;
    QLineEdit *eHost, *eLogin, *eHaslo;
    QCheckBox *cPassive;
    QPushButton *bConnect;
    QLabel *sBar;
    QProgressBar *ProgressBar1;
    QToolButton *aRemote, *aLocal;
    DriveComboBox *lDrives;
    QListWidget *rList;
    DirectoryListBox *lDirList;
    FileListBox *lList;
    QPushButton *Button6, *Button7;

    void bConnectClick();
    void Button6Click();
    void Button7Click();

signals:
    void operationFinished(bool ok);

private:
    void run(const std::function<void()> &job, bool redraw);
    void setBusy(bool busy);
    void IdFTP1Status(const QString &text);
    void IdFTP1Work(qint64 done, qint64 total);
    void IdFTP1Disconnected();
    bool remoteSideCurrent() const;

    FtpClient m_client;
    QThread *m_worker = nullptr;
    QString m_jobError;
    QStringList m_listing;
    bool m_listed = false;
    int m_port = 21;
    std::function<void(const QString &)> m_showError;
};
