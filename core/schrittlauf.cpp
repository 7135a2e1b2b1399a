#include "schrittlauf.h"

#include "berichtsfeld.h"
#include "laufzeitfehler.h"
#include "oberflaeche.h"

#include <new>
#include <stdexcept>

namespace varo {

namespace {
const QString ZE = QStringLiteral("\r\n");
} // namespace

Fehlerregeln Fehlerregeln::rechnung()
{
    return {QStringLiteral(" Fehler !"), QString(), true, true, true, false, false};
}

Fehlerregeln Fehlerregeln::drucken()
{
    return {QStringLiteral("Drucker-Fehler?"),
            QStringLiteral("Wiederholen ? "),
            false,
            false,
            false,
            true,
            true};
}

Schrittlauf::Schrittlauf(Rechenkontext &kontext)
    : Schrittlauf(kontext.ui, Fehlerregeln::rechnung(), &kontext.feld)
{
}

Schrittlauf::Schrittlauf(Oberflaeche &ui, Fehlerregeln regeln, Berichtsfeld *feld)
    : m_ui(ui), m_regeln(std::move(regeln)), m_feld(feld)
{
}

void Schrittlauf::schritt(std::function<void()> schritt)
{
    m_schritte.push_back({{}, [s = std::move(schritt)](qint64) { s(); }});
}

void Schrittlauf::schleife(std::function<qint64()> anzahl, std::function<void(qint64)> durchlauf)
{
    m_schritte.push_back({std::move(anzahl), std::move(durchlauf)});
}

void Schrittlauf::beenden(Ausgang ausgang)
{
    m_beendet = true;
    m_ausgang = std::move(ausgang);
}

Schrittlauf::Weiter Schrittlauf::fehlerBehandeln(const Laufzeitfehler &fehler)
{
    m_ui.normalerZeiger();
    if (m_regeln.abbruchStill && fehler.nummer() == fehler::Abbruch) {
        m_ausgang = Ausgang(Rechenergebnis::Abgebrochen);
        return Weiter::Ende;
    }
    if (m_regeln.eingabeAbweisen && fehler.nummer() == fehler::DivisionDurchNull) {
        // The answer to rejected input: no message, the dialog stays open.
        m_ui.piep();
        m_ui.piep();
        if (m_feld)
            m_feld->setSichtbar(true);
        // Refused input carries its reason; any other division by zero
        // ends the same way but stays a run-time error.
        const auto *ablehnung = dynamic_cast<const Eingabeablehnung *>(&fehler);
        m_ausgang = ablehnung ? Ausgang::abgelehnt(ablehnung->grund())
                              : Ausgang::laufzeitfehler(fehler.nummer(), fehler.beschreibung(),
                                                        Rechenergebnis::Abgelehnt);
        return Weiter::Ende;
    }
    if (m_regeln.piepen)
        m_ui.piep();
    const QString hinweis = m_regeln.druckerHinweis && fehler.istDruckerfehler()
                                ? QStringLiteral(" ( Drucker ? )")
                                : QString();
    const Antwort antwort =
        m_ui.meldung(fehler.beschreibung() + ZE + hinweis + m_regeln.nachsatz, m_regeln.titel,
                     Symbol::Ausrufezeichen, Knoepfe::AbbrechenWiederholenIgnorieren);
    if (antwort == Antwort::Wiederholen) {
        m_ui.sanduhr();
        return Weiter::Wiederholen;
    }
    if (antwort == Antwort::Ignorieren) {
        m_ui.sanduhr();
        return Weiter::Naechster;
    }
    if (m_feld)
        m_feld->setSichtbar(true);
    m_ausgang = Ausgang::laufzeitfehler(fehler.nummer(), fehler.beschreibung());
    return Weiter::Ende;
}

template <typename F> Schrittlauf::Weiter Schrittlauf::versuchen(F &&f)
{
    for (;;) {
        Weiter weiter;
        try {
            f();
            return Weiter::Naechster;
        } catch (const Laufzeitfehler &fehler) {
            weiter = fehlerBehandeln(fehler);
        } catch (const std::bad_alloc &) {
            weiter = fehlerBehandeln(Laufzeitfehler(fehler::Speicher));
        } catch (const std::out_of_range &) {
            weiter = fehlerBehandeln(Laufzeitfehler(fehler::Index));
        }
        if (weiter != Weiter::Wiederholen)
            return weiter;
    }
}

Rechenergebnis Schrittlauf::beendet()
{
    if (m_regeln.zeigerAmEnde)
        m_ui.normalerZeiger();
    return m_ausgang.ergebnis();
}

Rechenergebnis Schrittlauf::ausfuehren()
{
    m_beendet = false;
    m_ausgang = Ausgang();
    for (const Eintrag &eintrag : m_schritte) {
        qint64 anzahl = 1;
        if (eintrag.anzahl) {
            anzahl = 0;
            if (versuchen([&] { anzahl = eintrag.anzahl(); }) == Weiter::Ende)
                return beendet();
        }
        for (qint64 i = 0; i < anzahl; ++i) {
            if (versuchen([&] { eintrag.durchlauf(i); }) == Weiter::Ende)
                return beendet();
            if (m_beendet)
                return beendet();
        }
    }
    return beendet();
}

bool stillVersuchen(const std::function<void()> &schritt)
{
    try {
        schritt();
        return true;
    } catch (const Laufzeitfehler &) {
        return false;
    }
}

bool versuchenMitMeldung(const std::function<void()> &schritt, Oberflaeche &ui,
                         const QString &titel)
{
    try {
        schritt();
        return true;
    } catch (const Laufzeitfehler &f) {
        ui.normalerZeiger();
        ui.meldung(f.beschreibung(), titel, Symbol::Ausrufezeichen, Knoepfe::Ok);
        return false;
    }
}

} // namespace varo
