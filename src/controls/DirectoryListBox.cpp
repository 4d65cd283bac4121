#include "controls/DirectoryListBox.h"

#include "controls/DiskWatch.h"
#include "core/Failure.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTimer>

namespace {

// Each row holds its folder's full path.
constexpr int kPathRole = Qt::UserRole + 1;

} // namespace

using DiskWatch::enterNearestFolder;
using DiskWatch::settleTimer;

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
