#include "berichtwerkzeug.h"

#include "hilfetext.h"
#include "modus_analyse.h"
#include "modus_messung.h"
#include "modus_planer.h"
#include "modus_vermessen.h"
#include "werkzeugteile.h"

#include "dateilesen.h"
#include "dokumentberichtsfeld.h"
#include "drucker.h"
#include "druckfassung.h"
#include "kabeltabelle.h"
#include "konvertierung.h"
#include "kurvenexport.h"
#include "laufzeitfehler.h"
#include "oberflaeche.h"
#include "rechnen.h"
#include "rtf.h"
#include "version.h"
#include "zahlenformat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QSaveFile>
#include <QTextStream>

#include <cmath>
#include <optional>

namespace varo::cli {

namespace {

// A printer that offers exactly the requested number of lines per page.
class SeitenlaengenDrucker : public Drucker
{
public:
    explicit SeitenlaengenDrucker(int zeilen) : m_zeilen(zeilen) {}

    QString geraetename() const override { return QStringLiteral("Seitenlänge"); }
    void setStandardFolgen(bool) override {}
    void setMasseinheit(Masseinheit) override {}
    void setSchriftname(const QString &) override {}
    void setSchriftgroesse(double) override {}
    Seitenlage seitenlage() const override { return Seitenlage::Hochformat; }
    void setSeitenlage(Seitenlage) override {}
    Papierformat papierformat() const override { return Papierformat::A4; }
    void setPapierformat(Papierformat) override {}
    Papierfach papierfach() const override { return Papierfach::Automatisch; }
    void setPapierfach(Papierfach) override {}
    int seitenhoeheTwips() const override { return hoeheTwips; }
    int seitenbreiteTwips() const override { return 11906; }
    double textHoehe(const QString &) const override
    {
        return (hoeheTwips / 56.7 - 5.0) / m_zeilen;
    }
    void dokumentBeenden() override {}
    void bildDrucken(const QImage &) override {}
    void dokumentDrucken(const QTextDocument &) override {}

private:
    static constexpr int hoeheTwips = 16838;
    int m_zeilen;
};

const QStringList wertOptionen = {
    QStringLiteral("modus"),
    QStringLiteral("frequenz"),
    QStringLiteral("kabel"),
    QStringLiteral("laenge"),
    QStringLiteral("toleranz"),
    QStringLiteral("seitenlaenge"),
    QStringLiteral("format"),
    QStringLiteral("ausgabe"),
    QStringLiteral("kabeltabelle"),
    QStringLiteral("von"),
    QStringLiteral("bis"),
    QStringLiteral("eingz"),
    QStringLiteral("kabelz"),
    QStringLiteral("vk"),
    QStringLiteral("breite"),
    QStringLiteral("hoehe"),
    QStringLiteral("oeffnen"),
    // line analysis
    QStringLiteral("lastr"),
    QStringLiteral("lastx"),
    QStringLiteral("schritte"),
    QStringLiteral("messung"),
    QStringLiteral("messort"),
    // length planner
    QStringLiteral("baender"),
    QStringLiteral("von-laenge"),
    QStringLiteral("bis-laenge"),
    QStringLiteral("schritt"),
    QStringLiteral("abstand"),
};

const QStringList schalterOptionen = {
    QStringLiteral("help"),      QStringLiteral("version"),   QStringLiteral("kurve"),
    QStringLiteral("analyse"),   QStringLiteral("planer"),    QStringLiteral("verlustlos"),
    QStringLiteral("teilweise"), QStringLiteral("anpassung"), QStringLiteral("vermessen"),
    QStringLiteral("smith"),
};

// GNU-style "--name WERT" or "--name=WERT"; returns an error text.
QString einlesen(const QStringList &argumente, Optionen &optionen)
{
    for (int i = 0; i < argumente.size(); ++i) {
        const QString &argument = argumente.at(i);
        if (!argument.startsWith(QLatin1String("--")))
            return QStringLiteral("unerwartetes Argument %1").arg(zitat(argument));
        QString name = argument.mid(2);
        std::optional<QString> wert;
        const int gleich = name.indexOf(QLatin1Char('='));
        if (gleich >= 0) {
            wert = name.mid(gleich + 1);
            name = name.left(gleich);
        }
        if (name == QLatin1String("hilfe"))
            name = QStringLiteral("help");
        if (schalterOptionen.contains(name)) {
            if (wert)
                return QStringLiteral("Option „--%1“ nimmt keinen Wert").arg(name);
            optionen.schalter.insert(name);
            continue;
        }
        if (!wertOptionen.contains(name) && !vermessenOptionen.contains(name))
            return QStringLiteral("unbekannte Option %1").arg(zitat(QStringLiteral("--") + name));
        if (!wert) {
            if (i + 1 >= argumente.size())
                return QStringLiteral("Option „--%1“ braucht einen Wert").arg(name);
            wert = argumente.at(++i);
        }
        optionen.werte.insert(name, *wert);
    }
    return {};
}

// The first option whose number lies beyond the range of a single, as a
// message; empty when all are in range.
QString zahlAusserhalb(const Berechnungsanfrage &anfrage)
{
    QList<std::pair<QString, QString>> felder;
    for (const QString &f : FrequenzListe(KommaZuPunkt(anfrage.frequenzen)))
        felder.append({QStringLiteral("--frequenz"), f});
    felder.append({QStringLiteral("--laenge"), anfrage.laenge});
    if (anfrage.modus != Berechnungsmodus::Eine)
        felder.append({QStringLiteral("--toleranz"), anfrage.toleranz});
    for (const auto &[option, text] : std::as_const(felder)) {
        try {
            zuSingle(TextZuZahl(KommaZuPunkt(text)));
        } catch (const Laufzeitfehler &) {
            return QStringLiteral("%1: Die Zahl %2 liegt außerhalb des Zahlenbereichs.")
                .arg(option, zitat(text));
        }
    }
    return {};
}

// The sentence on standard error for refused input, by its reason.
QString ablehnungsgrund(Ablehnung grund)
{
    switch (grund) {
    case Ablehnung::NurEineFrequenz:
        return nurEineFrequenzText();
    case Ablehnung::GleichesBand:
        return gleichesBandText(QStringLiteral(" "));
    case Ablehnung::Frequenz:
        return QStringLiteral("--frequenz: Eingabe außerhalb des zulässigen Bereichs: Frequenzen "
                              "ab 0,01 MHz (ein leerer Eintrag zählt als 0).");
    case Ablehnung::Verkuerzungsfaktor:
        return QStringLiteral("--kabel: Eingabe außerhalb des zulässigen Bereichs: "
                              "Verkürzungsfaktor über 0 bis 1.");
    case Ablehnung::Toleranz:
        return QStringLiteral(
            "--toleranz: Eingabe außerhalb des zulässigen Bereichs: Toleranz 0 bis 100 %.");
    case Ablehnung::Keine:
    case Ablehnung::FeldLeer:
    case Ablehnung::KeinModus:
        break;
    }
    return QStringLiteral("Die Eingabe wurde abgelehnt.");
}

// What a calculation that wrote no report says on standard error, and the
// exit status: 2 for refused input, 1 for anything else.
int ausgangMelden(const Ausgang &ausgang, QTextStream &fehler)
{
    switch (ausgang.art()) {
    case Ausgang::Art::Fertig:
        return ok;
    case Ausgang::Art::Abgelehnt:
        fehler << ablehnungsgrund(ausgang.grund()) << '\n';
        return abgelehnt;
    case Ausgang::Art::Laufzeitfehler:
        if (ausgang.fehlernummer() == fehler::Ueberlauf) {
            // Every number is in range, so the count of lengths overflowed.
            fehler << "Zu viele Längen: Die Rechnung bräuchte mehr als 32767 Vielfache der "
                      "Viertelwelle; --laenge kürzer oder --frequenz tiefer wählen.\n";
            return abgelehnt;
        }
        fehler << programmname << ": " << KonsolenOberflaeche::einzeilig(ausgang.beschreibung())
               << '\n';
        return fehlerStatus;
    case Ausgang::Art::Abgebrochen:
        break;
    }
    fehler << programmname << ": Die Rechnung wurde abgebrochen.\n";
    return fehlerStatus;
}

// The checks before the calculation, as the window makes them and with the
// tool's own range check of every number; false when the request is refused,
// with the reason on fehler.
bool anfragePruefen(const Berechnungsanfrage &anfrage, const Kabelwahl &kabel,
                    const Kabeltabellen &tabelle, QTextStream &fehler)
{
    // The dialog's own checks come first: every field filled, no two
    // frequencies in one band (that one after the ranges below).
    const Vorpruefung vorpruefung = vorpruefen(anfrage);
    if (vorpruefung == Vorpruefung::FeldLeer) {
        const QStringList felder = {anfrage.frequenzen, anfrage.kabel, anfrage.laenge,
                                    anfrage.toleranz};
        const QStringList namen = {QStringLiteral("--frequenz"), QStringLiteral("--kabel"),
                                   QStringLiteral("--laenge"), QStringLiteral("--toleranz")};
        fehler << "Das Eingabefeld " << namen.at(felder.indexOf(QString())) << " ist leer.\n";
        return false;
    }
    // A number beyond the range of a single stops the calculation with a bare
    // "Überlauf"; say which option holds it.
    if (const QString ausserhalb = zahlAusserhalb(anfrage); !ausserhalb.isEmpty()) {
        fehler << ausserhalb << '\n';
        return false;
    }
    // The report lists the attenuation only for one frequency; a field the
    // calculation cannot evaluate is named with its row, or as typed.
    const QString daempfung =
        kabel.kabel ? kabel.kabel->Daempfung : kabelZerlegen(kabel.text).Daempfung;
    if (anfrage.modus == Berechnungsmodus::Eine && !daempfung.isEmpty()) {
        if (const QString warum = daempfungsfehler(daempfung); !warum.isEmpty()) {
            const QString wo =
                kabel.kabel ? QStringLiteral("%1, Zeile %2")
                                  .arg(zitat(QDir::toNativeSeparators(tabelle.pfad(*kabel.kabel))))
                                  .arg(kabel.kabel->zeile)
                            : QStringLiteral("--kabel");
            fehler << QStringLiteral("%1: Das Dämpfungsfeld %2 ist unbrauchbar: %3.")
                          .arg(wo, zitat(daempfung), warum)
                   << '\n';
            return false;
        }
    }
    if (vorpruefung == Vorpruefung::GleichesBand) {
        fehler << gleichesBandText(QStringLiteral(" ")) << '\n';
        return false;
    }
    return true;
}

int berichtRechnen(const Optionen &optionen, const QString &format, QIODevice &ausgabe,
                   QTextStream &fehler, const QString &kabelOrdner)
{
    static const QHash<QString, Berechnungsmodus> modi = {
        {QStringLiteral("eine"), Berechnungsmodus::Eine},
        {QStringLiteral("mehrere"), Berechnungsmodus::Mehrere},
        {QStringLiteral("vorhanden"), Berechnungsmodus::VorhKabel},
    };
    const QString modus = optionen.wert(QStringLiteral("modus")).value_or(QString());
    if (!modi.contains(modus)) {
        fehler << programmname << ": --modus muss eine, mehrere oder vorhanden sein\n";
        return fehlerStatus;
    }
    for (const char *pflicht : {"frequenz", "kabel", "laenge"}) {
        if (!optionen.wert(QLatin1String(pflicht))) {
            fehler << programmname << ": die Option --" << pflicht << " fehlt\n"
                   << "„" << programmname << " --help“ gibt weitere Informationen.\n";
            return fehlerStatus;
        }
    }

    std::optional<int> seitenlaenge;
    if (const auto text = optionen.wert(QStringLiteral("seitenlaenge"))) {
        bool zahl = false;
        const int n = text->toInt(&zahl);
        if (!zahl || n < 1 || n > 32767) {
            fehler << programmname << ": --seitenlaenge braucht eine ganze Zahl von 1 bis 32767\n";
            return fehlerStatus;
        }
        seitenlaenge = n;
    }

    const QLocale locale;
    const Kabeltabellen tabelle = optionen.kabeltabellen(kabelOrdner);
    Berechnungsanfrage anfrage;
    anfrage.modus = modi.value(modus);
    anfrage.frequenzen = *optionen.wert(QStringLiteral("frequenz"));
    anfrage.laenge = *optionen.wert(QStringLiteral("laenge"));
    anfrage.toleranz = optionen.wert(QStringLiteral("toleranz")).value_or(QStringLiteral("35"));

    QString grund;
    const auto kabel =
        kabelWaehlen(*optionen.wert(QStringLiteral("kabel")), tabelle, locale, grund);
    if (!kabel) {
        fehler << grund << '\n';
        return abgelehnt;
    }
    if (!kabel->hinweis.isEmpty())
        fehler << kabel->hinweis << '\n';
    anfrage.kabel = kabel->text;
    anfrage.kabelIndex = kabel->index;

    if (!anfragePruefen(anfrage, *kabel, tabelle, fehler))
        return abgelehnt;

    Programmwerte werte;
    Berichtsausgabe bericht(format);
    Berichtsfeld &feld = bericht.feld();
    KonsolenOberflaeche ui;
    KeinDrucker keinDrucker;
    std::optional<SeitenlaengenDrucker> festeSeiten;
    if (seitenlaenge)
        festeSeiten.emplace(*seitenlaenge);
    Drucker &drucker = festeSeiten ? static_cast<Drucker &>(*festeSeiten) : keinDrucker;
    Rechenkontext kontext{werte, feld, drucker, ui, locale};

    const Ausgang ausgang = berechnen(anfrage, kontext);
    if (ausgang.art() != Ausgang::Art::Fertig)
        return ausgangMelden(ausgang, fehler);
    // The existing-cable check hints that several frequencies can be given.
    for (const QString &meldung : std::as_const(ui.meldungen))
        fehler << meldung << '\n';
    return schreiben(bericht.daten(QStringLiteral("Varolinaten-Bericht")),
                     optionen.wert(QStringLiteral("ausgabe")), ausgabe, fehler);
}

int kurveZeichnen(const Optionen &optionen, QTextStream &fehler, const QString &kabelOrdner)
{
    const auto datei = optionen.wert(QStringLiteral("ausgabe"));
    if (!datei) {
        fehler << programmname << ": --kurve braucht --ausgabe DATEI (.png, .svg oder .pdf)\n";
        return fehlerStatus;
    }
    KurvenEingabe eingabe;
    eingabe.von = optionen.wert(QStringLiteral("von")).value_or(QStringLiteral("1,5"));
    eingabe.bis = optionen.wert(QStringLiteral("bis")).value_or(QStringLiteral("30,0"));
    eingabe.eingZ = optionen.wert(QStringLiteral("eingz")).value_or(QStringLiteral("72"));
    eingabe.kabelZ = optionen.wert(QStringLiteral("kabelz")).value_or(QStringLiteral("50"));
    eingabe.laenge = optionen.wert(QStringLiteral("laenge")).value_or(QStringLiteral("30"));
    if (const auto vk = optionen.wert(QStringLiteral("vk"))) {
        eingabe.vk = *vk;
    } else if (const auto kabeltext = optionen.wert(QStringLiteral("kabel"))) {
        // The window shows the cable's velocity factor in its own field.
        const QLocale locale;
        QString grund;
        const auto kabel =
            kabelWaehlen(*kabeltext, optionen.kabeltabellen(kabelOrdner), locale, grund);
        if (!kabel) {
            fehler << grund << '\n';
            return abgelehnt;
        }
        if (!kabel->hinweis.isEmpty())
            fehler << kabel->hinweis << '\n';
        eingabe.vk = formatZahl(zuSingle(TextZuZahl(KommaZuPunkt(kabel->text))),
                                QStringLiteral("0.00##"), locale);
    } else {
        eingabe.vk = QStringLiteral("0,66");
    }

    QSize pixel;
    const auto breite = optionen.wert(QStringLiteral("breite"));
    const auto hoehe = optionen.wert(QStringLiteral("hoehe"));
    if (breite || hoehe) {
        const QSize standard = kurvenDesignGroesse();
        bool okB = true;
        bool okH = true;
        pixel = QSize(breite ? breite->toInt(&okB) : standard.width(),
                      hoehe ? hoehe->toInt(&okH) : standard.height());
        if (!okB || !okH || pixel.width() < 100 || pixel.height() < 100 ||
            pixel.width() > kGroessteSeite || pixel.height() > kGroessteSeite) {
            fehler << programmname << ": --breite und --hoehe brauchen ganze Zahlen von 100 bis "
                   << kGroessteSeite << '\n';
            return fehlerStatus;
        }
    }
    const Exportergebnis ergebnis = kurveExportieren(eingabe, *datei, pixel);
    const bool abgelehnt = ergebnis.ergebnis == Exportergebnis::Ergebnis::Abgelehnt;
    if (!ergebnis.geschrieben())
        fehler << (abgelehnt ? QString() : programmname + QStringLiteral(": "))
               << KonsolenOberflaeche::einzeilig(
                      ergebnis.meldung + QLatin1Char(' ') +
                      (abgelehnt ? kurvenOptionGrund(eingabe) : QString()))
               << '\n';
    return ergebnis.status();
}

int oeffnen(const Optionen &optionen, const QString &format, QIODevice &ausgabe,
            QTextStream &fehler)
{
    const QString pfad = *optionen.wert(QStringLiteral("oeffnen"));
    const QString anzeige = zitat(QDir::toNativeSeparators(pfad));
    const Dateiinhalt inhalt = dateiLesen(pfad, rtf::maxEingabeBytes);
    if (!inhalt.vollstaendig) {
        fehler << programmname << ": " << anzeige << " kann nicht gelesen werden: " << inhalt.fehler
               << '\n';
        return fehlerStatus;
    }
    DokumentBerichtsfeld feld;
    QString grund;
    rtf::Auslassungen ausgelassen;
    if (!rtfLesen(inhalt.daten, feld.dokument(), &grund, {}, &ausgelassen)) {
        fehler << programmname << ": " << anzeige << ": " << grund << '\n';
        return fehlerStatus;
    }
    if (grund.isEmpty() && !rtfGeschlossen(inhalt.daten))
        grund = QStringLiteral("Die Datei ist abgeschnitten und wurde nur teilweise gelesen.");
    // Said, but no reason to fail: the text itself is all there.
    if (const QString fehlt = rtf::auslassungenText(ausgelassen); !fehlt.isEmpty())
        fehler << programmname << ": " << anzeige << ": " << fehlt << '\n';
    if (!grund.isEmpty()) {
        // Partial input passes only when asked for; a script would
        // otherwise take half a report for the whole.
        fehler << programmname << ": " << anzeige << ": " << grund << '\n';
        if (!optionen.hat(QStringLiteral("teilweise"))) {
            fehler << programmname
                   << ": nichts ausgegeben; --teilweise gibt den gelesenen Teil "
                      "aus.\n";
            return fehlerStatus;
        }
    }
    return schreiben(berichtDaten(feld, format, QStringLiteral("Varolinaten-Bericht")),
                     optionen.wert(QStringLiteral("ausgabe")), ausgabe, fehler);
}

} // namespace

int ausfuehren(const QStringList &argumente, QIODevice &ausgabe, QTextStream &fehler,
               const QString &kabelOrdner)
{
    Optionen optionen;
    const QString problem = einlesen(argumente, optionen);
    if (!problem.isEmpty()) {
        fehler << programmname << ": " << problem << '\n'
               << "„" << programmname << " --help“ gibt weitere Informationen.\n";
        return fehlerStatus;
    }
    if (optionen.hat(QStringLiteral("help")))
        return schreiben(hilfetext().arg(vermessenHilfe()).toUtf8(), std::nullopt, ausgabe, fehler);
    if (optionen.hat(QStringLiteral("version"))) {
        return schreiben(QStringLiteral("%1 (Varolinaten) %2.%3.%4\n%5\n")
                             .arg(programmname)
                             .arg(version::major)
                             .arg(version::minor)
                             .arg(version::revision)
                             .arg(QString::fromUtf8(version::rechtshinweis))
                             .toUtf8(),
                         std::nullopt, ausgabe, fehler);
    }

    try {
        if (optionen.hat(QStringLiteral("kurve")))
            return kurveZeichnen(optionen, fehler, kabelOrdner);
        if (optionen.hat(QStringLiteral("analyse")) && optionen.wert(QStringLiteral("messung")))
            return messungAusfuehren(optionen, ausgabe, fehler, kabelOrdner);
        if (optionen.hat(QStringLiteral("analyse")))
            return analyseAusfuehren(optionen, ausgabe, fehler, kabelOrdner);
        if (optionen.hat(QStringLiteral("planer")))
            return planerAusfuehren(optionen, ausgabe, fehler, kabelOrdner);
        if (optionen.hat(QStringLiteral("vermessen")))
            return vermessenAusfuehren(optionen, ausgabe, fehler, kabelOrdner);

        const QString format =
            optionen.wert(QStringLiteral("format")).value_or(QStringLiteral("text"));
        if (format != QLatin1String("text") && format != QLatin1String("rtf") &&
            format != QLatin1String("pdf")) {
            fehler << programmname << ": --format muss text, rtf oder pdf sein\n";
            return fehlerStatus;
        }
        if (optionen.wert(QStringLiteral("oeffnen")))
            return oeffnen(optionen, format, ausgabe, fehler);
        if (!optionen.wert(QStringLiteral("modus"))) {
            fehler << programmname << ": --modus, --kurve oder --oeffnen angeben\n"
                   << "„" << programmname << " --help“ gibt weitere Informationen.\n";
            return fehlerStatus;
        }
        return berichtRechnen(optionen, format, ausgabe, fehler, kabelOrdner);
    } catch (const Laufzeitfehler &e) {
        // The options are checked before they are used; this is a last resort.
        fehler << programmname << ": " << e.beschreibung() << " beim Lesen der Optionen\n";
        return fehlerStatus;
    }
}

} // namespace varo::cli
