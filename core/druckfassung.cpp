#include "druckfassung.h"

#include <QPagedPaintDevice>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace varo {

namespace {

// A page label: "Seite N" right-aligned in a field of 80 characters.
bool istSeitenkopf(const QTextBlock &block)
{
    static const QRegularExpression muster(QStringLiteral("^ *Seite \\d+$"));
    const QString text = block.text();
    return text.size() == 80 && muster.match(text).hasMatch();
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

    QTextBlockFormat mindesthoehe;
    mindesthoehe.setLineHeight(zeilenhoeheMm * pixelJeMm, QTextBlockFormat::MinimumHeight);
    cursor.select(QTextCursor::Document);
    cursor.mergeBlockFormat(mindesthoehe);

    for (QTextBlock block = kopie->begin(); block.isValid(); block = block.next()) {
        if (!istSeitenkopf(block))
            continue;
        // Drop the empty lines that only pad the previous page.
        QTextBlock vorher = block.previous();
        while (vorher.isValid() && vorher.text().isEmpty() && vorher.previous().isValid()) {
            QTextCursor leer(vorher);
            leer.movePosition(QTextCursor::PreviousCharacter);
            leer.setPosition(vorher.position() + vorher.length() - 1, QTextCursor::KeepAnchor);
            const QTextBlock davor = vorher.previous();
            leer.removeSelectedText();
            vorher = davor;
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
    kopie->print(&geraet);
}

} // namespace varo
