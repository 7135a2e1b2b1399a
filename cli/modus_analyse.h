#pragma once

#include "werkzeugteile.h"

namespace varo::cli {

// --analyse: returns the exit status like ausfuehren().
int analyseAusfuehren(const Optionen &optionen, QIODevice &ausgabe, QTextStream &fehler,
                      const QString &kabelOrdner);

} // namespace varo::cli
