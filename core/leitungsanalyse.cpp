#include "leitungsanalyse.h"

#include <cmath>
#include <limits>

namespace varo {

namespace {

// ln |cosh(a + jb)|² without overflow for long lossy lines:
// |cosh(a + jb)|² = (cosh 2a + cos 2b) / 2.
double lnCoshBetragQuadrat(const Komplex &x)
{
    const double a = std::abs(x.real());
    if (2.0 * a < 700.0)
        return std::log((std::cosh(2.0 * a) + std::cos(2.0 * x.imag())) / 2.0);
    return 2.0 * a - std::log(4.0);
}

} // namespace

double dBZuNeper(double dB)
{
    return dB * std::log(10.0) / 20.0;
}

Leitungskonstanten leitungskonstanten(double R0, double Vk, const Verlustmodell &verlust,
                                      double fMHz, bool verluste)
{
    Leitungskonstanten k;
    const double v = kLichtgeschwindigkeit * Vk;
    const double omega = 2.0 * kPi * fMHz * 1.0e6;
    double alphaC = 0.0;
    double alphaD = 0.0;
    if (verluste && verlust.vorhanden && fMHz > 0.0) {
        alphaC = dBZuNeper(verlust.k1 * std::sqrt(fMHz)) / 100.0;
        alphaD = dBZuNeper(verlust.k2 * fMHz) / 100.0;
    }
    k.R = 2.0 * R0 * alphaC;
    k.G = 2.0 * alphaD / R0;
    k.L = R0 / v;
    k.C = 1.0 / (R0 * v);
    const Komplex reihe(k.R, omega * k.L);
    const Komplex quer(k.G, omega * k.C);
    k.Zo = std::sqrt(reihe / quer);
    k.gamma = std::sqrt(reihe * quer);
    // The principal roots: Re Zo > 0 and α, β ≥ 0 for a passive line.
    if (k.gamma.real() < 0.0 || (k.gamma.real() == 0.0 && k.gamma.imag() < 0.0))
        k.gamma = -k.gamma;
    return k;
}

double stehwellenverhaeltnis(Komplex Z, double R0)
{
    const double betrag = std::abs((Z - R0) / (Z + R0));
    if (!(betrag < 1.0))
        return std::numeric_limits<double>::infinity();
    return (1.0 + betrag) / (1.0 - betrag);
}

Leitungswerte leitungAuswerten(const Komplex &Zo, const Komplex &gamma, double laenge,
                               const Komplex &ZL, double R0, double verlustAngepasst)
{
    Leitungswerte w;
    const Komplex gl = gamma * laenge;
    const Komplex t = std::tanh(gl);
    w.Zin = Zo * (ZL + Zo * t) / (Zo + ZL * t);
    w.swrSender = stehwellenverhaeltnis(w.Zin, R0);
    w.swrAntenne = stehwellenverhaeltnis(ZL, R0);
    w.verlustAngepasst = verlustAngepasst;

    // With I = 1 A at the load, V = ZL there; at the input
    //   V = cosh(γl)·(ZL + Zo·tanh γl),  I = cosh(γl)·(1 + ZL / Zo·tanh γl).
    // The common factor cosh(γl) enters the power as |cosh γl|², taken as a
    // logarithm so that a long lossy line does not overflow.
    const Komplex v = ZL + Zo * t;
    const Komplex i = 1.0 + ZL / Zo * t;
    const double pEinVerhaeltnis = (v * std::conj(i)).real();
    const double pLast = ZL.real();
    w.verlustGesamt =
        10.0 / std::log(10.0) * (lnCoshBetragQuadrat(gl) + std::log(pEinVerhaeltnis / pLast));
    return w;
}

Leitungswerte leitungsanalyse(const Leitungseingabe &eingabe, double fMHz)
{
    const Leitungskonstanten k =
        leitungskonstanten(eingabe.R0, eingabe.Vk, eingabe.verlust, fMHz, eingabe.verluste);
    const double angepasst =
        eingabe.verluste ? eingabe.verlust.dBPro100m(fMHz) * eingabe.laenge / 100.0 : 0.0;
    Leitungswerte w =
        leitungAuswerten(k.Zo, k.gamma, eingabe.laenge, eingabe.ZL, eingabe.R0, angepasst);
    w.fMHz = fMHz;
    if (!eingabe.verluste || !eingabe.verlust.vorhanden)
        w.verlustGesamt = 0.0; // rounding must not show a loss where there is none
    return w;
}

QList<Leitungswerte> leitungsverlauf(const Leitungseingabe &eingabe, double vonMHz, double bisMHz,
                                     int schritte)
{
    QList<Leitungswerte> werte;
    if (schritte < 1)
        return werte;
    werte.reserve(schritte + 1);
    const double spanne = bisMHz - vonMHz;
    for (int i = 0; i <= schritte; ++i) {
        // Computed from the index, not summed, so the last point is bisMHz.
        const double f = i == schritte ? bisMHz : vonMHz + spanne * i / schritte;
        werte.append(leitungsanalyse(eingabe, f));
    }
    return werte;
}

QString leitungseingabePruefen(const Leitungseingabe &eingabe, double vonMHz, double bisMHz)
{
    if (!(vonMHz > 0.0) || !(vonMHz < bisMHz) || !std::isfinite(bisMHz))
        return QStringLiteral("Der Frequenzbereich ist ungültig: „von“ muss größer als 0 MHz "
                              "und kleiner als „bis“ sein.");
    if (!(eingabe.R0 > 0.0) || !std::isfinite(eingabe.R0))
        return QStringLiteral("Die Impedanz des Kabels muss größer als 0 Ω sein.");
    if (!(eingabe.Vk > 0.0 && eingabe.Vk <= 1.0))
        return QStringLiteral("Der Verkürzungsfaktor muss größer als 0 und höchstens 1 sein.");
    if (!(eingabe.laenge > 0.0) || !std::isfinite(eingabe.laenge))
        return QStringLiteral("Die Kabellänge muss größer als 0 m sein.");
    if (!(eingabe.ZL.real() > 0.0) || !std::isfinite(eingabe.ZL.real()) ||
        !std::isfinite(eingabe.ZL.imag()))
        return QStringLiteral("Der Wirkanteil R der Antenne muss größer als 0 Ω sein.");
    if (eingabe.verlust.vorhanden &&
        (!(eingabe.verlust.k1 >= 0.0) || !(eingabe.verlust.k2 >= 0.0) ||
         !std::isfinite(eingabe.verlust.k1) || !std::isfinite(eingabe.verlust.k2)))
        return QStringLiteral("Die Dämpfungsangaben des Kabels sind unbrauchbar.");
    return {};
}

} // namespace varo
