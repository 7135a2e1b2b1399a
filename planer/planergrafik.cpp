#include "planergrafik.h"

#include "diagrammschrift.h"

#include <QFontMetricsF>
#include <QLineF>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace varo {

namespace {

const QString alleBaender = QStringLiteral("Alle Bänder");
// The row of all bands is as high as this many band rows.
constexpr double kGesamtZeilen = 3.0;
// The margin curve keeps this far from the top and bottom of its row.
constexpr double kInnen = 2.0;

const QColor kGesperrt(205, 50, 50);
const QColor kFrei(170, 225, 170);
const QColor kKurve(20, 40, 140);
const QColor kBester(0, 120, 0);

// The area, the rows and the length scale: what the chart and the mouse
// share. Text is measured in the chart font on a 96 dpi device, so that the
// window, the images and the PDF lay the chart out alike.
Planbild aufteilen(const Planung &p, const QSizeF &groesse, Planrahmen rahmen = Planrahmen::Ohne)
{
    const QFontMetricsF mass(diagrammSchriftInPixeln(), &messflaeche());
    const double zeile = mass.height() + 8.0; // of the title and of the legend
    Planbild a;
    a.groesse = groesse;
    double beschriftung = mass.horizontalAdvance(alleBaender);
    for (const Band &band : p.anfrage.baender)
        beschriftung = std::max(beschriftung, mass.horizontalAdvance(band.name));
    const double links = beschriftung + 14.0;
    const double rechts = 28.0;
    const bool mitRahmen = rahmen == Planrahmen::TitelUndLegende;
    const double oben = 6.0 + (mitRahmen ? zeile : 0.0);
    const double unten = mass.height() + 12.0 + (mitRahmen ? zeile : 0.0);
    a.flaeche = QRectF(links, oben, std::max(1.0, groesse.width() - links - rechts),
                       std::max(1.0, groesse.height() - oben - unten));
    a.zeilenHoehe =
        a.flaeche.height() / (static_cast<double>(p.anfrage.baender.size()) + kGesamtZeilen);
    a.von = p.anfrage.vonLaenge;
    const double spanne = p.anfrage.bisLaenge - p.anfrage.vonLaenge;
    a.spanne = spanne > 0.0 ? spanne : 1.0;
    return a;
}

double xBei(const Planbild &a, double laenge)
{
    return a.flaeche.left() + (laenge - a.von) / a.spanne * a.flaeche.width();
}

// The stretch of a run of grid lengths, each length taking its step.
QRectF streifen(const Planbild &a, const Planung &p, qint64 von, qint64 bis, double oben,
                double hoehe)
{
    const double halb = p.anfrage.schritt / 2.0;
    const double x1 = std::max(a.flaeche.left(), xBei(a, p.laenge(von) - halb));
    const double x2 = std::min(a.flaeche.right(), xBei(a, p.laenge(bis) + halb));
    // Even a single length stays visible.
    return QRectF(x1, oben, std::max(1.0, x2 - x1), hoehe);
}

// The margin from 0° (bottom) to 90° (top) of the row of all bands.
double abstandY(const Planbild &a, double abstand)
{
    return a.gesamt.bottom() - kInnen - abstand / 90.0 * (a.gesamt.height() - 2.0 * kInnen);
}

void abstandAuslegen(Planbild &a, const Planung &p)
{
    const int spalten = std::max(1, static_cast<int>(std::ceil(a.flaeche.width())));
    if (p.anzahl <= 2 * static_cast<qint64>(spalten)) {
        a.abstand.reserve(static_cast<qsizetype>(p.anzahl));
        for (qint64 i = 0; i < p.anzahl; ++i)
            a.abstand << QPointF(xBei(a, p.laenge(i)), abstandY(a, p.abstand[size_t(i)]));
        return;
    }
    // More lengths than pixels: each column shows the lowest and the highest
    // margin in it, so that no dip to an odd quarter wave disappears.
    std::vector<double> tief(size_t(spalten), std::numeric_limits<double>::max());
    std::vector<double> hoch(size_t(spalten), -1.0);
    for (qint64 i = 0; i < p.anzahl; ++i) {
        const auto s = size_t(
            std::clamp(static_cast<int>(xBei(a, p.laenge(i)) - a.flaeche.left()), 0, spalten - 1));
        const double wert = p.abstand[size_t(i)];
        tief[s] = std::min(tief[s], wert);
        hoch[s] = std::max(hoch[s], wert);
    }
    a.abstandsSaeulen.reserve(spalten);
    for (size_t s = 0; s < size_t(spalten); ++s) {
        if (hoch[s] < 0.0)
            continue;
        const double x = a.flaeche.left() + double(s) + 0.5;
        a.abstandsSaeulen << QLineF(x, abstandY(a, tief[s]), x, abstandY(a, hoch[s]) - 0.5);
    }
}

// One row per band: grey, red where that band rules the length out.
void baenderAuslegen(Planbild &a, const Planung &p)
{
    const QRectF &f = a.flaeche;
    const int baender = static_cast<int>(p.anfrage.baender.size());
    for (int b = 0; b < baender; ++b) {
        Bandzeile zeile;
        const double oben = f.top() + b * a.zeilenHoehe;
        zeile.zeile = QRectF(f.left(), oben, f.width(), a.zeilenHoehe);
        zeile.farbe = b % 2 == 0 ? QColor(236, 236, 236) : QColor(246, 246, 246);
        if (static_cast<size_t>(b) < p.gesperrt.size()) {
            for (const Rasterbereich &r : p.gesperrt[static_cast<size_t>(b)])
                zeile.gesperrt.append(
                    streifen(a, p, r.von, r.bis, oben + 1.0, a.zeilenHoehe - 2.0));
        }
        zeile.name = {QRectF(0.0, oben, f.left() - 8.0, a.zeilenHoehe),
                      Qt::AlignRight | Qt::AlignVCenter, p.anfrage.baender.at(b).name};
        a.baender.append(zeile);
    }
}

// All bands: green where the margin reaches the required one, the margin
// itself as a curve, the required one as a dashed line and the best length
// as a small mark on the row's top.
void gesamtAuslegen(Planbild &a, const Planung &p, const QLocale &locale)
{
    const QRectF &f = a.flaeche;
    a.gesamt = QRectF(f.left(), f.top() + double(a.baender.size()) * a.zeilenHoehe, f.width(),
                      kGesamtZeilen * a.zeilenHoehe);
    for (const Freibereich &frei : p.frei)
        a.frei.append(streifen(a, p, frei.von, frei.bis, a.gesamt.top(), a.gesamt.height()));
    const double yGefordert = abstandY(a, p.anfrage.abstand);
    a.gefordert = QLineF(f.left(), yGefordert, f.right(), yGefordert);
    if (p.anzahl > 0)
        abstandAuslegen(a, p);
    const double textHoehe = QFontMetricsF(diagrammSchriftInPixeln(), &messflaeche()).height();
    a.texte.append({QRectF(0.0, a.gesamt.top(), f.left() - 8.0, a.gesamt.height()),
                    Qt::AlignRight | Qt::AlignVCenter, alleBaender});
    a.texte.append({QRectF(f.right() + 2.0, yGefordert - textHoehe, 40.0, textHoehe),
                    Qt::AlignLeft | Qt::AlignBottom,
                    locale.toString(p.anfrage.abstand, 'f', 0) + QStringLiteral("°")});
    if (p.bester >= 0) {
        const double x = xBei(a, p.laenge(p.bester));
        const double oben = a.gesamt.top();
        a.bester =
            QPolygonF({QPointF(x - 4.0, oben), QPointF(x + 4.0, oben), QPointF(x, oben + 6.0)});
    }
}

// Ticks under the area with their lengths, and the unit at the right.
void laengenachseAuslegen(Planbild &a, const QLocale &locale)
{
    const QRectF &f = a.flaeche;
    const QFontMetricsF mass(diagrammSchrift(), &messflaeche());
    a.laengen.von = a.von;
    a.laengen.bis = a.von + a.spanne;
    a.laengen.schritt = achsenTeilung(a.spanne, std::max(2, static_cast<int>(f.width() / 70.0)));
    a.laengenMarken = achsenMarken(a.laengen.von, a.laengen.bis, a.laengen.schritt);
    for (const double t : std::as_const(a.laengenMarken)) {
        const double x = xBei(a, t);
        a.teilstriche.append(QLineF(x, f.bottom(), x, f.bottom() + 4.0));
        const QString text = achsenText(t, a.laengen.schritt, locale);
        a.achsentexte.append(
            {QPointF(x - mass.horizontalAdvance(text) / 2.0, f.bottom() + 5.0 + mass.ascent()),
             text});
    }
    a.achsentexte.append(
        {QPointF(f.right() + 14.0, f.bottom() + 5.0 + mass.ascent()), QStringLiteral("m")});
}

QString titelText(const Planung &p, const QLocale &locale)
{
    QStringList baender;
    for (const Band &band : p.anfrage.baender)
        baender << band.name;
    QString titel = QStringLiteral("Varolinaten-Planung: %1, Vk %2")
                        .arg(baender.join(QStringLiteral(", ")), locale.toString(p.anfrage.vk));
    if (p.bester >= 0) {
        const int stellen = laengenStellen(p.anfrage.vonLaenge, p.anfrage.schritt);
        titel += QStringLiteral(", beste Länge %1 m mit %2°")
                     .arg(locale.toString(p.laenge(p.bester), 'f', stellen),
                          locale.toString(p.besterAbstand, 'f', 2));
    }
    return titel;
}

// The title above the area, the legend in one row under the axis labels.
void rahmenAuslegen(Planbild &a, const Planung &p, const QLocale &locale)
{
    const QFontMetricsF mass(diagrammSchriftInPixeln(), &messflaeche());
    const double h = mass.height();
    a.titel = Kastentext{QRectF(a.flaeche.left(), 4.0, a.flaeche.width(), h + 4.0),
                         Qt::AlignLeft | Qt::AlignVCenter, titelText(p, locale)};
    const QString grad = locale.toString(p.anfrage.abstand, 'f', 0) + QStringLiteral("°");
    const QList<std::pair<QColor, QString>> eintraege = {
        {kGesperrt, QStringLiteral("Abstand unter %1 auf diesem Band").arg(grad)},
        {kFrei, QStringLiteral("frei auf allen Bändern")},
        {kKurve, QStringLiteral("Abstand über alle Bänder")},
        {kBester, QStringLiteral("beste Länge")}};
    double x = a.flaeche.left();
    const double y = a.flaeche.bottom() + h + 14.0;
    for (qsizetype i = 0; i < eintraege.size(); ++i) {
        Legendeneintrag e;
        e.farbe = eintraege.at(i).first;
        e.linie = i == 2;
        e.muster = QRectF(x, y + h / 2.0 - 5.0, 18.0, 10.0);
        const double breite = mass.horizontalAdvance(eintraege.at(i).second) + 4.0;
        e.text = {QRectF(x + 24.0, y, breite, h), Qt::AlignLeft | Qt::AlignVCenter,
                  eintraege.at(i).second};
        a.legende.append(e);
        x += 24.0 + breite + 16.0;
    }
}

QPen kosmetisch(const QColor &farbe, Qt::PenStyle art = Qt::SolidLine)
{
    QPen stift(farbe);
    stift.setStyle(art);
    stift.setCosmetic(true);
    return stift;
}

void legendeZeichnen(QPainter &painter, const Planbild &a)
{
    if (a.titel)
        texteZeichnen(painter, QList<Kastentext>{*a.titel});
    for (const Legendeneintrag &e : a.legende) {
        if (e.linie) {
            painter.setPen(kosmetisch(e.farbe));
            painter.drawLine(QLineF(e.muster.left(), e.muster.center().y(), e.muster.right(),
                                    e.muster.center().y()));
        } else {
            painter.fillRect(e.muster, e.farbe);
        }
        texteZeichnen(painter, QList<Kastentext>{e.text});
    }
}

} // namespace

Planbild planbildBerechnen(const Planung &p, const QSizeF &groesse, const QLocale &locale,
                           qint64 markiert, Planrahmen rahmen)
{
    Planbild a = aufteilen(p, groesse, rahmen);
    baenderAuslegen(a, p);
    gesamtAuslegen(a, p, locale);
    laengenachseAuslegen(a, locale);
    if (rahmen == Planrahmen::TitelUndLegende)
        rahmenAuslegen(a, p, locale);
    if (markiert >= 0 && markiert < p.anzahl) {
        const double x = xBei(a, p.laenge(markiert));
        a.zeiger = QLineF(x, a.flaeche.top(), x, a.flaeche.bottom());
    }
    return a;
}

void planbildZeichnen(QPainter &painter, const Planbild &a)
{
    painter.save();
    painter.fillRect(QRectF(QPointF(0, 0), a.groesse), Qt::white);
    painter.setFont(diagrammSchriftFuer(painter.device()));
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const Bandzeile &zeile : a.baender) {
        painter.fillRect(zeile.zeile, zeile.farbe);
        for (const QRectF &streifen : zeile.gesperrt)
            painter.fillRect(streifen, kGesperrt);
        texteZeichnen(painter, QList<Kastentext>{zeile.name});
    }
    painter.fillRect(a.gesamt, QColor(250, 250, 250));
    for (const QRectF &frei : a.frei)
        painter.fillRect(frei, kFrei);
    painter.setPen(kosmetisch(QColor(90, 90, 90), Qt::DashLine));
    painter.drawLine(a.gefordert);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(kosmetisch(kKurve));
    if (!a.abstand.isEmpty())
        painter.drawPolyline(a.abstand);
    if (!a.abstandsSaeulen.isEmpty())
        painter.drawLines(a.abstandsSaeulen);
    painter.setRenderHint(QPainter::Antialiasing, false);
    texteZeichnen(painter, a.texte);
    if (a.bester) {
        painter.setBrush(kBester);
        painter.setPen(Qt::NoPen);
        painter.drawPolygon(*a.bester);
        painter.setBrush(Qt::NoBrush);
    }
    painter.setPen(kosmetisch(Qt::black));
    painter.drawRect(a.flaeche);
    painter.drawLines(a.teilstriche);
    texteZeichnen(painter, a.achsentexte);
    if (a.zeiger) {
        painter.setPen(kosmetisch(Qt::black));
        painter.drawLine(*a.zeiger);
    }
    legendeZeichnen(painter, a);
    painter.restore();
}

QRectF planFlaeche(const Planung &planung, const QSizeF &groesse)
{
    return aufteilen(planung, groesse).flaeche;
}

qint64 planIndexBei(const Planung &planung, const QSizeF &groesse, double x)
{
    const Planbild a = aufteilen(planung, groesse);
    if (planung.anzahl <= 0 || x < a.flaeche.left() || x > a.flaeche.right())
        return -1;
    const double laenge = a.von + (x - a.flaeche.left()) / a.flaeche.width() * a.spanne;
    const double i = std::round((laenge - planung.anfrage.vonLaenge) / planung.anfrage.schritt);
    return std::clamp<qint64>(static_cast<qint64>(i), 0, planung.anzahl - 1);
}

void planZeichnen(QPainter &painter, const Planung &planung, const QSizeF &groesse,
                  const QLocale &locale, qint64 markiert)
{
    planbildZeichnen(painter, planbildBerechnen(planung, groesse, locale, markiert));
}

QSize planDesignGroesse(const Planung &planung)
{
    const int zeilen = static_cast<int>(planung.anfrage.baender.size()) + 3;
    return QSize(960, std::max(240, 40 + 26 * zeilen));
}

double planRahmenHoehe()
{
    return 2.0 * (QFontMetricsF(diagrammSchriftInPixeln(), &messflaeche()).height() + 8.0);
}

QSize planExportGroesse(const Planung &planung, QSize fensterbild)
{
    const QSize bild = fensterbild.isValid() ? fensterbild.expandedTo(planDesignGroesse(planung))
                                             : planDesignGroesse(planung);
    return bild + QSize(0, static_cast<int>(std::ceil(planRahmenHoehe())));
}

Bildvorlage planBildvorlage(const Planung &planung)
{
    Bildvorlage vorlage;
    vorlage.titel = QStringLiteral("Varolinaten-Planung");
    vorlage.designGroesse = planExportGroesse(planung, QSize());
    vorlage.auslegen = [&planung](QSize groesse, Exportergebnis &) -> Malpass {
        Planbild bild =
            planbildBerechnen(planung, QSizeF(groesse), QLocale(), -1, Planrahmen::TitelUndLegende);
        return [bild = std::move(bild)](QPainter &painter) { planbildZeichnen(painter, bild); };
    };
    return vorlage;
}

Exportergebnis planExportieren(const Planung &planung, const QString &datei, QSize pixel)
{
    return bildExportieren(planBildvorlage(planung), datei, pixel);
}

} // namespace varo
