#include "modus_analyse.h"

#include "baender.h"
#include "kabeldaten.h"
#include "konvertierung.h"
#include "laufzeitfehler.h"
#include "leitungsanfrage.h"
#include "leitungsexport.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace varo::cli {

namespace {

// Most bytes of a cable table read; a real one has a few kilobytes.
constexpr qint64 kGroessteTabelle = qint64{1024} * 1024;

// The line of the table file that holds the chosen row, counted from 1.
int zeilennummer(const QString &tabellenpfad, const Kabeltyp &kabel)
{
    QFile datei(tabellenpfad);
    if (!datei.open(QIODevice::ReadOnly))
        return 0;
    const QStringList zeilen = kabelDateiZeilen(datei.read(kGroessteTabelle));
    for (qsizetype i = 0; i < zeilen.size(); ++i) {
        if (zeilen.at(i).startsWith(QLatin1Char(';')))
            continue;
        try {
            const Kabeltyp k = kabelZerlegen(zeilen.at(i));
            if (k.Typ == kabel.Typ && k.Daempfung == kabel.Daempfung && k.Vk == kabel.Vk)
                return int(i + 1);
        } catch (const Laufzeitfehler &) {
        }
    }
    return 0;
}

} // namespace

bool zahlenPruefen(const Optionen &optionen, std::initializer_list<const char *> namen,
                   QTextStream &fehler)
{
    for (const char *name : namen) {
        const auto text = optionen.wert(QLatin1String(name));
        bool ok = false;
        if (text && (baenderZahl(*text, &ok), !ok || text->trimmed().isEmpty())) {
            fehler << "--" << name << ": „" << text->left(40) << (text->size() > 40 ? "…" : "")
                   << "“ ist keine Zahl.\n";
            return false;
        }
    }
    return true;
}

std::optional<LeitungsTexte> analysekabel(const Optionen &optionen, QTextStream &fehler,
                                          const QString &kabelOrdner, QString &typ)
{
    const QLocale locale;
    const QString tabelle = optionen.kabeltabelle(kabelOrdner);
    QString grund;
    const auto wahl = kabelWaehlen(*optionen.wert(QStringLiteral("kabel")), tabelle, locale, grund);
    if (!wahl) {
        fehler << grund << '\n';
        return std::nullopt;
    }
    Kabeldaten daten;
    typ = QStringLiteral("Kabel");
    if (wahl->kabel) {
        const QString zeile = QStringLiteral("Kabeltabelle, Zeile %1 (%2): ")
                                  .arg(zeilennummer(tabelle, *wahl->kabel))
                                  .arg(wahl->kabel->Typ);
        const auto gelesen = kabeldatenLesen(*wahl->kabel, &grund);
        if (!gelesen) {
            fehler << zeile << grund << '\n';
            return std::nullopt;
        }
        daten = *gelesen;
        const QString problem = kabeldatenPruefen(daten);
        if (!problem.isEmpty()) {
            fehler << zeile << problem << '\n';
            return std::nullopt;
        }
        typ = daten.typ;
    } else {
        daten.Vk = TextZuZahl(KommaZuPunkt(wahl->text));
    }
    LeitungsTexte texte;
    const QLocale c = QLocale::c();
    texte.kabelZ =
        optionen.wert(QStringLiteral("kabelz")).value_or(c.toString(daten.impedanz, 'g', 17));
    texte.vk = optionen.wert(QStringLiteral("vk")).value_or(c.toString(daten.Vk, 'g', 17));
    texte.daempfung = daempfungsfeld(daten.punkte, std::nullopt, c);
    texte.verluste = !optionen.hat(QStringLiteral("verlustlos"));
    return texte;
}

int analyseAusfuehren(const Optionen &optionen, QIODevice &ausgabe, QTextStream &fehler,
                      const QString &kabelOrdner)
{
    for (const char *pflicht : {"von", "bis", "kabel", "laenge", "lastr", "lastx"}) {
        if (!optionen.wert(QLatin1String(pflicht))) {
            fehler << programmname << ": die Option --" << pflicht << " fehlt\n"
                   << "„" << programmname << " --help“ gibt weitere Informationen.\n";
            return fehlerStatus;
        }
    }
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
    const QString endung = datei ? QFileInfo(*datei).suffix().toLower() : QStringLiteral("csv");
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
    if (const QString problem = leitungsverlaufPruefen(diagramm.werte); !problem.isEmpty()) {
        fehler << problem << '\n';
        return abgelehnt;
    }
    if (endung == QLatin1String("csv"))
        return schreiben(leitungsCsv(diagramm.werte, locale), datei, ausgabe, fehler);
    QString meldung;
    if (leitungExportieren(diagramm, *datei, QSize(), meldung) != 0) {
        fehler << programmname << ": " << meldung << '\n';
        return fehlerStatus;
    }
    return ok;
}

} // namespace varo::cli
