#pragma once

// The document builder of the RTF reader: text arrives with its resolved
// format and becomes paragraphs of merged runs (a plain model) within the
// reader's limits; only when the whole file has been read does the model
// replace the QTextDocument, so a failure leaves it untouched.

#include "rtf.h"
#include "schriftklasse.h"

#include <QHash>
#include <QStringList>

#include <vector>

class QTextDocument;

namespace varo::rtf {

inline constexpr int standardHalbpunkte = 24;

enum class Hoehe : qint8 { Normal, Hoch, Tief };

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

struct Modell
{
    std::vector<Absatz> absaetze;
    QStringList familien;
    std::vector<Schriftklasse> klassen; // per family
};

class Aufbau
{
public:
    explicit Aufbau(const Grenzen &grenzen) : g(grenzen) {}

    // Appends text to the paragraph being read. Control characters and
    // separators that would break the block structure are dropped; past a
    // limit the reader stops, and the paragraph is closed with what it has.
    void anhaengen(QStringView text, const Format &format, Qt::Alignment ausrichtung);
    // Closes the paragraph being read.
    void absatzEnde(Qt::Alignment ausrichtung, const Format &marke);

    const QString &absatzText() const { return aktuell.text; }
    bool angehalten() const { return m_angehalten; } // a limit is reached: nothing more is kept
    bool gekuerzt() const { return m_gekuerzt; }
    void kuerzen() { m_gekuerzt = true; }

    // The index of a family, added on first use; -1 for an empty name.
    int familieIndex(const QString &name, Schriftklasse klasse);

    Modell modell;

private:
    qsizetype zeichenAnhaengen(QStringView text);
    bool laufAnhaengen(qsizetype neu, const Format &format);
    void anhalten();

    const Grenzen &g;
    Absatz aktuell;
    qsizetype zeichenGesamt = 0;
    qsizetype laeufeGesamt = 0;
    bool m_angehalten = false;
    bool m_gekuerzt = false;
    QHash<QString, int> familienIndex;
};

// Replaces the document's content with the model, as one step that cannot
// be undone piecemeal.
void dokumentFuellen(const Modell &modell, QTextDocument &dokument);

} // namespace varo::rtf
