#include "kurvenexport.h"

#include "kurvenrechnung.h"
#include "kurvenzeichnung.h"
#include "laufzeitfehler.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

namespace varo {

namespace {

// The designed surface: 9768 twips wide, and the window's client height
// of 9840 twips less the 1452 twips of the input area above it.
constexpr int kDesignBreiteTwips = 9768;
constexpr int kDesignHoeheTwips = 9840 - 1452;
// Far beyond any page or screen; keeps a typo from asking for gigabytes.
constexpr int kGroessteSeite = 20000;

QString schreibfehler(const QString &datei, const QString &grund)
{
    return QStringLiteral("Die Datei „%1“ kann nicht geschrieben werden: %2")
        .arg(QDir::toNativeSeparators(datei), grund);
}

bool alsPng(const Kurvenbild &bild, QSize pixel, QSaveFile &datei)
{
    const QImage b = kurvenBild(bild, pixel);
    return !b.isNull() && b.save(&datei, "PNG");
}

bool alsSvg(const Kurvenbild &bild, QSize pixel, QSaveFile &datei)
{
    QSvgGenerator svg;
    svg.setOutputDevice(&datei);
    svg.setSize(pixel);
    svg.setViewBox(QRect(QPoint(0, 0), pixel));
    svg.setResolution(96);
    svg.setTitle(kurvenTitel.trimmed());
    QPainter painter;
    if (!painter.begin(&svg))
        return false;
    kurveZeichnen(painter, bild);
    return painter.end();
}

bool alsPdf(const Kurvenbild &bild, QSize pixel, QSaveFile &datei)
{
    QPdfWriter pdf(&datei);
    pdf.setResolution(96);
    pdf.setTitle(kurvenTitel.trimmed());
    pdf.setPageLayout(QPageLayout(QPageSize(QSizeF(pixel) / 96.0, QPageSize::Inch),
                                  QPageLayout::Portrait, QMarginsF()));
    QPainter painter;
    if (!painter.begin(&pdf))
        return false;
    kurveZeichnen(painter, bild);
    return painter.end();
}

} // namespace

QSize kurvenDesignGroesse()
{
    return QSize(qRound(kDesignBreiteTwips / kTwipsProEinheit),
                 qRound(kDesignHoeheTwips / kTwipsProEinheit));
}

int kurveExportieren(const KurvenEingabe &eingabe, const QString &datei, QSize pixel,
                     QString &meldung)
{
    meldung.clear();
    const QString endung = QFileInfo(datei).suffix().toLower();
    if (endung != QLatin1String("png") && endung != QLatin1String("svg") &&
        endung != QLatin1String("pdf")) {
        meldung = QStringLiteral("Unbekannte Dateiendung „%1“: möglich sind .png, .svg und .pdf.")
                      .arg(QFileInfo(datei).suffix());
        return 1;
    }
    if (!pixel.isValid())
        pixel = kurvenDesignGroesse();
    if (pixel.width() > kGroessteSeite || pixel.height() > kGroessteSeite) {
        meldung = QStringLiteral("Die Bildgröße %1 × %2 Pixel ist zu groß (höchstens %3).")
                      .arg(pixel.width())
                      .arg(pixel.height())
                      .arg(kGroessteSeite);
        return 1;
    }

    const QString zeilenEnde = QStringLiteral("\r\n");
    KurvenAnfrage anfrage;
    try {
        anfrage = anfrageLesen(eingabe.von, eingabe.bis, eingabe.eingZ, eingabe.kabelZ, eingabe.vk,
                               eingabe.laenge);
    } catch (const Laufzeitfehler &) {
        meldung = kurvenMeldung(kurvenmeldung::Unkorrekt, zeilenEnde).text;
        return 2;
    }
    int p = 0;
    if (const int regel = kurvePruefen(anfrage, p)) {
        meldung = kurvenMeldung(regel, zeilenEnde).text;
        return 2;
    }

    Kurvenbild bild;
    try {
        bild = kurvenbildBerechnen(anfrage, p, pixel.width() * kTwipsProEinheit,
                                   pixel.height() * kTwipsProEinheit, kurvenTextmass(), QLocale());
    } catch (const Laufzeitfehler &fehler) {
        if (fehler.nummer() == fehler::DivisionDurchNull) {
            meldung = QStringLiteral("Die Bildgröße %1 × %2 Pixel ist zu klein für die Kurve.")
                          .arg(pixel.width())
                          .arg(pixel.height());
            return 1;
        }
        meldung = kurvenMeldung(kurvenmeldung::Unkorrekt, zeilenEnde).text;
        return 2;
    }

    QSaveFile ziel(datei);
    if (!ziel.open(QIODevice::WriteOnly)) {
        meldung = schreibfehler(datei, ziel.errorString());
        return 1;
    }
    bool geschrieben = false;
    if (endung == QLatin1String("png"))
        geschrieben = alsPng(bild, pixel, ziel);
    else if (endung == QLatin1String("svg"))
        geschrieben = alsSvg(bild, pixel, ziel);
    else
        geschrieben = alsPdf(bild, pixel, ziel);
    if (!geschrieben) {
        ziel.cancelWriting();
        meldung = schreibfehler(datei, ziel.errorString().isEmpty()
                                           ? QStringLiteral("Zeichnen fehlgeschlagen")
                                           : ziel.errorString());
        return 1;
    }
    if (!ziel.commit()) {
        meldung = schreibfehler(datei, ziel.errorString());
        return 1;
    }
    return 0;
}

} // namespace varo
