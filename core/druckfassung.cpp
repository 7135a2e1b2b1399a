#include "druckfassung.h"

#include <QPagedPaintDevice>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace varo {

namespace {

// A page label: "Seite N" right-aligned in a field of 80 characters.
bool istSeitenkopf(const QTextBlock &block)
{
    static const QRegularExpression muster(QStringLiteral("^ *Seite \\d+$"));
    const QString text = block.text();
    return text.size() == 80 && muster.match(text).hasMatch();
}

// The largest font size in points of a line.
double groessteSchrift(const QTextBlock &block)
{
    const double standard = block.document()->defaultFont().pointSizeF();
    double groesste = 0;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const double groesse = it.fragment().charFormat().fontPointSize();
        groesste = std::max(groesste, groesse > 0 ? groesse : standard);
    }
    return groesste;
}

// Line heights in the layout are in pixels of 96 dpi.
constexpr double zeilenhoeheMm = 4.0;
constexpr double pixelJeMm = 96.0 / 25.4;

} // namespace

std::unique_ptr<QTextDocument> druckfassung(const QTextDocument &bericht)
{
    std::unique_ptr<QTextDocument> kopie(bericht.clone());
    QTextCursor cursor(kopie.get());
    cursor.beginEditBlock();

    // Report lines get exactly the height the page length was computed with;
    // the font's own line spacing rounds up to whole pixels and would push
    // the last lines of a full page onto the next. Larger text (the title)
    // keeps at least that height.
    for (QTextBlock block = kopie->begin(); block.isValid(); block = block.next()) {
        QTextBlockFormat format;
        format.setLineHeight(zeilenhoeheMm * pixelJeMm, groessteSchrift(block) <= 10.5
                                                            ? QTextBlockFormat::FixedHeight
                                                            : QTextBlockFormat::MinimumHeight);
        QTextCursor(block).mergeBlockFormat(format);
    }

    for (QTextBlock block = kopie->begin(); block.isValid(); block = block.next()) {
        if (!istSeitenkopf(block))
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
    geraet.setPageMargins(QMarginsF(10, 2.5, 10, 2.5), QPageLayout::Millimeter);
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
