#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

class QTextDocument;

namespace varo {

// Rich Text Format for the report document: font family, size, bold,
// italic, underline, strike-through, raised/lowered text, colour, and left
// or centred paragraphs. The writer emits 7-bit ASCII.
QByteArray rtfSchreiben(const QTextDocument &dokument);

// Limits of the reader. They keep memory and time linear in the input and
// bounded, whatever the file claims.
namespace rtf {
inline constexpr qsizetype maxEingabeBytes = 64LL * 1024 * 1024; // larger files are refused
inline constexpr int maxGruppentiefe = 512;                      // deeper groups are dropped whole
inline constexpr int maxTabelleneintraege = 10000;               // per font and per colour table
inline constexpr qsizetype maxZeichen = 20'000'000;              // text characters of the document
inline constexpr qsizetype maxAbsaetze = 1'000'000;              // paragraphs of the document
inline constexpr qsizetype maxLaeufe = 4'000'000;                // runs of differing format
inline constexpr int maxWortlaenge = 32;                         // longer control words are unknown
inline constexpr int maxSchriftname = 256;                       // characters kept of a font name

// The limits in force for one read; tests lower them to reach them cheaply.
struct Grenzen
{
    qsizetype eingabeBytes = maxEingabeBytes;
    int gruppentiefe = maxGruppentiefe;
    int tabelleneintraege = maxTabelleneintraege;
    qsizetype zeichen = maxZeichen;
    qsizetype absaetze = maxAbsaetze;
    qsizetype laeufe = maxLaeufe;
};
} // namespace rtf

// Reads RTF into the document, replacing its content. Malformed or hostile
// input never crashes or hangs; on failure the document stays as it was,
// the function returns false and fehler (if given) holds a German reason.
// When the file was read but exceeded one of the limits, the part read so
// far replaces the document, the function returns true and fehler holds a
// note saying so; otherwise fehler is cleared.
bool rtfLesen(const QByteArray &rtf, QTextDocument &dokument, QString *fehler = nullptr,
              const rtf::Grenzen &grenzen = {});

} // namespace varo
