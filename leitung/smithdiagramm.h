#pragma once

// The Smith chart of the line analysis, on the shared graphics layer: a
// pure function lays out the grid of constant resistance and reactance, the
// load's and the rig's trace, the band edges and the marked frequency with
// its SWR circle; a short pass paints that layout, and the export writes it
// like every other chart.
//
// Impedances are normalised to the line: z = Z / Z0. The reflection
// coefficient Γ = (z − 1) / (z + 1) is what the chart plots: the centre is
// z = 1 (Γ = 0), the left edge z = 0 (Γ = −1), the right edge z = ∞
// (Γ = 1), inductive reactance upwards. A circle of constant r has its
// centre at Γ = r / (r + 1) and the radius 1 / (r + 1); an arc of constant x
// lies on the circle about Γ = 1 + j/x with the radius 1 / |x|. The SWR
// through a point is (1 + |Γ|) / (1 − |Γ|), its circle has the radius |Γ|.

#include "bildexport.h"
#include "diagrammteile.h"

#include <QImage>
#include <QList>
#include <QLocale>
#include <QPointF>
#include <QSize>
#include <QSizeF>
#include <QString>

#include <complex>
#include <optional>

class QPainter;

namespace varo {

// One normalised impedance per frequency; std::nullopt (or a value that is
// not finite) leaves a gap.
using Smithspur = QList<std::optional<std::complex<double>>>;

struct Smithdiagramm
{
    QString ueberschrift;
    Smithspur last;        // at the load (the antenna's feedpoint)
    Smithspur sender;      // at the rig's end of the cable
    QList<int> bandkanten; // indices of the frequencies at band edges
    int markiert = -1;     // index of the marked frequency, -1: none
};

// A circle of the chart: its value (r, or the SWR) and where it lies.
struct Smithkreis
{
    double wert = 0.0;
    QPointF mitte;
    double radius = 0.0;
};

// An arc of constant reactance from the rim (r = 0) to the right edge.
struct Smithbogen
{
    double wert = 0.0; // x
    QPolygonF punkte;
};

struct Smithpunkt
{
    QPointF ort;
    QColor farbe;
};

// Everything one drawing pass puts on the surface, in device units of
// 1/96 inch, y downwards.
struct Smithbild
{
    QSizeF flaeche;
    QPointF mitte;       // Γ = 0
    double radius = 1.0; // |Γ| = 1
    Diagrammtext ueberschrift;
    QList<Smithkreis> widerstandsKreise; // r = const, r = 0 is the rim
    QList<Smithbogen> blindBoegen;       // x = const, x = 0 is the real axis
    QList<Diagrammtext> beschriftung;    // r on the real axis, x outside the rim
    Linienzug last;                      // the load's trace
    Linienzug sender;                    // the rig's trace
    QList<Smithpunkt> bandkanten;        // on both traces
    std::optional<Smithkreis> swrKreis;  // through the rig's marked point
    QList<Smithpunkt> markiert;          // load, then rig, where not a gap
    QList<QLineF> legendenStriche;
    QList<QColor> legendenFarben;
    QList<Diagrammtext> texte; // legend entries and the SWR at the mark
};

// Γ = (z − 1) / (z + 1).
std::complex<double> reflexion(std::complex<double> z);

// Where Γ lies on the chart.
QPointF smithOrt(const Smithbild &bild, std::complex<double> gamma);

// The layout of the chart on a surface of the given size in device units,
// its text measured in the chart font at 96 units per inch.
Smithbild smithbildBerechnen(const Smithdiagramm &diagramm, QSizeF flaeche, const QLocale &locale);

// The paint pass of a layout.
void smithbildZeichnen(QPainter &painter, const Smithbild &bild);

// Layout and paint pass into a white image of einheiten device units.
QImage smithdiagrammBild(const Smithdiagramm &diagramm, QSize einheiten,
                         qreal pixelVerhaeltnis = 1.0);

// The size of the chart in exports unless the caller gives one.
QSize smithDesignGroesse();

// The chart as an export draws it, in the default locale; it refers to
// diagramm, which must outlive it.
Bildvorlage smithBildvorlage(const Smithdiagramm &diagramm);

// Writes the chart as PNG, SVG or PDF, chosen by the ending of datei.
Exportergebnis smithExportieren(const Smithdiagramm &diagramm, const QString &datei,
                                QSize pixel = QSize());

} // namespace varo
