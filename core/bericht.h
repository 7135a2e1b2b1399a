#pragma once

// The frame every text report is written in: title, header block, column
// heading, rows with text page breaks, closing block, one formatting pass,
// and the error handling of a calculation (Abort / Retry / Ignore).

#include "rechnen.h"
#include "schrittlauf.h"

#include <QString>
#include <QtGlobal>

#include <functional>
#include <vector>

namespace varo {

class Berichtsfeld;
class Drucker;
class Laufzeitfehler;

namespace bericht {
inline constexpr int Zeilenbreite = 80;
inline constexpr int Feld1 = 33;     // first column field
inline constexpr int Feld2 = 19;     // second column field
inline constexpr int ErsteZeile = 9; // lines of title and header on page 1
inline constexpr int ErsatzSeitenlaenge = 77;
} // namespace bericht

// Prepares the printer for reports of `breite` characters per line and
// returns how many lines fit on a page. Every printer step that fails is
// skipped; without a printer the result is 73 (up to 80 characters) or 51.
qint16 DruckerEinrichten(qint16 breite, Drucker &drucker);

// " " and 80 em dashes, then CR LF.
QString Trennlinie();

// The last text of every report, 58 characters, no line end after it.
QString Gruss();

// The value right-aligned in a field of `breite` characters; a longer text
// keeps only its leftmost characters.
QString feldRechts(const QString &wert, int breite);

// "Seite <n>" right-aligned in 80 characters, without line end.
QString Seitenzeile(int seite);

// True when the text, blanks around it aside, is a number: digits with an
// optional sign and one decimal point or comma.
bool liestSichAlsZahl(const QString &text);

// Gives the finished report its fonts: rows and first separator in
// "Courier New", closing remark in "Tahoma", greeting small and centred,
// header bold, title large, bold, purple and centred.
void TextAusgeben(Berichtsfeld &feld, qint32 tabellenPos, qint32 schlussPos,
                  const QString &trennlinie, const QString &schlussText, qint32 kopfPos,
                  const QString &kopfText, const QString &titel);

// One report being written: keeps the positions, the line counter and the
// page number, and inserts the page breaks.
class Bericht
{
public:
    explicit Bericht(Rechenkontext &kontext) : m_k(kontext) {}

    // The input dialog goes away before the report is built.
    void dialogVerbergen();
    // Asks the printer how many lines fit on a page (77 when it cannot say).
    void seitenlaengeErmitteln();
    // Hides the box while it grows, applies "&Listing" and writes the title
    // line and an empty line.
    void beginnen(const QString &titel);
    // The header block below the title, with its own line ends.
    void kopfAnhaengen(const QString &kopfText);
    // The column heading (with its line end) and the separator under it;
    // the rows of page 1 are counted from here.
    void spaltenkopfAnhaengen(const QString &spaltenkopf);
    // One row with its line end; counts a line.
    void zeileAnhaengen(const QString &zeile);
    // A page break when the page is full: separator, empty lines, the
    // "Seite" label and the column heading again.
    void seitenumbruchPruefen();
    // The separator, the closing remark, an empty line and the greeting.
    void schlussAnhaengen(const QString &bemerkung);
    // Gives the finished report its fonts and alignment (TextAusgeben).
    void formatieren();
    // Shows the main window with the report and the normal pointer.
    void zeigen();

    int seitenlaenge() const { return m_seitenlaenge; }
    int zeilen() const { return m_zeilen; }
    int seite() const { return m_seite; }

private:
    Rechenkontext &m_k;
    int m_seitenlaenge = bericht::ErsatzSeitenlaenge;
    int m_zeilen = bericht::ErsteZeile;
    int m_seite = 1;
    QString m_titel;
    QString m_kopfText;
    QString m_spaltenkopf;
    QString m_schlussText;
    qint32 m_kopfPos = 0;
    qint32 m_tabellenPos = 0;
    qint32 m_schlussPos = 0;
};

} // namespace varo
