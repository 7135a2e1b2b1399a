#include "kurvenrechnung.h"

#include "konstanten.h"
#include "konvertierung.h"
#include "laufzeitfehler.h"
#include "leitung.h"
#include "zahlenformat.h"

#include <cfloat>
#include <cmath>
#include <limits>

namespace varo {

namespace {

float feldLesen(const QString &text)
{
    return zuSingle(TextZuZahl(KommaZuPunkt(text)));
}

// Rounding for a comparison only: a bound beyond the single range is
// infinitely far away instead of an error, so huge cables reach the
// half-range check with its own message.
float vergleichsSingle(double wert)
{
    if (wert > FLT_MAX)
        return std::numeric_limits<float>::infinity();
    if (wert < -FLT_MAX)
        return -std::numeric_limits<float>::infinity();
    return static_cast<float>(wert);
}

qint16 mal16(qint16 a, qint16 b)
{
    const int produkt = int(a) * int(b);
    if (produkt > std::numeric_limits<qint16>::max() ||
        produkt < std::numeric_limits<qint16>::min())
        throw Laufzeitfehler(fehler::Ueberlauf);
    return static_cast<qint16>(produkt);
}

// An odd step becomes the next even one.
qint16 geradeMachen(qint16 e)
{
    if (e % 2 != 0)
        return mal16(rundeInt16(e / 2.0 + 0.5), 2);
    return e;
}

// Loops of one pass never need more rounds than this; it only stops a
// degenerate surface from spinning forever.
constexpr int kHoechstensRunden = 1 << 22;

} // namespace

KurvenAnfrage anfrageLesen(const QString &von, const QString &bis, const QString &eingZ,
                           const QString &kabelZ, const QString &vk, const QString &laenge)
{
    KurvenAnfrage a;
    a.fVon = feldLesen(von);
    a.fBis = feldLesen(bis);
    a.ZEing = feldLesen(eingZ);
    a.ZKabel = feldLesen(kabelZ);
    a.Vk = feldLesen(vk);
    a.Lg = feldLesen(laenge);
    return a;
}

KurvenMeldungText kurvenMeldung(Kurvenmeldung meldung, const QString &zeilenEnde)
{
    const QString anzeigen = QStringLiteral(" Anzeigen ");
    switch (meldung) {
    case kurvenmeldung::Keine:
        break;
    case kurvenmeldung::Unkorrekt:
        return {QStringLiteral("Unkorrekte Eingabe! "), QStringLiteral(" Anzeigen nicht möglich")};
    case kurvenmeldung::Unreal:
        return {QStringLiteral("Der eingegebene Wert ist unreal  ") + zeilenEnde +
                    QStringLiteral("und  technisch  kaum  möglich!   "),
                anzeigen};
    case kurvenmeldung::Eingangsimpedanz:
        return {QStringLiteral("Der eingegebene Wert der Eing.-Impedanz liegt ") + zeilenEnde +
                    QStringLiteral("außerhalb  des  darstellbaren  Bereiches!   "),
                anzeigen};
    case kurvenmeldung::ZuSchmal:
        return {QStringLiteral("Der eingegebene Frequenzbereich ist zu schmal ") + zeilenEnde +
                    QStringLiteral("(mindestens  15  kHz  sind  nötig)!   "),
                anzeigen};
    case kurvenmeldung::ZuGross:
        return {QStringLiteral("Der Bereich der Ausgangsimpedanz ist zu groß ") + zeilenEnde +
                    QStringLiteral("und  kann  nicht  dargestellt  werden!   "),
                anzeigen};
    case kurvenmeldung::FlaecheZuKlein:
        return {QStringLiteral("Die Zeichenfläche ist zu klein ") + zeilenEnde +
                    QStringLiteral("für  die  Kurve!   "),
                anzeigen};
    }
    return {};
}

Kurvenmeldung eingabeRegeln(const KurvenAnfrage &a)
{
    if (!(a.fVon > 0.0F && a.fVon < a.fBis && a.Lg != 0.0F && a.ZKabel != 0.0F && a.ZEing != 0.0F &&
          a.Vk != 0.0F))
        return kurvenmeldung::Unkorrekt;
    if (!(a.ZEing >= 0.1F && a.ZKabel >= 1.0F && a.Vk <= 1.0F))
        return kurvenmeldung::Unreal;
    const float untere = vergleichsSingle(double(a.ZKabel) / 50.0);
    const float obere = vergleichsSingle(double(a.ZKabel) * 200.0);
    if (!(untere <= a.ZEing && obere >= a.ZEing))
        return kurvenmeldung::Eingangsimpedanz;
    return kurvenmeldung::Keine;
}

KurvenPruefung kurvePruefen(const KurvenAnfrage &a)
{
    KurvenPruefung ergebnis;
    ergebnis.meldung = eingabeRegeln(a);
    if (!ergebnis.zeichenbar())
        return ergebnis;

    // Frequencies are counted in whole kHz in 32 bits, and the longest
    // cable must still be a number of wavelengths in single precision.
    if (double(a.fBis) * 1000.0 > double(std::numeric_limits<qint32>::max())) {
        ergebnis.meldung = kurvenmeldung::Unreal;
        return ergebnis;
    }
    try {
        const float elLaenge = zuSingle(double(a.Lg) / a.Vk);
        zuSingle(double(elLaenge) / zuSingle(wellenlaenge(a.fBis)));
    } catch (const Laufzeitfehler &) {
        ergebnis.meldung = kurvenmeldung::Unreal;
        return ergebnis;
    }

    const qint32 kVon = rundeInt32(double(a.fVon) * 1000.0);
    const qint32 kBis = rundeInt32(double(a.fBis) * 1000.0);
    if (frequenzTeilung(kBis - kVon) <= 0) {
        ergebnis.meldung = kurvenmeldung::ZuSchmal;
        return ergebnis;
    }

    try {
        ergebnis.p = AchsenSpanne(viertelwellenImpedanz(a.ZEing, a.ZKabel), a.ZEing, a.ZKabel);
    } catch (const Laufzeitfehler &) {
        ergebnis.meldung = kurvenmeldung::ZuGross;
    }
    return ergebnis;
}

Kurvenmeldung kurvePruefen(const KurvenAnfrage &a, int &p)
{
    const KurvenPruefung ergebnis = kurvePruefen(a);
    p = ergebnis.p;
    return ergebnis.meldung;
}

float viertelwellenImpedanz(float ZEing, float ZKabel)
{
    return zuSingle(double(ZKabel) * ZKabel / ZEing);
}

int AchsenSpanne(float Zq, float ZEing, float ZKabel)
{
    double a;
    if (ZEing < ZKabel)
        a = double(Zq) - ZEing;
    else if (ZEing > ZKabel)
        a = double(ZEing) - Zq;
    else
        a = double(Zq) / 5.0;
    const float b = zuSingle(a);

    // Adding 0.5 before rounding lifts every fraction to the next whole
    // step, so the axis always holds the whole swing of the curve.
    qint16 d;
    if (b > 1000.0F)
        d = mal16(rundeInt16(double(zuSingle(b / 1000.0)) + 0.5), 1000);
    else if (b > 100.0F)
        d = mal16(rundeInt16(double(zuSingle(b / 100.0)) + 0.5), 100);
    else if (b > 10.0F)
        d = mal16(rundeInt16(double(zuSingle(b / 10.0)) + 0.5), 10);
    else if (b > 1.0F)
        d = rundeInt16(double(b) + 0.5);
    else
        d = 1;
    if (d < 1)
        d = 1;
    return d;
}

qint16 impedanzTeilung(int p)
{
    qint16 e;
    if (p > 100) {
        e = rundeInt16(p / 20.0);
        // Three, not two: this range lands on 25 and 50 instead of 20 and 40.
        if (e % 2 != 0)
            e = mal16(rundeInt16(e / 2.0 + 0.5), 3);
        if (e < 20)
            e = 10;
        else if (e < 50)
            e = 25;
        else if (e < 100)
            e = 50;
        else if (e < 200)
            e = 100;
    } else if (p >= 50) {
        e = geradeMachen(rundeInt16(p / 10.0));
        if (e >= 20 && e < 100)
            e = 20;
        else if (e >= 10 && e < 20)
            e = 10;
        else if (e > 5 && e < 10)
            e = 5;
    } else if (p >= 40) {
        e = geradeMachen(rundeInt16(p / 10.0));
        if (e >= 10 && e < 20)
            e = 10;
        else if (e >= 4 && e < 10)
            e = 5;
    } else if (p >= 30) {
        e = geradeMachen(rundeInt16(p / 10.0));
        if (e > 5 && e < 10)
            e = 5;
    } else if (p >= 20) {
        e = rundeInt16(p / 8.0);
        if (e % 2 != 0)
            e = rundeInt16(p / 10.0);
        e = geradeMachen(e);
        if (e >= 2 && e < 4)
            e = 2;
    } else {
        e = geradeMachen(rundeInt16(p / 5.0));
    }
    if (e < 1)
        e = 1;
    return e;
}

qint32 frequenzTeilung(qint32 P)
{
    const qint32 m = rundeInt32(P / 10.0);
    if (m >= 1000)
        return (m / 1000) * 1000;
    if (m >= 100)
        return (m / 100) * 100;
    if (m >= 10)
        return (m / 10) * 10;
    if (m >= 1)
        return (m / 2) * 2;
    return m;
}

float GrenzeOben(float ZEing, float ZKabel)
{
    return zuSingle(double(ZEing) - (double(ZEing) - ZKabel) * 0.1);
}

float GrenzeUnten(float ZEing, float ZKabel)
{
    const float r = zuSingle(double(ZEing) / ZKabel);
    return zuSingle((double(ZEing) - ZKabel) * 0.1 + double(ZKabel) / r);
}

int punktFarbe(float ZAusgang, float grenzeOben, float grenzeUnten)
{
    if (ZAusgang > grenzeOben)
        return kurvenfarbe::Gruen;
    if (ZAusgang >= grenzeUnten)
        return kurvenfarbe::Magenta;
    return kurvenfarbe::Rot;
}

namespace {

// The scales of both axes and the axis lines themselves.
void massstabSetzen(Kurvenbild &k, const KurvenAnfrage &a, int p, const Textmass &mass)
{
    k.impedanzSpanne = p;
    if (p < 1)
        throw Laufzeitfehler(fehler::DivisionDurchNull);
    k.kVon = rundeInt32(double(a.fVon) * 1000.0);
    k.kBis = rundeInt32(double(a.fBis) * 1000.0);
    k.frequenzSpanne = k.kBis - k.kVon;
    k.frequenzSchritt = frequenzTeilung(k.frequenzSpanne);
    if (k.frequenzSpanne <= 0 || k.frequenzSchritt <= 0)
        throw Laufzeitfehler(fehler::DivisionDurchNull);

    k.achsenRand = rundeInt32(k.breite) / 20;
    k.frequenzAchseY = rundeInt32(k.hoehe) / 2;
    k.impedanzSchritt = impedanzTeilung(p);
    k.twipsProOhm = zuSingle((k.hoehe - 2.5 * k.achsenRand) /
                             (2.0 * (double(p) / k.impedanzSchritt)) / k.impedanzSchritt);
    k.twipsProKHz = zuSingle((k.breite - 2.5 * k.achsenRand) / k.frequenzSpanne);
    if (k.achsenRand < 1 || !(k.twipsProOhm > 0.0F) || !(k.twipsProKHz > 0.0F))
        throw Laufzeitfehler(fehler::DivisionDurchNull);
    k.textHoehe = rundeInt16(mass.hoehe(QStringLiteral("Ohm")));

    const double rand = k.achsenRand;
    const double achseY = k.frequenzAchseY;
    const double proOhm = k.twipsProOhm;
    k.linien.append(QLineF(rand, achseY - proOhm * (p + 1), rand, achseY + proOhm * (p + 1)));
    k.linien.append(QLineF(rand, achseY, double(k.twipsProKHz) * k.frequenzSpanne + rand, achseY));
}

// Impedance ticks, from the bottom upwards; negative ohms get neither
// label nor tick, but the axis line keeps its full span.
void impedanzachseAuslegen(Kurvenbild &k, const KurvenAnfrage &a)
{
    const int p = k.impedanzSpanne;
    const double achseY = k.frequenzAchseY;
    const double proOhm = k.twipsProOhm;
    const double zeile = k.textHoehe;
    qint32 w = rundeInt32(double(a.ZKabel) - p);
    k.yBottom = zuSingle(achseY - proOhm * p);
    k.yTop = zuSingle(proOhm * p + achseY);
    const float dy = zuSingle(double(k.impedanzSchritt) * proOhm);
    int runden = 0;
    for (float y = k.yBottom; y <= k.yTop && runden < kHoechstensRunden;
         y = zuSingle(double(y) + dy), ++runden) {
        const QString label =
            (w < 0 ? QStringLiteral("-") : QStringLiteral(" ")) + QString::number(std::abs(w));
        const float yText = zuSingle(zeile * 0.5 + y);
        k.impedanzTicks.append(y);
        k.impedanzWerte.append(w);
        if (w >= 0) {
            k.texte.append({QPointF(1.0, yText), label.leftJustified(8)});
            k.impedanzLabels.append(label.leftJustified(8));
            k.linien.append(QLineF(k.achsenRand - 40, y, k.achsenRand, y));
        }
        w += k.impedanzSchritt;
    }

    // The unit stands below the axis name on the surface.
    k.texte.append({QPointF(10, achseY - proOhm * p - 2 * zeile), QStringLiteral("[Ohm]")});
    k.texte.append({QPointF(10, achseY - proOhm * p - zeile), QStringLiteral("Ausgangsimpedanz ")});
}

// Frequency ticks every frequenzSchritt kHz from kVon; each label belongs to
// the tick after the current one, so kVon itself stays unlabelled. The unit
// and the axis name stand right of the axis end.
void frequenzachseAuslegen(Kurvenbild &k, const Textmass &mass, const QLocale &locale)
{
    const double rand = k.achsenRand;
    const double achseY = k.frequenzAchseY;
    const double zeile = k.textHoehe;
    const double teile = double(k.frequenzSpanne) / k.frequenzSchritt;
    k.xStart = k.achsenRand;
    k.xEnd = rundeInt32(teile * k.frequenzSchritt * k.twipsProKHz + rand);
    k.frequenzTickAbstand = rundeInt32((k.xEnd - rand) / teile);
    if (k.frequenzTickAbstand < 1 || k.xEnd <= k.xStart)
        throw Laufzeitfehler(fehler::DivisionDurchNull);
    const QString muster = QStringLiteral("##0.0###");
    // The frequency one step past the last tick may lie beyond 32 bits.
    qint64 g = k.kVon;
    qint32 nummer = 1;
    for (qint32 x = k.xStart; x <= k.xEnd; x += k.frequenzTickAbstand) {
        g += k.frequenzSchritt;
        const QPointF ort(zuSingle(double(nummer) * k.frequenzTickAbstand + 0.8 * rand),
                          zuSingle(achseY - zeile / 2.0));
        if (g <= k.kBis) {
            const QString text = formatZahl(g / 1000.0, muster, locale);
            k.texte.append({ort, text});
            k.frequenzLabels.append(text);
        }
        k.linien.append(QLineF(x, achseY - 40, x, achseY));
        k.frequenzTicks.append(x);
        ++nummer;
    }

    const double tw = rundeInt32(mass.breite(formatZahl(g / 1000.0, muster, locale)));
    // Moved left by what would run over the surface's edge.
    const auto amRand = [&](double y, const QString &text) {
        const double x = double(k.twipsProKHz) * k.frequenzSpanne + rand + tw;
        const double ueber = x + mass.breite(text) - k.breite;
        k.texte.append({QPointF(ueber > 0 ? x - ueber : x, y), text});
    };
    amRand(achseY - zeile / 2.0, QStringLiteral("[MHz]"));
    amRand(achseY + zeile, QStringLiteral("f"));
}

// The curve: one sample per twip of frequency axis; the first seven lie
// on the impedance axis and are left out.
void kurvenpunkteBerechnen(Kurvenbild &k, const KurvenAnfrage &a)
{
    const int p = k.impedanzSpanne;
    const qint32 s = rundeInt32(double(zuSingle(double(a.fBis) - a.fVon)) * 1000.0);
    const double df = double(s) / (k.xEnd - k.xStart);
    const double t = (double(k.yTop) - k.yBottom) / (2.0 * p);
    k.grenzeOben = GrenzeOben(a.ZEing, a.ZKabel);
    k.grenzeUnten = GrenzeUnten(a.ZEing, a.ZKabel);
    const float elLaenge = zuSingle(double(a.Lg) / a.Vk);
    if (!(df > 0.0))
        throw Laufzeitfehler(fehler::DivisionDurchNull);
    const qint32 hoechstens = 4 * (k.xEnd - k.xStart) + 64;
    const double fEnde = double(a.fBis) * 1000.0;
    k.punkte.reserve(k.xEnd - k.xStart + 2);
    qint32 i = -1;
    for (double f = double(a.fVon) * 1000.0; f <= fEnde && i < hoechstens; f += df) {
        ++i;
        const float wellenlaenge = zuSingle(kLichtgeschwindigkeitMMHz / f * 1000.0); // f in kHz
        float zAusgang = 0.0F;
        LeitungSWR(elLaenge, wellenlaenge, a.ZKabel, a.ZEing, zAusgang);
        const float v = zuSingle(double(zuSingle(double(zAusgang) - a.ZKabel)) + p);
        if (i > 6) {
            Kurvenpunkt punkt;
            punkt.x = k.xStart + i;
            punkt.y = rundeInt32(double(zuSingle(double(v) * t)) + k.yBottom);
            punkt.farbe = punktFarbe(zAusgang, k.grenzeOben, k.grenzeUnten);
            k.punkte.append(punkt);
        }
    }
    k.proben = i + 1;
}

} // namespace

Kurvenbild kurvenbildBerechnen(const KurvenAnfrage &a, int p, double breite, double hoehe,
                               const Textmass &mass, const QLocale &locale)
{
    Kurvenbild k;
    k.breite = breite;
    k.hoehe = hoehe;
    massstabSetzen(k, a, p, mass);
    impedanzachseAuslegen(k, a);
    frequenzachseAuslegen(k, mass, locale);
    kurvenpunkteBerechnen(k, a);
    const double titelX = k.xEnd - (k.xEnd - k.xStart) / 10.0 - mass.breite(kurvenTitel);
    k.texte.append({QPointF(rundeInt32(titelX), 300), kurvenTitel});
    return k;
}

} // namespace varo
