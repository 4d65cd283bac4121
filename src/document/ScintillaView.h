#pragma once

#include <Qsci/qsciscintilla.h>

#include <QAccessible>
#include <QFont>

// A Scintilla text view that keeps the editor component's accessibility work for when an
// assistive technology listens: that layer turns the byte position of every insertion and
// every caret move into a character offset by walking the text from its start, which makes
// typing in a large text slow for everybody else.
class ScintillaView : public QsciScintilla, public QAccessible::ActivationObserver
{
    Q_OBJECT
public:
    explicit ScintillaView(QWidget *parent = nullptr);
    // `font` with no style hint or pitch of its own. The component measures its text with fonts
    // that name neither, and paints it with those fonts completed from the view's own font: a
    // view font that named them made every face load twice, once to measure, once to paint.
    static QFont hintless(QFont font);
    ~ScintillaView() override;
    void accessibilityActiveChanged(bool active) override;
    // textChanged() is emitted only while this is on (or an assistive technology listens):
    // for whoever follows the text, such as a preview that reloads with it.
    void setReportsTextChanges(bool on);
    // SCN_MODIFIED reports insertions and deletions while this is on, for whoever keeps
    // something in step with the text (the styler of very long lines).
    void setReportsEdits(bool on);

private:
    void applyEventMask();
    bool m_reportsTextChanges = false;
    bool m_reportsEdits = false;
};
