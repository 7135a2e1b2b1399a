#pragma once

// What the line analysis needs to know of a cable, read from a row of the
// cable table: velocity factor, impedance and the datasheet's attenuation
// points. The attenuation field may carry several points and the impedance:
//
//   d=100/6,8;10/2,0;400/14,5 Z=75
//
// The first point comes first so that the reports, which read only the
// first point (their number stops at ";"), show what they always showed.
// Its frequency is a whole number of MHz for the same reason; the further
// points may have a decimal comma or point.

#include "kabeltabelle.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace varo {

struct Daempfungspunkt
{
    double fMHz = 0.0;
    double dBPro100m = 0.0;
};

// A(f) = k1·√f + k2·f in dB per 100 m with f in MHz: conductor loss grows
// with the root of the frequency, dielectric loss in proportion to it.
struct Verlustmodell
{
    double k1 = 0.0;
    double k2 = 0.0;
    bool vorhanden = false; // false: the cable has no attenuation data

    double dBPro100m(double fMHz) const;
};

struct Kabeldaten
{
    double Vk = 0.0;
    QString typ;
    double impedanz = 50.0;         // Ω
    bool impedanzAngegeben = false; // the field named one ("Z=")
    QList<Daempfungspunkt> punkte;  // in the order of the field
};

// The impedance every cable has unless its row names another.
inline constexpr double kStandardImpedanz = 50.0;

// Reads velocity factor, type, points and impedance of a table row as
// kabelZerlegen splits it. An attenuation field that cannot be read gives
// nullopt and grund a German sentence; the other checks are those of
// kabeldatenPruefen.
std::optional<Kabeldaten> kabeldatenLesen(const Kabeltyp &kabel, QString *grund = nullptr);

// The data of a drop-down or table text; also nullopt when its velocity
// factor is beyond range.
std::optional<Kabeldaten> kabeldatenAusText(const QString &text, QString *grund = nullptr);

// Reads only the attenuation field ("d=…"); an empty field gives no points.
// Returns false with grund set when the field is malformed.
bool daempfungsfeldLesen(const QString &feld, QList<Daempfungspunkt> &punkte,
                         std::optional<double> &impedanz, QString *grund = nullptr);

// The field for points and impedance, first point first; the impedance is
// written only when it is given.
QString daempfungsfeld(const QList<Daempfungspunkt> &punkte, std::optional<double> impedanz,
                       const QLocale &locale);

// What open tables get wrong: a velocity factor outside (0, 1), a frequency
// or loss that is not positive, a frequency given twice, loss that falls as
// frequency rises, an impedance that is not positive. Returns a German
// sentence, or an empty string when the data is sound.
QString kabeldatenPruefen(const Kabeldaten &daten);

// The same for every cable row of a table's lines (comments and headings
// are left alone): the sound rows, and each problem as "Zeile N (Typ):
// sentence". The user's own table is read this way.
struct Tabellenpruefung
{
    QList<Kabeltyp> kabel; // the sound rows, zeile set
    QStringList probleme;
};
Tabellenpruefung kabeltabellePruefen(const QStringList &zeilen);

// Least squares of A = k1·√f + k2·f over the points, k1, k2 ≥ 0: a term
// the free fit makes negative is dropped and the other fitted alone. One
// point gives A = a·√(f / fRef); no points give no model.
Verlustmodell verlustAnpassen(const QList<Daempfungspunkt> &punkte);

} // namespace varo
