#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace varo {

// Rich Text Format for the report document: font family, size, bold,
// italic, underline, strike-through, raised/lowered text, colour, and left
// or centred paragraphs. The writer emits 7-bit ASCII.
QByteArray rtfSchreiben(const QTextDocument &dokument);

// Reads RTF into the document, replacing its content. Malformed or hostile
// input never crashes or hangs; on failure the document stays as it was,
// the function returns false and fehler (if given) holds a German reason.
bool rtfLesen(const QByteArray &rtf, QTextDocument &dokument, QString *fehler = nullptr);

} // namespace varo
