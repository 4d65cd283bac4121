#include "document/DocumentCommands.h"

#include "document/DocumentRules.h"
#include "document/SourceEditor.h"

DocumentCommands::DocumentCommands(SourceEditor &editor, const Guard &guard)
    : m_editor(editor), m_guard(guard)
{
}

void DocumentCommands::newDocument()
{
    m_editor.clearAll();
    for (const QString &line : DocumentRules::defaultDocument())
        m_editor.appendLine(line);
    m_editor.markUnchanged();
}

void DocumentCommands::open()
{
    if (const std::optional<QString> path = m_guard.dialogs().openFileName())
        load(*path);
}

void DocumentCommands::load(const QString &path)
{
    m_editor.loadFromFile(path);
}

std::optional<Dialogs::SaveChoice> DocumentCommands::askSaveName()
{
    m_saveState.filters = DocumentRules::saveFilters();
    std::optional<Dialogs::SaveChoice> choice = m_guard.dialogs().saveFileName(m_saveState);
    if (choice) {
        m_saveState.fileName = choice->fileName;
        m_saveState.filterIndex = choice->filterIndex;
    }
    return choice;
}

void DocumentCommands::save()
{
    if (const std::optional<Dialogs::SaveChoice> choice = askSaveName())
        write(*choice);
}

void DocumentCommands::write(const Dialogs::SaveChoice &choice)
{
    m_defaultExtension = DocumentRules::defaultExtensionFor(choice.filterIndex, m_defaultExtension);
    m_editor.save(DocumentRules::savePath(choice.fileName, m_defaultExtension));
}

bool DocumentCommands::closeQuery()
{
    // Markup, the wizards and the templates change the document without setting the modified
    // flag; their work is asked about all the same.
    if (!m_editor.hasUnsavedChanges())
        return true;
    switch (m_guard.dialogs().askSaveChanges()) {
    case Dialogs::Answer::Cancel:
        return false;
    case Dialogs::Answer::No:
        return true;
    case Dialogs::Answer::Yes:
        break;
    }
    const std::optional<Dialogs::SaveChoice> choice = askSaveName();
    if (!choice)
        return false;
    bool saved = false;
    m_guard.run([&] {
        write(*choice);
        saved = true;
    });
    return saved;
}
