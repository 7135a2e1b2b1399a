#include "modus_vermessen.h"

#include "baender.h"
#include "kabelmessung.h"
#include "messdaten.h"
#include "modus_analyse.h"

#include <QTextStream>

namespace varo::cli {

const QStringList vermessenOptionen = {QStringLiteral("offen"), QStringLiteral("kurz"),
                                       QStringLiteral("name"), QStringLiteral("ziel"),
                                       QStringLiteral("art")};

QString vermessenHilfe()
{
    return QStringLiteral(
        "Eigenes Kabel vermessen (Ende offen, wahlweise auch kurzgeschlossen):\n"
        "  --vermessen           Verkürzungsfaktor, Impedanz und Dämpfung aus der Messung\n"
        "  --offen DATEI         Messung mit offenem Ende (.s1p oder CSV eines Analysators)\n"
        "  --kurz DATEI          Messung mit kurzgeschlossenem Ende, dieselben Frequenzen\n"
        "  --laenge TEXT         Länge des Kabels in m, oder statt ihrer:\n"
        "  --vk TEXT             bekannter Verkürzungsfaktor; die Länge wird berechnet\n"
        "  --kabel TEXT          das Kabel, das es sein soll (Nennwerte), wie oben\n"
        "  --name TEXT           Typname der vorgeschlagenen Tabellenzeile\n"
        "  --ziel TEXT           Zielfrequenz in MHz: wie viel abzuschneiden ist, damit\n"
        "  --art ART             viertel-offen, viertel-kurz oder halb dort resoniert\n"
        "  --format FORMAT       text (Vorgabe; die letzte Zeile ist die Tabellenzeile)\n"
        "                        oder csv (je Frequenz: f;Vk;Zo R;Zo X;Dämpfung)\n"
        "\n");
}

namespace {

// What the options ask for, once their form is checked.
struct Vermessauftrag
{
    QString offen;
    std::optional<QString> kurz;
    std::optional<Leitungsart> art;
    bool csv = false;
};

bool aufrufFehler(QTextStream &fehler, const QString &text)
{
    fehler << programmname << ": " << text << '\n'
           << "„" << programmname << " --help“ gibt weitere Informationen.\n";
    return false;
}

// The options' form; a usage error is told on fehler.
std::optional<Vermessauftrag> auftragLesen(const Optionen &optionen, QTextStream &fehler)
{
    const auto offen = optionen.wert(QStringLiteral("offen"));
    const bool laenge = optionen.wert(QStringLiteral("laenge")).has_value();
    const bool ziel = optionen.wert(QStringLiteral("ziel")).has_value();
    const auto art = optionen.wert(QStringLiteral("art"));
    const QString format = optionen.wert(QStringLiteral("format")).value_or(QStringLiteral("text"));
    Vermessauftrag auftrag;
    if (art)
        auftrag.art = leitungsartAusName(*art);
    if (!offen)
        aufrufFehler(fehler, QStringLiteral("--vermessen braucht --offen DATEI"));
    else if (laenge == optionen.wert(QStringLiteral("vk")).has_value())
        aufrufFehler(fehler, QStringLiteral("--vermessen braucht entweder --laenge oder --vk"));
    else if (ziel != art.has_value())
        aufrufFehler(fehler, QStringLiteral("--ziel und --art gelten nur zusammen"));
    else if (art && !auftrag.art)
        aufrufFehler(fehler,
                     QStringLiteral("--art muss viertel-offen, viertel-kurz oder halb sein"));
    else if (format != QLatin1String("text") && format != QLatin1String("csv"))
        aufrufFehler(fehler, QStringLiteral("--format muss mit --vermessen text oder csv sein"));
    else if (ziel && format == QLatin1String("csv"))
        aufrufFehler(fehler, QStringLiteral("--ziel gibt eine Textzeile; mit --format csv entfällt "
                                            "sie"));
    else {
        auftrag.offen = *offen;
        auftrag.kurz = optionen.wert(QStringLiteral("kurz"));
        auftrag.csv = format == QLatin1String("csv");
        return auftrag;
    }
    return std::nullopt;
}

// The points of a measured file; a file that cannot be read or is refused
// is told, with the exit status in status.
std::optional<QList<Messpunkt>> messungLesen(const QString &datei, QTextStream &fehler, int &status)
{
    const Messlesung lesung = messdatenLesen(datei);
    if (lesung.gelesen())
        return lesung.daten.punkte;
    if (lesung.status == Messlesestatus::NichtLesbar) {
        fehler << programmname << ": " << lesung.meldung << '\n';
        status = fehlerStatus;
    } else {
        fehler << lesung.meldung << '\n';
        status = abgelehnt;
    }
    return std::nullopt;
}

// Length or known velocity factor, the cable with its nominal values and
// the name; false with the refusal told on fehler.
bool angabenLesen(const Optionen &optionen, const QString &kabelOrdner, Messangaben &angaben,
                  QTextStream &fehler)
{
    bool zahl = false;
    if (const auto text = optionen.wert(QStringLiteral("laenge")))
        angaben.laenge = baenderZahl(*text, &zahl);
    if (const auto text = optionen.wert(QStringLiteral("vk")))
        angaben.Vk = baenderZahl(*text, &zahl);
    angaben.name = optionen.wert(QStringLiteral("name")).value_or(QString());
    const auto kabeltext = optionen.wert(QStringLiteral("kabel"));
    if (!kabeltext)
        return true;
    QString grund;
    const auto wahl =
        kabelWaehlen(*kabeltext, optionen.kabeltabellen(kabelOrdner), QLocale(), grund);
    if (wahl && !wahl->hinweis.isEmpty())
        fehler << wahl->hinweis << '\n';
    if (wahl)
        angaben.kabel = kabeldatenWaehlen(*wahl, grund);
    if (!angaben.kabel) {
        fehler << grund << '\n';
        return false;
    }
    return true;
}

} // namespace

int vermessenAusfuehren(const Optionen &optionen, QIODevice &ausgabe, QTextStream &fehler,
                        const QString &kabelOrdner)
{
    const auto auftrag = auftragLesen(optionen, fehler);
    if (!auftrag)
        return fehlerStatus;
    if (!zahlenPruefen(optionen, {"laenge", "vk", "ziel"}, fehler))
        return abgelehnt;
    int status = ok;
    const auto offen = messungLesen(auftrag->offen, fehler, status);
    if (!offen)
        return status;
    std::optional<QList<Messpunkt>> kurz;
    if (auftrag->kurz && !(kurz = messungLesen(*auftrag->kurz, fehler, status)))
        return status;
    Messangaben angaben;
    if (!angabenLesen(optionen, kabelOrdner, angaben, fehler))
        return abgelehnt;

    const Kabelmessung messung = kabelVermessen(*offen, kurz, angaben);
    if (!messung.ok()) {
        fehler << messung.grund << '\n';
        return abgelehnt;
    }
    const Kabelmessergebnis &e = messung.ergebnis;
    const QLocale locale;
    if (auftrag->csv)
        return schreiben(kabelmessungCsv(e, locale), optionen.wert(QStringLiteral("ausgabe")),
                         ausgabe, fehler);
    std::optional<Kuerzung> kuerzung;
    if (auftrag->art) {
        bool zahl = false;
        const double ziel = baenderZahl(*optionen.wert(QStringLiteral("ziel")), &zahl);
        QString grund;
        kuerzung = kuerzungBerechnen(ziel, *auftrag->art, e.VkMittel, e.laenge, &grund);
        if (!kuerzung) {
            fehler << "--ziel: " << grund << '\n';
            return abgelehnt;
        }
    }
    const QString text = kabelmessungText(e, kuerzung, locale).join(QLatin1Char('\n'));
    return schreiben((text + QLatin1Char('\n')).toUtf8(), optionen.wert(QStringLiteral("ausgabe")),
                     ausgabe, fehler);
}

} // namespace varo::cli
