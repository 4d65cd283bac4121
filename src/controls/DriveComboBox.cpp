#include "controls/DriveComboBox.h"

#include <QDir>
#include <QFileInfo>

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
