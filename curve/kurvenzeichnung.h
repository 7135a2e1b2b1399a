#pragma once

#include "diagrammschrift.h"
#include "kurvenrechnung.h"

#include <QImage>
#include <QSize>
#include <QTransform>

class QPainter;

namespace varo {

// The surface works in twips; 15 twips are one device unit of 1/96 inch.
inline constexpr double kTwipsProEinheit = 15.0;

// Text height and width of diagrammSchriftInPixeln() in twips, measured for a device
// of 96 units per inch (screen pixels, and the export devices alike).
Textmass kurvenTextmass();

// Twips (y upwards from the bottom edge) to device units of a surface of
// height H twips.
QTransform twipsZuGeraet(double H);

// One drawing pass: clears the surface and paints what the Kurvenbild holds.
// The painter's device works in units of 1/96 inch.
void kurveZeichnen(QPainter &painter, const Kurvenbild &bild);

// The pass into a white image of the given size in device units.
QImage kurvenBild(const Kurvenbild &bild, QSize einheiten, qreal pixelVerhaeltnis = 1.0);

} // namespace varo
