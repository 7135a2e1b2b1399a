#include "eigenetabelle.h"

#include "kabeltabelle.h"

#include <QDir>

namespace varo {

void eigeneKabeltabelleBearbeiten(const QString &pfad, Oberflaeche &ui, Plattform &plattform)
{
    const QString anzeige = QDir::toNativeSeparators(pfad);
    if (const QString grund = eigeneKabeltabelleAnlegen(pfad); !grund.isEmpty()) {
        ui.meldung(QStringLiteral("Die eigene Kabeltabelle „%1“ kann nicht angelegt werden: %2")
                       .arg(anzeige, grund),
                   QStringLiteral("Problem"), Symbol::Ausrufezeichen, Knoepfe::Ok);
        return;
    }
    const QString programm = ProgrammZuDatei(pfad, plattform);
    if (programm.isEmpty()) {
        ui.meldung(QStringLiteral("Für Textdateien ist kein Programm eingetragen. Die eigene "
                                  "Kabeltabelle liegt in „%1“.")
                       .arg(anzeige),
                   QStringLiteral("Problem"), Symbol::Ausrufezeichen, Knoepfe::Ok);
        return;
    }
    // The document is quoted for a command line that keeps blanks in a path.
    plattform.starten(programm, pfad,
                      programm + QStringLiteral(" \"") + anzeige + QLatin1Char('"'));
    ui.ereignisseVerarbeiten();
}

} // namespace varo
