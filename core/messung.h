#pragma once

// A measured antenna and its cable: the impedance measured at the feedpoint
// carried to the rig, or the impedance measured at the rig through the cable
// carried back to the feedpoint (de-embedding), point by point with the
// lossy line model; and the L-networks that match the rig end to 50 Ω.

#include "leitungsanalyse.h"
#include "messdaten.h"
#include "zahlschreiber.h"

#include <QByteArray>
#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace varo {

// Where the file was measured.
enum class Messort {
    Antenne, // at the feedpoint: carried to the rig
    Sender   // at the rig, through this cable: carried back to the feedpoint
};

// The impedance of the rig the networks match to.
inline constexpr double kSenderImpedanz = 50.0;

// Zin = Zo·(ZL + Zo·tanh γl)/(Zo + ZL·tanh γl).
Komplex zumSender(const Leitungskonstanten &k, double laenge, Komplex ZL);

// The inverse: ZL = Zo·(Zin − Zo·tanh γl)/(Zo − Zin·tanh γl).
Komplex zurAntenne(const Leitungskonstanten &k, double laenge, Komplex Zin);

// Both ends of the line at one measured frequency. A gap of the file has
// neither end; a shack measurement that gives no passive impedance at the
// feedpoint has only the rig end. SWR against the cable's nominal impedance
// R0, as the line analysis reports it.
struct Messwerte
{
    double fMHz = 0.0;
    std::optional<Komplex> zSender, zAntenne;
    std::optional<double> swrSender, swrAntenne;
    std::optional<double> verlustAngepasst, verlustGesamt; // dB, both ends known

    bool vollstaendig() const { return zSender && zAntenne; }
};

struct Messverlauf
{
    QList<Messwerte> werte;    // the file's frequencies in the range, rising
    qsizetype luecken = 0;     // gaps of the file in the range
    qsizetype nichtPassiv = 0; // feedpoints of a shack measurement beyond |Γ| < 1
    QStringList hinweise;      // German notes on the above
};

// The values at one measured point; eingabe.ZL is not used.
Messwerte messpunktAuswerten(const Leitungseingabe &eingabe, Messort ort, const Messpunkt &punkt);

// Every point of daten from vonMHz to bisMHz (both inclusive); points at
// 0 Hz are left out, the line has no values there.
Messverlauf messverlauf(const Leitungseingabe &eingabe, Messort ort, const Messdaten &daten,
                        double vonMHz, double bisMHz);

// The checks of a measured request's range; a German sentence, or empty.
QString messbereichPruefen(const Messdaten &daten, double vonMHz, double bisMHz);

// The two arrangements of an L-network between the rig end of the cable and
// the rig.
enum class Schaltung {
    QuerAmKabel, // shunt across the cable's input, series element towards the rig
    QuerAmSender // series element at the cable, shunt across the rig side
};

// One network of two lossless reactances (Ω, positive inductive); an element
// that is not needed is empty (a series wire, an open shunt).
struct Anpassnetz
{
    Schaltung schaltung = Schaltung::QuerAmKabel;
    std::optional<double> xReihe;
    std::optional<double> xQuer;
};

// Every network that matches Z to kSenderImpedanz, first those of
// QuerAmKabel. None when |Γ| of Z against 50 Ω is below 1e-9.
QList<Anpassnetz> anpassnetze(Komplex Z);

// The impedance the rig sees through the network with Z behind it.
Komplex mitNetz(const Anpassnetz &netz, Komplex Z);

// "1,234 µH" or "56,7 pF" for a reactance at fMHz, four significant digits
// in the locale's form; empty for no element.
QString bauteilText(std::optional<double> x, double fMHz, const QLocale &locale);

// The header line of the table of both ends.
inline const QString messungCsvKopf = QStringLiteral(
    "f/MHz;R Sender/Ohm;X Sender/Ohm;R Antenne/Ohm;X Antenne/Ohm;SWR Sender;SWR Antenne;"
    "Verlust angepasst/dB;Verlust gesamt/dB");

// One line per frequency after the header, ";" between the fields, the
// locale's decimal separator and ten significant digits; a value that is
// not known leaves its field empty (a gap: the frequency and empty fields).
QByteArray messungCsv(const Messverlauf &verlauf, const QLocale &locale);

// The same table in pieces of some hundred kilobytes, in order, handed to
// weiter; false as soon as weiter returns false. A large table is written
// on this way without ever standing in memory as a whole.
bool messungCsvSchreiben(const Messverlauf &verlauf, const QLocale &locale,
                         const std::function<bool(const QByteArray &)> &weiter);

// The header line of the table of networks.
inline const QString anpassungCsvKopf =
    QStringLiteral("f/MHz;Schaltung;X Reihe/Ohm;X Quer/Ohm;Reihe;Quer");

// One line per network and frequency: "Quer am Kabel" or "Quer am Sender",
// the reactances (0 with an empty component for an element not needed) and
// the components as text; "f;keine;0;0;;" where the rig end is 50 Ω
// already, and the frequency with empty fields for a gap.
QByteArray anpassungCsv(const Messverlauf &verlauf, const QLocale &locale);

} // namespace varo
