#pragma once

// Measuring one's own cable: from the input impedance of the cable with its
// far end open, shorted, or both, and its physical length (or a known
// velocity factor), the velocity factor, the line impedance, the matched
// loss over frequency, a cable table row and the length to cut for a stub.
// Plain functions without windows; double precision, c = 300·10⁶ m/s.

#include "kabeldaten.h"
#include "leitungsanalyse.h"

#include <QByteArray>
#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <optional>

namespace varo {

struct Messpunkt; // messdaten.h

// One measured frequency. A point the instrument could not turn into a
// passive impedance (|Γ| ≥ 1) is a gap: z is nullopt.
struct Impedanzpunkt
{
    double fHz = 0.0;
    std::optional<Komplex> z; // Ω
};

// How the far end of the cable was terminated during a measurement.
enum class Abschluss { Offen, Kurzschluss };

// What the user gives besides the measurement: exactly one of laenge and Vk.
struct Messangaben
{
    std::optional<double> laenge;    // physical length in m
    std::optional<double> Vk;        // known velocity factor: the length is computed instead
    std::optional<Kabeldaten> kabel; // the cable it is meant to be: nominal Vk and impedance
    QString name;                    // type name of the proposed row
};

// The result at one measured frequency (single measurement: at one minimum).
struct Messwert
{
    double fMHz = 0.0;
    double Vk = 0.0;
    std::optional<Komplex> Zo;       // Ω, √(Zoc·Zsc); nullopt when only one end was measured
    std::optional<Komplex> ZoModell; // Ω, Zo of the line model with the fitted R0, Vk and loss
    double dBPro100m = 0.0;          // matched loss
    double elektrischeLaenge = 0.0;  // m, the length a wave in free space has the same phase over
};

struct Kabelmessergebnis
{
    QList<Messwert> werte; // rising in frequency
    double VkMittel = 0.0;
    double VkStreuung = 0.0; // standard deviation over the points
    double VkMin = 0.0;
    double VkMax = 0.0;
    double elektrischeLaenge = 0.0; // m, fitted over all points
    double laenge = 0.0;            // m, physical: as given, or computed from the known Vk
    bool laengeBerechnet = false;
    double impedanz = kStandardImpedanz; // Ω, R0 of the row: fitted, or from the cable, or 50
    bool impedanzGemessen = false;       // false: taken from the cable or assumed
    Verlustmodell verlust;               // A = k1·√f + k2·f fitted to the loss points
    QList<Daempfungspunkt> zeilenpunkte; // fitted loss at the row's frequencies, row order
    QString zeile;                       // proposed cable table row, decimal comma
    int luecken = 0;                     // measured frequencies skipped
    QStringList hinweise;                // German notes for the user
};

enum class Messablehnung {
    Keine,
    AngabenUngueltig,      // length ≤ 0, Vk outside (0, 1], both or neither given
    FrequenzenVerschieden, // the two measurements are not over the same frequencies
    FrequenzenUngeordnet,  // the frequencies do not rise strictly
    KeineMesspunkte,       // nothing usable left after the gaps
    KeineResonanz,         // no resonance in the range and nothing else fixes the branch
};

struct Kabelmessung
{
    Messablehnung ablehnung = Messablehnung::Keine;
    QString grund; // German sentence when refused
    Kabelmessergebnis ergebnis;

    bool ok() const { return ablehnung == Messablehnung::Keine; }
};

// Open and short over the same frequencies: Zo = √(Zoc·Zsc),
// tanh γl = √(Zsc / Zoc), γl = atanh(…) + j·kπ with βl rising continuously
// from the lowest frequency; the branch there is fixed by the electrical
// length that the resonances in the range give (or, without one, by the
// nominal Vk of the cable and the length). Vk = ω·l / (c·βl), loss
// 8,686·Re(γl) dB over the length. The row's impedance is the R0 that
// makes the line model's Zo fit the measured one best (median).
Kabelmessung offenKurzAuswerten(const QList<Impedanzpunkt> &offen, const QList<Impedanzpunkt> &kurz,
                                const Messangaben &angaben);

// One termination only: the minima of |Zin| (open: odd multiples of a
// quarter wave, short: multiples of a half wave) give the electrical length;
// the loss at each minimum comes from |Γin| = e^(−2αl) against the cable's
// impedance (50 Ω when no cable is given). Zo cannot be told.
Kabelmessung einzelmessungAuswerten(const QList<Impedanzpunkt> &messung, Abschluss abschluss,
                                    const Messangaben &angaben);

// The reader's points as the methods take them; a gap stays a gap.
QList<Impedanzpunkt> impedanzpunkte(const QList<Messpunkt> &punkte);

// The far end open, and shorted when kurz is given: offenKurzAuswerten for
// both, einzelmessungAuswerten for the open end alone.
Kabelmessung kabelVermessen(const QList<Messpunkt> &offen,
                            const std::optional<QList<Messpunkt>> &kurz,
                            const Messangaben &angaben);

// The round frequencies (MHz) the proposed row lists for loss points from
// vonMHz to bisMHz, in row order: the first is a whole number of MHz,
// because the reports read only the first point and round its frequency;
// the others follow rising. hinweis receives a German note when the row
// had to leave the usual frequencies.
QList<double> zeilenfrequenzen(double vonMHz, double bisMHz, QString *hinweis = nullptr);

// A cable table row "0,812 Name d=7/1,22;1,8/0,61;… Z=50".
QString kabelzeile(double Vk, const QString &name, const QList<Daempfungspunkt> &punkte,
                   double impedanz);

// The header of the CSV output, without line end.
inline constexpr char kKabelmessungCsvKopf[] = "f/MHz;Vk;Zo R/Ohm;Zo X/Ohm;Daempfung/dB pro 100 m";

// One line per measured frequency (single measurement: per minimum, the Zo
// fields empty), ";" between fields, the locale's decimal separator, ten
// significant digits, UTF-8.
QByteArray kabelmessungCsv(const Kabelmessergebnis &ergebnis, const QLocale &locale);

// Kinds of resonant line the trim calculator knows, with the German names
// of the window.
enum class Leitungsart { ViertelwelleOffen, ViertelwelleKurz, Halbwelle };
QString leitungsartName(Leitungsart art);
std::optional<Leitungsart> leitungsartAusName(const QString &name);

struct Kuerzung
{
    double laenge = 0.0;    // m, the length that puts the resonance on the target
    double kuerzenCm = 0.0; // cm to cut from the measured length; negative: too short
    bool zuKurz = false;    // the cable is already shorter than needed
};

// The length of the first resonance of that kind at zielMHz with velocity
// factor Vk, and how much to cut from gemesseneLaenge. nullopt with grund
// set when a value is not positive (or Vk above 1).
std::optional<Kuerzung> kuerzungBerechnen(double zielMHz, Leitungsart art, double Vk,
                                          double gemesseneLaenge, QString *grund = nullptr);

// "Neue Länge: 6,912 m (kürzen um 38,8 cm)" or, when too short,
// "Neue Länge: 7,512 m (das Kabel ist 21,2 cm zu kurz)".
QString kuerzungText(const Kuerzung &kuerzung, const QLocale &locale);

// A short German summary, one line each: Vk with its spread, electrical
// and physical length, impedance, the loss at the row's frequencies, the
// notes, the trim line when given, and last the proposed row exactly as it
// goes into the table.
QStringList kabelmessungText(const Kabelmessergebnis &ergebnis,
                             const std::optional<Kuerzung> &kuerzung, const QLocale &locale);

} // namespace varo
