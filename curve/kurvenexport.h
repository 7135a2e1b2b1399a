#pragma once

#include <QSize>
#include <QString>

namespace varo {

// The texts a user types into the curve window.
struct KurvenEingabe
{
    QString von, bis, eingZ, kabelZ, vk, laenge;
};

// Size in pixels (1/96 inch) of the curve window's drawing surface as designed.
QSize kurvenDesignGroesse();

// What writing the curve came to.
struct KurvenExport
{
    enum class Ergebnis {
        Geschrieben, // the file holds the curve
        Abgelehnt,   // the input fails a rule of the window
        Fehler,      // anything else: ending, size, the file itself
    };
    Ergebnis ergebnis = Ergebnis::Geschrieben;
    QString meldung; // the window's message text, or the German reason

    bool geschrieben() const { return ergebnis == Ergebnis::Geschrieben; }
    // The report tool's exit status: 0 written, 2 refused, 1 failed.
    int status() const;
};

// Draws the curve for the typed texts without a window and writes it as PNG,
// SVG or PDF, chosen by the ending of datei. pixel is the surface size in
// pixels; an invalid size means kurvenDesignGroesse().
KurvenExport kurveExportieren(const KurvenEingabe &eingabe, const QString &datei,
                              QSize pixel = QSize());

} // namespace varo
