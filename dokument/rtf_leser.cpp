#include "rtf.h"
#include "rtf_cp1252.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QStringDecoder>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

// How the reader works: one pass over the bytes, one token per step, never
// recursive. Groups push a copy of the current state onto a vector and pop
// it again; what a group means (text, font table, colour table, something
// to skip) is part of that state. Text bytes are buffered and decoded in one
// go with the code page of the current font, so double-byte code pages work.
// The result is a plain model (paragraphs of runs); only when the whole file
// has been read is the document replaced, so a failure leaves it untouched.

namespace varo {
namespace {

using namespace rtf;

enum class Ziel : quint8 { Text, Schrifttabelle, Farbtabelle, Formatvorlagen, Ueberspringen };
enum class Hoehe : qint8 { Normal, Hoch, Tief };

constexpr int standardHalbpunkte = 24;
constexpr int keineSchrift = INT_MIN;
constexpr int dokumentCodepage = -1; // a font that follows the document's code page
constexpr qsizetype maxSchriftnameBytes = qsizetype{4} * maxSchriftname;

// The resolved character format of a run.
struct Format
{
    int familie = -1; // index into Modell::familien, -1 = none given
    int halbpunkte = standardHalbpunkte;
    bool fett = false;
    bool kursiv = false;
    bool unterstrichen = false;
    bool durchgestrichen = false;
    Hoehe hoehe = Hoehe::Normal;
    qint64 farbe = -1; // QRgb, -1 = automatic

    bool operator==(const Format &o) const
    {
        return familie == o.familie && halbpunkte == o.halbpunkte && fett == o.fett &&
               kursiv == o.kursiv && unterstrichen == o.unterstrichen &&
               durchgestrichen == o.durchgestrichen && hoehe == o.hoehe && farbe == o.farbe;
    }
    bool operator!=(const Format &o) const { return !(*this == o); }
};

struct Lauf
{
    Format format;
    qsizetype laenge = 0;
};

struct Absatz
{
    Qt::Alignment ausrichtung = Qt::AlignLeft;
    QString text;
    std::vector<Lauf> laeufe;
    Format marke; // the format in force at \par: an empty line is as high as it
};

// A paragraph style of the style sheet, as far as the reader uses it.
struct Absatzstil
{
    int basis = -1; // \sbasedon
    bool hatAusrichtung = false;
    Qt::Alignment ausrichtung = Qt::AlignLeft;
};

struct Modell
{
    std::vector<Absatz> absaetze;
    QStringList familien;
};

// Everything a group inherits and restores.
struct Zustand
{
    int schrift = keineSchrift; // RTF font number
    int halbpunkte = standardHalbpunkte;
    bool fett = false;
    bool kursiv = false;
    bool unterstrichen = false;
    bool durchgestrichen = false;
    bool versteckt = false;
    Hoehe hoehe = Hoehe::Normal;
    int farbe = 0;
    Qt::Alignment ausrichtung = Qt::AlignLeft;
    bool ausrichtungGenannt = false; // a \q word since \pard
    int uc = 1;
    Ziel ziel = Ziel::Text;
};

struct Schrift
{
    int familie = -1;
    int codepage = dokumentCodepage;
};

struct Farbe
{
    bool automatisch = true;
    QRgb rgb = 0;
};

// Control words the reader acts on. Everything else is ignored.
enum class Wort {
    Unbekannt,
    Rtf,
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
    Umbruch,
    Zeichen, // a word that stands for one character
    U,
    Uc,
    Bin,
    Ziel, // a destination whose content is not text
};

struct WortInfo
{
    Wort wort;
    char16_t zeichen = 0;
};

const std::unordered_map<std::string_view, WortInfo> &woerterbuch()
{
    static const std::unordered_map<std::string_view, WortInfo> tabelle = [] {
        std::unordered_map<std::string_view, WortInfo> t{
            {"rtf", {Wort::Rtf}},
            {"ansi", {Wort::Ansi}},
            {"mac", {Wort::Mac}},
            {"pc", {Wort::Pc}},
            {"pca", {Wort::Pca}},
            {"ansicpg", {Wort::Ansicpg}},
            {"deff", {Wort::Deff}},
            {"fonttbl", {Wort::Fonttbl}},
            {"colortbl", {Wort::Colortbl}},
            {"f", {Wort::F}},
            {"fcharset", {Wort::Fcharset}},
            {"cpg", {Wort::Cpg}},
            {"red", {Wort::Red}},
            {"green", {Wort::Green}},
            {"blue", {Wort::Blue}},
            {"plain", {Wort::Plain}},
            {"fs", {Wort::Fs}},
            {"b", {Wort::B}},
            {"i", {Wort::I}},
            {"ul", {Wort::Ul}},
            {"ulnone", {Wort::Ulnone}},
            {"strike", {Wort::Strike}},
            {"striked", {Wort::Strike}},
            {"super", {Wort::Super}},
            {"sub", {Wort::Sub}},
            {"nosupersub", {Wort::Nosupersub}},
            {"up", {Wort::Up}},
            {"dn", {Wort::Dn}},
            {"cf", {Wort::Cf}},
            {"v", {Wort::V}},
            {"pard", {Wort::Pard}},
            {"stylesheet", {Wort::Stylesheet}},
            {"s", {Wort::S}},
            {"sbasedon", {Wort::Sbasedon}},
            {"cs", {Wort::Nichtabsatzstil}},
            {"ds", {Wort::Nichtabsatzstil}},
            {"ts", {Wort::Nichtabsatzstil}},
            {"ql", {Wort::Ql}},
            {"qc", {Wort::Qc}},
            {"qr", {Wort::Qr}},
            {"qj", {Wort::Qj}},
            {"qd", {Wort::Qj}},
            {"par", {Wort::Par}},
            {"line", {Wort::Line}},
            {"tab", {Wort::Tab}},
            {"cell", {Wort::Cell}},
            {"page", {Wort::Umbruch}},
            {"sect", {Wort::Umbruch}},
            {"row", {Wort::Umbruch}},
            {"emdash", {Wort::Zeichen, 0x2014}},
            {"endash", {Wort::Zeichen, 0x2013}},
            {"bullet", {Wort::Zeichen, 0x2022}},
            {"lquote", {Wort::Zeichen, 0x2018}},
            {"rquote", {Wort::Zeichen, 0x2019}},
            {"ldblquote", {Wort::Zeichen, 0x201C}},
            {"rdblquote", {Wort::Zeichen, 0x201D}},
            {"emspace", {Wort::Zeichen, 0x2003}},
            {"enspace", {Wort::Zeichen, 0x2002}},
            {"qmspace", {Wort::Zeichen, 0x2005}},
            {"u", {Wort::U}},
            {"uc", {Wort::Uc}},
            {"bin", {Wort::Bin}},
        };
        for (const char *w :
             {"uld", "uldb", "ulw", "ulwave", "ulth", "uldash", "uldashd", "uldashdd", "ulhwave",
              "ulldash", "ulthd", "ulthdash", "ulthdashd", "ulthdashdd", "ulthldash", "ululdbwave"})
            t.emplace(w, WortInfo{Wort::UlAn});
        for (const char *w : {"info",
                              "pict",
                              "object",
                              "header",
                              "headerl",
                              "headerr",
                              "headerf",
                              "footer",
                              "footerl",
                              "footerr",
                              "footerf",
                              "footnote",
                              "annotation",
                              "fldinst",
                              "pn",
                              "pntext",
                              "listtext",
                              "listtable",
                              "listoverridetable",
                              "themedata",
                              "colorschememapping",
                              "datastore",
                              "latentstyles",
                              "rsidtbl",
                              "xmlnstbl",
                              "mmathPr",
                              "pgdsctbl",
                              "generator",
                              "filetbl",
                              "revtbl",
                              "shp",
                              "nonshppict",
                              "xe",
                              "tc",
                              "atnid",
                              "atnauthor",
                              "bkmkstart",
                              "bkmkend",
                              "template",
                              "userprops"})
            t.emplace(w, WortInfo{Wort::Ziel});
        return t;
    }();
    return tabelle;
}

// The code page of a font from its \fcharset.
int codepageVonZeichensatz(int zeichensatz)
{
    switch (zeichensatz) {
    case 0:
        return 1252;
    case 1:
        return dokumentCodepage;
    case 2:
        return 1252; // Symbol: the bytes are glyph numbers, shown as they are
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 255:
        return 850;
    default:
        return dokumentCodepage;
    }
}

class Dekodierer
{
public:
    bool bekannt(int codepage) { return codepage == 1252 || konverter(codepage) != nullptr; }

    void anhaengen(int codepage, const QByteArray &bytes, QString &ziel)
    {
        if (codepage != 1252) {
            if (QStringDecoder *d = konverter(codepage)) {
                ziel += (*d)(bytes);
                return;
            }
        }
        for (const char byte : bytes)
            ziel += QChar(cp1252Zeichen(static_cast<unsigned char>(byte)));
    }

private:
    QStringDecoder *konverter(int codepage)
    {
        auto it = cache.find(codepage);
        if (it != cache.end())
            return it->second.get();
        std::unique_ptr<QStringDecoder> d;
        if (codepage > 0 && cache.size() < 64) {
            QList<QByteArray> namen;
            if (codepage == 65001)
                namen = {"UTF-8"};
            else if (codepage == 10000)
                namen = {"macintosh"};
            else if (codepage == 932)
                namen = {"windows-31j"};
            const QByteArray zahl = QByteArray::number(codepage);
            namen += {"windows-" + zahl, "cp" + zahl, "IBM" + zahl};
            for (const QByteArray &name : std::as_const(namen)) {
                auto kandidat = std::make_unique<QStringDecoder>(name.constData(),
                                                                 QStringConverter::Flag::Stateless);
                if (kandidat->isValid()) {
                    d = std::move(kandidat);
                    break;
                }
            }
        }
        QStringDecoder *zeiger = d.get();
        if (cache.size() < 64)
            cache.emplace(codepage, std::move(d));
        return zeiger;
    }

    std::unordered_map<int, std::unique_ptr<QStringDecoder>> cache;
};

class Leser
{
public:
    Leser(const QByteArray &eingabe, const Grenzen &grenzen)
        : g(grenzen), daten(eingabe.constData()), n(eingabe.size())
    {
    }

    // Returns false when the input is no usable RTF; fehler then says why.
    bool lesen();

    Modell modell;
    bool gekuerzt = false; // something was dropped because of a limit
    QString fehler;

private:
    void schritt();
    void gruppeAuf();
    void gruppeZu();
    void steuerung();
    void steuerwort(std::string_view name, bool hatParameter, int parameter);
    void steuersymbol(char zeichen);
    void hexByte();
    void textbyte(unsigned char byte);
    void bytePuffern(unsigned char byte);

    void pufferLeeren();
    void senke(QStringView text);
    void halbesPaarSchliessen();
    void ausgeben(QStringView text);
    void unicode(char16_t einheit);
    void absatzEnde();
    void eintragAbschliessen();
    void farbeAbschliessen();
    void stilAbschliessen();
    Qt::Alignment stilAusrichtung(int nummer) const;
    int aktiveCodepage() const;
    int eintragCodepage() const;
    Format aufgeloest() const;
    int familieIndex(const QString &name);
    void setzeDokumentCodepage(int codepage);
    bool innen() const { return stapel.size() > 2; } // inside a group below the root

    Zustand &oben() { return stapel.back(); }
    const Zustand &oben() const { return stapel.back(); }

    const Grenzen &g;
    const char *daten;
    qsizetype n;
    qsizetype pos = 0;
    std::vector<Zustand> stapel;
    int ueberTiefe = 0;      // groups opened beyond the depth limit
    int ausstehend = 0;      // fallback units still to skip after \u
    bool fertig = false;     // the root group is closed or a limit is reached
    bool angehalten = false; // a limit on the output is reached: nothing more is kept
    bool geschlossen = false;

    int dokCodepage = 1252;
    int standardSchrift = keineSchrift;
    QHash<int, Schrift> schriften;
    QHash<QString, int> familienIndex;
    std::vector<Farbe> farben;
    Dekodierer dekodierer;

    bool eintragOffen = false;
    int eintragId = 0;
    int eintragZeichensatz = -1;
    int eintragCpg = -1;
    size_t eintragTiefe = 0;
    QString eintragName;

    int rot = -1, gruen = -1, blau = -1;

    // The style sheet: its group's depth, and the entry being read.
    size_t stilTabelleTiefe = 0;
    size_t stilEintragTiefe = 0;
    Absatzstil stil;
    QHash<int, Absatzstil> absatzstile;
    int stilNummer = 0;
    bool stilOffen = false;
    bool stilFuerAbsatz = true;

    QByteArray puffer;
    bool hochOffen = false;
    char16_t hochWert = 0;

    Absatz aktuell;
    qsizetype zeichenGesamt = 0;
    qsizetype laeufeGesamt = 0;
};

bool istBuchstabe(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool istZiffer(char c)
{
    return c >= '0' && c <= '9';
}

int hexWert(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool Leser::lesen()
{
    // Leading blanks and a UTF-8 byte order mark are tolerated.
    while (pos < n && (daten[pos] == ' ' || daten[pos] == '\t' || daten[pos] == '\r' ||
                       daten[pos] == '\n' || daten[pos] == '\0'))
        ++pos;
    if (n - pos >= 3 && std::memcmp(daten + pos, "\xEF\xBB\xBF", 3) == 0)
        pos += 3;
    if (n - pos < 5 || std::memcmp(daten + pos, "{\\rtf", 5) != 0 ||
        (n - pos > 5 && istBuchstabe(daten[pos + 5]))) {
        fehler = QStringLiteral("Die Datei ist keine RTF-Datei.");
        return false;
    }

    stapel.reserve(64);
    stapel.emplace_back(); // the state outside every group
    while (pos < n && !fertig)
        schritt();

    pufferLeeren();
    halbesPaarSchliessen();
    if (!aktuell.text.isEmpty() && !angehalten)
        absatzEnde();
    if (modell.absaetze.empty() && !geschlossen) {
        fehler = QStringLiteral("Die RTF-Datei ist unvollständig und enthält keinen Text.");
        return false;
    }
    return true;
}

void Leser::schritt()
{
    const char c = daten[pos++];
    switch (c) {
    case '{':
        gruppeAuf();
        break;
    case '}':
        gruppeZu();
        break;
    case '\\':
        steuerung();
        break;
    case '\r':
    case '\n':
    case '\0':
        break;
    case '\t':
        steuerwort("tab", false, 0);
        break;
    default:
        textbyte(static_cast<unsigned char>(c));
        break;
    }
}

void Leser::gruppeAuf()
{
    ausstehend = 0;
    if (ueberTiefe > 0 || stapel.size() > size_t(std::max(g.gruppentiefe, 1))) {
        ++ueberTiefe;
        gekuerzt = true; // content is lost, reading goes on
        return;
    }
    pufferLeeren();
    stapel.push_back(stapel.back());
    // Each group directly inside the style sheet is one style; one without
    // \s is style 0.
    if (oben().ziel == Ziel::Formatvorlagen && stapel.size() == stilTabelleTiefe + 1) {
        stilOffen = true;
        stilEintragTiefe = stapel.size();
        stilNummer = 0;
        stilFuerAbsatz = true;
        stil = Absatzstil();
    }
}

void Leser::gruppeZu()
{
    ausstehend = 0;
    if (ueberTiefe > 0) {
        --ueberTiefe;
        return;
    }
    if (stapel.size() <= 1)
        return; // cannot happen: reading stops when the root group closes
    pufferLeeren();
    // Half a pair stays in the destination it was written in.
    if (oben().ziel != stapel[stapel.size() - 2].ziel)
        halbesPaarSchliessen();
    if (eintragOffen && oben().ziel == Ziel::Schrifttabelle && stapel.size() <= eintragTiefe)
        eintragAbschliessen();
    if (stilOffen && stapel.size() == stilEintragTiefe)
        stilAbschliessen();
    stapel.pop_back();
    if (stapel.size() == 1) {
        geschlossen = true;
        fertig = true;
    }
}

void Leser::steuerung()
{
    if (pos >= n)
        return;
    const char c = daten[pos];
    if (!istBuchstabe(c)) {
        ++pos;
        steuersymbol(c);
        return;
    }
    const qsizetype anfang = pos;
    while (pos < n && istBuchstabe(daten[pos]))
        ++pos;
    const qsizetype laenge = pos - anfang;
    // An overlong word is read to its end but matches nothing.
    const std::string_view name = laenge <= maxWortlaenge
                                      ? std::string_view(daten + anfang, size_t(laenge))
                                      : std::string_view();

    bool negativ = false;
    if (pos + 1 < n && daten[pos] == '-' && istZiffer(daten[pos + 1])) {
        negativ = true;
        ++pos;
    }
    bool hatParameter = false;
    qint64 wert = 0;
    while (pos < n && istZiffer(daten[pos])) {
        hatParameter = true;
        wert = std::min<qint64>(wert * 10 + (daten[pos] - '0'), qint64(INT_MAX) + 1);
        ++pos;
    }
    if (negativ)
        wert = -wert;
    const int parameter = int(std::clamp<qint64>(wert, INT_MIN, INT_MAX));
    if (pos < n && daten[pos] == ' ')
        ++pos;
    steuerwort(name, hatParameter, parameter);
}

void Leser::steuerwort(std::string_view name, bool hatParameter, int parameter)
{
    const auto &tabelle = woerterbuch();
    const auto treffer = name.empty() ? tabelle.end() : tabelle.find(name);
    const WortInfo info = treffer == tabelle.end() ? WortInfo{Wort::Unbekannt} : treffer->second;

    // Binary data is skipped wherever it stands, even in skipped groups.
    if (info.wort == Wort::Bin) {
        if (hatParameter && parameter > 0)
            pos += std::min<qsizetype>(parameter, n - pos);
        if (ausstehend > 0 && ueberTiefe == 0)
            --ausstehend;
        return;
    }
    if (ueberTiefe > 0)
        return;
    if (ausstehend > 0) {
        --ausstehend;
        return;
    }
    if (oben().ziel == Ziel::Ueberspringen)
        return;
    pufferLeeren();

    Zustand &z = oben();
    const bool an = !hatParameter || parameter != 0;

    // Words that mean the same in every destination.
    switch (info.wort) {
    case Wort::U: {
        if (!hatParameter || parameter == 0 || parameter < -32768 || parameter > 65535)
            return;
        unicode(char16_t(parameter < 0 ? parameter + 65536 : parameter));
        ausstehend = z.uc;
        return;
    }
    case Wort::Uc:
        z.uc = std::clamp(hatParameter ? parameter : 1, 0, 10);
        return;
    case Wort::Ziel:
        if (innen())
            z.ziel = Ziel::Ueberspringen;
        return;
    case Wort::Fonttbl:
        if (innen()) {
            z.ziel = Ziel::Schrifttabelle;
            eintragOffen = false;
        }
        return;
    case Wort::Colortbl:
        if (innen()) {
            z.ziel = Ziel::Farbtabelle;
            farben.clear();
            rot = gruen = blau = -1;
        }
        return;
    case Wort::Ansi:
        setzeDokumentCodepage(1252);
        return;
    case Wort::Mac:
        setzeDokumentCodepage(10000);
        return;
    case Wort::Pc:
        setzeDokumentCodepage(437);
        return;
    case Wort::Pca:
        setzeDokumentCodepage(850);
        return;
    case Wort::Ansicpg:
        setzeDokumentCodepage(parameter < 0 ? parameter + 65536 : parameter);
        return;
    case Wort::Deff:
        standardSchrift = hatParameter ? parameter : 0;
        if (z.ziel == Ziel::Text)
            z.schrift = standardSchrift;
        return;
    default:
        break;
    }

    if (z.ziel == Ziel::Schrifttabelle) {
        switch (info.wort) {
        case Wort::F:
            if (eintragOffen)
                eintragAbschliessen();
            eintragOffen = true;
            eintragId = parameter;
            eintragZeichensatz = -1;
            eintragCpg = -1;
            eintragTiefe = stapel.size();
            eintragName.clear();
            break;
        case Wort::Fcharset:
            eintragZeichensatz = parameter;
            break;
        case Wort::Cpg:
            eintragCpg = parameter;
            break;
        default:
            break;
        }
        return;
    }
    if (z.ziel == Ziel::Formatvorlagen) {
        switch (info.wort) {
        case Wort::S:
            stilNummer = parameter;
            break;
        case Wort::Nichtabsatzstil:
            stilFuerAbsatz = false;
            break;
        case Wort::Sbasedon:
            stil.basis = hatParameter ? parameter : -1;
            break;
        case Wort::Ql:
        case Wort::Qc:
        case Wort::Qr:
        case Wort::Qj:
            stil.hatAusrichtung = true;
            stil.ausrichtung = info.wort == Wort::Qc   ? Qt::AlignHCenter
                               : info.wort == Wort::Qr ? Qt::AlignRight
                               : info.wort == Wort::Qj ? Qt::AlignJustify
                                                       : Qt::AlignLeft;
            break;
        default:
            break;
        }
        return;
    }
    if (z.ziel == Ziel::Farbtabelle) {
        const int komponente = std::clamp(parameter, 0, 255);
        if (info.wort == Wort::Red)
            rot = komponente;
        else if (info.wort == Wort::Green)
            gruen = komponente;
        else if (info.wort == Wort::Blue)
            blau = komponente;
        return;
    }

    switch (info.wort) {
    case Wort::Plain:
        z.schrift = standardSchrift;
        z.halbpunkte = standardHalbpunkte;
        z.fett = z.kursiv = z.unterstrichen = z.durchgestrichen = z.versteckt = false;
        z.hoehe = Hoehe::Normal;
        z.farbe = 0;
        break;
    case Wort::F:
        // An undeclared font keeps the current one.
        if (schriften.contains(parameter))
            z.schrift = parameter;
        break;
    case Wort::Fs:
        z.halbpunkte = hatParameter ? std::clamp(parameter, 2, 3276) : standardHalbpunkte;
        break;
    case Wort::B:
        z.fett = an;
        break;
    case Wort::I:
        z.kursiv = an;
        break;
    case Wort::Ul:
    case Wort::UlAn:
        z.unterstrichen = an;
        break;
    case Wort::Ulnone:
        z.unterstrichen = false;
        break;
    case Wort::Strike:
        z.durchgestrichen = an;
        break;
    case Wort::Super:
        z.hoehe = Hoehe::Hoch;
        break;
    case Wort::Sub:
        z.hoehe = Hoehe::Tief;
        break;
    case Wort::Nosupersub:
        z.hoehe = Hoehe::Normal;
        break;
    case Wort::Up:
        z.hoehe = (hatParameter ? parameter : 6) > 0 ? Hoehe::Hoch : Hoehe::Normal;
        break;
    case Wort::Dn:
        z.hoehe = (hatParameter ? parameter : 6) > 0 ? Hoehe::Tief : Hoehe::Normal;
        break;
    case Wort::Cf:
        z.farbe = hatParameter ? parameter : 0;
        break;
    case Wort::V:
        z.versteckt = an;
        break;
    case Wort::Stylesheet:
        if (innen()) {
            z.ziel = Ziel::Formatvorlagen;
            stilTabelleTiefe = stapel.size();
            stilOffen = false;
        }
        break;
    case Wort::Pard:
        // Back to the defaults, which are those of style 0.
        z.ausrichtung = stilAusrichtung(0);
        z.ausrichtungGenannt = false;
        break;
    case Wort::S:
        // The style's alignment, unless the paragraph names its own (some
        // writers put \q before \s, others after it).
        if (!z.ausrichtungGenannt)
            z.ausrichtung = stilAusrichtung(hatParameter ? parameter : 0);
        break;
    case Wort::Ql:
        z.ausrichtung = Qt::AlignLeft;
        z.ausrichtungGenannt = true;
        break;
    case Wort::Qc:
        z.ausrichtung = Qt::AlignHCenter;
        z.ausrichtungGenannt = true;
        break;
    case Wort::Qr:
        z.ausrichtung = Qt::AlignRight;
        z.ausrichtungGenannt = true;
        break;
    case Wort::Qj:
        z.ausrichtung = Qt::AlignJustify;
        z.ausrichtungGenannt = true;
        break;
    case Wort::Par:
        absatzEnde();
        break;
    case Wort::Umbruch:
        // A page or section break ends a paragraph, but adds no empty one.
        if (!aktuell.text.isEmpty())
            absatzEnde();
        break;
    case Wort::Line:
        senke(u"\u2028");
        break;
    case Wort::Tab:
    case Wort::Cell:
        senke(u"\t");
        break;
    case Wort::Zeichen: {
        const char16_t zeichen = info.zeichen;
        senke(QStringView(&zeichen, 1));
        break;
    }
    default:
        break; // unknown words are ignored, parameter and all
    }
}

void Leser::steuersymbol(char zeichen)
{
    if (zeichen == '\'') {
        hexByte();
        return;
    }
    if (ueberTiefe > 0)
        return;
    if (ausstehend > 0) {
        --ausstehend;
        return;
    }
    if (oben().ziel == Ziel::Ueberspringen)
        return;
    switch (zeichen) {
    case '\\':
    case '{':
    case '}':
        bytePuffern(static_cast<unsigned char>(zeichen));
        break;
    case '~':
        pufferLeeren();
        senke(u"\u00A0");
        break;
    case '-':
        pufferLeeren();
        senke(u"\u00AD");
        break;
    case '_':
        pufferLeeren();
        senke(u"\u2011");
        break;
    case '*':
        if (innen())
            oben().ziel = Ziel::Ueberspringen;
        break;
    case '\r':
    case '\n':
        pufferLeeren();
        if (oben().ziel == Ziel::Text)
            absatzEnde();
        break;
    default:
        break;
    }
}

void Leser::hexByte()
{
    // Up to two hex digits; "\'4x" reads as 0x04 followed by "x".
    int wert = -1;
    if (pos < n && hexWert(daten[pos]) >= 0) {
        wert = hexWert(daten[pos++]);
        if (pos < n && hexWert(daten[pos]) >= 0)
            wert = wert * 16 + hexWert(daten[pos++]);
    }
    if (ueberTiefe > 0)
        return;
    if (ausstehend > 0) {
        --ausstehend;
        return;
    }
    if (wert >= 0)
        bytePuffern(static_cast<unsigned char>(wert));
}

void Leser::textbyte(unsigned char byte)
{
    if (ueberTiefe > 0)
        return;
    if (ausstehend > 0) {
        --ausstehend;
        return;
    }
    if (byte == ';') {
        if (oben().ziel == Ziel::Schrifttabelle) {
            pufferLeeren();
            if (eintragOffen)
                eintragAbschliessen();
            return;
        }
        if (oben().ziel == Ziel::Farbtabelle) {
            farbeAbschliessen();
            return;
        }
    }
    bytePuffern(byte);
}

void Leser::bytePuffern(unsigned char byte)
{
    switch (oben().ziel) {
    case Ziel::Text:
        puffer += char(byte);
        break;
    case Ziel::Schrifttabelle:
        if (eintragOffen && puffer.size() < maxSchriftnameBytes)
            puffer += char(byte);
        break;
    case Ziel::Farbtabelle:
    case Ziel::Formatvorlagen:
    case Ziel::Ueberspringen:
        break;
    }
}

void Leser::pufferLeeren()
{
    if (puffer.isEmpty())
        return;
    QString text;
    const int codepage = oben().ziel == Ziel::Schrifttabelle ? eintragCodepage() : aktiveCodepage();
    dekodierer.anhaengen(codepage, puffer, text);
    puffer.clear();
    // Some code pages decode to UTF-16 units that need not pair up; an
    // unpaired surrogate becomes U+FFFD here, as it does after \u.
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        else if (text.at(i).isSurrogate())
            text[i] = QChar::ReplacementCharacter;
    }
    senke(text);
}

void Leser::unicode(char16_t einheit)
{
    if (QChar::isLowSurrogate(einheit) && hochOffen) {
        hochOffen = false;
        const char16_t paar[2] = {hochWert, einheit};
        ausgeben(QStringView(paar, 2));
        return;
    }
    if (QChar::isHighSurrogate(einheit)) {
        halbesPaarSchliessen();
        hochOffen = true;
        hochWert = einheit;
        return;
    }
    senke(QChar::isLowSurrogate(einheit) ? QStringView(u"\uFFFD") : QStringView(&einheit, 1));
}

// A high surrogate still waiting for its partner becomes U+FFFD.
void Leser::halbesPaarSchliessen()
{
    if (hochOffen) {
        hochOffen = false;
        ausgeben(u"\uFFFD");
    }
}

void Leser::senke(QStringView text)
{
    halbesPaarSchliessen();
    ausgeben(text);
}

void Leser::ausgeben(QStringView text)
{
    const Zustand &z = oben();
    if (z.ziel == Ziel::Schrifttabelle) {
        if (eintragOffen && eintragName.size() < maxSchriftname) {
            eintragName += text.left(maxSchriftname - eintragName.size());
            // A cut through a surrogate pair would leave half a character.
            if (eintragName.size() == maxSchriftname && eintragName.back().isHighSurrogate())
                eintragName.chop(1);
        }
        return;
    }
    if (z.ziel != Ziel::Text || z.versteckt || angehalten)
        return;

    const qsizetype vorher = aktuell.text.size();
    for (const QChar zeichen : text) {
        const char16_t c = zeichen.unicode();
        // Control characters, paragraph separators and object placeholders
        // would break the block structure of the document.
        if ((c < 0x20 && c != u'\t') || (c >= 0x7F && c <= 0x9F) || c == 0x2029 || c == 0xFFFC ||
            c == 0xFEFF)
            continue;
        aktuell.text += zeichen;
    }
    qsizetype neu = aktuell.text.size() - vorher;
    if (neu == 0)
        return;
    if (zeichenGesamt + neu > g.zeichen) {
        const qsizetype erlaubt = std::max<qsizetype>(0, g.zeichen - zeichenGesamt);
        aktuell.text.truncate(vorher + erlaubt);
        neu = erlaubt;
        gekuerzt = angehalten = fertig = true;
    }
    zeichenGesamt += neu;
    if (neu == 0)
        return;
    const Format format = aufgeloest();
    if (!aktuell.laeufe.empty() && aktuell.laeufe.back().format == format) {
        aktuell.laeufe.back().laenge += neu;
    } else if (laeufeGesamt >= g.laeufe) {
        aktuell.text.truncate(vorher);
        zeichenGesamt -= neu;
        gekuerzt = angehalten = fertig = true;
    } else {
        aktuell.laeufe.push_back(Lauf{format, neu});
        ++laeufeGesamt;
    }
    if (angehalten && !aktuell.text.isEmpty()) {
        // What was read so far is kept: close the paragraph now.
        aktuell.ausrichtung = oben().ausrichtung;
        modell.absaetze.push_back(std::move(aktuell));
        aktuell = Absatz();
    }
}

void Leser::absatzEnde()
{
    if (angehalten)
        return;
    halbesPaarSchliessen();
    if (qsizetype(modell.absaetze.size()) >= g.absaetze) {
        gekuerzt = angehalten = fertig = true;
        return;
    }
    aktuell.ausrichtung = oben().ausrichtung;
    aktuell.marke = aufgeloest();
    modell.absaetze.push_back(std::move(aktuell));
    aktuell = Absatz();
}

void Leser::stilAbschliessen()
{
    stilOffen = false;
    if (!stilFuerAbsatz)
        return;
    if (absatzstile.size() >= g.tabelleneintraege && !absatzstile.contains(stilNummer))
        return;
    absatzstile.insert(stilNummer, stil); // a later duplicate wins
}

// A style without an alignment of its own takes that of the style it is
// based on; the chain is followed a bounded number of steps, so a cycle ends.
Qt::Alignment Leser::stilAusrichtung(int nummer) const
{
    for (int schritte = 0; schritte < 32; ++schritte) {
        const auto it = absatzstile.constFind(nummer);
        if (it == absatzstile.constEnd())
            break;
        if (it->hatAusrichtung)
            return it->ausrichtung;
        nummer = it->basis;
    }
    return Qt::AlignLeft;
}

void Leser::eintragAbschliessen()
{
    pufferLeeren();
    // A high surrogate at the end of a name must not pair with the body.
    halbesPaarSchliessen();
    eintragOffen = false;
    if (schriften.size() >= g.tabelleneintraege && !schriften.contains(eintragId))
        return;
    Schrift schrift;
    schrift.familie = familieIndex(eintragName.trimmed().left(maxSchriftname));
    schrift.codepage = eintragCodepage();
    schriften.insert(eintragId, schrift); // a later duplicate wins
    eintragName.clear();
}

void Leser::farbeAbschliessen()
{
    if (qsizetype(farben.size()) < g.tabelleneintraege) {
        Farbe farbe;
        farbe.automatisch = rot < 0 && gruen < 0 && blau < 0;
        farbe.rgb = qRgb(std::max(rot, 0), std::max(gruen, 0), std::max(blau, 0));
        farben.push_back(farbe);
    }
    rot = gruen = blau = -1;
}

int Leser::eintragCodepage() const
{
    int codepage = dokumentCodepage;
    if (eintragZeichensatz >= 0)
        codepage = codepageVonZeichensatz(eintragZeichensatz);
    else if (eintragCpg > 0)
        codepage = eintragCpg;
    return codepage == dokumentCodepage ? dokCodepage : codepage;
}

int Leser::aktiveCodepage() const
{
    const auto it = schriften.constFind(oben().schrift);
    if (it != schriften.constEnd() && it->codepage != dokumentCodepage)
        return it->codepage;
    return dokCodepage;
}

void Leser::setzeDokumentCodepage(int codepage)
{
    dokCodepage = dekodierer.bekannt(codepage) ? codepage : 1252;
}

int Leser::familieIndex(const QString &name)
{
    if (name.isEmpty())
        return -1;
    const auto it = familienIndex.constFind(name);
    if (it != familienIndex.constEnd())
        return *it;
    const int index = int(modell.familien.size());
    modell.familien.append(name);
    familienIndex.insert(name, index);
    return index;
}

Format Leser::aufgeloest() const
{
    const Zustand &z = oben();
    Format f;
    const auto schrift = schriften.constFind(z.schrift);
    if (schrift != schriften.constEnd())
        f.familie = schrift->familie;
    f.halbpunkte = z.halbpunkte;
    f.fett = z.fett;
    f.kursiv = z.kursiv;
    f.unterstrichen = z.unterstrichen;
    f.durchgestrichen = z.durchgestrichen;
    f.hoehe = z.hoehe;
    if (z.farbe > 0 && size_t(z.farbe) < farben.size() && !farben[size_t(z.farbe)].automatisch)
        f.farbe = farben[size_t(z.farbe)].rgb;
    return f;
}

QTextCharFormat zeichenformat(const Format &f, const QStringList &familien)
{
    QTextCharFormat format;
    if (f.familie >= 0)
        format.setFontFamilies({familien.at(f.familie)});
    format.setFontPointSize(f.halbpunkte / 2.0);
    format.setFontWeight(f.fett ? QFont::Bold : QFont::Normal);
    format.setFontItalic(f.kursiv);
    format.setFontUnderline(f.unterstrichen);
    format.setFontStrikeOut(f.durchgestrichen);
    if (f.hoehe == Hoehe::Hoch)
        format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (f.hoehe == Hoehe::Tief)
        format.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    if (f.farbe >= 0)
        format.setForeground(QColor::fromRgb(QRgb(f.farbe)));
    return format;
}

size_t formatSchluessel(const Format &f)
{
    return qHashMulti(0, f.familie, f.halbpunkte, f.fett, f.kursiv, f.unterstrichen,
                      f.durchgestrichen, int(f.hoehe), f.farbe);
}

void aufbauen(const Modell &modell, QTextDocument &dokument)
{
    // Converting a run's format once per distinct format, not once per run,
    // lets the document find it again by its cached hash.
    std::unordered_multimap<size_t, std::pair<Format, QTextCharFormat>> formate;
    auto zeichenformatFuer = [&](const Format &f) -> const QTextCharFormat & {
        const size_t schluessel = formatSchluessel(f);
        auto [anfang, ende] = formate.equal_range(schluessel);
        for (auto it = anfang; it != ende; ++it) {
            if (it->second.first == f)
                return it->second.second;
        }
        return formate.emplace(schluessel, std::make_pair(f, zeichenformat(f, modell.familien)))
            ->second.second;
    };

    // A loaded file is not an edit that could be undone step by step.
    const bool rueckgaengig = dokument.isUndoRedoEnabled();
    dokument.setUndoRedoEnabled(false);
    dokument.clear();
    QTextCursor cursor(&dokument);
    cursor.beginEditBlock();
    bool erster = true;
    for (const Absatz &absatz : modell.absaetze) {
        QTextBlockFormat blockformat;
        blockformat.setAlignment(absatz.ausrichtung);
        const QTextCharFormat &absatzformat =
            zeichenformatFuer(absatz.laeufe.empty() ? absatz.marke : absatz.laeufe.front().format);
        if (erster) {
            cursor.setBlockFormat(blockformat);
            cursor.setBlockCharFormat(absatzformat);
            erster = false;
        } else {
            cursor.insertBlock(blockformat, absatzformat);
        }
        qsizetype anfang = 0;
        for (const Lauf &lauf : absatz.laeufe) {
            cursor.insertText(absatz.text.mid(anfang, lauf.laenge), zeichenformatFuer(lauf.format));
            anfang += lauf.laenge;
        }
    }
    cursor.endEditBlock();
    dokument.setUndoRedoEnabled(rueckgaengig);
}

} // namespace

bool rtfLesen(const QByteArray &rtf, QTextDocument &dokument, QString *fehler,
              const rtf::Grenzen &grenzen)
{
    if (rtf.size() > grenzen.eingabeBytes) {
        if (fehler)
            *fehler = QStringLiteral("Die Datei ist zu groß (mehr als %1 MiB).")
                          .arg(double(grenzen.eingabeBytes) / (1024 * 1024));
        return false;
    }
    Leser leser(rtf, grenzen);
    if (!leser.lesen()) {
        if (fehler)
            *fehler = leser.fehler;
        return false;
    }
    aufbauen(leser.modell, dokument);
    if (fehler) {
        if (leser.gekuerzt)
            *fehler = QStringLiteral(
                "Die Datei überschreitet eine Grenze des Lesers und wurde nur teilweise gelesen.");
        else
            fehler->clear();
    }
    return true;
}

} // namespace varo
