#pragma once

#include <QFocusEvent>
#include <QLineEdit>

// A one-line entry field that shows the beginning of its text whenever it is not being
// edited: an address longer than the field reads from its start, not from its end (a
// QLineEdit scrolls to the caret, which setting the text puts at the end).
class EntryField : public QLineEdit
{
public:
    explicit EntryField(const QString &text = QString(), QWidget *parent = nullptr) : QLineEdit(text, parent)
    {
        setCursorPosition(0);
    }

protected:
    void focusOutEvent(QFocusEvent *event) override
    {
        QLineEdit::focusOutEvent(event);
        // A context menu of the field's own keeps the caret and selection it works on.
        if (event->reason() != Qt::PopupFocusReason)
            setCursorPosition(0);
    }
};
