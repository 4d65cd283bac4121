#include "core/Dialogs.h"

#include "core/Failure.h"

#include <QtGlobal>

Dialogs &Guard::dialogs() const
{
    Q_ASSERT_X(m_dialogs, "Guard", "no dialogs connected");
    return *m_dialogs;
}

void Guard::run(const std::function<void()> &command) const
{
    try {
        command();
    } catch (const Failure &f) {
        dialogs().showError(f.message());
    } catch (const std::bad_alloc &) {
        dialogs().showError(QStringLiteral("Out of memory"));
    } catch (const std::exception &e) {
        dialogs().showError(QString::fromLocal8Bit(e.what()));
    }
}
