#include "laufzeitfehler.h"
#include "leitung.h"

#include <QTest>
#include <cmath>
#include <cstring>

using namespace varo;

namespace {

quint32 bits(float wert)
{
    quint32 b;
    std::memcpy(&b, &wert, sizeof b);
    return b;
}

} // namespace

class TestLeitung : public QObject
{
    Q_OBJECT

private slots:
    void werte_data();
    void werte();
    void nullImpedanzenWieVorgabe_data();
    void nullImpedanzenWieVorgabe();
    void angepassteLast_data();
    void angepassteLast();
    void argumenteUnveraendert();
    void wellenlaengeNull_data();
    void wellenlaengeNull();
    void ueberlaufDerLaenge();
    void negativeLaenge();
};

void TestLeitung::werte_data()
{
    QTest::addColumn<float>("elLaenge");
    QTest::addColumn<float>("wellenlaenge");
    QTest::addColumn<float>("zKabel");
    QTest::addColumn<float>("zLast");
    QTest::addColumn<float>("zAusgang");
    QTest::addColumn<float>("faktor");

    QTest::newRow("1 8 0 0") << 1.0f << 8.0f << 0.0f << 0.0f << 50.0f << 0.70710677f;
    QTest::newRow("1 8 50 100") << 1.0f << 8.0f << 50.0f << 100.0f << 50.0f << 0.70710677f;
    QTest::newRow("1 4 0 0") << 1.0f << 4.0f << 0.0f << 0.0f << 25.0f << 0.5f;
    QTest::newRow("1 2 0 0") << 1.0f << 2.0f << 0.0f << 0.0f << 100.0f << 1.0f;
    QTest::newRow("0 2 0 0") << 0.0f << 2.0f << 0.0f << 0.0f << 100.0f << 1.0f;
    QTest::newRow("3 8 0 0") << 3.0f << 8.0f << 0.0f << 0.0f << 50.0f << 0.70710677f;
    QTest::newRow("1 4 50 25") << 1.0f << 4.0f << 50.0f << 25.0f << 100.0f << 0.5f;
    QTest::newRow("1 4 50 72") << 1.0f << 4.0f << 50.0f << 72.0f << 34.722221f << 0.69444442f;
    QTest::newRow("1 8 50 72") << 1.0f << 8.0f << 50.0f << 72.0f << 49.999996f << 0.83333331f;
    QTest::newRow("1 4 75 50") << 1.0f << 4.0f << 75.0f << 50.0f << 112.50001f << 0.66666669f;
}

void TestLeitung::werte()
{
    QFETCH(float, elLaenge);
    QFETCH(float, wellenlaenge);
    QFETCH(float, zKabel);
    QFETCH(float, zLast);
    QFETCH(float, zAusgang);
    QFETCH(float, faktor);

    float aus = -1.0f;
    const float ergebnis = LeitungSWR(elLaenge, wellenlaenge, zKabel, zLast, aus);
    QCOMPARE(aus, zAusgang);
    QCOMPARE(ergebnis, faktor);
    // The printed values carry all digits of the single: the bits must agree.
    QCOMPARE(bits(aus), bits(zAusgang));
    QCOMPARE(bits(ergebnis), bits(faktor));
}

void TestLeitung::nullImpedanzenWieVorgabe_data()
{
    QTest::addColumn<float>("elLaenge");
    QTest::addColumn<float>("wellenlaenge");
    QTest::newRow("0.3 / 2") << 0.3f << 2.0f;
    QTest::newRow("7.77 / 42.25") << 7.77f << 42.25f;
    QTest::newRow("10.5 / 20") << 10.5f << 20.0f;
    QTest::newRow("123.456 / 2.1") << 123.456f << 2.1f;
}

void TestLeitung::nullImpedanzenWieVorgabe()
{
    QFETCH(float, elLaenge);
    QFETCH(float, wellenlaenge);
    float ausNull = 0.0f;
    float ausVorgabe = 0.0f;
    const float faktorNull = LeitungSWR(elLaenge, wellenlaenge, 0.0f, 0.0f, ausNull);
    const float faktorVorgabe = LeitungSWR(elLaenge, wellenlaenge, 50.0f, 100.0f, ausVorgabe);
    QCOMPARE(bits(ausNull), bits(ausVorgabe));
    QCOMPARE(bits(faktorNull), bits(faktorVorgabe));
    QVERIFY(faktorNull >= 0.5f && faktorNull <= 1.0f);
}

void TestLeitung::angepassteLast_data()
{
    QTest::addColumn<float>("elLaenge");
    QTest::addColumn<float>("z");
    QTest::newRow("1 m, 50") << 1.0f << 50.0f;
    QTest::newRow("2 m, 50 (quarter wave)") << 2.0f << 50.0f;
    QTest::newRow("3.3 m, 75") << 3.3f << 75.0f;
    QTest::newRow("6 m, 75 (odd quarter)") << 6.0f << 75.0f;
    QTest::newRow("0.01 m, 600") << 0.01f << 600.0f;
}

void TestLeitung::angepassteLast()
{
    QFETCH(float, elLaenge);
    QFETCH(float, z);
    float aus = 0.0f;
    const float faktor = LeitungSWR(elLaenge, 8.0f, z, z, aus);
    QCOMPARE(aus, z);
    QCOMPARE(faktor, 1.0f);
    QVERIFY(faktor <= 1.0f);
}

void TestLeitung::argumenteUnveraendert()
{
    const float el = 1.0f, wl = 8.0f, zk = 0.0f, zl = 0.0f;
    float aus = 0.0f;
    LeitungSWR(el, wl, zk, zl, aus);
    QCOMPARE(el, 1.0f);
    QCOMPARE(wl, 8.0f);
    QCOMPARE(bits(zk), bits(0.0f));
    QCOMPARE(bits(zl), bits(0.0f));
}

void TestLeitung::wellenlaengeNull_data()
{
    QTest::addColumn<float>("elLaenge");
    QTest::addColumn<int>("nummer");
    QTest::newRow("1 / 0") << 1.0f << fehler::DivisionDurchNull;
    QTest::newRow("-1 / 0") << -1.0f << fehler::DivisionDurchNull;
    QTest::newRow("0 / 0") << 0.0f << fehler::Ueberlauf;
}

void TestLeitung::wellenlaengeNull()
{
    QFETCH(float, elLaenge);
    QFETCH(int, nummer);
    float aus = 123.5f;
    try {
        LeitungSWR(elLaenge, 0.0f, 50.0f, 100.0f, aus);
        QFAIL("no error raised");
    } catch (const Laufzeitfehler &f) {
        QCOMPARE(f.nummer(), nummer);
    }
    QCOMPARE(aus, 123.5f);
}

void TestLeitung::ueberlaufDerLaenge()
{
    float aus = 7.0f;
    try {
        LeitungSWR(3.0e38f, 1.0e-3f, 50.0f, 100.0f, aus);
        QFAIL("no error raised");
    } catch (const Laufzeitfehler &f) {
        QCOMPARE(f.nummer(), fehler::Ueberlauf);
    }
    QCOMPARE(aus, 7.0f);
}

void TestLeitung::negativeLaenge()
{
    float ausPositiv = 0.0f;
    float ausNegativ = 0.0f;
    const float positiv = LeitungSWR(1.3f, 8.0f, 50.0f, 72.0f, ausPositiv);
    const float negativ = LeitungSWR(-1.3f, 8.0f, 50.0f, 72.0f, ausNegativ);
    QCOMPARE(bits(ausNegativ), bits(ausPositiv));
    QCOMPARE(bits(negativ), bits(positiv));
}

QTEST_APPLESS_MAIN(TestLeitung)
#include "tst_leitung.moc"
