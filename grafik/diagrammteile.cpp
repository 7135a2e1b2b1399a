#include "diagrammteile.h"

#include <QPainter>
#include <QPainterPath>

namespace varo {

QPen diagrammStift(const QColor &farbe, double breite, Qt::PenStyle art)
{
    QPen stift(farbe, breite, art);
    stift.setCapStyle(Qt::FlatCap);
    stift.setJoinStyle(Qt::RoundJoin);
    return stift;
}

void texteZeichnen(QPainter &painter, const QList<Diagrammtext> &texte)
{
    for (const Diagrammtext &t : texte) {
        painter.setPen(t.farbe);
        painter.drawText(t.ort, t.text);
    }
}

void texteZeichnen(QPainter &painter, const QList<Kastentext> &texte)
{
    for (const Kastentext &t : texte) {
        painter.setPen(t.farbe);
        painter.drawText(t.kasten, t.ausrichtung, t.text);
    }
}

void linienzugZeichnen(QPainter &painter, const Linienzug &zug)
{
    QPainterPath pfad;
    for (const QPolygonF &teil : zug.teile) {
        if (teil.isEmpty())
            continue;
        pfad.moveTo(teil.first());
        for (qsizetype i = 1; i < teil.size(); ++i)
            pfad.lineTo(teil.at(i));
    }
    painter.setPen(zug.stift);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(pfad);
}

} // namespace varo
