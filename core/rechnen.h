#pragma once

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

// How a calculation ended, for callers that need to know (the report tool).
enum class Rechenergebnis {
    Bericht,     // the report was written
    Abgelehnt,   // an input was out of range: two beeps, dialog stays open
    Hinweis,     // "mehrere" with a single frequency: message, nothing calculated
    Abgebrochen, // the user chose Abort after a run-time error
};

Rechenergebnis RechnenEine(const Berechnungsanfrage &anfrage, Rechenkontext &kontext);
Rechenergebnis RechnenMehrere(const Berechnungsanfrage &anfrage, Rechenkontext &kontext);
Rechenergebnis RechnenVorhKabel(const Berechnungsanfrage &anfrage, Rechenkontext &kontext);

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

// The answer the user gets to a failed pre-check, and how the press ended:
// FeldLeer beeps (Abgelehnt), GleichesBand shows its message (Hinweis),
// UnbekannteArt does nothing (Abgelehnt).
Rechenergebnis vorpruefungMelden(Vorpruefung ergebnis, Rechenkontext &kontext);
Rechenergebnis vorpruefungMelden(Vorpruefung ergebnis, Oberflaeche &ui, const QString &zeilenEnde);

// The text of the same-band message, with its line ends.
QString gleichesBandText(const QString &zeilenEnde);

// The calculation of the request's mode, for a request that passed the
// pre-check.
Rechenergebnis berechnen(const Berechnungsanfrage &anfrage, Rechenkontext &kontext);

// What "&Rechnen" does with a request: the pre-check, then the calculation.
Rechenergebnis Rechnen(const Berechnungsanfrage &anfrage, Rechenkontext &kontext);

// The dialog's same-band check on a frequency entry: true when a later
// frequency lies within ±10 % of an earlier one.
bool GleichesBand(const QString &frequenzText);

} // namespace varo
