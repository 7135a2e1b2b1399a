#include "leitung.h"
#include "leitungsanalyse.h"
#include "rlgc_kaskade.h"

#include <QTest>

#include <array>
#include <cmath>

using namespace varo;

namespace {

using namespace varo::pruefung;

struct Fall
{
    const char *name;
    double k1, k2, R0, Vk, f, laenge, R, X;
};

// The common loss formula for a real line impedance of 50 Ω.
double bekannteFormel(double ML, Komplex ZL)
{
    const double a = std::pow(10.0, ML / 10.0);
    const double g2 = std::norm((ZL - 50.0) / (ZL + 50.0));
    return 10.0 * std::log10((a * a - g2) / (a * (1.0 - g2)));
}

double relativ(Komplex ist, Komplex soll)
{
    return std::abs(ist - soll) / std::abs(soll);
}

} // namespace

Q_DECLARE_METATYPE(Fall)

class TestLeitungsanalyse : public QObject
{
    Q_OBJECT

private slots:
    void gegenKaskade_data();
    void gegenKaskade();
    void reellesZoGibtBekannteFormel_data();
    void reellesZoGibtBekannteFormel();
    void verlustlosWieKurve_data();
    void verlustlosWieKurve();
};

void TestLeitungsanalyse::gegenKaskade_data()
{
    QTest::addColumn<Fall>("fall");
    // Loss constants as fitted to the shipped cables (dB per 100 m).
    const Fall faelle[] = {
        {"RG-213 1,8 MHz 40 m, 50 Ω", 0.6178, 0.00545, 50, 0.66, 1.8, 40, 50, 0},
        {"RG-213 3,6 MHz 30,48 m, 20+j150", 0.6178, 0.00545, 50, 0.66, 3.6, 30.48, 20, 150},
        {"RG-213 7,1 MHz 14 m, 600 Ω", 0.6178, 0.00545, 50, 0.66, 7.1, 14, 600, 0},
        {"RG-58 14,2 MHz 27 m, 12-j40", 1.3992, 0.01377, 50, 0.66, 14.2, 27, 12, -40},
        {"RG-58 28,5 MHz 3 m, 200+j90", 1.3992, 0.01377, 50, 0.66, 28.5, 3, 200, 90},
        {"Ecoflex 10 50 MHz 25 m, 35+j10", 0.3718, 0.00241, 50, 0.85, 50, 25, 35, 10},
        {"H-155 145 MHz 18 m, 70-j25", 0.8737, 0.00396, 50, 0.80, 145, 18, 70, -25},
        {"LMR-400 440 MHz 30 m, 45+j5", 0.3964, 0.00099, 50, 0.85, 440, 30, 45, 5},
        {"RG-6 440 MHz 12 m, 75-j30", 0.6518, 0.00045, 75, 0.81, 440, 12, 75, -30},
        {"Fensterleitung 3,6 MHz 22 m, 60+j400", 0.1694, 0.00604, 450, 0.91, 3.6, 22, 60, 400},
        {"nur Dielektrikum 21 MHz 60 m, 100 Ω", 0.0, 0.02, 50, 0.7, 21, 60, 100, 0},
    };
    for (const Fall &f : faelle)
        QTest::newRow(f.name) << f;
}

void TestLeitungsanalyse::gegenKaskade()
{
    QFETCH(Fall, fall);
    [[maybe_unused]] const auto [name, k1, k2, R0, Vk, f, laenge, R, X] = fall;
    const Leitungseingabe e{R0, Vk, {k1, k2, true}, laenge, Komplex(R, X), true};
    const Leitungswerte w = leitungsanalyse(e, f);

    // The line constants worked out here on their own.
    const double neperProDB = std::log(10.0) / 20.0;
    const double alphaC = k1 * std::sqrt(f) * neperProDB / 100.0;
    const double alphaD = k2 * f * neperProDB / 100.0;
    const double v = 3.0e8 * Vk;
    const double omega = 2.0 * M_PI * f * 1.0e6;
    Kaskadenwerte stufen[3];
    for (int i = 0; i < 3; ++i)
        stufen[i] = kaskadenwerte(kaskade(2.0 * R0 * alphaC, R0 / v, 2.0 * alphaD / R0,
                                          1.0 / (R0 * v), omega, laenge, 22 + i),
                                  e.ZL);
    const Komplex zin = richardson(stufen[0].Zin, stufen[1].Zin, stufen[2].Zin);
    const double verlust = richardson(stufen[0].verlust, stufen[1].verlust, stufen[2].verlust);

    QVERIFY2(relativ(w.Zin, zin) < 1e-6, qPrintable(QString::number(relativ(w.Zin, zin))));
    QVERIFY2(std::abs(w.verlustGesamt - verlust) < 1e-6 * std::max(1.0, verlust),
             qPrintable(QStringLiteral("%1 dB, Kaskade %2 dB").arg(w.verlustGesamt).arg(verlust)));
    QCOMPARE(w.verlustAngepasst, (k1 * std::sqrt(f) + k2 * f) * laenge / 100.0);
}

void TestLeitungsanalyse::reellesZoGibtBekannteFormel_data()
{
    QTest::addColumn<double>("ML");
    QTest::addColumn<double>("R");
    QTest::addColumn<double>("X");
    QTest::addColumn<double>("beta");

    QTest::newRow("angepasst") << 1.5 << 50.0 << 0.0 << 0.7;
    QTest::newRow("600 Ω") << 0.24 << 600.0 << 0.0 << 2.1;
    QTest::newRow("kapazitiv") << 0.05 << 45.0 << -300.0 << 0.02;
    QTest::newRow("20+j150") << 0.37 << 20.0 << 150.0 << 0.11;
    QTest::newRow("kleine Last, hohe Dämpfung") << 9.0 << 3.0 << -8.0 << 5.3;
}

void TestLeitungsanalyse::reellesZoGibtBekannteFormel()
{
    QFETCH(double, ML);
    QFETCH(double, R);
    QFETCH(double, X);
    QFETCH(double, beta);
    const double laenge = 23.0;
    const Komplex gamma(ML * std::log(10.0) / 20.0 / laenge, beta);
    const Leitungswerte w = leitungAuswerten(50.0, gamma, laenge, Komplex(R, X), 50.0, ML);
    QVERIFY2(std::abs(w.verlustGesamt - bekannteFormel(ML, Komplex(R, X))) < 1e-9,
             qPrintable(QString::number(w.verlustGesamt)));
}

void TestLeitungsanalyse::verlustlosWieKurve_data()
{
    QTest::addColumn<double>("f");
    QTest::addColumn<double>("laenge");
    QTest::addColumn<double>("Vk");
    QTest::addColumn<double>("Z0");
    QTest::addColumn<double>("R");
    QTest::newRow("7,1 MHz 28,286 m") << 7.1 << 28.286 << 0.66 << 50.0 << 72.0;
    QTest::newRow("3,65 MHz 17 m 450 Ω") << 3.65 << 17.0 << 0.91 << 450.0 << 120.0;
    QTest::newRow("14,2 MHz 9,5 m") << 14.2 << 9.5 << 0.8 << 50.0 << 600.0;
}

void TestLeitungsanalyse::verlustlosWieKurve()
{
    QFETCH(double, f);
    QFETCH(double, laenge);
    QFETCH(double, Vk);
    QFETCH(double, Z0);
    QFETCH(double, R);
    Leitungseingabe e{Z0, Vk, {1.0, 0.01, true}, laenge, Komplex(R, 0.0), false};
    const double betrag = std::abs(leitungsanalyse(e, f).Zin);

    // The curve's lossless formula in double precision, and the curve
    // window's own single-precision steps.
    const double t = std::tan(2.0 * M_PI * laenge / Vk / (300.0 / f));
    const double kurve =
        R * std::sqrt(1.0 + std::pow(Z0 / R * t, 2)) / std::sqrt(1.0 + std::pow(R / Z0 * t, 2));
    float zAusgang = 0.0F;
    LeitungSWR(float(laenge / Vk), float(300.0 / f), float(Z0), float(R), zAusgang);
    QVERIFY2(std::abs(betrag - kurve) < 1e-9 * kurve, qPrintable(QString::number(betrag)));
    QVERIFY2(std::abs(betrag - zAusgang) < 1e-4 * kurve, qPrintable(QString::number(zAusgang)));
    QCOMPARE(leitungsanalyse(e, f).verlustGesamt, 0.0);
}

QTEST_APPLESS_MAIN(TestLeitungsanalyse)
#include "tst_leitungsanalyse.moc"
