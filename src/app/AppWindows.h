#pragma once

#include <memory>

class MainWindow;

// Creates the program's windows in their order (main window first) and wires the secondary
// ones to the main window; main() and the tests build the program through it.
class AppWindows
{
public:
    AppWindows();
    ~AppWindows();
    MainWindow &main() { return *m_form1; }

private:
    std::unique_ptr<MainWindow> m_form1;
};
