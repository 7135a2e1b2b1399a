#include "schriftklasse.h"

#include <QFont>
#include <QStringList>

namespace varo {

Schriftklasse schriftklasseVonName(const QString &familie)
{
    const QString n = familie.toLower();
    if (n.contains(QLatin1String("courier")) || n.contains(QLatin1String("mono")) ||
        n.contains(QLatin1String("consolas")))
        return Schriftklasse::Fest;
    if (n.contains(QLatin1String("sans")))
        return Schriftklasse::Serifenlos;
    if (n.contains(QLatin1String("times")) || n.contains(QLatin1String("serif")) ||
        n.contains(QLatin1String("roman")))
        return Schriftklasse::Serif;
    return Schriftklasse::Serifenlos;
}

void schriftSetzen(QTextCharFormat &format, const QString &familie, Schriftklasse klasse)
{
    if (klasse == Schriftklasse::Unbekannt)
        klasse = schriftklasseVonName(familie);
    format.setFontFamilies(QStringList{familie});
    format.setFontFixedPitch(klasse == Schriftklasse::Fest);
    format.setFontStyleHint(klasse == Schriftklasse::Fest    ? QFont::TypeWriter
                            : klasse == Schriftklasse::Serif ? QFont::Serif
                                                             : QFont::SansSerif);
}

} // namespace varo
