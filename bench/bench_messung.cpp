// Time of a measured file of 100,001 points: reading it, the line analysis
// at every point and its CSV table, each in the process; then the same
// request as a whole run of the report tool (--analyse --messung to CSV)
// against a light request of it (one frequency, 30 m), both as fresh
// processes, since that is what a user waits for. Run by hand:
//   QT_QPA_PLATFORM=offscreen ./bench_messung [runs]
// Prints medians and the fastest runs in milliseconds and their ratio, and
// the processor time beside them: on a busy machine the wall time of the
// threads grows with the load, their processor time hardly.

#include "messdaten.h"
#include "messen.h"
#include "messung.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

using bench::median;
using bench::messen;
using bench::werkzeug;
using bench::Zeiten;

namespace {

// A NanoVNA-like sweep from 1 to 30 MHz: S11 winding round the chart.
QByteArray messdatei(int punkte)
{
    QByteArray text("! Benchmark\n# Hz S RI R 50\n");
    text.reserve(qsizetype{punkte} * 48);
    for (int i = 0; i < punkte; ++i) {
        const double t = double(i) / (punkte - 1);
        const double betrag = 0.1 + 0.8 * t;
        const double winkel = 60.0 * t;
        text += QByteArray::number(qint64(1000000 + 29000000.0 * t)) + ' ' +
                QByteArray::number(betrag * std::cos(winkel), 'f', 9) + ' ' +
                QByteArray::number(betrag * std::sin(winkel), 'f', 9) + '\n';
    }
    return text;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const int laeufe = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 21;
    constexpr int punkte = 100001;

    QTemporaryDir ordner;
    const QString pfad = ordner.filePath(QStringLiteral("messung.s1p"));
    QFile datei(pfad);
    const QByteArray inhalt = messdatei(punkte);
    if (!datei.open(QIODevice::WriteOnly) || datei.write(inhalt) != inhalt.size()) {
        std::fprintf(stderr, "Die Messdatei lässt sich nicht anlegen\n");
        return 1;
    }
    datei.close();

    varo::Messlesung lesung;
    const Zeiten lesen = messen(laeufe, [&] { lesung = varo::messdatenLesen(pfad); });
    if (!lesung.gelesen() || lesung.daten.punkte.size() != punkte) {
        std::fprintf(stderr, "%s\n", qPrintable(lesung.meldung));
        return 1;
    }
    varo::Leitungseingabe leitung;
    leitung.Vk = 0.66;
    leitung.laenge = 27.5;
    leitung.verlust = {0.6178, 0.00545, true};
    varo::Messverlauf verlauf;
    const Zeiten rechnen = messen(laeufe, [&] {
        verlauf = varo::messverlauf(leitung, varo::Messort::Antenne, lesung.daten, 1.0, 30.0);
    });
    qsizetype bytes = 0;
    const Zeiten csv =
        messen(laeufe, [&] { bytes = varo::messungCsv(verlauf, QLocale(QLocale::German)).size(); });
    std::printf("%d Punkte, Datei %lld Bytes, CSV %lld Bytes, %d Läufe\n", punkte,
                static_cast<long long>(inhalt.size()), static_cast<long long>(bytes), laeufe);
    const auto zeile = [](const char *was, const Zeiten &z) {
        std::printf("%-17s Median %8.2f ms (bester %8.2f ms), Prozessorzeit %8.2f ms\n", was,
                    z.median, z.bester, z.prozessor);
    };
    zeile("Lesen", lesen);
    zeile("Rechnen", rechnen);
    zeile("CSV", csv);

    const QStringList messung = {
        QStringLiteral("--analyse"), QStringLiteral("--messung"), pfad,
        QStringLiteral("--kabel"),   QStringLiteral("RG-213"),    QStringLiteral("--laenge"),
        QStringLiteral("27,5")};
    const QStringList leicht = {QStringLiteral("--modus"),    QStringLiteral("eine"),
                                QStringLiteral("--frequenz"), QStringLiteral("7,1"),
                                QStringLiteral("--kabel"),    QStringLiteral("0,66"),
                                QStringLiteral("--laenge"),   QStringLiteral("30")};
    bool gelaufen = true;
    std::vector<double> cpuSchwer;
    std::vector<double> cpuLeicht;
    const Zeiten schwer =
        messen(laeufe, [&] { gelaufen = werkzeug(messung, &cpuSchwer) && gelaufen; });
    const Zeiten einfach =
        messen(laeufe, [&] { gelaufen = werkzeug(leicht, &cpuLeicht) && gelaufen; });
    if (!gelaufen) {
        std::fprintf(stderr, "varolinaten-bericht ist nicht gelaufen oder ist gescheitert\n");
        return 1;
    }
    std::printf("Prozess --analyse --messung (CSV) Median %8.2f ms (bester %8.2f ms)\n",
                schwer.median, schwer.bester);
    std::printf("Prozess --modus eine (leicht)     Median %8.2f ms (bester %8.2f ms)\n",
                einfach.median, einfach.bester);
    std::printf("Verhältnis der Mediane %.2f (Ziel: höchstens 3)\n",
                schwer.median / einfach.median);
    std::printf("Prozessorzeit je Lauf: --messung %.1f ms, leicht %.1f ms, Verhältnis %.2f\n",
                median(cpuSchwer), median(cpuLeicht), median(cpuSchwer) / median(cpuLeicht));
    return 0;
}
