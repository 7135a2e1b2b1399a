#pragma once

// The arithmetic of the impedance curve, free of widgets:
//   texts -> KurvenAnfrage -> kurvePruefen (message number, axis half-range p)
//   -> kurvenbildBerechnen (axes, ticks, labels, coloured samples in twips)
//   -> a painter only draws what the Kurvenbild holds (kurvenzeichnung.h).
// Twips run with y upwards from the bottom edge of the drawing surface.

#include <QLineF>
#include <QList>
#include <QLocale>
#include <QPointF>
#include <QString>
#include <QtGlobal>

#include <functional>

namespace varo {

// The display request as typed into the six fields, each read with
// KommaZuPunkt and TextZuZahl and held in single precision.
struct KurvenAnfrage
{
    float fVon = 0.0F;   // MHz
    float fBis = 0.0F;   // MHz
    float ZEing = 0.0F;  // Ω, load at the antenna end
    float ZKabel = 0.0F; // Ω, line impedance
    float Vk = 0.0F;
    float Lg = 0.0F; // m
};

// Reads the six texts; throws Laufzeitfehler(6) for a number beyond the
// single range.
KurvenAnfrage anfrageLesen(const QString &von, const QString &bis, const QString &eingZ,
                           const QString &kabelZ, const QString &vk, const QString &laenge);

// The refusals of the curve window; Keine means the request can be drawn.
namespace kurvenmeldung {
enum Art : int {
    Keine = 0,
    Unkorrekt = 1,        // incomplete input
    Unreal = 2,           // technically implausible values
    Eingangsimpedanz = 3, // load outside the displayable range
    ZuSchmal = 4,         // frequency range below 15 kHz
    ZuGross = 5,          // impedance half-range beyond 16-bit arithmetic
    FlaecheZuKlein = 6,   // the surface cannot hold the axes
};
} // namespace kurvenmeldung
using Kurvenmeldung = kurvenmeldung::Art;

struct KurvenMeldungText
{
    QString text;
    QString titel;
};

// Text and title of a refusal; zeilenEnde breaks the lines.
KurvenMeldungText kurvenMeldung(Kurvenmeldung meldung, const QString &zeilenEnde);

// The three rules of the window, in their order; returns the first failing
// rule or Keine.
Kurvenmeldung eingabeRegeln(const KurvenAnfrage &a);

// What checking a request found: the refusal, or Keine and the half-range
// of the impedance axis.
struct KurvenPruefung
{
    Kurvenmeldung meldung = kurvenmeldung::Keine;
    int p = 0;

    bool zeichenbar() const { return meldung == kurvenmeldung::Keine; }
};

// The three rules and then what the axis arithmetic needs: a frequency range
// of at least 15 kHz, frequencies that count in whole kHz, and an impedance
// half-range within 16-bit arithmetic.
KurvenPruefung kurvePruefen(const KurvenAnfrage &a);
// The same with the half-range in p (0 on a refusal).
Kurvenmeldung kurvePruefen(const KurvenAnfrage &a, int &p);

// Half-range of the impedance axis in whole ohms, p >= |ZEing - Zq|.
// Throws Laufzeitfehler(6) when it leaves 16-bit arithmetic.
int AchsenSpanne(float Zq, float ZEing, float ZKabel);

// Zq = ZKabel² / ZEing in single precision (quarter-wave transformed load).
float viertelwellenImpedanz(float ZEing, float ZKabel);

// Step of the impedance ticks in ohms for the half-range p.
qint16 impedanzTeilung(int p);

// Step of the frequency ticks in kHz for the range P in kHz (0 below 15 kHz).
qint32 frequenzTeilung(qint32 P);

// Colour thresholds of the curve points, a tenth of the way between the
// antenna impedance ZEing and the cable impedance ZKabel:
//   GrenzeOben  = ZEing − 0.1 · (ZEing − ZKabel)   (above it: near ZEing, green)
//   GrenzeUnten = Zq + 0.1 · (ZEing − ZKabel), Zq = ZKabel² / ZEing computed as
//                 ZKabel / (ZEing / ZKabel)          (below it: near Zq, red)
float GrenzeOben(float ZEing, float ZKabel);
float GrenzeUnten(float ZEing, float ZKabel);

// Palette indices of the curve points.
namespace kurvenfarbe {
inline constexpr int Gruen = 10;  // near ZEing
inline constexpr int Magenta = 5; // in between
inline constexpr int Rot = 12;    // near Zq
} // namespace kurvenfarbe

int punktFarbe(float ZAusgang, float grenzeOben, float grenzeUnten);

// Text height and width in twips of the surface's font.
struct Textmass
{
    std::function<double(const QString &)> hoehe;
    std::function<double(const QString &)> breite;
};

struct Beschriftung
{
    QPointF ort; // top-left corner, twips
    QString text;
};

struct Kurvenpunkt
{
    qint32 x = 0;
    qint32 y = 0;
    int farbe = kurvenfarbe::Magenta;
};

// Everything one drawing pass puts on the surface, in twips.
struct Kurvenbild
{
    double breite = 0; // the surface
    double hoehe = 0;
    int impedanzSpanne = 0;     // Ω above and below the line impedance
    qint16 impedanzSchritt = 0; // Ω between impedance ticks
    qint32 kVon = 0, kBis = 0;  // the frequency range in kHz
    qint32 frequenzSpanne = 0;  // kBis - kVon
    qint32 frequenzSchritt = 0; // kHz between frequency ticks
    qint32 achsenRand = 0;      // x of the impedance axis, a twentieth of the width
    qint32 frequenzAchseY = 0;  // y of the frequency axis, half the height
    float twipsProOhm = 0.0F;   // vertical scale
    float twipsProKHz = 0.0F;   // horizontal scale
    qint16 textHoehe = 0;       // of one line of the font
    float yBottom = 0.0F, yTop = 0.0F;
    qint32 xStart = 0, xEnd = 0;
    qint32 frequenzTickAbstand = 0; // twips between frequency ticks
    float grenzeOben = 0.0F, grenzeUnten = 0.0F;

    QList<QLineF> linien;        // axes and ticks, width 1
    QList<Beschriftung> texte;   // axis labels and units, the title last
    QList<float> impedanzTicks;  // y of every tick position, drawn or not
    QList<qint32> impedanzWerte; // ohms at those positions
    QStringList impedanzLabels;  // the labels printed (w >= 0)
    QList<qint32> frequenzTicks; // x of every frequency tick
    QStringList frequenzLabels;
    QList<Kurvenpunkt> punkte; // the drawn samples (from the eighth on)
    int proben = 0;            // samples computed, drawn or not
};

inline const QString kurvenTitel = QStringLiteral(" Vorhandenes Kabel prüfen");

// One complete drawing pass for a request that passed kurvePruefen, on a
// surface of breite × hoehe twips. Throws Laufzeitfehler(6) on an arithmetic
// overflow and Laufzeitfehler(11) when the surface is too small for the axes.
Kurvenbild kurvenbildBerechnen(const KurvenAnfrage &a, int p, double W, double H,
                               const Textmass &mass, const QLocale &locale);

} // namespace varo
