#pragma once

// Traces of many thousand points drawn on a few hundred units: points that
// cannot be told apart on the surface are left out in the layout, so that
// the paint pass strokes only what shows. Both keep the first and the last
// point of a trace.

#include "diagrammteile.h"

#include <QPolygonF>

class QPainter;

namespace varo {

// A trace rising in x: of the points within one column of the given width
// only the first, the lowest, the highest and the last are kept, in their
// order; the envelope drawn stays exactly as it was.
QPolygonF spaltenweiseAusduennen(const QPolygonF &zug, double spaltenbreite);

// Any trace: a point closer than abstand to the last kept point is left
// out, so what is drawn stays within abstand of the full trace.
QPolygonF naheAusduennen(const QPolygonF &zug, double abstand);

// Paints a trace of many points as short polylines of round ends that
// join without a seam: a single outline of thousands of edges over the
// whole height costs the rasteriser far more than many small ones.
void langeSpurZeichnen(QPainter &painter, const Linienzug &zug);

} // namespace varo
