#include "druckflaeche.h"

#include <algorithm>

namespace varo {

QSizeF zeichenflaecheFuerSeite(QSizeF seite, QSizeF entwurf, double schriftPunkte,
                               double druckPunkte)
{
    if (seite.isEmpty() || entwurf.isEmpty() || !(schriftPunkte > 0.0) || !(druckPunkte > 0.0))
        return entwurf;
    // Scaled onto the page by this factor the text reaches druckPunkte.
    const double vergroesserung = std::max(1.0, druckPunkte / schriftPunkte);
    const QSizeF hoechstens = seite / vergroesserung;
    return entwurf.scaled(hoechstens, Qt::KeepAspectRatio);
}

} // namespace varo
