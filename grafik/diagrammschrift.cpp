#include "diagrammschrift.h"

#include <QFontInfo>
#include <QPaintDevice>

namespace varo {

namespace {

// 96 units per inch in dots per metre, as images store it.
constexpr int kPunkteProMeter = 3780;

} // namespace

QFont diagrammSchrift()
{
    QFont schrift(QStringLiteral("Franklin Gothic Medium"));
    schrift.setPointSizeF(7.8);
    schrift.setWeight(QFont::Normal);
    schrift.setStyleHint(QFont::SansSerif);
    return schrift;
}

QFont diagrammSchriftInPixeln()
{
    // The font engine works in whole pixels; a device that writes the size
    // down (SVG) must be told the size the text was measured at.
    QFont schrift = diagrammSchrift();
    schrift.setPixelSize(QFontInfo(QFont(schrift, &messflaeche())).pixelSize());
    return schrift;
}

QFont diagrammSchriftFuer(const QPaintDevice *geraet)
{
    QFont schrift = diagrammSchrift();
    const int dpi = geraet ? geraet->logicalDpiY() : kEinheitenProZoll;
    if (dpi > 0 && dpi != kEinheitenProZoll)
        schrift.setPointSizeF(schrift.pointSizeF() * kEinheitenProZoll / dpi);
    return schrift;
}

const QImage &messflaeche()
{
    static const QImage bild = weissesBild(QSize(1, 1));
    return bild;
}

QImage weissesBild(QSize einheiten, qreal pixelVerhaeltnis)
{
    QImage ziel(einheiten * pixelVerhaeltnis, QImage::Format_RGB32);
    if (ziel.isNull())
        return ziel;
    ziel.setDotsPerMeterX(kPunkteProMeter);
    ziel.setDotsPerMeterY(kPunkteProMeter);
    ziel.setDevicePixelRatio(pixelVerhaeltnis);
    ziel.fill(Qt::white);
    return ziel;
}

} // namespace varo
