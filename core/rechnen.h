#pragma once

#include "ausgang.h"
#include "werte.h"

#include <QLocale>

namespace varo {

class Berichtsfeld;
class Drucker;
class Oberflaeche;

// Everything a calculation writes to or asks of its surroundings.
struct Rechenkontext
{
    Programmwerte &werte;
    Berichtsfeld &feld;
    Drucker &drucker;
    Oberflaeche &ui;
    QLocale locale;
};

// The three text calculations. Each tells how it ended: the report written,
// an input refused with its reason, a run-time error with its number.
Ausgang RechnenEine(const Berechnungsanfrage &anfrage, Rechenkontext &kontext);
Ausgang RechnenMehrere(const Berechnungsanfrage &anfrage, Rechenkontext &kontext);
Ausgang RechnenVorhKabel(const Berechnungsanfrage &anfrage, Rechenkontext &kontext);

// The checks "&Rechnen" makes before any calculation. Ranges are the
// calculations' business; this only asks whether every field holds
// something and, in the mode "mehrere", whether two frequencies share a band.
enum class Vorpruefung {
    Bestanden,
    FeldLeer,      // a beep, nothing else
    GleichesBand,  // the same-band message
    UnbekannteArt, // no calculation of that name: nothing happens
};
Vorpruefung vorpruefen(const Berechnungsanfrage &anfrage);

// The answer the user gets to a failed pre-check, and the refusal it is:
// FeldLeer beeps, GleichesBand shows its message, UnbekannteArt does nothing.
Ausgang vorpruefungMelden(Vorpruefung ergebnis, Rechenkontext &kontext);
Ausgang vorpruefungMelden(Vorpruefung ergebnis, Oberflaeche &ui, const QString &zeilenEnde);

// The text of the same-band message, with its line ends.
QString gleichesBandText(const QString &zeilenEnde);

// The message of "mehrere" given a single frequency.
QString nurEineFrequenzText();

// The calculation of the request's mode, for a request that passed the
// pre-check.
Ausgang berechnen(const Berechnungsanfrage &anfrage, Rechenkontext &kontext);

// What "&Rechnen" does with a request: the pre-check, then the calculation.
Ausgang Rechnen(const Berechnungsanfrage &anfrage, Rechenkontext &kontext);

// The dialog's same-band check on a frequency entry: true when a later
// frequency lies within ±10 % of an earlier one.
bool GleichesBand(const QString &frequenzText);

} // namespace varo
