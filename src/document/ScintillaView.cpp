#include "document/ScintillaView.h"

ScintillaView::ScintillaView(QWidget *parent)
    : QsciScintilla(parent)
{
    setUtf8(true);
    accessibilityActiveChanged(QAccessible::isActive());
    QAccessible::installActivationObserver(this);
}

ScintillaView::~ScintillaView()
{
    QAccessible::removeActivationObserver(this);
}

void ScintillaView::accessibilityActiveChanged(bool active)
{
    // Nothing else listens to modification events: folding is off, and the modified flag
    // follows the save-point notifications, which no mask filters.
    SendScintilla(SCI_SETMODEVENTMASK, active ? ulong(SC_MODEVENTMASKALL) : 0UL);
}
