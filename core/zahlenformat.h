#pragma once

#include <QDate>
#include <QLocale>
#include <QString>

namespace varo {

// Number output by the patterns of the reports, e.g. "###0.000 m", "0.00#",
// "##0.0 %": "0" a digit always shown, "#" a digit shown when significant,
// "." the decimal separator of the locale, "%" multiplies by 100, anything
// else is copied. Rounds halves away from zero on the decimal digits; a
// negative value that rounds to zero has no sign, and a separator whose
// "#" decimals all fell away is left out.
// A double is taken with 15 significant digits, a float with 7, as the old
// program's number formatting saw them.
QString formatZahl(double wert, const QString &muster, const QLocale &locale);
QString formatZahl(float wert, const QString &muster, const QLocale &locale);

// General number format of a single: shortest form with up to seven
// significant digits, scientific ("1,5E+08") outside 1e-4 .. 1e7.
QString formatAllgemein(float wert, const QLocale &locale);

// Date pattern "yyyymmDd": four-digit year, month and day without separators.
QString formatDatum(const QDate &datum);

} // namespace varo
