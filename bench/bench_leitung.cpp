// Time of one redraw of the line analysis window with a measured file of
// 10,001 points (a NanoVNA sweep of 1 to 30 MHz): the chart and the Smith
// chart, each laid out and painted at the window's size, as the window does
// on every mouse move. The computation of both ends is timed apart, since
// the window does it once per "Anzeigen". Run by hand:
//   QT_QPA_PLATFORM=offscreen ./bench_leitung [runs]
// Prints medians and the fastest runs in milliseconds.

#include "baender.h"
#include "leitungsmessung.h"
#include "messen.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QLocale>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

using bench::messen;
using bench::Zeiten;

namespace {

// A dipole-like antenna from 1 to 30 MHz: resonances every 7 MHz, one point
// in fifty beyond |Γ| = 1 as an uncalibrated instrument shows them.
varo::Messdaten sweep(int punkte)
{
    varo::Messdaten daten;
    for (int i = 0; i < punkte; ++i) {
        const double f = 1.0 + 29.0 * i / (punkte - 1);
        const double r = 20.0 + 60.0 * std::pow(std::sin(f / 7.0 * 1.5707963), 2.0);
        const double x = 400.0 * std::sin(f / 7.0 * 3.14159265);
        varo::Messpunkt p{f * 1e6, varo::Komplex(r, x)};
        if (i % 50 == 25)
            p.Z.reset();
        daten.punkte.append(p);
    }
    return daten;
}

void zeile(const char *was, const Zeiten &z)
{
    std::printf("%-44s Median %8.2f ms   bester %8.2f ms\n", was, z.median, z.bester);
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const int laeufe = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    const varo::Messdaten daten = sweep(argc > 2 ? std::atoi(argv[2]) : 10001);
    varo::Leitungsanfrage anfrage;
    anfrage.eingabe.Vk = 0.66;
    anfrage.eingabe.laenge = 30.0;
    anfrage.eingabe.verlust = varo::verlustAnpassen({{10.0, 2.0}, {100.0, 6.8}});
    const QList<varo::Band> baender{{QStringLiteral("40m"), 7.0, 7.2},
                                    {QStringLiteral("20m"), 14.0, 14.35}};
    varo::Leitungsergebnis ergebnis;
    const Zeiten rechnen = messen(laeufe, [&] {
        ergebnis = varo::ergebnisAusMessung(anfrage, varo::Messort::Antenne, daten, 1.0, 30.0,
                                            QStringLiteral("RG-213, 30 m"), baender);
    });
    ergebnis.smith.markiert = 5000;
    QImage bild(varo::leitungsDesignGroesse(), QImage::Format_ARGB32_Premultiplied);
    const Zeiten diagramm = messen(laeufe, [&] {
        QPainter painter(&bild);
        varo::leitungsdiagrammZeichnen(painter, ergebnis.diagramm, QSizeF(bild.size()), 4900);
    });
    const Zeiten diagrammAuslegen = messen(laeufe, [&] {
        varo::leitungsbildBerechnen(ergebnis.diagramm, QSizeF(bild.size()), QLocale(), 4900);
    });
    QImage smithBild(varo::smithDesignGroesse(), QImage::Format_ARGB32_Premultiplied);
    const Zeiten smithAuslegen = messen(laeufe, [&] {
        varo::smithbildBerechnen(ergebnis.smith, QSizeF(smithBild.size()), QLocale());
    });
    const Zeiten smith = messen(laeufe, [&] {
        QPainter painter(&smithBild);
        varo::smithbildZeichnen(
            painter, varo::smithbildBerechnen(ergebnis.smith, QSizeF(smithBild.size()), QLocale()));
    });
    std::printf("%lld Frequenzen, %lld im Diagramm\n",
                static_cast<long long>(ergebnis.punkte.size()),
                static_cast<long long>(ergebnis.diagramm.werte.size()));
    zeile("beide Enden rechnen (einmal je „Anzeigen“)", rechnen);
    zeile("Diagramm auslegen und zeichnen (880 × 560)", diagramm);
    zeile("  davon auslegen", diagrammAuslegen);
    zeile("Smith-Diagramm auslegen und zeichnen (640²)", smith);
    zeile("  davon auslegen", smithAuslegen);
    zeile("beide Ansichten (das Fenster zeigt eine)",
          {diagramm.median + smith.median, diagramm.bester + smith.bester});
    return 0;
}
