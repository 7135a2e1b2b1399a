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

// The calculation of the input dialog. The dialog's tag and everything that
// shows or stores the mode hold its text: "eine", "mehrere", "VorhKabel".
enum class Berechnungsmodus {
    Keiner,    // the dialog has not been given a mode: "&Rechnen" does nothing
    Eine,      // one frequency: unfavourable and favourable lengths
    Mehrere,   // several frequencies: lengths favourable for all
    VorhKabel, // an existing cable checked against several frequencies
};

// The mode's text ("eine", "mehrere", "VorhKabel"; empty for Keiner).
QString modusText(Berechnungsmodus modus);
// The mode of a text; any other text is Keiner.
Berechnungsmodus modusAusText(const QString &text);

// What the input dialog holds when "&Rechnen" is pressed, field by field as
// typed. A calculation reads nothing else from the dialog.
struct Berechnungsanfrage
{
    Berechnungsmodus modus = Berechnungsmodus::Keiner;
    QString frequenzen;  // a frequency in MHz, or several separated by "/"
    QString kabel;       // the cable item's text or a typed velocity factor
    int kabelIndex = -1; // list position of the cable item, -1 when typed
    QString laenge;      // expected or existing cable length in metres
    QString toleranz;    // tolerance in percent
};

} // namespace varo
