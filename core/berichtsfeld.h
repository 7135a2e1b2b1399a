#pragma once

#include <QColor>
#include <QString>
#include <optional>

namespace varo {

enum class Ausrichtung { Links, Zentriert };

// Character attributes of a selection. When reading, an attribute that is
// not the same over the whole selection is empty.
struct Zeichenattribute
{
    std::optional<QString> schriftname;
    std::optional<double> groesse; // points
    std::optional<bool> fett;
    std::optional<bool> kursiv;
    std::optional<bool> unterstrichen;
    std::optional<bool> durchgestrichen;
    std::optional<int> versatz; // > 0 raised, < 0 lowered, 0 on the base line
    std::optional<QColor> farbe;
};

// The report box, as the calculations and the edit commands see it: text,
// selection and character attributes, nothing of how the box holds them.
// Positions and lengths count a line end as the two characters CR LF,
// exactly as text() returns them, so a position taken from the text length
// before an append addresses the first appended character. Opening, saving
// and printing work on the document behind a box and belong to the boxes
// of the document library.
class Berichtsfeld
{
public:
    virtual ~Berichtsfeld() = default;

    virtual QString text() const = 0;   // plain text, line ends as CR LF
    virtual int textLaenge() const = 0; // text().size() without building it
    virtual void setText(const QString &text) = 0;

    virtual int selStart() const = 0;
    virtual void setSelStart(int start) = 0; // empties the selection
    virtual int selLength() const = 0;
    virtual void setSelLength(int laenge) = 0;
    virtual QString selText() const = 0;
    virtual void setSelText(const QString &text) = 0;

    virtual Zeichenattribute selAttribute() const = 0;
    // Sets those attributes that hold a value; the others stay untouched.
    virtual void setSelAttribute(const Zeichenattribute &attribute) = 0;
    virtual void setSelAusrichtung(Ausrichtung ausrichtung) = 0;
    virtual void setBasisschrift(const QString &schriftname) = 0;

    virtual bool sichtbar() const = 0;
    virtual void setSichtbar(bool sichtbar) = 0;

    // Put the caret at the end and insert the text there. Reports append
    // row by row, so a box may do this faster than the two steps.
    virtual void anhaengen(const QString &text)
    {
        setSelStart(textLaenge());
        setSelText(text);
    }
};

} // namespace varo
