#include "controls/LocalLists.h"

#include "core/Failure.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTimer>

namespace {

constexpr int kPathRole = Qt::UserRole + 1;
// Changes on disk come in bursts (a save writes a temporary file and renames it): the lists
// follow once a burst has passed, well within a second.
constexpr int kSettleMs = 100;

QTimer *settleTimer(QObject *parent)
{
    auto *timer = new QTimer(parent);
    timer->setSingleShot(true);
    timer->setInterval(kSettleMs);
    return timer;
}

// Makes the folder the process's current one and returns it. A folder that has gone is
// replaced by the nearest folder above it that still exists; one that exists but cannot be
// entered is refused.
QString enterNearestFolder(const QString &path)
{
    QString dir = QDir::cleanPath(QDir(path).absolutePath());
    for (;;) {
        if (QFileInfo(dir).isDir()) {
            if (QDir::setCurrent(dir))
                return dir;
            throw Failure(QStringLiteral("Nie można otworzyć folderu \"%1\": brak dostępu.")
                              .arg(QDir::toNativeSeparators(dir)));
        }
        const QString parent = QDir::cleanPath(dir + QStringLiteral("/.."));
        if (parent == dir)
            throw Failure(QStringLiteral("Nie można otworzyć folderu \"%1\".").arg(QDir::toNativeSeparators(path)));
        dir = parent;
    }
}

} // namespace

DriveComboBox::DriveComboBox(QWidget *parent)
    : QComboBox(parent)
{
    QStringList roots;
    for (const QFileInfo &root : QDir::drives())
        roots << root.absoluteFilePath();
    setDrives(roots);
    connect(this, &QComboBox::activated, this, &DriveComboBox::choose);
}

void DriveComboBox::setDrives(const QStringList &roots)
{
    clear();
    m_folders.clear();
    for (const QString &root : roots)
        addItem(QDir::toNativeSeparators(root), root);
    m_shown = currentIndex();
}

QString DriveComboBox::drive() const
{
    return currentData().toString();
}

void DriveComboBox::choose(int index)
{
    // The drive the lists already show: its folder stays open.
    if (index == m_shown || index < 0)
        return;
    m_shown = index;
    const QString root = itemData(index).toString();
    emit driveChosen(root, m_folders.value(root, root));
}

void DriveComboBox::selectDriveOf(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < count(); ++i) {
        const QString root = itemData(i).toString();
        const bool inside = absolute.startsWith(root, Qt::CaseInsensitive)
            && (root.endsWith(QLatin1Char('/')) || absolute.size() == root.size()
                || absolute.at(root.size()) == QLatin1Char('/'));
        if (inside && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    if (best < 0)
        return;
    setCurrentIndex(best);
    m_shown = best;
    m_folders.insert(itemData(best).toString(), absolute);
}

DirectoryListBox::DirectoryListBox(QWidget *parent)
    : QListWidget(parent)
    , m_watcher(new QFileSystemWatcher(this))
    , m_refresh(settleTimer(this))
{
    connect(this, &QListWidget::itemDoubleClicked, this, &DirectoryListBox::openItem);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, m_refresh, qOverload<>(&QTimer::start));
    connect(m_refresh, &QTimer::timeout, this, &DirectoryListBox::refresh);
}

void DirectoryListBox::setDirectory(const QString &path)
{
    const QString dir = enterNearestFolder(path);
    setCurrentRow(fill(dir));
    emit directoryChanged(dir);
}

int DirectoryListBox::fill(const QString &dir)
{
    if (!m_watcher->directories().isEmpty())
        m_watcher->removePaths(m_watcher->directories());
    m_directory = dir;
    m_watcher->addPath(dir);
    clear();

    QStringList chain;
    for (QDir d(dir);;) {
        chain.prepend(d.absolutePath());
        if (d.isRoot() || !d.cdUp())
            break;
    }
    int depth = 0;
    for (const QString &p : chain) {
        const QString name = QDir(p).isRoot() ? QDir::toNativeSeparators(p) : QFileInfo(p).fileName();
        auto *item = new QListWidgetItem(QString(depth * 2, QLatin1Char(' ')) + name, this);
        item->setData(kPathRole, p);
        ++depth;
    }
    const QStringList subfolders =
        QDir(dir).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString &sub : subfolders) {
        auto *item = new QListWidgetItem(QString(depth * 2, QLatin1Char(' ')) + sub, this);
        item->setData(kPathRole, QDir(dir).filePath(sub));
    }
    return depth - 1; // the row of the folder itself
}

void DirectoryListBox::refresh()
{
    // A folder that has gone is left to the file list, which reports it (directoryLost).
    if (m_directory.isEmpty() || !QFileInfo(m_directory).isDir())
        return;
    const QString current = currentItem() ? currentItem()->data(kPathRole).toString() : QString();
    const int scroll = verticalScrollBar()->value();
    const QSignalBlocker blocker(this);
    fill(m_directory);
    for (int i = 0; i < count(); ++i)
        if (item(i)->data(kPathRole).toString() == current)
            setCurrentRow(i);
    verticalScrollBar()->setValue(scroll);
}

void DirectoryListBox::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem()) {
        openItem(currentItem());
        return;
    }
    QListWidget::keyPressEvent(event);
}

void DirectoryListBox::openItem(QListWidgetItem *item)
{
    if (!item)
        return;
    try {
        setDirectory(item->data(kPathRole).toString());
    } catch (const Failure &failure) {
        emit openFailed(failure.message());
    }
}

FileListBox::FileListBox(QWidget *parent)
    : QListWidget(parent)
    , m_watcher(new QFileSystemWatcher(this))
    , m_refresh(settleTimer(this))
{
    setSortingEnabled(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemSelectionChanged, this, [this] { emit selectionChangedTo(selectedPath()); });
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, m_refresh, qOverload<>(&QTimer::start));
    connect(m_refresh, &QTimer::timeout, this, &FileListBox::refresh);
}

void FileListBox::setDirectory(const QString &path)
{
    m_directory = QDir(path).absolutePath();
    watch();
    refill();
}

void FileListBox::setMask(const QString &mask)
{
    // "*.*" means every file, also one without a dot in its name.
    m_mask = mask == QLatin1String("*.*") ? QStringLiteral("*") : mask;
    refill();
}

void FileListBox::setShowHidden(bool show)
{
    m_showHidden = show;
    refill();
}

QStringList FileListBox::entries() const
{
    const QDir::Filters filters = m_showHidden ? QDir::Files | QDir::Hidden : QDir::Files;
    const QDir folder(m_directory);
    QStringList names = folder.entryList(QStringList{m_mask}, filters, QDir::Name | QDir::IgnoreCase);
    // Qt lists a link to a device or a pipe as a file; only regular files (and links to them)
    // can be opened or sent.
    names.removeIf([&folder](const QString &name) { return !QFileInfo(folder.filePath(name)).isFile(); });
    return names;
}

void FileListBox::watch()
{
    if (!m_watcher->directories().isEmpty())
        m_watcher->removePaths(m_watcher->directories());
    if (!m_directory.isEmpty())
        m_watcher->addPath(m_directory);
}

void FileListBox::refill()
{
    if (m_directory.isEmpty())
        return;
    // The current folder must always be the one the lists show: a folder that cannot be
    // entered any more is handed back to the folder list, which moves to the nearest one.
    if (!QDir::setCurrent(m_directory)) {
        emit directoryLost(m_directory);
        return;
    }
    {
        const QSignalBlocker blocker(this);
        clear();
        addItems(entries());
        setCurrentRow(-1);
    }
    emit selectionChangedTo(QString());
}

void FileListBox::refresh()
{
    if (m_directory.isEmpty())
        return;
    if (!QFileInfo(m_directory).isDir()) {
        emit directoryLost(m_directory);
        return;
    }
    const QString selected = selectedName();
    const int scroll = verticalScrollBar()->value();
    {
        const QSignalBlocker blocker(this);
        clear();
        addItems(entries());
        setCurrentRow(-1);
        if (!selected.isEmpty())
            showSelected(selected);
        verticalScrollBar()->setValue(scroll);
    }
    // The watcher drops a folder that was replaced (renamed over); watch it again.
    watch();
    if (!selected.isEmpty() && selectedName().isEmpty())
        emit selectionChangedTo(QString()); // the selected file has gone
}

void FileListBox::showSelected(const QString &name)
{
    const QList<QListWidgetItem *> found = findItems(name, Qt::MatchExactly);
    if (found.isEmpty())
        return;
    const QSignalBlocker blocker(this);
    setCurrentItem(found.first());
    scrollToItem(found.first());
}

void FileListBox::focusInEvent(QFocusEvent *event)
{
    // Qt's item views make the first row current when they gain the focus with none current.
    // That is no choice of the user's: the list goes back to having no current row, and the
    // first arrow key then selects the first file.
    const bool hadCurrent = currentIndex().isValid();
    QListWidget::focusInEvent(event);
    if (!hadCurrent && currentIndex().isValid() && selectedItems().isEmpty())
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
}

QString FileListBox::selectedName() const
{
    const QList<QListWidgetItem *> items = selectedItems();
    return items.isEmpty() ? QString() : items.first()->text();
}

QString FileListBox::selectedPath() const
{
    const QString name = selectedName();
    return name.isEmpty() ? QString() : QDir(m_directory).filePath(name);
}
