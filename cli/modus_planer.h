#pragma once

#include "werkzeugteile.h"

namespace varo::cli {

// --planer: returns the exit status like ausfuehren().
int planerAusfuehren(const Optionen &optionen, QIODevice &ausgabe, QTextStream &fehler,
                     const QString &kabelOrdner);

} // namespace varo::cli
