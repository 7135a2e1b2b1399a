#pragma once

// A real cable between transmitter and antenna: line constants from the
// nominal impedance, the velocity factor and the fitted loss, the impedance
// the transmitter sees, the SWR at both ends and the loss of the line.
// Everything in double precision; the line impedance Zo is complex, which
// keeps the loss right for reactive loads.

#include "kabeldaten.h"
#include "konstanten.h"

#include <QList>
#include <QString>

#include <complex>

namespace varo {

using Komplex = std::complex<double>;

struct Leitungseingabe
{
    double R0 = 50.0; // nominal impedance of the cable, Ω
    double Vk = 0.66;
    Verlustmodell verlust; // matched loss in dB per 100 m
    double laenge = 0.0;   // m
    Komplex ZL{50.0, 0.0}; // antenna impedance R + jX, Ω
    bool verluste = true;  // false: the same line without loss
};

// Per-metre constants of the line at one frequency.
struct Leitungskonstanten
{
    double R = 0.0, L = 0.0, G = 0.0, C = 0.0; // Ω/m, H/m, S/m, F/m
    Komplex Zo;                                // Ω
    Komplex gamma;                             // 1/m, α + jβ
};

// What the line does at one frequency.
struct Leitungswerte
{
    double fMHz = 0.0;
    Komplex Zin;                   // at the transmitter end, Ω
    double swrSender = 1.0;        // of Zin against R0
    double swrAntenne = 1.0;       // of ZL against R0
    double verlustAngepasst = 0.0; // dB, matched loss over the length
    double verlustGesamt = 0.0;    // dB, 10·log10(Pin / PL)
};

// dB to neper: 1 dB = ln(10) / 20 Np, that is 8.686 dB per neper.
double dBZuNeper(double dB);

// R = 2·R0·αc, G = 2·αd / R0, L = R0 / v, C = 1 / (R0·v), v = 300·10⁶·Vk,
// where αc = k1·√f and αd = k2·f, turned from dB per 100 m into Np/m.
Leitungskonstanten leitungskonstanten(double R0, double Vk, const Verlustmodell &verlust,
                                      double fMHz, bool verluste);

// The SWR a meter of impedance R0 shows for the impedance Z; infinite for
// a load that reflects everything.
double stehwellenverhaeltnis(Komplex Z, double R0);

// A line of Zo and γ, laenge metres long and loaded with ZL: voltage and
// current are carried from the load to the input, which gives Zin and the
// total loss. verlustAngepasst (dB) is passed through.
Leitungswerte leitungAuswerten(const Komplex &Zo, const Komplex &gamma, double laenge,
                               const Komplex &ZL, double R0, double verlustAngepasst);

// The whole model at one frequency.
Leitungswerte leitungsanalyse(const Leitungseingabe &eingabe, double fMHz);

// schritte + 1 frequencies equally spaced from vonMHz to bisMHz.
QList<Leitungswerte> leitungsverlauf(const Leitungseingabe &eingabe, double vonMHz, double bisMHz,
                                     int schritte);

// Most frequencies a run may ask for.
inline constexpr int kMaxSchritte = 100000;

// The checks of a request, in the order the user reads the fields; a German
// sentence for the first that fails, empty when the request can be computed.
QString leitungseingabePruefen(const Leitungseingabe &eingabe, double vonMHz, double bisMHz);

} // namespace varo
