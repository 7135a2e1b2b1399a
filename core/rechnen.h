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

// What "&Rechnen" does with a request: a beep when a field is empty
// (Abgelehnt); in the mode "mehrere" the same-band warning (Hinweis) or the
// calculation; "eine" and "VorhKabel" their calculations; any other mode
// does nothing and returns Abgelehnt.
Rechenergebnis Rechnen(const Berechnungsanfrage &anfrage, Rechenkontext &kontext);

// The dialog's same-band check on a frequency entry: true when a later
// frequency lies within ±10 % of an earlier one.
bool GleichesBand(const QString &frequenzText);

} // namespace varo
