#include "document/ScintillaView.h"

#include <QAccessibleWidget>

namespace {

// Undo and Redo of the program's own history entries are always reported; they cost nothing
// while typing.
constexpr unsigned long kQuietEvents = QsciScintillaBase::SC_MOD_CONTAINER;

// Whether an assistive technology listens, as last announced to the activation observers.
bool s_listening = false;

// While no assistive technology listens, a text view answers with a plain accessible widget.
// The editor component's own interface walks the whole text from its start to turn the caret
// position into a character offset after every change and caret move; nobody reads it then.
QAccessibleInterface *quietAccessible(const QString &, QObject *object)
{
    auto *view = qobject_cast<ScintillaView *>(object);
    if (!view || s_listening)
        return nullptr;
    return new QAccessibleWidget(view, QAccessible::EditableText, view->accessibleName());
}

} // namespace

ScintillaView::ScintillaView(QWidget *parent)
    : QsciScintilla(parent)
{
    // Factories are asked last-installed first, so this one comes before the component's.
    static const bool installed = [] {
        s_listening = QAccessible::isActive();
        QAccessible::installFactory(quietAccessible);
        return true;
    }();
    Q_UNUSED(installed);
    setUtf8(true);
    QWidget::setFont(hintless(QWidget::font()));
    applyEventMask();
    QAccessible::installActivationObserver(this);
}

QFont ScintillaView::hintless(QFont font)
{
    font.setStyleHint(QFont::AnyStyle);
    font.setFixedPitch(false);
    return font;
}

ScintillaView::~ScintillaView()
{
    QAccessible::removeActivationObserver(this);
}

void ScintillaView::accessibilityActiveChanged(bool active)
{
    // Nothing else listens to text modification events: folding is off, and the modified flag
    // follows the save-point notifications, which no mask filters.
    s_listening = active;
    applyEventMask();
    // Drop the interface made for the other case, so the right one is made when next asked.
    if (QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(this))
        if (bool(iface->textInterface()) != active)
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(iface));
}

void ScintillaView::setReportsTextChanges(bool on)
{
    m_reportsTextChanges = on;
    applyEventMask();
}

void ScintillaView::setReportsEdits(bool on)
{
    m_reportsEdits = on;
    applyEventMask();
}

void ScintillaView::applyEventMask()
{
    unsigned long mask = kQuietEvents;
    if (s_listening)
        mask = SC_MODEVENTMASKALL;
    else if (m_reportsTextChanges || m_reportsEdits)
        mask |= SC_MOD_INSERTTEXT | SC_MOD_DELETETEXT;
    SendScintilla(SCI_SETMODEVENTMASK, mask);
}
