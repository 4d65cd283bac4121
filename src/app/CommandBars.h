#pragma once

#include "app/CommandTable.h"

#include <QHash>
#include <QString>
#include <functional>

class KeyDispatcher;
class QAction;
class QMainWindow;
class QMenu;
class QObject;
class QToolBar;
class QWidget;

// Builds the main window's menu bar, the editor's popup menu and the toolbars from the command
// table. Every item and button calls one function with its command and its control's name.
class CommandBars
{
public:
    using Execute = std::function<void(Commands::Id, const QString &control)>;
    CommandBars(QMainWindow &window, KeyDispatcher &keys, Execute execute);

    void buildMenus();
    QMenu *buildEditorMenu();
    void buildToolBars();
    QToolBar *buildPreviewBar(QWidget *parent);

    // A main-menu item, an editor-menu item or a toolbar action, by its control name.
    QAction *action(const QString &name) const { return m_actions.value(name, nullptr); }
    // Checks or clears the main menu's check items that run a command, without running it.
    void setChecked(Commands::Id id, bool on);

private:
    QAction *makeAction(const Commands::MenuEntry &entry, bool mainMenu);
    QToolBar *buildIconBar(const char *name, const std::vector<Commands::ToolEntry> &entries, QWidget *parent);
    void connectControl(QObject *control, Commands::Id id);

    QMainWindow &m_window;
    KeyDispatcher &m_keys;
    Execute m_execute;
    QHash<QString, QAction *> m_actions;
};
