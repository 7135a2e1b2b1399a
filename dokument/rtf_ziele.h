#pragma once

// The destinations of the RTF reader: which control words it knows, which
// groups hold no text, and the tables a document declares before its text
// (fonts with their code pages, colours, paragraph styles).

#include "rtf.h"
#include "rtf_cp1252.h"
#include "schriftklasse.h"

#include <QHash>
#include <QRgb>
#include <QString>
#include <QStringDecoder>

#include <climits>
#include <functional>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace varo::rtf {

// What the current group's content is.
enum class Ziel : quint8 { Text, Schrifttabelle, Farbtabelle, Formatvorlagen, Ueberspringen };

// Control words the reader acts on. Everything else is ignored.
enum class Wort : quint8 {
    Unbekannt,
    Ansi,
    Mac,
    Pc,
    Pca,
    Ansicpg,
    Deff,
    Fonttbl,
    Colortbl,
    F,
    Fcharset,
    Cpg,
    Schriftklasse, // \fnil, \froman, \fswiss, \fmodern and the rest
    Red,
    Green,
    Blue,
    Plain,
    Fs,
    B,
    I,
    Ul,
    Ulnone,
    UlAn,
    Strike,
    Super,
    Sub,
    Nosupersub,
    Up,
    Dn,
    Cf,
    V,
    Hervorhebung, // \highlight, \cb, \chcbpat: a background the report box does not keep
    Pard,
    Stylesheet,
    S,
    Sbasedon,
    Nichtabsatzstil, // character, section and table styles
    Ql,
    Qc,
    Qr,
    Qj,
    Par,
    Line,
    Tab,
    Cell,
    Umbruch,       // \sect: ends a paragraph
    Seite,         // \page: ends a paragraph
    Tabellenzeile, // \row: ends a paragraph
    Zeilenformat,  // \trowd: a table row begins
    InTabelle,     // \intbl
    Listenabsatz,  // \ls
    Seitenumbruch, // \pagebb
    Zeichen,       // a word that stands for one character
    U,
    Uc,
    Bin,
    Ziel, // a destination whose content is not text
};

// What a skipped destination held, where it matters for what was left out.
enum class Inhalt : quint8 { Sonstiges, Bild, Ersatzbild, Listenzeichen };

struct WortInfo
{
    Wort wort = Wort::Unbekannt;
    char16_t zeichen = 0; // Wort::Zeichen
    Inhalt inhalt = Inhalt::Sonstiges;
    Schriftklasse klasse = Schriftklasse::Unbekannt; // Wort::Schriftklasse
};

WortInfo wortSuchen(std::string_view name);

inline constexpr int dokumentCodepage = -1; // a font that follows the document's code page
inline constexpr int keineSchrift = INT_MIN;

// The code page of a font from its \fcharset.
int codepageVonZeichensatz(int zeichensatz);

// Decodes bytes with a code page; cp1252 is built in, the rest comes from
// Qt's converters, and what none of them knows reads as cp1252.
class Dekodierer
{
public:
    bool bekannt(int codepage) { return codepage == 1252 || konverter(codepage) != nullptr; }
    void anhaengen(int codepage, const QByteArray &bytes, QString &ziel);

private:
    QStringDecoder *konverter(int codepage);

    std::unordered_map<int, std::unique_ptr<QStringDecoder>> cache;
};

struct Schrift
{
    int familie = -1; // index into the document's families, -1 = none given
    int codepage = dokumentCodepage;
    Schriftklasse klasse = Schriftklasse::Unbekannt;
};

// The entry of the font table being read.
struct Schrifteintrag
{
    bool offen = false;
    int id = 0;
    int zeichensatz = -1;
    int cpg = -1;
    Schriftklasse klasse = Schriftklasse::Unbekannt;
    size_t tiefe = 0; // the group depth it began at
    QString name;
};

struct Farbe
{
    bool automatisch = true;
    QRgb rgb = 0;
};

// A paragraph style of the style sheet, as far as the reader uses it.
struct Absatzstil
{
    int basis = -1; // \sbasedon
    bool hatAusrichtung = false;
    Qt::Alignment ausrichtung = Qt::AlignLeft;
};

// The tables a document declares. An entry past the table limit is not
// kept, and voll says that one was dropped.
class Tabellen
{
public:
    explicit Tabellen(int grenze) : grenze(grenze) {}

    // The font table: words inside it, and the end of an entry.
    void schriftWort(const WortInfo &info, int parameter, size_t tiefe);
    // familieIndex gives the family's index for the name of a kept entry.
    void schriftAbschliessen(int dokCodepage,
                             const std::function<int(const QString &)> &familieIndex);
    Schrifteintrag eintrag;
    int eintragCodepage(int dokCodepage) const;
    const Schrift *schrift(int id) const;

    // The colour table: words, and ";" closing an entry.
    void farbtabelleBeginnen();
    void farbWort(Wort wort, int parameter);
    void farbeAbschliessen();
    const Farbe *farbe(int index) const;

    // The style sheet: each group directly inside it is one style.
    void stilBeginnen();
    void stilWort(const WortInfo &info, bool hatParameter, int parameter);
    void stilAbschliessen();
    Qt::Alignment stilAusrichtung(int nummer) const;
    size_t stilTabelleTiefe = 0;
    size_t stilEintragTiefe = 0;
    bool stilOffen = false;

    bool voll = false;

private:
    const int grenze;
    QHash<int, Schrift> schriften;
    std::vector<Farbe> farben;
    int rot = -1, gruen = -1, blau = -1;
    QHash<int, Absatzstil> absatzstile;
    Absatzstil stil;
    int stilNummer = 0;
    bool stilFuerAbsatz = true;
};

} // namespace varo::rtf
