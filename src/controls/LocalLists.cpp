#include "controls/LocalLists.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>

namespace {
constexpr int kPathRole = Qt::UserRole + 1;
}

DriveComboBox::DriveComboBox(QWidget *parent)
    : QComboBox(parent)
{
    for (const QFileInfo &root : QDir::drives())
        addItem(QDir::toNativeSeparators(root.absoluteFilePath()), root.absoluteFilePath());
    connect(this, &QComboBox::activated, this, [this] { emit driveChosen(drive()); });
}

QString DriveComboBox::drive() const
{
    return currentData().toString();
}

void DriveComboBox::selectDriveOf(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < count(); ++i) {
        const QString root = itemData(i).toString();
        if (absolute.startsWith(root, Qt::CaseInsensitive) && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    if (best >= 0)
        setCurrentIndex(best);
}

DirectoryListBox::DirectoryListBox(QWidget *parent)
    : QListWidget(parent)
{
    connect(this, &QListWidget::itemDoubleClicked, this, &DirectoryListBox::openItem);
}

void DirectoryListBox::setDirectory(const QString &path)
{
    const QString dir = QDir(path).absolutePath();
    clear();

    QStringList chain;
    for (QDir d(dir);; ) {
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
    setCurrentRow(count() - 1);
    const QStringList subfolders =
        QDir(dir).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString &sub : subfolders) {
        auto *item = new QListWidgetItem(QString(depth * 2, QLatin1Char(' ')) + sub, this);
        item->setData(kPathRole, QDir(dir).filePath(sub));
    }
    emit directoryChanged(dir);
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
    if (item)
        setDirectory(item->data(kPathRole).toString());
}

FileListBox::FileListBox(QWidget *parent)
    : QListWidget(parent)
{
    setSortingEnabled(false);
    connect(this, &QListWidget::currentRowChanged, this, [this] { emit selectionChangedTo(selectedPath()); });
}

void FileListBox::setDirectory(const QString &path)
{
    m_directory = QDir(path).absolutePath();
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

void FileListBox::refill()
{
    blockSignals(true);
    clear();
    QDir dir(m_directory);
    const QStringList files = dir.entryList(QStringList{m_mask}, m_showHidden ? QDir::Files | QDir::Hidden : QDir::Files, QDir::Name | QDir::IgnoreCase);
    addItems(files);
    setCurrentRow(-1);
    blockSignals(false);
    QDir::setCurrent(m_directory);
    emit selectionChangedTo(QString());
}

QString FileListBox::selectedName() const
{
    const QListWidgetItem *item = currentRow() >= 0 ? currentItem() : nullptr;
    return item ? item->text() : QString();
}

QString FileListBox::selectedPath() const
{
    const QString name = selectedName();
    return name.isEmpty() ? QString() : QDir(m_directory).filePath(name);
}
