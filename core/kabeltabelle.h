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
};

// A drop-down text split into velocity factor, type name and attenuation
// field. Vk is TextZuZahl of the whole text and may throw Laufzeitfehler(6).
Kabeltyp kabelZerlegen(const QString &text);

// The drop-down item text of a cable: "0,66 RG58" padded to 22 characters
// when the head is at most 18 long, then a blank and the attenuation field.
QString kabelItemText(const Kabeltyp &kabel, const QLocale &locale);

// The valid rows of a cable table file's lines, in file order.
QList<Kabeltyp> kabelZeilenLesen(const QStringList &zeilen);

// The lines of a file's bytes: UTF-8 when the bytes are valid UTF-8,
// Windows-1252 otherwise; CR LF, LF and CR all end a line.
QStringList kabelDateiZeilen(const QByteArray &inhalt);

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

// Fill the list from the cable table at pfad. When the file is missing,
// tell the user (with the normal mouse pointer), offer ersatz as the only
// item, show ersatzText and set KabelIndex to 0. Returns false when the file
// was missing. A file that cannot be read keeps the rows read up to then.
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
