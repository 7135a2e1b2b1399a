#include "planer.h"

#include "konstanten.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <limits>

namespace varo {

namespace {

// Degrees per metre of cable at f MHz: 360 / λ on the cable, λ = 300 · Vk / f.
double gradProMeter(double fMHz, double vk)
{
    return 360.0 * fMHz / (kLichtgeschwindigkeitMMHz * vk);
}

// The margin of the electrical lengths t1 ≤ t2 at the two band edges.
double randAbstand(double t1, double t2)
{
    // The smallest odd multiple of 90° at or above t1 decides: if it is not
    // beyond t2, the band crosses an odd quarter wave.
    const double n = std::ceil((t1 - 90.0) / 180.0);
    if (90.0 + 180.0 * n <= t2)
        return 0.0;
    return std::min(viertelwellenAbstand(t1), viertelwellenAbstand(t2));
}

QString zahlText(double wert)
{
    // Without group separators, and with an exponent where 'f' would spell
    // out hundreds of digits.
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(wert, std::abs(wert) < 1e15 ? 'f' : 'g', QLocale::FloatingPointShortest);
}

} // namespace

double elektrischeLaenge(double laengeM, double fMHz, double vk)
{
    return laengeM * gradProMeter(fMHz, vk);
}

double viertelwellenAbstand(double theta)
{
    double rest = std::fmod(theta, 180.0);
    if (rest < 0.0)
        rest += 180.0;
    return std::fabs(rest - 90.0);
}

double bandAbstand(double laengeM, const Band &band, double vk)
{
    return randAbstand(elektrischeLaenge(laengeM, band.vonMHz, vk),
                       elektrischeLaenge(laengeM, band.bisMHz, vk));
}

Abstandsrechner::Abstandsrechner(const QList<Band> &baender, double vk)
{
    m_unten.reserve(static_cast<size_t>(baender.size()));
    m_oben.reserve(static_cast<size_t>(baender.size()));
    for (const Band &band : baender) {
        m_unten.push_back(gradProMeter(band.vonMHz, vk));
        m_oben.push_back(gradProMeter(band.bisMHz, vk));
    }
}

double Abstandsrechner::bandAbstand(double laengeM, int nummer) const
{
    const auto b = static_cast<size_t>(nummer);
    return randAbstand(laengeM * m_unten[b], laengeM * m_oben[b]);
}

double Abstandsrechner::abstand(double laengeM, int *begrenzend) const
{
    double kleinster = std::numeric_limits<double>::infinity();
    int band = -1;
    for (size_t b = 0; b < m_unten.size(); ++b) {
        const double a = randAbstand(laengeM * m_unten[b], laengeM * m_oben[b]);
        if (a < kleinster) {
            kleinster = a;
            band = static_cast<int>(b);
        }
    }
    if (begrenzend)
        *begrenzend = band;
    return band < 0 ? 90.0 : kleinster;
}

qint64 rasterAnzahl(double von, double bis, double schritt, qint64 grenze)
{
    if (!(schritt > 0.0) || !(bis >= von))
        return 0;
    const double schritte = std::floor((bis - von) / schritt + 1e-9);
    if (!(schritte + 1.0 <= static_cast<double>(grenze)))
        return -1;
    return static_cast<qint64>(schritte) + 1;
}

QList<Band> baenderWaehlen(const QString &text, const QList<Band> &bekannt, QString &grund)
{
    grund.clear();
    QList<Band> gewaehlt;
    const QStringList teile = text.split(QLatin1Char('/'));
    for (const QString &roh : teile) {
        const QString teil = roh.trimmed();
        if (teil.isEmpty()) {
            grund = QStringLiteral("Die Bandangabe „%1“ enthält ein leeres Feld.")
                        .arg(text.size() > 60 ? text.left(60) + QStringLiteral("…") : text);
            return {};
        }
        const auto treffer = std::find_if(bekannt.cbegin(), bekannt.cend(), [&](const Band &b) {
            return b.name.compare(teil, Qt::CaseInsensitive) == 0;
        });
        if (treffer != bekannt.cend()) {
            gewaehlt.append(*treffer);
            continue;
        }
        // A leading minus belongs to the first number, not between the two.
        const qsizetype strich = teil.indexOf(QLatin1Char('-'), 1);
        bool okVon = false;
        bool okBis = false;
        Band band;
        if (strich > 0) {
            band.vonMHz = baenderZahl(teil.left(strich), &okVon);
            band.bisMHz = baenderZahl(teil.mid(strich + 1), &okBis);
        }
        if (!okVon || !okBis) {
            QStringList namen;
            for (const Band &b : bekannt)
                namen << b.name;
            grund = QStringLiteral("„%1“ ist weder ein bekanntes Band (%2) noch ein Bereich "
                                   "„von-bis“ in MHz.")
                        .arg(teil.left(60), namen.join(QStringLiteral(", ")));
            return {};
        }
        if (!(band.vonMHz > 0.0 && band.vonMHz < band.bisMHz)) {
            grund = QStringLiteral("Im Bereich „%1“ liegt die untere Grenze nicht über 0 und "
                                   "unter der oberen.")
                        .arg(teil.left(60));
            return {};
        }
        band.name = teil;
        gewaehlt.append(band);
    }
    return gewaehlt;
}

QString planPruefen(const Planungsanfrage &a)
{
    if (a.baender.isEmpty())
        return QStringLiteral("Es ist kein Band gewählt.");
    if (a.baender.size() > kGroessteBandzahl)
        return QStringLiteral("Es sind %1 Bänder gewählt; höchstens %2 lassen sich zusammen "
                              "planen.")
            .arg(a.baender.size())
            .arg(kGroessteBandzahl);
    for (const Band &band : a.baender) {
        if (!(band.vonMHz > 0.0 && band.vonMHz < band.bisMHz && std::isfinite(band.bisMHz)))
            return QStringLiteral("Beim Band „%1“ liegt die untere Grenze nicht über 0 und "
                                  "unter der oberen.")
                .arg(band.name);
    }
    if (!(a.vk > 0.0 && a.vk <= 1.0))
        return QStringLiteral("Der Verkürzungsfaktor muss über 0 und höchstens 1 sein.");
    if (!(a.vonLaenge > 0.0) || !std::isfinite(a.bisLaenge))
        return QStringLiteral("Die kürzeste Länge muss über 0 m liegen.");
    if (!(a.vonLaenge < a.bisLaenge))
        return QStringLiteral("Die kürzeste Länge (%1 m) muss unter der längsten (%2 m) liegen.")
            .arg(zahlText(a.vonLaenge), zahlText(a.bisLaenge));
    if (!(a.schritt > 0.0) || !std::isfinite(a.schritt))
        return QStringLiteral("Die Schrittweite muss über 0 m liegen.");
    if (rasterAnzahl(a.vonLaenge, a.bisLaenge, a.schritt, kGroessteRasterAnzahl) < 0)
        return QStringLiteral("Die Schrittweite %1 m ergibt mehr als %2 Längen; bitte eine "
                              "größere Schrittweite oder einen kürzeren Bereich wählen.")
            .arg(zahlText(a.schritt), QString::number(kGroessteRasterAnzahl));
    if (!(a.abstand >= 0.0 && a.abstand <= 90.0))
        return QStringLiteral("Der geforderte Abstand muss zwischen 0 und 90 Grad liegen.");
    return {};
}

namespace {

// Length i with its margin over all bands: the first length of the largest
// margin wins, overall and in each free range; a free length extends the
// range under way (freiSeit, -1 when none) or starts one.
void besteUndFreiNachfuehren(Planung &p, qint64 i, double kleinster, bool frei, qint64 &freiSeit)
{
    if (p.bester < 0 || kleinster > p.besterAbstand) {
        p.bester = i;
        p.besterAbstand = kleinster;
    }
    if (!frei) {
        freiSeit = -1;
        return;
    }
    if (freiSeit < 0) {
        freiSeit = i;
        p.frei.push_back({i, i, i, kleinster});
    }
    Freibereich &f = p.frei.back();
    f.bis = i;
    if (kleinster > f.besterAbstand) {
        f.bester = i;
        f.besterAbstand = kleinster;
    }
}

} // namespace

Planung planen(const Planungsanfrage &anfrage)
{
    Planung p;
    p.anfrage = anfrage;
    const qint64 n = std::max<qint64>(0, rasterAnzahl(anfrage.vonLaenge, anfrage.bisLaenge,
                                                      anfrage.schritt, kGroessteRasterAnzahl));
    p.anzahl = n;
    p.abstand.resize(static_cast<size_t>(n));
    p.begrenzend.resize(static_cast<size_t>(n));

    const Abstandsrechner rechner(anfrage.baender, anfrage.vk);
    const int baender = rechner.baender();
    p.gesperrt.resize(static_cast<size_t>(baender));
    std::vector<qint64> offen(static_cast<size_t>(baender), -1); // start of a run below
    qint64 freiSeit = -1;
    const double gefordert = anfrage.abstand;

    for (qint64 i = 0; i < n; ++i) {
        const double laenge = p.laenge(i);
        double kleinster = 90.0;
        int band = -1;
        for (int b = 0; b < baender; ++b) {
            const double a = rechner.bandAbstand(laenge, b);
            if (band < 0 || a < kleinster) {
                kleinster = a;
                band = b;
            }
            qint64 &beginn = offen[static_cast<size_t>(b)];
            if (a < gefordert) {
                if (beginn < 0)
                    beginn = i;
            } else if (beginn >= 0) {
                p.gesperrt[static_cast<size_t>(b)].push_back({beginn, i - 1});
                beginn = -1;
            }
        }
        p.abstand[static_cast<size_t>(i)] = kleinster;
        p.begrenzend[static_cast<size_t>(i)] = static_cast<qint16>(band);

        besteUndFreiNachfuehren(p, i, kleinster, kleinster >= gefordert, freiSeit);
    }
    for (int b = 0; b < baender; ++b) {
        if (offen[static_cast<size_t>(b)] >= 0)
            p.gesperrt[static_cast<size_t>(b)].push_back({offen[static_cast<size_t>(b)], n - 1});
    }
    return p;
}

Freiliste freiliste(const Planung &planung)
{
    Freiliste liste;
    for (const Freibereich &f : planung.frei) {
        // Counted in steps, so that 5,00 to 5,01 m is a whole centimetre.
        const double breite = static_cast<double>(f.bis - f.von) * planung.anfrage.schritt;
        if (breite >= kKleinsteSchnittbreite * (1.0 - 1e-9))
            liste.bereiche.push_back(f);
        else
            ++liste.weggelassen;
    }
    return liste;
}

QString weggelassenHinweis(qint64 weggelassen)
{
    if (weggelassen <= 0)
        return {};
    if (weggelassen == 1)
        return QStringLiteral("Ein freier Bereich schmaler als 1 cm ist nicht aufgeführt.");
    return QStringLiteral("%1 freie Bereiche schmaler als 1 cm sind nicht aufgeführt.")
        .arg(weggelassen);
}

int laengenStellen(double von, double schritt)
{
    const auto ganz = [](double x) {
        return std::fabs(x - std::round(x)) <= std::max(1e-6, std::fabs(x) * 1e-12);
    };
    double faktor = 100.0;
    for (int stellen = 2; stellen < 9; ++stellen, faktor *= 10.0) {
        if (ganz(von * faktor) && ganz(schritt * faktor))
            return stellen;
    }
    return 9;
}

void festkommaAnhaengen(QByteArray &ziel, double wert, int stellen, const QByteArray &trenner)
{
    static constexpr double zehner[] = {1.0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
    stellen = std::clamp(stellen, 0, 9);
    const double skaliert = std::round(std::fabs(wert) * zehner[stellen]);
    if (!std::isfinite(wert) || skaliert >= 9e15) {
        ziel += QByteArray::number(wert, 'f', stellen).replace('.', trenner);
        return;
    }
    auto ganzzahl = static_cast<qint64>(skaliert);
    if (wert < 0.0 && ganzzahl != 0)
        ziel += '-';
    const auto teiler = static_cast<qint64>(zehner[stellen]);
    char puffer[32];
    int ende = 0;
    qint64 vorne = ganzzahl / teiler;
    do {
        puffer[ende++] = static_cast<char>('0' + vorne % 10);
        vorne /= 10;
    } while (vorne > 0);
    std::reverse(puffer, puffer + ende);
    ziel.append(puffer, ende);
    if (stellen == 0)
        return;
    ziel += trenner;
    qint64 hinten = ganzzahl % teiler;
    for (int s = stellen - 1; s >= 0; --s) {
        puffer[s] = static_cast<char>('0' + hinten % 10);
        hinten /= 10;
    }
    ziel.append(puffer, stellen);
}

QByteArray planungCsv(const Planung &planung, const QLocale &locale)
{
    const QByteArray trenner = locale.decimalPoint().toUtf8();
    const int stellen = laengenStellen(planung.anfrage.vonLaenge, planung.anfrage.schritt);
    QByteArray csv;
    // About 20 bytes a line; one allocation for the whole table.
    csv.reserve(static_cast<qsizetype>(planung.anzahl) * (stellen + 16) + 32);
    csv += "Laenge/m;Abstand/Grad\n";
    for (qint64 i = 0; i < planung.anzahl; ++i) {
        festkommaAnhaengen(csv, planung.laenge(i), stellen, trenner);
        csv += ';';
        festkommaAnhaengen(csv, planung.abstand[static_cast<size_t>(i)], 3, trenner);
        csv += '\n';
    }
    return csv;
}

} // namespace varo
