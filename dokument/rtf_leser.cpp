#include "rtf_leser.h"

#include <QTextDocument>

#include <algorithm>

// How the reader works: the tokenizer hands over one token per step; groups
// push a copy of the current state onto a vector and pop it again, never
// recursing; what a group means (text, font table, colour table, something
// to skip) is part of that state. Text bytes are buffered and decoded in one
// go with the code page of the current font, so double-byte code pages work.
// The builder collects paragraphs of runs and fills the document only when
// the whole file has been read, so a failure leaves it untouched.

namespace varo::rtf {

bool Leser::lesen()
{
    if (!zerleger.kopfGefunden()) {
        fehler = QStringLiteral("Die Datei ist keine RTF-Datei.");
        return false;
    }
    stapel.reserve(64);
    stapel.emplace_back(); // the state outside every group
    while (!zerleger.amEnde() && !fertig && !angehalten())
        token(zerleger.naechstes());

    pufferLeeren();
    halbesPaarSchliessen();
    if (!aufbau.absatzText().isEmpty() && !angehalten())
        absatzEnde();
    if (buch.umbruchOffen) // a page break after the last paragraph
        ++buch.zaehler.seitenumbrueche;
    if (modell().absaetze.empty() && !geschlossen) {
        fehler = QStringLiteral("Die RTF-Datei ist unvollständig und enthält keinen Text.");
        return false;
    }
    return true;
}

void Leser::token(const Token &t)
{
    switch (t.art) {
    case Token::Art::GruppeAuf:
        gruppeAuf();
        break;
    case Token::Art::GruppeZu:
        gruppeZu();
        break;
    case Token::Art::Wort:
        wort(t);
        break;
    case Token::Art::Symbol:
        if (!uebergangen())
            symbol(t.zeichen);
        break;
    case Token::Art::Hex:
        if (!uebergangen() && t.parameter >= 0)
            bytePuffern(char(t.parameter));
        break;
    case Token::Art::Text:
        if (!uebergangen())
            textbyte(t.zeichen);
        break;
    case Token::Art::Nichts:
        break;
    }
}

void Leser::gruppeAuf()
{
    ausstehend = 0;
    if (ueberTiefe > 0 || stapel.size() > size_t(std::max(g.gruppentiefe, 1))) {
        ++ueberTiefe;
        aufbau.kuerzen(); // content is lost, reading goes on
        return;
    }
    pufferLeeren();
    stapel.push_back(stapel.back());
    if (oben().ziel == Ziel::Formatvorlagen && stapel.size() == tabellen.stilTabelleTiefe + 1) {
        tabellen.stilBeginnen();
        tabellen.stilEintragTiefe = stapel.size();
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
    if (tabellen.eintrag.offen && oben().ziel == Ziel::Schrifttabelle &&
        stapel.size() <= tabellen.eintrag.tiefe)
        eintragAbschliessen();
    if (tabellen.stilOffen && stapel.size() == tabellen.stilEintragTiefe)
        tabellen.stilAbschliessen();
    stapel.pop_back();
    if (stapel.size() == 1) {
        geschlossen = true;
        fertig = true;
    }
}

// The skip guard, the same for every token but braces: what stands in a
// group past the depth limit, a fallback unit still owed after \u, and
// anything in a skipped destination is passed over.
bool Leser::uebergangen()
{
    if (ueberTiefe > 0)
        return true;
    if (ausstehend > 0) {
        --ausstehend;
        return true;
    }
    return oben().ziel == Ziel::Ueberspringen;
}

void Leser::wort(const Token &t)
{
    const WortInfo info = wortSuchen(t.name);
    if (ueberTiefe == 0)
        inhaltVermerken(info);
    if (uebergangen() || info.wort == Wort::Bin)
        return; // binary data was passed over by the tokenizer
    pufferLeeren();
    if (allgemeinesWort(info, t.hatParameter, t.parameter))
        return;
    if (oben().ziel != Ziel::Text)
        tabellenWort(info, t.hatParameter, t.parameter);
    else if (!zeichenformatWort(info, t.hatParameter, t.parameter))
        absatzWort(info, t.hatParameter, t.parameter);
}

// Pictures and list markers stand in groups the reader skips; they are
// noted before the skip guard. A picture's stand-in for readers that cannot
// draw the first one is the same picture and not counted again.
void Leser::inhaltVermerken(const WortInfo &info)
{
    switch (info.inhalt) {
    case Inhalt::Bild:
        if (!oben().ersatzbild)
            ++buch.zaehler.bilder;
        break;
    case Inhalt::Ersatzbild:
        oben().ersatzbild = true;
        break;
    case Inhalt::Listenzeichen:
        buch.listenabsatz = true;
        break;
    case Inhalt::Sonstiges:
        break;
    }
}

void Leser::symbol(char zeichen)
{
    switch (zeichen) {
    case '\\':
    case '{':
    case '}':
        bytePuffern(zeichen);
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

void Leser::textbyte(char byte)
{
    if (byte == ';') {
        if (oben().ziel == Ziel::Schrifttabelle) {
            pufferLeeren();
            if (tabellen.eintrag.offen)
                eintragAbschliessen();
            return;
        }
        if (oben().ziel == Ziel::Farbtabelle) {
            tabellen.farbeAbschliessen();
            return;
        }
    }
    bytePuffern(byte);
}

void Leser::bytePuffern(char byte)
{
    constexpr qsizetype maxSchriftnameBytes = qsizetype{4} * maxSchriftname;
    switch (oben().ziel) {
    case Ziel::Text:
        puffer += byte;
        break;
    case Ziel::Schrifttabelle:
        if (tabellen.eintrag.offen && puffer.size() < maxSchriftnameBytes)
            puffer += byte;
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
    const int codepage = oben().ziel == Ziel::Schrifttabelle ? tabellen.eintragCodepage(dokCodepage)
                                                             : aktiveCodepage();
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
        QString &name = tabellen.eintrag.name;
        if (tabellen.eintrag.offen && name.size() < maxSchriftname) {
            name += text.left(maxSchriftname - name.size());
            // A cut through a surrogate pair would leave half a character.
            if (name.size() == maxSchriftname && name.back().isHighSurrogate())
                name.chop(1);
        }
        return;
    }
    if (z.ziel != Ziel::Text || z.versteckt || angehalten())
        return;
    if (z.hervorgehoben && !buch.letzteHervorgehoben && !text.isEmpty())
        ++buch.zaehler.hervorhebungen;
    buch.letzteHervorgehoben = z.hervorgehoben;
    aufbau.anhaengen(text, aufgeloest(), z.ausrichtung);
}

void Leser::absatzEnde()
{
    if (angehalten())
        return;
    halbesPaarSchliessen();
    buch.absatzEnde(aufbau.absatzText());
    aufbau.absatzEnde(oben().ausrichtung, aufgeloest());
}

void Leser::eintragAbschliessen()
{
    pufferLeeren();
    // A high surrogate at the end of a name must not pair with the body.
    halbesPaarSchliessen();
    tabellen.schriftAbschliessen(dokCodepage, [this](const QString &name) {
        return aufbau.familieIndex(name, tabellen.eintrag.klasse);
    });
}

int Leser::aktiveCodepage() const
{
    const Schrift *schrift = tabellen.schrift(oben().schrift);
    if (schrift && schrift->codepage != dokumentCodepage)
        return schrift->codepage;
    return dokCodepage;
}

void Leser::setzeDokumentCodepage(int codepage)
{
    dokCodepage = dekodierer.bekannt(codepage) ? codepage : 1252;
}

Format Leser::aufgeloest() const
{
    const Zustand &z = oben();
    Format f;
    if (const Schrift *schrift = tabellen.schrift(z.schrift))
        f.familie = schrift->familie;
    f.halbpunkte = z.halbpunkte;
    f.fett = z.fett;
    f.kursiv = z.kursiv;
    f.unterstrichen = z.unterstrichen;
    f.durchgestrichen = z.durchgestrichen;
    f.hoehe = z.hoehe;
    if (const Farbe *farbe = tabellen.farbe(z.farbe); farbe && !farbe->automatisch)
        f.farbe = farbe->rgb;
    return f;
}

namespace {

QString anzahl(int n, const char *einzahl, const char *mehrzahl)
{
    return QString::number(n) + QLatin1Char(' ') + QString::fromUtf8(n == 1 ? einzahl : mehrzahl);
}

} // namespace

QString auslassungenText(const Auslassungen &a)
{
    QStringList teile;
    if (a.bilder > 0)
        teile << anzahl(a.bilder, "Bild", "Bilder");
    if (a.tabellen > 0)
        teile << anzahl(a.tabellen, "Tabelle", "Tabellen") +
                     QStringLiteral(" (nur ihr Text, Zellen durch Tabulatoren getrennt)");
    if (a.aufzaehlungen > 0)
        teile << anzahl(a.aufzaehlungen, "Aufzählungszeichen", "Aufzählungszeichen");
    if (a.hervorhebungen > 0)
        teile << anzahl(a.hervorhebungen, "Hervorhebung", "Hervorhebungen");
    if (a.seitenumbrueche > 0)
        teile << anzahl(a.seitenumbrueche, "Seitenumbruch", "Seitenumbrüche");
    if (teile.isEmpty())
        return {};
    return QStringLiteral("Nicht übernommen: ") + teile.join(QStringLiteral(", ")) +
           QLatin1Char('.');
}

} // namespace varo::rtf

namespace varo {

bool rtfLesen(const QByteArray &rtf, QTextDocument &dokument, QString *fehler,
              const rtf::Grenzen &grenzen, rtf::Auslassungen *ausgelassen)
{
    if (ausgelassen)
        *ausgelassen = {};
    if (rtf.size() > grenzen.eingabeBytes) {
        if (fehler)
            *fehler = QStringLiteral("Die Datei ist zu groß (mehr als %1 MiB).")
                          .arg(double(grenzen.eingabeBytes) / (1024 * 1024));
        return false;
    }
    rtf::Leser leser(rtf, grenzen);
    if (!leser.lesen()) {
        if (fehler)
            *fehler = leser.fehler;
        return false;
    }
    dokumentFuellen(leser.modell(), dokument);
    if (ausgelassen)
        *ausgelassen = leser.ausgelassen();
    if (fehler) {
        if (leser.gekuerzt())
            *fehler = QStringLiteral(
                "Die Datei überschreitet eine Grenze des Lesers und wurde nur teilweise gelesen.");
        else
            fehler->clear();
    }
    return true;
}

} // namespace varo
