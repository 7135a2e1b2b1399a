#include "messdaten.h"

#include "dateilesen.h"
#include "konstanten.h"
#include "messdaten_intern.h"

#include <QDir>
#include <QLocale>

#include <charconv>
#include <cmath>

namespace varo {

namespace messdaten {

bool Zeilenleser::naechste(QByteArrayView &zeile)
{
    const qsizetype n = m_daten.size();
    if (m_pos >= n)
        return false;
    const char *p = m_daten.constData();
    qsizetype i = m_pos;
    while (i < n && p[i] != '\n' && p[i] != '\r')
        ++i;
    zeile = QByteArrayView(p + m_pos, i - m_pos);
    if (i < n && p[i] == '\r' && i + 1 < n && p[i + 1] == '\n')
        ++i;
    m_pos = i + 1;
    ++m_nummer;
    return true;
}

namespace {

bool leer(char c)
{
    return c == ' ' || c == '\t';
}

QByteArrayView gestutzt(QByteArrayView text, bool auchAnfuehrung)
{
    const auto weg = [auchAnfuehrung](char c) {
        return leer(c) || c == '\v' || c == '\f' || (auchAnfuehrung && c == '"');
    };
    qsizetype a = 0;
    qsizetype e = text.size();
    while (a < e && weg(text[a]))
        ++a;
    while (e > a && weg(text[e - 1]))
        --e;
    return text.sliced(a, e - a);
}

} // namespace

QByteArrayView ohneKommentar(QByteArrayView zeile)
{
    const qsizetype ausruf = zeile.indexOf('!');
    return gestutzt(ausruf >= 0 ? zeile.first(ausruf) : zeile, false);
}

Felder felderTeilen(QByteArrayView zeile, char trenner)
{
    Felder felder;
    const qsizetype n = zeile.size();
    qsizetype i = 0;
    if (trenner == 0) {
        while (i < n) {
            while (i < n && leer(zeile[i]))
                ++i;
            const qsizetype anfang = i;
            while (i < n && !leer(zeile[i]))
                ++i;
            if (i > anfang)
                felder.append(zeile.sliced(anfang, i - anfang));
        }
        return felder;
    }
    for (;;) {
        const qsizetype ende = zeile.indexOf(trenner, i);
        const qsizetype bis = ende < 0 ? n : ende;
        felder.append(gestutzt(zeile.sliced(i, bis - i), true));
        if (ende < 0)
            return felder;
        i = ende + 1;
    }
}

std::optional<double> zahlLesen(QByteArrayView text)
{
    constexpr qsizetype laengste = 100;
    if (text.isEmpty() || text.size() > laengste)
        return std::nullopt;
    char puffer[laengste];
    std::copy(text.begin(), text.end(), puffer);
    const qsizetype n = text.size();
    if (text.indexOf('.') < 0) {
        // One program writes "-3,720502555e-01" under a European locale.
        const qsizetype komma = text.indexOf(',');
        if (komma >= 0)
            puffer[komma] = '.';
    }
    const char *anfang = puffer;
    if (*anfang == '+') {
        ++anfang; // from_chars takes no plus sign; a second sign stays an error
        if (anfang == puffer + n || *anfang == '+' || *anfang == '-')
            return std::nullopt;
    }
    double wert = 0.0;
    const auto [ende, fehler] = std::from_chars(anfang, puffer + n, wert);
    if (fehler != std::errc() || ende != puffer + n || !std::isfinite(wert))
        return std::nullopt;
    return wert;
}

QString zitiert(QByteArrayView text)
{
    constexpr qsizetype hoechstens = 40;
    const QString t = QString::fromUtf8(text.first(qMin(text.size(), hoechstens)));
    return QStringLiteral("„%1%2“").arg(t,
                                        text.size() > hoechstens ? QStringLiteral("…") : QString());
}

QString hertzText(double fHz)
{
    return QLocale().toString(fHz, 'g', 12) + QStringLiteral(" Hz");
}

Punktsammler::Punktsammler(Messlesung &lesung, const QString &name) : m_lesung(lesung), m_name(name)
{
    m_lesung.status = Messlesestatus::Abgelehnt;
}

bool Punktsammler::ablehnen(int zeile, const QString &satz)
{
    m_lesung.status = Messlesestatus::Abgelehnt;
    m_lesung.zeile = zeile;
    m_lesung.meldung = zeile > 0
                           ? QStringLiteral("„%1“, Zeile %2: %3").arg(m_name).arg(zeile).arg(satz)
                           : QStringLiteral("„%1“: %2").arg(m_name, satz);
    m_lesung.daten.punkte.clear();
    return false;
}

bool Punktsammler::hinzufuegen(int zeile, double fHz, std::optional<Komplex> Z)
{
    QList<Messpunkt> &punkte = m_lesung.daten.punkte;
    if (!std::isfinite(fHz))
        return ablehnen(zeile, QStringLiteral("Die Frequenz liegt außerhalb des Zahlenbereichs."));
    if (fHz < 0.0)
        return ablehnen(zeile, QStringLiteral("Die Frequenz %1 ist negativ.").arg(hertzText(fHz)));
    if (!punkte.isEmpty() && !(fHz > punkte.constLast().fHz))
        return ablehnen(zeile,
                        QStringLiteral("Die Frequenz %1 ist nicht größer als die der vorigen "
                                       "Messzeile (%2); die Frequenzen müssen streng steigen.")
                            .arg(hertzText(fHz), hertzText(punkte.constLast().fHz)));
    if (punkte.size() >= kMaxMesspunkte)
        return ablehnen(zeile, QStringLiteral("Die Datei hat mehr als %1 Messpunkte.")
                                   .arg(QLocale().toString(kMaxMesspunkte)));
    if (!Z)
        ++m_lesung.daten.luecken;
    punkte.append({fHz, Z});
    return true;
}

bool Punktsammler::abschliessen()
{
    Messdaten &daten = m_lesung.daten;
    if (daten.punkte.isEmpty())
        return ablehnen(0, QStringLiteral("Die Datei enthält keine Messwerte."));
    if (daten.luecken > 0)
        daten.hinweise << QStringLiteral("%1 von %2 Messpunkten haben |Γ| ≥ 1, also keine passive "
                                         "Impedanz, und bleiben als Lücken stehen.")
                              .arg(daten.luecken)
                              .arg(daten.punkte.size());
    m_lesung.status = Messlesestatus::Gelesen;
    m_lesung.meldung.clear();
    m_lesung.zeile = 0;
    return true;
}

} // namespace messdaten

using namespace messdaten;

namespace {

enum class Zahlform { RI, MA, DB };

// The option line and the keywords that change how data lines are read.
struct Touchstoneoptionen
{
    double einheit = 1.0e9; // Hz per unit of the file
    char parameter = 's';
    Zahlform form = Zahlform::MA;
    double bezug = 50.0;
    bool optionszeile = false;
    bool version2 = false;
};

// Where a Touchstone reading stands between the lines.
struct Touchstonestand
{
    Touchstoneoptionen optionen;
    bool netzdaten = false;   // inside [Network Data] (version 2.0)
    bool information = false; // inside [Begin Information]
    bool referenzFolgt = false;
    bool ende = false;
    qsizetype anzahlAngegeben = -1;
};

QString kleinText(QByteArrayView text)
{
    return QString::fromUtf8(text).toLower();
}

// Reads "# MHz S RI R 50" in any order and case; false with the refusal made.
bool optionszeileLesen(QByteArrayView zeile, int nummer, Touchstoneoptionen &o,
                       Punktsammler &sammler)
{
    const Felder felder = felderTeilen(zeile.sliced(1), 0);
    for (qsizetype i = 0; i < felder.size(); ++i) {
        const QString t = kleinText(felder[i]);
        if (t == QLatin1String("hz") || t == QLatin1String("khz") || t == QLatin1String("mhz") ||
            t == QLatin1String("ghz")) {
            o.einheit = t.startsWith(u'k')   ? 1e3
                        : t.startsWith(u'm') ? 1e6
                        : t.startsWith(u'g') ? 1e9
                                             : 1.0;
        } else if (t == QLatin1String("s") || t == QLatin1String("y") || t == QLatin1String("z")) {
            o.parameter = char(t.at(0).unicode());
        } else if (t == QLatin1String("g") || t == QLatin1String("h")) {
            return sammler.ablehnen(nummer, QStringLiteral("%1-Parameter gibt es nur für Zweitore; "
                                                           "gelesen werden S-, Y- und Z-Parameter "
                                                           "eines Eintors.")
                                                .arg(t.toUpper()));
        } else if (t == QLatin1String("ri") || t == QLatin1String("ma") ||
                   t == QLatin1String("db")) {
            o.form = t == QLatin1String("ri")   ? Zahlform::RI
                     : t == QLatin1String("ma") ? Zahlform::MA
                                                : Zahlform::DB;
        } else if (t == QLatin1String("r")) {
            const auto r = i + 1 < felder.size() ? zahlLesen(felder[i + 1]) : std::nullopt;
            if (!r || !(*r > 0.0))
                return sammler.ablehnen(nummer,
                                        QStringLiteral("Nach „R“ muss in der Optionszeile "
                                                       "die Bezugsimpedanz über 0 Ω stehen."));
            o.bezug = *r;
            ++i;
        } else {
            return sammler.ablehnen(nummer,
                                    QStringLiteral("Die Optionszeile enthält %1; möglich "
                                                   "sind Hz, kHz, MHz, GHz, S, Y, Z, RI, MA, "
                                                   "DB und R mit einer Zahl.")
                                        .arg(zitiert(felder[i])));
        }
    }
    o.optionszeile = true;
    return true;
}

// The impedance of one pair of numbers under the options.
std::optional<Komplex> impedanzAusWerten(double a, double b, const Touchstoneoptionen &o)
{
    Komplex wert;
    if (o.form == Zahlform::RI) {
        wert = Komplex(a, b);
    } else {
        const double betrag = o.form == Zahlform::MA ? a : std::pow(10.0, a / 20.0);
        const double winkel = b * kPi / 180.0;
        wert = Komplex(betrag * std::cos(winkel), betrag * std::sin(winkel));
    }
    if (o.parameter == 's')
        return impedanzAusReflexion(wert, o.bezug);
    // Version 1.x normalises Z and Y data to R; version 2.0 does not: "Network
    // data for G-, H-, Y- and Z-parameters in Version 2.0 files is not
    // normalized" (Touchstone File Format, Version 2.0, published by the IBIS
    // Open Forum, 2009, on the option line's reference resistance).
    if (o.parameter == 'z')
        return passiveImpedanz(o.version2 ? wert : wert * o.bezug);
    const Komplex y = o.version2 ? wert : wert / o.bezug;
    if (y == Komplex(0.0, 0.0))
        return std::nullopt;
    return passiveImpedanz(1.0 / y);
}

bool datenzeileLesen(QByteArrayView zeile, int nummer, const Touchstoneoptionen &o,
                     Punktsammler &sammler)
{
    const Felder felder = felderTeilen(zeile, 0);
    if (felder.size() != 3) {
        QString satz = QStringLiteral("In der Zeile stehen %1 Zahlen statt 3 (Frequenz und ein "
                                      "Wertepaar).")
                           .arg(felder.size());
        if (felder.size() == 9)
            satz =
                QStringLiteral("In der Zeile stehen 9 Zahlen statt 3: Das ist eine "
                               "Zweitor-Messung (.s2p), die als Eintor-Datei gespeichert wurde.");
        return sammler.ablehnen(nummer, satz);
    }
    double zahlen[3];
    for (int i = 0; i < 3; ++i) {
        const auto z = zahlLesen(felder[i]);
        if (!z)
            return sammler.ablehnen(
                nummer,
                QStringLiteral("Dort steht %1, wo eine Zahl stehen muss.").arg(zitiert(felder[i])));
        zahlen[i] = *z;
    }
    return sammler.hinzufuegen(nummer, zahlen[0] * o.einheit,
                               impedanzAusWerten(zahlen[1], zahlen[2], o));
}

// A keyword line of version 2.0; false with the refusal made.
bool schluesselwortLesen(QByteArrayView zeile, int nummer, Touchstonestand &s,
                         Punktsammler &sammler, QStringList &hinweise)
{
    const qsizetype zu = zeile.indexOf(']');
    const QString name = kleinText(zeile.sliced(1, (zu < 0 ? zeile.size() : zu) - 1)).simplified();
    const Felder rest = felderTeilen(zu < 0 ? QByteArrayView() : zeile.sliced(zu + 1), 0);
    if (s.information) {
        s.information = name != QLatin1String("end information");
        return true;
    }
    s.netzdaten = false;
    if (name == QLatin1String("version")) {
        if (rest.isEmpty() || !rest[0].startsWith("2"))
            return sammler.ablehnen(nummer, QStringLiteral("Gelesen werden Touchstone 1.x und 2.0, "
                                                           "nicht diese Version."));
        s.optionen.version2 = true;
    } else if (name == QLatin1String("number of ports")) {
        const auto n = rest.isEmpty() ? std::nullopt : zahlLesen(rest[0]);
        if (!n || *n != 1.0)
            return sammler.ablehnen(
                nummer, QStringLiteral("Die Datei beschreibt %1 Tore; gelesen "
                                       "werden nur Eintor-Messungen (.s1p).")
                            .arg(rest.isEmpty() ? QStringLiteral("keine")
                                                : QString::fromUtf8(rest[0].first(
                                                      qMin<qsizetype>(rest[0].size(), 12)))));
    } else if (name == QLatin1String("reference")) {
        s.referenzFolgt = rest.isEmpty();
        if (!rest.isEmpty()) {
            const auto r = zahlLesen(rest[0]);
            if (!r || !(*r > 0.0))
                return sammler.ablehnen(nummer, QStringLiteral("Nach „[Reference]“ muss eine "
                                                               "Impedanz über 0 Ω stehen."));
            s.optionen.bezug = *r;
        }
    } else if (name == QLatin1String("number of frequencies")) {
        const auto n = rest.isEmpty() ? std::nullopt : zahlLesen(rest[0]);
        s.anzahlAngegeben = n && *n >= 0.0 && *n <= 1e9 ? qsizetype(*n) : -1;
    } else if (name == QLatin1String("network data")) {
        s.netzdaten = true;
    } else if (name == QLatin1String("end")) {
        s.ende = true;
    } else {
        s.information = name == QLatin1String("begin information");
        hinweise << QStringLiteral("Das Schlüsselwort %1 wurde übergangen.")
                        .arg(zitiert(zeile.first(zu < 0 ? zeile.size() : zu + 1)));
    }
    return true;
}

// One line of content (no comment, not blank); false when refused.
bool touchstoneZeile(QByteArrayView z, int nummer, Touchstonestand &s, Punktsammler &sammler,
                     QStringList &hinweise)
{
    if (z.startsWith('['))
        return schluesselwortLesen(z, nummer, s, sammler, hinweise);
    if (s.information)
        return true;
    if (z.startsWith('#')) {
        if (sammler.anzahl() > 0 && !s.optionen.optionszeile)
            return sammler.ablehnen(nummer, QStringLiteral("Die Optionszeile steht erst nach den "
                                                           "ersten Messwerten."));
        // Only the first option line counts.
        return s.optionen.optionszeile || optionszeileLesen(z, nummer, s.optionen, sammler);
    }
    if (s.referenzFolgt) {
        s.referenzFolgt = false;
        const auto r = zahlLesen(felderTeilen(z, 0).value(0));
        if (!r || !(*r > 0.0))
            return sammler.ablehnen(nummer, QStringLiteral("Nach „[Reference]“ muss eine Impedanz "
                                                           "über 0 Ω stehen."));
        s.optionen.bezug = *r;
        return true;
    }
    if (s.optionen.version2 && !s.netzdaten)
        return sammler.ablehnen(nummer, QStringLiteral("In einer Touchstone-2.0-Datei stehen die "
                                                       "Messwerte nach „[Network Data]“."));
    return datenzeileLesen(z, nummer, s.optionen, sammler);
}

Messlesung touchstoneLesen(const QByteArray &daten, const QString &name)
{
    Messlesung lesung;
    Punktsammler sammler(lesung, name);
    Touchstonestand s;
    QStringList hinweise;
    Zeilenleser leser(daten);
    QByteArrayView zeile;
    while (!s.ende && leser.naechste(zeile)) {
        const QByteArrayView z = ohneKommentar(zeile);
        if (z.isEmpty())
            continue;
        if (!s.optionen.optionszeile && !z.startsWith('#') && !z.startsWith('[') &&
            sammler.anzahl() == 0 && !s.optionen.version2)
            hinweise << QStringLiteral("Die Datei hat keine Optionszeile; es gelten GHz, S, MA "
                                       "und R 50.");
        if (!touchstoneZeile(z, leser.nummer(), s, sammler, hinweise))
            return lesung;
    }
    if (s.anzahlAngegeben >= 0 && s.anzahlAngegeben != sammler.anzahl() && sammler.anzahl() > 0) {
        sammler.ablehnen(0, QStringLiteral("Die Datei nennt %1 Frequenzen, enthält aber %2.")
                                .arg(s.anzahlAngegeben)
                                .arg(sammler.anzahl()));
        return lesung;
    }
    lesung.daten.format = s.optionen.version2 ? Messformat::Touchstone2 : Messformat::Touchstone1;
    lesung.daten.bezug = s.optionen.bezug;
    lesung.daten.hinweise = hinweise;
    sammler.abschliessen();
    return lesung;
}

// A table starts with a header of words; a Touchstone file with "#", "[" or
// a number.
bool istTabelle(const QByteArray &daten, const QString &name)
{
    if (name.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
        return true;
    Zeilenleser leser(daten);
    QByteArrayView zeile;
    while (leser.naechste(zeile)) {
        const QByteArrayView z = ohneKommentar(zeile);
        if (z.isEmpty())
            continue;
        const char c = z.front();
        return !(c == '#' || c == '[' || c == '+' || c == '-' || c == '.' ||
                 (c >= '0' && c <= '9'));
    }
    return false;
}

} // namespace

std::optional<Komplex> impedanzAusReflexion(Komplex gamma, double zRef)
{
    if (!(std::abs(gamma) < 1.0))
        return std::nullopt;
    return passiveImpedanz(zRef * (1.0 + gamma) / (1.0 - gamma));
}

std::optional<Komplex> passiveImpedanz(Komplex Z)
{
    if (!(Z.real() > 0.0) || !std::isfinite(Z.real()) || !std::isfinite(Z.imag()))
        return std::nullopt;
    return Z;
}

Messlesung messdatenAusBytes(const QByteArray &daten, const QString &name)
{
    // Windows programs may put a UTF-8 byte order mark before the first line.
    const QByteArray inhalt = daten.startsWith("\xEF\xBB\xBF") ? daten.sliced(3) : daten;
    if (istTabelle(inhalt, name))
        return csvLesen(inhalt, name);
    return touchstoneLesen(inhalt, name);
}

Messlesung messdatenLesen(const QString &pfad, qint64 grenze)
{
    const QString name = QDir::toNativeSeparators(pfad);
    const Dateiinhalt inhalt = dateiLesen(pfad, grenze);
    if (!inhalt.vollstaendig) {
        Messlesung lesung;
        lesung.status = Messlesestatus::NichtLesbar;
        lesung.meldung =
            QStringLiteral("„%1“ kann nicht gelesen werden: %2").arg(name, inhalt.fehler);
        return lesung;
    }
    return messdatenAusBytes(inhalt.daten, name);
}

} // namespace varo
