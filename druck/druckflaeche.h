#pragma once

#include <QSizeF>

namespace varo {

// The surface, in units of 1/96 inch, to lay a chart out on for printing:
// as large as the page allows in the chart's designed proportions, but
// small enough that its text, drawn at schriftPunkte on that surface,
// prints at druckPunkte or more when the chart is scaled onto the page.
// seite is the printable area in the same units; an empty page or design
// gives the design itself.
QSizeF zeichenflaecheFuerSeite(QSizeF seite, QSizeF entwurf, double schriftPunkte,
                               double druckPunkte);

// Twips (1/1440 inch) in units of 1/96 inch.
constexpr double einheitenAusTwips(double twips)
{
    return twips / 15.0;
}

} // namespace varo
