#include "kurvenexport.h"

#include "kurvenrechnung.h"
#include "kurvenzeichnung.h"
#include "laufzeitfehler.h"

#include <QLocale>

namespace varo {

namespace {

// The designed surface: 9768 twips wide, and the window's client height
// of 9840 twips less the 1452 twips of the input area above it.
constexpr int kDesignBreiteTwips = 9768;
constexpr int kDesignHoeheTwips = 9840 - 1452;

Exportergebnis abgelehnt(Kurvenmeldung meldung)
{
    return Exportergebnis::abgelehnt(kurvenMeldung(meldung, QStringLiteral("\r\n")).text);
}

// The check of the window and the layout for the surface; a refusal or a
// surface too small for the axes leaves ergebnis set and no pass.
Malpass kurveAuslegen(const KurvenEingabe &eingabe, QSize pixel, Exportergebnis &ergebnis)
{
    KurvenAnfrage anfrage;
    try {
        anfrage = anfrageLesen(eingabe.von, eingabe.bis, eingabe.eingZ, eingabe.kabelZ, eingabe.vk,
                               eingabe.laenge);
    } catch (const Laufzeitfehler &) {
        ergebnis = abgelehnt(kurvenmeldung::Unkorrekt);
        return {};
    }
    const KurvenPruefung pruefung = kurvePruefen(anfrage);
    if (!pruefung.zeichenbar()) {
        ergebnis = abgelehnt(pruefung.meldung);
        return {};
    }
    Kurvenbild bild;
    try {
        bild = kurvenbildBerechnen(anfrage, pruefung.p, pixel.width() * kTwipsProEinheit,
                                   pixel.height() * kTwipsProEinheit, kurvenTextmass(), QLocale());
    } catch (const Laufzeitfehler &f) {
        if (f.nummer() == fehler::DivisionDurchNull)
            ergebnis = Exportergebnis::fehler(
                QStringLiteral("Die Bildgröße %1 × %2 Pixel ist zu klein für die Kurve.")
                    .arg(pixel.width())
                    .arg(pixel.height()));
        else
            ergebnis = abgelehnt(kurvenmeldung::Unkorrekt);
        return {};
    }
    return [bild = std::move(bild)](QPainter &painter) { kurveZeichnen(painter, bild); };
}

} // namespace

QSize kurvenDesignGroesse()
{
    return QSize(qRound(kDesignBreiteTwips / kTwipsProEinheit),
                 qRound(kDesignHoeheTwips / kTwipsProEinheit));
}

Bildvorlage kurvenBildvorlage(const KurvenEingabe &eingabe)
{
    Bildvorlage vorlage;
    vorlage.titel = kurvenTitel.trimmed();
    vorlage.designGroesse = kurvenDesignGroesse();
    vorlage.auslegen = [&eingabe](QSize pixel, Exportergebnis &ergebnis) {
        return kurveAuslegen(eingabe, pixel, ergebnis);
    };
    return vorlage;
}

Exportergebnis kurveExportieren(const KurvenEingabe &eingabe, const QString &datei, QSize pixel)
{
    return bildExportieren(kurvenBildvorlage(eingabe), datei, pixel);
}

} // namespace varo
