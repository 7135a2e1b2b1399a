#include "kurvenzeichnung.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <QPolygonF>

namespace varo {

namespace {

// Standard palette colours of the curve points.
QColor paletteFarbe(int index)
{
    switch (index) {
    case kurvenfarbe::Gruen:
        return QColor(0, 255, 0);
    case kurvenfarbe::Rot:
        return QColor(255, 0, 0);
    default:
        return QColor(128, 0, 128);
    }
}

QPen kosmetischerStift(const QColor &farbe, int breite)
{
    QPen stift(farbe);
    stift.setWidth(breite);
    stift.setCosmetic(true);
    stift.setCapStyle(Qt::SquareCap);
    return stift;
}

// Text keeps its point size whatever the scale: it is placed at the
// mapped position with its top-left corner there.
void texteZeichnen(QPainter &painter, const QTransform &abbildung, const QList<Beschriftung> &texte)
{
    if (texte.isEmpty())
        return;
    painter.resetTransform();
    painter.setFont(diagrammSchriftInPixeln());
    painter.setPen(Qt::black);
    const QFontMetricsF mass(painter.font(), painter.device());
    for (const Beschriftung &text : texte) {
        const QPointF oben = abbildung.map(text.ort);
        painter.drawText(QPointF(oben.x(), oben.y() + mass.ascent()), text.text);
    }
}

} // namespace

Textmass kurvenTextmass()
{
    const QFontMetricsF mass(diagrammSchriftInPixeln(), &messflaeche());
    Textmass t;
    t.hoehe = [mass](const QString &) { return mass.height() * kTwipsProEinheit; };
    t.breite = [mass](const QString &text) {
        return mass.horizontalAdvance(text) * kTwipsProEinheit;
    };
    return t;
}

QTransform twipsZuGeraet(double H)
{
    const double s = 1.0 / kTwipsProEinheit;
    return QTransform(s, 0.0, 0.0, -s, 0.0, H * s);
}

void kurveZeichnen(QPainter &painter, const Kurvenbild &bild)
{
    const QTransform abbildung = twipsZuGeraet(bild.hoehe);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.resetTransform();
    painter.fillRect(QRectF(0, 0, bild.breite / kTwipsProEinheit, bild.hoehe / kTwipsProEinheit),
                     Qt::white);

    // Axes, ticks and labels first, the curve over them in the order its
    // samples were computed (where it crosses itself the later one shows),
    // and the title last, over everything.
    painter.setTransform(abbildung);
    painter.setPen(kosmetischerStift(Qt::black, 1));
    painter.drawLines(bild.linien.constData(), int(bild.linien.size()));
    const qsizetype achsentexte = bild.texte.isEmpty() ? 0 : bild.texte.size() - 1;
    texteZeichnen(painter, abbildung, bild.texte.mid(0, achsentexte));

    // Runs of one colour go out in one call each: the curve has thousands
    // of points and changes colour only a few times.
    painter.setTransform(abbildung);
    QPolygonF lauf;
    lauf.reserve(bild.punkte.size());
    for (qsizetype anfang = 0; anfang < bild.punkte.size();) {
        const int farbe = bild.punkte.at(anfang).farbe;
        lauf.clear();
        qsizetype i = anfang;
        for (; i < bild.punkte.size() && bild.punkte.at(i).farbe == farbe; ++i)
            lauf.append(QPointF(bild.punkte.at(i).x, bild.punkte.at(i).y));
        painter.setPen(kosmetischerStift(paletteFarbe(farbe), 2));
        painter.drawPoints(lauf);
        anfang = i;
    }

    texteZeichnen(painter, abbildung, bild.texte.mid(achsentexte));
    painter.restore();
}

QImage kurvenBild(const Kurvenbild &bild, QSize einheiten, qreal pixelVerhaeltnis)
{
    QImage ziel = weissesBild(einheiten, pixelVerhaeltnis);
    if (ziel.isNull())
        return ziel;
    QPainter painter(&ziel);
    kurveZeichnen(painter, bild);
    return ziel;
}

} // namespace varo
