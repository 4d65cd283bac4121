#pragma once

#include <QString>
#include <QStringList>

// Fixed texts and naming rules of the document, free of any widget.
namespace DocumentRules {

// The 14-line page the editor holds at start-up and after New.
const QStringList &defaultDocument();

// The save dialog's filter list, in order; index 1 is the first entry.
const QStringList &saveFilters();

// The extension (without the dot) that a filter index sets as the default extension; index 4
// clears it, an index outside 1..4 leaves `current` as it was.
QString defaultExtensionFor(int filterIndex, const QString &current);

// The path Save writes: the chosen name with the default extension appended, unless the
// name already ends with that same extension (compared without regard to case).
QString savePath(const QString &chosenName, const QString &defaultExtension);

} // namespace DocumentRules
