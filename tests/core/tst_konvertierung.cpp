#include "konvertierung.h"
#include "laufzeitfehler.h"

#include <QTest>
#include <cfloat>
#include <cmath>

using namespace varo;

class TestKonvertierung : public QObject
{
    Q_OBJECT

private slots:
    void kommaZuPunkt_data();
    void kommaZuPunkt();
    void textZuZahl_data();
    void textZuZahl();
    void frequenzListe_data();
    void frequenzListe();
    void zuSingle_data();
    void zuSingle();
    void rundeInt16_data();
    void rundeInt16();
    void rundeInt32_data();
    void rundeInt32();
    void laengenVielfache();
    void laengenVielfacheZuKurzeListe_data();
    void laengenVielfacheZuKurzeListe();
};

// No error expected.
constexpr int keiner = 0;

void TestKonvertierung::kommaZuPunkt_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("erwartet");
    QTest::newRow("1,5") << "1,5"
                         << "1.5";
    QTest::newRow("1,2,3") << "1,2,3"
                           << "1.2.3";
    QTest::newRow(",5") << ",5"
                        << ".5";
    QTest::newRow("12") << "12"
                        << "12";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("0.66 RG58, Kupfer") << "0.66 RG58, Kupfer"
                                       << "0.66 RG58. Kupfer";
}

void TestKonvertierung::kommaZuPunkt()
{
    QFETCH(QString, text);
    QFETCH(QString, erwartet);
    QCOMPARE(KommaZuPunkt(text), erwartet);
}

void TestKonvertierung::textZuZahl_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("erwartet");
    QTest::addColumn<int>("fehlernummer");

    QTest::newRow("0.66 RG58") << "0.66 RG58" << 0.66 << keiner;
    QTest::newRow("3.5.6") << "3.5.6" << 3.5 << keiner;
    QTest::newRow("abc") << "abc" << 0.0 << keiner;
    QTest::newRow("blank 1 blank 4") << " 1 4" << 14.0 << keiner;
    QTest::newRow("0.8 12mm") << "0.8 12mm" << 0.812 << keiner;
    QTest::newRow(".5") << ".5" << 0.5 << keiner;
    QTest::newRow("tab minus lf 1 blank 2") << "\t-\n1 2" << -12.0 << keiner;
    QTest::newRow("1 CR 5") << "1\r5" << 1.0 << keiner;
    QTest::newRow("CR 5") << "\r5" << 0.0 << keiner;
    QTest::newRow("+7.1") << "+7.1" << 7.1 << keiner;
    QTest::newRow("-2.5D2") << "-2.5D2" << -250.0 << keiner;
    QTest::newRow("2d3") << "2d3" << 2000.0 << keiner;
    QTest::newRow("1.5e-3") << "1.5e-3" << 0.0015 << keiner;
    QTest::newRow("1e+ 2") << "1e+ 2" << 100.0 << keiner;
    QTest::newRow("1E") << "1E" << 1.0 << keiner;
    QTest::newRow("1E+") << "1E+" << 1.0 << keiner;
    QTest::newRow("1e--2") << "1e--2" << 1.0 << keiner;
    QTest::newRow("1e5.3") << "1e5.3" << 100000.0 << keiner;
    QTest::newRow("007.100") << "007.100" << 7.1 << keiner;
    QTest::newRow("0.000123") << "0.000123" << 0.000123 << keiner;
    QTest::newRow("14/21") << "14/21" << 14.0 << keiner;
    QTest::newRow("- 0") << "- 0" << 0.0 << keiner;
    QTest::newRow("empty") << "" << 0.0 << keiner;
    QTest::newRow(".") << "." << 0.0 << keiner;
    QTest::newRow("+") << "+" << 0.0 << keiner;
    QTest::newRow("-") << "-" << 0.0 << keiner;
    QTest::newRow("--1") << "--1" << 0.0 << keiner;
    QTest::newRow("e5") << "e5" << 0.0 << keiner;
    QTest::newRow("1,5 unconverted") << "1,5" << 1.0 << keiner;

    QTest::newRow("largest double") << "1.7976931348623157e308" << DBL_MAX << keiner;
    QTest::newRow("smallest subnormal")
        << "4.9406564584124654e-324" << 4.9406564584124654e-324 << keiner;
    QTest::newRow("1e-400") << "1e-400" << 0.0 << keiner;
    QTest::newRow("1e400") << "1e400" << 0.0 << fehler::Ueberlauf;
    QTest::newRow("-1e400") << "-1e400" << 0.0 << fehler::Ueberlauf;
    QTest::newRow("1.8e308") << "1.8e308" << 0.0 << fehler::Ueberlauf;
    QTest::newRow("1e999999999999") << "1e999999999999" << 0.0 << fehler::Ueberlauf;
    QTest::newRow("1e-999999999999") << "1e-999999999999" << 0.0 << keiner;
    QTest::newRow("0e999999999999") << "0e999999999999" << 0.0 << keiner;

    QTest::newRow("&H1F") << "&H1F" << 31.0 << keiner;
    QTest::newRow("&h 1f") << "&h 1f" << 31.0 << keiner;
    QTest::newRow("&H7FFF") << "&H7FFF" << 32767.0 << keiner;
    QTest::newRow("&H8000") << "&H8000" << -32768.0 << keiner;
    QTest::newRow("&HFFFF") << "&HFFFF" << -1.0 << keiner;
    QTest::newRow("&H10000") << "&H10000" << 65536.0 << keiner;
    QTest::newRow("&HFFFF8000") << "&HFFFF8000" << -32768.0 << keiner;
    QTest::newRow("&HFFFFFFFF") << "&HFFFFFFFF" << -1.0 << keiner;
    QTest::newRow("&H100000000") << "&H100000000" << 0.0 << fehler::Ueberlauf;
    QTest::newRow("&HFFFFFFFFFFFF") << "&HFFFFFFFFFFFF" << 0.0 << fehler::Ueberlauf;
    QTest::newRow("&H1G") << "&H1G" << 1.0 << keiner;
    QTest::newRow("&O17") << "&O17" << 15.0 << keiner;
    QTest::newRow("&o177777") << "&o177777" << -1.0 << keiner;
    QTest::newRow("&O8") << "&O8" << 0.0 << keiner;
    QTest::newRow("&H") << "&H" << 0.0 << keiner;
    QTest::newRow("&") << "&" << 0.0 << keiner;
    QTest::newRow("&X1") << "&X1" << 0.0 << keiner;

    const QString viele = QString(5000, u'1');
    QTest::newRow("5000 digits") << viele << 0.0 << fehler::Ueberlauf;
    QTest::newRow("5000 digits e-4990") << viele + "e-4990" << 1111111111.1111111111 << keiner;
    QTest::newRow("0. 5000 zeros 1") << "0." + QString(5000, u'0') + "1" << 0.0 << keiner;
    QTest::newRow("0. 300 zeros 1") << "0." + QString(300, u'0') + "1" << 1e-301 << keiner;
    QTest::newRow("100000 blanks 7") << QString(100000, u' ') + "7" << 7.0 << keiner;
    QTest::newRow("&H 100000 zeros 1") << "&H" + QString(100000, u'0') + "1" << 1.0 << keiner;
    QTest::newRow("1e 100000 nines") << "1e" + QString(100000, u'9') << 0.0 << fehler::Ueberlauf;
}

void TestKonvertierung::textZuZahl()
{
    QFETCH(QString, text);
    QFETCH(double, erwartet);
    QFETCH(int, fehlernummer);

    try {
        const double ist = TextZuZahl(text);
        QCOMPARE(fehlernummer, keiner);
        // Reading must hit the very double the literal denotes.
        QVERIFY2(ist == erwartet, qPrintable(QString::number(ist, 'g', 17)));
    } catch (const Laufzeitfehler &f) {
        QCOMPARE(f.nummer(), fehlernummer);
    }
}

void TestKonvertierung::frequenzListe_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("erwartet");
    QTest::newRow("14//21") << "14//21" << QStringList{"14", "", "21"};
    QTest::newRow("7.1/") << "7.1/" << QStringList{"7.1", ""};
    QTest::newRow("3.5") << "3.5" << QStringList{"3.5"};
    QTest::newRow("empty") << "" << QStringList{""};
    QTest::newRow("/") << "/" << QStringList{"", ""};
}

void TestKonvertierung::frequenzListe()
{
    QFETCH(QString, text);
    QFETCH(QStringList, erwartet);
    QCOMPARE(FrequenzListe(text), erwartet);
}

void TestKonvertierung::zuSingle_data()
{
    QTest::addColumn<double>("wert");
    QTest::addColumn<float>("erwartet");
    QTest::addColumn<int>("fehlernummer");
    QTest::newRow("0.1") << 0.1 << 0.1f << keiner;
    QTest::newRow("-7.1") << -7.1 << -7.1f << keiner;
    QTest::newRow("FLT_MAX") << double(FLT_MAX) << FLT_MAX << keiner;
    // Still rounds down to the largest single.
    QTest::newRow("3.40282356e38") << 3.40282356e38 << FLT_MAX << keiner;
    QTest::newRow("3.4028236e38") << 3.4028236e38 << 0.0f << fehler::Ueberlauf;
    QTest::newRow("-1e39") << -1e39 << 0.0f << fehler::Ueberlauf;
    QTest::newRow("1e-50") << 1e-50 << 0.0f << keiner;
    QTest::newRow("inf") << HUGE_VAL << 0.0f << fehler::Ueberlauf;
    QTest::newRow("nan") << std::nan("") << 0.0f << fehler::Ueberlauf;
}

void TestKonvertierung::zuSingle()
{
    QFETCH(double, wert);
    QFETCH(float, erwartet);
    QFETCH(int, fehlernummer);
    try {
        const float ist = varo::zuSingle(wert);
        QCOMPARE(fehlernummer, keiner);
        QVERIFY(ist == erwartet);
    } catch (const Laufzeitfehler &f) {
        QCOMPARE(f.nummer(), fehlernummer);
    }
}

void TestKonvertierung::rundeInt16_data()
{
    QTest::addColumn<double>("wert");
    QTest::addColumn<int>("erwartet");
    QTest::addColumn<int>("fehlernummer");
    QTest::newRow("2.5") << 2.5 << 2 << keiner;
    QTest::newRow("3.5") << 3.5 << 4 << keiner;
    QTest::newRow("-2.5") << -2.5 << -2 << keiner;
    QTest::newRow("2.5000001") << 2.5000001 << 3 << keiner;
    QTest::newRow("73.0") << (297.0 - 5.0) / 4.0 << 73 << keiner;
    QTest::newRow("51.25") << (210.0 - 5.0) / 4.0 << 51 << keiner;
    QTest::newRow("32767.4") << 32767.4 << 32767 << keiner;
    QTest::newRow("32767.5") << 32767.5 << 0 << fehler::Ueberlauf;
    QTest::newRow("-32768.5") << -32768.5 << -32768 << keiner;
    QTest::newRow("-32769") << -32769.0 << 0 << fehler::Ueberlauf;
    QTest::newRow("1e300") << 1e300 << 0 << fehler::Ueberlauf;
    QTest::newRow("nan") << std::nan("") << 0 << fehler::Ueberlauf;
}

void TestKonvertierung::rundeInt16()
{
    QFETCH(double, wert);
    QFETCH(int, erwartet);
    QFETCH(int, fehlernummer);
    try {
        const int ist = varo::rundeInt16(wert);
        QCOMPARE(fehlernummer, keiner);
        QCOMPARE(ist, erwartet);
    } catch (const Laufzeitfehler &f) {
        QCOMPARE(f.nummer(), fehlernummer);
    }
}

void TestKonvertierung::rundeInt32_data()
{
    QTest::addColumn<double>("wert");
    QTest::addColumn<qint64>("erwartet");
    QTest::addColumn<int>("fehlernummer");
    QTest::newRow("0.5") << 0.5 << qint64(0) << keiner;
    QTest::newRow("1.5") << 1.5 << qint64(2) << keiner;
    QTest::newRow("40000") << 40000.0 << qint64(40000) << keiner;
    QTest::newRow("2147483647.4") << 2147483647.4 << qint64(2147483647) << keiner;
    QTest::newRow("2147483647.5") << 2147483647.5 << qint64(0) << fehler::Ueberlauf;
    QTest::newRow("-2147483648.5") << -2147483648.5 << qint64(-2147483648LL) << keiner;
    QTest::newRow("-2147483649") << -2147483649.0 << qint64(0) << fehler::Ueberlauf;
    QTest::newRow("-inf") << -HUGE_VAL << qint64(0) << fehler::Ueberlauf;
}

void TestKonvertierung::rundeInt32()
{
    QFETCH(double, wert);
    QFETCH(qint64, erwartet);
    QFETCH(int, fehlernummer);
    try {
        const qint64 ist = varo::rundeInt32(wert);
        QCOMPARE(fehlernummer, keiner);
        QCOMPARE(ist, erwartet);
    } catch (const Laufzeitfehler &f) {
        QCOMPARE(f.nummer(), fehlernummer);
    }
}

void TestKonvertierung::laengenVielfache()
{
    std::vector<float> ungerade(6, -1.0f);
    std::vector<float> gerade(6, -1.0f);
    LaengenVielfache(5, 2.5f, 0.66f, ungerade, gerade);

    QCOMPARE(ungerade[1], 1.65f);
    QCOMPARE(ungerade[3], 4.95f);
    QCOMPARE(ungerade[5], 8.25f);
    QCOMPARE(gerade[2], 3.3f);
    QCOMPARE(gerade[4], 6.6f);
    // The multiple is formed in double and rounded to single once.
    QVERIFY(ungerade[1] == float(2.5 * double(0.66f)));
    // Only the indices of their own parity are written.
    for (std::size_t i : {0, 2, 4})
        QCOMPARE(ungerade[i], -1.0f);
    for (std::size_t i : {0, 1, 3, 5})
        QCOMPARE(gerade[i], -1.0f);
}

void TestKonvertierung::laengenVielfacheZuKurzeListe_data()
{
    QTest::addColumn<int>("laengeUngerade");
    QTest::addColumn<int>("laengeGerade");
    QTest::newRow("odd list of 5") << 5 << 6;
    QTest::newRow("even list of 5") << 6 << 5;
    QTest::newRow("both empty") << 0 << 0;
}

void TestKonvertierung::laengenVielfacheZuKurzeListe()
{
    QFETCH(int, laengeUngerade);
    QFETCH(int, laengeGerade);
    std::vector<float> ungerade(std::size_t(laengeUngerade), -1.0f);
    std::vector<float> gerade(std::size_t(laengeGerade), -1.0f);
    try {
        LaengenVielfache(5, 2.5f, 0.66f, ungerade, gerade);
        QFAIL("no error raised");
    } catch (const Laufzeitfehler &f) {
        QCOMPARE(f.nummer(), fehler::Index);
    }
    for (float v : ungerade)
        QCOMPARE(v, -1.0f);
    for (float v : gerade)
        QCOMPARE(v, -1.0f);
}

QTEST_APPLESS_MAIN(TestKonvertierung)
#include "tst_konvertierung.moc"
