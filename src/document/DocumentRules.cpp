#include "document/DocumentRules.h"

namespace DocumentRules {

const QStringList &defaultDocument()
{
    static const QStringList lines = {
        QStringLiteral("<HTML>"),
        QString(),
        QStringLiteral("<HEAD>"),
        QStringLiteral(" <TITLE>Tytuł strony</TITLE>"),
        QStringLiteral(" <META HTTP-EQUIV=\"CONTENT-TYPE\" CONTENT=\"TEXT/HTML; CHARSET=ISO-8859-2\">"),
        QStringLiteral(" <META NAME=\"GENERATOR\" CONTENT=\"Tarnwick\">"),
        QStringLiteral(" <META NAME=\"AUTHOR\" CONTENT=\"Imię i nazwisko autora\">"),
        QStringLiteral("</HEAD>"),
        QString(),
        QStringLiteral("<BODY BGCOLOR=\"#FFFFFF\">"),
        QStringLiteral(" <!--Tutaj jest miejsce na wpisanie treści dokumentu-->"),
        QStringLiteral("</BODY>"),
        QString(),
        QStringLiteral("</HTML>"),
    };
    return lines;
}

const QStringList &saveFilters()
{
    static const QStringList filters = {
        QStringLiteral("HTML (*.html)"),
        QStringLiteral("PHP (*.php)"),
        QStringLiteral("TXT (*.txt)"),
        QStringLiteral("Wszystkie pliki (*.*)"),
    };
    return filters;
}

QString defaultExtensionFor(int filterIndex, const QString &current)
{
    switch (filterIndex) {
    case 1: return QStringLiteral("html");
    case 2: return QStringLiteral("php");
    case 3: return QStringLiteral("txt");
    case 4: return QString();
    default: return current;
    }
}

QString savePath(const QString &chosenName, const QString &defaultExtension)
{
    if (defaultExtension.isEmpty())
        return chosenName;
    const QString suffix = QLatin1Char('.') + defaultExtension;
    if (chosenName.endsWith(suffix, Qt::CaseInsensitive))
        return chosenName;
    return chosenName + suffix;
}

} // namespace DocumentRules
