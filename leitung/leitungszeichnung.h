#pragma once

// The chart of a line analysis: a layout value computed by a pure function,
// then a short paint pass that the window, the export to PNG, SVG and PDF,
// printing and the report tool share.
// Upper panel: R, X and |Z| at the transmitter end in Ω; lower panel: the
// SWR at the transmitter (left axis) and the total loss in dB (right axis),
// both over the frequency.

#include "achse.h"
#include "diagrammteile.h"
#include "leitungsanalyse.h"

#include <QImage>
#include <QList>
#include <QLocale>
#include <QRectF>
#include <QSize>
#include <QString>

#include <optional>

class QPainter;

namespace varo {

struct Leitungsdiagramm
{
    QList<Leitungswerte> werte; // in rising frequency
    QString ueberschrift;       // cable, length and load
    bool mitVerlust = true;     // false: the loss curve is left out
    // false: the summary line is left out (the window shows it below)
    bool mitZusammenfassung = true;
};

// One panel of the chart: where it lies and its value axis.
struct Leitungsfeld
{
    QRectF rechteck;
    Achse y;
    QList<double> marken; // values of the labelled ticks, from the bottom

    double yZuPixel(double wert) const
    {
        return rechteck.bottom() - (wert - y.von) / (y.bis - y.von) * rechteck.height();
    }
};

// A trace of the chart and the panel it is clipped to.
struct Leitungskurve
{
    Linienzug zug;
    QRectF ausschnitt;
};

// Everything one drawing pass puts on the surface, in device units of
// 1/96 inch. With fewer than two samples it holds the heading only.
struct Leitungsbild
{
    QSizeF flaeche;
    Diagrammtext ueberschrift;
    bool mitAchsen = false;
    Leitungsfeld oben, unten, verlust; // verlust shares the lower panel
    Achse frequenz;
    QList<double> frequenzMarken;    // MHz of the ticks drawn
    QList<QLineF> gitter;            // light grey, under everything else
    QList<Diagrammtext> achsentexte; // tick labels of every axis
    std::optional<QLineF> nulllinie; // 0 Ω when the upper axis spans it
    QList<Leitungskurve> kurven;     // R, X, |Z|, SWR, then the loss
    QList<QLineF> legendenStriche;
    QList<QColor> legendenFarben;
    QList<Diagrammtext> texte;    // legend entries, the unit and the summary
    std::optional<QLineF> zeiger; // the cursor at the marked sample
};

// "SWR am Sender 1,12 bis 2,31; Verlust gesamt bei 7,1 MHz: 0,42 dB".
QString leitungsZusammenfassung(const Leitungsdiagramm &diagramm, const QLocale &locale);

// The readout of one frequency: f, R + jX, |Z|, SWR at both ends, losses.
QString leitungsAblesung(const Leitungswerte &w, const QLocale &locale);

// Where the frequency axis runs on a surface of the given size.
QRectF leitungsZeichenbereich(QSizeF flaeche);

// The sample nearest to x on that surface, or -1 when x lies outside the
// axes or there is nothing drawn.
int leitungsIndexBei(const Leitungsdiagramm &diagramm, QSizeF flaeche, double x);

// The layout of the chart on a surface of the given size in device units,
// its text measured in the chart font at 96 units per inch; markiert puts
// the cursor at that sample (-1: none).
Leitungsbild leitungsbildBerechnen(const Leitungsdiagramm &diagramm, QSizeF flaeche,
                                   const QLocale &locale, int markiert = -1);

// The paint pass of a layout.
void leitungsbildZeichnen(QPainter &painter, const Leitungsbild &bild);

// Layout and paint pass in one, in the default locale.
void leitungsdiagrammZeichnen(QPainter &painter, const Leitungsdiagramm &diagramm, QSizeF flaeche,
                              int markiert = -1);

// The pass into a white image.
QImage leitungsdiagrammBild(const Leitungsdiagramm &diagramm, QSize einheiten,
                            qreal pixelVerhaeltnis = 1.0, int markiert = -1);

// Size of the chart in the window as designed, and for export by default.
QSize leitungsDesignGroesse();

} // namespace varo
