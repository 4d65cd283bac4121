#include "controls/Accessibility.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>

namespace {

class ComboBoxAccessible : public QAccessibleWidget
{
public:
    explicit ComboBoxAccessible(QComboBox *box) : QAccessibleWidget(box, QAccessible::ComboBox)
    {
        addControllingSignal(QLatin1String("currentIndexChanged(int)"));
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return box()->isEditable() ? box()->lineEdit()->text() : box()->currentText();
        return QAccessibleWidget::text(t); // the name: accessible name, else the buddy label
    }

    int childCount() const override { return box()->isEditable() ? 2 : 1; }
    QAccessibleInterface *child(int index) const override
    {
        if (index == 0)
            return QAccessible::queryAccessibleInterface(box()->view());
        if (index == 1 && box()->isEditable())
            return QAccessible::queryAccessibleInterface(box()->lineEdit());
        return nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (!child)
            return -1;
        if (child->object() == box()->view())
            return 0;
        if (box()->isEditable() && child->object() == box()->lineEdit())
            return 1;
        return -1;
    }

    QStringList actionNames() const override
    {
        return {showMenuAction(), pressAction(), setFocusAction()};
    }
    void doAction(const QString &name) override
    {
        if (name == showMenuAction() || name == pressAction()) {
            if (box()->view()->isVisible())
                box()->hidePopup();
            else
                box()->showPopup();
        } else {
            QAccessibleWidget::doAction(name);
        }
    }

private:
    QComboBox *box() const { return static_cast<QComboBox *>(widget()); }
};

// A main window whose children also include its visible popup menus (which Qt leaves out,
// being windows of their own); their own interfaces already name the window as parent.
class MainWindowAccessible : public QAccessibleWidget
{
public:
    explicit MainWindowAccessible(QMainWindow *window) : QAccessibleWidget(window, QAccessible::Window) {}

    int childCount() const override { return QAccessibleWidget::childCount() + int(popups().size()); }
    QAccessibleInterface *child(int index) const override
    {
        const int own = QAccessibleWidget::childCount();
        if (index < own)
            return QAccessibleWidget::child(index);
        const QList<QMenu *> open = popups();
        return index - own < open.size() ? QAccessible::queryAccessibleInterface(open.at(index - own)) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (auto *menu = child ? qobject_cast<QMenu *>(child->object()) : nullptr) {
            const int at = int(popups().indexOf(menu));
            return at < 0 ? -1 : QAccessibleWidget::childCount() + at;
        }
        return QAccessibleWidget::indexOfChild(child);
    }

private:
    QList<QMenu *> popups() const
    {
        QList<QMenu *> open;
        for (QMenu *menu : widget()->findChildren<QMenu *>(Qt::FindDirectChildrenOnly))
            if (menu->isVisible())
                open.append(menu);
        return open;
    }
};

QAccessibleInterface *factory(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType() || className != QLatin1String(object->metaObject()->className()))
        return nullptr;
    if (auto *box = qobject_cast<QComboBox *>(object))
        return new ComboBoxAccessible(box);
    if (auto *window = qobject_cast<QMainWindow *>(object))
        return new MainWindowAccessible(window);
    return nullptr;
}

} // namespace

namespace Accessibility {

void install()
{
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace Accessibility
