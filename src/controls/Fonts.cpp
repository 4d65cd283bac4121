#include "controls/Fonts.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>

namespace Fonts {

namespace {
const char *const kFolder = "/usr/share/wine/fonts/";
const char *const kFiles[] = {"ms_sans_serif.ttf", "tahoma.ttf", "tahomabd.ttf"};
} // namespace

void install()
{
    static const bool installed = [] {
        for (const char *file : kFiles) {
            const QString path = QLatin1String(kFolder) + QLatin1String(file);
            if (QFile::exists(path))
                QFontDatabase::addApplicationFont(path);
        }
        return true;
    }();
    Q_UNUSED(installed);
}

QFont window()
{
    install();
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(11);
    f.setStyleStrategy(QFont::PreferNoShaping);
    return f;
}

QFont heading(int pixelSize, bool bold)
{
    install();
    QFont f(QStringLiteral("Tahoma"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

QFont editor()
{
    QFont f(QStringLiteral("Courier New"));
    f.setStyleHint(QFont::TypeWriter);
    f.setFixedPitch(true);
    // QScintilla sizes its styles in points: 13 pixels at the usual 96 dots per inch.
    f.setPointSizeF(9.75);
    // Scintilla asks for the family by name alone. "Courier New" or a face made to its metrics
    // (the ones fontconfig puts in its place, in its order) is named at once: asking the font
    // system what stands in for a missing family costs a millisecond of every start, so the
    // installed families are listed once and looked up.
    const QStringList installed = QFontDatabase::families();
    for (const char *family : {"Courier New", "Cousine", "Liberation Mono"}) {
        if (installed.contains(QLatin1String(family), Qt::CaseInsensitive)) {
            f.setFamily(QLatin1String(family));
            return f;
        }
    }
    // Otherwise whatever the font system offers, if it is fixed-pitch, else the platform's own
    // fixed-pitch font, so the text stays fixed-pitch.
    if (!QFontInfo(f).fixedPitch())
        f.setFamily(QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
    else
        f.setFamily(QFontInfo(f).family());
    return f;
}

} // namespace Fonts
