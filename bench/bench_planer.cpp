// Time of a length plan over all bands of the band list, 0.5 to 200 m in
// 1 mm steps (199,501 lengths): the plan alone, with its CSV table, and
// one redraw of the chart. Then the same request as a whole run of the
// report tool against a light request of it (one frequency, 30 m), both as
// fresh processes, since that is what a user waits for. Run by hand:
//   QT_QPA_PLATFORM=offscreen ./bench_planer [runs]
// Prints medians and the fastest runs in milliseconds.

#include "baender.h"
#include "messen.h"
#include "planer.h"
#include "planergrafik.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QLocale>
#include <QPainter>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <vector>

using bench::messen;
using bench::werkzeug;
using bench::Zeiten;

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const int laeufe = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 21;
    const QLocale locale(QLocale::German);

    QString grund;
    varo::Planungsanfrage anfrage;
    anfrage.baender = varo::baenderLaden(varo::baenderPfad(), &grund);
    if (anfrage.baender.isEmpty()) {
        std::fprintf(stderr, "Bandliste: %s\n", qPrintable(grund));
        return 1;
    }
    anfrage.vk = 0.66;
    anfrage.vonLaenge = 0.5;
    anfrage.bisLaenge = 200.0;
    anfrage.schritt = 0.001;
    QStringList namen;
    for (const varo::Band &band : std::as_const(anfrage.baender))
        namen << band.name;

    qint64 anzahl = 0;
    const Zeiten plan = messen(laeufe, [&] { anzahl = varo::planen(anfrage).anzahl; });
    qsizetype bytes = 0;
    const Zeiten mitCsv =
        messen(laeufe, [&] { bytes = varo::planungCsv(varo::planen(anfrage), locale).size(); });
    const varo::Planung planung = varo::planen(anfrage);
    const QSize groesse = varo::planDesignGroesse(planung);
    QImage bild(groesse, QImage::Format_RGB32);
    const Zeiten zeichnen = messen(laeufe, [&] {
        QPainter painter(&bild);
        varo::planZeichnen(painter, planung, QSizeF(groesse), locale, planung.bester);
    });
    std::printf("%lld Bänder, %lld Längen, CSV %lld Bytes, %d Läufe\n",
                static_cast<long long>(anfrage.baender.size()), static_cast<long long>(anzahl),
                static_cast<long long>(bytes), laeufe);
    std::printf("Planen            Median %8.2f ms (bester %8.2f ms)\n", plan.median, plan.bester);
    std::printf("Planen + CSV      Median %8.2f ms (bester %8.2f ms)\n", mitCsv.median,
                mitCsv.bester);
    std::printf("Grafik %4d x %3d Median %8.2f ms (bester %8.2f ms)\n", groesse.width(),
                groesse.height(), zeichnen.median, zeichnen.bester);

    const QStringList planer = {
        QStringLiteral("--planer"),  QStringLiteral("--baender"),    namen.join(QLatin1Char('/')),
        QStringLiteral("--kabel"),   QStringLiteral("0,66"),         QStringLiteral("--von-laenge"),
        QStringLiteral("0,5"),       QStringLiteral("--bis-laenge"), QStringLiteral("200"),
        QStringLiteral("--schritt"), QStringLiteral("0,001"),        QStringLiteral("--format"),
        QStringLiteral("csv")};
    const QStringList leicht = {QStringLiteral("--modus"),    QStringLiteral("eine"),
                                QStringLiteral("--frequenz"), QStringLiteral("7,1"),
                                QStringLiteral("--kabel"),    QStringLiteral("0,66"),
                                QStringLiteral("--laenge"),   QStringLiteral("30")};
    bool gelaufen = true;
    const Zeiten schwer = messen(laeufe, [&] { gelaufen = werkzeug(planer) && gelaufen; });
    const Zeiten einfach = messen(laeufe, [&] { gelaufen = werkzeug(leicht) && gelaufen; });
    if (!gelaufen) {
        std::fprintf(stderr, "varolinaten-bericht ist nicht gelaufen oder ist gescheitert\n");
        return 1;
    }
    std::printf("Prozess --planer --format csv  Median %8.2f ms (bester %8.2f ms)\n", schwer.median,
                schwer.bester);
    std::printf("Prozess --modus eine (leicht)  Median %8.2f ms (bester %8.2f ms)\n",
                einfach.median, einfach.bester);
    std::printf("Verhältnis der Mediane %.2f (Ziel: höchstens 5)\n",
                schwer.median / einfach.median);
    return 0;
}
