#pragma once

#include <QString>
#include <QStringList>

// The page wizard's 18-line page, built from the user's entries exactly as typed.
namespace PageMarkup {

struct Fields {
    QString title, author, email, description, keywords, generator;
    QString background, link, visitedLink, activeLink, text, backgroundImage;
};

QStringList page(const Fields &f);

} // namespace PageMarkup
