#pragma once

// The chart of a cable measurement: a layout value computed by a pure
// function, then a short paint pass for the window and the screenshots.
// Upper panel: the velocity factor at each measured frequency and its mean;
// lower panel: the matched loss per 100 m at each frequency and the fitted
// curve A = k1·√f + k2·f, both over the frequency. Also the values the
// window lists beside it and writing the proposed row into the user's table.

#include "achse.h"
#include "diagrammteile.h"
#include "kabelmessung.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QLocale>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QStringList>

class QPainter;

namespace varo {

// One panel: where it lies and its value axis.
struct Vermessfeld
{
    QRectF rechteck;
    Achse y;

    double yZuPixel(double wert) const
    {
        return rechteck.bottom() - (wert - y.von) / (y.bis - y.von) * rechteck.height();
    }
};

// Measured points drawn as small dots of one colour.
struct Punktreihe
{
    QList<QPointF> orte;
    QColor farbe;
};

// Everything one drawing pass puts on the surface, in device units of
// 1/96 inch. With fewer than two measured points it holds the heading only.
struct Vermessbild
{
    QSizeF flaeche;
    Diagrammtext ueberschrift;
    bool mitAchsen = false;
    Vermessfeld vk, verlust;
    QList<QLineF> gitter;            // light grey, under everything else
    QList<Diagrammtext> achsentexte; // tick labels
    QList<Punktreihe> punkte;        // measured Vk, measured loss
    QList<Linienzug> kurven;         // mean Vk, fitted loss; clipped to their panel
    QList<QRectF> ausschnitte;       // the panel of each curve and point row
    QList<QLineF> legendenStriche;
    QList<QColor> legendenFarben;
    QList<Diagrammtext> texte; // legend entries and the unit
};

// The layout of the chart of ergebnis on a surface of the given size in
// device units, its text measured in the chart font.
Vermessbild vermessbildBerechnen(const Kabelmessergebnis &ergebnis, const QString &ueberschrift,
                                 QSizeF flaeche, const QLocale &locale);

// The paint pass of a layout.
void vermessbildZeichnen(QPainter &painter, const Vermessbild &bild);

// Size of the chart in the window as designed.
QSize vermessDesignGroesse();

// One row of the window's result table: the round frequency, the line
// impedance of the fitted model there, the fitted loss.
struct Vermesszeile
{
    double fMHz = 0.0;
    Komplex Zo;
    double dBPro100m = 0.0;
};

// The rows at the proposed row's frequencies, rising.
QList<Vermesszeile> vermesszeilen(const Kabelmessergebnis &ergebnis);

// "50,2 + j0,31 Ω" or "50,2 − j0,31 Ω".
QString impedanzText(Komplex z, const QLocale &locale);

// Where in the lines of a cable table a row of the same type name as zeile
// stands (index of its line), or -1.
int zeileGleichenNamens(const QStringList &zeilen, const QString &zeile);

// The text of the table with zeile replacing the line at index, or appended
// when index is -1; index then receives the line it stands on.
QByteArray tabelleMitZeile(QStringList zeilen, const QString &zeile, int &index);

} // namespace varo
