#pragma once

#include <QFont>

namespace varo {

// The fonts the windows were designed with, each followed by the fonts a
// desktop without them offers in their place.

// Fixed pitch ("Courier New"): report box, the input dialog's labels and
// its cable list, where padded items must form columns.
QFont festeSchrift(double punkte, bool fett = false);

// The entries and buttons ("MS Sans Serif").
QFont eingabeSchrift(double punkte, bool fett = false);

// A dialog's own font ("Tahoma").
QFont fensterSchrift(double punkte);

// Headings such as the about box's title ("Arial").
QFont titelSchrift(double punkte, bool fett = false);

} // namespace varo
