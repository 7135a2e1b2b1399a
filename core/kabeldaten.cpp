#include "kabeldaten.h"

#include "laufzeitfehler.h"
#include "zahlenformat.h"

#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <limits>

namespace varo {

namespace {

void setzen(QString *grund, const QString &text)
{
    if (grund)
        *grund = text;
}

// A number of the field: decimal comma or point, nothing around it.
std::optional<double> feldzahl(QString text)
{
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double wert = QLocale::c().toDouble(text, &ok);
    if (!ok || !std::isfinite(wert))
        return std::nullopt;
    return wert;
}

// "inf", "nan" or a number beyond double precision.
bool unendlich(QString text)
{
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double wert = QLocale::c().toDouble(text, &ok);
    if (ok)
        return !std::isfinite(wert);
    // A number too large for double precision is not read at all.
    static const QRegularExpression wort(
        QStringLiteral("^[+-]?(inf|infinity|nan|\\d*\\.?\\d+e[+-]?\\d+)$"),
        QRegularExpression::CaseInsensitiveOption);
    return wort.match(text).hasMatch();
}

QString zahlText(double wert)
{
    return QLocale().toString(wert, 'g', 6);
}

// A point's number with as many digits as tell it apart: 1e-300 is not 0,
// 10.0001 not 10.
QString punktText(double wert)
{
    return QLocale().toString(wert, 'g', QLocale::FloatingPointShortest);
}

// Sum of squared deviations of the model from the points.
double restquadrate(const QList<Daempfungspunkt> &punkte, double k1, double k2)
{
    double summe = 0.0;
    for (const Daempfungspunkt &p : punkte) {
        const double d = p.dBPro100m - (k1 * std::sqrt(p.fMHz) + k2 * p.fMHz);
        summe += d * d;
    }
    return summe;
}

} // namespace

double Verlustmodell::dBPro100m(double fMHz) const
{
    if (!vorhanden || fMHz <= 0.0)
        return 0.0;
    return k1 * std::sqrt(fMHz) + k2 * fMHz;
}

bool daempfungsfeldLesen(const QString &feld, QList<Daempfungspunkt> &punkte,
                         std::optional<double> &impedanz, QString *grund)
{
    punkte.clear();
    impedanz.reset();
    const QString text = feld.trimmed();
    if (text.isEmpty())
        return true;
    if (!text.startsWith(QLatin1String("d="))) {
        setzen(grund, QStringLiteral("Das Dämpfungsfeld „%1“ beginnt nicht mit „d=“.").arg(text));
        return false;
    }
    static const QRegularExpression trenner(QStringLiteral("[;\\s]+"));
    const QStringList teile = text.mid(2).split(trenner, Qt::SkipEmptyParts);
    for (const QString &teil : teile) {
        if (teil.startsWith(QLatin1String("Z="), Qt::CaseInsensitive)) {
            impedanz = feldzahl(teil.mid(2));
            if (!impedanz) {
                setzen(grund, QStringLiteral("Im Dämpfungsfeld „%1“ ist „%2“ keine Impedanz.")
                                  .arg(text, teil));
                return false;
            }
            continue;
        }
        const qsizetype schraeg = teil.indexOf(QLatin1Char('/'));
        const auto f = schraeg > 0 ? feldzahl(teil.left(schraeg)) : std::nullopt;
        const auto a = schraeg > 0 ? feldzahl(teil.mid(schraeg + 1)) : std::nullopt;
        if (schraeg > 0 && (unendlich(teil.left(schraeg)) || unendlich(teil.mid(schraeg + 1)))) {
            setzen(grund, QStringLiteral("Im Dämpfungsfeld „%1“ ist in „%2“ eine Zahl nicht "
                                         "endlich.")
                              .arg(text, teil));
            return false;
        }
        if (!f || !a) {
            setzen(grund,
                   QStringLiteral("Im Dämpfungsfeld „%1“ ist „%2“ kein Punkt Frequenz/Dämpfung.")
                       .arg(text, teil));
            return false;
        }
        punkte.append({*f, *a});
    }
    return true;
}

QString daempfungsfeld(const QList<Daempfungspunkt> &punkte, std::optional<double> impedanz,
                       const QLocale &locale)
{
    QStringList paare;
    for (const Daempfungspunkt &p : punkte)
        paare << formatZahl(p.fMHz, QStringLiteral("0.###"), locale) + QLatin1Char('/') +
                     formatZahl(p.dBPro100m, QStringLiteral("0.###"), locale);
    QString feld;
    if (!paare.isEmpty())
        feld = QStringLiteral("d=") + paare.join(QLatin1Char(';'));
    if (impedanz) {
        if (feld.isEmpty())
            feld = QStringLiteral("d=");
        else
            feld += QLatin1Char(' ');
        feld += QStringLiteral("Z=") + formatZahl(*impedanz, QStringLiteral("0.###"), locale);
    }
    return feld;
}

std::optional<Kabeldaten> kabeldatenLesen(const Kabeltyp &kabel, QString *grund)
{
    Kabeldaten daten;
    daten.Vk = kabel.Vk;
    daten.typ = kabel.Typ;
    std::optional<double> impedanz;
    if (!daempfungsfeldLesen(kabel.Daempfung, daten.punkte, impedanz, grund))
        return std::nullopt;
    if (impedanz) {
        daten.impedanz = *impedanz;
        daten.impedanzAngegeben = true;
    }
    return daten;
}

std::optional<Kabeldaten> kabeldatenAusText(const QString &text, QString *grund)
{
    try {
        return kabeldatenLesen(kabelZerlegen(text), grund);
    } catch (const Laufzeitfehler &) {
        setzen(grund, QStringLiteral("Der Verkürzungsfaktor von „%1“ ist zu groß.").arg(text));
        return std::nullopt;
    }
}

QString kabeldatenPruefen(const Kabeldaten &daten)
{
    if (!(daten.Vk > 0.0 && daten.Vk < 1.0))
        return QStringLiteral("Der Verkürzungsfaktor %1 liegt nicht zwischen 0 und 1.")
            .arg(zahlText(daten.Vk));
    if (!(daten.impedanz > 0.0))
        return QStringLiteral("Die Impedanz %1 Ω ist nicht größer als 0.")
            .arg(zahlText(daten.impedanz));
    for (const Daempfungspunkt &p : daten.punkte) {
        if (!(p.fMHz > 0.0) || !(p.dBPro100m > 0.0))
            return QStringLiteral("Der Punkt %1 MHz / %2 dB braucht Frequenz und Dämpfung über 0.")
                .arg(punktText(p.fMHz), punktText(p.dBPro100m));
    }
    QList<Daempfungspunkt> sortiert = daten.punkte;
    std::stable_sort(
        sortiert.begin(), sortiert.end(),
        [](const Daempfungspunkt &a, const Daempfungspunkt &b) { return a.fMHz < b.fMHz; });
    for (qsizetype i = 1; i < sortiert.size(); ++i) {
        const Daempfungspunkt &vorher = sortiert.at(i - 1);
        const Daempfungspunkt &jetzt = sortiert.at(i);
        if (jetzt.fMHz == vorher.fMHz)
            return QStringLiteral("Die Frequenz %1 MHz steht mehr als einmal im Dämpfungsfeld.")
                .arg(punktText(jetzt.fMHz));
        if (jetzt.dBPro100m < vorher.dBPro100m)
            return QStringLiteral("Die Dämpfung fällt von %1 dB bei %2 MHz auf %3 dB bei %4 MHz.")
                .arg(punktText(vorher.dBPro100m), punktText(vorher.fMHz),
                     punktText(jetzt.dBPro100m), punktText(jetzt.fMHz));
    }
    return {};
}

Tabellenpruefung kabeltabellePruefen(const QStringList &zeilen)
{
    Tabellenpruefung pruefung;
    for (qsizetype i = 0; i < zeilen.size(); ++i) {
        const QString &zeile = zeilen.at(i);
        if (zeile.startsWith(QLatin1Char(';')))
            continue;
        const QString nummer = QStringLiteral("Zeile %1").arg(i + 1);
        Kabeltyp kabel;
        try {
            kabel = kabelZerlegen(zeile);
        } catch (const Laufzeitfehler &) {
            pruefung.probleme << nummer + QStringLiteral(": Der Verkürzungsfaktor ist zu groß.");
            continue;
        }
        // A line whose number is 0 is a heading or empty; the table skips it.
        if (kabel.Vk == 0.0F)
            continue;
        const QString wo = nummer + QStringLiteral(" (") + kabel.Typ + QStringLiteral("): ");
        QString grund;
        const auto daten = kabeldatenLesen(kabel, &grund);
        if (!daten) {
            pruefung.probleme << wo + grund;
            continue;
        }
        const QString problem = kabeldatenPruefen(*daten);
        if (!problem.isEmpty()) {
            pruefung.probleme << wo + problem;
            continue;
        }
        kabel.zeile = int(qMin<qsizetype>(i + 1, std::numeric_limits<int>::max()));
        pruefung.kabel.append(kabel);
    }
    return pruefung;
}

Verlustmodell verlustAnpassen(const QList<Daempfungspunkt> &punkte)
{
    Verlustmodell modell;
    if (punkte.isEmpty())
        return modell;
    modell.vorhanden = true;
    if (punkte.size() == 1) {
        const Daempfungspunkt &p = punkte.first();
        modell.k1 = p.fMHz > 0.0 ? p.dBPro100m / std::sqrt(p.fMHz) : 0.0;
        return modell;
    }

    // Normal equations of the two basis functions √f and f.
    double sff = 0.0, sfw = 0.0, sww = 0.0, saw = 0.0, saf = 0.0;
    for (const Daempfungspunkt &p : punkte) {
        const double w = std::sqrt(p.fMHz);
        sww += p.fMHz;          // √f · √f
        sfw += p.fMHz * w;      // f · √f
        sff += p.fMHz * p.fMHz; // f · f
        saw += p.dBPro100m * w;
        saf += p.dBPro100m * p.fMHz;
    }
    // Each term alone, for when the pair cannot be fitted with both signs right.
    const double nurK1 = sww > 0.0 ? saw / sww : 0.0;
    const double nurK2 = sff > 0.0 ? saf / sff : 0.0;

    const double det = sww * sff - sfw * sfw;
    if (det > 1e-12 * sww * sff) {
        const double k1 = (saw * sff - saf * sfw) / det;
        const double k2 = (sww * saf - sfw * saw) / det;
        if (k1 >= 0.0 && k2 >= 0.0) {
            modell.k1 = k1;
            modell.k2 = k2;
            return modell;
        }
        if (k1 < 0.0 && k2 >= 0.0) {
            modell.k2 = std::max(0.0, nurK2);
            return modell;
        }
        if (k2 < 0.0 && k1 >= 0.0) {
            modell.k1 = std::max(0.0, nurK1);
            return modell;
        }
    }
    // All points at one frequency, or both terms negative: the better single term.
    if (restquadrate(punkte, std::max(0.0, nurK1), 0.0) <=
        restquadrate(punkte, 0.0, std::max(0.0, nurK2)))
        modell.k1 = std::max(0.0, nurK1);
    else
        modell.k2 = std::max(0.0, nurK2);
    return modell;
}

} // namespace varo
