#pragma once

#include <QComboBox>
#include <QHash>

// The platform's roots ("/" on Linux, the drive letters on Windows). Each drive remembers the
// folder last opened on it, its current folder.
class DriveComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit DriveComboBox(QWidget *parent = nullptr);
    QString drive() const; // the selected root
    // Shows the drive that holds a folder, and remembers the folder as that drive's current one.
    void selectDriveOf(const QString &path);
    // Replaces the platform's roots, for a machine whose drives are not QDir::drives().
    void setDrives(const QStringList &roots);

signals:
    // The user chose another drive: its root and its current folder.
    void driveChosen(const QString &root, const QString &folder);

private:
    void choose(int index);

    QHash<QString, QString> m_folders; // root → the folder last opened on that drive
    int m_shown = -1;                  // the drive the lists show
};
