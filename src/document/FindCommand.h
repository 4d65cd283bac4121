#pragma once

#include <QtGlobal>

class FindDialog;
class Guard;
class QWidget;
class SourceEditor;

// Search through the modeless Find dialog: each "find next" selects the next match after the
// last one, or says that the text is not found.
class FindCommand
{
public:
    FindCommand(SourceEditor &editor, const Guard &guard, QWidget *dialogParent);

    // Opens (or raises) the dialog and starts again from the top.
    void show();
    void findNext();

    // Where the last match starts, 1-based with line ends counted as CR LF; 0 when nothing
    // was found since the dialog was opened.
    qsizetype position() const { return m_position; }
    FindDialog *dialog() const { return m_dialog; }

private:
    SourceEditor &m_editor;
    const Guard &m_guard;
    QWidget *m_dialogParent;
    FindDialog *m_dialog = nullptr;
    qsizetype m_position = 0;
};
