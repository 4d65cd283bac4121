#pragma once

#include <QObject>
#include <QStringList>
#include <functional>

class QMimeData;
class QWidget;

// Files dropped from a file manager onto the main window or the source editor: their local
// paths are handed on. Anything else, such as text dragged from another program, is left to
// the control under the pointer, so the editor inserts it as text.
class FileDrops : public QObject
{
    Q_OBJECT
public:
    FileDrops(QWidget *window, QWidget *editorViewport, std::function<void(const QStringList &)> open);
    // The local files and folders a drag carries; empty when it carries anything else.
    static QStringList localPaths(const QMimeData *mime);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::function<void(const QStringList &)> m_open;
};
