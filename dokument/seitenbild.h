#pragma once

// The page of a report on paper, shared by the paper copy for printing and
// the RTF writer, so other programs break and space the pages as the
// program itself does.

#include <QMarginsF>
#include <QString>

#include <vector>

class QTextBlock;
class QTextDocument;

namespace varo::seitenbild {

// Each line of a report is this high on paper; the page length was
// computed with it.
inline constexpr double zeilenhoeheMm = 4.0;

// A line with no font larger than this has exactly the report line's
// height; a larger one (the title) at least that height.
inline constexpr double groessteFesteSchrift = 10.5;

// The paper margins: left, top, right, bottom. A report line, 81
// characters of 10 pt Courier New (171.5 mm), fits between them on A4.
inline const QMarginsF randMm(10, 2.5, 10, 2.5);

// A page label: "Seite N" right-aligned in a field of 80 characters.
bool istSeitenzeile(const QString &text);

// The largest font size in points of a line.
double groessteSchrift(const QTextBlock &block);

// Per block of the document, whether it only pads a page before the next
// page's label: the empty lines directly before a label, never the first.
std::vector<bool> seitenfueller(const QTextDocument &dokument);

} // namespace varo::seitenbild
