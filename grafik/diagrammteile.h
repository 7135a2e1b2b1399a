#pragma once

// The parts a chart's layout value is made of, in device units of 1/96 inch,
// and the few calls that paint them. A layout function fills them without a
// painter; the paint pass only draws what they hold.

#include <QColor>
#include <QList>
#include <QPen>
#include <QPolygonF>
#include <QRectF>
#include <QString>

class QPainter;

namespace varo {

// A text drawn from the start of its baseline.
struct Diagrammtext
{
    QPointF ort;
    QString text;
    QColor farbe = Qt::black;
};

// A text aligned in a box (Qt::Alignment flags).
struct Kastentext
{
    QRectF kasten;
    int ausrichtung = Qt::AlignLeft | Qt::AlignVCenter;
    QString text;
    QColor farbe = Qt::black;
};

// A trace drawn with one pen: its pieces are the runs between gaps.
struct Linienzug
{
    QList<QPolygonF> teile;
    QPen stift;
};

// A pen of the given width with flat ends and round joins.
QPen diagrammStift(const QColor &farbe, double breite, Qt::PenStyle art = Qt::SolidLine);

// The texts in the painter's current font.
void texteZeichnen(QPainter &painter, const QList<Diagrammtext> &texte);
void texteZeichnen(QPainter &painter, const QList<Kastentext> &texte);

// Each piece as one path, unfilled.
void linienzugZeichnen(QPainter &painter, const Linienzug &zug);

} // namespace varo
