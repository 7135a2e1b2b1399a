#pragma once

// The planner's strip chart, free of widgets: one row per band marking the
// lengths whose margin over that band falls short, and a row for all bands
// together with the clear ranges and the margin as a curve. The window, the
// export and the report tool all paint through planZeichnen.

#include "planer.h"

#include <QLocale>
#include <QRectF>
#include <QSize>
#include <QSizeF>
#include <QString>

class QPainter;

namespace varo {

// The area of the chart the lengths run across, in device units (1/96 inch)
// of a surface of the given size.
QRectF planFlaeche(const Planung &planung, const QSizeF &groesse);

// The grid length under x on a surface of that size, -1 when x lies beside
// the area or the plan is empty.
qint64 planIndexBei(const Planung &planung, const QSizeF &groesse, double x);

// A tick step of 1, 2 or 5 times a power of ten that gives at most about
// ziel ticks over the span.
double achsenTeilung(double spanne, int ziel);

// Paints the chart onto a surface of the given size in device units;
// markiert, when not -1, is the grid length marked by a vertical line.
void planZeichnen(QPainter &painter, const Planung &planung, const QSizeF &groesse,
                  const QLocale &locale, qint64 markiert = -1);

// The size of the chart in exports unless the caller gives one.
QSize planDesignGroesse(const Planung &planung);

// Writes the chart as PNG, SVG or PDF, chosen by the ending of datei, in
// one go: an existing file stays as it was unless every byte was written.
// An invalid pixel size means planDesignGroesse(). Returns true on
// success, else false with meldung the German reason.
bool planExportieren(const Planung &planung, const QString &datei, QSize pixel,
                     const QLocale &locale, QString &meldung);

} // namespace varo
