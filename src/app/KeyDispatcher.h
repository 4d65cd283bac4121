#pragma once

#include <QHash>
#include <QKeyCombination>
#include <QObject>
#include <functional>

class QAction;
class QKeyEvent;
class QWidget;

// Runs a window's menu keys before the focused control sees them: a key of the editor's own
// menu while the editor (or a child of it) has the focus, else a key of the main menu. So the
// window's Ctrl+Z and Ctrl+X win over an entry field's undo and cut.
class KeyDispatcher : public QObject
{
    Q_OBJECT
public:
    // Watches the application's key events for `window`; `editor` is the control whose own
    // menu keys win while it has the focus.
    KeyDispatcher(QWidget *window, QWidget *editor);
    ~KeyDispatcher() override;

    void addMenuKey(QKeyCombination key, QAction *action);
    void addEditorKey(QKeyCombination key, QAction *action);
    // A key that runs `command` while the focus is inside `area`, whatever control there
    // would take it: the web view takes every key, and without this a keyboard could not
    // leave the preview page.
    void addAreaKey(QWidget *area, QKeyCombination key, std::function<void()> command);
    // The action a key pressed in `focus` runs, or nullptr.
    QAction *actionFor(const QKeyEvent &key, const QWidget *focus) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window;
    QWidget *m_editor;
    QHash<int, QAction *> m_menuKeys;   // by QKeyCombination::toCombined()
    QHash<int, QAction *> m_editorKeys;
    struct AreaKey {
        QWidget *area;
        std::function<void()> command;
    };
    QHash<int, AreaKey> m_areaKeys;
};
