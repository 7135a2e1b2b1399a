#include "modus_analyse.h"

#include <QTextStream>

namespace varo::cli {

// Placeholder until the mode is written; refuses like an unknown option.
int analyseAusfuehren(const Optionen &, QIODevice &, QTextStream &fehler, const QString &)
{
    fehler << programmname << ": --analyse ist noch nicht verfügbar\n";
    return fehlerStatus;
}

} // namespace varo::cli
