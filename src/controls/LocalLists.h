#pragma once

#include <QComboBox>
#include <QListWidget>

// The chained local-disk lists: a drive box drives a folder list, which drives a file list.

// The platform's roots ("/" on Linux, the drive letters on Windows).
class DriveComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit DriveComboBox(QWidget *parent = nullptr);
    QString drive() const; // the selected root
    void selectDriveOf(const QString &path);

signals:
    void driveChosen(const QString &root);
};

// The folders of the current path and the folders inside the current one; a double click
// or Enter opens a folder.
class DirectoryListBox : public QListWidget
{
    Q_OBJECT
public:
    explicit DirectoryListBox(QWidget *parent = nullptr);
    void setDirectory(const QString &path);

signals:
    void directoryChanged(const QString &path);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void openItem(QListWidgetItem *item);
};

// The plain files of a folder that match a mask, sorted by name. Filling it makes its folder
// the process's current directory.
class FileListBox : public QListWidget
{
    Q_OBJECT
public:
    explicit FileListBox(QWidget *parent = nullptr);
    void setDirectory(const QString &path);
    void setMask(const QString &mask);
    void setShowHidden(bool show); // dotfiles too (".htaccess")
    // The selected file's full path, or empty when none is selected.
    QString selectedPath() const;
    QString selectedName() const;
    void refill();

signals:
    void selectionChangedTo(const QString &path);

private:
    QString m_directory;
    QString m_mask = QStringLiteral("*");
    bool m_showHidden = false;
};
