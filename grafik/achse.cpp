#include "achse.h"

#include <algorithm>
#include <cmath>

namespace varo {

namespace {

// No axis is drawn with more ticks; more means a step lost in the digits.
constexpr double kHoechstensMarken = 100000.0;

} // namespace

double achsenTeilung(double spanne, int ziel)
{
    if (!(spanne > 0.0) || !std::isfinite(spanne) || ziel < 1)
        return 1.0;
    const double roh = spanne / ziel;
    const double zehner = std::pow(10.0, std::floor(std::log10(roh)));
    for (double faktor : {1.0, 2.0, 5.0, 10.0}) {
        if (faktor * zehner >= roh * (1.0 - 1e-12))
            return faktor * zehner;
    }
    return 10.0 * zehner;
}

Achse achseUeber(double kleinst, double groesst, int hoechstens)
{
    if (!(groesst > kleinst)) {
        const double rand = std::max(1.0, std::abs(groesst) * 0.1);
        kleinst -= rand;
        groesst += rand;
    }
    Achse a;
    a.schritt = achsenTeilung(groesst - kleinst, hoechstens);
    a.von = std::floor(kleinst / a.schritt) * a.schritt;
    a.bis = std::ceil(groesst / a.schritt) * a.schritt;
    return a;
}

QList<double> achsenMarken(double von, double bis, double schritt)
{
    QList<double> marken;
    if (!(schritt > 0.0) || !std::isfinite(von) || !std::isfinite(bis) || bis < von)
        return marken;
    // From the multiple at or below von, so that every tick is that
    // multiple plus a whole number of steps.
    const double ursprung = std::floor(von / schritt) * schritt;
    const double toleranz = schritt * 1e-9;
    const double anzahl = std::round((bis - ursprung) / schritt) + 1.0;
    if (!(anzahl < kHoechstensMarken))
        return marken;
    for (qint64 i = 0; i <= qint64(anzahl); ++i) {
        const double wert = ursprung + double(i) * schritt;
        if (wert > bis + toleranz)
            break;
        if (wert >= von - toleranz)
            marken.append(wert);
    }
    return marken;
}

QString achsenText(double wert, double schritt, const QLocale &locale)
{
    const int stellen = std::max(0, int(std::ceil(-std::log10(schritt) - 1e-9)));
    return locale.toString(std::abs(wert) < schritt * 1e-6 ? 0.0 : wert, 'f', stellen);
}

} // namespace varo
