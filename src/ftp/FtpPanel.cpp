#include "ftp/FtpPanel.h"

#include "controls/Fonts.h"
#include "controls/LocalLists.h"
#include "core/Failure.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QThread>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QLineEdit *labelledEdit(QWidget *parent, QVBoxLayout *layout, const char *name, const QString &label)
{
    auto *l = new QLabel(label, parent);
    auto *e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    l->setBuddy(e);
    layout->addWidget(l);
    layout->addWidget(e);
    return e;
}

QSettings settings()
{
    return QSettings(QStringLiteral("Tarnwick"), QStringLiteral("Tarnwick"));
}

} // namespace

FtpPanel::FtpPanel(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("FtpPanel"));
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    buildHeader(outer);
    buildPages(outer);
    buildProgressRow(outer);
    connectCommands();
    connectClientNotifications();
    loadSettings();
}

void FtpPanel::buildHeader(QVBoxLayout *outer)
{
    auto *header = new QLabel(QStringLiteral("Klient FTP"), this);
    header->setObjectName(QStringLiteral("Label1"));
    header->setFont(Fonts::heading(16, false));
    header->setFixedHeight(41);
    header->setAlignment(Qt::AlignCenter);
    outer->addWidget(header);
}

void FtpPanel::buildPages(QVBoxLayout *outer)
{
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    outer->addWidget(m_pages, 1);
    buildConnectionTab();
    buildManagementTab();
    m_pages->setCurrentIndex(1);
}

void FtpPanel::buildProgressRow(QVBoxLayout *outer)
{
    // Under both tabs, so a transfer started on either shows its progress and can be stopped.
    auto *progressRow = new QHBoxLayout;
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("ProgressBar1"));
    m_progress->setAccessibleName(QStringLiteral("Postęp przesyłania"));
    m_progress->setRange(0, 1000);
    m_progress->hide();
    m_abortButton = new QPushButton(QStringLiteral("Przerwij"), this);
    m_abortButton->setObjectName(QStringLiteral("bAbort"));
    m_abortButton->setAutoDefault(false);
    m_abortButton->setEnabled(false);
    progressRow->addWidget(m_progress, 1);
    progressRow->addWidget(m_abortButton);
    outer->addLayout(progressRow);
}

void FtpPanel::connectCommands()
{
    connect(m_connectButton, &QPushButton::clicked, this, &FtpPanel::bConnectClick);
    connect(m_copyButton, &QPushButton::clicked, this, &FtpPanel::Button6Click);
    connect(m_deleteButton, &QPushButton::clicked, this, &FtpPanel::Button7Click);
    connect(m_abortButton, &QPushButton::clicked, this, &FtpPanel::bAbortClick);
    connect(m_remoteList, &QListWidget::itemActivated, this, &FtpPanel::rListActivated);
}

void FtpPanel::connectClientNotifications()
{
    // The client's notifications arrive on the worker thread; they are handled here.
    m_client.onStatus = [this](const QString &text) {
        QMetaObject::invokeMethod(this, [this, text] { IdFTP1Status(text); }, Qt::QueuedConnection);
    };
    m_client.onProgress = [this](qint64 done, qint64 total) {
        QMetaObject::invokeMethod(this, [this, done, total] { IdFTP1Work(done, total); }, Qt::QueuedConnection);
    };
    m_client.onDisconnected = [this] {
        QMetaObject::invokeMethod(this, [this] { IdFTP1Disconnected(); }, Qt::QueuedConnection);
    };
}

void FtpPanel::buildConnectionTab()
{
    auto *connection = new QWidget;
    connection->setObjectName(QStringLiteral("TabSheet1"));
    auto *c = new QVBoxLayout(connection);
    m_host = labelledEdit(connection, c, "eHost", QStringLiteral("Host:"));
    m_login = labelledEdit(connection, c, "eLogin", QStringLiteral("Login:"));
    m_password = labelledEdit(connection, c, "eHaslo", QStringLiteral("Hasło:"));
    auto *protocolLabel = new QLabel(QStringLiteral("Protokół:"), connection);
    m_protocol = new QComboBox(connection);
    m_protocol->setObjectName(QStringLiteral("cProtocol"));
    m_protocol->addItems({QStringLiteral("FTP"), QStringLiteral("FTPS (TLS)"), QStringLiteral("SFTP")});
    protocolLabel->setBuddy(m_protocol);
    c->addWidget(protocolLabel);
    c->addWidget(m_protocol);
    m_passive = new QCheckBox(QStringLiteral("Tryb pasywny"), connection);
    m_passive->setObjectName(QStringLiteral("cPassive"));
    m_passive->setChecked(true);
    c->addWidget(m_passive);
    // SSH has no data connections to open passively or actively.
    connect(m_protocol, &QComboBox::currentIndexChanged, this,
            [this](int index) { m_passive->setEnabled(index != int(FtpPath::Protocol::Sftp)); });
    m_connectButton = new QPushButton(QStringLiteral("Połącz"), connection);
    m_connectButton->setObjectName(QStringLiteral("bConnect"));
    m_connectButton->setAutoDefault(false);
    c->addWidget(m_connectButton);
    c->addStretch(1);
    m_status = new QLabel(QStringLiteral("Rozlaczony"), connection);
    m_status->setObjectName(QStringLiteral("sBar"));
    m_status->setFrameShape(QFrame::Panel);
    m_status->setFrameShadow(QFrame::Sunken);
    m_status->setWordWrap(true);
    c->addWidget(m_status);
    m_pages->addTab(connection, QStringLiteral("Połączenie"));
}

void FtpPanel::buildManagementTab()
{
    auto *manage = new QWidget;
    manage->setObjectName(QStringLiteral("TabSheet2"));
    auto *g = new QGridLayout(manage);
    buildSideButtons(manage, g);
    buildLists(manage, g);
    buildFileButtons(manage, g);
    g->setRowStretch(2, 1);
    g->setRowStretch(3, 1);
    m_pages->addTab(manage, QStringLiteral("Zarządzanie"));
    connectListsToSideButtons();
    showStartFolder();
}

// The pair of side buttons: which side is current; m_localSide also shows the local path.
void FtpPanel::buildSideButtons(QWidget *manage, QGridLayout *g)
{
    m_remoteSide = new QToolButton(manage);
    m_remoteSide->setObjectName(QStringLiteral("aRemote"));
    m_remoteSide->setAccessibleName(QStringLiteral("Serwer"));
    m_localSide = new QToolButton(manage);
    m_localSide->setObjectName(QStringLiteral("aLocal"));
    m_localSide->setAccessibleName(QStringLiteral("Dysk lokalny"));
    for (QToolButton *b : {m_remoteSide, m_localSide}) {
        b->setCheckable(true);
        b->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    }
    auto *side = new QButtonGroup(this);
    side->setExclusive(true);
    side->addButton(m_remoteSide);
    side->addButton(m_localSide);
    m_localSide->setChecked(true);
    g->addWidget(m_remoteSide, 0, 0);
    g->addWidget(m_localSide, 0, 1);
}

// The drive box across the tab, the remote folder and list on the left, the local folders and
// files on the right.
void FtpPanel::buildLists(QWidget *manage, QGridLayout *g)
{
    m_drives = new DriveComboBox(manage);
    m_drives->setObjectName(QStringLiteral("lDrives"));
    m_drives->setAccessibleName(QStringLiteral("Dysk"));
    g->addWidget(m_drives, 1, 0, 1, 2);
    auto *remote = new QVBoxLayout;
    m_remotePath = new QLineEdit(manage);
    m_remotePath->setObjectName(QStringLiteral("rPath"));
    m_remotePath->setAccessibleName(QStringLiteral("Folder na serwerze"));
    m_remotePath->setReadOnly(true);
    m_remoteList = new QListWidget(manage);
    m_remoteList->setObjectName(QStringLiteral("rList"));
    m_remoteList->setAccessibleName(QStringLiteral("rList"));
    m_remoteList->setSortingEnabled(false);
    remote->addWidget(m_remotePath);
    remote->addWidget(m_remoteList, 1);
    g->addLayout(remote, 2, 0, 4, 1);
    m_folders = new DirectoryListBox(manage);
    m_folders->setObjectName(QStringLiteral("lDirList"));
    m_folders->setAccessibleName(QStringLiteral("lDirList"));
    g->addWidget(m_folders, 2, 1);
    m_localFiles = new FileListBox(manage);
    m_localFiles->setObjectName(QStringLiteral("lList"));
    m_localFiles->setAccessibleName(QStringLiteral("lList"));
    g->addWidget(m_localFiles, 3, 1);
}

void FtpPanel::buildFileButtons(QWidget *manage, QGridLayout *g)
{
    m_copyButton = new QPushButton(QStringLiteral("Kopiuj"), manage);
    m_copyButton->setObjectName(QStringLiteral("Button6"));
    m_deleteButton = new QPushButton(QStringLiteral("Usuń"), manage);
    m_deleteButton->setObjectName(QStringLiteral("Button7"));
    g->addWidget(m_copyButton, 4, 1);
    g->addWidget(m_deleteButton, 5, 1);
}

void FtpPanel::connectListsToSideButtons()
{
    // The local lists are chained; each change writes the local path into m_localSide.
    const auto openFolder = [this](const QString &folder) {
        try {
            m_folders->setDirectory(folder);
        } catch (const Failure &failure) {
            dialogs().showError(failure.message());
        }
    };
    connect(m_drives, &DriveComboBox::driveChosen, this, [this, openFolder](const QString &root, const QString &folder) {
        openFolder(folder);
        m_localSide->setText(QDir::toNativeSeparators(root));
    });
    connect(m_folders, &DirectoryListBox::openFailed, this, [this](const QString &message) { dialogs().showError(message); });
    connect(m_localFiles, &FileListBox::directoryLost, this, openFolder);
    connect(m_folders, &DirectoryListBox::directoryChanged, this, [this](const QString &dir) {
        m_drives->selectDriveOf(dir);
        m_localFiles->setDirectory(dir);
        m_localSide->setText(QDir::toNativeSeparators(dir));
    });
    connect(m_localFiles, &FileListBox::selectionChangedTo, this,
            [this](const QString &path) { m_localSide->setText(QDir::toNativeSeparators(path)); });
    connect(m_remoteList, &QListWidget::itemSelectionChanged, this, [this] {
        if (m_remoteList->currentRow() >= 0)
            m_remoteSide->setChecked(true);
    });
    connect(m_remoteList, &QListWidget::itemClicked, this, [this] { m_remoteSide->setChecked(true); });
}

void FtpPanel::showStartFolder()
{
    // Files a web site needs, such as ".htaccess", start with a dot.
    m_localFiles->setShowHidden(true);
    m_drives->selectDriveOf(QDir::currentPath());
    m_folders->setDirectory(QDir::currentPath());
    m_localSide->setText(QString());
}

FtpPanel::~FtpPanel()
{
    shutdown();
}

void FtpPanel::loadSettings()
{
    QSettings s = settings();
    s.beginGroup(QStringLiteral("FTP"));
    m_host->setText(s.value(QStringLiteral("host")).toString());
    m_login->setText(s.value(QStringLiteral("login")).toString());
    m_protocol->setCurrentIndex(qBound(0, s.value(QStringLiteral("protocol"), 0).toInt(), 2));
    m_passive->setChecked(s.value(QStringLiteral("passive"), true).toBool());
    m_rememberedFolder = s.value(QStringLiteral("folder")).toByteArray();
    m_rememberedServer = s.value(QStringLiteral("folderServer")).toString();
}

void FtpPanel::saveSettings() const
{
    QSettings s = settings();
    s.beginGroup(QStringLiteral("FTP"));
    s.setValue(QStringLiteral("host"), m_host->text());
    s.setValue(QStringLiteral("login"), m_login->text());
    s.setValue(QStringLiteral("protocol"), m_protocol->currentIndex());
    s.setValue(QStringLiteral("passive"), m_passive->isChecked());
    if (!m_folder.isEmpty()) {
        s.setValue(QStringLiteral("folder"), m_folder);
        s.setValue(QStringLiteral("folderServer"), serverKey(m_client.login()));
    }
}

void FtpPanel::shutdown()
{
    if (m_worker) {
        m_stopRequested = true;
        m_client.abort();
        m_worker->wait();
        m_worker->deleteLater();
        m_worker = nullptr;
        setBusy(false);
    }
    saveSettings();
}

void FtpPanel::setBusy(bool busy)
{
    for (QWidget *w : std::initializer_list<QWidget *>{m_connectButton, m_copyButton, m_deleteButton})
        w->setEnabled(!busy);
    m_abortButton->setEnabled(busy);
    if (busy) {
        m_transferClock.start();
    } else {
        m_progress->hide();
        m_progress->resetFormat();
    }
}

void FtpPanel::IdFTP1Status(const QString &text)
{
    m_status->setText(text);
}

void FtpPanel::IdFTP1Work(qint64 done, qint64 total)
{
    if (total <= 0 || !busy())
        return;
    m_progress->show();
    m_progress->setValue(int(done * 1000 / total));
    const double seconds = double(m_transferClock.nsecsElapsed()) / 1e9;
    if (seconds < 0.2 || done <= 0)
        return;
    const double rate = double(done) / seconds; // bytes per second
    const qint64 left = qint64((total - done) / rate + 0.5);
    const QString speed = QLocale(QLocale::Polish).toString(rate / 1e6, 'f', 1);
    m_progress->setFormat(QStringLiteral("%p% · %1 MB/s · %2:%3")
                                .arg(speed, QString::number(left / 60), QString::number(left % 60).rightJustified(2, QLatin1Char('0'))));
}

void FtpPanel::IdFTP1Disconnected()
{
    m_status->setText(QStringLiteral("Rozłączony"));
    m_connectButton->setText(QStringLiteral("Połącz"));
    m_remoteList->clear();
    m_remotePath->clear();
}
