#pragma once

#include "berichtsfeld.h"

#include <QTextCursor>
#include <QTextDocument>
#include <memory>

namespace varo {

// The report box over a QTextDocument. Qt keeps one block separator per
// line end while the report's positions count CR LF as two characters;
// every position crossing this class is translated in both directions.
// A QTextEdit-backed box derives from it and supplies its own cursor and
// visibility through the protected hooks.
class DokumentBerichtsfeld : public Berichtsfeld
{
public:
    DokumentBerichtsfeld();                                 // owns a document
    explicit DokumentBerichtsfeld(QTextDocument &dokument); // works on a given one
    ~DokumentBerichtsfeld() override;

    QString text() const override;
    int textLaenge() const override;
    void setText(const QString &text) override;

    int selStart() const override;
    void setSelStart(int start) override;
    int selLength() const override;
    void setSelLength(int laenge) override;
    QString selText() const override;
    void setSelText(const QString &text) override;
    void anhaengen(const QString &text) override;

    Zeichenattribute selAttribute() const override;
    void setSelAttribute(const Zeichenattribute &attribute) override;
    void setSelAusrichtung(Ausrichtung ausrichtung) override;
    void setBasisschrift(const QString &schriftname) override;

    bool sichtbar() const override;
    void setSichtbar(bool sichtbar) override;

    // The document behind the box, for opening, saving and printing.
    QTextDocument &dokument();
    const QTextDocument &dokument() const;

    // Position translation: report position (CR LF = 2) <-> Qt position.
    int zuQt(int position) const;
    int vonQt(int qtPosition) const;

    // A text with CR LF line ends as the document stores it, and back.
    static QString zuDokumenttext(const QString &text);
    static QString zuBerichtstext(QString text);

protected:
    // Text appended but not yet in the document goes in now.
    void ausstehendEinfuegen() const;

    virtual QTextCursor holeCursor() const { return m_cursor; }
    virtual void setzeCursor(const QTextCursor &cursor) { m_cursor = cursor; }
    virtual bool holeSichtbar() const { return m_sichtbar; }
    virtual void setzeSichtbar(bool sichtbar) { m_sichtbar = sichtbar; }

private:
    std::unique_ptr<QTextDocument> m_eigenes;
    QTextDocument *m_dokument;
    QTextCursor m_cursor;
    bool m_sichtbar = true;
    QString m_ausstehend; // appended, not yet inserted
};

} // namespace varo
