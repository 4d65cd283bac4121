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
// Unshaped: the face maps "TM" to a trade-mark ligature, which would turn "HTML" into "H™L".
QFont window();

// Headings and bold captions: the bitmap face has neither other sizes nor a bold weight, so
// these take Tahoma, the outline face of the same design.
QFont heading(int pixelSize, bool bold);

// The source editor's "Courier New" at 13 pixels, or the platform's own fixed-pitch face where
// that is missing.
QFont editor();

} // namespace Fonts
