#include "controls/FileListBox.h"

#include "controls/DiskWatch.h"
#include "core/Failure.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QFocusEvent>
#include <QScrollBar>
#include <QTimer>

using DiskWatch::enterNearestFolder;
using DiskWatch::settleTimer;

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
    if (m_directory.isEmpty())
        return;
    // While the folder is the process's current one it stays in use, and its removal is not
    // reported on the folder itself: its parent sees it go.
    QStringList paths{m_directory};
    const QString parent = QFileInfo(m_directory).absolutePath();
    if (parent != m_directory)
        paths << parent;
    m_watcher->addPaths(paths);
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
