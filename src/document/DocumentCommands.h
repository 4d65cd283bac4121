#pragma once

#include "core/Dialogs.h"

class SourceEditor;

// New, Open, Save and the close question over the one document. The save dialog's state
// (filter list, chosen filter, last name) and the extension Save appends are kept between uses.
class DocumentCommands
{
public:
    DocumentCommands(SourceEditor &editor, const Guard &guard);

    void newDocument();
    void open();
    void load(const QString &path);
    void save();
    // Asks about unsaved changes; true when the window may close.
    bool closeQuery();

private:
    std::optional<Dialogs::SaveChoice> askSaveName();
    // Writes under the chosen name with the chosen filter's extension, as Save does.
    void write(const Dialogs::SaveChoice &choice);

    SourceEditor &m_editor;
    const Guard &m_guard;
    Dialogs::SaveState m_saveState;
    QString m_defaultExtension;
};
