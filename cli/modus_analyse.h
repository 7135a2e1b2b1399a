#pragma once

#include "kabeldaten.h"
#include "leitungsanfrage.h"
#include "werkzeugteile.h"

#include <initializer_list>
#include <optional>

namespace varo::cli {

// Every option of namen that is given must be a number; false with the
// refusal told on fehler.
bool zahlenPruefen(const Optionen &optionen, std::initializer_list<const char *> namen,
                   QTextStream &fehler);

// Velocity factor, points and impedance of the chosen cable: a table row as
// the table holds it, a typed entry with the points and Z= it carries. A
// field that cannot be used is refused naming where it stands.
std::optional<Kabeldaten> kabeldatenWaehlen(const Kabelwahl &wahl, QString &grund);

// The cable of a line analysis as --kabel (a velocity factor, a table item
// or a type name), --kabelz, --vk and --verlustlos give it; range, length
// and load are left empty for the caller. typ names the cable for headings.
// A refusal is told on fehler.
std::optional<LeitungsTexte> analysekabel(const Optionen &optionen, QTextStream &fehler,
                                          const QString &kabelOrdner, QString &typ);

// --analyse: returns the exit status like ausfuehren().
int analyseAusfuehren(const Optionen &optionen, QIODevice &ausgabe, QTextStream &fehler,
                      const QString &kabelOrdner);

} // namespace varo::cli
