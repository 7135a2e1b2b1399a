#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

#include <utility>

namespace varo {

struct Programmwerte;
class Oberflaeche;

// One valid row of Kabel.txt.
struct Kabeltyp
{
    float Vk = 0.0F;
    QString Typ;
    QString Daempfung;  // empty, or the field starting with "d="
    int zeile = 0;      // line of the table file it came from, counted from 1; 0 if typed
    bool eigen = false; // from the user's own table
};

// The tables the cable lists are read from: the one beside the program and
// the user's own, read after it. An empty eigen reads the first one alone,
// as a table named explicitly does (a lone path converts to that).
struct Kabeltabellen
{
    QString mitgeliefert;
    QString eigen;

    Kabeltabellen(QString mitgeliefert = {}, QString eigen = {})
        : mitgeliefert(std::move(mitgeliefert)), eigen(std::move(eigen))
    {
    }

    // Kabel.txt beside the program, then the user's own table.
    static Kabeltabellen programm();

    // The file the row was read from.
    const QString &pfad(const Kabeltyp &kabel) const { return kabel.eigen ? eigen : mitgeliefert; }
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

// The cables every list shows: the rows of the table beside the program in
// their order, so that the preset keeps its place, then the usable rows of
// the user's own table. Both are read through dateiLesen's guards.
struct Kabelliste
{
    QList<Kabeltyp> kabel;
    bool vorhanden = false; // the table beside the program exists
    QString fehler;         // German cause when it could not be opened
    QStringList hinweise;   // partial reads, the own table's unusable rows (one line each)
};

Kabelliste kabellisteLesen(const Kabeltabellen &tabellen);

// Where the user's own table lives: the generic data folder of the desktop
// (usually ~/.local/share) + "/varolinaten/Kabel.txt".
QString eigeneKabeltabellePfad();

// Creates the user's own table with a commented head that explains the
// format, unless a file of that name exists. Returns the German cause of a
// failure, or an empty string.
QString eigeneKabeltabelleAnlegen(const QString &pfad);

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

// Fill the list from the cable tables (kabellisteLesen). When the table
// beside the program is missing or
// cannot be opened (a folder, a pipe), tell the user (with the normal mouse
// pointer), offer ersatz as the only item, show ersatzText and set
// KabelIndex to 0; the own table's rows follow. Returns false in that
// case. A file that breaks off while being read keeps the rows read up to
// then; one beyond the bounds keeps its first rows, and the own table's
// unusable rows are left out: the user is told both in one message.
bool KabelTabelleLaden(KabelListe &liste, float ersatz, const QString &ersatzText,
                       const Kabeltabellen &tabellen, Programmwerte &werte, Oberflaeche &ui,
                       const QLocale &locale);

// Path of Kabel.txt beside the program.
QString kabelTabellenPfad();

// Attenuation in dB of laenge metres at frequenz MHz for the field
// "d=<fRef>/<aRef>"; throws Laufzeitfehler(11) when fRef or aRef is 0 or
// the field has no "/".
float KabelDaempfung(float laenge, float frequenz, const QString &daempfung);

} // namespace varo
