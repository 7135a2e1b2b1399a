#include "modus_messung.h"

#include "baender.h"
#include "leitungsexport.h"
#include "leitungsmessung.h"
#include "messdaten.h"
#include "messung.h"
#include "modus_analyse.h"
#include "touchstone.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <limits>

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
    bool smith = false;
    // Set once the file and the cable are read.
    double vonMHz = 0.0, bisMHz = 0.0;
    double r0 = 50.0;
    QString bandliste;
};

bool istBild(const QString &endung)
{
    return endung == QLatin1String("png") || endung == QLatin1String("svg") ||
           endung == QLatin1String("pdf");
}

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
    auftrag.smith = optionen.hat(QStringLiteral("smith"));
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
    if (auftrag.smith && !istBild(auftrag.endung)) {
        fehler << programmname
               << ": --smith zeichnet ein Bild; --ausgabe muss auf .png, .svg oder .pdf "
                  "enden\n";
        return std::nullopt;
    }
    return auftrag;
}

// The index of the point nearest fMHz; werte rise and are not empty. Halfway
// between two points, the lower one.
int naechsterPunkt(const QList<Messwerte> &werte, double fMHz)
{
    const auto danach = std::lower_bound(werte.cbegin(), werte.cend(), fMHz,
                                         [](const Messwerte &w, double f) { return w.fMHz < f; });
    const int i = int(danach - werte.cbegin());
    if (i == werte.size())
        return i - 1;
    if (i > 0 && fMHz - werte.at(i - 1).fMHz <= werte.at(i).fMHz - fMHz)
        return i - 1;
    return i;
}

// A written export, or its reason on fehler.
int exportiert(const Exportergebnis &ergebnis, QTextStream &fehler)
{
    if (ergebnis.geschrieben())
        return ok;
    fehler << programmname << ": " << ergebnis.meldung << '\n';
    return fehlerStatus;
}

int smithAusgeben(const Messauftrag &auftrag, const Messverlauf &verlauf,
                  const QString &beschreibung, QTextStream &fehler)
{
    QString grund;
    const QList<Band> baender = baenderLaden(auftrag.bandliste, &grund);
    if (baender.isEmpty())
        fehler << (grund.isEmpty() ? QStringLiteral("Die Bandliste ist leer.") : grund)
               << " Das Smith-Diagramm zeigt keine Bandgrenzen.\n";
    Smithdiagramm d = messungSmith(verlauf, auftrag.r0, baender, auftrag.vonMHz, auftrag.bisMHz);
    if (d.markiert < 0) {
        fehler << "Keine Frequenz des Bereichs hat eine Impedanz; es gibt nichts zu zeichnen.\n";
        return abgelehnt;
    }
    const QLocale locale;
    d.ueberschrift = QStringLiteral("%1, Messung, bezogen auf %2 Ω")
                         .arg(beschreibung, locale.toString(auftrag.r0, 'g', 6));
    return exportiert(smithExportieren(d, *auftrag.ausgabe), fehler);
}

int ausgeben(const Messauftrag &auftrag, const Messverlauf &verlauf, const QString &beschreibung,
             bool mitVerlust, QIODevice &ausgabe, QTextStream &fehler)
{
    const QLocale locale;
    if (auftrag.endung == QLatin1String("csv") && !auftrag.anpassung && !auftrag.ausgabe) {
        // Piece by piece: a table of a million lines needs no second copy.
        int status = ok;
        messungCsvSchreiben(verlauf, locale, [&](const QByteArray &stueck) {
            status = schreiben(stueck, std::nullopt, ausgabe, fehler);
            return status == ok;
        });
        return status;
    }
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
    if (auftrag.smith)
        return smithAusgeben(auftrag, verlauf, beschreibung, fehler);
    const Leitungsdiagramm d =
        messdiagramm(verlauf.werte, beschreibung + QStringLiteral(", Messung"), mitVerlust);
    if (d.werte.isEmpty()) {
        fehler << "Keine Frequenz des Bereichs hat an beiden Enden eine Impedanz; es gibt "
                  "nichts zu zeichnen.\n";
        return abgelehnt;
    }
    return exportiert(leitungExportieren(d, *auftrag.ausgabe), fehler);
}

} // namespace

Smithdiagramm messungSmith(const Messverlauf &verlauf, double r0, const QList<Band> &baender,
                           double vonMHz, double bisMHz)
{
    Smithdiagramm d;
    const QList<Messwerte> &werte = verlauf.werte;
    const auto normiert = [r0](const std::optional<Komplex> &z) -> std::optional<Komplex> {
        if (!z)
            return std::nullopt;
        return *z / r0;
    };
    d.last.reserve(werte.size());
    d.sender.reserve(werte.size());
    for (const Messwerte &w : werte) {
        d.last.append(normiert(w.zAntenne));
        d.sender.append(normiert(w.zSender));
    }
    if (werte.isEmpty())
        return d;
    // The file's MHz may differ from the list's in the last bit.
    const double erste = werte.constFirst().fMHz * (1.0 - 1e-12);
    const double letzte = werte.constLast().fMHz * (1.0 + 1e-12);
    for (const Band &band : baender) {
        for (const double kante : {band.vonMHz, band.bisMHz}) {
            if (kante >= erste && kante <= letzte)
                d.bandkanten.append(naechsterPunkt(werte, kante));
        }
    }
    std::sort(d.bandkanten.begin(), d.bandkanten.end());
    d.bandkanten.erase(std::unique(d.bandkanten.begin(), d.bandkanten.end()), d.bandkanten.end());
    const double mitte = (vonMHz + bisMHz) / 2.0;
    double abstand = std::numeric_limits<double>::infinity();
    for (int i = 0; i < werte.size(); ++i) {
        const Messwerte &w = werte.at(i);
        if ((w.zSender || w.zAntenne) && std::abs(w.fMHz - mitte) < abstand) {
            abstand = std::abs(w.fMHz - mitte);
            d.markiert = i;
        }
    }
    return d;
}

int messungAusfuehren(const Optionen &optionen, QIODevice &ausgabe, QTextStream &fehler,
                      const QString &kabelOrdner)
{
    auto auftrag = auftragLesen(optionen, fehler);
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
    auto [von, bis] = messdateiBereich(lesung.daten);
    bool zahl = false;
    if (const auto text = optionen.wert(QStringLiteral("von")))
        von = baenderZahl(*text, &zahl);
    if (const auto text = optionen.wert(QStringLiteral("bis")))
        bis = baenderZahl(*text, &zahl);
    if (const QString problem = messbereichPruefen(lesung.daten, von, bis); !problem.isEmpty()) {
        fehler << "„" << QDir::toNativeSeparators(auftrag->datei) << "“: " << problem << '\n';
        return abgelehnt;
    }
    auftrag->vonMHz = von;
    auftrag->bisMHz = bis;
    auftrag->r0 = anfrage->eingabe.R0;
    auftrag->bandliste = kabelOrdner + QStringLiteral("/Baender.txt");
    const Messverlauf verlauf = messverlauf(anfrage->eingabe, auftrag->ort, lesung.daten, von, bis);
    for (const QString &hinweis : verlauf.hinweise)
        fehler << hinweis << '\n';
    const QString beschreibung = QStringLiteral("%1 m %2").arg(texte->laenge, typ);
    return ausgeben(*auftrag, verlauf, beschreibung,
                    texte->verluste && anfrage->eingabe.verlust.vorhanden, ausgabe, fehler);
}

} // namespace varo::cli
