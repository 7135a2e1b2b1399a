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

namespace {

QFont::StyleHint stilHinweis(Schriftklasse klasse)
{
    return klasse == Schriftklasse::Fest    ? QFont::TypeWriter
           : klasse == Schriftklasse::Serif ? QFont::Serif
                                            : QFont::SansSerif;
}

} // namespace

void schriftSetzen(QTextCharFormat &format, const QString &familie, Schriftklasse klasse)
{
    if (klasse == Schriftklasse::Unbekannt)
        klasse = schriftklasseVonName(familie);
    format.setFontFamilies(QStringList{familie});
    format.setFontFixedPitch(klasse == Schriftklasse::Fest);
    format.setFontStyleHint(stilHinweis(klasse));
}

void schriftSetzen(QFont &schrift, const QString &familie)
{
    const Schriftklasse klasse = schriftklasseVonName(familie);
    schrift.setFamilies(QStringList{familie});
    schrift.setFixedPitch(klasse == Schriftklasse::Fest);
    schrift.setStyleHint(stilHinweis(klasse));
}

} // namespace varo
