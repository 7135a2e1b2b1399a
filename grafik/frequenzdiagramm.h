#pragma once

// What the charts with the frequency across share: the margins on the left
// and at the top, the grid colour, the frequency axis under stacked panels,
// the legend above a panel and the paint of the frame (white ground,
// heading, grid and tick labels).

#include "achse.h"
#include "diagrammteile.h"

#include <QFontMetricsF>
#include <QLineF>
#include <QLocale>
#include <QSizeF>

#include <utility>

class QPainter;

namespace varo {

// Left margin for the value axis and top margin for heading and legend.
constexpr double kDiagrammLinks = 64.0;
constexpr double kDiagrammOben = 44.0;

QColor gitterfarbe();

// What every part of the layout needs: the surface, the frequency range,
// the text measures and the locale of the labels (without group separators).
struct Frequenzauslegung
{
    QRectF bereich;
    double fVon = 0.0;
    double fBis = 1.0;
    QFontMetricsF mass;
    QLocale locale;

    double xBei(double f) const
    {
        return bereich.left() + (f - fVon) / (fBis - fVon) * bereich.width();
    }
};

// The locale of the tick labels: the given one without group separators.
QLocale achsenLocale(const QLocale &locale);

// The heading at the top left of the chart.
Diagrammtext ueberschriftAuslegen(const QString &text, const QFontMetricsF &mass);

// "f/MHz" at the right end below the tick labels under `unterkante`.
Diagrammtext frequenzeinheitAuslegen(const Frequenzauslegung &a, double unterkante);

// The frequency ticks: a grid line through each panel and a label under the
// lowest panel's bottom edge; the axis is returned and `marken` holds the ticks.
struct Frequenzachse
{
    Achse achse;
    QList<double> marken;
};
Frequenzachse frequenzachseAuslegen(const Frequenzauslegung &a, const QList<QRectF> &felder,
                                    QList<QLineF> &gitter, QList<Diagrammtext> &achsentexte);

// A legend: a short stroke in each trace's colour and its name, one after
// the other above the panel.
// Strokes, their colours and the names are appended to the given lists.
struct Legendenteile
{
    QList<QLineF> &striche;
    QList<QColor> &farben;
    QList<Diagrammtext> &texte;
};
void legendeAuslegen(const Legendenteile &legende, const QRectF &feld,
                     const QList<std::pair<QString, QColor>> &eintraege, const QFontMetricsF &mass);

// White ground, antialiasing, the chart font and the heading.
void diagrammgrundZeichnen(QPainter &painter, QSizeF flaeche, const Diagrammtext &ueberschrift);

// The grid in light grey and the tick labels.
void gitterZeichnen(QPainter &painter, const QList<QLineF> &gitter,
                    const QList<Diagrammtext> &achsentexte);

// The legend's strokes (its texts are painted with the chart's other texts).
void legendenstricheZeichnen(QPainter &painter, const QList<QLineF> &striche,
                             const QList<QColor> &farben);

} // namespace varo
