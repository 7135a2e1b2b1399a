// Printing the report and setting up the printer.
#include "dokumentbefehle.h"

#include "drucker.h"
#include "laufzeitfehler.h"
#include "oberflaeche.h"
#include "texteditberichtsfeld.h"

#include <QTextDocumentFragment>
#include <QTextEdit>

namespace varo {

namespace {
const QString zeilenende = QStringLiteral("\r\n");
} // namespace

bool DokumentBefehle::druckschritte(const std::vector<Schritt> &schritte)
{
    bool durch = true;
    for (std::size_t i = 0; i < schritte.size();) {
        try {
            if (!schritte[i]()) {
                durch = false;
                break;
            }
            ++i;
        } catch (const Laufzeitfehler &f) {
            m_ui.normalerZeiger();
            if (f.nummer() == fehler::Abbruch)
                return false;
            const Antwort antwort =
                m_ui.meldung(f.beschreibung() + zeilenende + QStringLiteral("Wiederholen ? "),
                             QStringLiteral("Drucker-Fehler?"), Symbol::Ausrufezeichen,
                             Knoepfe::AbbrechenWiederholenIgnorieren);
            if (antwort == Antwort::Wiederholen) {
                m_ui.sanduhr();
            } else if (antwort == Antwort::Ignorieren) {
                m_ui.sanduhr();
                ++i;
            } else {
                durch = false;
                break;
            }
        }
    }
    m_ui.normalerZeiger();
    return durch;
}

void DokumentBefehle::drucken()
{
    Druckumfang umfang = Druckumfang::Abbruch;
    druckschritte({
        [&] {
            umfang = m_dialoge->drucken(m_eltern, m_feld.selLength() > 0);
            return umfang != Druckumfang::Abbruch;
        },
        [&] {
            m_ui.sanduhr();
            m_ui.ereignisseVerarbeiten();
            return true;
        },
        [&] {
            const QTextCursor auswahl = m_feld.edit().textCursor();
            if (umfang == Druckumfang::Auswahl && auswahl.hasSelection()) {
                // The selection as a document of its own, formatting included.
                QTextDocument teil;
                teil.setDefaultFont(m_feld.dokument().defaultFont());
                QTextCursor(&teil).insertFragment(auswahl.selection());
                m_drucker.dokumentDrucken(teil);
            } else {
                m_drucker.dokumentDrucken(m_feld.dokument());
            }
            return true;
        },
        [&] {
            m_ui.ereignisseVerarbeiten();
            m_ui.normalerZeiger();
            return true;
        },
    });
}

void DokumentBefehle::druckerEinrichten()
{
    const auto still = [](const std::function<void()> &schritt) {
        try {
            schritt();
        } catch (const Laufzeitfehler &) {
        }
    };

    // The program's printer starts from a known state.
    QString vorher;
    still([&] { m_drucker.setStandardFolgen(true); });
    still([&] { m_drucker.setSkalierung(6); });
    still([&] { m_drucker.setOrientierung(1); });
    still([&] { m_drucker.setPapiergroesse(9); });
    still([&] { m_drucker.setPapierfach(7); });
    still([&] { vorher = m_drucker.geraetename(); });
    m_ui.ereignisseVerarbeiten();

    int orientierung = 1;
    int papier = 9;
    int fach = 7;
    for (;;) {
        bool nochmal = false;
        const bool durch = druckschritte({
            [&] {
                const bool ok = m_dialoge->druckerEinrichten(m_eltern);
                m_ui.ereignisseVerarbeiten();
                return ok;
            },
            [&] {
                orientierung = m_drucker.orientierung();
                return true;
            },
            [&] {
                const QString neu = m_drucker.geraetename();
                papier = m_drucker.papiergroesse();
                fach = m_drucker.papierfach();
                m_ui.ereignisseVerarbeiten();
                if (neu == vorher)
                    return true;
                m_ui.normalerZeiger();
                const Antwort antwort =
                    m_ui.meldung(QStringLiteral("Der Druckertyp wurde gewechselt:     ") +
                                     zeilenende + zeilenende + neu,
                                 QStringLiteral("Drucker "), Symbol::Frage, Knoepfe::OkAbbrechen);
                m_ui.ereignisseVerarbeiten();
                // Cancel: the set-up dialog once more.
                nochmal = antwort != Antwort::Ok;
                return !nochmal;
            },
        });
        if (nochmal)
            continue;
        if (!durch)
            return;
        break;
    }

    still([&] { m_drucker.setOrientierung(orientierung); });
    still([&] { m_drucker.setPapiergroesse(papier); });
    still([&] { m_drucker.setPapierfach(fach); });
    m_ui.ereignisseVerarbeiten();
}

} // namespace varo
