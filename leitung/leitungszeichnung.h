#pragma once

// The chart of a line analysis, drawn with a painter only: the window, the
// export to PNG, SVG and PDF, printing and the report tool share one pass.
// Upper panel: R, X and |Z| at the transmitter end in Ω; lower panel: the
// SWR at the transmitter (left axis) and the total loss in dB (right axis),
// both over the frequency.

#include "leitungsanalyse.h"

#include <QImage>
#include <QList>
#include <QLocale>
#include <QRectF>
#include <QSize>
#include <QString>

class QPainter;

namespace varo {

struct Leitungsdiagramm
{
    QList<Leitungswerte> werte; // in rising frequency
    QString ueberschrift;       // cable, length and load
    bool mitVerlust = true;     // false: the loss curve is left out
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

// One drawing pass on a surface of the given size in device units of
// 1/96 inch; markiert draws a cursor line at that sample (-1: none).
void leitungsdiagrammZeichnen(QPainter &painter, const Leitungsdiagramm &diagramm, QSizeF flaeche,
                              int markiert = -1);

// The pass into a white image.
QImage leitungsdiagrammBild(const Leitungsdiagramm &diagramm, QSize einheiten,
                            qreal pixelVerhaeltnis = 1.0, int markiert = -1);

// Size of the chart in the window as designed, and for export by default.
QSize leitungsDesignGroesse();

} // namespace varo
