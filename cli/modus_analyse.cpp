#include "modus_analyse.h"

#include "baender.h"
#include "kabeldaten.h"
#include "konvertierung.h"
#include "leitungsanfrage.h"
#include "leitungsexport.h"

#include <QFileInfo>
#include <QLocale>
#include <QTextStream>

#include <cmath>
#include <complex>

namespace varo::cli {

std::optional<Kabeldaten> kabeldatenWaehlen(const Kabelwahl &wahl, QString &grund)
{
    const QString wo = wahl.kabel
                           ? QStringLiteral("%1, Zeile %2 (%3): ")
                                 .arg(wahl.kabel->eigen ? QStringLiteral("Eigene Kabeltabelle")
                                                        : QStringLiteral("Kabeltabelle"))
                                 .arg(wahl.kabel->zeile)
                                 .arg(wahl.kabel->Typ)
                           : QStringLiteral("--kabel %1: ").arg(zitat(wahl.text));
    auto daten =
        wahl.kabel ? kabeldatenLesen(*wahl.kabel, &grund) : kabeldatenAusText(wahl.text, &grund);
    if (!daten) {
        grund = wo + grund;
        return std::nullopt;
    }
    // A typed velocity factor alone is checked by the line model itself.
    if (const QString problem = kabeldatenPruefen(*daten);
        !problem.isEmpty() &&
        (wahl.kabel || !daten->punkte.isEmpty() || daten->impedanzAngegeben)) {
        grund = wo + problem;
        return std::nullopt;
    }
    return daten;
}

namespace {

// The points as the request reader takes them back, every digit kept: a
// rounded field would make 1e-300 a 0 and 10,0001 and 10,0002 one 10.
QString genauesDaempfungsfeld(const QList<Daempfungspunkt> &punkte)
{
    const QLocale c = QLocale::c();
    QStringList paare;
    for (const Daempfungspunkt &p : punkte)
        paare << c.toString(p.fMHz, 'g', QLocale::FloatingPointShortest) + QLatin1Char('/') +
                     c.toString(p.dBPro100m, 'g', QLocale::FloatingPointShortest);
    return paare.isEmpty() ? QString() : QStringLiteral("d=") + paare.join(QLatin1Char(';'));
}

// Every column the table and the chart show must be a finite number: a
// length or loss far beyond any cable overflows the loss or the SWR.
QString endlichPruefen(const QList<Leitungswerte> &werte)
{
    for (const Leitungswerte &w : werte) {
        for (const double wert : {w.swrSender, w.swrAntenne, w.verlustAngepasst, std::abs(w.Zin)}) {
            if (!std::isfinite(wert))
                return QStringLiteral("Mit diesen Werten ergibt die Rechnung bei %1 MHz keine "
                                      "endliche Zahl (Länge oder Dämpfung zu groß); bitte die "
                                      "Eingaben prüfen.")
                    .arg(QLocale().toString(w.fMHz, 'g', 7));
        }
    }
    return {};
}

} // namespace

bool zahlenPruefen(const Optionen &optionen, std::initializer_list<const char *> namen,
                   QTextStream &fehler)
{
    for (const char *name : namen) {
        const auto text = optionen.wert(QLatin1String(name));
        bool ok = false;
        if (text && (baenderZahl(*text, &ok), !ok || text->trimmed().isEmpty())) {
            fehler << zahlAbgelehnt(QStringLiteral("--") + QLatin1String(name), *text) << '\n';
            return false;
        }
    }
    return true;
}

std::optional<LeitungsTexte> analysekabel(const Optionen &optionen, QTextStream &fehler,
                                          const QString &kabelOrdner, QString &typ)
{
    const QLocale locale;
    const Kabeltabellen tabellen = optionen.kabeltabellen(kabelOrdner);
    QString grund;
    const auto wahl =
        kabelWaehlen(*optionen.wert(QStringLiteral("kabel")), tabellen, locale, grund);
    if (!wahl) {
        fehler << grund << '\n';
        return std::nullopt;
    }
    if (!wahl->hinweis.isEmpty())
        fehler << wahl->hinweis << '\n';
    const auto gewaehlt = kabeldatenWaehlen(*wahl, grund);
    if (!gewaehlt) {
        fehler << grund << '\n';
        return std::nullopt;
    }
    Kabeldaten daten = *gewaehlt;
    typ = daten.typ;
    if (!wahl->kabel) {
        // A typed entry keeps its velocity factor in double precision.
        daten.Vk = TextZuZahl(KommaZuPunkt(wahl->text));
        typ = QStringLiteral("Kabel");
    }
    LeitungsTexte texte;
    const QLocale c = QLocale::c();
    texte.kabelZ =
        optionen.wert(QStringLiteral("kabelz")).value_or(c.toString(daten.impedanz, 'g', 17));
    texte.vk = optionen.wert(QStringLiteral("vk")).value_or(c.toString(daten.Vk, 'g', 17));
    texte.daempfung = genauesDaempfungsfeld(daten.punkte);
    texte.verluste = !optionen.hat(QStringLiteral("verlustlos"));
    return texte;
}

namespace {

// The options a typed load needs are there and none that only a measured
// file takes; false after the message on fehler.
bool aufrufPruefen(const Optionen &optionen, QTextStream &fehler)
{
    // A typed load has no Smith chart here; silently drawing the other chart
    // would hide the mistake.
    if (optionen.hat(QStringLiteral("smith"))) {
        fehler << programmname
               << ": --smith gilt nur mit --messung; ohne Messdatei gibt es kein "
                  "Smith-Diagramm\n";
        return false;
    }
    for (const char *pflicht : {"von", "bis", "kabel", "laenge", "lastr", "lastx"}) {
        if (!optionen.wert(QLatin1String(pflicht))) {
            fehler << programmname << ": die Option --" << pflicht << " fehlt\n"
                   << "„" << programmname << " --help“ gibt weitere Informationen.\n";
            return false;
        }
    }
    return true;
}

} // namespace

int analyseAusfuehren(const Optionen &optionen, QIODevice &ausgabe, QTextStream &fehler,
                      const QString &kabelOrdner)
{
    if (!aufrufPruefen(optionen, fehler))
        return fehlerStatus;
    int schritte = 200;
    if (const auto text = optionen.wert(QStringLiteral("schritte"))) {
        bool zahl = false;
        schritte = text->toInt(&zahl);
        if (!zahl || schritte < 1 || schritte > kMaxSchritte) {
            fehler << programmname << ": --schritte braucht eine ganze Zahl von 1 bis "
                   << kMaxSchritte << '\n';
            return fehlerStatus;
        }
    }
    const auto datei = optionen.wert(QStringLiteral("ausgabe"));
    // Standard output ("-" or none) takes the table.
    const QString endung = datei && *datei != QLatin1String("-")
                               ? QFileInfo(*datei).suffix().toLower()
                               : QStringLiteral("csv");
    if (!QStringList{QStringLiteral("csv"), QStringLiteral("png"), QStringLiteral("svg"),
                     QStringLiteral("pdf")}
             .contains(endung)) {
        fehler << programmname << ": --ausgabe muss auf .csv, .png, .svg oder .pdf enden\n";
        return fehlerStatus;
    }

    // Every number must be one; the model's rules come after.
    if (!zahlenPruefen(optionen, {"von", "bis", "laenge", "lastr", "lastx", "kabelz", "vk"},
                       fehler))
        return abgelehnt;
    QString typ;
    auto kabeltexte = analysekabel(optionen, fehler, kabelOrdner, typ);
    if (!kabeltexte)
        return abgelehnt;
    LeitungsTexte texte = *kabeltexte;
    texte.von = *optionen.wert(QStringLiteral("von"));
    texte.bis = *optionen.wert(QStringLiteral("bis"));
    texte.laenge = *optionen.wert(QStringLiteral("laenge"));
    texte.lastR = *optionen.wert(QStringLiteral("lastr"));
    texte.lastX = *optionen.wert(QStringLiteral("lastx"));
    const QLocale locale;
    QString grund;
    const auto anfrage = leitungsanfrageLesen(texte, grund);
    if (!anfrage) {
        fehler << grund << '\n';
        return abgelehnt;
    }

    Leitungsdiagramm diagramm;
    diagramm.werte = leitungsverlauf(anfrage->eingabe, anfrage->vonMHz, anfrage->bisMHz, schritte);
    diagramm.mitVerlust = texte.verluste && anfrage->eingabe.verlust.vorhanden;
    diagramm.ueberschrift = QStringLiteral("%1, %2 m, Antenne %3 + j(%4) Ω")
                                .arg(typ, texte.laenge, texte.lastR, texte.lastX);
    QString problem = leitungsverlaufPruefen(diagramm.werte);
    if (problem.isEmpty())
        problem = endlichPruefen(diagramm.werte);
    if (!problem.isEmpty()) {
        fehler << problem << '\n';
        return abgelehnt;
    }
    if (endung == QLatin1String("csv"))
        return schreiben(leitungsCsv(diagramm.werte, locale), datei, ausgabe, fehler);
    if (const Exportergebnis ergebnis = leitungExportieren(diagramm, *datei);
        !ergebnis.geschrieben()) {
        fehler << programmname << ": " << ergebnis.meldung << '\n';
        return fehlerStatus;
    }
    return ok;
}

} // namespace varo::cli
