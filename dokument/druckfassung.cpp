#include "druckfassung.h"

#include "seitenbild.h"

#include <QPagedPaintDevice>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <vector>

namespace varo {

namespace {

// Paper wraps at blanks. A paragraph of a foreign document with a long
// run and no blank (a million characters of one "word") would make each
// wrapped line measure the rest of the run again, and every page would
// prepare the whole paragraph again for drawing: time grows with the square
// of its length. So a long paragraph is cut into paragraphs of about
// stueckZeichen characters, at a blank where there is one, and a long run
// gets a break opportunity (a zero-width space) after every laufstueck
// characters. Report lines, at most 80 characters, are never touched.
constexpr int stueckZeichen = 1000;
constexpr int laufstueck = 16;

void langeAbsaetzeTeilen(QTextDocument &kopie)
{
    const QChar teilung(0x200B);
    kopie.setUndoRedoEnabled(false); // a copy for paper: nothing to undo
    QTextCursor cursor(&kopie);
    // One edit block: outside of one, every move of the cursor would lay
    // the whole paragraph out again.
    cursor.beginEditBlock();
    // From the last paragraph back: the pieces cut off are not visited again.
    for (QTextBlock block = kopie.lastBlock(); block.isValid(); block = block.previous()) {
        if (block.length() <= stueckZeichen)
            continue;
        const QString text = block.text();
        std::vector<std::pair<int, bool>> stellen; // position, true: a new paragraph
        int lauf = 0;
        int absatz = 0;
        for (int i = 0; i < int(text.size()); ++i) {
            const QChar c = text.at(i);
            if (c.isLowSurrogate())
                continue; // never between the halves of a pair
            const bool nachBlank = i > 0 && text.at(i - 1).isSpace();
            if (absatz >= stueckZeichen && (nachBlank || absatz >= stueckZeichen + 200)) {
                stellen.emplace_back(i, true);
                absatz = 0;
                lauf = 0;
            }
            ++absatz;
            if (c.isSpace() || c == teilung) {
                lauf = 0;
            } else if (++lauf > laufstueck) {
                stellen.emplace_back(i, false);
                lauf = 1;
            }
        }
        // From the back, so that the positions still ahead stay valid.
        const int anfang = block.position();
        for (auto it = stellen.crbegin(); it != stellen.crend(); ++it) {
            cursor.setPosition(anfang + it->first);
            if (it->second)
                cursor.insertBlock();
            else
                cursor.insertText(QString(teilung));
        }
    }
    cursor.endEditBlock();
}

// Line heights in the layout are in pixels of 96 dpi.
constexpr double pixelJeMm = 96.0 / 25.4;

} // namespace

std::unique_ptr<QTextDocument> druckfassung(const QTextDocument &bericht)
{
    std::unique_ptr<QTextDocument> kopie(bericht.clone());
    langeAbsaetzeTeilen(*kopie);
    QTextCursor cursor(kopie.get());
    cursor.beginEditBlock();

    // Report lines get exactly the height the page length was computed with;
    // the font's own line spacing rounds up to whole pixels and would push
    // the last lines of a full page onto the next. Larger text (the title)
    // keeps at least that height.
    for (QTextBlock block = kopie->begin(); block.isValid(); block = block.next()) {
        QTextBlockFormat format;
        format.setLineHeight(seitenbild::zeilenhoeheMm * pixelJeMm,
                             seitenbild::groessteSchrift(block) <= seitenbild::groessteFesteSchrift
                                 ? QTextBlockFormat::FixedHeight
                                 : QTextBlockFormat::MinimumHeight);
        QTextCursor(block).mergeBlockFormat(format);
    }

    for (QTextBlock block = kopie->begin(); block.isValid(); block = block.next()) {
        if (!seitenbild::istSeitenzeile(block.text()))
            continue;
        // Drop the empty lines that only pad the previous page.
        for (QTextBlock vorher = block.previous();
             vorher.isValid() && vorher.text().isEmpty() && vorher.previous().isValid();
             vorher = block.previous()) {
            // Removing the line end before the empty line merges it away.
            QTextCursor leer(kopie.get());
            leer.setPosition(vorher.position() - 1);
            leer.setPosition(vorher.position(), QTextCursor::KeepAnchor);
            leer.removeSelectedText();
        }
        QTextBlockFormat umbruch;
        umbruch.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        QTextCursor(block).mergeBlockFormat(umbruch);
    }
    cursor.endEditBlock();
    return kopie;
}

void aufGeraetDrucken(const QTextDocument &dokument, QPagedPaintDevice &geraet)
{
    geraet.setPageMargins(seitenbild::randMm, QPageLayout::Millimeter);
    const std::unique_ptr<QTextDocument> kopie = druckfassung(dokument);
    // A document with a page size of its own is printed page by page as it
    // is laid out; without one, Qt would add 2 cm margins and page numbers
    // and the page length of the report would no longer hold.
    const QRectF flaeche = geraet.pageLayout().paintRect(QPageLayout::Millimeter);
    kopie->setDocumentMargin(0);
    kopie->setPageSize(QSizeF(flaeche.width() * pixelJeMm, flaeche.height() * pixelJeMm));
    kopie->print(&geraet);
}

} // namespace varo
