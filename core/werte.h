#pragma once

#include <QString>
#include <QtGlobal>

namespace varo {

// The values every window and calculation shares for the whole run.
// Nothing here is stored on disk; each start begins with these values.
struct Programmwerte
{
    QString ZeilenEnde = QStringLiteral("\r\n");
    qint16 KabelIndex = 4;
    float KabelLaenge = 30.0F;
};

// Calculation modes, held as the tag of the input dialog.
namespace berechnungsart {
inline const QString eine = QStringLiteral("eine");
inline const QString mehrere = QStringLiteral("mehrere");
inline const QString vorhKabel = QStringLiteral("VorhKabel");
} // namespace berechnungsart

// What the input dialog holds when "&Rechnen" is pressed. A calculation
// reads nothing else from the dialog.
struct Berechnungsanfrage
{
    QString Berechnungsart;   // "eine", "mehrere" or "VorhKabel"
    QString Text1;            // frequency or frequencies separated by "/"
    QString Combo1Text;       // cable item text or a typed velocity factor
    int Combo1ListIndex = -1; // list position of the cable entry, -1 when typed
    QString Text3;            // length in metres
    QString Text4;            // tolerance in percent
};

} // namespace varo
