#include "generators/Templates.h"

#include <QDir>
#include <QFileInfo>

namespace Templates {

const QList<Entry> &entries()
{
    static const QList<Entry> list = {
        {"FreeButton1", QStringLiteral("ANKIETA"), QStringLiteral("Ankieta.html")},
        {"FreeButton2", QStringLiteral("GALERIA"), QStringLiteral("galeria.html")},
        {"FreeButton3", QStringLiteral("LINKI"), QStringLiteral("linki1.html")},
        {"FreeButton4", QStringLiteral("PRZENIESIONA"), QStringLiteral("przeniesiony.html")},
        {"FreeButton5", QStringLiteral("RAMKI PION."), QStringLiteral("ramki1.html")},
        {"FreeButton6", QStringLiteral("RAMKI POZ."), QStringLiteral("ramki2.html")},
    };
    return list;
}

QString relativePath(const QString &file)
{
    return QDir::toNativeSeparators(QStringLiteral("szablony/") + file);
}

QString resolve(const QString &file, const QStringList &bundledFolders)
{
    const QString local = QDir::current().filePath(QStringLiteral("szablony/") + file);
    if (QFileInfo::exists(local))
        return local;
    for (const QString &folder : bundledFolders) {
        const QString candidate = QDir(folder).filePath(file);
        if (QFileInfo::exists(candidate))
            return candidate;
    }
    return QString();
}

} // namespace Templates
