#pragma once

#include <QString>
#include <QStringList>

// The six ready pages: which button loads which file, and where the file is looked for.
namespace Templates {

struct Entry {
    const char *button;
    QString caption;
    QString file; // inside the "szablony" folder
};

const QList<Entry> &entries();

// The template's path relative to the current folder, with the platform's separator.
QString relativePath(const QString &file);

// The file to load: "szablony" under the current folder when it has the file there, else
// the templates folder that comes with the program; empty when neither has it.
QString resolve(const QString &file, const QStringList &bundledFolders);

} // namespace Templates
