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
