#pragma once

// What the line analysis window computes, as one value: the chart, the
// Smith chart and both ends of the line at every frequency, for a load of
// R + jX or a measured file. Pure functions build it, read it out, list
// the matching networks and write it; the window only shows it.

#include "baender.h"
#include "bildexport.h"
#include "leitungsanfrage.h"
#include "leitungszeichnung.h"
#include "messung.h"
#include "smithdiagramm.h"

#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

namespace varo {

struct Leitungsergebnis
{
    Leitungsdiagramm diagramm; // the frequencies with both ends known
    QList<int> verlaufIndex;   // for each of the chart's samples its index in punkte
    Smithdiagramm smith;       // every frequency, gaps included
    QList<Messwerte> punkte;   // both ends at every frequency, rising
    bool gemessen = false;     // the load is a measured file
    Messort ort = Messort::Antenne;
    QString beschreibung; // "30 m RG-213", for the Touchstone file

    bool leer() const { return punkte.isEmpty(); }
};

// The frequency of the file's first point above 0 Hz and of its last, MHz.
std::pair<double, double> messdateiBereich(const Messdaten &daten);

// The chart of a measured run: the values with both ends and the loss known
// (the chart joins its samples; a gap stays in the Smith chart and the
// readout). verlaufIndex, when given, receives each sample's index in werte.
Leitungsdiagramm messdiagramm(const QList<Messwerte> &werte, const QString &ueberschrift,
                              bool mitVerlust, QList<int> *verlaufIndex = nullptr);

// The indices of the frequencies nearest to each band edge that lies within
// the frequencies (rising, MHz), each index once.
QList<int> bandkantenIndizes(const QList<double> &fMHz, const QList<Band> &baender);

// The result for a load of R + jX computed at werte.
Leitungsergebnis ergebnisAusLast(const Leitungsanfrage &anfrage, const QList<Leitungswerte> &werte,
                                 const QString &ueberschrift, const QList<Band> &baender);

// The result of a measured file from vonMHz to bisMHz. hinweise receives the
// notes on gaps; the chart's heading is ueberschrift.
Leitungsergebnis ergebnisAusMessung(const Leitungsanfrage &anfrage, Messort ort,
                                    const Messdaten &daten, double vonMHz, double bisMHz,
                                    const QString &ueberschrift, const QList<Band> &baender,
                                    QStringList *hinweise = nullptr);

// Reads the texts of a measured request: the line as leitungsanfrageLesen
// checks it (R and X are not used), the range against the file. On a fault
// meldung gets a German sentence naming the field and the result is empty.
std::optional<Leitungsanfrage> messanfrageLesen(LeitungsTexte texte, const Messdaten &daten,
                                                QString &meldung);

// The readout of one frequency of a measured load: both ends, their SWR
// and the loss, or "Lücke" where an end has no impedance.
QString messAblesung(const Messwerte &w, const QLocale &locale);

// One row per network that matches z to 50 Ω: arrangement, X series,
// X shunt (Ω, signed), series and shunt component as text. Empty when z
// already is 50 Ω or unknown.
QList<QStringList> anpassungZeilen(const std::optional<Komplex> &z, double fMHz,
                                   const QLocale &locale);

// One sentence on the networks at the middle of the range, for the summary.
QString anpassungMitte(const Leitungsergebnis &ergebnis, const QLocale &locale);

// The computed end as points of a Touchstone file: the rig end for a load
// measured at the antenna (or typed), the feedpoint for a shack
// measurement; and what it is, for the file's comment.
QList<Messpunkt> berechnetesEnde(const Leitungsergebnis &ergebnis);
QString berechnetesEndeText(const Leitungsergebnis &ergebnis);

// Writes the result by the ending of datei: CSV (the table of both ends
// for a measured load, the line table otherwise), S1P, or PNG, SVG, PDF of
// the chart, or of the Smith chart when smith is set.
Exportergebnis ergebnisExportieren(const Leitungsergebnis &ergebnis, const QString &datei,
                                   bool smith);

// The file name an export proposes: "Leitungsanalyse-RG-213-30m.csv".
QString exportVorschlag(const QString &kabel, const QString &laenge, const QString &endung);

// datei with the ending of the chosen filter ("PNG-Bild (*.png)") when the
// typed name has none of the filter's endings (filterEndungErgaenzen).
QString mitFilterEndung(const QString &datei, const QString &filter);

// The index in punkte nearest to the point p of a Smith chart laid out as
// bild, on either trace; -1 when no point lies within reichweite units.
int smithIndexBei(const Smithdiagramm &diagramm, const Smithbild &bild, QPointF p,
                  double reichweite);

} // namespace varo
