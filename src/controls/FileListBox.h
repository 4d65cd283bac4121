#pragma once

#include <QListWidget>

class QFileSystemWatcher;
class QTimer;

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
