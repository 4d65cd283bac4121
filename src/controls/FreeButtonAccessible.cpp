#include "controls/FreeButtonAccessible.h"

#include "controls/FreeButton.h"

#include <QAccessibleWidget>

namespace {

// What assistive technologies see: a push button named by its caption whose press action
// clicks it.
class FreeButtonAccessible : public QAccessibleWidget
{
public:
    explicit FreeButtonAccessible(FreeButton *button) : QAccessibleWidget(button, QAccessible::Button) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return button()->Caption();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.pressed = button()->MouseState() == FreeButton::Pressed;
        return s;
    }
    QStringList actionNames() const override
    {
        return QStringList(pressAction()) + QAccessibleWidget::actionNames();
    }
    void doAction(const QString &name) override
    {
        if (name == pressAction())
            button()->click();
        else
            QAccessibleWidget::doAction(name);
    }

private:
    FreeButton *button() const { return static_cast<FreeButton *>(widget()); }
};

QAccessibleInterface *freeButtonAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String("FreeButton") && object && object->isWidgetType())
        return new FreeButtonAccessible(static_cast<FreeButton *>(object));
    return nullptr;
}

} // namespace

namespace FreeButtonAccessible {

void install()
{
    static const bool installed = [] {
        QAccessible::installFactory(freeButtonAccessible);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace FreeButtonAccessible
