#include "texteditberichtsfeld.h"

#include <QTextEdit>

namespace varo {

TextEditBerichtsfeld::TextEditBerichtsfeld(QTextEdit &edit)
    : DokumentBerichtsfeld(*edit.document()), m_edit(edit)
{
}

QTextCursor TextEditBerichtsfeld::holeCursor() const
{
    return m_edit.textCursor();
}

void TextEditBerichtsfeld::setzeCursor(const QTextCursor &cursor)
{
    m_edit.setTextCursor(cursor);
}

bool TextEditBerichtsfeld::holeSichtbar() const
{
    // Hidden means hidden on purpose; a box in a window not yet shown
    // still counts as visible.
    return !m_edit.isHidden();
}

void TextEditBerichtsfeld::setzeSichtbar(bool sichtbar)
{
    m_edit.setVisible(sichtbar);
}

} // namespace varo
