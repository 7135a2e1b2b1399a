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

// Draws the curve for the typed texts without a window and writes it as PNG,
// SVG or PDF, chosen by the ending of datei. pixel is the surface size in
// pixels; an invalid size means kurvenDesignGroesse(). Returns 0 on success,
// 2 when the input fails a rule of the window (meldung = its message text),
// 1 on any other failure (meldung = the German reason).
int kurveExportieren(const KurvenEingabe &eingabe, const QString &datei, QSize pixel,
                     QString &meldung);

} // namespace varo
