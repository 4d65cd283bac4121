#include "ftp/FtpPanel.h"

#include "controls/LocalLists.h"
#include "core/Failure.h"
#include "ftp/FtpPath.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
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

const QString kListIndexError = QStringLiteral("List index out of bounds (-1)");

} // namespace

FtpPanel::FtpPanel(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("FtpPanel"));
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    auto *header = new QLabel(QStringLiteral("Klient FTP"), this);
    header->setObjectName(QStringLiteral("Label1"));
    QFont f = header->font();
    f.setPixelSize(16);
    header->setFont(f);
    header->setFixedHeight(41);
    header->setAlignment(Qt::AlignCenter);
    outer->addWidget(header);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    outer->addWidget(PageControl1, 1);

    // "Połączenie"
    auto *connection = new QWidget;
    connection->setObjectName(QStringLiteral("TabSheet1"));
    auto *c = new QVBoxLayout(connection);
    eHost = labelledEdit(connection, c, "eHost", QStringLiteral("Host:"));
    eLogin = labelledEdit(connection, c, "eLogin", QStringLiteral("Login:"));
    eHaslo = labelledEdit(connection, c, "eHaslo", QStringLiteral("Hasło:"));
    cPassive = new QCheckBox(QStringLiteral("Tryb pasywny"), connection);
    cPassive->setObjectName(QStringLiteral("cPassive"));
    cPassive->setChecked(true);
    c->addWidget(cPassive);
    bConnect = new QPushButton(QStringLiteral("Połącz"), connection);
    bConnect->setObjectName(QStringLiteral("bConnect"));
    bConnect->setAutoDefault(false);
    c->addWidget(bConnect);
    c->addStretch(1);
    sBar = new QLabel(QStringLiteral("Rozlaczony"), connection);
    sBar->setObjectName(QStringLiteral("sBar"));
    sBar->setAccessibleName(QStringLiteral("sBar"));
    sBar->setFrameShape(QFrame::Panel);
    sBar->setFrameShadow(QFrame::Sunken);
    c->addWidget(sBar);
    PageControl1->addTab(connection, QStringLiteral("Połączenie"));

    // "Zarządzanie"
    auto *manage = new QWidget;
    manage->setObjectName(QStringLiteral("TabSheet2"));
    auto *g = new QGridLayout(manage);
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
    lDrives = new DriveComboBox(manage);
    lDrives->setObjectName(QStringLiteral("lDrives"));
    lDrives->setAccessibleName(QStringLiteral("lDrives"));
    g->addWidget(lDrives, 1, 0, 1, 2);
    rList = new QListWidget(manage);
    rList->setObjectName(QStringLiteral("rList"));
    rList->setAccessibleName(QStringLiteral("rList"));
    rList->setSortingEnabled(false);
    g->addWidget(rList, 2, 0, 4, 1);
    lDirList = new DirectoryListBox(manage);
    lDirList->setObjectName(QStringLiteral("lDirList"));
    lDirList->setAccessibleName(QStringLiteral("lDirList"));
    g->addWidget(lDirList, 2, 1);
    lList = new FileListBox(manage);
    lList->setObjectName(QStringLiteral("lList"));
    lList->setAccessibleName(QStringLiteral("lList"));
    g->addWidget(lList, 3, 1);
    Button6 = new QPushButton(QStringLiteral("Kopiuj"), manage);
    Button6->setObjectName(QStringLiteral("Button6"));
    Button7 = new QPushButton(QStringLiteral("Usuń"), manage);
    Button7->setObjectName(QStringLiteral("Button7"));
    g->addWidget(Button6, 4, 1);
    g->addWidget(Button7, 5, 1);
    g->setRowStretch(2, 1);
    g->setRowStretch(3, 1);
    PageControl1->addTab(manage, QStringLiteral("Zarządzanie"));
    PageControl1->setCurrentIndex(1);

    // Under both tabs, so a transfer started on either shows its progress.
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setAccessibleName(QStringLiteral("Postęp przesyłania"));
    ProgressBar1->setRange(0, 1000);
    ProgressBar1->hide();
    outer->addWidget(ProgressBar1);

    // The local lists are chained; each change writes the local path into aLocal.
    connect(lDrives, &DriveComboBox::driveChosen, this, [this](const QString &root) {
        lDirList->setDirectory(root);
        aLocal->setText(QDir::toNativeSeparators(root));
    });
    connect(lDirList, &DirectoryListBox::directoryChanged, this, [this](const QString &dir) {
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

    lList->setMask(QStringLiteral("*"));
    lDrives->selectDriveOf(QDir::currentPath());
    lDirList->setDirectory(QDir::currentPath());
    aLocal->setText(QString());

    connect(bConnect, &QPushButton::clicked, this, &FtpPanel::bConnectClick);
    connect(Button6, &QPushButton::clicked, this, &FtpPanel::Button6Click);
    connect(Button7, &QPushButton::clicked, this, &FtpPanel::Button7Click);

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

FtpPanel::~FtpPanel()
{
    shutdown();
}

void FtpPanel::shutdown()
{
    if (!m_worker)
        return;
    m_client.abort();
    m_worker->wait();
    m_worker->deleteLater();
    m_worker = nullptr;
    setBusy(false);
}

bool FtpPanel::remoteSideCurrent() const
{
    return aRemote->isChecked();
}

void FtpPanel::setBusy(bool busy)
{
    for (QWidget *w : std::initializer_list<QWidget *>{bConnect, Button6, Button7})
        w->setEnabled(!busy);
    if (!busy)
        ProgressBar1->hide();
}

void FtpPanel::run(const std::function<void()> &job, bool redraw)
{
    if (m_worker)
        return;
    m_jobError.clear();
    m_listed = false;
    setBusy(true);
    m_worker = QThread::create([this, job, redraw] {
        try {
            job();
            if (redraw && m_client.connected()) {
                m_listing = m_client.listFiles();
                m_listed = true;
            }
        } catch (const Failure &f) {
            m_jobError = f.message();
        } catch (const std::exception &e) {
            m_jobError = QString::fromLocal8Bit(e.what());
        }
    });
    QThread *worker = m_worker;
    connect(worker, &QThread::finished, this, [this, worker] {
        // A shutdown may have finished this job already.
        if (m_worker != worker)
            return;
        m_worker->deleteLater();
        m_worker = nullptr;
        setBusy(false);
        if (m_listed) {
            // The list is filled anew; the entry the user had selected stays selected.
            const QString selected = rList->currentRow() >= 0 ? rList->currentItem()->text() : QString();
            const QSignalBlocker blocker(rList);
            rList->clear();
            rList->addItems(m_listing);
            const int row = int(m_listing.indexOf(selected));
            if (!selected.isEmpty() && row >= 0)
                rList->setCurrentRow(row);
        }
        const bool ok = m_jobError.isEmpty();
        if (!ok && m_showError)
            m_showError(m_jobError);
        emit operationFinished(ok);
    });
    m_worker->start();
}

void FtpPanel::bConnectClick()
{
    if (busy())
        return;
    if (m_client.connected()) {
        run([this] { m_client.disconnect(); }, false);
        return;
    }
    FtpClient::Login login;
    login.host = eHost->text();
    login.user = eLogin->text();
    login.password = eHaslo->text();
    login.passive = cPassive->isChecked();
    login.port = m_port;
    run([this, login] { m_client.connectAndLogin(login); }, true);
}

void FtpPanel::Button6Click()
{
    if (busy())
        return;
    if (remoteSideCurrent()) {
        const QString name = rList->currentRow() >= 0 && rList->currentItem()->isSelected() ? rList->currentItem()->text() : QString();
        const QString folder = QDir::currentPath();
        run([this, name, folder] {
            const QString dir = m_client.currentDirectory();
            if (name.isEmpty())
                throw Failure(kListIndexError);
            if (!FtpPath::isSafeLocalName(name))
                throw Failure(QStringLiteral("Nazwy „%1” podanej przez serwer nie można użyć jako nazwy pliku "
                                             "w bieżącym folderze. Nic nie zapisano.")
                                  .arg(name));
            m_client.download(FtpPath::join(dir, name), QDir(folder).filePath(name));
        }, true);
    } else {
        const QString name = lList->selectedName();
        const QString path = lList->selectedPath();
        run([this, name, path] {
            const QString dir = m_client.currentDirectory();
            if (name.isEmpty())
                throw Failure(kListIndexError);
            m_client.upload(path, FtpPath::join(dir, name));
        }, true);
    }
}

void FtpPanel::Button7Click()
{
    if (busy())
        return;
    if (remoteSideCurrent()) {
        const QString name = rList->currentRow() >= 0 && rList->currentItem()->isSelected() ? rList->currentItem()->text() : QString();
        run([this, name] {
            const QString dir = m_client.currentDirectory();
            if (name.isEmpty())
                throw Failure(kListIndexError);
            m_client.remove(FtpPath::join(dir, name));
        }, true);
    } else {
        // A local delete needs no connection; a refusal is silent, the file stays.
        const QString path = lList->selectedPath();
        if (!path.isEmpty())
            QFile::remove(path);
        run([] {}, true);
    }
}

void FtpPanel::IdFTP1Status(const QString &text)
{
    sBar->setText(text);
}

void FtpPanel::IdFTP1Work(qint64 done, qint64 total)
{
    if (total <= 0)
        return;
    ProgressBar1->show();
    ProgressBar1->setValue(int(done * 1000 / total));
}

void FtpPanel::IdFTP1Disconnected()
{
    sBar->setText(QStringLiteral("Rozłączony"));
    bConnect->setText(QStringLiteral("Połącz"));
    rList->clear();
}
