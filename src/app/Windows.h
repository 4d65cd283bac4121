#pragma once

#include <memory>

class TForm1;

// Creates the program's windows in their order (main window first) and wires the secondary
// ones to the main window; main() and the tests build the program through it.
class AppWindows
{
public:
    AppWindows();
    ~AppWindows();
    TForm1 &main() { return *m_form1; }

private:
    std::unique_ptr<TForm1> m_form1;
};
