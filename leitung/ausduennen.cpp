#include "ausduennen.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace varo {

QPolygonF spaltenweiseAusduennen(const QPolygonF &zug, double spaltenbreite)
{
    if (zug.size() <= 4 || !(spaltenbreite > 0.0))
        return zug;
    QPolygonF ergebnis;
    ergebnis.reserve(zug.size());
    qsizetype anfang = 0;
    while (anfang < zug.size()) {
        const double spalte = std::floor(zug.at(anfang).x() / spaltenbreite);
        qsizetype ende = anfang + 1;
        qsizetype tief = anfang;
        qsizetype hoch = anfang;
        while (ende < zug.size() && std::floor(zug.at(ende).x() / spaltenbreite) == spalte) {
            if (zug.at(ende).y() < zug.at(tief).y())
                tief = ende;
            if (zug.at(ende).y() > zug.at(hoch).y())
                hoch = ende;
            ++ende;
        }
        // First, extremes in the order they come, last; each once.
        qsizetype vorher = -1;
        for (const qsizetype i : {anfang, std::min(tief, hoch), std::max(tief, hoch), ende - 1}) {
            if (i != vorher)
                ergebnis.append(zug.at(i));
            vorher = i;
        }
        anfang = ende;
    }
    return ergebnis;
}

QPolygonF naheAusduennen(const QPolygonF &zug, double abstand)
{
    if (zug.size() <= 2)
        return zug;
    QPolygonF ergebnis;
    ergebnis.reserve(zug.size());
    ergebnis.append(zug.constFirst());
    const double grenze = abstand * abstand;
    for (qsizetype i = 1; i + 1 < zug.size(); ++i) {
        const QPointF d = zug.at(i) - ergebnis.constLast();
        if (d.x() * d.x() + d.y() * d.y() >= grenze)
            ergebnis.append(zug.at(i));
    }
    ergebnis.append(zug.constLast());
    return ergebnis;
}

void langeSpurZeichnen(QPainter &painter, const Linienzug &zug)
{
    constexpr qsizetype stueck = 32;
    QPen stift = zug.stift;
    stift.setCapStyle(Qt::RoundCap);
    painter.setPen(stift);
    painter.setBrush(Qt::NoBrush);
    for (const QPolygonF &teil : zug.teile) {
        if (teil.size() == 1)
            painter.drawPoint(teil.constFirst());
        // Each piece begins where the one before ended.
        for (qsizetype von = 0; von + 1 < teil.size(); von += stueck) {
            const qsizetype anzahl = std::min(stueck + 1, teil.size() - von);
            painter.drawPolyline(teil.constData() + von, int(anzahl));
        }
    }
}

} // namespace varo
