#include "modus_planer.h"

#include <QTextStream>

namespace varo::cli {

// Placeholder until the mode is written; refuses like an unknown option.
int planerAusfuehren(const Optionen &, QIODevice &, QTextStream &fehler, const QString &)
{
    fehler << programmname << ": --planer ist noch nicht verfügbar\n";
    return fehlerStatus;
}

} // namespace varo::cli
