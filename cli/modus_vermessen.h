#pragma once

#include "werkzeugteile.h"

namespace varo::cli {

// The options only --vermessen takes, each with a value.
extern const QStringList vermessenOptionen;

// The help section of --vermessen, ending in an empty line.
QString vermessenHilfe();

// --vermessen: velocity factor, impedance and loss of a cable from its
// measurement with the far end open (and shorted); returns the exit status
// like ausfuehren().
int vermessenAusfuehren(const Optionen &optionen, QIODevice &ausgabe, QTextStream &fehler,
                        const QString &kabelOrdner);

} // namespace varo::cli
