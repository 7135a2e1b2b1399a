#include "leitungszeichnung.h"

#include "kurvenzeichnung.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <functional>

namespace varo {

namespace {

// Margins in device units: left and right for the two value axes, the top
// for heading and legend, the bottom for frequencies and the summary.
constexpr double kLinks = 64.0;
constexpr double kRechts = 64.0;
constexpr double kOben = 44.0;
constexpr double kUnten = 56.0;
constexpr double kLuecke = 30.0;
// A line that hardly reflects can still show a huge SWR; the axis stops here.
constexpr double kHoechstesSwr = 20.0;

const QColor farbeR(0, 90, 200);
const QColor farbeX(220, 110, 0);
const QColor farbeZ(0, 0, 0);
const QColor farbeSwr(0, 140, 60);
const QColor farbeVerlust(170, 0, 140);

// 1, 2 or 5 times a power of ten, so that the span has at most about
// `hoechstens` steps.
double teilung(double spanne, int hoechstens)
{
    if (!(spanne > 0.0) || !std::isfinite(spanne))
        return 1.0;
    const double roh = spanne / hoechstens;
    const double zehner = std::pow(10.0, std::floor(std::log10(roh)));
    for (double faktor : {1.0, 2.0, 5.0, 10.0}) {
        if (faktor * zehner >= roh)
            return faktor * zehner;
    }
    return 10.0 * zehner;
}

struct Achse
{
    double von = 0.0, bis = 1.0, schritt = 1.0;
};

Achse achse(double kleinst, double groesst, int hoechstens)
{
    if (!(groesst > kleinst)) {
        const double rand = std::max(1.0, std::abs(groesst) * 0.1);
        kleinst -= rand;
        groesst += rand;
    }
    Achse a;
    a.schritt = teilung(groesst - kleinst, hoechstens);
    a.von = std::floor(kleinst / a.schritt) * a.schritt;
    a.bis = std::ceil(groesst / a.schritt) * a.schritt;
    return a;
}

QString zahl(double wert, const QLocale &locale, int stellen = 4)
{
    QLocale l = locale;
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    if (std::isinf(wert))
        return QStringLiteral("∞");
    return l.toString(wert, 'g', stellen);
}

QString achsenzahl(double wert, double schritt, const QLocale &locale)
{
    // Enough decimals for the step, none more.
    const int stellen = std::max(0, int(std::ceil(-std::log10(schritt) - 1e-9)));
    QLocale l = locale;
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    return l.toString(std::abs(wert) < schritt * 1e-6 ? 0.0 : wert, 'f', stellen);
}

struct Feld
{
    QRectF rechteck;
    Achse y;
    double yZuPixel(double wert) const
    {
        return rechteck.bottom() - (wert - y.von) / (y.bis - y.von) * rechteck.height();
    }
};

QPen stift(const QColor &farbe, double breite, Qt::PenStyle art = Qt::SolidLine)
{
    QPen p(farbe, breite, art);
    p.setCapStyle(Qt::FlatCap);
    p.setJoinStyle(Qt::RoundJoin);
    return p;
}

void kurve(QPainter &painter, const QList<Leitungswerte> &werte, const Feld &feld,
           const std::function<double(double)> &fx,
           const std::function<double(const Leitungswerte &)> &wert, const QPen &pen)
{
    QPainterPath pfad;
    bool offen = false;
    for (const Leitungswerte &w : werte) {
        const double v = std::min(wert(w), feld.y.bis);
        if (!std::isfinite(v)) {
            offen = false;
            continue;
        }
        const QPointF p(fx(w.fMHz), feld.yZuPixel(v));
        if (offen)
            pfad.lineTo(p);
        else
            pfad.moveTo(p);
        offen = true;
    }
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(pfad);
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
    return QRectF(kLinks, kOben, std::max(1.0, flaeche.width() - kLinks - kRechts),
                  std::max(1.0, flaeche.height() - kOben - kUnten));
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

void leitungsdiagrammZeichnen(QPainter &painter, const Leitungsdiagramm &diagramm, QSizeF flaeche,
                              int markiert)
{
    painter.save();
    painter.fillRect(QRectF(QPointF(0, 0), flaeche), Qt::white);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setFont(kurvenSchrift());
    const QFontMetricsF mass(painter.font(), painter.device());
    const QLocale locale;
    const QList<Leitungswerte> &werte = diagramm.werte;

    painter.setPen(Qt::black);
    painter.drawText(QPointF(kLinks, mass.ascent() + 4.0), diagramm.ueberschrift);
    if (werte.size() < 2) {
        painter.restore();
        return;
    }

    const QRectF bereich = leitungsZeichenbereich(flaeche);
    const double hoeheOben = std::max(1.0, (bereich.height() - kLuecke) * 0.55);
    Feld oben{QRectF(bereich.left(), bereich.top(), bereich.width(), hoeheOben), {}};
    Feld unten{QRectF(bereich.left(), oben.rechteck.bottom() + kLuecke, bereich.width(),
                      std::max(1.0, bereich.bottom() - oben.rechteck.bottom() - kLuecke)),
               {}};

    double zKlein = 0.0, zGross = 0.0, swrGross = 1.0, verlustGross = 0.0;
    for (const Leitungswerte &w : werte) {
        zKlein = std::min({zKlein, w.Zin.real(), w.Zin.imag()});
        zGross = std::max({zGross, w.Zin.real(), w.Zin.imag(), std::abs(w.Zin)});
        if (std::isfinite(w.swrSender))
            swrGross = std::max(swrGross, w.swrSender);
        verlustGross = std::max(verlustGross, w.verlustGesamt);
    }
    oben.y = achse(zKlein, zGross, 6);
    unten.y = achse(1.0, std::min(std::max(swrGross, 2.0), kHoechstesSwr), 5);
    unten.y.von = 1.0;
    Feld verlustFeld{unten.rechteck, achse(0.0, std::max(verlustGross, 0.1), 5)};
    verlustFeld.y.von = 0.0;

    const double fVon = werte.first().fMHz;
    const double fBis = werte.last().fMHz;
    const auto fx = [&](double f) {
        return bereich.left() + (f - fVon) / (fBis - fVon) * bereich.width();
    };

    // Grid and labels.
    const Achse fAchse = achse(fVon, fBis, int(std::max(2.0, bereich.width() / 90.0)));
    painter.setPen(stift(QColor(215, 215, 215), 1.0));
    // Counted, not summed: a step lost in the digits of a large value must not hang.
    const int fMarken = int(std::lround((fAchse.bis - fAchse.von) / fAchse.schritt));
    for (int i = 0; i <= fMarken; ++i) {
        const double f = fAchse.von + i * fAchse.schritt;
        if (f < fVon - fAchse.schritt * 1e-9 || f > fBis + fAchse.schritt * 1e-9)
            continue;
        const double x = fx(f);
        painter.setPen(stift(QColor(215, 215, 215), 1.0));
        painter.drawLine(QPointF(x, oben.rechteck.top()), QPointF(x, oben.rechteck.bottom()));
        painter.drawLine(QPointF(x, unten.rechteck.top()), QPointF(x, unten.rechteck.bottom()));
        painter.setPen(Qt::black);
        const QString text = achsenzahl(f, fAchse.schritt, locale);
        painter.drawText(QPointF(x - mass.horizontalAdvance(text) / 2.0,
                                 unten.rechteck.bottom() + mass.height()),
                         text);
    }
    const auto yGitter = [&](const Feld &feld, bool links, const QColor &farbe) {
        // The lower edge and every multiple of the step above it (the SWR starts at 1).
        QList<double> marken{feld.y.von};
        double erste = std::floor(feld.y.von / feld.y.schritt + 1.0 + 1e-9) * feld.y.schritt;
        if (erste - feld.y.von < feld.y.schritt / 2.0)
            erste += feld.y.schritt; // labels must not overlap
        const int n = int(std::lround((feld.y.bis - erste) / feld.y.schritt));
        for (int i = 0; i <= n; ++i)
            marken.append(erste + i * feld.y.schritt);
        for (const double y : marken) {
            const double py = feld.yZuPixel(y);
            if (links) {
                painter.setPen(stift(QColor(215, 215, 215), 1.0));
                painter.drawLine(QPointF(feld.rechteck.left(), py),
                                 QPointF(feld.rechteck.right(), py));
            }
            painter.setPen(farbe);
            const QString text = achsenzahl(y, feld.y.schritt, locale);
            const double x = links ? feld.rechteck.left() - 6.0 - mass.horizontalAdvance(text)
                                   : feld.rechteck.right() + 6.0;
            painter.drawText(QPointF(x, py + mass.ascent() / 2.5), text);
        }
    };
    yGitter(oben, true, Qt::black);
    yGitter(unten, true, farbeSwr);
    if (diagramm.mitVerlust)
        yGitter(verlustFeld, false, farbeVerlust);
    if (oben.y.von < 0.0 && oben.y.bis > 0.0) {
        painter.setPen(stift(Qt::gray, 1.0));
        painter.drawLine(QPointF(oben.rechteck.left(), oben.yZuPixel(0.0)),
                         QPointF(oben.rechteck.right(), oben.yZuPixel(0.0)));
    }
    painter.setPen(stift(Qt::black, 1.0));
    painter.drawRect(oben.rechteck);
    painter.drawRect(unten.rechteck);

    // Curves, clipped to their panels.
    painter.save();
    painter.setClipRect(oben.rechteck.adjusted(-1, -1, 1, 1));
    kurve(
        painter, werte, oben, fx, [](const Leitungswerte &w) { return w.Zin.real(); },
        stift(farbeR, 1.6));
    kurve(
        painter, werte, oben, fx, [](const Leitungswerte &w) { return w.Zin.imag(); },
        stift(farbeX, 1.6));
    kurve(
        painter, werte, oben, fx, [](const Leitungswerte &w) { return std::abs(w.Zin); },
        stift(farbeZ, 1.6, Qt::DashLine));
    painter.setClipRect(unten.rechteck.adjusted(-1, -1, 1, 1));
    kurve(
        painter, werte, unten, fx, [](const Leitungswerte &w) { return w.swrSender; },
        stift(farbeSwr, 1.8));
    if (diagramm.mitVerlust)
        kurve(
            painter, werte, verlustFeld, fx, [](const Leitungswerte &w) { return w.verlustGesamt; },
            stift(farbeVerlust, 1.4, Qt::DashLine));
    painter.restore();

    // Legends above each panel.
    const auto legende = [&](const Feld &feld, const QList<std::pair<QString, QColor>> &eintraege) {
        double x = feld.rechteck.left();
        const double y = feld.rechteck.top() - 6.0;
        for (const auto &[text, farbe] : eintraege) {
            painter.setPen(stift(farbe, 2.0));
            painter.drawLine(QPointF(x, y - mass.ascent() / 3.0),
                             QPointF(x + 16.0, y - mass.ascent() / 3.0));
            painter.setPen(Qt::black);
            painter.drawText(QPointF(x + 20.0, y), text);
            x += 32.0 + mass.horizontalAdvance(text);
        }
    };
    legende(oben, {{QStringLiteral("R/Ω"), farbeR},
                   {QStringLiteral("X/Ω"), farbeX},
                   {QStringLiteral("|Z|/Ω am Sender"), farbeZ}});
    QList<std::pair<QString, QColor>> untenEintraege{{QStringLiteral("SWR am Sender"), farbeSwr}};
    if (diagramm.mitVerlust)
        untenEintraege.append({QStringLiteral("Verlust gesamt/dB (rechts)"), farbeVerlust});
    legende(unten, untenEintraege);
    painter.setPen(Qt::black);
    const QString mhz = QStringLiteral("f/MHz");
    painter.drawText(QPointF(bereich.right() - mass.horizontalAdvance(mhz),
                             unten.rechteck.bottom() + 2.0 * mass.height()),
                     mhz);
    painter.drawText(QPointF(kLinks, flaeche.height() - 6.0),
                     leitungsZusammenfassung(diagramm, locale));

    if (markiert >= 0 && markiert < werte.size()) {
        const double x = fx(werte.at(markiert).fMHz);
        painter.setPen(stift(QColor(90, 90, 90), 1.0, Qt::DotLine));
        painter.drawLine(QPointF(x, oben.rechteck.top()), QPointF(x, unten.rechteck.bottom()));
    }
    painter.restore();
}

QImage leitungsdiagrammBild(const Leitungsdiagramm &diagramm, QSize einheiten,
                            qreal pixelVerhaeltnis, int markiert)
{
    QImage ziel(einheiten * pixelVerhaeltnis, QImage::Format_RGB32);
    if (ziel.isNull())
        return ziel;
    ziel.setDotsPerMeterX(3780); // 96 dpi, as the painter's units assume
    ziel.setDotsPerMeterY(3780);
    ziel.setDevicePixelRatio(pixelVerhaeltnis);
    ziel.fill(Qt::white);
    QPainter painter(&ziel);
    leitungsdiagrammZeichnen(painter, diagramm, QSizeF(einheiten), markiert);
    return ziel;
}

QSize leitungsDesignGroesse()
{
    return QSize(880, 560);
}

} // namespace varo
