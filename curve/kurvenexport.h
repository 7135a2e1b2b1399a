#pragma once

#include "bildexport.h"

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

// The curve for the typed texts as an export draws it: the input is checked
// and laid out for the surface; a refusal carries the window's message. It
// refers to eingabe, which must outlive it.
Bildvorlage kurvenBildvorlage(const KurvenEingabe &eingabe);

// Draws the curve for the typed texts without a window and writes it as PNG,
// SVG or PDF, chosen by the ending of datei. pixel is the surface size in
// pixels; an invalid size means kurvenDesignGroesse().
Exportergebnis kurveExportieren(const KurvenEingabe &eingabe, const QString &datei,
                                QSize pixel = QSize());

} // namespace varo
