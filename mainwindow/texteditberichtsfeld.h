#pragma once

#include "dokumentberichtsfeld.h"

class QTextEdit;

namespace varo {

// RichTextBox1 as the report box: the positions are translated by the base
// class; the edit supplies the caret, the selection and the visibility the
// user sees.
class TextEditBerichtsfeld : public DokumentBerichtsfeld
{
public:
    explicit TextEditBerichtsfeld(QTextEdit &edit);

    QTextEdit &edit() const { return m_edit; }

protected:
    QTextCursor holeCursor() const override;
    void setzeCursor(const QTextCursor &cursor) override;
    bool holeSichtbar() const override;
    void setzeSichtbar(bool sichtbar) override;

private:
    QTextEdit &m_edit;
};

} // namespace varo
