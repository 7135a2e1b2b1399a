#pragma once

// The planner's list as a report in the common frame: the bands, the cable
// and the range in the header, one row per clear range with its best length.

#include "planer.h"
#include "rechnen.h"

#include <QString>

namespace varo {

// Writes the report of a finished plan into the context's report box and
// shows the main window. kabel is the cable's type name for the header, or
// empty for a typed velocity factor. Unlike the dialog's calculations it
// leaves the window it came from open.
Ausgang RechnenPlaner(const Planung &planung, const QString &kabel, Rechenkontext &k);

} // namespace varo
