#include "generators/PageMarkup.h"

namespace PageMarkup {

QStringList page(const Fields &f)
{
    const auto q = [](const char *utf8) { return QString::fromUtf8(utf8); };
    return {
        q("<HTML>"),
        QString(),
        q("<HEAD>"),
        q(" <TITLE>") + f.title + q("</TITLE>"),
        q(" <META HTTP-EQUIV=\"CONTENT-TYPE\" CONTENT=\"TEXT/HTML; CHARSET=ISO-8859-2\">"),
        q(" <META NAME=\"GENERATOR\" CONTENT=\"") + f.generator + q("\">"),
        q(" <META NAME=\"AUTHOR\" CONTENT=\"") + f.author + q("\">"),
        q(" <LINK REV=\"MADE\" HREF=\"mailto:") + f.email + q("\">"),
        q(" <META NAME=\"ROBOTS\" CONTENT=\"ALL\">"),
        q(" <META NAME=\"DESCRIPTION\" CONTENT=\"") + f.description + q("\">"),
        q(" <META NAME=\"KEYWORDS\" CONTENT=\"") + f.keywords + q("\">"),
        q("</HEAD>"),
        QString(),
        q("<BODY BACKGROUND=\"") + f.backgroundImage + q("\" BGCOLOR=\"") + f.background + q("\" LINK=\"") + f.link
            + q("\" VLINK=\"") + f.visitedLink + q("\" ALINK=\"") + f.activeLink + q("\" TEXT=\"") + f.text + q("\">"),
        q(" <!--Tutaj jest miejsce na wpisanie treści dokumentu-->"),
        q("</BODY>"),
        QString(),
        q("</HTML>"),
    };
}

} // namespace PageMarkup
