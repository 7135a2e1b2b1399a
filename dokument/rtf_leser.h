#pragma once

// The reader's state machine, fed token by token: the group stack, the
// skip guard, the text buffer and the words acted on. The words are in
// rtf_woerter.cpp, the rest in rtf_leser.cpp.

#include "rtf.h"
#include "rtf_aufbau.h"
#include "rtf_zerleger.h"
#include "rtf_ziele.h"
#include "seitenbild.h"

#include <vector>

// How the reader works: the tokenizer hands over one token per step; groups
// push a copy of the current state onto a vector and pop it again, never
// recursing; what a group means (text, font table, colour table, something
// to skip) is part of that state. Text bytes are buffered and decoded in one
// go with the code page of the current font, so double-byte code pages work.
// The builder collects paragraphs of runs and fills the document only when
// the whole file has been read, so a failure leaves it untouched.

namespace varo::rtf {

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
    bool hervorgehoben = false;
    Hoehe hoehe = Hoehe::Normal;
    int farbe = 0;
    Qt::Alignment ausrichtung = Qt::AlignLeft;
    bool ausrichtungGenannt = false; // a \q word since \pard
    bool inTabelle = false;          // \intbl since \pard
    bool ersatzbild = false;         // inside a picture's stand-in for other readers
    int uc = 1;
    Ziel ziel = Ziel::Text;
};

// Tracks what the document had that the report box does not keep.
struct Auslassungsbuch
{
    Auslassungen zaehler;
    bool tabelleOffen = false;
    bool listenabsatz = false;
    bool umbruchOffen = false; // a page break before the paragraph being read
    bool letzteHervorgehoben = false;

    // At the end of a paragraph: a page break before a page label is where
    // the program breaks the page itself, so nothing is lost with it.
    void absatzEnde(const QString &text)
    {
        if (umbruchOffen && !seitenbild::istSeitenzeile(text))
            ++zaehler.seitenumbrueche;
        if (listenabsatz)
            ++zaehler.aufzaehlungen;
        umbruchOffen = listenabsatz = letzteHervorgehoben = false;
    }
};

class Leser
{
public:
    Leser(const QByteArray &eingabe, const Grenzen &grenzen)
        : g(grenzen), zerleger(eingabe.constData(), eingabe.size()),
          tabellen(grenzen.tabelleneintraege), aufbau(grenzen)
    {
    }

    // Returns false when the input is no usable RTF; fehler then says why.
    bool lesen();
    bool gekuerzt() const { return aufbau.gekuerzt() || tabellen.voll; }
    Modell &modell() { return aufbau.modell; }
    const Auslassungen &ausgelassen() const { return buch.zaehler; }

    QString fehler;

private:
    void token(const Token &t);
    void gruppeAuf();
    void gruppeZu();
    bool uebergangen();
    void wort(const Token &t);
    void inhaltVermerken(const WortInfo &info);
    bool allgemeinesWort(const WortInfo &info, bool hatParameter, int parameter);
    void tabellenWort(const WortInfo &info, bool hatParameter, int parameter);
    bool zeichenformatWort(const WortInfo &info, bool hatParameter, int parameter);
    bool absatzWort(const WortInfo &info, bool hatParameter, int parameter);
    void gliederungsWort(const WortInfo &info, int parameter);
    void symbol(char zeichen);
    void textbyte(char byte);
    void bytePuffern(char byte);

    void pufferLeeren();
    void senke(QStringView text);
    void halbesPaarSchliessen();
    void ausgeben(QStringView text);
    void unicode(char16_t einheit);
    void absatzEnde();
    void eintragAbschliessen();
    int aktiveCodepage() const;
    Format aufgeloest() const;
    void setzeDokumentCodepage(int codepage);
    bool innen() const { return stapel.size() > 2; } // inside a group below the root
    bool angehalten() const { return aufbau.angehalten(); }

    Zustand &oben() { return stapel.back(); }
    const Zustand &oben() const { return stapel.back(); }

    const Grenzen &g;
    Zerleger zerleger;
    std::vector<Zustand> stapel;
    int ueberTiefe = 0;  // groups opened beyond the depth limit
    int ausstehend = 0;  // fallback units still to skip after \u
    bool fertig = false; // the root group is closed or a limit is reached
    bool geschlossen = false;

    int dokCodepage = 1252;
    int standardSchrift = keineSchrift;
    Tabellen tabellen;
    Dekodierer dekodierer;

    QByteArray puffer;
    bool hochOffen = false;
    char16_t hochWert = 0;

    Aufbau aufbau;
    Auslassungsbuch buch;
};

} // namespace varo::rtf
