#pragma once

#include "markup/CaretMarkup.h"
#include "markup/MarkupTable.h"

class SourceEditor;

// Puts the markup of the commands and of the quick-insert panel into the document. By default
// as whole lines at the end (a head line at its fixed index) that leave the undo history and
// the modified flag alone; with "at the caret" chosen, where the caret is, as an edit like
// typing. The choice is remembered between runs.
class MarkupInserter
{
public:
    explicit MarkupInserter(SourceEditor &editor);

    bool atCaret() const { return m_atCaret; }
    void setAtCaret(bool on);

    void insertCommand(const Markup::Command &command); // throws Failure (a head line on a short document)
    void insertBuiltLine(const QString &line);

private:
    void insertAtCaret(const CaretMarkup::Shape &shape);

    SourceEditor &m_editor;
    bool m_atCaret;
};
