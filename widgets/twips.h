#pragma once

#include <QtGlobal>

namespace varo {

// The windows were designed in twips, 1440 to the inch. At the usual 96
// dots per inch fifteen of them make a pixel.
inline constexpr double kTwipsJeZoll = 1440.0;
inline constexpr double kStandardDpi = 96.0;

// Twips as pixels of a screen with dpi dots per inch, to the nearest pixel.
inline int twipsZuPixel(int twips, double dpi = kStandardDpi)
{
    return qRound(twips * dpi / kTwipsJeZoll);
}

} // namespace varo
