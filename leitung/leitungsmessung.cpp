#include "leitungsmessung.h"

#include "leitungsexport.h"
#include "touchstone.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace varo {

namespace {

QString zahl(double wert, const QLocale &locale, int stellen = 4)
{
    QLocale l = locale;
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    return l.toString(wert, 'g', stellen);
}

// "45,2 + j3,1 Ω", or "Lücke" for an end without impedance.
QString impedanzText(const std::optional<Komplex> &z, const QLocale &locale)
{
    if (!z)
        return QStringLiteral("Lücke");
    const double x = z->imag();
    return QStringLiteral("%1 %2 j%3 Ω")
        .arg(zahl(z->real(), locale), x < 0.0 ? QStringLiteral("−") : QStringLiteral("+"),
             zahl(std::abs(x), locale));
}

QString swrText(const std::optional<double> &swr, const QLocale &locale)
{
    if (!swr)
        return QStringLiteral("–");
    return std::isfinite(*swr) ? zahl(*swr, locale, 3) : QStringLiteral("∞");
}

QString schaltungText(Schaltung s)
{
    return s == Schaltung::QuerAmKabel ? QStringLiteral("Quer am Kabel")
                                       : QStringLiteral("Quer am Sender");
}

// The Smith chart's traces and band edges from the values at both ends.
Smithdiagramm smithAus(const QList<Messwerte> &punkte, double R0, const QString &ueberschrift,
                       const QList<Band> &baender)
{
    Smithdiagramm smith;
    smith.ueberschrift = ueberschrift;
    smith.last.reserve(punkte.size());
    smith.sender.reserve(punkte.size());
    QList<double> f;
    f.reserve(punkte.size());
    const auto normiert = [R0](const std::optional<Komplex> &z) {
        return z ? std::optional<Komplex>(*z / R0) : std::nullopt;
    };
    for (const Messwerte &w : punkte) {
        smith.last.append(normiert(w.zAntenne));
        smith.sender.append(normiert(w.zSender));
        f.append(w.fMHz);
    }
    smith.bandkanten = bandkantenIndizes(f, baender);
    return smith;
}

} // namespace

std::pair<double, double> messdateiBereich(const Messdaten &daten)
{
    for (const Messpunkt &p : daten.punkte) {
        if (p.fHz > 0.0)
            return {p.fHz / 1e6, daten.punkte.constLast().fHz / 1e6};
    }
    return {0.0, 0.0};
}

Leitungsdiagramm messdiagramm(const QList<Messwerte> &werte, const QString &ueberschrift,
                              bool mitVerlust, QList<int> *verlaufIndex)
{
    Leitungsdiagramm d;
    d.ueberschrift = ueberschrift;
    d.mitVerlust = mitVerlust;
    for (qsizetype i = 0; i < werte.size(); ++i) {
        const Messwerte &w = werte.at(i);
        if (!w.vollstaendig() || !w.verlustGesamt)
            continue;
        Leitungswerte l;
        l.fMHz = w.fMHz;
        l.Zin = *w.zSender;
        l.swrSender = w.swrSender.value_or(0.0);
        l.swrAntenne = w.swrAntenne.value_or(0.0);
        l.verlustAngepasst = w.verlustAngepasst.value_or(0.0);
        l.verlustGesamt = *w.verlustGesamt;
        d.werte.append(l);
        if (verlaufIndex)
            verlaufIndex->append(int(i));
    }
    return d;
}

QList<int> bandkantenIndizes(const QList<double> &fMHz, const QList<Band> &baender)
{
    QList<int> indizes;
    if (fMHz.isEmpty())
        return indizes;
    for (const Band &band : baender) {
        for (const double kante : {band.vonMHz, band.bisMHz}) {
            if (kante < fMHz.constFirst() || kante > fMHz.constLast())
                continue;
            const auto hinter = std::lower_bound(fMHz.cbegin(), fMHz.cend(), kante);
            int i = int(hinter - fMHz.cbegin());
            if (i > 0 && (i == fMHz.size() || kante - fMHz.at(i - 1) < fMHz.at(i) - kante))
                --i;
            if (!indizes.contains(i))
                indizes.append(i);
        }
    }
    std::sort(indizes.begin(), indizes.end());
    return indizes;
}

Leitungsergebnis ergebnisAusLast(const Leitungsanfrage &anfrage, const QList<Leitungswerte> &werte,
                                 const QString &ueberschrift, const QList<Band> &baender)
{
    Leitungsergebnis e;
    e.diagramm.werte = werte;
    e.diagramm.ueberschrift = ueberschrift;
    e.diagramm.mitVerlust = anfrage.eingabe.verluste && anfrage.eingabe.verlust.vorhanden;
    e.punkte.reserve(werte.size());
    e.verlaufIndex.reserve(werte.size());
    for (const Leitungswerte &l : werte) {
        e.verlaufIndex.append(int(e.punkte.size()));
        e.punkte.append({l.fMHz, l.Zin, anfrage.eingabe.ZL, l.swrSender, l.swrAntenne,
                         l.verlustAngepasst, l.verlustGesamt});
    }
    e.smith = smithAus(e.punkte, anfrage.eingabe.R0, ueberschrift, baender);
    return e;
}

Leitungsergebnis ergebnisAusMessung(const Leitungsanfrage &anfrage, Messort ort,
                                    const Messdaten &daten, double vonMHz, double bisMHz,
                                    const QString &ueberschrift, const QList<Band> &baender,
                                    QStringList *hinweise)
{
    Messverlauf verlauf = messverlauf(anfrage.eingabe, ort, daten, vonMHz, bisMHz);
    if (hinweise)
        *hinweise = verlauf.hinweise;
    Leitungsergebnis e;
    e.gemessen = true;
    e.ort = ort;
    e.diagramm = messdiagramm(verlauf.werte, ueberschrift,
                              anfrage.eingabe.verluste && anfrage.eingabe.verlust.vorhanden,
                              &e.verlaufIndex);
    e.punkte = std::move(verlauf.werte);
    e.smith = smithAus(e.punkte, anfrage.eingabe.R0, ueberschrift, baender);
    return e;
}

std::optional<Leitungsanfrage> messanfrageLesen(LeitungsTexte texte, const Messdaten &daten,
                                                QString &meldung)
{
    bool ok = false;
    const double von = baenderZahl(texte.von, &ok);
    if (!ok) {
        meldung = QStringLiteral("Im Feld „von“ steht keine Zahl.");
        return std::nullopt;
    }
    const double bis = baenderZahl(texte.bis, &ok);
    if (!ok) {
        meldung = QStringLiteral("Im Feld „bis“ steht keine Zahl.");
        return std::nullopt;
    }
    // The line is checked as for a typed load; the range of a measurement
    // may be a single frequency and is checked against the file.
    texte.von = QStringLiteral("1");
    texte.bis = QStringLiteral("2");
    texte.lastR = QStringLiteral("50");
    texte.lastX = QStringLiteral("0");
    auto anfrage = leitungsanfrageLesen(texte, meldung);
    if (!anfrage)
        return std::nullopt;
    meldung = messbereichPruefen(daten, von, bis);
    if (!meldung.isEmpty())
        return std::nullopt;
    anfrage->vonMHz = von;
    anfrage->bisMHz = bis;
    return anfrage;
}

QString messAblesung(const Messwerte &w, const QLocale &locale)
{
    QString text = QStringLiteral("f = %1 MHz   Sender %2 (SWR %3)   Antenne %4 (SWR %5)")
                       .arg(zahl(w.fMHz, locale, 7), impedanzText(w.zSender, locale),
                            swrText(w.swrSender, locale), impedanzText(w.zAntenne, locale),
                            swrText(w.swrAntenne, locale));
    if (w.verlustGesamt)
        text += QStringLiteral("   Verlust angepasst %1 dB, gesamt %2 dB")
                    .arg(zahl(w.verlustAngepasst.value_or(0.0), locale, 3),
                         zahl(*w.verlustGesamt, locale, 3));
    return text;
}

QList<QStringList> anpassungZeilen(const std::optional<Komplex> &z, double fMHz,
                                   const QLocale &locale)
{
    QList<QStringList> zeilen;
    if (!z)
        return zeilen;
    const auto reaktanz = [&locale](std::optional<double> x) {
        return x ? zahl(*x, locale) + QStringLiteral(" Ω") : QStringLiteral("–");
    };
    for (const Anpassnetz &netz : anpassnetze(*z)) {
        zeilen.append({schaltungText(netz.schaltung), reaktanz(netz.xReihe), reaktanz(netz.xQuer),
                       bauteilText(netz.xReihe, fMHz, locale),
                       bauteilText(netz.xQuer, fMHz, locale)});
    }
    return zeilen;
}

QString anpassungMitte(const Leitungsergebnis &ergebnis, const QLocale &locale)
{
    if (ergebnis.punkte.isEmpty())
        return {};
    const double mitte =
        (ergebnis.punkte.constFirst().fMHz + ergebnis.punkte.constLast().fMHz) / 2.0;
    const auto naechster = std::min_element(
        ergebnis.punkte.cbegin(), ergebnis.punkte.cend(), [mitte](const auto &a, const auto &b) {
            return std::abs(a.fMHz - mitte) < std::abs(b.fMHz - mitte);
        });
    const QString f = zahl(naechster->fMHz, locale, 7);
    if (!naechster->zSender)
        return QStringLiteral("Anpassung bei %1 MHz: Lücke, keine Impedanz am Sender.").arg(f);
    const QList<QStringList> zeilen = anpassungZeilen(naechster->zSender, naechster->fMHz, locale);
    if (zeilen.isEmpty())
        return QStringLiteral("Anpassung bei %1 MHz: keine nötig, der Sender sieht 50 Ω.").arg(f);
    QStringList netze;
    for (const QStringList &z : zeilen)
        netze << QStringLiteral("%1 (Reihe %2, Quer %3)")
                     .arg(z.at(0), z.at(3).isEmpty() ? QStringLiteral("–") : z.at(3),
                          z.at(4).isEmpty() ? QStringLiteral("–") : z.at(4));
    return QStringLiteral("Anpassung bei %1 MHz: %2.").arg(f, netze.join(QStringLiteral("; ")));
}

QList<Messpunkt> berechnetesEnde(const Leitungsergebnis &ergebnis)
{
    const bool amSender = !ergebnis.gemessen || ergebnis.ort == Messort::Antenne;
    QList<Messpunkt> punkte;
    punkte.reserve(ergebnis.punkte.size());
    for (const Messwerte &w : ergebnis.punkte)
        punkte.append({w.fMHz * 1e6, amSender ? w.zSender : w.zAntenne});
    return punkte;
}

QString berechnetesEndeText(const Leitungsergebnis &ergebnis)
{
    if (ergebnis.gemessen && ergebnis.ort == Messort::Sender)
        return QStringLiteral("Impedanz am Fußpunkt, zurückgerechnet aus der Messung am Sender "
                              "durch ") +
               ergebnis.beschreibung;
    return QStringLiteral("Impedanz am Sender durch ") + ergebnis.beschreibung;
}

Exportergebnis ergebnisExportieren(const Leitungsergebnis &ergebnis, const QString &datei,
                                   bool smith)
{
    const QString endung = QFileInfo(datei).suffix().toLower();
    if (endung == QLatin1String("s1p")) {
        const QString grund =
            touchstoneSchreiben(datei, berechnetesEnde(ergebnis), berechnetesEndeText(ergebnis));
        return grund.isEmpty() ? Exportergebnis{}
                               : Exportergebnis::fehler(schreibfehler(datei, grund));
    }
    if (endung == QLatin1String("csv") && ergebnis.gemessen) {
        Messverlauf verlauf;
        verlauf.werte = ergebnis.punkte;
        return datenExportieren(messungCsv(verlauf, QLocale()), datei);
    }
    if (smith && bildEndungen().contains(endung))
        return smithExportieren(ergebnis.smith, datei);
    // A picture on its own carries the summary line.
    Leitungsdiagramm diagramm = ergebnis.diagramm;
    diagramm.mitZusammenfassung = true;
    Exportergebnis e = leitungExportieren(diagramm, datei);
    if (!e.geschrieben() && endung != QLatin1String("csv") && !bildEndungen().contains(endung))
        e.meldung = endungUnbekannt(
            datei, QStringList{QStringLiteral("csv"), QStringLiteral("s1p")} + bildEndungen());
    return e;
}

QString exportVorschlag(const QString &kabel, const QString &laenge, const QString &endung)
{
    static const QRegularExpression fremd(QStringLiteral("[^A-Za-z0-9ÄÖÜäöüß,.+-]+"));
    QString name = QStringLiteral("Leitungsanalyse");
    const QString k = QString(kabel).replace(fremd, QStringLiteral("-"));
    if (!k.isEmpty())
        name += QLatin1Char('-') + k;
    const QString l = QString(laenge).replace(fremd, QString());
    if (!l.isEmpty())
        name += QLatin1Char('-') + l + QLatin1Char('m');
    return name + QLatin1Char('.') + endung;
}

QString mitFilterEndung(const QString &datei, const QString &filter)
{
    return filterEndungErgaenzen(datei, filter);
}

int smithIndexBei(const Smithdiagramm &diagramm, const Smithbild &bild, QPointF p,
                  double reichweite)
{
    int bester = -1;
    double abstand = reichweite * reichweite;
    for (const Smithspur *spur : {&diagramm.sender, &diagramm.last}) {
        for (qsizetype i = 0; i < spur->size(); ++i) {
            const auto &z = spur->at(i);
            if (!z || !std::isfinite(z->real()) || !std::isfinite(z->imag()))
                continue;
            const QPointF d = smithOrt(bild, reflexion(*z)) - p;
            const double q = d.x() * d.x() + d.y() * d.y();
            if (q < abstand) {
                abstand = q;
                bester = int(i);
            }
        }
    }
    return bester;
}

} // namespace varo
