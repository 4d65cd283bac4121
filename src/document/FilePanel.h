#pragma once

#include <QWidget>

class DirectoryListBox;
class DriveComboBox;
class FileListBox;
class Guard;
class QComboBox;

// The file panel left of the editor: a file-type filter, the drive box, the folder list and
// the file list, chained so that each drives the next. Opening a folder makes it the current
// one; choosing a file asks for it to be loaded.
class FilePanel : public QWidget
{
    Q_OBJECT
public:
    explicit FilePanel(const Guard &guard, QWidget *parent = nullptr);

    QComboBox *filterBox() const { return m_filter; }
    DirectoryListBox *directoryList() const { return m_directories; }
    FileListBox *fileList() const { return m_files; }
    DriveComboBox *driveBox() const { return m_drives; }
    // The folder the file list shows: relative references of the document resolve against it.
    QString folder() const;
    // Opens a file's folder, as a click in the folder list would, and marks the file in the
    // file list without loading it again. Throws Failure when no folder can be entered.
    void showFile(const QString &path);

signals:
    // A file was selected in the file list: it replaces the document at once.
    void fileChosen(const QString &path);

private:
    const Guard &m_guard;
    QComboBox *m_filter;
    DriveComboBox *m_drives;
    DirectoryListBox *m_directories;
    FileListBox *m_files;
};
