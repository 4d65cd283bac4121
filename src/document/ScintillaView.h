#pragma once

#include <Qsci/qsciscintilla.h>

#include <QAccessible>

// A Scintilla text view that keeps the editor component's accessibility work for when an
// assistive technology listens: that layer turns the byte position of every insertion and
// every caret move into a character offset by walking the text from its start, which makes
// typing in a large text slow for everybody else.
class ScintillaView : public QsciScintilla, public QAccessible::ActivationObserver
{
    Q_OBJECT
public:
    explicit ScintillaView(QWidget *parent = nullptr);
    ~ScintillaView() override;
    void accessibilityActiveChanged(bool active) override;
};
