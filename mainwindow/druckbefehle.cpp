// Printing the report and setting up the printer.
#include "dokumentbefehle.h"

#include "drucker.h"
#include "laufzeitfehler.h"
#include "oberflaeche.h"
#include "schrittlauf.h"
#include "texteditberichtsfeld.h"

#include <QTextDocumentFragment>
#include <QTextEdit>

namespace varo {

namespace {
const QString zeilenende = QStringLiteral("\r\n");
} // namespace

bool DokumentBefehle::druckschritte(const std::vector<Schritt> &schritte)
{
    Schrittlauf lauf(m_ui, Fehlerregeln::drucken());
    bool durch = true;
    for (const Schritt &schritt : schritte) {
        lauf.schritt([&lauf, &durch, &schritt] {
            if (!schritt()) {
                durch = false;
                lauf.beenden(Rechenergebnis::Abgebrochen);
            }
        });
    }
    return lauf.ausfuehren() == Rechenergebnis::Bericht && durch;
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
    // The program's printer starts from a known state.
    QString vorher;
    stillVersuchen([&] { m_drucker.setStandardFolgen(true); });
    stillVersuchen([&] { m_drucker.setMasseinheit(Masseinheit::Millimeter); });
    stillVersuchen([&] { m_drucker.setSeitenlage(Seitenlage::Hochformat); });
    stillVersuchen([&] { m_drucker.setPapierformat(Papierformat::A4); });
    stillVersuchen([&] { m_drucker.setPapierfach(Papierfach::Automatisch); });
    stillVersuchen([&] { vorher = m_drucker.geraetename(); });
    m_ui.ereignisseVerarbeiten();

    Seitenlage lage = Seitenlage::Hochformat;
    Papierformat papier = Papierformat::A4;
    Papierfach fach = Papierfach::Automatisch;
    for (;;) {
        bool nochmal = false;
        const bool durch = druckschritte({
            [&] {
                const bool ok = m_dialoge->druckerEinrichten(m_eltern);
                m_ui.ereignisseVerarbeiten();
                return ok;
            },
            [&] {
                lage = m_drucker.seitenlage();
                return true;
            },
            [&] {
                const QString neu = m_drucker.geraetename();
                papier = m_drucker.papierformat();
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

    stillVersuchen([&] { m_drucker.setSeitenlage(lage); });
    stillVersuchen([&] { m_drucker.setPapierformat(papier); });
    stillVersuchen([&] { m_drucker.setPapierfach(fach); });
    m_ui.ereignisseVerarbeiten();
}

} // namespace varo
