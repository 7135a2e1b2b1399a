#include "vermessbild.h"

#include "diagrammschrift.h"
#include "frequenzdiagramm.h"
#include "kabeltabelle.h"
#include "zahlenformat.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace varo {

namespace {

// Margins in device units besides the shared left and top ones: the right
// and the bottom for the frequencies.
constexpr double kRechts = 24.0;
constexpr double kUnten = 40.0;
constexpr double kLuecke = 34.0;
constexpr int kKurvenpunkte = 200;

const QColor farbeVk(0, 90, 200);
const QColor farbeVerlust(170, 0, 140);
const QColor farbeAnpassung(0, 0, 0);

using Auslegung = Frequenzauslegung;

// The Vk axis spans the points and at least ±0,005 around the mean; the
// loss axis starts at 0 and stops at three times the fitted curve's top, so
// that the scatter near a resonance does not squeeze the curve.
void felderAuslegen(Vermessbild &bild, const Kabelmessergebnis &e, const Auslegung &a)
{
    const double hoehe = std::max(1.0, (a.bereich.height() - kLuecke) / 2.0);
    bild.vk.rechteck = QRectF(a.bereich.left(), a.bereich.top(), a.bereich.width(), hoehe);
    bild.verlust.rechteck =
        QRectF(a.bereich.left(), bild.vk.rechteck.bottom() + kLuecke, a.bereich.width(), hoehe);
    bild.vk.y =
        achseUeber(std::min(e.VkMin, e.VkMittel - 0.005), std::max(e.VkMax, e.VkMittel + 0.005), 5);
    double kurve = 0.0, punkte = 0.0;
    for (const Messwert &w : e.werte) {
        kurve = std::max(kurve, e.verlust.dBPro100m(w.fMHz));
        punkte = std::max(punkte, w.dBPro100m);
    }
    const double oben = kurve > 0.0 ? std::min(punkte, 3.0 * kurve) : punkte;
    bild.verlust.y = achseUeber(0.0, std::max({oben, kurve, 0.1}), 5);
    bild.verlust.y.von = 0.0;
}

void wertachseAuslegen(Vermessbild &bild, const Vermessfeld &feld, const Auslegung &a)
{
    for (const double y : achsenMarken(feld.y.von, feld.y.bis, feld.y.schritt)) {
        const double py = feld.yZuPixel(y);
        bild.gitter.append(QLineF(feld.rechteck.left(), py, feld.rechteck.right(), py));
        const QString text = achsenText(y, feld.y.schritt, a.locale);
        bild.achsentexte.append(
            {QPointF(feld.rechteck.left() - 6.0 - a.mass.horizontalAdvance(text),
                     py + a.mass.ascent() / 2.5),
             text});
    }
}

void kurvenAuslegen(Vermessbild &bild, const Kabelmessergebnis &e, const Auslegung &a)
{
    Punktreihe vk{{}, farbeVk}, verlust{{}, farbeVerlust};
    for (const Messwert &w : e.werte) {
        vk.orte.append(QPointF(a.xBei(w.fMHz), bild.vk.yZuPixel(w.Vk)));
        verlust.orte.append(QPointF(a.xBei(w.fMHz), bild.verlust.yZuPixel(w.dBPro100m)));
    }
    bild.punkte = {vk, verlust};
    const double yMittel = bild.vk.yZuPixel(e.VkMittel);
    Linienzug mittel{
        {QPolygonF({QPointF(a.bereich.left(), yMittel), QPointF(a.bereich.right(), yMittel)})},
        diagrammStift(farbeAnpassung, 1.4, Qt::DashLine)};
    QPolygonF anpassung;
    for (int i = 0; i <= kKurvenpunkte; ++i) {
        const double f = a.fVon + (a.fBis - a.fVon) * i / kKurvenpunkte;
        anpassung.append(QPointF(a.xBei(f), bild.verlust.yZuPixel(e.verlust.dBPro100m(f))));
    }
    bild.kurven = {mittel, {{anpassung}, diagrammStift(farbeAnpassung, 1.6)}};
    const QRectF vkRand = bild.vk.rechteck.adjusted(-3, -3, 3, 3);
    const QRectF verlustRand = bild.verlust.rechteck.adjusted(-3, -3, 3, 3);
    bild.ausschnitte = {vkRand, verlustRand, vkRand, verlustRand};
}

} // namespace

Vermessbild vermessbildBerechnen(const Kabelmessergebnis &ergebnis, const QString &ueberschrift,
                                 QSizeF flaeche, const QLocale &locale)
{
    Vermessbild bild;
    bild.flaeche = flaeche;
    const QFontMetricsF mass(diagrammSchrift(), &messflaeche());
    bild.ueberschrift = ueberschriftAuslegen(ueberschrift, mass);
    const QList<Messwert> &werte = ergebnis.werte;
    if (werte.size() < 2 || !(werte.last().fMHz > werte.first().fMHz))
        return bild;

    bild.mitAchsen = true;
    const QRectF bereich(kDiagrammLinks, kDiagrammOben,
                         std::max(1.0, flaeche.width() - kDiagrammLinks - kRechts),
                         std::max(1.0, flaeche.height() - kDiagrammOben - kUnten));
    const Auslegung a{bereich, werte.first().fMHz, werte.last().fMHz, mass, achsenLocale(locale)};
    felderAuslegen(bild, ergebnis, a);
    frequenzachseAuslegen(a, {bild.vk.rechteck, bild.verlust.rechteck}, bild.gitter,
                          bild.achsentexte);
    wertachseAuslegen(bild, bild.vk, a);
    wertachseAuslegen(bild, bild.verlust, a);
    kurvenAuslegen(bild, ergebnis, a);
    const Legendenteile legende{bild.legendenStriche, bild.legendenFarben, bild.texte};
    legendeAuslegen(
        legende, bild.vk.rechteck,
        {{QStringLiteral("Vk gemessen"), farbeVk}, {QStringLiteral("Mittelwert"), farbeAnpassung}},
        mass);
    legendeAuslegen(legende, bild.verlust.rechteck,
                    {{QStringLiteral("Dämpfung/dB pro 100 m gemessen"), farbeVerlust},
                     {QStringLiteral("angepasst: k1·√f + k2·f"), farbeAnpassung}},
                    mass);
    bild.texte.append(frequenzeinheitAuslegen(a, bild.verlust.rechteck.bottom()));
    return bild;
}

void vermessbildZeichnen(QPainter &painter, const Vermessbild &bild)
{
    painter.save();
    diagrammgrundZeichnen(painter, bild.flaeche, bild.ueberschrift);
    if (bild.mitAchsen) {
        gitterZeichnen(painter, bild.gitter, bild.achsentexte);
        painter.setPen(diagrammStift(Qt::black, 1.0));
        painter.drawRect(bild.vk.rechteck);
        painter.drawRect(bild.verlust.rechteck);
        painter.save();
        for (qsizetype i = 0; i < bild.punkte.size(); ++i) {
            painter.setClipRect(bild.ausschnitte.at(i));
            painter.setPen(Qt::NoPen);
            painter.setBrush(bild.punkte.at(i).farbe);
            for (const QPointF &ort : bild.punkte.at(i).orte)
                painter.drawEllipse(ort, 1.8, 1.8);
        }
        painter.setBrush(Qt::NoBrush);
        for (qsizetype i = 0; i < bild.kurven.size(); ++i) {
            painter.setClipRect(bild.ausschnitte.at(bild.punkte.size() + i));
            linienzugZeichnen(painter, bild.kurven.at(i));
        }
        painter.restore();
        legendenstricheZeichnen(painter, bild.legendenStriche, bild.legendenFarben);
        texteZeichnen(painter, bild.texte);
    }
    painter.restore();
}

QSize vermessDesignGroesse()
{
    return QSize(640, 420);
}

QList<Vermesszeile> vermesszeilen(const Kabelmessergebnis &ergebnis)
{
    QList<Vermesszeile> zeilen;
    for (const Daempfungspunkt &p : ergebnis.zeilenpunkte) {
        const Komplex zo =
            leitungskonstanten(ergebnis.impedanz, ergebnis.VkMittel, ergebnis.verlust, p.fMHz, true)
                .Zo;
        zeilen.append({p.fMHz, zo, p.dBPro100m});
    }
    std::sort(zeilen.begin(), zeilen.end(),
              [](const Vermesszeile &a, const Vermesszeile &b) { return a.fMHz < b.fMHz; });
    return zeilen;
}

QString impedanzText(Komplex z, const QLocale &locale)
{
    const auto zahl = [&locale](double wert) {
        return formatZahl(wert, QStringLiteral("0.0#"), locale);
    };
    return QStringLiteral("%1 %2 j%3 Ω")
        .arg(zahl(z.real()), z.imag() < 0.0 ? QStringLiteral("−") : QStringLiteral("+"),
             zahl(std::abs(z.imag())));
}

int zeileGleichenNamens(const QStringList &zeilen, const QString &zeile)
{
    const QString typ = kabelZerlegen(zeile).Typ.simplified();
    for (const Kabeltyp &k : kabelZeilenLesen(zeilen))
        if (k.Typ.simplified().compare(typ, Qt::CaseInsensitive) == 0)
            return k.zeile - 1;
    return -1;
}

QByteArray tabelleMitZeile(QStringList zeilen, const QString &zeile, int &index)
{
    // A last line break leaves an empty last line; the new row goes before it.
    if (!zeilen.isEmpty() && zeilen.last().isEmpty())
        zeilen.removeLast();
    if (index < 0 || index >= zeilen.size()) {
        index = int(zeilen.size());
        zeilen.append(zeile);
    } else {
        zeilen[index] = zeile;
    }
    return (zeilen.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
}

} // namespace varo
