#pragma once

#include "werkzeugteile.h"

namespace varo::cli {

// --analyse --messung DATEI: the line analysis at the frequencies of a
// measured file; returns the exit status like ausfuehren().
int messungAusfuehren(const Optionen &optionen, QIODevice &ausgabe, QTextStream &fehler,
                      const QString &kabelOrdner);

} // namespace varo::cli
