#include "controls/Accessibility.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLineEdit>
#include <QApplication>
#include <QAccessibleObject>
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

// The application, whose children also include its open context menus: Qt leaves popups out
// of the application's children, while the interface of a menu that hangs from no menu bar or
// menu names the application as its parent. Menu-bar menus are found through their bar.
class ApplicationAccessible : public QAccessibleApplication
{
public:
    int childCount() const override { return QAccessibleApplication::childCount() + int(popups().size()); }
    QAccessibleInterface *child(int index) const override
    {
        const int own = QAccessibleApplication::childCount();
        if (index < own)
            return QAccessibleApplication::child(index);
        const QList<QMenu *> open = popups();
        return index - own < open.size() ? QAccessible::queryAccessibleInterface(open.at(index - own)) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (auto *menu = child ? qobject_cast<QMenu *>(child->object()) : nullptr) {
            const int at = int(popups().indexOf(menu));
            return at < 0 ? -1 : QAccessibleApplication::childCount() + at;
        }
        return QAccessibleApplication::indexOfChild(child);
    }

private:
    static QList<QMenu *> popups()
    {
        QList<QMenu *> open;
        for (QWidget *top : QApplication::topLevelWidgets()) {
            auto *menu = qobject_cast<QMenu *>(top);
            if (!menu || !menu->isVisible())
                continue;
            QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(menu);
            QAccessibleInterface *parent = iface ? iface->parent() : nullptr;
            if (parent && parent->object() == qApp)
                open.append(menu);
        }
        return open;
    }
};

QAccessibleInterface *applicationFactory(const QString &, QObject *object)
{
    return object && object == qApp ? new ApplicationAccessible : nullptr;
}

QAccessibleInterface *widgetFactory(const QString &className, QObject *object)
{
    if (!object || className != QLatin1String(object->metaObject()->className()))
        return nullptr;
    if (auto *box = qobject_cast<QComboBox *>(object))
        return new ComboBoxAccessible(box);
    return nullptr;
}

// Installed as the program loads, before the application object exists: the application's
// interface is among the first an assistive technology asks for. (No other factory answers
// for the application object.)
const bool kApplicationInstalled = (QAccessible::installFactory(applicationFactory), true);

} // namespace

namespace Accessibility {

void install()
{
    // Factories are asked last-installed first: this one, installed after the application
    // object has put in Qt's own widget factory, answers first for the classes it knows.
    Q_ASSERT(qApp);
    static const bool installed = [] {
        QAccessible::installFactory(widgetFactory);
        return true;
    }();
    Q_UNUSED(installed);
    Q_UNUSED(kApplicationInstalled);
}

} // namespace Accessibility
