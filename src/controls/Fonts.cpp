#include "controls/Fonts.h"

#include <QFile>
#include <QFontDatabase>

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

} // namespace Fonts
