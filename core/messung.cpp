#include "messung.h"

#include "konstanten.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <thread>
#include <vector>

#if (defined(__GNUC__) || defined(__clang__)) && (defined(__x86_64__) || defined(__i386__))
#include <immintrin.h>
#define VARO_VZEROUPPER 1
#endif

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

bool endlich(Komplex z)
{
    return std::isfinite(z.real()) && std::isfinite(z.imag());
}

// a / b without the scaling of the library's quotient; the caller checks
// that the result is finite.
Komplex teilen(Komplex a, Komplex b)
{
    const double k = 1.0 / (b.real() * b.real() + b.imag() * b.imag());
    return {(a.real() * b.real() + a.imag() * b.imag()) * k,
            (a.imag() * b.real() - a.real() * b.imag()) * k};
}

// The principal root of a + jb for b ≥ 0: real part ≥ 0.
Komplex wurzel(Komplex z)
{
    const double betrag = std::sqrt(z.real() * z.real() + z.imag() * z.imag());
    if (z.real() >= 0.0) {
        const double w = std::sqrt((betrag + z.real()) / 2.0);
        return {w, z.imag() / (2.0 * w)};
    }
    const double w = std::sqrt((betrag - z.real()) / 2.0);
    return {z.imag() / (2.0 * w), w};
}

// stehwellenverhaeltnis from squares instead of hypot and a quotient.
double swr(Komplex Z, double R0)
{
    const double x2 = Z.imag() * Z.imag();
    const double oben = (Z.real() - R0) * (Z.real() - R0) + x2;
    const double unten = (Z.real() + R0) * (Z.real() + R0) + x2;
    const double betrag = std::sqrt(oben / unten);
    if (!std::isfinite(betrag))
        return stehwellenverhaeltnis(Z, R0);
    if (!(betrag < 1.0))
        return std::numeric_limits<double>::infinity();
    return (1.0 + betrag) / (1.0 - betrag);
}

// One point the general way, with the functions of the line analysis.
Messwerte allgemeinAuswerten(const Leitungseingabe &eingabe, Messort ort, const Messpunkt &punkt)
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

// The line model of leitungsanalyse for the many frequencies of one cable:
// what does not depend on the frequency is computed once; tanh γl and
// |cosh γl|² come from one expm1 and one sincos; Zo = γ / (G + jωC) needs no
// second root. Where a value on the way is not finite (a pole of tanh, an
// impedance too large for its squares), the point takes the general way.
class Punktrechner
{
public:
    explicit Punktrechner(const Leitungseingabe &eingabe)
        : m_eingabe(eingabe), m_mitVerlust(eingabe.verluste && eingabe.verlust.vorhanden)
    {
        const double v = kLichtgeschwindigkeit * eingabe.Vk;
        m_L = eingabe.R0 / v;
        m_C = 1.0 / (eingabe.R0 * v);
        m_rProWurzelF = 2.0 * eingabe.R0 * dBZuNeper(eingabe.verlust.k1) / 100.0;
        m_gProF = 2.0 * dBZuNeper(eingabe.verlust.k2) / 100.0 / eingabe.R0;
    }

    Messwerte auswerten(Messort ort, const Messpunkt &punkt) const;

private:
    // The line at one frequency.
    struct Leitung
    {
        Komplex Zo, kehrZo, t;    // t = tanh γl
        double coshQuadrat = 0.0; // |cosh γl|², infinite for a very long lossy line
        double lnCosh = 0.0;      // ln |cosh γl|² for such a line
        double angepasst = 0.0;   // dB, matched loss over the length
    };
    std::optional<Leitung> leitung(double fMHz) const;
    // 10·log10(Pin / PL) with p = Re(V·conj I) / Re ZL at the input.
    static double verlust(const Leitung &l, double p);

    const Leitungseingabe &m_eingabe;
    bool m_mitVerlust;
    double m_L, m_C;
    double m_rProWurzelF, m_gProF; // R = m_rProWurzelF·√f, G = m_gProF·f, f in MHz
};

std::optional<Punktrechner::Leitung> Punktrechner::leitung(double fMHz) const
{
    if (!(fMHz > 0.0))
        return std::nullopt;
    const double omega = 2.0 * kPi * fMHz * 1.0e6;
    const double wurzelF = std::sqrt(fMHz);
    const double R = m_mitVerlust ? m_rProWurzelF * wurzelF : 0.0;
    const double G = m_mitVerlust ? m_gProF * fMHz : 0.0;
    const Komplex quer(G, omega * m_C);
    const Komplex gamma =
        wurzel(Komplex(R * G - omega * m_L * omega * m_C, R * omega * m_C + G * omega * m_L));
    Leitung l;
    l.Zo = teilen(gamma, quer);
    l.kehrZo = std::conj(l.Zo) * (1.0 / std::norm(l.Zo));
    // tanh(a + jb) = (sinh 2a + j sin 2b) / (cosh 2a + cos 2b), a ≥ 0, and
    // |cosh(a + jb)|² = (cosh 2a + cos 2b) / 2.
    const double a = gamma.real() * m_eingabe.laenge;
    const double b = gamma.imag() * m_eingabe.laenge;
    if (2.0 * a < 700.0) {
        const double e = std::expm1(2.0 * a);
        const double h = 1.0 / (2.0 * (e + 1.0));
        const double nenner = 1.0 + e * e * h + std::cos(2.0 * b); // cosh 2a + cos 2b
        const double k = 1.0 / nenner;
        l.t = Komplex(e * (e + 2.0) * h * k, std::sin(2.0 * b) * k);
        l.coshQuadrat = nenner / 2.0;
    } else {
        l.t = Komplex(1.0, 0.0);
        l.coshQuadrat = std::numeric_limits<double>::infinity();
        l.lnCosh = 2.0 * a - std::log(4.0);
    }
    if (!endlich(l.Zo) || !endlich(l.kehrZo) || !endlich(l.t))
        return std::nullopt;
    // As Verlustmodell::dBPro100m, with the root already taken.
    l.angepasst = m_mitVerlust ? (m_eingabe.verlust.k1 * wurzelF + m_eingabe.verlust.k2 * fMHz) *
                                     m_eingabe.laenge / 100.0
                               : 0.0;
    return l;
}

double Punktrechner::verlust(const Leitung &l, double p)
{
    // One logarithm where the product stays in range.
    const double verhaeltnis = l.coshQuadrat * p;
    if (std::isfinite(verhaeltnis) && verhaeltnis > 0.0)
        return 10.0 / std::log(10.0) * std::log(verhaeltnis);
    const double lnCosh = std::isfinite(l.coshQuadrat) ? std::log(l.coshQuadrat) : l.lnCosh;
    return 10.0 / std::log(10.0) * (lnCosh + std::log(p));
}

Messwerte Punktrechner::auswerten(Messort ort, const Messpunkt &punkt) const
{
    Messwerte w;
    w.fMHz = punkt.fHz / 1.0e6;
    if (!punkt.Z)
        return w;
    const auto l = leitung(w.fMHz);
    if (!l)
        return allgemeinAuswerten(m_eingabe, ort, punkt);
    const double R0 = m_eingabe.R0;
    Komplex ZL = *punkt.Z;
    if (ort == Messort::Sender) {
        // ZL = Zo·(Zin − Zo·tanh γl)/(Zo − Zin·tanh γl)
        ZL = teilen(*punkt.Z - l->Zo * l->t, 1.0 - *punkt.Z * l->kehrZo * l->t);
        if (!endlich(ZL))
            return allgemeinAuswerten(m_eingabe, ort, punkt);
        w.zSender = punkt.Z;
        w.swrSender = swr(*punkt.Z, R0);
        if (!passiveImpedanz(ZL))
            return w;
    }
    // With I = 1 A at the load: V = ZL + Zo·tanh γl and I = 1 + ZL/Zo·tanh γl
    // at the input, both divided by cosh γl.
    const Komplex v = ZL + l->Zo * l->t;
    const Komplex i = 1.0 + ZL * l->kehrZo * l->t;
    w.zAntenne = ZL;
    w.swrAntenne = swr(ZL, R0);
    if (ort == Messort::Antenne) {
        const Komplex zin = teilen(v, i);
        if (!endlich(zin))
            return allgemeinAuswerten(m_eingabe, ort, punkt);
        w.zSender = passiveImpedanz(zin);
        if (!w.zSender)
            return w;
        w.swrSender = swr(zin, R0);
    }
    const double gesamt =
        m_mitVerlust ? verlust(*l, (v.real() * i.real() + v.imag() * i.imag()) / ZL.real()) : 0.0;
    if (std::isfinite(gesamt)) {
        w.verlustAngepasst = l->angepasst;
        w.verlustGesamt = gesamt;
    }
    return w;
}

// Into how many parts work on anzahl items is shared out: one for small
// work, else one per core, at most eight.
qsizetype teilzahl(qsizetype anzahl)
{
    if (anzahl < 20000)
        return 1;
    return std::clamp<qsizetype>(std::thread::hardware_concurrency(), 1, 8);
}

#ifdef VARO_VZEROUPPER
__attribute__((target("avx"))) void obereHaelftenFreigeben()
{
    _mm256_zeroupper();
}
#endif

// Library code that uses wide vector registers (parts of Qt, met while the
// GUI application starts) may leave their upper halves marked as in use.
// Until that mark is cleared, each switch between the math library's AVX
// code and the SSE code of this file saves or restores the register state:
// on a Xeon, expm1, sincos and log became some 70 times slower after
// QGuiApplication had started. vzeroupper, where the processor has AVX,
// clears the mark; it changes no value, no vector register is kept across a
// call.
void vektorzustandFreigeben()
{
#ifdef VARO_VZEROUPPER
    if (__builtin_cpu_supports("avx"))
        obereHaelftenFreigeben();
#endif
}

// Runs teil(k, von, bis) for the parts k of the items 0 to anzahl − 1, every
// part but the first in a thread of its own, each on a cleared vector state.
template <typename Teil> void aufgeteilt(qsizetype anzahl, qsizetype teile, Teil &&teil)
{
    const auto sauber = [&teil](qsizetype k, qsizetype von, qsizetype bis) {
        vektorzustandFreigeben();
        teil(k, von, bis);
    };
    std::vector<std::thread> faeden;
    for (qsizetype k = 1; k < teile; ++k)
        faeden.emplace_back(sauber, k, anzahl * k / teile, anzahl * (k + 1) / teile);
    sauber(0, 0, anzahl / teile);
    for (std::thread &faden : faeden)
        faden.join();
}

// Appends the table's lines of n values to text: ";" between the fields,
// an unknown value leaves its field empty. Each line is written into room
// for its longest form.
void zeilenSchreiben(QByteArray &text, const Messwerte *werte, qsizetype n,
                     const Zahlschreiber &zahl)
{
    constexpr qsizetype zeileHoechstens = qsizetype{9} * (Zahlschreiber::kPlatz + 1);
    qsizetype laenge = text.size();
    text.resize(laenge + n * 120 + zeileHoechstens);
    for (const Messwerte *w = werte; w != werte + n; ++w) {
        if (text.size() - laenge < zeileHoechstens)
            text.resize(text.size() + text.size() / 2 + zeileHoechstens);
        char *const anfang = text.data() + laenge;
        char *z = zahl(anfang, w->fMHz);
        for (const auto &ende : {w->zSender, w->zAntenne}) {
            for (const bool real : {true, false}) {
                *z++ = ';';
                if (ende)
                    z = zahl(z, real ? ende->real() : ende->imag());
            }
        }
        for (const auto &wert :
             {w->swrSender, w->swrAntenne, w->verlustAngepasst, w->verlustGesamt}) {
            *z++ = ';';
            if (wert)
                z = zahl(z, *wert);
        }
        *z++ = '\n';
        laenge += z - anfang;
    }
    text.resize(laenge);
}

} // namespace

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
    return Punktrechner(eingabe).auswerten(ort, punkt);
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
    const Punktrechner rechner(eingabe);
    // Every point stands alone, each result in its own place, so the order
    // of the work changes nothing.
    aufgeteilt(anzahl, teilzahl(anzahl), [&](qsizetype, qsizetype von, qsizetype bis) {
        for (qsizetype i = von; i < bis; ++i)
            ziel[i] = rechner.auswerten(ort, anfang[i]);
    });
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

bool messungCsvSchreiben(const Messverlauf &verlauf, const QLocale &locale,
                         const std::function<bool(const QByteArray &)> &weiter)
{
    const Zahlschreiber zahl(locale, 10);
    const qsizetype anzahl = verlauf.werte.size();
    // Rounds of so many lines per part, each part in a text of its own that
    // is used again: a large table never stands in memory as a whole.
    constexpr qsizetype zeilenProTeil = 8192;
    std::vector<QByteArray> teile(std::size_t(teilzahl(anzahl)));
    teile[0] = messungCsvKopf.toUtf8() + '\n';
    const qsizetype runde = zeilenProTeil * qsizetype(teile.size());
    qsizetype anfang = 0;
    do {
        const qsizetype n = std::min(runde, anzahl - anfang);
        aufgeteilt(n, qsizetype(teile.size()), [&](qsizetype teil, qsizetype von, qsizetype bis) {
            zeilenSchreiben(teile[std::size_t(teil)], verlauf.werte.constData() + anfang + von,
                            bis - von, zahl);
        });
        for (QByteArray &teil : teile) {
            if (!teil.isEmpty() && !weiter(teil))
                return false;
            teil.resize(0); // keeps its room
        }
        anfang += n;
    } while (anfang < anzahl);
    return true;
}

QByteArray messungCsv(const Messverlauf &verlauf, const QLocale &locale)
{
    QByteArray text;
    messungCsvSchreiben(verlauf, locale, [&text](const QByteArray &stueck) {
        text += stueck;
        return true;
    });
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
