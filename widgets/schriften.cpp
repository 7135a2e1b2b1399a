#include "schriften.h"

#include <QStringList>

namespace varo {

namespace {

QFont schrift(const QStringList &familien, QFont::StyleHint art, double punkte, bool fett)
{
    QFont f;
    f.setFamilies(familien);
    f.setStyleHint(art);
    f.setPointSizeF(punkte);
    f.setBold(fett);
    return f;
}

} // namespace

QFont festeSchrift(double punkte, bool fett)
{
    QFont f = schrift({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"),
                       QStringLiteral("Cousine"), QStringLiteral("DejaVu Sans Mono"),
                       QStringLiteral("monospace")},
                      QFont::TypeWriter, punkte, fett);
    f.setFixedPitch(true);
    return f;
}

QFont eingabeSchrift(double punkte, bool fett)
{
    return schrift({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                    QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans"),
                    QStringLiteral("sans-serif")},
                   QFont::SansSerif, punkte, fett);
}

QFont fensterSchrift(double punkte)
{
    return schrift({QStringLiteral("Tahoma"), QStringLiteral("Verdana"),
                    QStringLiteral("DejaVu Sans"), QStringLiteral("sans-serif")},
                   QFont::SansSerif, punkte, false);
}

QFont titelSchrift(double punkte, bool fett)
{
    return schrift({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                    QStringLiteral("Arimo"), QStringLiteral("DejaVu Sans"),
                    QStringLiteral("sans-serif")},
                   QFont::SansSerif, punkte, fett);
}

} // namespace varo
