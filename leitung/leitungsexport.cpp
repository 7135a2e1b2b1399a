#include "leitungsexport.h"

#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

#include <cmath>

namespace varo {

namespace {

// Far beyond any page or screen; keeps a typo from asking for gigabytes.
constexpr int kGroessteSeite = 20000;

QString schreibfehler(const QString &datei, const QString &grund)
{
    return QStringLiteral("Die Datei „%1“ kann nicht geschrieben werden: %2")
        .arg(QDir::toNativeSeparators(datei), grund);
}

bool alsSvg(const Leitungsdiagramm &diagramm, QSize pixel, QSaveFile &datei)
{
    QSvgGenerator svg;
    svg.setOutputDevice(&datei);
    svg.setSize(pixel);
    svg.setViewBox(QRect(QPoint(0, 0), pixel));
    svg.setResolution(96);
    svg.setTitle(QStringLiteral("Leitungsanalyse"));
    QPainter painter;
    if (!painter.begin(&svg))
        return false;
    leitungsdiagrammZeichnen(painter, diagramm, QSizeF(pixel));
    return painter.end();
}

bool alsPdf(const Leitungsdiagramm &diagramm, QSize pixel, QSaveFile &datei)
{
    QPdfWriter pdf(&datei);
    pdf.setResolution(96);
    pdf.setTitle(QStringLiteral("Leitungsanalyse"));
    pdf.setCreator(QStringLiteral("Varolinaten"));
    pdf.setPageLayout(QPageLayout(QPageSize(QSizeF(pixel) / 96.0, QPageSize::Inch),
                                  QPageLayout::Portrait, QMarginsF()));
    QPainter painter;
    if (!painter.begin(&pdf))
        return false;
    leitungsdiagrammZeichnen(painter, diagramm, QSizeF(pixel));
    return painter.end();
}

} // namespace

QByteArray leitungsCsv(const QList<Leitungswerte> &werte, const QLocale &locale)
{
    QLocale l = locale;
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    const auto zahl = [&l](double wert) { return l.toString(wert, 'g', 10); };
    QString text = leitungsCsvKopf + QLatin1Char('\n');
    for (const Leitungswerte &w : werte) {
        const QStringList felder{
            zahl(w.fMHz),      zahl(w.Zin.real()), zahl(w.Zin.imag()),       zahl(std::abs(w.Zin)),
            zahl(w.swrSender), zahl(w.swrAntenne), zahl(w.verlustAngepasst), zahl(w.verlustGesamt)};
        text += felder.join(QLatin1Char(';')) + QLatin1Char('\n');
    }
    return text.toUtf8();
}

int leitungExportieren(const Leitungsdiagramm &diagramm, const QString &datei, QSize pixel,
                       QString &meldung)
{
    meldung.clear();
    const QString endung = QFileInfo(datei).suffix().toLower();
    const QStringList bekannt{QStringLiteral("csv"), QStringLiteral("png"), QStringLiteral("svg"),
                              QStringLiteral("pdf")};
    if (!bekannt.contains(endung)) {
        meldung =
            QStringLiteral("Unbekannte Dateiendung „%1“: möglich sind .csv, .png, .svg und .pdf.")
                .arg(QFileInfo(datei).suffix());
        return 1;
    }
    if (!pixel.isValid())
        pixel = leitungsDesignGroesse();
    if (pixel.width() > kGroessteSeite || pixel.height() > kGroessteSeite) {
        meldung = QStringLiteral("Die Bildgröße %1 × %2 Pixel ist zu groß (höchstens %3).")
                      .arg(pixel.width())
                      .arg(pixel.height())
                      .arg(kGroessteSeite);
        return 1;
    }

    QSaveFile ziel(datei);
    if (!ziel.open(QIODevice::WriteOnly)) {
        meldung = schreibfehler(datei, ziel.errorString());
        return 1;
    }
    bool geschrieben = false;
    if (endung == QLatin1String("csv")) {
        const QByteArray csv = leitungsCsv(diagramm.werte, QLocale());
        geschrieben = ziel.write(csv) == csv.size();
    } else if (endung == QLatin1String("png")) {
        const QImage bild = leitungsdiagrammBild(diagramm, pixel);
        geschrieben = !bild.isNull() && bild.save(&ziel, "PNG");
    } else if (endung == QLatin1String("svg")) {
        geschrieben = alsSvg(diagramm, pixel, ziel);
    } else {
        geschrieben = alsPdf(diagramm, pixel, ziel);
    }
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
