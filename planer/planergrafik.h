#pragma once

// The planner's strip chart, free of widgets: one row per band marking the
// lengths whose margin over that band falls short, and a row for all bands
// together with the clear ranges and the margin as a curve. A pure function
// lays the chart out (planbildBerechnen); the window, the export and the
// report tool all paint that layout.

#include "achse.h"
#include "bildexport.h"
#include "diagrammteile.h"
#include "planer.h"

#include <QLocale>
#include <QRectF>
#include <QSize>
#include <QSizeF>
#include <QString>

#include <optional>

class QPainter;

namespace varo {

// One band's row: its background, the stretches that band rules out and
// its name left of the area.
struct Bandzeile
{
    QRectF zeile;
    QColor farbe;
    QList<QRectF> gesperrt;
    Kastentext name;
};

// One entry of the legend: a swatch (filled box, or a line when linie) and
// its text.
struct Legendeneintrag
{
    QRectF muster;
    QColor farbe;
    bool linie = false;
    Kastentext text;
};

// Everything one drawing pass puts on the surface, in device units of
// 1/96 inch.
struct Planbild
{
    QSizeF groesse;
    QRectF flaeche;      // where the lengths run across
    double von = 0.0;    // length at the left edge, m
    double spanne = 1.0; // metres across the area
    double zeilenHoehe = 0.0;
    QList<Bandzeile> baender;
    QRectF gesamt;                   // the row of all bands
    QList<QRectF> frei;              // stretches clear on every band
    QLineF gefordert;                // the required margin, dashed
    QPolygonF abstand;               // the margin per length, when few enough
    QList<QLineF> abstandsSaeulen;   // else lowest to highest margin per column
    QList<Kastentext> texte;         // "Alle Bänder" and the required margin
    std::optional<QPolygonF> bester; // the mark over the best length
    Achse laengen;                   // the length axis
    QList<double> laengenMarken;     // m of the ticks
    QList<QLineF> teilstriche;
    QList<Diagrammtext> achsentexte; // tick labels and the unit
    std::optional<QLineF> zeiger;    // the marked length
    std::optional<Kastentext> titel; // above the chart, in exports
    QList<Legendeneintrag> legende;  // below the axis, in exports
};

// What a chart shows besides the plan itself.
enum class Planrahmen {
    Ohne,            // the window: the chart alone
    TitelUndLegende, // files: a title line above, a legend below
};

// The layout on a surface of the given size in device units, text measured
// in the chart font at 96 units per inch; markiert, when not -1, is the grid
// length marked by a vertical line.
Planbild planbildBerechnen(const Planung &planung, const QSizeF &groesse, const QLocale &locale,
                           qint64 markiert = -1, Planrahmen rahmen = Planrahmen::Ohne);

// The height title and legend add to a chart, in device units.
double planRahmenHoehe();

// The size of a file's picture when the window's chart has the given
// size: at least that chart and the designed size, plus title and legend.
QSize planExportGroesse(const Planung &planung, QSize fensterbild);

// The paint pass of a layout.
void planbildZeichnen(QPainter &painter, const Planbild &bild);

// The area of the chart the lengths run across, in device units (1/96 inch)
// of a surface of the given size.
QRectF planFlaeche(const Planung &planung, const QSizeF &groesse);

// The grid length under x on a surface of that size, -1 when x lies beside
// the area or the plan is empty.
qint64 planIndexBei(const Planung &planung, const QSizeF &groesse, double x);

// Layout and paint pass in one.
void planZeichnen(QPainter &painter, const Planung &planung, const QSizeF &groesse,
                  const QLocale &locale, qint64 markiert = -1);

// The size of the chart in exports unless the caller gives one.
QSize planDesignGroesse(const Planung &planung);

// The chart as an export draws it, in the default locale; it refers to
// planung, which must outlive it.
Bildvorlage planBildvorlage(const Planung &planung);

// Writes the chart with title and legend as PNG, SVG or PDF, chosen by the
// ending of datei, in one go: an existing file stays as it was unless every
// byte was written. An invalid pixel size means planExportGroesse() of the
// designed size.
Exportergebnis planExportieren(const Planung &planung, const QString &datei, QSize pixel = QSize());

} // namespace varo
