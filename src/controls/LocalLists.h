#pragma once

#include <QComboBox>
#include <QHash>
#include <QListWidget>

class QFileSystemWatcher;
class QTimer;

// The chained local-disk lists: a drive box drives a folder list, which drives a file list.
// The folder and file lists follow the disk: what another program creates, renames or deletes
// in the shown folder appears or disappears by itself.

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

// The folders of the current path and the folders inside the current one; a double click
// or Enter opens a folder.
class DirectoryListBox : public QListWidget
{
    Q_OBJECT
public:
    explicit DirectoryListBox(QWidget *parent = nullptr);
    // Opens a folder, or the nearest folder above it when it has gone, and makes it the
    // process's current folder. Throws Failure, changing nothing, when it cannot be entered.
    void setDirectory(const QString &path);
    QString directory() const { return m_directory; }

signals:
    void directoryChanged(const QString &path);
    // A folder opened by a double click or Enter could not be entered; the lists are kept.
    void openFailed(const QString &message);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void openItem(QListWidgetItem *item);
    int fill(const QString &dir); // returns the folder's own row
    void refresh();

    QString m_directory;
    QFileSystemWatcher *m_watcher;
    QTimer *m_refresh;
};

// The plain files of a folder that match a mask, sorted by name. Filling it makes its folder
// the process's current directory. A file counts as chosen only when the user selects it:
// focus arriving in the list, a refill or a refresh selects nothing.
class FileListBox : public QListWidget
{
    Q_OBJECT
public:
    explicit FileListBox(QWidget *parent = nullptr);
    void setDirectory(const QString &path);
    QString directory() const { return m_directory; }
    void setMask(const QString &mask);
    void setShowHidden(bool show); // dotfiles too (".htaccess")
    // The selected file's full path, or empty when none is selected.
    QString selectedPath() const;
    QString selectedName() const;
    // Marks a file as selected without announcing it (it is loaded already).
    void showSelected(const QString &name);
    // Fills the list anew with nothing selected; its folder becomes the current one.
    void refill();
    // Follows the disk: keeps the selection and the current folder, announces no choice.
    void refresh();

signals:
    void selectionChangedTo(const QString &path);
    // The folder has gone: the folder list moves to the nearest one left.
    void directoryLost(const QString &path);

protected:
    void focusInEvent(QFocusEvent *event) override;

private:
    QStringList entries() const;
    void watch();

    QString m_directory;
    QString m_mask = QStringLiteral("*");
    bool m_showHidden = false;
    QFileSystemWatcher *m_watcher;
    QTimer *m_refresh;
};
