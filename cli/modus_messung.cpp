#include "modus_messung.h"

#include "baender.h"
#include "leitungsexport.h"
#include "messdaten.h"
#include "messung.h"
#include "modus_analyse.h"
#include "touchstone.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace varo::cli {

namespace {

// What the options ask for, once their form is checked.
struct Messauftrag
{
    QString datei;
    Messort ort = Messort::Antenne;
    QString endung; // of --ausgabe; "csv" without it
    std::optional<QString> ausgabe;
    bool anpassung = false;
};

// The options' form; a usage error is told on fehler.
std::optional<Messauftrag> auftragLesen(const Optionen &optionen, QTextStream &fehler)
{
    for (const char *pflicht : {"kabel", "laenge"}) {
        if (!optionen.wert(QLatin1String(pflicht))) {
            fehler << programmname << ": die Option --" << pflicht << " fehlt\n"
                   << "„" << programmname << " --help“ gibt weitere Informationen.\n";
            return std::nullopt;
        }
    }
    for (const char *fremd : {"lastr", "lastx", "schritte"}) {
        if (optionen.wert(QLatin1String(fremd))) {
            fehler << programmname << ": --" << fremd
                   << " gilt nicht mit --messung; die Messdatei gibt Last und Frequenzen vor\n";
            return std::nullopt;
        }
    }
    Messauftrag auftrag;
    auftrag.datei = *optionen.wert(QStringLiteral("messung"));
    const QString ort =
        optionen.wert(QStringLiteral("messort")).value_or(QStringLiteral("antenne"));
    if (ort != QLatin1String("antenne") && ort != QLatin1String("sender")) {
        fehler << programmname << ": --messort muss antenne oder sender sein\n";
        return std::nullopt;
    }
    auftrag.ort = ort == QLatin1String("sender") ? Messort::Sender : Messort::Antenne;
    auftrag.ausgabe = optionen.wert(QStringLiteral("ausgabe"));
    auftrag.endung =
        auftrag.ausgabe ? QFileInfo(*auftrag.ausgabe).suffix().toLower() : QStringLiteral("csv");
    auftrag.anpassung = optionen.hat(QStringLiteral("anpassung"));
    const QStringList bekannt{QStringLiteral("csv"), QStringLiteral("s1p"), QStringLiteral("png"),
                              QStringLiteral("svg"), QStringLiteral("pdf")};
    if (!bekannt.contains(auftrag.endung)) {
        fehler << programmname
               << ": --ausgabe muss mit --messung auf .csv, .s1p, .png, .svg "
                  "oder .pdf enden\n";
        return std::nullopt;
    }
    if (auftrag.anpassung && auftrag.endung != QLatin1String("csv")) {
        fehler << programmname
               << ": --anpassung gibt eine Tabelle aus; --ausgabe muss auf .csv "
                  "enden\n";
        return std::nullopt;
    }
    return auftrag;
}

// The frequency of the file's first point above 0 Hz and of its last, in MHz.
std::pair<double, double> dateibereich(const Messdaten &daten)
{
    for (const Messpunkt &p : daten.punkte) {
        if (p.fHz > 0.0)
            return {p.fHz / 1e6, daten.punkte.constLast().fHz / 1e6};
    }
    return {0.0, 0.0};
}

Leitungsdiagramm diagramm(const Messverlauf &verlauf, const QString &ueberschrift, bool mitVerlust)
{
    Leitungsdiagramm d;
    d.ueberschrift = ueberschrift;
    d.mitVerlust = mitVerlust;
    for (const Messwerte &w : verlauf.werte) {
        if (!w.vollstaendig() || !w.verlustGesamt)
            continue; // the chart joins its points; a gap is told on standard error
        Leitungswerte l;
        l.fMHz = w.fMHz;
        l.Zin = *w.zSender;
        l.swrSender = w.swrSender.value_or(0.0);
        l.swrAntenne = w.swrAntenne.value_or(0.0);
        l.verlustAngepasst = w.verlustAngepasst.value_or(0.0);
        l.verlustGesamt = *w.verlustGesamt;
        d.werte.append(l);
    }
    return d;
}

int ausgeben(const Messauftrag &auftrag, const Messverlauf &verlauf, const QString &beschreibung,
             bool mitVerlust, QIODevice &ausgabe, QTextStream &fehler)
{
    const QLocale locale;
    if (auftrag.endung == QLatin1String("csv"))
        return schreiben(auftrag.anpassung ? anpassungCsv(verlauf, locale)
                                           : messungCsv(verlauf, locale),
                         auftrag.ausgabe, ausgabe, fehler);
    if (auftrag.endung == QLatin1String("s1p")) {
        const bool amSender = auftrag.ort == Messort::Antenne;
        QList<Messpunkt> punkte;
        punkte.reserve(verlauf.werte.size());
        for (const Messwerte &w : verlauf.werte)
            punkte.append({w.fMHz * 1e6, amSender ? w.zSender : w.zAntenne});
        const QString was = amSender ? QStringLiteral("Impedanz am Sender durch ")
                                     : QStringLiteral("Impedanz am Fußpunkt, zurückgerechnet "
                                                      "aus der Messung am Sender durch ");
        const QString grund = touchstoneSchreiben(*auftrag.ausgabe, punkte, was + beschreibung);
        if (grund.isEmpty())
            return ok;
        fehler << programmname << ": „" << QDir::toNativeSeparators(*auftrag.ausgabe)
               << "“ kann nicht geschrieben werden: " << grund << '\n';
        return fehlerStatus;
    }
    const Leitungsdiagramm d =
        diagramm(verlauf, beschreibung + QStringLiteral(", Messung"), mitVerlust);
    if (d.werte.isEmpty()) {
        fehler << "Keine Frequenz des Bereichs hat an beiden Enden eine Impedanz; es gibt "
                  "nichts zu zeichnen.\n";
        return abgelehnt;
    }
    if (const Exportergebnis ergebnis = leitungExportieren(d, *auftrag.ausgabe);
        !ergebnis.geschrieben()) {
        fehler << programmname << ": " << ergebnis.meldung << '\n';
        return fehlerStatus;
    }
    return ok;
}

} // namespace

int messungAusfuehren(const Optionen &optionen, QIODevice &ausgabe, QTextStream &fehler,
                      const QString &kabelOrdner)
{
    const auto auftrag = auftragLesen(optionen, fehler);
    if (!auftrag)
        return fehlerStatus;
    if (!zahlenPruefen(optionen, {"von", "bis", "laenge", "kabelz", "vk"}, fehler))
        return abgelehnt;
    const Messlesung lesung = messdatenLesen(auftrag->datei);
    if (!lesung.gelesen()) {
        if (lesung.status == Messlesestatus::NichtLesbar) {
            fehler << programmname << ": " << lesung.meldung << '\n';
            return fehlerStatus;
        }
        fehler << lesung.meldung << '\n';
        return abgelehnt;
    }
    QString typ;
    auto texte = analysekabel(optionen, fehler, kabelOrdner, typ);
    if (!texte)
        return abgelehnt;
    // The request reader checks the line; the range of a measurement may be
    // a single frequency and is checked against the file below.
    texte->laenge = *optionen.wert(QStringLiteral("laenge"));
    texte->von = QStringLiteral("1");
    texte->bis = QStringLiteral("2");
    texte->lastR = QStringLiteral("50");
    texte->lastX = QStringLiteral("0");
    QString grund;
    const auto anfrage = leitungsanfrageLesen(*texte, grund);
    if (!anfrage) {
        fehler << grund << '\n';
        return abgelehnt;
    }
    auto [von, bis] = dateibereich(lesung.daten);
    bool zahl = false;
    if (const auto text = optionen.wert(QStringLiteral("von")))
        von = baenderZahl(*text, &zahl);
    if (const auto text = optionen.wert(QStringLiteral("bis")))
        bis = baenderZahl(*text, &zahl);
    if (const QString problem = messbereichPruefen(lesung.daten, von, bis); !problem.isEmpty()) {
        fehler << "„" << QDir::toNativeSeparators(auftrag->datei) << "“: " << problem << '\n';
        return abgelehnt;
    }
    const Messverlauf verlauf = messverlauf(anfrage->eingabe, auftrag->ort, lesung.daten, von, bis);
    for (const QString &hinweis : verlauf.hinweise)
        fehler << hinweis << '\n';
    const QString beschreibung = QStringLiteral("%1 m %2").arg(texte->laenge, typ);
    return ausgeben(*auftrag, verlauf, beschreibung,
                    texte->verluste && anfrage->eingabe.verlust.vorhanden, ausgabe, fehler);
}

} // namespace varo::cli
