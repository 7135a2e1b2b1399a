#pragma once

// The font of every chart and the surface its text is measured on. Layouts
// are computed for devices of 96 units per inch: the images, SVG and PDF
// exports are such devices, and a window's text is drawn so that it keeps
// those measures whatever the screen's resolution.

#include <QFont>
#include <QImage>
#include <QSize>

class QPaintDevice;

namespace varo {

// Device units per inch of every layout.
inline constexpr int kEinheitenProZoll = 96;

// "Franklin Gothic Medium" 7.8 pt, or what the system offers in its place.
QFont diagrammSchrift();

// diagrammSchrift() at the whole pixel size the text is measured and drawn
// at, on a device of 96 units per inch.
QFont diagrammSchriftInPixeln();

// diagrammSchrift() sized for the device so that its text is as large as on a
// device of 96 units per inch; on such a device it is diagrammSchrift() itself.
QFont diagrammSchriftFuer(const QPaintDevice *geraet);

// A device of 96 units per inch to measure text on.
const QImage &messflaeche();

// A white image of the size in device units, at 96 units per inch and with
// pixelVerhaeltnis image pixels per unit.
QImage weissesBild(QSize einheiten, qreal pixelVerhaeltnis = 1.0);

} // namespace varo
