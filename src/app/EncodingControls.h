#pragma once

#include "app/CommandTable.h"

#include <QObject>

class CommandBars;
class QLabel;
class QStatusBar;
class SourceEditor;

// The document's encoding on the main window: the status bar's permanent section that names
// it, and the ticked entry of "Plik › Kodowanie" whose entries convert the document.
class EncodingControls : public QObject
{
    Q_OBJECT
public:
    EncodingControls(SourceEditor &editor, const CommandBars &bars, QStatusBar *status);

    // Converts the document to the entry's encoding; throws Failure when a character does not
    // fit. The tick follows the document either way.
    void convert(Commands::Id entry);

private:
    void show();

    SourceEditor &m_editor;
    const CommandBars &m_bars;
    QLabel *m_label;
};
