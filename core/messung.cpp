#include "messung.h"

#include "konstanten.h"

#include <QLocale>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <thread>
#include <vector>

namespace varo {

namespace {


// An element whose reactance (or susceptance) is this small against the
// rig's impedance is no element at all: leaving it out changes the match
// by less than this share.
constexpr double kKeinBauteil = 1e-12;

// The roots ±√d of a square that must equal d; one root when d is zero
// within the rounding of its terms (of size skala), none when d < 0.
QList<double> wurzeln(double d, double skala)
{
    if (std::abs(d) <= 1e-12 * skala)
        return {0.0};
    if (d < 0.0)
        return {};
    const double w = std::sqrt(d);
    return {w, -w};
}

std::optional<double> reihe(double x)
{
    if (std::abs(x) <= kKeinBauteil * kSenderImpedanz)
        return std::nullopt;
    return x;
}

// The shunt element of susceptance b as a reactance, or none for b ≈ 0.
std::optional<double> quer(double b)
{
    if (std::abs(b) <= kKeinBauteil / kSenderImpedanz)
        return std::nullopt;
    return -1.0 / b;
}

Komplex parallel(Komplex a, double x)
{
    return 1.0 / (1.0 / a + 1.0 / Komplex(0.0, x));
}

bool imBereich(double fMHz, double vonMHz, double bisMHz)
{
    // The file's MHz may differ from the typed ones in the last bit.
    return fMHz > 0.0 && fMHz >= vonMHz * (1.0 - 1e-12) && fMHz <= bisMHz * (1.0 + 1e-12);
}

QString mhzText(double fMHz)
{
    return QLocale().toString(fMHz, 'g', 10);
}

} // namespace

Zahlschreiber::Zahlschreiber(const QLocale &locale, int stellen, bool immerPunkt)
    : m_punkt(locale.decimalPoint().toUtf8()), m_minus(locale.negativeSign().toUtf8()),
      m_stellen(stellen), m_immerPunkt(immerPunkt)
{
}

void Zahlschreiber::operator()(QByteArray &text, double wert) const
{
    char puffer[48];
    char *ende =
        std::to_chars(puffer, puffer + 40, wert, std::chars_format::general, m_stellen).ptr;
    char *punkt = std::find(puffer, ende, '.');
    if (punkt == ende && m_immerPunkt && std::isfinite(wert)) {
        // "7" and "1e+20" become "7.0" and "1.0e+20".
        punkt = std::find(puffer, ende, 'e');
        std::move_backward(punkt, ende, ende + 2);
        punkt[0] = '.';
        punkt[1] = '0';
        ende += 2;
    }
    const bool minus = puffer[0] == '-' && m_minus != "-";
    if (m_punkt.size() == 1 && !minus) {
        // The common case: one byte for the separator, "-" for the sign.
        if (punkt != ende)
            *punkt = m_punkt.at(0);
        text.append(puffer, ende - puffer);
        return;
    }
    QByteArray zahl(puffer, ende - puffer);
    if (punkt != ende)
        zahl.replace(punkt - puffer, 1, m_punkt);
    if (minus)
        zahl.replace(0, 1, m_minus);
    text += zahl;
}

void Zahlschreiber::operator()(QByteArray &text, std::optional<double> wert) const
{
    if (wert)
        (*this)(text, *wert);
}

Komplex zumSender(const Leitungskonstanten &k, double laenge, Komplex ZL)
{
    return leitungAuswerten(k.Zo, k.gamma, laenge, ZL, 1.0, 0.0).Zin;
}

Komplex zurAntenne(const Leitungskonstanten &k, double laenge, Komplex Zin)
{
    const Komplex t = std::tanh(k.gamma * laenge);
    return k.Zo * (Zin - k.Zo * t) / (k.Zo - Zin * t);
}

Messwerte messpunktAuswerten(const Leitungseingabe &eingabe, Messort ort, const Messpunkt &punkt)
{
    Messwerte w;
    w.fMHz = punkt.fHz / 1.0e6;
    if (!punkt.Z)
        return w;
    Leitungseingabe last = eingabe;
    if (ort == Messort::Antenne) {
        last.ZL = *punkt.Z;
    } else {
        w.zSender = punkt.Z;
        w.swrSender = stehwellenverhaeltnis(*punkt.Z, eingabe.R0);
        const Leitungskonstanten k =
            leitungskonstanten(eingabe.R0, eingabe.Vk, eingabe.verlust, w.fMHz, eingabe.verluste);
        const auto ZL = passiveImpedanz(zurAntenne(k, eingabe.laenge, *punkt.Z));
        if (!ZL)
            return w;
        last.ZL = *ZL;
    }
    const Leitungswerte l = leitungsanalyse(last, w.fMHz);
    w.zAntenne = last.ZL;
    w.swrAntenne = l.swrAntenne;
    if (ort == Messort::Antenne) {
        w.zSender = passiveImpedanz(l.Zin);
        if (!w.zSender)
            return w;
        w.swrSender = l.swrSender;
    }
    if (std::isfinite(l.verlustGesamt)) {
        w.verlustAngepasst = l.verlustAngepasst;
        w.verlustGesamt = l.verlustGesamt;
    }
    return w;
}

Messverlauf messverlauf(const Leitungseingabe &eingabe, Messort ort, const Messdaten &daten,
                        double vonMHz, double bisMHz)
{
    Messverlauf verlauf;
    // The frequencies rise, so the range is one run of points.
    const Messpunkt *anfang = daten.punkte.constData();
    const Messpunkt *ende = anfang + daten.punkte.size();
    while (anfang != ende && !imBereich(anfang->fHz / 1.0e6, vonMHz, bisMHz))
        ++anfang;
    const Messpunkt *schluss = anfang;
    while (schluss != ende && imBereich(schluss->fHz / 1.0e6, vonMHz, bisMHz))
        ++schluss;
    const qsizetype anzahl = schluss - anfang;
    verlauf.werte.resize(anzahl);
    Messwerte *ziel = verlauf.werte.data();
    const auto teil = [&](qsizetype von, qsizetype bis) {
        for (qsizetype i = von; i < bis; ++i)
            ziel[i] = messpunktAuswerten(eingabe, ort, anfang[i]);
    };
    // Every point stands alone: a large file is shared out among the cores,
    // each result in its own place, so the order of the work changes nothing.
    const qsizetype kerne = std::clamp<qsizetype>(std::thread::hardware_concurrency(), 1, 8);
    if (anzahl < 20000 || kerne == 1) {
        teil(0, anzahl);
    } else {
        std::vector<std::thread> faeden;
        for (qsizetype k = 1; k < kerne; ++k)
            faeden.emplace_back(teil, anzahl * k / kerne, anzahl * (k + 1) / kerne);
        teil(0, anzahl / kerne);
        for (std::thread &faden : faeden)
            faden.join();
    }
    for (qsizetype i = 0; i < anzahl; ++i) {
        if (!anfang[i].Z)
            ++verlauf.luecken;
        else if (!ziel[i].vollstaendig())
            ++verlauf.nichtPassiv;
    }
    if (verlauf.luecken > 0)
        verlauf.hinweise << QStringLiteral("Frequenzen ohne passive Impedanz (|Γ| ≥ 1) im "
                                           "Bereich: %1; sie bleiben Lücken.")
                                .arg(verlauf.luecken);
    if (verlauf.nichtPassiv > 0)
        verlauf.hinweise << QStringLiteral(
                                "Frequenzen, an denen die Messung durch dieses Kabel am Fußpunkt "
                                "keine passive Impedanz ergibt: %1; Kabeldaten oder Messung "
                                "prüfen.")
                                .arg(verlauf.nichtPassiv);
    return verlauf;
}

QString messbereichPruefen(const Messdaten &daten, double vonMHz, double bisMHz)
{
    if (!(vonMHz > 0.0) || !(vonMHz <= bisMHz) || !std::isfinite(bisMHz))
        return QStringLiteral("Der Frequenzbereich ist ungültig: „von“ muss größer als 0 MHz und "
                              "höchstens „bis“ sein.");
    const bool getroffen =
        std::any_of(daten.punkte.cbegin(), daten.punkte.cend(),
                    [&](const Messpunkt &p) { return imBereich(p.fHz / 1.0e6, vonMHz, bisMHz); });
    if (getroffen)
        return {};
    if (daten.punkte.isEmpty())
        return QStringLiteral("Die Messung enthält keine Frequenzen.");
    return QStringLiteral("Zwischen %1 und %2 MHz liegt keine Frequenz der Messung über 0 Hz (sie "
                          "reicht von %3 bis %4 MHz).")
        .arg(mhzText(vonMHz), mhzText(bisMHz), mhzText(daten.punkte.constFirst().fHz / 1e6),
             mhzText(daten.punkte.constLast().fHz / 1e6));
}

QList<Anpassnetz> anpassnetze(Komplex Z)
{
    const double r0 = kSenderImpedanz;
    QList<Anpassnetz> netze;
    if (!passiveImpedanz(Z) || std::abs((Z - r0) / (Z + r0)) < 1e-9)
        return netze;

    // Shunt at the cable: G + j(B + Bq) must have the real part 1/R0 when
    // turned to an impedance, (B + Bq)² = G/R0 − G²; the series element then
    // takes away the reactance left.
    const Komplex Y = 1.0 / Z;
    const double G = Y.real();
    for (const double s : wurzeln(G / r0 - G * G, G / r0)) {
        const Komplex rest = 1.0 / Komplex(G, s);
        netze.append({Schaltung::QuerAmKabel, reihe(-rest.imag()), quer(s - Y.imag())});
    }
    // Series at the cable: R + j(X + Xs) must have the real conductance
    // 1/R0, (X + Xs)² = R·R0 − R²; the shunt element takes away the rest.
    const double R = Z.real();
    for (const double s : wurzeln(R * r0 - R * R, R * r0)) {
        const Komplex rest = 1.0 / Komplex(R, s);
        netze.append({Schaltung::QuerAmSender, reihe(s - Z.imag()), quer(-rest.imag())});
    }
    return netze;
}

Komplex mitNetz(const Anpassnetz &netz, Komplex Z)
{
    const double xr = netz.xReihe.value_or(0.0);
    if (netz.schaltung == Schaltung::QuerAmKabel) {
        const Komplex innen = netz.xQuer ? parallel(Z, *netz.xQuer) : Z;
        return innen + Komplex(0.0, xr);
    }
    const Komplex innen = Z + Komplex(0.0, xr);
    return netz.xQuer ? parallel(innen, *netz.xQuer) : innen;
}

QString bauteilText(std::optional<double> x, double fMHz, const QLocale &locale)
{
    if (!x || !(fMHz > 0.0))
        return {};
    const double omega = 2.0 * kPi * fMHz * 1.0e6;
    const bool spule = *x > 0.0;
    const double wert = spule ? *x / omega * 1.0e6 : 1.0 / (omega * -*x) * 1.0e12;
    const int stellen = std::clamp(3 - int(std::floor(std::log10(wert))), 0, 15);
    QLocale l = locale;
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    QString text = l.toString(wert, 'f', stellen);
    if (stellen > 0) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(l.decimalPoint()))
            text.chop(l.decimalPoint().size());
    }
    return text + (spule ? QStringLiteral(" µH") : QStringLiteral(" pF"));
}

QByteArray messungCsv(const Messverlauf &verlauf, const QLocale &locale)
{
    const Zahlschreiber zahl(locale, 10);
    QByteArray text = messungCsvKopf.toUtf8() + '\n';
    text.reserve(text.size() + verlauf.werte.size() * 120);
    const auto teil = [&](QByteArray &t, const std::optional<Komplex> &z, bool real) {
        t += ';';
        if (z)
            zahl(t, real ? z->real() : z->imag());
    };
    for (const Messwerte &w : verlauf.werte) {
        zahl(text, w.fMHz);
        teil(text, w.zSender, true);
        teil(text, w.zSender, false);
        teil(text, w.zAntenne, true);
        teil(text, w.zAntenne, false);
        for (const auto &wert : {w.swrSender, w.swrAntenne, w.verlustAngepasst, w.verlustGesamt}) {
            text += ';';
            zahl(text, wert);
        }
        text += '\n';
    }
    return text;
}

QByteArray anpassungCsv(const Messverlauf &verlauf, const QLocale &locale)
{
    const Zahlschreiber zahl(locale, 10);
    QByteArray text = anpassungCsvKopf.toUtf8() + '\n';
    for (const Messwerte &w : verlauf.werte) {
        QByteArray f;
        zahl(f, w.fMHz);
        if (!w.zSender) {
            text += f + ";;;;;\n";
            continue;
        }
        const QList<Anpassnetz> netze = anpassnetze(*w.zSender);
        if (netze.isEmpty())
            text += f + ";keine;0;0;;\n";
        for (const Anpassnetz &n : netze) {
            text += f;
            text += n.schaltung == Schaltung::QuerAmKabel ? ";Quer am Kabel;" : ";Quer am Sender;";
            zahl(text, n.xReihe.value_or(0.0));
            text += ';';
            zahl(text, n.xQuer.value_or(0.0));
            text += ';' + bauteilText(n.xReihe, w.fMHz, locale).toUtf8() + ';' +
                    bauteilText(n.xQuer, w.fMHz, locale).toUtf8() + '\n';
        }
    }
    return text;
}

} // namespace varo
