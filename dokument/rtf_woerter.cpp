#include "rtf_leser.h"

#include <algorithm>

// The control words the reader acts on, by destination: those that mean the
// same everywhere, those of the tables, the character format, and the
// paragraphs with their breaks.

namespace varo::rtf {

// Words that mean the same in every destination; false for the others.
bool Leser::allgemeinesWort(const WortInfo &info, bool hatParameter, int parameter)
{
    Zustand &z = oben();
    switch (info.wort) {
    case Wort::U:
        if (!hatParameter || parameter == 0 || parameter < -32768 || parameter > 65535)
            return true;
        unicode(char16_t(parameter < 0 ? parameter + 65536 : parameter));
        ausstehend = z.uc;
        return true;
    case Wort::Uc:
        z.uc = std::clamp(hatParameter ? parameter : 1, 0, 10);
        return true;
    case Wort::Ziel:
        if (innen())
            z.ziel = Ziel::Ueberspringen;
        return true;
    case Wort::Fonttbl:
        if (innen()) {
            z.ziel = Ziel::Schrifttabelle;
            tabellen.eintrag.offen = false;
        }
        return true;
    case Wort::Colortbl:
        if (innen()) {
            z.ziel = Ziel::Farbtabelle;
            tabellen.farbtabelleBeginnen();
        }
        return true;
    case Wort::Ansi:
    case Wort::Mac:
    case Wort::Pc:
    case Wort::Pca:
        setzeDokumentCodepage(info.wort == Wort::Ansi  ? 1252
                              : info.wort == Wort::Mac ? 10000
                              : info.wort == Wort::Pc  ? 437
                                                       : 850);
        return true;
    case Wort::Ansicpg:
        setzeDokumentCodepage(parameter < 0 ? parameter + 65536 : parameter);
        return true;
    case Wort::Deff:
        standardSchrift = hatParameter ? parameter : 0;
        if (z.ziel == Ziel::Text)
            z.schrift = standardSchrift;
        return true;
    default:
        return false;
    }
}

void Leser::tabellenWort(const WortInfo &info, bool hatParameter, int parameter)
{
    switch (oben().ziel) {
    case Ziel::Schrifttabelle:
        if (info.wort == Wort::F && tabellen.eintrag.offen)
            eintragAbschliessen();
        tabellen.schriftWort(info, parameter, stapel.size());
        break;
    case Ziel::Formatvorlagen:
        tabellen.stilWort(info, hatParameter, parameter);
        break;
    case Ziel::Farbtabelle:
        tabellen.farbWort(info.wort, parameter);
        break;
    case Ziel::Text:
    case Ziel::Ueberspringen:
        break;
    }
}

// The character format in the text; false for other words.
bool Leser::zeichenformatWort(const WortInfo &info, bool hatParameter, int parameter)
{
    Zustand &z = oben();
    const bool an = !hatParameter || parameter != 0;
    switch (info.wort) {
    case Wort::Plain:
        z.schrift = standardSchrift;
        z.halbpunkte = standardHalbpunkte;
        z.fett = z.kursiv = z.unterstrichen = z.durchgestrichen = z.versteckt = false;
        z.hervorgehoben = false;
        z.hoehe = Hoehe::Normal;
        z.farbe = 0;
        return true;
    case Wort::F:
        // An undeclared font keeps the current one.
        if (tabellen.schrift(parameter))
            z.schrift = parameter;
        return true;
    case Wort::Fs:
        z.halbpunkte = hatParameter ? std::clamp(parameter, 2, 3276) : standardHalbpunkte;
        return true;
    case Wort::B:
        z.fett = an;
        return true;
    case Wort::I:
        z.kursiv = an;
        return true;
    case Wort::Ul:
    case Wort::UlAn:
        z.unterstrichen = an;
        return true;
    case Wort::Ulnone:
        z.unterstrichen = false;
        return true;
    case Wort::Strike:
        z.durchgestrichen = an;
        return true;
    case Wort::Super:
    case Wort::Sub:
    case Wort::Nosupersub:
        z.hoehe = info.wort == Wort::Super ? Hoehe::Hoch
                  : info.wort == Wort::Sub ? Hoehe::Tief
                                           : Hoehe::Normal;
        return true;
    case Wort::Up:
        z.hoehe = (hatParameter ? parameter : 6) > 0 ? Hoehe::Hoch : Hoehe::Normal;
        return true;
    case Wort::Dn:
        z.hoehe = (hatParameter ? parameter : 6) > 0 ? Hoehe::Tief : Hoehe::Normal;
        return true;
    case Wort::Cf:
        z.farbe = hatParameter ? parameter : 0;
        return true;
    case Wort::V:
        z.versteckt = an;
        return true;
    case Wort::Hervorhebung:
        z.hervorgehoben = hatParameter && parameter > 0;
        return true;
    default:
        return false;
    }
}

// Paragraphs, breaks and the characters words stand for; false for words
// the reader does not act on.
bool Leser::absatzWort(const WortInfo &info, bool hatParameter, int parameter)
{
    Zustand &z = oben();
    switch (info.wort) {
    case Wort::Stylesheet:
        if (innen()) {
            z.ziel = Ziel::Formatvorlagen;
            tabellen.stilTabelleTiefe = stapel.size();
            tabellen.stilOffen = false;
        }
        return true;
    case Wort::Pard:
        // Back to the defaults, which are those of style 0.
        z.ausrichtung = tabellen.stilAusrichtung(0);
        z.ausrichtungGenannt = false;
        z.inTabelle = false;
        return true;
    case Wort::S:
        // The style's alignment, unless the paragraph names its own (some
        // writers put \q before \s, others after it).
        if (!z.ausrichtungGenannt)
            z.ausrichtung = tabellen.stilAusrichtung(hatParameter ? parameter : 0);
        return true;
    case Wort::Ql:
    case Wort::Qc:
    case Wort::Qr:
    case Wort::Qj:
        z.ausrichtung = info.wort == Wort::Qc   ? Qt::AlignHCenter
                        : info.wort == Wort::Qr ? Qt::AlignRight
                        : info.wort == Wort::Qj ? Qt::AlignJustify
                                                : Qt::AlignLeft;
        z.ausrichtungGenannt = true;
        return true;
    case Wort::Par:
        absatzEnde();
        if (!oben().inTabelle)
            buch.tabelleOffen = false;
        return true;
    case Wort::Umbruch:
    case Wort::Seite:
    case Wort::Tabellenzeile:
        // A page, section or row break ends a paragraph, but adds no empty one.
        if (!aufbau.absatzText().isEmpty())
            absatzEnde();
        buch.umbruchOffen = buch.umbruchOffen || info.wort == Wort::Seite;
        return true;
    case Wort::Line:
        senke(u"\u2028");
        return true;
    case Wort::Tab:
    case Wort::Cell:
        senke(u"\t");
        return true;
    case Wort::Zeichen:
        senke(QStringView(&info.zeichen, 1));
        return true;
    default:
        gliederungsWort(info, parameter);
        return false; // unknown words are ignored, parameter and all
    }
}

// Tables, lists and page breaks the report box has no form for: noted for
// what was left out.
void Leser::gliederungsWort(const WortInfo &info, int parameter)
{
    switch (info.wort) {
    case Wort::Zeilenformat:
    case Wort::InTabelle:
        if (info.wort == Wort::InTabelle)
            oben().inTabelle = true;
        if (!buch.tabelleOffen)
            ++buch.zaehler.tabellen;
        buch.tabelleOffen = true;
        break;
    case Wort::Listenabsatz:
        if (parameter > 0)
            buch.listenabsatz = true;
        break;
    case Wort::Seitenumbruch:
        buch.umbruchOffen = true;
        break;
    default:
        break;
    }
}

} // namespace varo::rtf
