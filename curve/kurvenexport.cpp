#include "kurvenexport.h"

#include "dateilesen.h"
#include "kurvenrechnung.h"
#include "kurvenzeichnung.h"
#include "laufzeitfehler.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
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

bool alsPng(const Kurvenbild &bild, QSize pixel, QIODevice &datei)
{
    const QImage b = kurvenBild(bild, pixel);
    return !b.isNull() && b.save(&datei, "PNG");
}

bool alsSvg(const Kurvenbild &bild, QSize pixel, QIODevice &datei)
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

bool alsPdf(const Kurvenbild &bild, QSize pixel, QIODevice &datei)
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

int KurvenExport::status() const
{
    switch (ergebnis) {
    case Ergebnis::Geschrieben:
        return 0;
    case Ergebnis::Abgelehnt:
        return 2;
    case Ergebnis::Fehler:
        break;
    }
    return 1;
}

KurvenExport kurveExportieren(const KurvenEingabe &eingabe, const QString &datei, QSize pixel)
{
    const auto gescheitert = [](QString grund) {
        return KurvenExport{KurvenExport::Ergebnis::Fehler, std::move(grund)};
    };
    const auto abgelehnt = [](Kurvenmeldung meldung) {
        return KurvenExport{KurvenExport::Ergebnis::Abgelehnt,
                            kurvenMeldung(meldung, QStringLiteral("\r\n")).text};
    };

    const QString endung = QFileInfo(datei).suffix().toLower();
    if (endung != QLatin1String("png") && endung != QLatin1String("svg") &&
        endung != QLatin1String("pdf"))
        return gescheitert(
            QStringLiteral("Unbekannte Dateiendung „%1“: möglich sind .png, .svg und .pdf.")
                .arg(QFileInfo(datei).suffix()));
    if (!pixel.isValid())
        pixel = kurvenDesignGroesse();
    if (pixel.width() > kGroessteSeite || pixel.height() > kGroessteSeite)
        return gescheitert(QStringLiteral("Die Bildgröße %1 × %2 Pixel ist zu groß (höchstens %3).")
                               .arg(pixel.width())
                               .arg(pixel.height())
                               .arg(kGroessteSeite));

    KurvenAnfrage anfrage;
    try {
        anfrage = anfrageLesen(eingabe.von, eingabe.bis, eingabe.eingZ, eingabe.kabelZ, eingabe.vk,
                               eingabe.laenge);
    } catch (const Laufzeitfehler &) {
        return abgelehnt(kurvenmeldung::Unkorrekt);
    }
    const KurvenPruefung pruefung = kurvePruefen(anfrage);
    if (!pruefung.zeichenbar())
        return abgelehnt(pruefung.meldung);

    Kurvenbild bild;
    try {
        bild = kurvenbildBerechnen(anfrage, pruefung.p, pixel.width() * kTwipsProEinheit,
                                   pixel.height() * kTwipsProEinheit, kurvenTextmass(), QLocale());
    } catch (const Laufzeitfehler &f) {
        if (f.nummer() == fehler::DivisionDurchNull)
            return gescheitert(
                QStringLiteral("Die Bildgröße %1 × %2 Pixel ist zu klein für die Kurve.")
                    .arg(pixel.width())
                    .arg(pixel.height()));
        return abgelehnt(kurvenmeldung::Unkorrekt);
    }

    // Drawn into memory first: the file is replaced only when every byte of
    // the picture has reached the disk.
    QByteArray daten;
    QBuffer puffer(&daten);
    puffer.open(QIODevice::WriteOnly);
    bool gezeichnet = false;
    if (endung == QLatin1String("png"))
        gezeichnet = alsPng(bild, pixel, puffer);
    else if (endung == QLatin1String("svg"))
        gezeichnet = alsSvg(bild, pixel, puffer);
    else
        gezeichnet = alsPdf(bild, pixel, puffer);
    if (!gezeichnet)
        return gescheitert(schreibfehler(datei, QStringLiteral("Zeichnen fehlgeschlagen")));
    if (const QString grund = dateiSchreiben(datei, daten); !grund.isEmpty())
        return gescheitert(schreibfehler(datei, grund));
    return {};
}

} // namespace varo
