#include "dokumentberichtsfeld.h"

#include "schriftklasse.h"

#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextFragment>
#include <algorithm>
#include <utility>

namespace varo {

namespace {

QString schriftVon(const QTextCharFormat &format, const QTextDocument &dokument)
{
    const QStringList familien = format.fontFamilies().toStringList();
    if (!familien.isEmpty())
        return familien.first();
    return dokument.defaultFont().family();
}

double groesseVon(const QTextCharFormat &format, const QTextDocument &dokument)
{
    const double groesse = format.fontPointSize();
    return groesse > 0 ? groesse : dokument.defaultFont().pointSizeF();
}

int versatzVon(const QTextCharFormat &format)
{
    switch (format.verticalAlignment()) {
    case QTextCharFormat::AlignSuperScript:
        return 1;
    case QTextCharFormat::AlignSubScript:
        return -1;
    default:
        return 0;
    }
}

QColor farbeVon(const QTextCharFormat &format)
{
    const QBrush pinsel = format.foreground();
    return pinsel.style() == Qt::NoBrush ? QColor(Qt::black) : pinsel.color();
}

Zeichenattribute attributeVon(const QTextCharFormat &format, const QTextDocument &dokument)
{
    Zeichenattribute a;
    a.schriftname = schriftVon(format, dokument);
    a.groesse = groesseVon(format, dokument);
    a.fett = format.fontWeight() >= QFont::DemiBold;
    a.kursiv = format.fontItalic();
    a.unterstrichen = format.fontUnderline();
    a.durchgestrichen = format.fontStrikeOut();
    a.versatz = versatzVon(format);
    a.farbe = farbeVon(format);
    return a;
}

// Keeps an attribute only while every fragment agrees on it.
template <typename T> void angleichen(std::optional<T> &bisher, const std::optional<T> &neu)
{
    if (bisher && neu && *bisher != *neu)
        bisher.reset();
}

} // namespace

DokumentBerichtsfeld::DokumentBerichtsfeld()
    : m_eigenes(std::make_unique<QTextDocument>()), m_dokument(m_eigenes.get()),
      m_cursor(m_dokument)
{
}

DokumentBerichtsfeld::DokumentBerichtsfeld(QTextDocument &dokument)
    : m_dokument(&dokument), m_cursor(m_dokument)
{
}

DokumentBerichtsfeld::~DokumentBerichtsfeld()
{
    // A document that outlives its box keeps every row appended to it; an
    // owned one goes with the box. A derived box is gone by now, so this
    // class's own caret takes the rows to the end, where they would have
    // gone anyway; it is detached when the document went first.
    if (m_eigenes || m_ausstehend.isEmpty())
        return;
    QTextCursor ende = m_cursor;
    if (ende.isNull())
        return;
    ende.movePosition(QTextCursor::End);
    ende.insertText(zuDokumenttext(m_ausstehend));
}

QString DokumentBerichtsfeld::zuDokumenttext(const QString &text)
{
    QString ergebnis = text;
    ergebnis.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    ergebnis.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return ergebnis;
}

QString DokumentBerichtsfeld::zuBerichtstext(QString text)
{
    text.replace(QChar::ParagraphSeparator, QLatin1String("\r\n"));
    return text;
}

QString DokumentBerichtsfeld::text() const
{
    ausstehendEinfuegen();
    QString ergebnis;
    ergebnis.reserve(textLaenge());
    for (QTextBlock block = m_dokument->begin(); block.isValid(); block = block.next()) {
        if (block != m_dokument->begin())
            ergebnis += QLatin1String("\r\n");
        ergebnis += block.text();
    }
    return ergebnis;
}

int DokumentBerichtsfeld::textLaenge() const
{
    ausstehendEinfuegen();
    // characterCount holds every block separator plus the final one.
    return m_dokument->characterCount() - 1 + (m_dokument->blockCount() - 1);
}

int DokumentBerichtsfeld::zuQt(int position) const
{
    ausstehendEinfuegen();
    position = std::clamp(position, 0, textLaenge());
    // The last block whose report position (Qt position + block number,
    // one extra character per earlier line end) is not beyond position.
    int unten = 0;
    int oben = m_dokument->blockCount() - 1;
    while (unten < oben) {
        const int mitte = unten + (oben - unten + 1) / 2;
        if (m_dokument->findBlockByNumber(mitte).position() + mitte <= position)
            unten = mitte;
        else
            oben = mitte - 1;
    }
    const QTextBlock block = m_dokument->findBlockByNumber(unten);
    const int versatz = position - (block.position() + unten);
    const int textlaenge = block.length() - 1;
    // Versatz textlaenge is the CR (the separator); one beyond is the LF,
    // which belongs to the start of the next line.
    return block.position() + std::min(versatz, textlaenge + 1);
}

int DokumentBerichtsfeld::vonQt(int qtPosition) const
{
    ausstehendEinfuegen();
    qtPosition = std::clamp(qtPosition, 0, m_dokument->characterCount() - 1);
    return qtPosition + m_dokument->findBlock(qtPosition).blockNumber();
}

void DokumentBerichtsfeld::setText(const QString &text)
{
    ausstehendEinfuegen();
    const QTextCharFormat anfangsformat = QTextCursor(m_dokument).charFormat();
    QTextCursor cursor(m_dokument);
    cursor.select(QTextCursor::Document);
    cursor.insertText(zuDokumenttext(text), anfangsformat);
    cursor.setPosition(0);
    setzeCursor(cursor);
}

int DokumentBerichtsfeld::selStart() const
{
    ausstehendEinfuegen();
    return vonQt(holeCursor().selectionStart());
}

void DokumentBerichtsfeld::setSelStart(int start)
{
    ausstehendEinfuegen();
    QTextCursor cursor = holeCursor();
    cursor.setPosition(zuQt(start));
    setzeCursor(cursor);
}

int DokumentBerichtsfeld::selLength() const
{
    ausstehendEinfuegen();
    const QTextCursor cursor = holeCursor();
    return vonQt(cursor.selectionEnd()) - vonQt(cursor.selectionStart());
}

void DokumentBerichtsfeld::setSelLength(int laenge)
{
    ausstehendEinfuegen();
    QTextCursor cursor = holeCursor();
    const int start = vonQt(cursor.selectionStart());
    cursor.setPosition(zuQt(start));
    cursor.setPosition(zuQt(start + std::max(laenge, 0)), QTextCursor::KeepAnchor);
    setzeCursor(cursor);
}

QString DokumentBerichtsfeld::selText() const
{
    ausstehendEinfuegen();
    return zuBerichtstext(holeCursor().selectedText());
}

void DokumentBerichtsfeld::setSelText(const QString &text)
{
    ausstehendEinfuegen();
    QTextCursor cursor = holeCursor();
    cursor.insertText(zuDokumenttext(text));
    setzeCursor(cursor);
}

void DokumentBerichtsfeld::anhaengen(const QString &text)
{
    // Rows wait here and go into the document in one insertion the moment
    // anything else is asked of the box, so nobody sees the difference.
    m_ausstehend += text;
}

void DokumentBerichtsfeld::ausstehendEinfuegen() const
{
    if (m_ausstehend.isEmpty())
        return;
    // The waiting text already belongs to the box's content; inserting it
    // changes how the content is held, not what it is.
    auto *feld = const_cast<DokumentBerichtsfeld *>(this);
    const QString text = std::exchange(feld->m_ausstehend, QString());
    QTextCursor cursor = holeCursor();
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(zuDokumenttext(text));
    feld->setzeCursor(cursor);
}

QTextDocument &DokumentBerichtsfeld::dokument()
{
    ausstehendEinfuegen();
    return *m_dokument;
}

const QTextDocument &DokumentBerichtsfeld::dokument() const
{
    ausstehendEinfuegen();
    return *m_dokument;
}

Zeichenattribute DokumentBerichtsfeld::selAttribute() const
{
    ausstehendEinfuegen();
    const QTextCursor cursor = holeCursor();
    if (!cursor.hasSelection())
        return attributeVon(cursor.charFormat(), *m_dokument);

    const int anfang = cursor.selectionStart();
    const int ende = cursor.selectionEnd();
    std::optional<Zeichenattribute> gesamt;
    for (QTextBlock block = m_dokument->findBlock(anfang);
         block.isValid() && block.position() < ende; block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.position() + fragment.length() <= anfang || fragment.position() >= ende)
                continue;
            const Zeichenattribute a = attributeVon(fragment.charFormat(), *m_dokument);
            if (!gesamt) {
                gesamt = a;
                continue;
            }
            angleichen(gesamt->schriftname, a.schriftname);
            angleichen(gesamt->groesse, a.groesse);
            angleichen(gesamt->fett, a.fett);
            angleichen(gesamt->kursiv, a.kursiv);
            angleichen(gesamt->unterstrichen, a.unterstrichen);
            angleichen(gesamt->durchgestrichen, a.durchgestrichen);
            angleichen(gesamt->versatz, a.versatz);
            angleichen(gesamt->farbe, a.farbe);
        }
    }
    // A selection of line ends only has no fragments: it reads as the caret's format.
    return gesamt ? *gesamt : attributeVon(cursor.charFormat(), *m_dokument);
}

void DokumentBerichtsfeld::setSelAttribute(const Zeichenattribute &attribute)
{
    ausstehendEinfuegen();
    QTextCharFormat format;
    // With its class: a missing "Tahoma" falls back to a sans face, not to
    // the fixed-pitch face of the box around it.
    if (attribute.schriftname)
        schriftSetzen(format, *attribute.schriftname);
    if (attribute.groesse)
        format.setFontPointSize(*attribute.groesse);
    if (attribute.fett)
        format.setFontWeight(*attribute.fett ? QFont::Bold : QFont::Normal);
    if (attribute.kursiv)
        format.setFontItalic(*attribute.kursiv);
    if (attribute.unterstrichen)
        format.setFontUnderline(*attribute.unterstrichen);
    if (attribute.durchgestrichen)
        format.setFontStrikeOut(*attribute.durchgestrichen);
    if (attribute.versatz) {
        const int v = *attribute.versatz;
        format.setVerticalAlignment(v > 0   ? QTextCharFormat::AlignSuperScript
                                    : v < 0 ? QTextCharFormat::AlignSubScript
                                            : QTextCharFormat::AlignNormal);
    }
    if (attribute.farbe)
        format.setForeground(*attribute.farbe);

    QTextCursor cursor = holeCursor();
    cursor.mergeCharFormat(format);
    // On an empty document the attributes are meant for the text that comes next.
    if (m_dokument->isEmpty())
        cursor.mergeBlockCharFormat(format);
    setzeCursor(cursor);
}

void DokumentBerichtsfeld::setSelAusrichtung(Ausrichtung ausrichtung)
{
    ausstehendEinfuegen();
    QTextBlockFormat format;
    format.setAlignment(ausrichtung == Ausrichtung::Zentriert ? Qt::AlignHCenter : Qt::AlignLeft);
    QTextCursor cursor = holeCursor();
    cursor.mergeBlockFormat(format);
    setzeCursor(cursor);
}

void DokumentBerichtsfeld::setBasisschrift(const QString &schriftname)
{
    ausstehendEinfuegen();
    QFont schrift = m_dokument->defaultFont();
    schriftSetzen(schrift, schriftname);
    m_dokument->setDefaultFont(schrift);
}

bool DokumentBerichtsfeld::sichtbar() const
{
    ausstehendEinfuegen();
    return holeSichtbar();
}

void DokumentBerichtsfeld::setSichtbar(bool sichtbar)
{
    ausstehendEinfuegen();
    setzeSichtbar(sichtbar);
}

} // namespace varo
