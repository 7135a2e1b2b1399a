// Figures for the multi-frequency distance filter (plain against sorted,
// on the same heavy request) and for writing a long report into a hidden
// report box. Prints medians; not a test.

#include "../tests/fakes/abstandsfilter_einfach.h"
#include "dokumentberichtsfeld.h"
#include "drucker.h"
#include "konvertierung.h"
#include "mehrere_filter.h"
#include "messen.h"
#include "oberflaeche.h"
#include "rechnen.h"
#include "werte.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace varo;

namespace {

// Answers nothing and shows nothing.
class StilleOberflaeche : public Oberflaeche
{
public:
    void piep() override {}
    Antwort meldung(const QString &, const QString &, Symbol, Knoepfe) override
    {
        return Antwort::Abbruch;
    }
    void sanduhr() override {}
    void normalerZeiger() override {}
    void ereignisseVerarbeiten() override {}
    void eingabedialogVerbergen() override {}
    void hauptfensterZeigen() override {}
};

double medianMs(int laeufe, const std::function<void()> &f)
{
    std::vector<double> zeiten;
    for (int i = 0; i < laeufe; ++i) {
        QElapsedTimer uhr;
        uhr.start();
        f();
        zeiten.push_back(double(uhr.nsecsElapsed()) / 1e6);
    }
    return bench::median(zeiten);
}

const QString Baender = QStringLiteral("1.8/3.6/7.1/10.1/14.2/18.1/21.2/28.5/144.3/430");
const float Laenge = 2000.0F;
const float Vk = 0.66F;
const float Toleranz = 35.0F;

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);

    // The lengths the calculation collects for the heavy request.
    std::vector<float> unguenstig, kandidaten;
    float lambdaMin = 50000.0F;
    for (const QString &eintrag : FrequenzListe(Baender)) {
        const float f = zuSingle(TextZuZahl(eintrag));
        const float lambda = zuSingle(300.0 / f);
        const float q = zuSingle(lambda / 4.0);
        lambdaMin = std::min(lambdaMin, lambda);
        const qint32 ni = rundeInt32(double(Laenge) / q * (1.0 / Vk) + 0.5);
        mehrereLaengenSammeln(ni, q, Vk, unguenstig, kandidaten);
    }
    const float t = zuSingle(100.0 - Toleranz + 0.001);
    const float r = zuSingle(1.0 / (100.0 / t));
    const float w = zuSingle(double(lambdaMin) / 4.0 * r * Vk);

    std::printf("Anfrage: %s MHz, %.0f m, Vk %.2f, Toleranz %.0f %%\n", qPrintable(Baender),
                double(Laenge), double(Vk), double(Toleranz));
    std::printf("  %zu Kandidaten, %zu ungünstige Längen\n", kandidaten.size(), unguenstig.size());

    std::vector<float> einfach, sortiert;
    const double msEinfach = medianMs(3, [&] {
        einfach = kandidaten;
        abstandsfilterEinfach(einfach, unguenstig, w);
    });
    const double msSortiert = medianMs(21, [&] {
        sortiert = kandidaten;
        abstandsfilter(sortiert, unguenstig, w);
    });
    const auto uebrig =
        std::count_if(sortiert.begin(), sortiert.end(), [](float x) { return x > 0; });
    std::printf("Abstandsfilter, einfach (n·m):      %10.3f ms (Median aus 3)\n", msEinfach);
    std::printf("Abstandsfilter, sortiert (n log m): %10.3f ms (Median aus 21)\n", msSortiert);
    std::printf("  Verhältnis %.0f : 1, Ergebnis %s, %lld Kandidaten übrig\n",
                msEinfach / msSortiert, einfach == sortiert ? "gleich" : "VERSCHIEDEN",
                static_cast<long long>(uebrig));

    // The whole calculation on the same request, report included.
    {
        Programmwerte werte;
        DokumentBerichtsfeld feld;
        KeinDrucker drucker;
        StilleOberflaeche ui;
        Rechenkontext k{werte, feld, drucker, ui, QLocale::c()};
        Berechnungsanfrage a;
        a.modus = Berechnungsmodus::Mehrere;
        a.frequenzen = Baender;
        a.kabel = QStringLiteral("0.66");
        a.laenge = QStringLiteral("2000");
        a.toleranz = QStringLiteral("35");
        Rechenergebnis ergebnis = Rechenergebnis::Abgelehnt;
        const double ms = medianMs(3, [&] { ergebnis = RechnenMehrere(a, k); });
        std::printf(
            "RechnenMehrere mit Bericht:          %10.3f ms (Median aus 3), %s, %d Zeichen\n", ms,
            ergebnis == Rechenergebnis::Bericht ? "Bericht" : "kein Bericht", feld.textLaenge());
    }

    // 16,000 rows: one frequency, 32,000 quarter waves (7.5 MHz, Vk 1, 320 km).
    {
        Programmwerte werte;
        DokumentBerichtsfeld feld;
        KeinDrucker drucker;
        StilleOberflaeche ui;
        Rechenkontext k{werte, feld, drucker, ui, QLocale::c()};
        Berechnungsanfrage a;
        a.modus = Berechnungsmodus::Eine;
        a.frequenzen = QStringLiteral("7.5");
        a.kabel = QStringLiteral("1");
        a.laenge = QStringLiteral("320000");
        a.toleranz = QStringLiteral("35");
        Rechenergebnis ergebnis = Rechenergebnis::Abgelehnt;
        const double ms = medianMs(3, [&] { ergebnis = RechnenEine(a, k); });
        const auto zeilen = feld.text().count(QStringLiteral(" m\r\n")) - 1; // less the header
        std::printf("Bericht mit %lld Zeilen (RechnenEine):%10.3f ms (Median aus 3), %s\n",
                    static_cast<long long>(zeilen), ms,
                    ergebnis == Rechenergebnis::Bericht ? "Bericht" : "kein Bericht");
    }
    return 0;
}
