#pragma once

// Value axes of the charts: a span rounded out to whole tick steps, the
// steps themselves and their labels.

#include <QList>
#include <QLocale>
#include <QString>

namespace varo {

// A tick step of 1, 2 or 5 times a power of ten that gives at most about
// ziel ticks over the span; 1 for a span or count that makes no sense.
double achsenTeilung(double spanne, int ziel);

// An axis from von to bis in ticks of schritt.
struct Achse
{
    double von = 0.0;
    double bis = 1.0;
    double schritt = 1.0;
};

// The axis over kleinst..groesst with at most about hoechstens steps, its
// ends rounded out to whole steps. An empty span is widened by a tenth of
// its value (at least 1) on either side.
Achse achseUeber(double kleinst, double groesst, int hoechstens);

// The multiples of schritt from von to bis (both inclusive, with a
// tolerance of a billionth of a step), each the multiple at or below von
// plus whole steps. Counted, not summed: a step lost in the digits of a
// large value gives no ticks instead of a hang.
QList<double> achsenMarken(double von, double bis, double schritt);

// A tick label with enough decimals for the step and none more; a value
// within a millionth of a step of zero is written as 0. The locale's number
// options (group separators) are kept.
QString achsenText(double wert, double schritt, const QLocale &locale);

} // namespace varo
