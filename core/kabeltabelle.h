#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

namespace varo {

struct Programmwerte;
class Oberflaeche;

// One valid row of Kabel.txt.
struct Kabeltyp
{
    float Vk = 0.0F;
    QString Typ;
    QString Daempfung; // empty, or the field starting with "d="
    int zeile = 0;     // line of the table file it came from, counted from 1; 0 if typed
};

// Bounds of a cable table: a real one has a few dozen rows. Beyond them the
// rows read so far are kept and the user is told.
inline constexpr qint64 maxTabellenBytes = qint64{1024} * 1024;
inline constexpr int maxKabel = 10000;

// A drop-down text split into velocity factor, type name and attenuation
// field. Vk is TextZuZahl of the whole text and may throw Laufzeitfehler(6).
Kabeltyp kabelZerlegen(const QString &text);

// The drop-down item text of a cable: "0,66 RG58" padded to 22 characters
// when the head is at most 18 long, then a blank and the attenuation field.
QString kabelItemText(const Kabeltyp &kabel, const QLocale &locale);

// The valid rows of a cable table file's lines, in file order.
QList<Kabeltyp> kabelZeilenLesen(const QStringList &zeilen);

// The lines of a file's bytes, each read as UTF-8 when it is valid UTF-8
// and as Windows-1252 otherwise; CR LF, LF and CR all end a line.
QStringList kabelDateiZeilen(const QByteArray &inhalt);

// A cable table file as read.
struct Kabeldatei
{
    QList<Kabeltyp> kabel;  // the valid rows read, at most maxKabel
    bool vorhanden = false; // something of that name exists
    QString fehler;         // German cause when the file could not be opened at all
    QString hinweis;        // German note when only its first part was read
};

// Reads the table at pfad within the bounds above. A file that breaks off
// while being read keeps the whole rows read up to then, without a note.
Kabeldatei kabelDateiLesen(const QString &pfad);

// Why KabelDaempfung cannot evaluate the field, in German ("die
// Bezugsfrequenz ist 0"); empty when it can.
QString daempfungsfehler(const QString &daempfung);

// The drop-down a cable table is loaded into; the input dialog and the
// curve window each adapt their combo box to it.
class KabelListe
{
public:
    virtual ~KabelListe() = default;
    virtual void eintragHinzufuegen(const QString &text) = 0;
    virtual int anzahl() const = 0;
    virtual void setAuswahl(int index) = 0; // selects the item and shows its text
    virtual void setText(const QString &text) = 0;
};

// Fill the list from the cable table at pfad. When the file is missing or
// cannot be opened (a folder, a pipe), tell the user (with the normal mouse
// pointer), offer ersatz as the only item, show ersatzText and set
// KabelIndex to 0. Returns false in that case. A file that breaks off while
// being read keeps the rows read up to then; one beyond the bounds keeps
// its first rows and the user is told.
bool KabelTabelleLaden(KabelListe &liste, float ersatz, const QString &ersatzText,
                       const QString &pfad, Programmwerte &werte, Oberflaeche &ui,
                       const QLocale &locale);

// Path of Kabel.txt beside the program.
QString kabelTabellenPfad();

// Attenuation in dB of laenge metres at frequenz MHz for the field
// "d=<fRef>/<aRef>"; throws Laufzeitfehler(11) when fRef or aRef is 0 or
// the field has no "/".
float KabelDaempfung(float laenge, float frequenz, const QString &daempfung);

} // namespace varo
