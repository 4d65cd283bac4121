#pragma once

#include "core/Dialogs.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;

// The box of a page's alert(), confirm() or prompt(). It is not modal: only the page waits for
// it, so the source page, Save and the close box stay in reach however often a page asks.
class PageDialogBox : public QDialog
{
    Q_OBJECT
public:
    PageDialogBox(const Dialogs::PageQuestion &question, QWidget *parent);

    // Shows the box and waits, with the main window working, until it is answered, dismissed
    // or the question's scope ends.
    static Dialogs::PageAnswer ask(const Dialogs::PageQuestion &question, QWidget *parent);

private:
    QLineEdit *m_text = nullptr;
    QCheckBox *m_silence = nullptr;
};
