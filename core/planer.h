#pragma once

// The length planner: how far every length of a range stays from the odd
// quarter waves of whole bands.
//   bands, Vk, range, step -> Abstandsrechner (factors per band edge)
//   -> planen(): the margin of every grid length over all bands, the ranges
//      each band rules out, the clear ranges with their best lengths.
// Angles are electrical degrees, lengths metres, frequencies MHz.

#include "baender.h"

#include <QByteArray>
#include <QList>
#include <QLocale>
#include <QString>
#include <QtGlobal>

#include <vector>

namespace varo {

// θ = 360 · ℓ · f / (300 · Vk): the electrical length in degrees.
double elektrischeLaenge(double laengeM, double fMHz, double vk);

// |(θ mod 180) − 90|: 90 at a multiple of half a wave, 0 at an odd quarter wave.
double viertelwellenAbstand(double theta);

// The margin of a length over a band: 0 when an odd multiple of 90° lies
// between the electrical lengths at the band edges (edges included), else
// the smaller distance of the two edges.
double bandAbstand(double laengeM, const Band &band, double vk);

// The margin over several bands, computed with factors taken once, so that
// a run over many lengths costs only a few multiplications per band.
class Abstandsrechner
{
public:
    Abstandsrechner(const QList<Band> &baender, double vk);

    int baender() const { return static_cast<int>(m_unten.size()); }

    // The margin of the length over band nummer.
    double bandAbstand(double laengeM, int nummer) const;

    // The smallest margin over all bands; begrenzend, when given, receives
    // the band that gives it (the first one on a tie, -1 without bands).
    double abstand(double laengeM, int *begrenzend = nullptr) const;

private:
    // Degrees per metre at the lower and upper edge of each band.
    std::vector<double> m_unten;
    std::vector<double> m_oben;
};

// The grid von + i · schritt for i = 0 … ⌊(bis − von) / schritt + 10⁻⁹⌋:
// the number of its lengths, 0 when there are none or the step is not
// above 0, and -1 when there would be more than grenze.
qint64 rasterAnzahl(double von, double bis, double schritt, qint64 grenze);

// The i-th length of the grid, computed afresh so that no error accumulates.
inline double rasterLaenge(double von, double schritt, qint64 i)
{
    return von + static_cast<double>(i) * schritt;
}

// Reads a band entry such as "80m/40m/14-14,35": band names of the list
// (case does not matter) and ranges "von-bis" in MHz, separated by "/".
// Returns the bands in the order given, or sets grund to a German sentence
// on the first item that is no known band and no valid range.
QList<Band> baenderWaehlen(const QString &text, const QList<Band> &bekannt, QString &grund);

// The most grid lengths one plan may have.
inline constexpr qint64 kGroessteRasterAnzahl = 1000000;

// The most bands one plan may have: every length is checked against each.
inline constexpr qsizetype kGroessteBandzahl = 100;

struct Planungsanfrage
{
    QList<Band> baender;
    double vk = 0.0;
    double vonLaenge = 0.0;
    double bisLaenge = 0.0;
    double schritt = 0.01;
    double abstand = 20.0; // the margin required, degrees
};

// A run of neighbouring grid lengths, by their first and last index.
struct Rasterbereich
{
    qint64 von = 0;
    qint64 bis = 0;
};

// A run of lengths whose margin over all bands reaches the required one,
// with its best length (the first one of the largest margin).
struct Freibereich
{
    qint64 von = 0;
    qint64 bis = 0;
    qint64 bester = 0;
    double besterAbstand = 0.0;
};

struct Planung
{
    Planungsanfrage anfrage;
    qint64 anzahl = 0;
    std::vector<double> abstand;    // margin over all bands per grid length
    std::vector<qint16> begrenzend; // the band that limits it
    // Per band, the runs where the margin over that band is below the required one.
    std::vector<std::vector<Rasterbereich>> gesperrt;
    std::vector<Freibereich> frei;
    qint64 bester = -1; // the first length of the largest margin overall
    double besterAbstand = 0.0;

    double laenge(qint64 i) const { return rasterLaenge(anfrage.vonLaenge, anfrage.schritt, i); }
};

// The plan of a request whose values have been checked (planPruefen).
Planung planen(const Planungsanfrage &anfrage);

// The narrowest clear range worth cutting cable to, in metres: from its
// first to its last clear length.
inline constexpr double kKleinsteSchnittbreite = 0.01;

// The clear ranges of a plan that are worth listing: those at least
// kKleinsteSchnittbreite wide, in order; the others are left out.
struct Freiliste
{
    std::vector<Freibereich> bereiche;
    qint64 weggelassen = 0;
};
Freiliste freiliste(const Planung &planung);

// The sentence above a list that left narrow ranges out ("2 freie Bereiche
// schmaler als 1 cm sind nicht aufgeführt."), empty when none was.
QString weggelassenHinweis(qint64 weggelassen);

// Why a request cannot be planned, as a German sentence, or empty when it
// can: no band, a band edge not above 0 or not below the other, Vk outside
// (0, 1], a length range not above 0 or empty, a step not above 0 or one
// that gives more than kGroessteRasterAnzahl lengths, a negative margin.
QString planPruefen(const Planungsanfrage &anfrage);

// The decimals the lengths of a grid need to be told apart and shown as
// they are: those of the first length and the step, at least 2, at most 9.
int laengenStellen(double von, double schritt);

// The value in fixed point with the given decimals and separator, appended
// to ziel as UTF-8; halves are rounded away from zero.
void festkommaAnhaengen(QByteArray &ziel, double wert, int stellen, const QByteArray &trenner);

// The table of the plan: "Laenge/m;Abstand/Grad", then one line per grid
// length with the locale's decimal separator and LF line ends.
QByteArray planungCsv(const Planung &planung, const QLocale &locale);

} // namespace varo
