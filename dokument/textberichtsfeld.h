#pragma once

#include "berichtsfeld.h"

#include <QString>

namespace varo {

// A report box that keeps only the text: for output that is plain text
// anyway, where fonts and alignment have nowhere to go. Line ends come out
// as CR LF exactly where the rich-text box would have them, so text() is
// the same in both. Attributes are accepted and forgotten; a selection
// reads as the base attributes.
class TextBerichtsfeld : public Berichtsfeld
{
public:
    TextBerichtsfeld();
    ~TextBerichtsfeld() override;

    QString text() const override { return m_text; }
    int textLaenge() const override { return int(m_text.size()); }
    void setText(const QString &text) override;

    int selStart() const override { return m_start; }
    void setSelStart(int start) override;
    int selLength() const override { return m_laenge; }
    void setSelLength(int laenge) override;
    QString selText() const override { return m_text.mid(m_start, m_laenge); }
    void setSelText(const QString &text) override;
    void anhaengen(const QString &text) override;

    Zeichenattribute selAttribute() const override { return {}; }
    void setSelAttribute(const Zeichenattribute &) override {}
    void setSelAusrichtung(Ausrichtung) override {}
    void setBasisschrift(const QString &) override {}

    bool sichtbar() const override { return m_sichtbar; }
    void setSichtbar(bool sichtbar) override { m_sichtbar = sichtbar; }

    // Every line end the rich-text box would make (CR LF, a lone CR or LF,
    // a paragraph separator) as CR LF.
    static QString mitZeilenenden(const QString &text);

private:
    QString m_text;
    int m_start = 0;
    int m_laenge = 0;
    bool m_sichtbar = true;
};

} // namespace varo
