#pragma once

#include "core/Dialogs.h"

#include <memory>

class AboutWindow;
class MainWindow;
class PageWizard;
class TableWizard;
class TemplatesWindow;
class WidgetDialogs;

// Creates the program's windows in their order (main window first), hands each the parts of
// the main window it works on and the one guard, and keeps them until the program ends.
// main() and the tests build the program through it.
class AppWindows
{
public:
    AppWindows();
    ~AppWindows();

    MainWindow &main() const { return *m_main; }
    AboutWindow &about() const { return *m_about; }
    TableWizard &tableWizard() const { return *m_tableWizard; }
    PageWizard &pageWizard() const { return *m_pageWizard; }
    TemplatesWindow &templates() const { return *m_templates; }

    // The dialogs every window asks through; tests hand in scripted ones, nullptr restores
    // the ones a user sees.
    void setDialogs(Dialogs *dialogs);

private:
    Guard m_guard;
    std::unique_ptr<MainWindow> m_main;
    std::unique_ptr<WidgetDialogs> m_widgetDialogs;
    // The secondary windows belong to the main window and end with it.
    AboutWindow *m_about;
    TableWizard *m_tableWizard;
    PageWizard *m_pageWizard;
    TemplatesWindow *m_templates;
};
