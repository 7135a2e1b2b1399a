// The RTF reader takes any bytes without crashing, hanging or growing
// without bound. Whatever it reads must survive a write and a second read
// with the same paragraphs, and the writer must emit 7-bit ASCII only.
// QTextDocument needs no application object for this: no layout, no fonts.
#include "rtf.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTextBlock>
#include <QTextDocument>

#include <cstdint>
#include <cstdlib>

namespace {

QStringList absaetze(const QTextDocument &dokument)
{
    QStringList ergebnis;
    for (QTextBlock block = dokument.begin(); block.isValid(); block = block.next())
        ergebnis << block.text();
    return ergebnis;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *daten, size_t groesse)
{
    const QByteArray eingabe(reinterpret_cast<const char *>(daten), qsizetype(groesse));
    QTextDocument dokument;
    dokument.setPlainText(QStringLiteral("vorher"));
    QString fehler;
    if (!varo::rtfLesen(eingabe, dokument, &fehler)) {
        // A refused file leaves the document as it was and says why.
        if (fehler.isEmpty() || dokument.toPlainText() != QLatin1String("vorher"))
            std::abort();
        return 0;
    }

    const QByteArray geschrieben = varo::rtfSchreiben(dokument);
    for (const char zeichen : geschrieben) {
        if (static_cast<unsigned char>(zeichen) >= 0x80)
            std::abort();
    }
    // The program's own file holds nothing it cannot read back.
    QTextDocument zurueck;
    varo::rtf::Auslassungen ausgelassen;
    if (!varo::rtfLesen(geschrieben, zurueck, &fehler, {}, &ausgelassen) || !fehler.isEmpty() ||
        !varo::rtf::auslassungenText(ausgelassen).isEmpty())
        std::abort();
    if (absaetze(zurueck) != absaetze(dokument))
        std::abort();
    return 0;
}
