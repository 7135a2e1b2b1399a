#include "textberichtsfeld.h"

#include <algorithm>

namespace varo {

namespace {

// Besides CR and LF, the rich-text box starts a new paragraph at these.
bool beginntAbsatz(QChar c)
{
    return c == QChar::ParagraphSeparator || c == QChar(0xfdd0) || c == QChar(0xfdd1);
}

} // namespace

TextBerichtsfeld::TextBerichtsfeld() = default;
TextBerichtsfeld::~TextBerichtsfeld() = default;

QString TextBerichtsfeld::mitZeilenenden(const QString &text)
{
    QString ergebnis;
    ergebnis.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r') {
            if (i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            ergebnis += QLatin1String("\r\n");
        } else if (c == u'\n' || beginntAbsatz(c)) {
            ergebnis += QLatin1String("\r\n");
        } else {
            ergebnis += c;
        }
    }
    return ergebnis;
}

void TextBerichtsfeld::setText(const QString &text)
{
    m_text = mitZeilenenden(text);
    m_start = 0;
    m_laenge = 0;
}

void TextBerichtsfeld::setSelStart(int start)
{
    m_start = std::clamp(start, 0, textLaenge());
    m_laenge = 0;
}

void TextBerichtsfeld::setSelLength(int laenge)
{
    m_laenge = std::clamp(laenge, 0, textLaenge() - m_start);
}

void TextBerichtsfeld::setSelText(const QString &text)
{
    const QString neu = mitZeilenenden(text);
    m_text.replace(m_start, m_laenge, neu);
    m_start += int(neu.size());
    m_laenge = 0;
}

void TextBerichtsfeld::anhaengen(const QString &text)
{
    m_text += mitZeilenenden(text);
    m_start = textLaenge();
    m_laenge = 0;
}

} // namespace varo
