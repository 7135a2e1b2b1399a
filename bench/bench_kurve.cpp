// Time of one full redraw of the curve window's surface: the drawing pass
// (axes, ticks, labels and one line-model evaluation per twip of frequency
// axis) and painting it into an image. Run by hand:
//   QT_QPA_PLATFORM=offscreen ./bench_kurve [runs]
// Prints the median and the fastest run in milliseconds.

#include "kurvenexport.h"
#include "kurvenrechnung.h"
#include "kurvenzeichnung.h"
#include "messen.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QLocale>

#include <algorithm>
#include <cstdio>
#include <vector>

using bench::messen;
using bench::Zeiten;

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const int laeufe = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 51;
    const QLocale locale(QLocale::German);

    const varo::KurvenAnfrage anfrage =
        varo::anfrageLesen(QStringLiteral("1,5"), QStringLiteral("30,0"), QStringLiteral("72"),
                           QStringLiteral("50"), QStringLiteral("0,66"), QStringLiteral("30"));
    int p = 0;
    if (varo::kurvePruefen(anfrage, p) != 0)
        return 1;
    const varo::Textmass mass = varo::kurvenTextmass();

    const QSize design = varo::kurvenDesignGroesse();
    // A4 is 11906 twips wide; the surface keeps the design height.
    const QSize a4(qRound(11906 / varo::kTwipsProEinheit), design.height());

    std::printf("Kurve 1,5 bis 30 MHz, 72 an 50 Ohm, %d Läufe\n", laeufe);
    for (const auto &[name, g] : {std::pair{"Entwurf", design}, std::pair{"A4-Breite", a4}}) {
        // A lambda may not capture a structured binding before C++20.
        const QSize groesse = g;
        const double W = groesse.width() * varo::kTwipsProEinheit;
        const double H = groesse.height() * varo::kTwipsProEinheit;
        int proben = 0;
        const Zeiten rechnen = messen(laeufe, [&] {
            proben = varo::kurvenbildBerechnen(anfrage, p, W, H, mass, locale).proben;
        });
        const varo::Kurvenbild bild = varo::kurvenbildBerechnen(anfrage, p, W, H, mass, locale);
        const Zeiten malen = messen(laeufe, [&] { (void)varo::kurvenBild(bild, groesse); });
        const Zeiten ganz = messen(laeufe, [&] {
            const varo::Kurvenbild b = varo::kurvenbildBerechnen(anfrage, p, W, H, mass, locale);
            (void)varo::kurvenBild(b, groesse);
        });
        std::printf("%-10s %4d x %3d px, %5d Proben: Rechnen %6.2f ms, Malen %6.2f ms, "
                    "ganzes Neuzeichnen Median %6.2f ms (bester %6.2f ms)\n",
                    name, groesse.width(), groesse.height(), proben, rechnen.median, malen.median,
                    ganz.median, ganz.bester);
    }
    return 0;
}
