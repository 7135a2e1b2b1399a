#include "leitungszeichnung.h"

#include "ausduennen.h"

#include "diagrammschrift.h"
#include "frequenzdiagramm.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <functional>

namespace varo {

namespace {

// Margins in device units besides the shared left and top ones: the right
// for the loss axis, the bottom for frequencies and the summary.
constexpr double kRechts = 64.0;
constexpr double kUnten = 56.0;
constexpr double kLuecke = 30.0;
// A line that hardly reflects can still show a huge SWR; the axis stops here.
constexpr double kHoechstesSwr = 20.0;
// A trace keeps at most four points per unit (a screen pixel at scale 1):
// its envelope stays as it was, an extreme moves by less than 0.3 mm.
constexpr double kSpaltenbreite = 1.0;

const QColor farbeR(0, 90, 200);
const QColor farbeX(220, 110, 0);
const QColor farbeZ(0, 0, 0);
const QColor farbeSwr(0, 140, 60);
const QColor farbeVerlust(170, 0, 140);

QString zahl(double wert, const QLocale &locale, int stellen = 4)
{
    QLocale l = locale;
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    if (std::isinf(wert))
        return QStringLiteral("∞");
    return l.toString(wert, 'g', stellen);
}

using Auslegung = Frequenzauslegung;

void felderAuslegen(Leitungsbild &bild, const QList<Leitungswerte> &werte, const QRectF &bereich)
{
    const double hoeheOben = std::max(1.0, (bereich.height() - kLuecke) * 0.55);
    bild.oben.rechteck = QRectF(bereich.left(), bereich.top(), bereich.width(), hoeheOben);
    bild.unten.rechteck =
        QRectF(bereich.left(), bild.oben.rechteck.bottom() + kLuecke, bereich.width(),
               std::max(1.0, bereich.bottom() - bild.oben.rechteck.bottom() - kLuecke));

    double zKlein = 0.0, zGross = 0.0, swrGross = 1.0, verlustGross = 0.0;
    for (const Leitungswerte &w : werte) {
        zKlein = std::min({zKlein, w.Zin.real(), w.Zin.imag()});
        zGross = std::max({zGross, w.Zin.real(), w.Zin.imag(), std::abs(w.Zin)});
        if (std::isfinite(w.swrSender))
            swrGross = std::max(swrGross, w.swrSender);
        verlustGross = std::max(verlustGross, w.verlustGesamt);
    }
    bild.oben.y = achseUeber(zKlein, zGross, 6);
    bild.unten.y = achseUeber(1.0, std::min(std::max(swrGross, 2.0), kHoechstesSwr), 5);
    bild.unten.y.von = 1.0;
    bild.verlust.rechteck = bild.unten.rechteck;
    bild.verlust.y = achseUeber(0.0, std::max(verlustGross, 0.1), 5);
    bild.verlust.y.von = 0.0;
}

// Grid lines through both panels and a label under each tick.
void frequenzachseAuslegen(Leitungsbild &bild, const Auslegung &a)
{
    const Frequenzachse f = frequenzachseAuslegen(a, {bild.oben.rechteck, bild.unten.rechteck},
                                                  bild.gitter, bild.achsentexte);
    bild.frequenz = f.achse;
    bild.frequenzMarken = f.marken;
}

// The lower edge and every multiple of the step above it (the SWR starts
// at 1), labelled left or right of the panel; grid lines for the left axes.
void wertachseAuslegen(Leitungsbild &bild, Leitungsfeld &feld, bool links, const QColor &farbe,
                       const Auslegung &a)
{
    feld.marken = {feld.y.von};
    double erste = std::floor(feld.y.von / feld.y.schritt + 1.0 + 1e-9) * feld.y.schritt;
    if (erste - feld.y.von < feld.y.schritt / 2.0)
        erste += feld.y.schritt; // labels must not overlap
    const int n = int(std::lround((feld.y.bis - erste) / feld.y.schritt));
    for (int i = 0; i <= n; ++i)
        feld.marken.append(erste + i * feld.y.schritt);
    for (const double y : std::as_const(feld.marken)) {
        const double py = feld.yZuPixel(y);
        if (links)
            bild.gitter.append(QLineF(feld.rechteck.left(), py, feld.rechteck.right(), py));
        const QString text = achsenText(y, feld.y.schritt, a.locale);
        const double x = links ? feld.rechteck.left() - 6.0 - a.mass.horizontalAdvance(text)
                               : feld.rechteck.right() + 6.0;
        bild.achsentexte.append({QPointF(x, py + a.mass.ascent() / 2.5), text, farbe});
    }
}

Leitungskurve kurve(const QList<Leitungswerte> &werte, const Leitungsfeld &feld, const Auslegung &a,
                    const std::function<double(const Leitungswerte &)> &wert, const QPen &stift)
{
    Leitungskurve k{{{}, stift}, feld.rechteck.adjusted(-1, -1, 1, 1)};
    QPolygonF teil;
    for (const Leitungswerte &w : werte) {
        const double v = std::min(wert(w), feld.y.bis);
        if (!std::isfinite(v)) {
            if (!teil.isEmpty())
                k.zug.teile.append(spaltenweiseAusduennen(teil, kSpaltenbreite));
            teil.clear();
            continue;
        }
        teil.append(QPointF(a.xBei(w.fMHz), feld.yZuPixel(v)));
    }
    if (!teil.isEmpty())
        k.zug.teile.append(spaltenweiseAusduennen(teil, kSpaltenbreite));
    return k;
}

void kurvenAuslegen(Leitungsbild &bild, const Leitungsdiagramm &diagramm, const Auslegung &a)
{
    const QList<Leitungswerte> &werte = diagramm.werte;
    bild.kurven = {kurve(
                       werte, bild.oben, a, [](const Leitungswerte &w) { return w.Zin.real(); },
                       diagrammStift(farbeR, 1.6)),
                   kurve(
                       werte, bild.oben, a, [](const Leitungswerte &w) { return w.Zin.imag(); },
                       diagrammStift(farbeX, 1.6)),
                   kurve(
                       werte, bild.oben, a, [](const Leitungswerte &w) { return std::abs(w.Zin); },
                       diagrammStift(farbeZ, 1.6, Qt::DashLine)),
                   kurve(
                       werte, bild.unten, a, [](const Leitungswerte &w) { return w.swrSender; },
                       diagrammStift(farbeSwr, 1.8))};
    if (diagramm.mitVerlust)
        bild.kurven.append(kurve(
            werte, bild.verlust, a, [](const Leitungswerte &w) { return w.verlustGesamt; },
            diagrammStift(farbeVerlust, 1.4, Qt::DashLine)));
}

} // namespace

QString leitungsZusammenfassung(const Leitungsdiagramm &diagramm, const QLocale &locale)
{
    const QList<Leitungswerte> &werte = diagramm.werte;
    if (werte.isEmpty())
        return {};
    const auto [kleinst, groesst] = std::minmax_element(
        werte.cbegin(), werte.cend(),
        [](const Leitungswerte &a, const Leitungswerte &b) { return a.swrSender < b.swrSender; });
    const Leitungswerte &mitte = werte.at(werte.size() / 2);
    QString text = QStringLiteral("SWR am Sender: kleinstes %1 bei %2 MHz, größtes %3 bei %4 MHz")
                       .arg(zahl(kleinst->swrSender, locale, 3), zahl(kleinst->fMHz, locale, 7),
                            zahl(groesst->swrSender, locale, 3), zahl(groesst->fMHz, locale, 7));
    if (diagramm.mitVerlust)
        text += QStringLiteral("; Verlust gesamt in der Mitte (%1 MHz): %2 dB")
                    .arg(zahl(mitte.fMHz, locale, 7), zahl(mitte.verlustGesamt, locale, 3));
    else
        text += QStringLiteral("; ohne Verluste gerechnet");
    return text;
}

QString leitungsAblesung(const Leitungswerte &w, const QLocale &locale)
{
    const double x = w.Zin.imag();
    return QStringLiteral("f = %1 MHz   Z = %2 %3 j%4 Ω   |Z| = %5 Ω   SWR Sender %6, Antenne %7"
                          "   Verlust angepasst %8 dB, gesamt %9 dB")
        .arg(zahl(w.fMHz, locale, 7), zahl(w.Zin.real(), locale),
             x < 0.0 ? QStringLiteral("−") : QStringLiteral("+"), zahl(std::abs(x), locale),
             zahl(std::abs(w.Zin), locale), zahl(w.swrSender, locale, 3),
             zahl(w.swrAntenne, locale, 3), zahl(w.verlustAngepasst, locale, 3),
             zahl(w.verlustGesamt, locale, 3));
}

QRectF leitungsZeichenbereich(QSizeF flaeche)
{
    return QRectF(kDiagrammLinks, kDiagrammOben,
                  std::max(1.0, flaeche.width() - kDiagrammLinks - kRechts),
                  std::max(1.0, flaeche.height() - kDiagrammOben - kUnten));
}

int leitungsIndexBei(const Leitungsdiagramm &diagramm, QSizeF flaeche, double x)
{
    const QList<Leitungswerte> &werte = diagramm.werte;
    const QRectF bereich = leitungsZeichenbereich(flaeche);
    if (werte.size() < 2 || x < bereich.left() || x > bereich.right())
        return -1;
    const double von = werte.first().fMHz;
    const double bis = werte.last().fMHz;
    const double f = von + (x - bereich.left()) / bereich.width() * (bis - von);
    const auto naechster =
        std::lower_bound(werte.cbegin(), werte.cend(), f,
                         [](const Leitungswerte &w, double wert) { return w.fMHz < wert; });
    qsizetype i = naechster - werte.cbegin();
    if (i >= werte.size())
        i = werte.size() - 1;
    if (i > 0 && f - werte.at(i - 1).fMHz < werte.at(i).fMHz - f)
        --i;
    return int(i);
}

Leitungsbild leitungsbildBerechnen(const Leitungsdiagramm &diagramm, QSizeF flaeche,
                                   const QLocale &locale, int markiert)
{
    Leitungsbild bild;
    bild.flaeche = flaeche;
    const QFontMetricsF mass(diagrammSchrift(), &messflaeche());
    bild.ueberschrift = ueberschriftAuslegen(diagramm.ueberschrift, mass);
    const QList<Leitungswerte> &werte = diagramm.werte;
    if (werte.size() < 2)
        return bild;

    bild.mitAchsen = true;
    const Auslegung a{leitungsZeichenbereich(flaeche), werte.first().fMHz, werte.last().fMHz, mass,
                      achsenLocale(locale)};
    felderAuslegen(bild, werte, a.bereich);
    frequenzachseAuslegen(bild, a);
    wertachseAuslegen(bild, bild.oben, true, Qt::black, a);
    wertachseAuslegen(bild, bild.unten, true, farbeSwr, a);
    if (diagramm.mitVerlust)
        wertachseAuslegen(bild, bild.verlust, false, farbeVerlust, a);
    if (bild.oben.y.von < 0.0 && bild.oben.y.bis > 0.0)
        bild.nulllinie = QLineF(bild.oben.rechteck.left(), bild.oben.yZuPixel(0.0),
                                bild.oben.rechteck.right(), bild.oben.yZuPixel(0.0));
    kurvenAuslegen(bild, diagramm, a);

    const Legendenteile legende{bild.legendenStriche, bild.legendenFarben, bild.texte};
    legendeAuslegen(legende, bild.oben.rechteck,
                    {{QStringLiteral("R/Ω"), farbeR},
                     {QStringLiteral("X/Ω"), farbeX},
                     {QStringLiteral("|Z|/Ω am Sender"), farbeZ}},
                    mass);
    QList<std::pair<QString, QColor>> untenEintraege{{QStringLiteral("SWR am Sender"), farbeSwr}};
    if (diagramm.mitVerlust)
        untenEintraege.append({QStringLiteral("Verlust gesamt/dB (rechts)"), farbeVerlust});
    legendeAuslegen(legende, bild.unten.rechteck, untenEintraege, mass);
    bild.texte.append(frequenzeinheitAuslegen(a, bild.unten.rechteck.bottom()));
    if (diagramm.mitZusammenfassung)
        bild.texte.append({QPointF(kDiagrammLinks, flaeche.height() - 6.0),
                           leitungsZusammenfassung(diagramm, locale)});

    if (markiert >= 0 && markiert < werte.size()) {
        const double x = a.xBei(werte.at(markiert).fMHz);
        bild.zeiger = QLineF(x, bild.oben.rechteck.top(), x, bild.unten.rechteck.bottom());
    }
    return bild;
}

void leitungsbildZeichnen(QPainter &painter, const Leitungsbild &bild)
{
    painter.save();
    diagrammgrundZeichnen(painter, bild.flaeche, bild.ueberschrift);
    if (bild.mitAchsen) {
        gitterZeichnen(painter, bild.gitter, bild.achsentexte);
        if (bild.nulllinie) {
            painter.setPen(diagrammStift(Qt::gray, 1.0));
            painter.drawLine(*bild.nulllinie);
        }
        painter.setPen(diagrammStift(Qt::black, 1.0));
        painter.drawRect(bild.oben.rechteck);
        painter.drawRect(bild.unten.rechteck);

        painter.save();
        for (const Leitungskurve &kurve : bild.kurven) {
            painter.setClipRect(kurve.ausschnitt);
            langeSpurZeichnen(painter, kurve.zug);
        }
        painter.restore();

        legendenstricheZeichnen(painter, bild.legendenStriche, bild.legendenFarben);
        texteZeichnen(painter, bild.texte);
        if (bild.zeiger) {
            painter.setPen(diagrammStift(QColor(90, 90, 90), 1.0, Qt::DotLine));
            painter.drawLine(*bild.zeiger);
        }
    }
    painter.restore();
}

void leitungsdiagrammZeichnen(QPainter &painter, const Leitungsdiagramm &diagramm, QSizeF flaeche,
                              int markiert)
{
    leitungsbildZeichnen(painter, leitungsbildBerechnen(diagramm, flaeche, QLocale(), markiert));
}

QImage leitungsdiagrammBild(const Leitungsdiagramm &diagramm, QSize einheiten,
                            qreal pixelVerhaeltnis, int markiert)
{
    QImage ziel = weissesBild(einheiten, pixelVerhaeltnis);
    if (ziel.isNull())
        return ziel;
    QPainter painter(&ziel);
    leitungsdiagrammZeichnen(painter, diagramm, QSizeF(einheiten), markiert);
    return ziel;
}

QSize leitungsDesignGroesse()
{
    return QSize(880, 560);
}

} // namespace varo
