// The cable measurement's outputs: the frequencies of a proposed table row,
// the row itself, and the result as CSV and as text.

#include "kabelmessung.h"

#include "kabelmessung_intern.h"

#include <algorithm>
#include <cmath>

namespace varo {

namespace {

// The round frequencies a table row lists when the range reaches them.
constexpr double kRundeFrequenzen[] = {1.8, 3.5, 7.0, 14.0, 28.0, 50.0, 144.0, 430.0};

} // namespace

QList<double> zeilenfrequenzen(double vonMHz, double bisMHz, QString *hinweis)
{
    const auto drin = [&](double f) {
        return f >= vonMHz * (1.0 - 1e-9) && f <= bisMHz * (1.0 + 1e-9);
    };
    QList<double> f;
    QStringList hinweise;
    for (double r : kRundeFrequenzen)
        if (drin(r))
            f << r;
    if (f.size() < 3) {
        // Two significant digits, rounded into the range (-1 down, 0 nearest, 1 up).
        const auto gerundet = [](double x, int richtung) {
            const double stelle = std::pow(10.0, std::floor(std::log10(x)) - 1.0);
            const double q = x / stelle;
            const double r = richtung > 0   ? std::ceil(q * (1.0 - 1e-12))
                             : richtung < 0 ? std::floor(q * (1.0 + 1e-12))
                                            : std::round(q);
            return r * stelle;
        };
        const double kandidaten[] = {gerundet(vonMHz, 1), gerundet(std::sqrt(vonMHz * bisMHz), 0),
                                     gerundet(bisMHz, -1)};
        f.clear();
        for (double k : kandidaten)
            if (drin(k) && (f.isEmpty() || k > f.last() * (1.0 + 1e-9)))
                f << k;
        if (f.isEmpty())
            f << vonMHz;
        hinweise << QStringLiteral("Zwischen %1 und %2 MHz liegen weniger als drei der "
                                   "Frequenzen 1,8, 3,5, 7, 14, 28, 50, 144 und 430 MHz; die "
                                   "Zeile nennt die Dämpfung am Anfang, in der Mitte und am Ende "
                                   "des Bereichs, auf zwei Stellen gerundet.")
                        .arg(zahl(vonMHz, "0.###"), zahl(bisMHz, "0.###"));
    }
    // The reports read the first point only and round its frequency.
    const auto ganz = std::find_if(f.begin(), f.end(), [](double x) {
        return x >= 1.0 && std::abs(x - std::round(x)) < 1e-9 * x;
    });
    if (ganz != f.end()) {
        std::rotate(f.begin(), ganz, ganz + 1);
    } else {
        double w = std::ceil(vonMHz);
        if (!drin(w))
            w = std::floor(vonMHz) >= 1.0 ? std::floor(vonMHz) : w;
        f.prepend(w);
        hinweise << QStringLiteral("Die Berichte lesen nur den ersten Punkt einer Zeile und "
                                   "runden seine Frequenz; die Zeile beginnt deshalb mit %1 MHz%2.")
                        .arg(zahl(w, "0"), drin(w) ? QString()
                                                   : QStringLiteral(", knapp außerhalb des "
                                                                    "Messbereichs"));
    }
    if (hinweis)
        *hinweis = hinweise.join(QLatin1Char(' '));
    return f;
}

QString kabelzeile(double Vk, const QString &name, const QList<Daempfungspunkt> &punkte,
                   double impedanz)
{
    const QLocale deutsch(QLocale::German);
    QString typ = name.simplified();
    typ.replace(QLatin1String("d="), QLatin1String("d ="));
    const QString vk = formatZahl(Vk, QStringLiteral("0.000"), deutsch);
    // The impedance to a tenth of an ohm: more is not measured.
    const QString feld = daempfungsfeld(punkte, std::round(impedanz * 10.0) / 10.0, deutsch);
    // A name the number reading would run into ("7/8 Zoll") gets a word before it.
    bool gelesen = false;
    try {
        const Kabeltyp probe = kabelZerlegen(vk + QLatin1Char(' ') + typ);
        gelesen = !typ.isEmpty() && probe.Typ == typ && probe.Vk == kabelZerlegen(vk).Vk;
    } catch (const std::exception &) {
        gelesen = false;
    }
    if (!gelesen)
        typ.prepend(QStringLiteral("Kabel "));
    return vk + QLatin1Char(' ') + typ.trimmed() + QLatin1Char(' ') + feld;
}

QByteArray kabelmessungCsv(const Kabelmessergebnis &ergebnis, const QLocale &locale)
{
    QLocale l = locale;
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    const auto zahl = [&l](double wert) { return l.toString(wert, 'g', 10); };
    QString text = QLatin1String(kKabelmessungCsvKopf) + QLatin1Char('\n');
    for (const Messwert &w : ergebnis.werte) {
        const QStringList felder{zahl(w.fMHz), zahl(w.Vk), w.Zo ? zahl(w.Zo->real()) : QString(),
                                 w.Zo ? zahl(w.Zo->imag()) : QString(), zahl(w.dBPro100m)};
        text += felder.join(QLatin1Char(';')) + QLatin1Char('\n');
    }
    return text.toUtf8();
}

QStringList kabelmessungText(const Kabelmessergebnis &ergebnis,
                             const std::optional<Kuerzung> &kuerzung, const QLocale &locale)
{
    const auto z = [&locale](double wert, const char *muster) {
        return formatZahl(wert, QString::fromLatin1(muster), locale);
    };
    const Kabelmessergebnis &e = ergebnis;
    QStringList zeilen;
    zeilen << QStringLiteral("Verkürzungsfaktor: %1 (Streuung %2, von %3 bis %4)")
                  .arg(z(e.VkMittel, "0.000"), z(e.VkStreuung, "0.0000"), z(e.VkMin, "0.000"),
                       z(e.VkMax, "0.000"));
    zeilen << QStringLiteral("Elektrische Länge: %1 m").arg(z(e.elektrischeLaenge, "0.000"));
    zeilen << (e.laengeBerechnet ? QStringLiteral("Länge (aus dem Verkürzungsfaktor): %1 m")
                                 : QStringLiteral("Länge: %1 m"))
                  .arg(z(e.laenge, "0.000"));
    zeilen << QStringLiteral("Impedanz: %1 Ω (%2)")
                  .arg(z(e.impedanz, "0.0"), e.impedanzGemessen ? QStringLiteral("gemessen")
                                                                : QStringLiteral("angenommen"));
    for (const Daempfungspunkt &p : e.zeilenpunkte)
        zeilen << QStringLiteral("Dämpfung bei %1 MHz: %2 dB pro 100 m")
                      .arg(z(p.fMHz, "0.###"), z(p.dBPro100m, "0.00"));
    for (const QString &hinweis : e.hinweise)
        zeilen << QStringLiteral("Hinweis: ") + hinweis;
    if (kuerzung)
        zeilen << kuerzungText(*kuerzung, locale);
    zeilen << e.zeile;
    return zeilen;
}

} // namespace varo
