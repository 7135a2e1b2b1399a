#include "formatvorlagen.h"

#include "berichtsfeld.h"

namespace varo {

void formatvorlageAnwenden(Berichtsfeld &feld, Formatvorlage vorlage)
{
    // Listing is the base of every report: text inserted where no format
    // applies must come out in the fixed-pitch font too.
    if (vorlage == Formatvorlage::Listing)
        feld.setBasisschrift(QStringLiteral("Courier New"));

    feld.setSelStart(0);
    feld.setSelLength(feld.textLaenge());

    Zeichenattribute a;
    a.fett = false;
    a.versatz = 0;
    a.farbe = QColor(Qt::black);
    switch (vorlage) {
    case Formatvorlage::Standard:
        a.schriftname = QStringLiteral("Arial");
        a.groesse = 10;
        a.kursiv = a.unterstrichen = a.durchgestrichen = false;
        break;
    case Formatvorlage::Listing:
        a.schriftname = QStringLiteral("Courier New");
        a.groesse = 10;
        a.kursiv = a.unterstrichen = a.durchgestrichen = false;
        break;
    case Formatvorlage::Text:
        // Italic, underline and strike-through stay as they are.
        a.schriftname = QStringLiteral("Arial");
        a.groesse = 8;
        break;
    }
    feld.setSelAttribute(a);
    feld.setSelStart(0);
}

} // namespace varo
