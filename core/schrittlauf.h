#pragma once

// The one way this program lets work fail: a run of steps under Abort /
// Retry / Ignore, with rules for the calculations and for the print
// commands, and two policies for best-effort steps whose failure must not
// stop what they belong to.

#include "rechnen.h"

#include <QString>
#include <QtGlobal>

#include <functional>
#include <vector>

namespace varo {

class Laufzeitfehler;
class Oberflaeche;
class Berichtsfeld;

// How a run answers a run-time error of one of its steps.
struct Fehlerregeln
{
    QString titel;        // of the Abort / Retry / Ignore box
    QString nachsatz;     // after the description and a line end
    bool druckerHinweis;  // " ( Drucker ? )" after a printer error
    bool piepen;          // a beep before the box
    bool eingabeAbweisen; // division by zero: two beeps, the run ends refused
    bool abbruchStill;    // a cancel in a dialog (32755) ends the run quietly
    bool zeigerAmEnde;    // the normal pointer when the run ends, however it ends

    // A calculation: rejected input beeps twice; other errors ask " Fehler !".
    static Fehlerregeln rechnung();
    // A print command: a cancel ends quietly; errors ask "Drucker-Fehler?".
    static Fehlerregeln drucken();
};

// Runs a list of steps. On an error the box of the rules asks: Retry repeats
// the failed step, Ignore goes on with the next, Abort ends the run. Out of
// memory counts as error 7, an index fault of a list as error 9.
class Schrittlauf
{
public:
    // A calculation's run: whenever it ends on an error, the report box is
    // made visible again.
    explicit Schrittlauf(Rechenkontext &kontext);
    Schrittlauf(Oberflaeche &ui, Fehlerregeln regeln, Berichtsfeld *feld = nullptr);

    void schritt(std::function<void()> schritt);
    // A loop whose every pass is a step of its own. The count is taken
    // when the loop is reached and may itself fail like a step; ignoring
    // that failure skips the loop.
    void schleife(std::function<qint64()> anzahl, std::function<void(qint64)> durchlauf);

    // Called from inside a step: the run ends after this step with `ausgang`.
    void beenden(Ausgang ausgang);

    // Runs the steps; the coarse kind of the end. ausgang() tells it typed.
    Rechenergebnis ausfuehren();
    // The typed outcome of the last run: done, refused with its reason
    // (refused input raised as Eingabeablehnung), ended on a run-time error
    // with its number, or cancelled.
    const Ausgang &ausgang() const { return m_ausgang; }

private:
    enum class Weiter { Wiederholen, Naechster, Ende };
    Weiter fehlerBehandeln(const Laufzeitfehler &fehler);
    template <typename F> Weiter versuchen(F &&f);
    Rechenergebnis beendet();

    struct Eintrag
    {
        std::function<qint64()> anzahl; // empty for a single step
        std::function<void(qint64)> durchlauf;
    };

    Oberflaeche &m_ui;
    Fehlerregeln m_regeln;
    Berichtsfeld *m_feld;
    std::vector<Eintrag> m_schritte;
    bool m_beendet = false;
    Ausgang m_ausgang;
};

// Best effort, silently: a run-time error skips the step and nothing is
// said (window set-up, printer preparation). True when the step ran.
bool stillVersuchen(const std::function<void()> &schritt);

// Best effort with a word to the user: a run-time error skips the step and
// its description is shown under `titel`. True when the step ran.
bool versuchenMitMeldung(const std::function<void()> &schritt, Oberflaeche &ui,
                         const QString &titel);

} // namespace varo
