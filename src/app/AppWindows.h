#pragma once

#include "core/Dialogs.h"

#include <memory>

class AboutWindow;
class MainWindow;
class PageWizard;
class TableWizard;
class TemplatesWindow;
class WidgetDialogs;

// Creates the program's windows (the main window at once, the others when first asked for:
// nothing of them is seen before a command opens them), hands each the parts of the main
// window it works on and the one guard, and keeps them until the program ends. main() and
// the tests build the program through it.
class AppWindows
{
public:
    AppWindows();
    ~AppWindows();

    MainWindow &main() const { return *m_main; }
    AboutWindow &about() const;
    TableWizard &tableWizard() const;
    PageWizard &pageWizard() const;
    TemplatesWindow &templates() const;

    // The dialogs every window asks through; tests hand in scripted ones, nullptr restores
    // the ones a user sees.
    void setDialogs(Dialogs *dialogs);

private:
    Guard m_guard;
    std::unique_ptr<MainWindow> m_main;
    std::unique_ptr<WidgetDialogs> m_widgetDialogs;
    // The secondary windows belong to the main window and end with it.
    mutable AboutWindow *m_about = nullptr;
    mutable TableWizard *m_tableWizard = nullptr;
    mutable PageWizard *m_pageWizard = nullptr;
    mutable TemplatesWindow *m_templates = nullptr;
};
