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
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    outer->addWidget(PageControl1, 1);
    buildConnectionTab();
    buildManagementTab();
    PageControl1->setCurrentIndex(1);
}

void FtpPanel::buildProgressRow(QVBoxLayout *outer)
{
    // Under both tabs, so a transfer started on either shows its progress and can be stopped.
    auto *progressRow = new QHBoxLayout;
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setAccessibleName(QStringLiteral("Postęp przesyłania"));
    ProgressBar1->setRange(0, 1000);
    ProgressBar1->hide();
    bAbort = new QPushButton(QStringLiteral("Przerwij"), this);
    bAbort->setObjectName(QStringLiteral("bAbort"));
    bAbort->setAutoDefault(false);
    bAbort->setEnabled(false);
    progressRow->addWidget(ProgressBar1, 1);
    progressRow->addWidget(bAbort);
    outer->addLayout(progressRow);
}

void FtpPanel::connectCommands()
{
    connect(bConnect, &QPushButton::clicked, this, &FtpPanel::bConnectClick);
    connect(Button6, &QPushButton::clicked, this, &FtpPanel::Button6Click);
    connect(Button7, &QPushButton::clicked, this, &FtpPanel::Button7Click);
    connect(bAbort, &QPushButton::clicked, this, &FtpPanel::bAbortClick);
    connect(rList, &QListWidget::itemActivated, this, &FtpPanel::rListActivated);
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
    eHost = labelledEdit(connection, c, "eHost", QStringLiteral("Host:"));
    eLogin = labelledEdit(connection, c, "eLogin", QStringLiteral("Login:"));
    eHaslo = labelledEdit(connection, c, "eHaslo", QStringLiteral("Hasło:"));
    auto *protocolLabel = new QLabel(QStringLiteral("Protokół:"), connection);
    cProtocol = new QComboBox(connection);
    cProtocol->setObjectName(QStringLiteral("cProtocol"));
    cProtocol->addItems({QStringLiteral("FTP"), QStringLiteral("FTPS (TLS)"), QStringLiteral("SFTP")});
    protocolLabel->setBuddy(cProtocol);
    c->addWidget(protocolLabel);
    c->addWidget(cProtocol);
    cPassive = new QCheckBox(QStringLiteral("Tryb pasywny"), connection);
    cPassive->setObjectName(QStringLiteral("cPassive"));
    cPassive->setChecked(true);
    c->addWidget(cPassive);
    // SSH has no data connections to open passively or actively.
    connect(cProtocol, &QComboBox::currentIndexChanged, this,
            [this](int index) { cPassive->setEnabled(index != int(FtpPath::Protocol::Sftp)); });
    bConnect = new QPushButton(QStringLiteral("Połącz"), connection);
    bConnect->setObjectName(QStringLiteral("bConnect"));
    bConnect->setAutoDefault(false);
    c->addWidget(bConnect);
    c->addStretch(1);
    sBar = new QLabel(QStringLiteral("Rozlaczony"), connection);
    sBar->setObjectName(QStringLiteral("sBar"));
    sBar->setFrameShape(QFrame::Panel);
    sBar->setFrameShadow(QFrame::Sunken);
    sBar->setWordWrap(true);
    c->addWidget(sBar);
    PageControl1->addTab(connection, QStringLiteral("Połączenie"));
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
    PageControl1->addTab(manage, QStringLiteral("Zarządzanie"));
    connectListsToSideButtons();
    showStartFolder();
}

// The pair of side buttons: which side is current; aLocal also shows the local path.
void FtpPanel::buildSideButtons(QWidget *manage, QGridLayout *g)
{
    aRemote = new QToolButton(manage);
    aRemote->setObjectName(QStringLiteral("aRemote"));
    aRemote->setAccessibleName(QStringLiteral("Serwer"));
    aLocal = new QToolButton(manage);
    aLocal->setObjectName(QStringLiteral("aLocal"));
    aLocal->setAccessibleName(QStringLiteral("Dysk lokalny"));
    for (QToolButton *b : {aRemote, aLocal}) {
        b->setCheckable(true);
        b->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    }
    auto *side = new QButtonGroup(this);
    side->setExclusive(true);
    side->addButton(aRemote);
    side->addButton(aLocal);
    aLocal->setChecked(true);
    g->addWidget(aRemote, 0, 0);
    g->addWidget(aLocal, 0, 1);
}

// The drive box across the tab, the remote folder and list on the left, the local folders and
// files on the right.
void FtpPanel::buildLists(QWidget *manage, QGridLayout *g)
{
    lDrives = new DriveComboBox(manage);
    lDrives->setObjectName(QStringLiteral("lDrives"));
    lDrives->setAccessibleName(QStringLiteral("Dysk"));
    g->addWidget(lDrives, 1, 0, 1, 2);
    auto *remote = new QVBoxLayout;
    rPath = new QLineEdit(manage);
    rPath->setObjectName(QStringLiteral("rPath"));
    rPath->setAccessibleName(QStringLiteral("Folder na serwerze"));
    rPath->setReadOnly(true);
    rList = new QListWidget(manage);
    rList->setObjectName(QStringLiteral("rList"));
    rList->setAccessibleName(QStringLiteral("rList"));
    rList->setSortingEnabled(false);
    remote->addWidget(rPath);
    remote->addWidget(rList, 1);
    g->addLayout(remote, 2, 0, 4, 1);
    lDirList = new DirectoryListBox(manage);
    lDirList->setObjectName(QStringLiteral("lDirList"));
    lDirList->setAccessibleName(QStringLiteral("lDirList"));
    g->addWidget(lDirList, 2, 1);
    lList = new FileListBox(manage);
    lList->setObjectName(QStringLiteral("lList"));
    lList->setAccessibleName(QStringLiteral("lList"));
    g->addWidget(lList, 3, 1);
}

void FtpPanel::buildFileButtons(QWidget *manage, QGridLayout *g)
{
    Button6 = new QPushButton(QStringLiteral("Kopiuj"), manage);
    Button6->setObjectName(QStringLiteral("Button6"));
    Button7 = new QPushButton(QStringLiteral("Usuń"), manage);
    Button7->setObjectName(QStringLiteral("Button7"));
    g->addWidget(Button6, 4, 1);
    g->addWidget(Button7, 5, 1);
}

void FtpPanel::connectListsToSideButtons()
{
    // The local lists are chained; each change writes the local path into aLocal.
    const auto openFolder = [this](const QString &folder) {
        try {
            lDirList->setDirectory(folder);
        } catch (const Failure &failure) {
            dialogs().showError(failure.message());
        }
    };
    connect(lDrives, &DriveComboBox::driveChosen, this, [this, openFolder](const QString &root, const QString &folder) {
        openFolder(folder);
        aLocal->setText(QDir::toNativeSeparators(root));
    });
    connect(lDirList, &DirectoryListBox::openFailed, this, [this](const QString &message) { dialogs().showError(message); });
    connect(lList, &FileListBox::directoryLost, this, openFolder);
    connect(lDirList, &DirectoryListBox::directoryChanged, this, [this](const QString &dir) {
        lDrives->selectDriveOf(dir);
        lList->setDirectory(dir);
        aLocal->setText(QDir::toNativeSeparators(dir));
    });
    connect(lList, &FileListBox::selectionChangedTo, this,
            [this](const QString &path) { aLocal->setText(QDir::toNativeSeparators(path)); });
    connect(rList, &QListWidget::itemSelectionChanged, this, [this] {
        if (rList->currentRow() >= 0)
            aRemote->setChecked(true);
    });
    connect(rList, &QListWidget::itemClicked, this, [this] { aRemote->setChecked(true); });
}

void FtpPanel::showStartFolder()
{
    // Files a web site needs, such as ".htaccess", start with a dot.
    lList->setShowHidden(true);
    lDrives->selectDriveOf(QDir::currentPath());
    lDirList->setDirectory(QDir::currentPath());
    aLocal->setText(QString());
}

FtpPanel::~FtpPanel()
{
    shutdown();
}

void FtpPanel::loadSettings()
{
    QSettings s = settings();
    s.beginGroup(QStringLiteral("FTP"));
    eHost->setText(s.value(QStringLiteral("host")).toString());
    eLogin->setText(s.value(QStringLiteral("login")).toString());
    cProtocol->setCurrentIndex(qBound(0, s.value(QStringLiteral("protocol"), 0).toInt(), 2));
    cPassive->setChecked(s.value(QStringLiteral("passive"), true).toBool());
    m_rememberedFolder = s.value(QStringLiteral("folder")).toByteArray();
    m_rememberedServer = s.value(QStringLiteral("folderServer")).toString();
}

void FtpPanel::saveSettings() const
{
    QSettings s = settings();
    s.beginGroup(QStringLiteral("FTP"));
    s.setValue(QStringLiteral("host"), eHost->text());
    s.setValue(QStringLiteral("login"), eLogin->text());
    s.setValue(QStringLiteral("protocol"), cProtocol->currentIndex());
    s.setValue(QStringLiteral("passive"), cPassive->isChecked());
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
    for (QWidget *w : std::initializer_list<QWidget *>{bConnect, Button6, Button7})
        w->setEnabled(!busy);
    bAbort->setEnabled(busy);
    if (busy) {
        m_transferClock.start();
    } else {
        ProgressBar1->hide();
        ProgressBar1->resetFormat();
    }
}

void FtpPanel::IdFTP1Status(const QString &text)
{
    sBar->setText(text);
}

void FtpPanel::IdFTP1Work(qint64 done, qint64 total)
{
    if (total <= 0 || !busy())
        return;
    ProgressBar1->show();
    ProgressBar1->setValue(int(done * 1000 / total));
    const double seconds = double(m_transferClock.nsecsElapsed()) / 1e9;
    if (seconds < 0.2 || done <= 0)
        return;
    const double rate = double(done) / seconds; // bytes per second
    const qint64 left = qint64((total - done) / rate + 0.5);
    const QString speed = QLocale(QLocale::Polish).toString(rate / 1e6, 'f', 1);
    ProgressBar1->setFormat(QStringLiteral("%p% · %1 MB/s · %2:%3")
                                .arg(speed, QString::number(left / 60), QString::number(left % 60).rightJustified(2, QLatin1Char('0'))));
}

void FtpPanel::IdFTP1Disconnected()
{
    sBar->setText(QStringLiteral("Rozłączony"));
    bConnect->setText(QStringLiteral("Połącz"));
    rList->clear();
    rPath->clear();
}
