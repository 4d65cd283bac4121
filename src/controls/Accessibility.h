#pragma once

// What assistive technologies are told beyond Qt's own answers:
// - a combo box is named by its accessible name or its label, and answers its current
//   entry as its value (Qt names it by the entry on Linux, so every combo box of a panel
//   read the same as its value);
// - the application counts its open context menus among its children, so such a menu shows
//   in the accessibility tree as a popup menu with its items while it is open.
namespace Accessibility {

// Installs the widget interfaces once; call after the application object is made and before
// the first window is built.
void install();

} // namespace Accessibility
