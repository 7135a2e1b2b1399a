#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace varo {

// Every "," becomes "."; nothing else changes.
QString KommaZuPunkt(const QString &text);

// The number at the start of the text: blanks, tabs and line feeds are
// ignored anywhere, then come an optional
// sign, digits with at most one point, an optional E/D exponent, or &H/&O
// whole numbers. Reading stops at the first character that cannot continue
// the number; no number at all gives 0. A value beyond double range throws
// Laufzeitfehler(6).
double TextZuZahl(const QString &text);

// Split a (converted) frequency entry at every "/", keeping empty items.
QStringList FrequenzListe(const QString &text);

// Round a double to single precision the way an assignment to a Single
// does: a value beyond the single range throws Laufzeitfehler(6).
float zuSingle(double wert);

// Round to the nearest whole number, halves to the even neighbour.
// Throws Laufzeitfehler(6) when the result does not fit the target type.
qint16 rundeInt16(double wert);
qint32 rundeInt32(double wert);

// For k = 1..N store k × quarter wavelength × velocity factor (single
// precision) at index k of the odd list (odd k) or of the even list
// (even k). Lists shorter than N + 1 throw Laufzeitfehler(9).
void LaengenVielfache(qint32 n, float viertelWelle, float vk, std::vector<float> &ungerade,
                      std::vector<float> &gerade);

} // namespace varo
