#pragma once

#include <QListWidget>

class QFileSystemWatcher;
class QTimer;

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
