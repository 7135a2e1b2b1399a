#include "bildexport.h"

#include "dateilesen.h"
#include "diagrammschrift.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSvgGenerator>

namespace varo {

namespace {

bool alsPng(const Malpass &malen, QSize pixel, QIODevice &ziel)
{
    QImage bild = weissesBild(pixel);
    if (bild.isNull())
        return false;
    {
        QPainter painter(&bild);
        malen(painter);
    }
    return bild.save(&ziel, "PNG");
}

bool alsSvg(const Malpass &malen, QSize pixel, const QString &titel, QIODevice &ziel)
{
    QSvgGenerator svg;
    svg.setOutputDevice(&ziel);
    svg.setSize(pixel);
    svg.setViewBox(QRect(QPoint(0, 0), pixel));
    svg.setResolution(kEinheitenProZoll);
    svg.setTitle(titel);
    QPainter painter;
    if (!painter.begin(&svg))
        return false;
    malen(painter);
    return painter.end();
}

// One page exactly the size of the picture, without margins.
bool alsPdf(const Malpass &malen, QSize pixel, const QString &titel, QIODevice &ziel)
{
    QPdfWriter pdf(&ziel);
    pdf.setResolution(kEinheitenProZoll);
    pdf.setTitle(titel);
    pdf.setCreator(QStringLiteral("Varolinaten"));
    pdf.setPageLayout(
        QPageLayout(QPageSize(QSizeF(pixel) / double(kEinheitenProZoll), QPageSize::Inch),
                    QPageLayout::Portrait, QMarginsF()));
    QPainter painter;
    if (!painter.begin(&pdf))
        return false;
    malen(painter);
    return painter.end();
}

} // namespace

Exportergebnis Exportergebnis::abgelehnt(QString meldung)
{
    return {Ergebnis::Abgelehnt, std::move(meldung)};
}

Exportergebnis Exportergebnis::fehler(QString meldung)
{
    return {Ergebnis::Fehler, std::move(meldung)};
}

int Exportergebnis::status() const
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

const QStringList &bildEndungen()
{
    static const QStringList endungen{QStringLiteral("png"), QStringLiteral("svg"),
                                      QStringLiteral("pdf")};
    return endungen;
}

QString bildFilter()
{
    return QStringLiteral("PNG-Bild (*.png);;SVG-Grafik (*.svg);;PDF-Dokument (*.pdf)");
}

QString filterEndungErgaenzen(const QString &datei, const QString &filter,
                              const QStringList &bekannt)
{
    static const QRegularExpression muster(QStringLiteral("\\*\\.(\\w+)"));
    QStringList endungen;
    for (auto treffer = muster.globalMatch(filter); treffer.hasNext();)
        endungen << treffer.next().captured(1).toLower();
    const QString endung = QFileInfo(datei).suffix().toLower();
    if (datei.isEmpty() || endungen.isEmpty() || endungen.contains(endung) ||
        bekannt.contains(endung))
        return datei;
    return datei + (datei.endsWith(QLatin1Char('.')) ? QString() : QStringLiteral(".")) +
           endungen.constFirst();
}

QString bildEndungErgaenzen(const QString &datei, const QString &filter)
{
    return filterEndungErgaenzen(datei, filter, bildEndungen());
}

QString endungUnbekannt(const QString &datei, const QStringList &endungen)
{
    QStringList mitPunkt;
    for (const QString &endung : endungen)
        mitPunkt.append(QLatin1Char('.') + endung);
    const QString letzte = mitPunkt.isEmpty() ? QString() : mitPunkt.takeLast();
    const QString liste =
        mitPunkt.isEmpty() ? letzte
                           : mitPunkt.join(QStringLiteral(", ")) + QStringLiteral(" und ") + letzte;
    return QStringLiteral("Unbekannte Dateiendung „%1“: möglich sind %2.")
        .arg(QFileInfo(datei).suffix(), liste);
}

QString schreibfehler(const QString &datei, const QString &grund)
{
    return QStringLiteral("Die Datei „%1“ kann nicht geschrieben werden: %2")
        .arg(QDir::toNativeSeparators(datei), grund);
}

Exportergebnis datenExportieren(const QByteArray &daten, const QString &datei)
{
    if (const QString grund = dateiSchreiben(datei, daten); !grund.isEmpty())
        return Exportergebnis::fehler(schreibfehler(datei, grund));
    return {};
}

Exportergebnis bildExportieren(const Bildvorlage &vorlage, const QString &datei, QSize pixel)
{
    const QString endung = QFileInfo(datei).suffix().toLower();
    if (!bildEndungen().contains(endung))
        return Exportergebnis::fehler(endungUnbekannt(datei, bildEndungen()));
    if (!pixel.isValid())
        pixel = vorlage.designGroesse;
    if (pixel.width() > kGroessteSeite || pixel.height() > kGroessteSeite)
        return Exportergebnis::fehler(
            QStringLiteral("Die Bildgröße %1 × %2 Pixel ist zu groß (höchstens %3).")
                .arg(pixel.width())
                .arg(pixel.height())
                .arg(kGroessteSeite));

    Exportergebnis ergebnis;
    const Malpass malen = vorlage.auslegen(pixel, ergebnis);
    if (!ergebnis.geschrieben())
        return ergebnis;
    if (!malen)
        return Exportergebnis::fehler(
            schreibfehler(datei, QStringLiteral("Zeichnen fehlgeschlagen")));

    QByteArray daten;
    QBuffer puffer(&daten);
    puffer.open(QIODevice::WriteOnly);
    bool gezeichnet = false;
    if (endung == QLatin1String("png"))
        gezeichnet = alsPng(malen, pixel, puffer);
    else if (endung == QLatin1String("svg"))
        gezeichnet = alsSvg(malen, pixel, vorlage.titel, puffer);
    else
        gezeichnet = alsPdf(malen, pixel, vorlage.titel, puffer);
    if (!gezeichnet)
        return Exportergebnis::fehler(
            schreibfehler(datei, QStringLiteral("Zeichnen fehlgeschlagen")));
    return datenExportieren(daten, datei);
}

} // namespace varo
