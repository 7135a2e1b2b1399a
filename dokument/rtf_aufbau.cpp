#include "rtf_aufbau.h"

#include <QColor>
#include <QFont>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <unordered_map>

namespace varo::rtf {

namespace {

// Control characters, paragraph separators and object placeholders would
// break the block structure of the document.
bool zulaessig(char16_t c)
{
    return !((c < 0x20 && c != u'\t') || (c >= 0x7F && c <= 0x9F) || c == 0x2029 || c == 0xFFFC ||
             c == 0xFEFF);
}

QTextCharFormat zeichenformat(const Format &f, const Modell &modell)
{
    QTextCharFormat format;
    if (f.familie >= 0)
        schriftSetzen(format, modell.familien.at(f.familie), modell.klassen.at(size_t(f.familie)));
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

// Converting a run's format once per distinct format, not once per run,
// lets the document find it again by its cached hash.
class Formate
{
public:
    explicit Formate(const Modell &modell) : modell(modell) {}

    const QTextCharFormat &fuer(const Format &f)
    {
        const size_t schluessel = formatSchluessel(f);
        auto [anfang, ende] = formate.equal_range(schluessel);
        for (auto it = anfang; it != ende; ++it) {
            if (it->second.first == f)
                return it->second.second;
        }
        return formate.emplace(schluessel, std::make_pair(f, zeichenformat(f, modell)))
            ->second.second;
    }

private:
    const Modell &modell;
    std::unordered_multimap<size_t, std::pair<Format, QTextCharFormat>> formate;
};

void absatzEinfuegen(QTextCursor &cursor, const Absatz &absatz, Formate &formate, bool erster)
{
    QTextBlockFormat blockformat;
    blockformat.setAlignment(absatz.ausrichtung);
    const QTextCharFormat &absatzformat =
        formate.fuer(absatz.laeufe.empty() ? absatz.marke : absatz.laeufe.front().format);
    if (erster) {
        cursor.setBlockFormat(blockformat);
        cursor.setBlockCharFormat(absatzformat);
    } else {
        cursor.insertBlock(blockformat, absatzformat);
    }
    qsizetype anfang = 0;
    for (const Lauf &lauf : absatz.laeufe) {
        cursor.insertText(absatz.text.mid(anfang, lauf.laenge), formate.fuer(lauf.format));
        anfang += lauf.laenge;
    }
}

} // namespace

void Aufbau::anhaengen(QStringView text, const Format &format, Qt::Alignment ausrichtung)
{
    if (m_angehalten)
        return;
    const qsizetype vorher = aktuell.text.size();
    const qsizetype neu = zeichenAnhaengen(text);
    if (neu > 0 && !laufAnhaengen(neu, format)) {
        aktuell.text.truncate(vorher);
        zeichenGesamt -= neu;
        anhalten();
    }
    if (m_angehalten && !aktuell.text.isEmpty()) {
        // What was read so far is kept: close the paragraph now.
        aktuell.ausrichtung = ausrichtung;
        modell.absaetze.push_back(std::move(aktuell));
        aktuell = Absatz();
    }
}

// The characters that are kept, as many as the limit allows; their count.
qsizetype Aufbau::zeichenAnhaengen(QStringView text)
{
    const qsizetype vorher = aktuell.text.size();
    for (const QChar zeichen : text) {
        if (zulaessig(zeichen.unicode()))
            aktuell.text += zeichen;
    }
    qsizetype neu = aktuell.text.size() - vorher;
    if (zeichenGesamt + neu > g.zeichen) {
        neu = std::max<qsizetype>(0, g.zeichen - zeichenGesamt);
        aktuell.text.truncate(vorher + neu);
        anhalten();
    }
    zeichenGesamt += neu;
    return neu;
}

// Extends the last run or starts a new one; false past the run limit.
bool Aufbau::laufAnhaengen(qsizetype neu, const Format &format)
{
    if (!aktuell.laeufe.empty() && aktuell.laeufe.back().format == format) {
        aktuell.laeufe.back().laenge += neu;
        return true;
    }
    if (laeufeGesamt >= g.laeufe)
        return false;
    aktuell.laeufe.push_back(Lauf{format, neu});
    ++laeufeGesamt;
    return true;
}

void Aufbau::absatzEnde(Qt::Alignment ausrichtung, const Format &marke)
{
    if (qsizetype(modell.absaetze.size()) >= g.absaetze) {
        anhalten();
        return;
    }
    aktuell.ausrichtung = ausrichtung;
    aktuell.marke = marke;
    modell.absaetze.push_back(std::move(aktuell));
    aktuell = Absatz();
}

void Aufbau::anhalten()
{
    m_angehalten = m_gekuerzt = true;
}

int Aufbau::familieIndex(const QString &name, Schriftklasse klasse)
{
    if (name.isEmpty())
        return -1;
    const auto it = familienIndex.constFind(name);
    if (it != familienIndex.constEnd())
        return *it;
    const int index = int(modell.familien.size());
    modell.familien.append(name);
    modell.klassen.push_back(klasse);
    familienIndex.insert(name, index);
    return index;
}

void dokumentFuellen(const Modell &modell, QTextDocument &dokument)
{
    Formate formate(modell);
    // A loaded file is not an edit that could be undone step by step.
    const bool rueckgaengig = dokument.isUndoRedoEnabled();
    dokument.setUndoRedoEnabled(false);
    dokument.clear();
    QTextCursor cursor(&dokument);
    cursor.beginEditBlock();
    bool erster = true;
    for (const Absatz &absatz : modell.absaetze) {
        absatzEinfuegen(cursor, absatz, formate, erster);
        erster = false;
    }
    cursor.endEditBlock();
    dokument.setUndoRedoEnabled(rueckgaengig);
}

} // namespace varo::rtf
