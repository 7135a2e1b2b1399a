#pragma once

#include "baender.h"
#include "messung.h"
#include "smithdiagramm.h"
#include "werkzeugteile.h"

namespace varo::cli {

// --analyse --messung DATEI: the line analysis at the frequencies of a
// measured file; returns the exit status like ausfuehren().
int messungAusfuehren(const Optionen &optionen, QIODevice &ausgabe, QTextStream &fehler,
                      const QString &kabelOrdner);

// The Smith chart of a measured run: the feedpoint's and the rig's trace
// normalised to r0 (a gap stays a gap), the points nearest the edges of the
// bands that lie within the run's frequencies, and the point nearest the
// centre of the range from vonMHz to bisMHz marked (none when every point is
// a gap).
Smithdiagramm messungSmith(const Messverlauf &verlauf, double r0, const QList<Band> &baender,
                           double vonMHz, double bisMHz);

} // namespace varo::cli
