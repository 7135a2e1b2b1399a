#include "modus_planer.h"

#include "baender.h"
#include "berichtsfeld.h"
#include "drucker.h"
#include "konvertierung.h"
#include "planer.h"
#include "rechnen_planer.h"

#include <QTextStream>

namespace varo::cli {

namespace {

// A number option: absent gives the default, anything but a plain number
// (decimal comma or point) is refused with grund.
std::optional<double> zahlOption(const Optionen &optionen, const QString &name, double vorgabe,
                                 QString &grund)
{
    const auto text = optionen.wert(name);
    if (!text)
        return vorgabe;
    bool ok = false;
    const double wert = baenderZahl(*text, &ok);
    if (!ok) {
        grund = zahlAbgelehnt(QStringLiteral("--") + name, *text);
        return std::nullopt;
    }
    return wert;
}

// The lengths, the step and the distance into anfrage; false with grund
// naming the first option that is no number.
bool laengenLesen(const Optionen &optionen, Planungsanfrage &anfrage, QString &grund)
{
    const auto von = zahlOption(optionen, QStringLiteral("von-laenge"), 0.0, grund);
    const auto bis =
        von ? zahlOption(optionen, QStringLiteral("bis-laenge"), 0.0, grund) : std::nullopt;
    const auto schritt =
        bis ? zahlOption(optionen, QStringLiteral("schritt"), 0.01, grund) : std::nullopt;
    const auto abstand =
        schritt ? zahlOption(optionen, QStringLiteral("abstand"), 20.0, grund) : std::nullopt;
    if (!abstand)
        return false;
    anfrage.vonLaenge = *von;
    anfrage.bisLaenge = *bis;
    anfrage.schritt = *schritt;
    anfrage.abstand = *abstand;
    return true;
}

} // namespace

int planerAusfuehren(const Optionen &optionen, QIODevice &ausgabe, QTextStream &fehler,
                     const QString &kabelOrdner)
{
    const QString format = optionen.wert(QStringLiteral("format")).value_or(QStringLiteral("text"));
    if (format != QLatin1String("text") && format != QLatin1String("rtf") &&
        format != QLatin1String("pdf") && format != QLatin1String("csv")) {
        fehler << programmname << ": --format muss text, rtf, pdf oder csv sein\n";
        return fehlerStatus;
    }
    for (const char *pflicht : {"baender", "kabel", "von-laenge", "bis-laenge"}) {
        if (!optionen.wert(QLatin1String(pflicht))) {
            fehler << programmname << ": die Option --" << pflicht << " fehlt\n"
                   << "„" << programmname << " --help“ gibt weitere Informationen.\n";
            return fehlerStatus;
        }
    }

    const QLocale locale;
    QString grund;
    const QString bandliste = kabelOrdner + QStringLiteral("/Baender.txt");
    QString listengrund;
    const QList<Band> bekannt = baenderLaden(bandliste, &listengrund);
    Planungsanfrage anfrage;
    anfrage.baender = baenderWaehlen(*optionen.wert(QStringLiteral("baender")), bekannt, grund);
    if (anfrage.baender.isEmpty()) {
        fehler << "--baender: " << grund;
        // A missing or broken list explains an unknown band name.
        if (!listengrund.isEmpty())
            fehler << ' ' << listengrund;
        fehler << '\n';
        return abgelehnt;
    }

    const auto kabel = kabelWaehlen(*optionen.wert(QStringLiteral("kabel")),
                                    optionen.kabeltabellen(kabelOrdner), locale, grund);
    if (!kabel) {
        fehler << grund << '\n';
        return abgelehnt;
    }
    if (!kabel->hinweis.isEmpty())
        fehler << kabel->hinweis << '\n';
    anfrage.vk = TextZuZahl(KommaZuPunkt(kabel->text));
    const QString kabelname = kabel->kabel ? kabel->kabel->Typ : QString();

    if (!laengenLesen(optionen, anfrage, grund)) {
        fehler << grund << '\n';
        return abgelehnt;
    }
    grund = planPruefen(anfrage);
    if (!grund.isEmpty()) {
        fehler << grund << '\n';
        return abgelehnt;
    }

    const Planung planung = planen(anfrage);
    const auto datei = optionen.wert(QStringLiteral("ausgabe"));
    if (format == QLatin1String("csv"))
        return schreiben(planungCsv(planung, locale), datei, ausgabe, fehler);

    Programmwerte werte;
    Berichtsausgabe bericht(format);
    Berichtsfeld &feld = bericht.feld();
    KonsolenOberflaeche ui;
    KeinDrucker drucker;
    Rechenkontext kontext{werte, feld, drucker, ui, locale};
    if (RechnenPlaner(planung, kabelname, kontext) != Rechenergebnis::Bericht) {
        fehler << programmname << ": "
               << ui.meldungen.value(0, QStringLiteral("Die Planung wurde abgebrochen.")) << '\n';
        return fehlerStatus;
    }
    return schreiben(bericht.daten(QStringLiteral("Varolinaten-Planung")), datei, ausgabe, fehler);
}

} // namespace varo::cli
