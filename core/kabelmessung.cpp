#include "kabelmessung.h"

#include "kabelmessung_intern.h"
#include "konstanten.h"
#include "messdaten.h"

#include "zahlenformat.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace varo {

namespace {

const double kDBProNeper = 20.0 / std::log(10.0); // 8,686 dB per neper

Kabelmessung abgelehnt(Messablehnung art, const QString &grund)
{
    Kabelmessung m;
    m.ablehnung = art;
    m.grund = grund;
    return m;
}

// Exactly one of length and velocity factor, each in its range.
QString angabenPruefen(const Messangaben &angaben)
{
    if (angaben.laenge.has_value() == angaben.Vk.has_value())
        return QStringLiteral("Bitte entweder die Länge des Kabels oder seinen bekannten "
                              "Verkürzungsfaktor angeben.");
    if (angaben.laenge && !(*angaben.laenge > 0.0 && std::isfinite(*angaben.laenge)))
        return QStringLiteral("Die Länge „%1 m“ ist nicht größer als 0.")
            .arg(zahl(*angaben.laenge, "0.###"));
    if (angaben.Vk && !(*angaben.Vk > 0.0 && *angaben.Vk <= 1.0))
        return QStringLiteral("Der Verkürzungsfaktor „%1“ liegt nicht zwischen 0 und 1.")
            .arg(zahl(*angaben.Vk, "0.###"));
    return {};
}

// The frequencies must rise strictly, or the phase cannot be followed.
std::optional<Kabelmessung> ungeordnet(const QList<Impedanzpunkt> &messung)
{
    for (qsizetype i = 1; i < messung.size(); ++i)
        if (!(messung.at(i).fHz > messung.at(i - 1).fHz))
            return abgelehnt(Messablehnung::FrequenzenUngeordnet,
                             QStringLiteral("Die Frequenzen der Messung steigen bei %1 MHz nicht "
                                            "an.")
                                 .arg(zahl(messung.at(i).fHz / 1.0e6, "0.######")));
    return std::nullopt;
}

// The nominal electrical length from the cable's Vk and the given length;
// nullopt when either is missing.
std::optional<double> nennlaenge(const Messangaben &angaben)
{
    if (!angaben.laenge || !angaben.kabel || !(angaben.kabel->Vk > 0.0))
        return std::nullopt;
    return *angaben.laenge / angaben.kabel->Vk;
}

double omega(double fHz)
{
    return 2.0 * kPi * fHz;
}

// Makes the phases continuous: each is moved by a multiple of π to the
// value nearest the straight line through the two before it (the one
// before, for the second point).
void phaseEntfalten(const QList<double> &fHz, QList<double> &phase)
{
    for (qsizetype i = 1; i < phase.size(); ++i) {
        double erwartet = phase.at(i - 1);
        if (i >= 2) {
            const double steigung =
                (phase.at(i - 1) - phase.at(i - 2)) / (fHz.at(i - 1) - fHz.at(i - 2));
            erwartet += steigung * (fHz.at(i) - fHz.at(i - 1));
        }
        phase[i] += kPi * std::round((erwartet - phase.at(i)) / kPi);
    }
}

// Least-squares slope of y over x.
double steigung(const QList<double> &x, const QList<double> &y)
{
    const double n = static_cast<double>(x.size());
    const double mx = std::accumulate(x.begin(), x.end(), 0.0) / n;
    const double my = std::accumulate(y.begin(), y.end(), 0.0) / n;
    double sxy = 0.0, sxx = 0.0;
    for (qsizetype i = 0; i < x.size(); ++i) {
        sxy += (x.at(i) - mx) * (y.at(i) - my);
        sxx += (x.at(i) - mx) * (x.at(i) - mx);
    }
    return sxx > 0.0 ? sxy / sxx : 0.0;
}

// Mean, spread, physical length and velocity factor of each point from the
// electrical lengths; then the loss fit and the row's points.
void abschliessen(Kabelmessergebnis &e, const Messangaben &angaben)
{
    if (angaben.Vk) {
        e.laenge = *angaben.Vk * e.elektrischeLaenge;
        e.laengeBerechnet = true;
    } else {
        e.laenge = *angaben.laenge;
    }
    QList<Daempfungspunkt> verlustpunkte;
    double summe = 0.0;
    e.VkMin = std::numeric_limits<double>::infinity();
    e.VkMax = 0.0;
    double unsicherBis = 0.0; // highest frequency where the piece damps less than 0,1 dB
    for (Messwert &w : e.werte) {
        w.Vk = e.laenge / w.elektrischeLaenge;
        if (w.dBPro100m < 0.1)
            unsicherBis = w.fMHz;
        w.dBPro100m = w.dBPro100m / e.laenge * 100.0; // held the loss over the length
        summe += w.Vk;
        e.VkMin = std::min(e.VkMin, w.Vk);
        e.VkMax = std::max(e.VkMax, w.Vk);
        if (w.dBPro100m > 0.0)
            verlustpunkte.append({w.fMHz, w.dBPro100m});
    }
    const double n = static_cast<double>(e.werte.size());
    e.VkMittel = summe / n;
    double quadrate = 0.0;
    for (const Messwert &w : e.werte)
        quadrate += (w.Vk - e.VkMittel) * (w.Vk - e.VkMittel);
    e.VkStreuung = std::sqrt(quadrate / n);

    if (unsicherBis > 0.0)
        e.hinweise << QStringLiteral("Bis %1 MHz dämpft das gemessene Stück weniger als 0,1 dB; "
                                     "dort ist die Dämpfung unsicher. Ein längeres Stück gibt "
                                     "genauere Werte.")
                          .arg(zahl(unsicherBis, "0.###"));
    e.verlust = verlustAnpassen(verlustpunkte);
    e.zeilenpunkte.clear();
    if (!verlustpunkte.isEmpty()) {
        QString hinweis;
        for (double f :
             zeilenfrequenzen(verlustpunkte.first().fMHz, verlustpunkte.last().fMHz, &hinweis))
            e.zeilenpunkte.append({f, e.verlust.dBPro100m(f)});
        if (!hinweis.isEmpty())
            e.hinweise << hinweis;
    } else {
        e.hinweise << QStringLiteral("Die Messung zeigt keine Dämpfung; die Zeile hat keine "
                                     "Dämpfungspunkte.");
    }
}

// The line model's Zo is R0 times a shape that Vk and the loss alone fix:
// Zo = R0·√((2αc + jω/v) / (2αd + jω/v)). R0 is the median of the measured
// Zo over that shape, so that the points near a resonance, where the
// measurement tells little about Zo, do not pull it.
void impedanzAnpassen(Kabelmessergebnis &e)
{
    QList<double> r0;
    for (const Messwert &w : e.werte)
        r0 << (*w.Zo / leitungskonstanten(1.0, e.VkMittel, e.verlust, w.fMHz, true).Zo).real();
    std::sort(r0.begin(), r0.end());
    e.impedanz = r0.at(r0.size() / 2);
    e.impedanzGemessen = true;
    for (Messwert &w : e.werte)
        w.ZoModell = leitungskonstanten(e.impedanz, e.VkMittel, e.verlust, w.fMHz, true).Zo;
}

void zeileBilden(Kabelmessergebnis &e, const Messangaben &angaben)
{
    QString name = angaben.name.trimmed();
    if (name.isEmpty())
        name = angaben.kabel ? angaben.kabel->typ : QStringLiteral("Messkabel");
    e.zeile = kabelzeile(e.VkMittel, name, e.zeilenpunkte, e.impedanz);
    if (e.luecken > 0)
        e.hinweise << QStringLiteral("%1 Messpunkte ohne passive Impedanz wurden übersprungen.")
                          .arg(e.luecken);
}

// Open and short at one frequency, both present.
struct Paar
{
    double fHz = 0.0;
    Komplex zo;
    Komplex gl; // γl on the principal branch
};

QList<Paar> paareBilden(const QList<Impedanzpunkt> &offen, const QList<Impedanzpunkt> &kurz,
                        int &luecken)
{
    QList<Paar> paare;
    for (qsizetype i = 0; i < offen.size(); ++i) {
        const auto &zoc = offen.at(i).z;
        const auto &zsc = kurz.at(i).z;
        if (!zoc || !zsc || *zoc == Komplex() || !(offen.at(i).fHz > 0.0)) {
            ++luecken;
            continue;
        }
        Komplex zo = std::sqrt(*zoc * *zsc);
        if (zo.real() < 0.0)
            zo = -zo;
        Komplex t = std::sqrt(*zsc / *zoc);
        if (t.real() < 0.0)
            t = -t;
        const Komplex gl = std::atanh(t);
        if (!std::isfinite(gl.real()) || !std::isfinite(gl.imag())) {
            ++luecken;
            continue;
        }
        paare.append({offen.at(i).fHz, zo, gl});
    }
    return paare;
}

// The electrical length that fixes the branch: from the resonances in the
// range (where βl passes a multiple of a quarter turn, whatever the branch),
// through the rise of the phase between them; without one from the cable.
std::optional<double> verzweigungslaenge(const QList<double> &fHz, const QList<double> &phase,
                                         const Messangaben &angaben, QStringList &hinweise)
{
    const double viertel = kPi / 2.0;
    const double resonanzen =
        std::floor(phase.last() / viertel) - std::floor(phase.first() / viertel);
    if (resonanzen >= 1.0 && fHz.size() >= 2)
        return kLichtgeschwindigkeit * steigung(fHz, phase) / (2.0 * kPi);
    const auto nenn = nennlaenge(angaben);
    if (nenn)
        hinweise << QStringLiteral("Im Messbereich liegt keine Resonanz; die Phase ist mit dem "
                                   "Nenn-Verkürzungsfaktor %1 von „%2“ zugeordnet.")
                        .arg(zahl(angaben.kabel->Vk, "0.00#"), angaben.kabel->typ);
    return nenn;
}

// A minimum of |Zin|: the reactance passes zero from negative to positive
// there with either termination (at a maximum it falls through zero).
struct Minimum
{
    double fHz = 0.0;
    double reflexion = 0.0; // |Γin| against the reference impedance
};

QList<Minimum> minimaFinden(const QList<Impedanzpunkt> &messung, double zRef, int &luecken)
{
    QList<Minimum> minima;
    const Impedanzpunkt *vorher = nullptr;
    for (const Impedanzpunkt &p : messung) {
        if (!p.z || !(p.fHz > 0.0)) {
            ++luecken;
            continue;
        }
        if (vorher && vorher->z->imag() < 0.0 && p.z->imag() >= 0.0) {
            const double x0 = vorher->z->imag();
            const double s = -x0 / (p.z->imag() - x0);
            const Komplex z = *vorher->z + s * (*p.z - *vorher->z);
            const double g0 = std::abs((*vorher->z - zRef) / (*vorher->z + zRef));
            const double g1 = std::abs((*p.z - zRef) / (*p.z + zRef));
            if (std::abs(z) < zRef)
                minima.append({vorher->fHz + s * (p.fHz - vorher->fHz), g0 + s * (g1 - g0)});
        }
        vorher = &p;
    }
    return minima;
}

// The quarter-wave frequency c / (4·electrical length): from the spacing of
// the minima, which lie half a wave apart; with a single one from the cable.
std::optional<double> viertelwellenfrequenz(const QList<Minimum> &minima,
                                            const Messangaben &angaben, QStringList &hinweise)
{
    if (minima.size() >= 2) {
        QList<double> abstaende;
        for (qsizetype i = 1; i < minima.size(); ++i)
            abstaende << minima.at(i).fHz - minima.at(i - 1).fHz;
        std::sort(abstaende.begin(), abstaende.end());
        return abstaende.at(abstaende.size() / 2) / 2.0;
    }
    const auto nenn = nennlaenge(angaben);
    if (!nenn)
        return std::nullopt;
    hinweise << QStringLiteral("Im Messbereich liegt nur ein Minimum; seine Ordnung folgt aus dem "
                               "Nenn-Verkürzungsfaktor %1 von „%2“.")
                    .arg(zahl(angaben.kabel->Vk, "0.00#"), angaben.kabel->typ);
    return kLichtgeschwindigkeit / (4.0 * *nenn);
}

} // namespace

Kabelmessung einzelmessungAuswerten(const QList<Impedanzpunkt> &messung, Abschluss abschluss,
                                    const Messangaben &angaben)
{
    const QString falsch = angabenPruefen(angaben);
    if (!falsch.isEmpty())
        return abgelehnt(Messablehnung::AngabenUngueltig, falsch);
    if (auto abgelehnt = ungeordnet(messung))
        return *abgelehnt;
    Kabelmessung m;
    Kabelmessergebnis &e = m.ergebnis;
    e.impedanz = angaben.kabel ? angaben.kabel->impedanz : kStandardImpedanz;
    e.hinweise << (angaben.kabel
                       ? QStringLiteral("Eine einzelne Messung zeigt die Impedanz des Kabels "
                                        "nicht; sie ist mit %1 Ω von „%2“ angenommen.")
                             .arg(zahl(e.impedanz, "0.#"), angaben.kabel->typ)
                       : QStringLiteral("Eine einzelne Messung zeigt die Impedanz des Kabels "
                                        "nicht; sie ist mit 50 Ω angenommen."));
    const QList<Minimum> minima = minimaFinden(messung, e.impedanz, e.luecken);
    const auto fViertel = viertelwellenfrequenz(minima, angaben, e.hinweise);
    if (!fViertel)
        return abgelehnt(Messablehnung::KeineResonanz,
                         QStringLiteral("Im Messbereich liegen weniger als zwei Minima von |Z|, "
                                        "und ohne ein Kabel mit Nenn-Verkürzungsfaktor und die "
                                        "Länge lässt sich ihre Ordnung nicht bestimmen."));
    double sqf = 0.0, sqq = 0.0;
    for (const Minimum &mi : minima) {
        // Open end: odd multiples of a quarter wave; short end: even ones.
        const double verhaeltnis = mi.fHz / *fViertel;
        const double q = abschluss == Abschluss::Offen
                             ? std::max(1.0, 2.0 * std::round((verhaeltnis - 1.0) / 2.0) + 1.0)
                             : std::max(2.0, 2.0 * std::round(verhaeltnis / 2.0));
        Messwert mw;
        mw.fMHz = mi.fHz / 1.0e6;
        mw.elektrischeLaenge = q * kLichtgeschwindigkeit / (4.0 * mi.fHz);
        mw.dBPro100m = mi.reflexion > 0.0 ? -kDBProNeper * std::log(mi.reflexion) / 2.0 : 0.0;
        e.werte.append(mw);
        sqf += q * mi.fHz;
        sqq += q * q;
    }
    e.elektrischeLaenge = kLichtgeschwindigkeit * sqq / (4.0 * sqf);
    abschliessen(e, angaben);
    zeileBilden(e, angaben);
    return m;
}

Kabelmessung offenKurzAuswerten(const QList<Impedanzpunkt> &offen, const QList<Impedanzpunkt> &kurz,
                                const Messangaben &angaben)
{
    const QString falsch = angabenPruefen(angaben);
    if (!falsch.isEmpty())
        return abgelehnt(Messablehnung::AngabenUngueltig, falsch);
    bool gleich = offen.size() == kurz.size();
    for (qsizetype i = 0; gleich && i < offen.size(); ++i)
        gleich = std::abs(offen.at(i).fHz - kurz.at(i).fHz) <= 1e-9 * std::abs(offen.at(i).fHz);
    if (!gleich)
        return abgelehnt(Messablehnung::FrequenzenVerschieden,
                         QStringLiteral("Die Messungen mit offenem und kurzgeschlossenem Ende "
                                        "haben nicht dieselben Frequenzen."));
    if (auto abgelehnt = ungeordnet(offen))
        return *abgelehnt;
    Kabelmessung m;
    Kabelmessergebnis &e = m.ergebnis;
    const QList<Paar> paare = paareBilden(offen, kurz, e.luecken);
    if (paare.isEmpty())
        return abgelehnt(Messablehnung::KeineMesspunkte,
                         QStringLiteral("Die Messungen enthalten keinen brauchbaren Messpunkt."));

    QList<double> fHz, phase;
    for (const Paar &p : paare) {
        fHz << p.fHz;
        phase << p.gl.imag();
    }
    phaseEntfalten(fHz, phase);
    const auto lEl = verzweigungslaenge(fHz, phase, angaben, e.hinweise);
    if (!lEl)
        return abgelehnt(Messablehnung::KeineResonanz,
                         QStringLiteral("Im Messbereich liegt keine Resonanz, und ohne ein "
                                        "Kabel mit Nenn-Verkürzungsfaktor und die Länge lässt "
                                        "sich die Phase nicht zuordnen."));
    double abweichung = 0.0;
    for (qsizetype i = 0; i < fHz.size(); ++i)
        abweichung += omega(fHz.at(i)) * *lEl / kLichtgeschwindigkeit - phase.at(i);
    const double zweig = kPi * std::round(abweichung / static_cast<double>(fHz.size()) / kPi);

    double sbw = 0.0, sww = 0.0;
    for (qsizetype i = 0; i < paare.size(); ++i) {
        const double bl = phase.at(i) + zweig;
        if (!(bl > 0.0)) {
            ++e.luecken;
            continue;
        }
        const double w = omega(fHz.at(i));
        Messwert mw;
        mw.fMHz = fHz.at(i) / 1.0e6;
        mw.Zo = paare.at(i).zo;
        mw.dBPro100m = kDBProNeper * paare.at(i).gl.real(); // over the length for now
        mw.elektrischeLaenge = kLichtgeschwindigkeit * bl / w;
        e.werte.append(mw);
        sbw += bl * w;
        sww += w * w;
    }
    if (e.werte.isEmpty())
        return abgelehnt(Messablehnung::KeineMesspunkte,
                         QStringLiteral("Die Messungen enthalten keinen brauchbaren Messpunkt."));
    e.elektrischeLaenge = kLichtgeschwindigkeit * sbw / sww;
    abschliessen(e, angaben);
    impedanzAnpassen(e);
    zeileBilden(e, angaben);
    return m;
}

QList<Impedanzpunkt> impedanzpunkte(const QList<Messpunkt> &punkte)
{
    QList<Impedanzpunkt> ergebnis;
    ergebnis.reserve(punkte.size());
    for (const Messpunkt &p : punkte)
        ergebnis.append({p.fHz, p.Z});
    return ergebnis;
}

Kabelmessung kabelVermessen(const QList<Messpunkt> &offen,
                            const std::optional<QList<Messpunkt>> &kurz, const Messangaben &angaben)
{
    if (kurz)
        return offenKurzAuswerten(impedanzpunkte(offen), impedanzpunkte(*kurz), angaben);
    return einzelmessungAuswerten(impedanzpunkte(offen), Abschluss::Offen, angaben);
}

QString leitungsartName(Leitungsart art)
{
    switch (art) {
    case Leitungsart::ViertelwelleOffen:
        return QStringLiteral("Viertelwelle offen");
    case Leitungsart::ViertelwelleKurz:
        return QStringLiteral("Viertelwelle kurzgeschlossen");
    case Leitungsart::Halbwelle:
        return QStringLiteral("Halbwelle");
    }
    return {};
}

std::optional<Leitungsart> leitungsartAusName(const QString &name)
{
    const QString n = name.trimmed();
    const std::pair<Leitungsart, const char *> kurz[] = {
        {Leitungsart::ViertelwelleOffen, "viertel-offen"},
        {Leitungsart::ViertelwelleKurz, "viertel-kurz"},
        {Leitungsart::Halbwelle, "halb"}};
    for (const auto &[art, kuerzel] : kurz)
        if (n.compare(QLatin1String(kuerzel), Qt::CaseInsensitive) == 0 ||
            n.compare(leitungsartName(art), Qt::CaseInsensitive) == 0)
            return art;
    return std::nullopt;
}

std::optional<Kuerzung> kuerzungBerechnen(double zielMHz, Leitungsart art, double Vk,
                                          double gemesseneLaenge, QString *grund)
{
    QString falsch;
    if (!(zielMHz > 0.0 && std::isfinite(zielMHz)))
        falsch = QStringLiteral("Die Zielfrequenz muss größer als 0 MHz sein.");
    else if (!(Vk > 0.0 && Vk <= 1.0))
        falsch = QStringLiteral("Der Verkürzungsfaktor muss größer als 0 und höchstens 1 sein.");
    else if (!(gemesseneLaenge > 0.0 && std::isfinite(gemesseneLaenge)))
        falsch = QStringLiteral("Die gemessene Länge muss größer als 0 m sein.");
    if (!falsch.isEmpty()) {
        if (grund)
            *grund = falsch;
        return std::nullopt;
    }
    const double wellenlaenge = kLichtgeschwindigkeit / (zielMHz * 1.0e6);
    Kuerzung k;
    k.laenge = (art == Leitungsart::Halbwelle ? 0.5 : 0.25) * wellenlaenge * Vk;
    k.kuerzenCm = (gemesseneLaenge - k.laenge) * 100.0;
    k.zuKurz = k.kuerzenCm < 0.0;
    return k;
}

QString kuerzungText(const Kuerzung &kuerzung, const QLocale &locale)
{
    const QString laenge = formatZahl(kuerzung.laenge, QStringLiteral("0.000"), locale);
    const QString cm = formatZahl(std::abs(kuerzung.kuerzenCm), QStringLiteral("0.0"), locale);
    if (kuerzung.zuKurz)
        return QStringLiteral("Neue Länge: %1 m (das Kabel ist %2 cm zu kurz)").arg(laenge, cm);
    return QStringLiteral("Neue Länge: %1 m (kürzen um %2 cm)").arg(laenge, cm);
}

} // namespace varo
