#include "ausgang.h"

namespace varo {

Ausgang Ausgang::abgelehnt(Ablehnung grund)
{
    const bool mitMeldung = grund == Ablehnung::GleichesBand || grund == Ablehnung::NurEineFrequenz;
    Ausgang a(mitMeldung ? Rechenergebnis::Hinweis : Rechenergebnis::Abgelehnt);
    a.m_grund = grund;
    return a;
}

Ausgang Ausgang::laufzeitfehler(int nummer, const QString &beschreibung, Rechenergebnis ergebnis)
{
    Ausgang a(ergebnis);
    a.m_fehlernummer = nummer;
    a.m_beschreibung = beschreibung;
    return a;
}

Ausgang::Art Ausgang::art() const
{
    if (m_fehlernummer != 0)
        return Art::Laufzeitfehler;
    switch (m_ergebnis) {
    case Rechenergebnis::Bericht:
        return Art::Fertig;
    case Rechenergebnis::Abgelehnt:
    case Rechenergebnis::Hinweis:
        return Art::Abgelehnt;
    case Rechenergebnis::Abgebrochen:
        break;
    }
    return Art::Abgebrochen;
}

} // namespace varo
