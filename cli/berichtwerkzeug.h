#pragma once

#include <QStringList>

class QIODevice;
class QTextStream;

namespace varo::cli {

// The headless report tool: does what the input dialog's "&Rechnen" does in
// the chosen mode, renders the curve, or converts a saved report.
// Returns the exit status: 0 written, 2 refused as the window would refuse
// (reason on stderr, nothing on stdout), 1 usage or other error.
// kabelOrdner is the folder whose Kabel.txt is read unless --kabeltabelle
// names another file.
int ausfuehren(const QStringList &argumente, QIODevice &ausgabe, QTextStream &fehler,
               const QString &kabelOrdner);

} // namespace varo::cli
