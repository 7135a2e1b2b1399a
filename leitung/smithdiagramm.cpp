#include "smithdiagramm.h"

#include "ausduennen.h"
#include "diagrammschrift.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace varo {

namespace {

using Komplex = std::complex<double>;

// Margins in device units: the top for the heading, the bottom for the
// legend, the sides for the reactance labels outside the rim.
constexpr double kOben = 30.0;
constexpr double kUnten = 40.0;
constexpr double kSeite = 40.0;
// Samples of one reactance arc, from the rim to the right edge.
constexpr int kBogenPunkte = 96;
// Points of a trace closer than this (device units) to the last one drawn
// are left out: one screen pixel at scale 1, 0.26 mm on paper.
constexpr double kAbstand = 1.0;

const double kWiderstaende[] = {0.0, 0.2, 0.5, 1.0, 2.0, 5.0};
const double kBlindwerte[] = {0.2, 0.5, 1.0, 2.0, 5.0};

const QColor farbeGitter(200, 200, 200);
const QColor farbeRand(0, 0, 0);
const QColor farbeText(90, 90, 90);
const QColor farbeLast(0, 90, 200);
const QColor farbeSender(200, 40, 40);
const QColor farbeSwr(0, 140, 60);

bool zeichenbar(const std::optional<Komplex> &z)
{
    return z && std::isfinite(z->real()) && std::isfinite(z->imag());
}

QString zahl(double wert, const QLocale &locale)
{
    QLocale l = locale;
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    return l.toString(wert, 'g', 3);
}

// The arc of constant x from z = jx to z = ∞: r = t / (1 − t) for even
// steps of t from 0 towards 1.
QPolygonF bogen(const Smithbild &bild, double x)
{
    QPolygonF punkte;
    for (int i = 0; i < kBogenPunkte; ++i) {
        const double t = double(i) / kBogenPunkte;
        const double r = t / (1.0 - t);
        punkte.append(smithOrt(bild, reflexion(Komplex(r, x))));
    }
    punkte.append(smithOrt(bild, Komplex(1.0, 0.0)));
    return punkte;
}

void gitterAuslegen(Smithbild &bild, const QFontMetricsF &mass, const QLocale &locale)
{
    for (const double r : kWiderstaende) {
        const double g = r / (r + 1.0);
        bild.widerstandsKreise.append(
            {r, smithOrt(bild, Komplex(g, 0.0)), bild.radius / (r + 1.0)});
        const QPointF links = smithOrt(bild, reflexion(Komplex(r, 0.0)));
        bild.beschriftung.append(
            {QPointF(links.x() + 2.0, links.y() - 2.0), zahl(r, locale), farbeText});
    }
    bild.blindBoegen.append({0.0, bogen(bild, 0.0)});
    for (const double betrag : kBlindwerte) {
        for (const double x : {betrag, -betrag}) {
            bild.blindBoegen.append({x, bogen(bild, x)});
            // Outside the rim, centred on the line from the centre through
            // the arc's end at r = 0.
            const Komplex gamma = reflexion(Komplex(0.0, x));
            const QString text =
                (x > 0 ? QStringLiteral("+j") : QStringLiteral("−j")) + zahl(std::abs(x), locale);
            const double breite = mass.horizontalAdvance(text);
            const double abstand = bild.radius + 6.0 + breite / 2.0;
            const QPointF anker(bild.mitte.x() + abstand * gamma.real(),
                                bild.mitte.y() - abstand * gamma.imag());
            bild.beschriftung.append(
                {QPointF(anker.x() - breite / 2.0, anker.y() + mass.ascent() / 2.5), text,
                 farbeText});
        }
    }
}

Linienzug spur(const Smithbild &bild, const Smithspur &werte, const QColor &farbe)
{
    Linienzug zug{{}, diagrammStift(farbe, 1.6)};
    QPolygonF teil;
    for (const std::optional<Komplex> &z : werte) {
        if (!zeichenbar(z)) {
            if (!teil.isEmpty())
                zug.teile.append(naheAusduennen(teil, kAbstand));
            teil.clear();
            continue;
        }
        teil.append(smithOrt(bild, reflexion(*z)));
    }
    if (!teil.isEmpty())
        zug.teile.append(naheAusduennen(teil, kAbstand));
    return zug;
}

// The marked frequency: a dot on each trace and the SWR circle through the
// rig's point (the load's where the rig's trace has a gap there).
void markeAuslegen(Smithbild &bild, const Smithdiagramm &d, const QFontMetricsF &mass,
                   const QLocale &locale)
{
    const int i = d.markiert;
    std::optional<Komplex> swrGamma;
    for (const auto &[spur, farbe] : {std::pair{&d.last, farbeLast}, {&d.sender, farbeSender}}) {
        if (i < 0 || i >= spur->size() || !zeichenbar(spur->at(i)))
            continue;
        const Komplex gamma = reflexion(*spur->at(i));
        bild.markiert.append({smithOrt(bild, gamma), farbe});
        swrGamma = gamma;
    }
    if (!swrGamma)
        return;
    const double betrag = std::abs(*swrGamma);
    const double swr = betrag < 1.0 ? (1.0 + betrag) / (1.0 - betrag) : INFINITY;
    bild.swrKreis = Smithkreis{swr, bild.mitte, betrag * bild.radius};
    const QString text =
        QStringLiteral("SWR %1").arg(std::isfinite(swr) ? zahl(swr, locale) : QStringLiteral("∞"));
    bild.texte.append({QPointF(bild.flaeche.width() - kSeite - mass.horizontalAdvance(text),
                               bild.flaeche.height() - kUnten / 2.0 + mass.ascent() / 2.0),
                       text, farbeSwr});
}

void legendeAuslegen(Smithbild &bild, const QFontMetricsF &mass)
{
    double x = kSeite;
    const double y = bild.flaeche.height() - kUnten / 2.0 + mass.ascent() / 2.0;
    for (const auto &[text, farbe] : {std::pair{QStringLiteral("an der Antenne"), farbeLast},
                                      {QStringLiteral("am Sender"), farbeSender}}) {
        bild.legendenStriche.append(
            QLineF(x, y - mass.ascent() / 3.0, x + 16.0, y - mass.ascent() / 3.0));
        bild.legendenFarben.append(farbe);
        bild.texte.append({QPointF(x + 20.0, y), text});
        x += 32.0 + mass.horizontalAdvance(text);
    }
}

void punkteZeichnen(QPainter &painter, const QList<Smithpunkt> &punkte, double halbmesser)
{
    painter.setPen(Qt::NoPen);
    for (const Smithpunkt &punkt : punkte) {
        painter.setBrush(punkt.farbe);
        painter.drawEllipse(punkt.ort, halbmesser, halbmesser);
    }
    painter.setBrush(Qt::NoBrush);
}

} // namespace

Komplex reflexion(Komplex z)
{
    return (z - 1.0) / (z + 1.0);
}

QPointF smithOrt(const Smithbild &bild, Komplex gamma)
{
    return {bild.mitte.x() + bild.radius * gamma.real(),
            bild.mitte.y() - bild.radius * gamma.imag()};
}

Smithbild smithbildBerechnen(const Smithdiagramm &d, QSizeF flaeche, const QLocale &locale)
{
    Smithbild bild;
    bild.flaeche = flaeche;
    const QFontMetricsF mass(diagrammSchrift(), &messflaeche());
    bild.ueberschrift = {QPointF(kSeite, mass.ascent() + 4.0), d.ueberschrift};
    const double hoehe = flaeche.height() - kOben - kUnten;
    bild.radius = std::max(1.0, std::min(flaeche.width() - 2.0 * kSeite, hoehe) / 2.0);
    bild.mitte = QPointF(flaeche.width() / 2.0, kOben + hoehe / 2.0);

    gitterAuslegen(bild, mass, locale);
    bild.last = spur(bild, d.last, farbeLast);
    bild.sender = spur(bild, d.sender, farbeSender);
    for (const int i : d.bandkanten) {
        for (const auto &[werte, farbe] :
             {std::pair{&d.last, farbeLast}, {&d.sender, farbeSender}}) {
            if (i >= 0 && i < werte->size() && zeichenbar(werte->at(i)))
                bild.bandkanten.append({smithOrt(bild, reflexion(*werte->at(i))), farbe});
        }
    }
    markeAuslegen(bild, d, mass, locale);
    legendeAuslegen(bild, mass);
    return bild;
}

void smithbildZeichnen(QPainter &painter, const Smithbild &bild)
{
    painter.save();
    painter.fillRect(QRectF(QPointF(0, 0), bild.flaeche), Qt::white);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setFont(diagrammSchriftFuer(painter.device()));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(diagrammStift(farbeGitter, 1.0));
    for (const Smithkreis &kreis : bild.widerstandsKreise)
        painter.drawEllipse(kreis.mitte, kreis.radius, kreis.radius);
    for (const Smithbogen &b : bild.blindBoegen)
        painter.drawPolyline(b.punkte);
    painter.setPen(diagrammStift(farbeRand, 1.0));
    painter.drawEllipse(bild.mitte, bild.radius, bild.radius);
    texteZeichnen(painter, bild.beschriftung);
    if (bild.swrKreis) {
        painter.setPen(diagrammStift(farbeSwr, 1.2, Qt::DashLine));
        painter.drawEllipse(bild.swrKreis->mitte, bild.swrKreis->radius, bild.swrKreis->radius);
    }
    langeSpurZeichnen(painter, bild.last);
    langeSpurZeichnen(painter, bild.sender);
    painter.setPen(Qt::NoPen);
    punkteZeichnen(painter, bild.bandkanten, 2.5);
    punkteZeichnen(painter, bild.markiert, 4.0);
    for (qsizetype i = 0; i < bild.legendenStriche.size(); ++i) {
        painter.setPen(diagrammStift(bild.legendenFarben.at(i), 2.0));
        painter.drawLine(bild.legendenStriche.at(i));
    }
    texteZeichnen(painter, QList<Diagrammtext>{bild.ueberschrift});
    texteZeichnen(painter, bild.texte);
    painter.restore();
}

QImage smithdiagrammBild(const Smithdiagramm &diagramm, QSize einheiten, qreal pixelVerhaeltnis)
{
    QImage ziel = weissesBild(einheiten, pixelVerhaeltnis);
    if (ziel.isNull())
        return ziel;
    QPainter painter(&ziel);
    smithbildZeichnen(painter, smithbildBerechnen(diagramm, QSizeF(einheiten), QLocale()));
    return ziel;
}

QSize smithDesignGroesse()
{
    return QSize(640, 640);
}

Bildvorlage smithBildvorlage(const Smithdiagramm &diagramm)
{
    Bildvorlage vorlage;
    vorlage.titel = QStringLiteral("Smith-Diagramm");
    vorlage.designGroesse = smithDesignGroesse();
    vorlage.auslegen = [&diagramm](QSize groesse, Exportergebnis &) -> Malpass {
        Smithbild bild = smithbildBerechnen(diagramm, QSizeF(groesse), QLocale());
        return [bild = std::move(bild)](QPainter &painter) { smithbildZeichnen(painter, bild); };
    };
    return vorlage;
}

Exportergebnis smithExportieren(const Smithdiagramm &diagramm, const QString &datei, QSize pixel)
{
    return bildExportieren(smithBildvorlage(diagramm), datei, pixel);
}

} // namespace varo
