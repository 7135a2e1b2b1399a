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
// bounded, whatever the file claims. The document limits are what the main
// window lays out and shows within a few seconds, each of them reached on
// its own; a saved report of the longest calculation stays far below them
// (some 20,000 lines, a few runs per page).
namespace rtf {
inline constexpr qsizetype maxEingabeBytes = 16LL * 1024 * 1024; // larger files are refused
inline constexpr int maxGruppentiefe = 512;                      // deeper groups are dropped whole
inline constexpr int maxTabelleneintraege = 10000;               // per font and per colour table
inline constexpr qsizetype maxZeichen = 1'000'000;               // text characters of the document
inline constexpr qsizetype maxAbsaetze = 50'000;                 // paragraphs of the document
inline constexpr qsizetype maxLaeufe = 50'000;                   // runs of differing format
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

namespace rtf {
// What a read left out because the report box holds paragraphs of
// formatted text only. A page break directly before a "Seite N" label is
// not counted: the program breaks the page there itself (its own files
// have one before every such label).
struct Auslassungen
{
    int bilder = 0;          // pictures, embedded objects with a picture
    int tabellen = 0;        // tables: their cells are kept as text between tabs
    int aufzaehlungen = 0;   // list paragraphs whose bullet or number is dropped
    int hervorhebungen = 0;  // passages with a highlight or background colour
    int seitenumbrueche = 0; // page breaks elsewhere
};

// One German sentence naming the kinds and counts, such as "Nicht
// übernommen: 2 Bilder, 1 Seitenumbruch."; empty when nothing was left out.
QString auslassungenText(const Auslassungen &ausgelassen);
} // namespace rtf

// Reads RTF into the document, replacing its content. Malformed or hostile
// input never crashes or hangs; on failure the document stays as it was,
// the function returns false and fehler (if given) holds a German reason.
// When the file was read but exceeded one of the limits (an entry past the
// limit of a font, colour or style table included), the part read so far
// replaces the document, the function returns true and fehler holds a note
// saying so; otherwise fehler is cleared. ausgelassen (if given) receives
// what the document had that it cannot hold.
bool rtfLesen(const QByteArray &rtf, QTextDocument &dokument, QString *fehler = nullptr,
              const rtf::Grenzen &grenzen = {}, rtf::Auslassungen *ausgelassen = nullptr);

// True when the outermost group of the RTF text is closed. A file cut off
// while being copied or written ends inside it; braces escaped with a
// backslash and binary data after \binN do not count.
inline bool rtfGeschlossen(const QByteArray &rtf)
{
    const auto buchstabe = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    const qsizetype n = rtf.size();
    qsizetype tiefe = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char c = rtf.at(i);
        if (c == '{') {
            ++tiefe;
        } else if (c == '}') {
            if (--tiefe <= 0)
                return true;
        } else if (c == '\\' && i + 1 < n) {
            if (!buchstabe(rtf.at(i + 1))) {
                ++i; // \{ \} \\ and the other control symbols
                continue;
            }
            const qsizetype wort = i + 1;
            while (i + 1 < n && buchstabe(rtf.at(i + 1)))
                ++i;
            const bool bin = i + 1 - wort == 3 && rtf.mid(wort, 3) == "bin";
            qint64 laenge = 0;
            while (i + 1 < n && rtf.at(i + 1) >= '0' && rtf.at(i + 1) <= '9') {
                laenge = qMin<qint64>(laenge * 10 + (rtf.at(i + 1) - '0'), n);
                ++i;
            }
            if (i + 1 < n && rtf.at(i + 1) == ' ')
                ++i;
            if (bin)
                i += qsizetype(laenge);
        }
    }
    return false;
}

} // namespace varo
