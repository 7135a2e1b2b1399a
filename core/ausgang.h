#pragma once

// How a calculation, or any run of steps, ended. The windows answer each
// outcome as they always have (beeps, boxes, the dialog left open); the
// report tool maps the typed outcome to its exit status without reading
// what a message box said.

#include <QString>

namespace varo {

// The four ways the windows tell a calculation's end apart.
enum class Rechenergebnis {
    Bericht,     // the report was written
    Abgelehnt,   // an input was refused: beeps, the dialog stays open
    Hinweis,     // an input was refused with a message: nothing calculated
    Abgebrochen, // the user chose Abort after a run-time error, or cancelled
};

// Why an input was refused.
enum class Ablehnung {
    Keine,
    FeldLeer,           // a field of the dialog is empty: one beep
    KeinModus,          // the dialog has no calculation mode: nothing happens
    GleichesBand,       // two frequencies in one band: the same-band message
    NurEineFrequenz,    // several frequencies wanted, one given: a message
    Frequenz,           // below 0.01 MHz, an empty list item, a first frequency of 0
    Verkuerzungsfaktor, // outside 0 < Vk ≤ 1
    Toleranz,           // outside 0 … 100 %
};

// The typed outcome: done, refused with a reason, ended on a run-time error
// with its number, or cancelled. It converts to the coarse Rechenergebnis
// for callers that only ask whether a report was written.
class Ausgang
{
public:
    enum class Art { Fertig, Abgelehnt, Laufzeitfehler, Abgebrochen };

    // Implicit: an outcome known only by its coarse kind (no reason, no error).
    Ausgang(Rechenergebnis ergebnis = Rechenergebnis::Bericht) : m_ergebnis(ergebnis) {}

    // Refused input; the reasons told by a message box end as Hinweis.
    static Ausgang abgelehnt(Ablehnung grund);
    // A run-time error ended the run: the user chose Abort on its box
    // (Abgebrochen), or the two beeps of a division by zero ended it (Abgelehnt).
    static Ausgang laufzeitfehler(int nummer, const QString &beschreibung,
                                  Rechenergebnis ergebnis = Rechenergebnis::Abgebrochen);

    Art art() const;
    Rechenergebnis ergebnis() const { return m_ergebnis; }
    Ablehnung grund() const { return m_grund; }
    int fehlernummer() const { return m_fehlernummer; }
    const QString &beschreibung() const { return m_beschreibung; }

    // Implicit: the coarse view, for callers that ask only which of the four.
    operator Rechenergebnis() const { return m_ergebnis; }

    friend bool operator==(const Ausgang &a, Rechenergebnis e) { return a.m_ergebnis == e; }
    friend bool operator==(Rechenergebnis e, const Ausgang &a) { return a.m_ergebnis == e; }
    friend bool operator!=(const Ausgang &a, Rechenergebnis e) { return a.m_ergebnis != e; }
    friend bool operator!=(Rechenergebnis e, const Ausgang &a) { return a.m_ergebnis != e; }

private:
    Rechenergebnis m_ergebnis = Rechenergebnis::Bericht;
    Ablehnung m_grund = Ablehnung::Keine;
    int m_fehlernummer = 0;
    QString m_beschreibung;
};

} // namespace varo
