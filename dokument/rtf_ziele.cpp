#include "rtf_ziele.h"

#include <algorithm>

namespace varo::rtf {

namespace {

using Tabelle = std::unordered_map<std::string_view, WortInfo>;

void formatwoerter(Tabelle &t)
{
    t.insert({{"ansi", {Wort::Ansi}},
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
              {"highlight", {Wort::Hervorhebung}},
              {"cb", {Wort::Hervorhebung}},
              {"chcbpat", {Wort::Hervorhebung}},
              {"u", {Wort::U}},
              {"uc", {Wort::Uc}},
              {"bin", {Wort::Bin}}});
    for (const char *w :
         {"uld", "uldb", "ulw", "ulwave", "ulth", "uldash", "uldashd", "uldashdd", "ulhwave",
          "ulldash", "ulthd", "ulthdash", "ulthdashd", "ulthdashdd", "ulthldash", "ululdbwave"})
        t.emplace(w, WortInfo{Wort::UlAn});
    const auto klasse = [&t](const char *w, Schriftklasse k) {
        t.emplace(w, WortInfo{Wort::Schriftklasse, 0, Inhalt::Sonstiges, k});
    };
    klasse("fswiss", Schriftklasse::Serifenlos);
    klasse("froman", Schriftklasse::Serif);
    klasse("fmodern", Schriftklasse::Fest);
}

void absatzwoerter(Tabelle &t)
{
    t.insert({{"pard", {Wort::Pard}},
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
              {"page", {Wort::Seite}},
              {"sect", {Wort::Umbruch}},
              {"row", {Wort::Tabellenzeile}},
              {"trowd", {Wort::Zeilenformat}},
              {"intbl", {Wort::InTabelle}},
              {"ls", {Wort::Listenabsatz}},
              {"pagebb", {Wort::Seitenumbruch}}});
    const auto zeichen = [&t](const char *w, char16_t c) {
        t.emplace(w, WortInfo{Wort::Zeichen, c});
    };
    zeichen("emdash", 0x2014);
    zeichen("endash", 0x2013);
    zeichen("bullet", 0x2022);
    zeichen("lquote", 0x2018);
    zeichen("rquote", 0x2019);
    zeichen("ldblquote", 0x201C);
    zeichen("rdblquote", 0x201D);
    zeichen("emspace", 0x2003);
    zeichen("enspace", 0x2002);
    zeichen("qmspace", 0x2005);
}

// Destinations whose content is no text of the document.
void zielwoerter(Tabelle &t)
{
    for (const char *w : {"info",      "object",
                          "header",    "headerl",
                          "headerr",   "headerf",
                          "footer",    "footerl",
                          "footerr",   "footerf",
                          "footnote",  "annotation",
                          "fldinst",   "pn",
                          "listtable", "listoverridetable",
                          "themedata", "colorschememapping",
                          "datastore", "latentstyles",
                          "rsidtbl",   "xmlnstbl",
                          "mmathPr",   "pgdsctbl",
                          "generator", "filetbl",
                          "revtbl",    "shp",
                          "xe",        "tc",
                          "atnid",     "atnauthor",
                          "bkmkstart", "bkmkend",
                          "template",  "userprops"})
        t.emplace(w, WortInfo{Wort::Ziel});
    t.emplace("pict", WortInfo{Wort::Ziel, 0, Inhalt::Bild});
    // The picture again, for readers that cannot draw the first one.
    t.emplace("nonshppict", WortInfo{Wort::Ziel, 0, Inhalt::Ersatzbild});
    t.emplace("shprslt", WortInfo{Wort::Unbekannt, 0, Inhalt::Ersatzbild});
    // The bullet or number of a list paragraph.
    t.emplace("pntext", WortInfo{Wort::Ziel, 0, Inhalt::Listenzeichen});
    t.emplace("listtext", WortInfo{Wort::Ziel, 0, Inhalt::Listenzeichen});
}

const Tabelle &woerterbuch()
{
    static const Tabelle tabelle = [] {
        Tabelle t;
        formatwoerter(t);
        absatzwoerter(t);
        zielwoerter(t);
        return t;
    }();
    return tabelle;
}

} // namespace

WortInfo wortSuchen(std::string_view name)
{
    if (name.empty())
        return {};
    const Tabelle &tabelle = woerterbuch();
    const auto treffer = tabelle.find(name);
    return treffer == tabelle.end() ? WortInfo{} : treffer->second;
}

int codepageVonZeichensatz(int zeichensatz)
{
    static const std::unordered_map<int, int> tabelle{
        {0, 1252},
        {1, dokumentCodepage}, // 2, Symbol: the bytes are glyph numbers, shown as they
                               // are
        {2, 1252},
        {77, 10000},
        {128, 932},
        {129, 949},
        {134, 936},
        {136, 950},
        {161, 1253},
        {162, 1254},
        {163, 1258},
        {177, 1255},
        {178, 1256},
        {186, 1257},
        {204, 1251},
        {222, 874},
        {238, 1250},
        {255, 850}};
    const auto it = tabelle.find(zeichensatz);
    return it == tabelle.end() ? dokumentCodepage : it->second;
}

void Dekodierer::anhaengen(int codepage, const QByteArray &bytes, QString &ziel)
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

namespace {

// A converter for the code page by the names Qt may know it by, or null.
std::unique_ptr<QStringDecoder> neuerKonverter(int codepage)
{
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
        auto kandidat =
            std::make_unique<QStringDecoder>(name.constData(), QStringConverter::Flag::Stateless);
        if (kandidat->isValid())
            return kandidat;
    }
    return nullptr;
}

} // namespace

// Found and missing converters alike are remembered, up to 64 code pages.
QStringDecoder *Dekodierer::konverter(int codepage)
{
    const auto it = cache.find(codepage);
    if (it != cache.end())
        return it->second.get();
    if (cache.size() >= 64)
        return nullptr;
    std::unique_ptr<QStringDecoder> d = codepage > 0 ? neuerKonverter(codepage) : nullptr;
    QStringDecoder *zeiger = d.get();
    cache.emplace(codepage, std::move(d));
    return zeiger;
}

void Tabellen::schriftWort(const WortInfo &info, int parameter, size_t tiefe)
{
    switch (info.wort) {
    case Wort::F:
        eintrag = Schrifteintrag();
        eintrag.offen = true;
        eintrag.id = parameter;
        eintrag.tiefe = tiefe;
        break;
    case Wort::Fcharset:
        eintrag.zeichensatz = parameter;
        break;
    case Wort::Cpg:
        eintrag.cpg = parameter;
        break;
    case Wort::Schriftklasse:
        eintrag.klasse = info.klasse;
        break;
    default:
        break;
    }
}

void Tabellen::schriftAbschliessen(int dokCodepage,
                                   const std::function<int(const QString &)> &familieIndex)
{
    eintrag.offen = false;
    if (schriften.size() >= grenze && !schriften.contains(eintrag.id)) {
        voll = true;
        return;
    }
    Schrift schrift;
    schrift.familie = familieIndex(eintrag.name.trimmed().left(maxSchriftname));
    schrift.codepage = eintragCodepage(dokCodepage);
    schrift.klasse = eintrag.klasse;
    schriften.insert(eintrag.id, schrift); // a later duplicate wins
    eintrag.name.clear();
}

int Tabellen::eintragCodepage(int dokCodepage) const
{
    int codepage = dokumentCodepage;
    if (eintrag.zeichensatz >= 0)
        codepage = codepageVonZeichensatz(eintrag.zeichensatz);
    else if (eintrag.cpg > 0)
        codepage = eintrag.cpg;
    return codepage == dokumentCodepage ? dokCodepage : codepage;
}

const Schrift *Tabellen::schrift(int id) const
{
    const auto it = schriften.constFind(id);
    return it == schriften.constEnd() ? nullptr : &*it;
}

void Tabellen::farbtabelleBeginnen()
{
    farben.clear();
    rot = gruen = blau = -1;
}

void Tabellen::farbWort(Wort wort, int parameter)
{
    const int komponente = std::clamp(parameter, 0, 255);
    if (wort == Wort::Red)
        rot = komponente;
    else if (wort == Wort::Green)
        gruen = komponente;
    else if (wort == Wort::Blue)
        blau = komponente;
}

void Tabellen::farbeAbschliessen()
{
    if (qsizetype(farben.size()) < grenze) {
        Farbe farbe;
        farbe.automatisch = rot < 0 && gruen < 0 && blau < 0;
        farbe.rgb = qRgb(std::max(rot, 0), std::max(gruen, 0), std::max(blau, 0));
        farben.push_back(farbe);
    } else {
        voll = true;
    }
    rot = gruen = blau = -1;
}

const Farbe *Tabellen::farbe(int index) const
{
    if (index <= 0 || size_t(index) >= farben.size())
        return nullptr;
    return &farben[size_t(index)];
}

void Tabellen::stilBeginnen()
{
    stilOffen = true;
    stilNummer = 0; // a style without \s is style 0
    stilFuerAbsatz = true;
    stil = Absatzstil();
}

void Tabellen::stilWort(const WortInfo &info, bool hatParameter, int parameter)
{
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
}

void Tabellen::stilAbschliessen()
{
    stilOffen = false;
    if (!stilFuerAbsatz)
        return;
    if (absatzstile.size() >= grenze && !absatzstile.contains(stilNummer)) {
        voll = true;
        return;
    }
    absatzstile.insert(stilNummer, stil); // a later duplicate wins
}

// A style without an alignment of its own takes that of the style it is
// based on; the chain is followed a bounded number of steps, so a cycle ends.
Qt::Alignment Tabellen::stilAusrichtung(int nummer) const
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

} // namespace varo::rtf
