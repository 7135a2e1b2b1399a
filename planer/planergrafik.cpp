#include "planergrafik.h"

#include "kurvenzeichnung.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QLineF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPolygonF>
#include <QSaveFile>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace varo {

namespace {

const QString alleBaender = QStringLiteral("Alle Bänder");
// The row of all bands is as high as this many band rows.
constexpr double kGesamtZeilen = 3.0;
// Far beyond any page or screen; keeps a typo from asking for gigabytes.
constexpr int kGroessteSeite = 20000;

const QColor kGesperrt(205, 50, 50);
const QColor kFrei(170, 225, 170);
const QColor kKurve(20, 40, 140);

struct Aufteilung
{
    QRectF flaeche;
    double zeile = 0.0; // height of one band row
    double textHoehe = 0.0;
    double von = 0.0;    // length at the left edge
    double spanne = 1.0; // metres across the area
};

// Text is measured with the curve's font on a 96 dpi device, so that the
// window, the images and the PDF lay the chart out alike.
Aufteilung aufteilen(const Planung &p, const QSizeF &groesse)
{
    const Textmass mass = kurvenTextmass();
    Aufteilung a;
    a.textHoehe = mass.hoehe(QStringLiteral("Hg")) / kTwipsProEinheit;
    double beschriftung = mass.breite(alleBaender);
    for (const Band &band : p.anfrage.baender)
        beschriftung = std::max(beschriftung, mass.breite(band.name));
    const double links = beschriftung / kTwipsProEinheit + 14.0;
    const double rechts = 28.0;
    const double oben = 6.0;
    const double unten = a.textHoehe + 12.0;
    a.flaeche = QRectF(links, oben, std::max(1.0, groesse.width() - links - rechts),
                       std::max(1.0, groesse.height() - oben - unten));
    a.zeile = a.flaeche.height() / (static_cast<double>(p.anfrage.baender.size()) + kGesamtZeilen);
    a.von = p.anfrage.vonLaenge;
    const double spanne = p.anfrage.bisLaenge - p.anfrage.vonLaenge;
    a.spanne = spanne > 0.0 ? spanne : 1.0;
    return a;
}

double xBei(const Aufteilung &a, double laenge)
{
    return a.flaeche.left() + (laenge - a.von) / a.spanne * a.flaeche.width();
}

// The stretch of a run of grid lengths, each length taking its step.
QRectF streifen(const Aufteilung &a, const Planung &p, qint64 von, qint64 bis, double oben,
                double hoehe)
{
    const double halb = p.anfrage.schritt / 2.0;
    const double x1 = std::max(a.flaeche.left(), xBei(a, p.laenge(von) - halb));
    const double x2 = std::min(a.flaeche.right(), xBei(a, p.laenge(bis) + halb));
    // Even a single length stays visible.
    return QRectF(x1, oben, std::max(1.0, x2 - x1), hoehe);
}

QString achsenText(double wert, double teilung, const QLocale &locale)
{
    const int stellen = std::max(0, static_cast<int>(std::ceil(-std::log10(teilung) - 1e-9)));
    return locale.toString(wert, 'f', stellen);
}

void kurveZeichnen(QPainter &painter, const Planung &p, const Aufteilung &a, const QRectF &zeile)
{
    const double innen = 2.0;
    const auto yBei = [&](double abstand) {
        return zeile.bottom() - innen - abstand / 90.0 * (zeile.height() - 2.0 * innen);
    };
    QPen stift(kKurve);
    stift.setCosmetic(true);
    stift.setWidthF(1.0);
    painter.setPen(stift);

    const int spalten = std::max(1, static_cast<int>(std::ceil(a.flaeche.width())));
    if (p.anzahl <= 2 * static_cast<qint64>(spalten)) {
        QPolygonF linie;
        linie.reserve(static_cast<qsizetype>(p.anzahl));
        for (qint64 i = 0; i < p.anzahl; ++i)
            linie << QPointF(xBei(a, p.laenge(i)), yBei(p.abstand[static_cast<size_t>(i)]));
        painter.drawPolyline(linie);
        return;
    }
    // More lengths than pixels: each column shows the lowest and the highest
    // margin in it, so that no dip to an odd quarter wave disappears.
    std::vector<double> tief(static_cast<size_t>(spalten), std::numeric_limits<double>::max());
    std::vector<double> hoch(static_cast<size_t>(spalten), -1.0);
    for (qint64 i = 0; i < p.anzahl; ++i) {
        const int s =
            std::clamp(static_cast<int>(xBei(a, p.laenge(i)) - a.flaeche.left()), 0, spalten - 1);
        const double wert = p.abstand[static_cast<size_t>(i)];
        tief[static_cast<size_t>(s)] = std::min(tief[static_cast<size_t>(s)], wert);
        hoch[static_cast<size_t>(s)] = std::max(hoch[static_cast<size_t>(s)], wert);
    }
    QList<QLineF> linien;
    linien.reserve(spalten);
    for (int s = 0; s < spalten; ++s) {
        if (hoch[static_cast<size_t>(s)] < 0.0)
            continue;
        const double x = a.flaeche.left() + s + 0.5;
        linien << QLineF(x, yBei(tief[static_cast<size_t>(s)]), x,
                         yBei(hoch[static_cast<size_t>(s)]) - 0.5);
    }
    painter.drawLines(linien);
}

} // namespace

QRectF planFlaeche(const Planung &planung, const QSizeF &groesse)
{
    return aufteilen(planung, groesse).flaeche;
}

qint64 planIndexBei(const Planung &planung, const QSizeF &groesse, double x)
{
    const Aufteilung a = aufteilen(planung, groesse);
    if (planung.anzahl <= 0 || x < a.flaeche.left() || x > a.flaeche.right())
        return -1;
    const double laenge = a.von + (x - a.flaeche.left()) / a.flaeche.width() * a.spanne;
    const double i = std::round((laenge - planung.anfrage.vonLaenge) / planung.anfrage.schritt);
    return std::clamp<qint64>(static_cast<qint64>(i), 0, planung.anzahl - 1);
}

double achsenTeilung(double spanne, int ziel)
{
    if (!(spanne > 0.0) || ziel < 1)
        return 1.0;
    const double roh = spanne / ziel;
    const double zehner = std::pow(10.0, std::floor(std::log10(roh)));
    for (double faktor : {1.0, 2.0, 5.0, 10.0}) {
        if (faktor * zehner >= roh * (1.0 - 1e-12))
            return faktor * zehner;
    }
    return 10.0 * zehner;
}

void planZeichnen(QPainter &painter, const Planung &p, const QSizeF &groesse, const QLocale &locale,
                  qint64 markiert)
{
    painter.save();
    painter.fillRect(QRectF(QPointF(0, 0), groesse), Qt::white);
    painter.setFont(kurvenSchrift());
    painter.setRenderHint(QPainter::Antialiasing, false);
    const Aufteilung a = aufteilen(p, groesse);
    const QRectF &f = a.flaeche;
    const double textLinks = f.left() - 8.0;

    // One row per band: grey, red where that band rules the length out.
    const int baender = static_cast<int>(p.anfrage.baender.size());
    for (int b = 0; b < baender; ++b) {
        const double oben = f.top() + b * a.zeile;
        painter.fillRect(QRectF(f.left(), oben, f.width(), a.zeile),
                         b % 2 == 0 ? QColor(236, 236, 236) : QColor(246, 246, 246));
        if (static_cast<size_t>(b) < p.gesperrt.size()) {
            for (const Rasterbereich &r : p.gesperrt[static_cast<size_t>(b)])
                painter.fillRect(streifen(a, p, r.von, r.bis, oben + 1.0, a.zeile - 2.0),
                                 kGesperrt);
        }
        painter.setPen(Qt::black);
        painter.drawText(QRectF(0.0, oben, textLinks, a.zeile), Qt::AlignRight | Qt::AlignVCenter,
                         p.anfrage.baender.at(b).name);
    }

    // All bands: green where the margin reaches the required one, the margin
    // itself as a curve from 0° (bottom) to 90° (top).
    const QRectF gesamt(f.left(), f.top() + baender * a.zeile, f.width(), kGesamtZeilen * a.zeile);
    painter.fillRect(gesamt, QColor(250, 250, 250));
    for (const Freibereich &frei : p.frei)
        painter.fillRect(streifen(a, p, frei.von, frei.bis, gesamt.top(), gesamt.height()), kFrei);
    const double innen = 2.0;
    const double yGefordert =
        gesamt.bottom() - innen - p.anfrage.abstand / 90.0 * (gesamt.height() - 2.0 * innen);
    QPen gestrichelt(QColor(90, 90, 90));
    gestrichelt.setStyle(Qt::DashLine);
    gestrichelt.setCosmetic(true);
    painter.setPen(gestrichelt);
    painter.drawLine(QPointF(f.left(), yGefordert), QPointF(f.right(), yGefordert));
    if (p.anzahl > 0) {
        painter.setRenderHint(QPainter::Antialiasing, true);
        kurveZeichnen(painter, p, a, gesamt);
        painter.setRenderHint(QPainter::Antialiasing, false);
    }
    painter.setPen(Qt::black);
    painter.drawText(QRectF(0.0, gesamt.top(), textLinks, gesamt.height()),
                     Qt::AlignRight | Qt::AlignVCenter, alleBaender);
    painter.drawText(QRectF(f.right() + 2.0, yGefordert - a.textHoehe, 40.0, a.textHoehe),
                     Qt::AlignLeft | Qt::AlignBottom,
                     locale.toString(p.anfrage.abstand, 'f', 0) + QStringLiteral("°"));

    // The best length of all, as a small mark on the curve row's top.
    if (p.bester >= 0) {
        const double x = xBei(a, p.laenge(p.bester));
        painter.setBrush(QColor(0, 120, 0));
        painter.setPen(Qt::NoPen);
        painter.drawPolygon(
            QPolygonF({QPointF(x - 4.0, gesamt.top()), QPointF(x + 4.0, gesamt.top()),
                       QPointF(x, gesamt.top() + 6.0)}));
        painter.setBrush(Qt::NoBrush);
    }

    // Frame and length axis.
    QPen rahmen(Qt::black);
    rahmen.setCosmetic(true);
    painter.setPen(rahmen);
    painter.drawRect(f);
    const double teilung = achsenTeilung(a.spanne, std::max(2, static_cast<int>(f.width() / 70.0)));
    const QFontMetricsF mass(painter.font(), painter.device());
    const double ersterTeil = std::ceil(a.von / teilung - 1e-9);
    for (int k = 0;; ++k) {
        const double t = (ersterTeil + k) * teilung;
        if (t > a.von + a.spanne + 1e-9)
            break;
        const double x = xBei(a, t);
        painter.drawLine(QPointF(x, f.bottom()), QPointF(x, f.bottom() + 4.0));
        const QString text = achsenText(t, teilung, locale);
        const double breite = mass.horizontalAdvance(text);
        painter.drawText(QPointF(x - breite / 2.0, f.bottom() + 5.0 + mass.ascent()), text);
    }
    painter.drawText(QPointF(f.right() + 14.0, f.bottom() + 5.0 + mass.ascent()),
                     QStringLiteral("m"));

    if (markiert >= 0 && markiert < p.anzahl) {
        const double x = xBei(a, p.laenge(markiert));
        painter.drawLine(QPointF(x, f.top()), QPointF(x, f.bottom()));
    }
    painter.restore();
}

QSize planDesignGroesse(const Planung &planung)
{
    const int zeilen = static_cast<int>(planung.anfrage.baender.size()) + 3;
    return QSize(960, std::max(240, 40 + 26 * zeilen));
}

bool planExportieren(const Planung &planung, const QString &datei, QSize pixel,
                     const QLocale &locale, QString &meldung)
{
    meldung.clear();
    const auto fehlschlag = [&](const QString &grund) {
        meldung = QStringLiteral("Die Datei „%1“ kann nicht geschrieben werden: %2")
                      .arg(QDir::toNativeSeparators(datei), grund);
        return false;
    };
    const QString endung = QFileInfo(datei).suffix().toLower();
    if (endung != QLatin1String("png") && endung != QLatin1String("svg") &&
        endung != QLatin1String("pdf")) {
        meldung = QStringLiteral("Unbekannte Dateiendung „%1“: möglich sind .png, .svg und .pdf.")
                      .arg(QFileInfo(datei).suffix());
        return false;
    }
    if (!pixel.isValid())
        pixel = planDesignGroesse(planung);
    if (pixel.width() > kGroessteSeite || pixel.height() > kGroessteSeite) {
        meldung = QStringLiteral("Die Bildgröße %1 × %2 Pixel ist zu groß (höchstens %3).")
                      .arg(pixel.width())
                      .arg(pixel.height())
                      .arg(kGroessteSeite);
        return false;
    }

    QSaveFile ziel(datei);
    if (!ziel.open(QIODevice::WriteOnly))
        return fehlschlag(ziel.errorString());
    bool gezeichnet = false;
    const QString titel = QStringLiteral("Varolinaten-Planung");
    if (endung == QLatin1String("png")) {
        QImage bild(pixel, QImage::Format_RGB32);
        bild.setDotsPerMeterX(3780); // 96 dpi, as the layout is measured
        bild.setDotsPerMeterY(3780);
        QPainter painter(&bild);
        planZeichnen(painter, planung, QSizeF(pixel), locale);
        painter.end();
        gezeichnet = bild.save(&ziel, "PNG");
    } else if (endung == QLatin1String("svg")) {
        QSvgGenerator svg;
        svg.setOutputDevice(&ziel);
        svg.setSize(pixel);
        svg.setViewBox(QRect(QPoint(0, 0), pixel));
        svg.setResolution(96);
        svg.setTitle(titel);
        QPainter painter;
        if (painter.begin(&svg)) {
            planZeichnen(painter, planung, QSizeF(pixel), locale);
            gezeichnet = painter.end();
        }
    } else {
        QPdfWriter pdf(&ziel);
        pdf.setResolution(96);
        pdf.setTitle(titel);
        pdf.setCreator(QStringLiteral("Varolinaten"));
        pdf.setPageLayout(QPageLayout(QPageSize(QSizeF(pixel) / 96.0, QPageSize::Inch),
                                      QPageLayout::Portrait, QMarginsF()));
        QPainter painter;
        if (painter.begin(&pdf)) {
            planZeichnen(painter, planung, QSizeF(pixel), locale);
            gezeichnet = painter.end();
        }
    }
    if (!gezeichnet) {
        ziel.cancelWriting();
        return fehlschlag(ziel.errorString().isEmpty() ? QStringLiteral("Zeichnen fehlgeschlagen")
                                                       : ziel.errorString());
    }
    if (!ziel.commit())
        return fehlschlag(ziel.errorString());
    return true;
}

} // namespace varo
