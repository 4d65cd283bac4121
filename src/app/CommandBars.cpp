#include "app/CommandBars.h"

#include "app/Icons.h"
#include "app/KeyDispatcher.h"
#include "controls/BarPopupMenu.h"
#include "controls/Colors.h"
#include "controls/Fonts.h"
#include "core/Named.h"

#include <QMainWindow>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

namespace {

// Every button of a bar is reached with Tab; the overflow button that shows the buttons a
// narrow window has no room for is named for screen readers.
void makeReachable(QToolBar *bar)
{
    for (QToolButton *b : bar->findChildren<QToolButton *>())
        b->setFocusPolicy(Qt::TabFocus);
    for (QToolButton *more : bar->findChildren<QToolButton *>(QStringLiteral("qt_toolbar_ext_button")))
        more->setAccessibleName(QStringLiteral("Więcej przycisków"));
}

} // namespace

CommandBars::CommandBars(QMainWindow &window, KeyDispatcher &keys, Execute execute)
    : m_window(window), m_keys(keys), m_execute(std::move(execute))
{
}

void CommandBars::connectControl(QObject *control, Commands::Id id)
{
    const QString name = control->objectName();
    if (auto *a = qobject_cast<QAction *>(control))
        QObject::connect(a, &QAction::triggered, &m_window, [this, id, name] { m_execute(id, name); });
    else if (auto *b = qobject_cast<QToolButton *>(control))
        QObject::connect(b, &QToolButton::clicked, &m_window, [this, id, name] { m_execute(id, name); });
}

QAction *CommandBars::makeAction(const Commands::MenuEntry &entry, bool mainMenu)
{
    auto *a = named(new QAction(entry.caption, &m_window), entry.name);
    a->setEnabled(entry.enabled);
    a->setCheckable(entry.checkable);
    if (entry.icon)
        a->setIcon(Icons::get(entry.icon));
    if (entry.key != Commands::kNoKey) {
        // The key shows in the menu; the key dispatcher runs it, so that it wins over the
        // focused control's claim on the same key.
        a->setShortcut(QKeySequence(entry.key));
        a->setShortcutContext(Qt::WidgetShortcut);
        if (mainMenu)
            m_keys.addMenuKey(entry.key, a);
        else
            m_keys.addEditorKey(entry.key, a);
    }
    if (entry.command != Commands::Id::None && entry.command != Commands::Id::Submenu)
        connectControl(a, entry.command);
    m_actions.insert(a->objectName(), a);
    return a;
}

void CommandBars::setChecked(Commands::Id id, bool on)
{
    for (const Commands::MenuEntry &e : Commands::mainMenu())
        if (e.checkable && e.command == id)
            if (QAction *a = action(QLatin1String(e.name)))
                a->setChecked(on);
}

void CommandBars::buildMenus()
{
    QMenuBar *bar = m_window.menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    QMenu *levels[3] = {nullptr, nullptr, nullptr};
    for (const Commands::MenuEntry &e : Commands::mainMenu()) {
        if (e.level == 0)
            levels[1] = named(bar->addMenu(e.caption), e.name);
        else if (!e.name)
            levels[e.level]->addSeparator();
        else if (e.command == Commands::Id::Submenu)
            levels[2] = named(levels[e.level]->addMenu(e.caption), e.name);
        else
            levels[e.level]->addAction(makeAction(e, true));
    }
}

QMenu *CommandBars::buildEditorMenu()
{
    auto *menu = named(new BarPopupMenu(&m_window), "BarPopupMenu1");
    QFont barFont(QStringLiteral("Tahoma"));
    barFont.setPixelSize(19);
    barFont.setBold(true);
    barFont.setItalic(true);
    menu->setVerticalFont(barFont, Colors::kWhite);
    menu->setVerticalText(QStringLiteral("Tarnwick"));
    for (const Commands::MenuEntry &e : Commands::editorMenu()) {
        if (!e.name)
            menu->addSeparator();
        else
            menu->addAction(makeAction(e, false));
    }
    return menu;
}

QToolBar *CommandBars::buildIconBar(const char *name, const std::vector<Commands::ToolEntry> &entries, QWidget *parent)
{
    auto *bar = named(new QToolBar(QLatin1String(name), parent), name);
    bar->setFixedHeight(29);
    bar->setIconSize(QSize(16, 16));
    for (const Commands::ToolEntry &t : entries) {
        if (!t.name) {
            bar->addSeparator();
            continue;
        }
        auto *a = named(new QAction(Icons::get(t.icon), t.hint, &m_window), t.name);
        a->setToolTip(t.hint);
        connectControl(a, t.command);
        bar->addAction(a);
        bar->widgetForAction(a)->setObjectName(a->objectName());
        m_actions.insert(a->objectName(), a);
    }
    makeReachable(bar);
    return bar;
}

void CommandBars::buildToolBars()
{
    QToolBar *icons = buildIconBar("ToolBar1", Commands::toolBar1(), &m_window);
    icons->setMovable(false);
    m_window.addToolBar(Qt::TopToolBarArea, icons);
    m_window.addToolBarBreak(Qt::TopToolBarArea);

    auto *texts = named(new QToolBar(QStringLiteral("ToolBar2"), &m_window), "ToolBar2");
    texts->setMovable(false);
    texts->setFixedHeight(29);
    for (const Commands::TextButton &t : Commands::toolBar2()) {
        if (!t.name) {
            texts->addSeparator();
            continue;
        }
        auto *b = named(new QToolButton(texts), t.name);
        b->setText(t.caption);
        b->setFixedSize(t.width, 23);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        if (t.bold)
            b->setFont(Fonts::heading(11, true));
        connectControl(b, t.command);
        texts->addWidget(b);
    }
    makeReachable(texts);
    m_window.addToolBar(Qt::TopToolBarArea, texts);
}

QToolBar *CommandBars::buildPreviewBar(QWidget *parent)
{
    return buildIconBar("ToolBar3", Commands::toolBar3(), parent);
}
