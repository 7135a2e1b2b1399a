#pragma once

// A number of the cable measurement's messages and outputs in the given
// pattern and the program's locale; shared by its two source files.

#include "zahlenformat.h"

#include <QLocale>
#include <QString>

namespace varo {

inline QString zahl(double wert, const char *muster)
{
    return formatZahl(wert, QString::fromLatin1(muster), QLocale());
}

} // namespace varo
