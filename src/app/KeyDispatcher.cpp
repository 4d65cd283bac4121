#include "app/KeyDispatcher.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QWidget>

KeyDispatcher::KeyDispatcher(QWidget *window, QWidget *editor)
    : QObject(window), m_window(window), m_editor(editor)
{
    qApp->installEventFilter(this);
}

KeyDispatcher::~KeyDispatcher()
{
    qApp->removeEventFilter(this);
}

void KeyDispatcher::addMenuKey(QKeyCombination key, QAction *action)
{
    m_menuKeys.insert(key.toCombined(), action);
}

void KeyDispatcher::addEditorKey(QKeyCombination key, QAction *action)
{
    m_editorKeys.insert(key.toCombined(), action);
}

void KeyDispatcher::addAreaKey(QWidget *area, QKeyCombination key, std::function<void()> command)
{
    m_areaKeys.insert(key.toCombined(), AreaKey{area, std::move(command)});
}

QAction *KeyDispatcher::actionFor(const QKeyEvent &key, const QWidget *focus) const
{
    // A key from the keypad counts as the same key.
    const QKeyCombination pressed(key.modifiers() & ~Qt::KeypadModifier, Qt::Key(key.key()));
    const int code = pressed.toCombined();
    if (focus && (focus == m_editor || m_editor->isAncestorOf(focus)))
        if (QAction *a = m_editorKeys.value(code, nullptr))
            return a;
    return m_menuKeys.value(code, nullptr);
}

bool KeyDispatcher::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress)
        return false;
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || widget->window() != m_window || qobject_cast<QMenu *>(widget))
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    const auto area = m_areaKeys.constFind(QKeyCombination(key->modifiers() & ~Qt::KeypadModifier, Qt::Key(key->key())).toCombined());
    if (area != m_areaKeys.constEnd() && area->area->isAncestorOf(widget)) {
        event->accept();
        if (type == QEvent::KeyPress)
            area->command();
        return true;
    }
    QAction *a = actionFor(*static_cast<QKeyEvent *>(event), widget);
    if (!a || !a->isEnabled())
        return false;
    if (type == QEvent::ShortcutOverride) {
        // Claim the key for the window, so it arrives here as a key press and no control
        // (an entry field, the editor) acts on it first.
        event->accept();
        return true;
    }
    a->trigger();
    return true;
}
