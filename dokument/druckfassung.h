#pragma once

#include <memory>

class QPagedPaintDevice;
class QTextDocument;

namespace varo {

// A copy of a report laid out for paper. Every line is at least as high as
// the line the page length was computed with (4 mm), and each "Seite" label
// starts a new page; the blank lines that pad the page before a label are
// dropped, so a page never spills over because the paper font runs taller.
std::unique_ptr<QTextDocument> druckfassung(const QTextDocument &bericht);

// Prints the document onto the device (a PDF writer or a printer), one
// sheet per page of the paper copy, with a 2.5 mm margin top and bottom.
void aufGeraetDrucken(const QTextDocument &dokument, QPagedPaintDevice &geraet);

} // namespace varo
