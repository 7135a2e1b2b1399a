#include "laufzeitfehler.h"

namespace varo {

Laufzeitfehler::Laufzeitfehler(int nummer) : Laufzeitfehler(nummer, beschreibungFuer(nummer))
{
}

Laufzeitfehler::Laufzeitfehler(int nummer, QString beschreibung)
    : m_nummer(nummer), m_beschreibung(std::move(beschreibung)), m_utf8(m_beschreibung.toUtf8())
{
}

QString Laufzeitfehler::beschreibungFuer(int nummer)
{
    switch (nummer) {
    case fehler::UnzulaessigerAufruf:
        return QStringLiteral("Unzulässiger Prozeduraufruf oder ungültiges Argument");
    case fehler::Ueberlauf:
        return QStringLiteral("Überlauf");
    case fehler::Speicher:
        return QStringLiteral("Nicht genügend Speicher");
    case fehler::Index:
        return QStringLiteral("Index außerhalb des gültigen Bereichs");
    case fehler::DivisionDurchNull:
        return QStringLiteral("Division durch Null");
    case fehler::Typen:
        return QStringLiteral("Typen unverträglich");
    case fehler::Dateiname:
        return QStringLiteral("Dateiname oder -nummer falsch");
    case fehler::DateiNichtGefunden:
        return QStringLiteral("Datei nicht gefunden");
    case fehler::GeraetNichtVerfuegbar:
        return QStringLiteral("Gerät nicht verfügbar");
    case fehler::Pfadzugriff:
        return QStringLiteral("Fehler beim Zugriff auf Pfad/Datei");
    case fehler::Druckerfehler:
        return QStringLiteral("Druckerfehler");
    case fehler::DruckerEigenschaft:
        return QStringLiteral("Der Druckertreiber unterstützt die angegebene Eigenschaft nicht");
    case fehler::DruckerInformation:
        return QStringLiteral(
            "Problem beim Abrufen von Druckerinformationen. Prüfen Sie die Druckereinrichtung");
    case fehler::Abbruch:
        return QStringLiteral("Abbrechen wurde ausgewählt");
    default:
        return QStringLiteral("Anwendungs- oder objektdefinierter Fehler");
    }
}

bool Laufzeitfehler::istDruckerfehler() const noexcept
{
    return m_nummer == fehler::GeraetNichtVerfuegbar ||
           (m_nummer >= fehler::Druckerfehler && m_nummer <= fehler::DruckerInformation);
}

} // namespace varo
