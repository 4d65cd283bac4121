#pragma once

#include <QString>

// The lines the quick-insert panel builds around the user's own text; the text goes in as
// typed, nothing trimmed or escaped.
namespace QuickInsert {

inline QString marquee(const QString &text) { return QStringLiteral("<marquee>") + text + QStringLiteral("</marquee>"); }
inline QString image(const QString &address) { return QStringLiteral("<img src=\"") + address + QStringLiteral("\">"); }
inline QString video(const QString &address)
{
    return QStringLiteral("<IMG DYNSRC=\"") + address + QStringLiteral("\" LOOP=\"0\">");
}
inline QString link(const QString &address, const QString &text)
{
    return QStringLiteral("<A HREF=\"") + address + QStringLiteral("\">") + text + QStringLiteral("</A>");
}
inline QString comment(const QString &text) { return QStringLiteral("<!--") + text + QStringLiteral("-->"); }

} // namespace QuickInsert
