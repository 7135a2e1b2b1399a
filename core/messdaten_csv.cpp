// The table reader: analyser and VNA programs export a header line and one
// line per frequency, the fields separated by ",", ";" or a tab.

#include "konstanten.h"
#include "messdaten_intern.h"

#include <algorithm>
#include <cmath>

namespace varo::messdaten {

namespace {

enum class Spaltenart { Frequenz, R, X, S11Re, S11Im, S11dB, Phase, Betrag, Sonstige };

// Which column holds what, as the header names them.
struct Spaltenwahl
{
    int f = -1, r = -1, x = -1, re = -1, im = -1, db = -1, phase = -1;
    bool betrag = false;  // a magnitude without phase was found
    double einheit = 0.0; // Hz per unit of the frequency column; 0: not named
};

// The words of a column name: letters and digits, in lower case.
QStringList woerter(const QString &name)
{
    QStringList liste;
    QString wort;
    for (const QChar c : name.toLower() + QLatin1Char(' ')) {
        if (c.isLetterOrNumber()) {
            wort += c;
        } else if (!wort.isEmpty()) {
            liste << wort;
            wort.clear();
        }
    }
    return liste;
}

bool einesVon(const QStringList &w, std::initializer_list<const char *> namen)
{
    for (const char *name : namen) {
        if (w.contains(QLatin1String(name)))
            return true;
    }
    return false;
}

Spaltenart spaltenart(const QStringList &w)
{
    if (w.isEmpty())
        return Spaltenart::Sonstige;
    const QString &erstes = w.first();
    if (erstes == QLatin1String("f") || erstes.startsWith(QLatin1String("freq")))
        return Spaltenart::Frequenz;
    if (erstes == QLatin1String("r") || erstes == QLatin1String("rs") ||
        einesVon(w, {"resistance", "resistanz", "wirkwiderstand"}))
        return Spaltenart::R;
    if (erstes == QLatin1String("x") || erstes == QLatin1String("xs") ||
        einesVon(w, {"reactance", "reaktanz", "blindwiderstand"}))
        return Spaltenart::X;
    const bool s11 = w.contains(QLatin1String("s11"));
    if (einesVon(w, {"phase", "ang", "angle", "winkel"}))
        return Spaltenart::Phase;
    if (s11 && einesVon(w, {"re", "real"}))
        return Spaltenart::S11Re;
    if (s11 && einesVon(w, {"im", "imag", "imaginary"}))
        return Spaltenart::S11Im;
    if (s11 && w.contains(QLatin1String("db")) && !w.contains(QLatin1String("loss")))
        return Spaltenart::S11dB;
    if (einesVon(w, {"db", "mag", "swr", "vswr", "loss", "betrag"}))
        return Spaltenart::Betrag;
    return Spaltenart::Sonstige;
}

double einheitAus(const QStringList &w)
{
    if (w.contains(QLatin1String("ghz")))
        return 1e9;
    if (w.contains(QLatin1String("mhz")))
        return 1e6;
    if (w.contains(QLatin1String("khz")))
        return 1e3;
    if (w.contains(QLatin1String("hz")))
        return 1.0;
    return 0.0;
}

Spaltenwahl spaltenWaehlen(const QStringList &namen)
{
    Spaltenwahl wahl;
    for (int i = 0; i < int(namen.size()); ++i) {
        const QStringList w = woerter(namen.at(i));
        int *ziel = nullptr;
        switch (spaltenart(w)) {
        case Spaltenart::Frequenz:
            if (wahl.f < 0)
                wahl.einheit = einheitAus(w);
            ziel = &wahl.f;
            break;
        case Spaltenart::R:
            ziel = &wahl.r;
            break;
        case Spaltenart::X:
            ziel = &wahl.x;
            break;
        case Spaltenart::S11Re:
            ziel = &wahl.re;
            break;
        case Spaltenart::S11Im:
            ziel = &wahl.im;
            break;
        case Spaltenart::S11dB:
            ziel = &wahl.db;
            break;
        case Spaltenart::Phase:
            ziel = &wahl.phase;
            break;
        case Spaltenart::Betrag:
            wahl.betrag = true;
            break;
        case Spaltenart::Sonstige:
            break;
        }
        if (ziel && *ziel < 0)
            *ziel = i;
    }
    return wahl;
}

QString spaltenliste(const QStringList &namen)
{
    QStringList zitate;
    for (const QString &n : namen)
        zitate << QStringLiteral("„%1“").arg(n.left(40));
    return zitate.join(QStringLiteral(", "));
}

// Why the columns give no impedance, or empty when they do.
QString spaltenProblem(const Spaltenwahl &w, const QStringList &namen)
{
    const QString gefunden =
        QStringLiteral("; gefundene Spalten: ") + spaltenliste(namen) + QLatin1Char('.');
    if (w.f < 0)
        return QStringLiteral("Die Kopfzeile nennt keine Frequenzspalte") + gefunden;
    if (w.einheit == 0.0)
        return QStringLiteral("Die Frequenzspalte „%1“ nennt keine Einheit (Hz, kHz, MHz oder GHz)")
                   .arg(namen.at(w.f).left(40)) +
               gefunden;
    if ((w.r >= 0 && w.x >= 0) || (w.re >= 0 && w.im >= 0) || (w.db >= 0 && w.phase >= 0))
        return {};
    if (w.betrag || w.db >= 0)
        return QStringLiteral("Die Datei enthält nur den Betrag der Reflexion ohne Phase; daraus "
                              "lässt sich keine Impedanz berechnen") +
               gefunden;
    return QStringLiteral("Die Spalten lassen weder R und X noch Real- und Imaginärteil von S11 "
                          "erkennen") +
           gefunden;
}

char trennerVon(QByteArrayView kopf)
{
    if (kopf.contains('\t'))
        return '\t';
    if (kopf.contains(';'))
        return ';';
    return ',';
}

struct Tabelle
{
    Spaltenwahl wahl;
    char trenner = ',';
    qsizetype spalten = 0;
};

bool datenzeileLesen(QByteArrayView z, int nummer, const Tabelle &t, Punktsammler &sammler)
{
    Felder felder = felderTeilen(z, t.trenner);
    if (felder.size() > 1 && felder.back().isEmpty())
        felder.removeLast(); // a separator at the end of the line
    const Spaltenwahl &w = t.wahl;
    const int noetig = std::max({w.f, w.r, w.x, w.re, w.im, w.db, w.phase}) + 1;
    if (felder.size() < noetig)
        return sammler.ablehnen(nummer, QStringLiteral("In der Zeile stehen %1 Felder; die "
                                                       "Kopfzeile nennt %2 Spalten.")
                                            .arg(felder.size())
                                            .arg(t.spalten));
    const auto zahl = [&](int spalte, double &wert) {
        const auto z = zahlLesen(felder[spalte]);
        if (z)
            wert = *z;
        return z.has_value() || sammler.ablehnen(nummer, QStringLiteral("Dort steht %1, wo eine "
                                                                        "Zahl stehen muss.")
                                                             .arg(zitiert(felder[spalte])));
    };
    double f = 0.0, a = 0.0, b = 0.0;
    if (!zahl(w.f, f))
        return false;
    const bool rx = w.r >= 0 && w.x >= 0;
    const bool ri = !rx && w.re >= 0 && w.im >= 0;
    if (!zahl(rx ? w.r : ri ? w.re : w.db, a) || !zahl(rx ? w.x : ri ? w.im : w.phase, b))
        return false;
    std::optional<Komplex> Z;
    if (rx) {
        Z = passiveImpedanz(Komplex(a, b));
    } else {
        const double betrag = ri ? 0.0 : std::pow(10.0, a / 20.0);
        const double winkel = b * kPi / 180.0;
        Z = impedanzAusReflexion(ri ? Komplex(a, b)
                                    : Komplex(betrag * std::cos(winkel), betrag * std::sin(winkel)),
                                 50.0);
    }
    return sammler.hinzufuegen(nummer, f * w.einheit, Z);
}

bool istWort(QByteArrayView z, const char *wort)
{
    return QString::fromLatin1(z)
               .section(QLatin1Char(' '), 0, 0)
               .compare(QLatin1String(wort), Qt::CaseInsensitive) == 0;
}

} // namespace

Messlesung csvLesen(const QByteArray &daten, const QString &name)
{
    Messlesung lesung;
    lesung.daten.format = Messformat::AnalysatorCsv;
    Punktsammler sammler(lesung, name);
    std::optional<Tabelle> tabelle;
    Zeilenleser leser(daten);
    QByteArrayView zeile;
    int blockEnde = 0; // the line of the first block's END
    while (leser.naechste(zeile)) {
        const QByteArrayView z = zeile.trimmed();
        if (z.isEmpty() || z.startsWith('!') || z.startsWith('#'))
            continue;
        if (blockEnde > 0) {
            lesung.daten.hinweise << QStringLiteral("Nach dem ersten Block (bis Zeile %1) folgen "
                                                    "weitere; sie wurden übergangen.")
                                         .arg(blockEnde);
            break;
        }
        if (!tabelle && istWort(z, "begin"))
            continue;
        if (tabelle && istWort(z, "end")) {
            blockEnde = leser.nummer();
            continue;
        }
        if (tabelle) {
            if (!datenzeileLesen(z, leser.nummer(), *tabelle, sammler))
                return lesung;
            continue;
        }
        Tabelle t;
        t.trenner = trennerVon(z);
        QStringList namen;
        for (const QByteArrayView feld : felderTeilen(z, t.trenner))
            namen << QString::fromUtf8(feld);
        t.spalten = namen.size();
        t.wahl = spaltenWaehlen(namen);
        if (const QString problem = spaltenProblem(t.wahl, namen); !problem.isEmpty()) {
            sammler.ablehnen(leser.nummer(), problem);
            return lesung;
        }
        if (!(t.wahl.r >= 0 && t.wahl.x >= 0))
            lesung.daten.hinweise << QStringLiteral("Die Tabelle nennt keine Bezugsimpedanz; "
                                                    "S11 gilt gegen 50 Ω.");
        tabelle = t;
    }
    sammler.abschliessen();
    return lesung;
}

} // namespace varo::messdaten
