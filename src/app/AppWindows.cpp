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
{
    m_guard.setDialogs(m_widgetDialogs.get());
    m_main->connectWindows({[this] { return &about(); }, [this] { return &pageWizard(); },
                            [this] { return &templates(); }});
    liftLengthLimits(*m_main);
    QObject::connect(m_main->tablePanel(), &TablePanel::wizardRequested, m_main.get(), [this] {
        TableWizard &wizard = tableWizard();
        wizard.show();
        wizard.raise();
        wizard.activateWindow();
    });
}

AboutWindow &AppWindows::about() const
{
    if (!m_about)
        m_about = new AboutWindow(m_main.get());
    return *m_about;
}

TableWizard &AppWindows::tableWizard() const
{
    if (!m_tableWizard) {
        m_tableWizard = new TableWizard(*m_main->tablePanel(), m_guard, m_main.get());
        liftLengthLimits(*m_tableWizard);
    }
    return *m_tableWizard;
}

PageWizard &AppWindows::pageWizard() const
{
    if (!m_pageWizard) {
        m_pageWizard = new PageWizard(*m_main->editor(), m_guard, m_main.get());
        liftLengthLimits(*m_pageWizard);
    }
    return *m_pageWizard;
}

TemplatesWindow &AppWindows::templates() const
{
    if (!m_templates) {
        m_templates = new TemplatesWindow(*m_main->editor(), m_guard, m_main.get());
        liftLengthLimits(*m_templates);
    }
    return *m_templates;
}

AppWindows::~AppWindows() = default;

void AppWindows::setDialogs(Dialogs *dialogs)
{
    m_guard.setDialogs(dialogs ? dialogs : m_widgetDialogs.get());
}
