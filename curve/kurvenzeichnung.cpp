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

// A device of 96 units per inch to measure text with.
const QImage &messflaeche()
{
    static const QImage bild = [] {
        QImage b(1, 1, QImage::Format_RGB32);
        b.setDotsPerMeterX(3780); // 96 dpi
        b.setDotsPerMeterY(3780);
        return b;
    }();
    return bild;
}

} // namespace

QFont kurvenSchrift()
{
    QFont schrift(QStringLiteral("Franklin Gothic Medium"));
    schrift.setPointSizeF(7.8);
    schrift.setWeight(QFont::Normal);
    schrift.setStyleHint(QFont::SansSerif);
    return schrift;
}

Textmass kurvenTextmass()
{
    const QFontMetricsF mass(kurvenSchrift(), &messflaeche());
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
    const QTransform abbildung = twipsZuGeraet(bild.H);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.resetTransform();
    painter.fillRect(QRectF(0, 0, bild.W / kTwipsProEinheit, bild.H / kTwipsProEinheit), Qt::white);

    painter.setTransform(abbildung);
    painter.setPen(kosmetischerStift(Qt::black, 1));
    painter.drawLines(bild.linien.constData(), int(bild.linien.size()));

    // One polygon per colour: the curve has thousands of points.
    QPolygonF gruen, magenta, rot;
    gruen.reserve(bild.punkte.size());
    for (const Messpunkt &punkt : bild.punkte) {
        const QPointF ort(punkt.x, punkt.y);
        if (punkt.farbe == kurvenfarbe::Gruen)
            gruen.append(ort);
        else if (punkt.farbe == kurvenfarbe::Rot)
            rot.append(ort);
        else
            magenta.append(ort);
    }
    const std::pair<const QPolygonF *, int> gruppen[] = {
        {&gruen, kurvenfarbe::Gruen}, {&magenta, kurvenfarbe::Magenta}, {&rot, kurvenfarbe::Rot}};
    for (const auto &[punkte, farbe] : gruppen) {
        if (punkte->isEmpty())
            continue;
        painter.setPen(kosmetischerStift(paletteFarbe(farbe), 2));
        painter.drawPoints(*punkte);
    }

    // Text keeps its point size whatever the scale: it is placed at the
    // mapped position with its top-left corner there.
    painter.resetTransform();
    painter.setFont(kurvenSchrift());
    painter.setPen(Qt::black);
    const QFontMetricsF mass(painter.font(), painter.device());
    for (const Beschriftung &text : bild.texte) {
        const QPointF oben = abbildung.map(text.ort);
        painter.drawText(QPointF(oben.x(), oben.y() + mass.ascent()), text.text);
    }
    painter.restore();
}

QImage kurvenBild(const Kurvenbild &bild, QSize einheiten, qreal pixelVerhaeltnis)
{
    QImage ziel(einheiten * pixelVerhaeltnis, QImage::Format_RGB32);
    if (ziel.isNull())
        return ziel;
    ziel.setDotsPerMeterX(3780);
    ziel.setDotsPerMeterY(3780);
    ziel.setDevicePixelRatio(pixelVerhaeltnis);
    ziel.fill(Qt::white);
    QPainter painter(&ziel);
    kurveZeichnen(painter, bild);
    return ziel;
}

} // namespace varo
