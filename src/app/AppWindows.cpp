#include "app/AppWindows.h"

#include "app/AboutWindow.h"
#include "app/MainWindow.h"
#include "app/WidgetDialogs.h"
#include "generators/PageWizard.h"
#include "generators/TablePanel.h"
#include "generators/TableWizard.h"
#include "generators/TemplatesWindow.h"

#include <QLineEdit>
#include <limits>

namespace {

// Qt cuts an entry field at 32,767 characters unless told otherwise; the program's fields
// take text of any length, and the markup they make carries all of it.
void liftLengthLimits(QWidget &window)
{
    for (QLineEdit *field : window.findChildren<QLineEdit *>()) {
        // Setting the limit puts the caret at the end; the field keeps showing what it did.
        const int caret = field->cursorPosition();
        field->setMaxLength(std::numeric_limits<int>::max());
        field->setCursorPosition(caret);
    }
}

} // namespace

AppWindows::AppWindows()
    : m_main(std::make_unique<MainWindow>(m_guard))
    , m_widgetDialogs(std::make_unique<WidgetDialogs>(m_main.get()))
    , m_about(new AboutWindow(m_main.get()))
    , m_tableWizard(new TableWizard(*m_main->tablePanel(), m_guard, m_main.get()))
    , m_pageWizard(new PageWizard(*m_main->editor(), m_guard, m_main.get()))
    , m_templates(new TemplatesWindow(*m_main->editor(), m_guard, m_main.get()))
{
    m_guard.setDialogs(m_widgetDialogs.get());
    m_main->connectWindows({m_about, m_pageWizard, m_templates});
    for (QWidget *window : std::initializer_list<QWidget *>{m_main.get(), m_tableWizard, m_pageWizard, m_templates})
        liftLengthLimits(*window);
    QObject::connect(m_main->tablePanel(), &TablePanel::wizardRequested, m_tableWizard, [this] {
        m_tableWizard->show();
        m_tableWizard->raise();
        m_tableWizard->activateWindow();
    });
}

AppWindows::~AppWindows() = default;

void AppWindows::setDialogs(Dialogs *dialogs)
{
    m_guard.setDialogs(dialogs ? dialogs : m_widgetDialogs.get());
}
