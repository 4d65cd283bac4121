#include "document/FindCommand.h"

#include "core/Dialogs.h"
#include "document/FindDialog.h"
#include "document/SourceEditor.h"

FindCommand::FindCommand(SourceEditor &editor, const Guard &guard, QWidget *dialogParent)
    : m_editor(editor), m_guard(guard), m_dialogParent(dialogParent)
{
}

void FindCommand::show()
{
    m_position = 0;
    if (!m_dialog) {
        m_dialog = new FindDialog(m_dialogParent);
        QObject::connect(m_dialog, &FindDialog::find, m_dialog, [this] { m_guard.run([this] { findNext(); }); });
    }
    m_dialog->show();
    m_dialog->raise();
    m_dialog->activateWindow();
}

void FindCommand::findNext()
{
    const QString text = m_dialog->findText();
    const qsizetype start = m_position == 0 ? 1 : m_position + text.size();
    const std::optional<qsizetype> hit = m_editor.find(start - 1, text, m_dialog->matchCase());
    if (!hit) {
        m_guard.dialogs().showMessage(QStringLiteral("Nie mogę odnaleźć \"%1\"").arg(text));
        return;
    }
    m_position = *hit + 1;
    // The match is selected where find() left it: the same range as positions m_position - 1
    // to m_position - 1 + the text's length, without counting the document again.
    m_editor.selectLastHit();
    m_editor.SendScintilla(QsciScintillaBase::SCI_SCROLLCARET);
    m_editor.activateWindow();
    m_editor.setFocus();
}
