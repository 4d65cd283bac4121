#pragma once

#include <QFont>

// The fonts the windows are laid out for. Debian has no "MS Sans Serif" or "Tahoma" of its
// own; the package fonts-wine ships faces with their metrics (MS Sans Serif as bitmaps of 13,
// 16 and 20 pixels, Tahoma as outlines) outside fontconfig's folders, so they are registered
// here before any window is built. "Verdana" falls back to DejaVu Sans, which has its widths.
namespace Fonts {

// Registers the fonts once; later calls do nothing.
void install();

// "MS Sans Serif", 8 points (a character height of 11 pixels): the font of every window.
QFont window();

} // namespace Fonts
