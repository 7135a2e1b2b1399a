#include "zahlenformat.h"

#include <QTest>

using namespace varo;

class TestZahlenformat : public QObject
{
    Q_OBJECT

private slots:
    void formatDouble_data();
    void formatDouble();
    void formatSingle_data();
    void formatSingle();
    void allgemein_data();
    void allgemein();
    void datum_data();
    void datum();
};

// Every row gives the German text; the C locale differs only in the separator.
static QString mitPunkt(QString deutsch)
{
    return deutsch.replace(u',', u'.');
}

void TestZahlenformat::formatDouble_data()
{
    QTest::addColumn<double>("wert");
    QTest::addColumn<QString>("muster");
    QTest::addColumn<QString>("deutsch");

    QTest::newRow("7.1 ###0.000 MHz") << 7.1 << "###0.000 MHz"
                                      << "7,100 MHz";
    QTest::newRow("42.253521 ##0.000 m") << 42.253521 << "##0.000 m"
                                         << "42,254 m";
    QTest::newRow("1234567.891 ###0.000 m") << 1234567.891 << "###0.000 m"
                                            << "1234567,891 m";
    QTest::newRow("999.96 ##0.0") << 999.96 << "##0.0"
                                  << "1000,0";
    QTest::newRow("9.9996 0.000") << 9.9996 << "0.000"
                                  << "10,000";
    QTest::newRow("1e20 ###0") << 1e20 << "###0"
                               << "100000000000000000000";
    QTest::newRow("0 ###0") << 0.0 << "###0"
                            << "0";
    QTest::newRow("0.3 ###0") << 0.3 << "###0"
                              << "0";

    // Halves go away from zero.
    QTest::newRow("0.0005 0.000") << 0.0005 << "0.000"
                                  << "0,001";
    QTest::newRow("-0.0005 0.000") << -0.0005 << "0.000"
                                   << "-0,001";
    QTest::newRow("2.5 ###0") << 2.5 << "###0"
                              << "3";
    QTest::newRow("-2.5 ###0") << -2.5 << "###0"
                               << "-3";
    QTest::newRow("0.5 ###0") << 0.5 << "###0"
                              << "1";
    QTest::newRow("0.125 0.00") << 0.125 << "0.00"
                                << "0,13";
    QTest::newRow("12.5 ####0") << 12.0 + 0.5 << "####0"
                                << "13";
    // Seen with 15 digits, 1.005 is a half although its double lies below.
    QTest::newRow("1.005 0.00") << 1.005 << "0.00"
                                << "1,01";
    QTest::newRow("0.665 0.0#") << 0.665 << "0.0#"
                                << "0,67";

    // A negative value that rounds to zero has no sign.
    QTest::newRow("-0.0004 0.000") << -0.0004 << "0.000"
                                   << "0,000";
    QTest::newRow("-0.0 ###0") << -0.0 << "###0"
                               << "0";
    QTest::newRow("-0.0004 ##0.0 %") << -0.0004 << "##0.0 %"
                                     << "0,0 %";
    QTest::newRow("-12.34 ##0.0#") << -12.34 << "##0.0#"
                                   << "-12,34";

    // "#" decimals drop trailing zeros, "0" decimals stay.
    QTest::newRow("0.66 0.00#") << 0.66 << "0.00#"
                                << "0,66";
    QTest::newRow("0.1 0.00#") << 0.1 << "0.00#"
                               << "0,10";
    QTest::newRow("0.6667 0.00#") << 0.6667 << "0.00#"
                                  << "0,667";
    QTest::newRow("0.66 0.0#") << 0.66 << "0.0#"
                               << "0,66";
    QTest::newRow("0.8 0.0##") << 0.8 << "0.0##"
                               << "0,8";
    QTest::newRow("0.6666 0.0##") << 0.6666 << "0.0##"
                                  << "0,667";
    QTest::newRow("0.8 0.00##") << 0.8 << "0.00##"
                                << "0,80";
    QTest::newRow("0.80005 0.00##") << 0.80005 << "0.00##"
                                    << "0,8001";
    QTest::newRow("35 ##0.0###") << 35.0 << "##0.0###"
                                 << "35,0";
    QTest::newRow("0.12345 ##0.0###") << 0.12345 << "##0.0###"
                                      << "0,1235";
    QTest::newRow("1.004 ##0.0#") << 1.004 << "##0.0#"
                                  << "1,0";
    QTest::newRow("30 ###0.000#") << 30.0 << "###0.000#"
                                  << "30,000";
    QTest::newRow("28.28649 ###0.000#") << 28.28649 << "###0.000#"
                                        << "28,2865";

    // "%" multiplies by 100 and stays in the text.
    QTest::newRow("0.2 ##0.0 %") << 0.2 << "##0.0 %"
                                 << "20,0 %";
    QTest::newRow("0.0123 ##0.0 %") << 0.0123 << "##0.0 %"
                                    << "1,2 %";
    QTest::newRow("1.5 ##0.0 %") << 1.5 << "##0.0 %"
                                 << "150,0 %";
    QTest::newRow("0.00125 ##0.0 %") << 0.00125 << "##0.0 %"
                                     << "0,1 %";

    // Integer places without a "0" leave out a leading zero.
    QTest::newRow("0.5 ##.##") << 0.5 << "##.##"
                               << ",5";
    QTest::newRow("0 #") << 0.0 << "#"
                         << "";
    // Literal text before and after the digits is copied.
    QTest::newRow("1.5 (0.0)") << 1.5 << "(0.0)"
                               << "(1,5)";
    QTest::newRow("3 Vk 0.00") << 3.0 << "Vk 0.00"
                               << "Vk 3,00";
}

void TestZahlenformat::formatDouble()
{
    QFETCH(double, wert);
    QFETCH(QString, muster);
    QFETCH(QString, deutsch);
    QCOMPARE(formatZahl(wert, muster, QLocale(QLocale::German)), deutsch);
    QCOMPARE(formatZahl(wert, muster, QLocale::c()), mitPunkt(deutsch));
}

void TestZahlenformat::formatSingle_data()
{
    QTest::addColumn<float>("wert");
    QTest::addColumn<QString>("muster");
    QTest::addColumn<QString>("deutsch");

    QTest::newRow("0.66 0.00#") << 0.66f << "0.00#"
                                << "0,66";
    QTest::newRow("0.667 0.0##") << 0.667f << "0.0##"
                                 << "0,667";
    QTest::newRow("28.286 ###0.000#") << 28.286f << "###0.000#"
                                      << "28,286";
    QTest::newRow("30 ###0.000#") << 30.0f << "###0.000#"
                                  << "30,000";
    QTest::newRow("7.1 ###0.000 MHz") << 7.1f << "###0.000 MHz"
                                      << "7,100 MHz";
    // The single 2.675 lies below the half, but shows as 2.675000.
    QTest::newRow("2.675 0.00") << 2.675f << "0.00"
                                << "2,68";
    QTest::newRow("0.2 ##0.0 %") << 0.2f << "##0.0 %"
                                 << "20,0 %";
    QTest::newRow("-2.5 ###0") << -2.5f << "###0"
                               << "-3";
    QTest::newRow("1234567 ###0.000 m") << 1234567.0f << "###0.000 m"
                                        << "1234567,000 m";
    // Seven digits only: the single nearest 16777217 is 16777216.
    QTest::newRow("16777216 ###0") << 16777216.0f << "###0"
                                   << "16777220";
    QTest::newRow("3.4e38 ###0") << 3.4e38f << "###0"
                                 << "340000000000000000000000000000000000000";
}

void TestZahlenformat::formatSingle()
{
    QFETCH(float, wert);
    QFETCH(QString, muster);
    QFETCH(QString, deutsch);
    QCOMPARE(formatZahl(wert, muster, QLocale(QLocale::German)), deutsch);
    QCOMPARE(formatZahl(wert, muster, QLocale::c()), mitPunkt(deutsch));
}

void TestZahlenformat::allgemein_data()
{
    QTest::addColumn<float>("wert");
    QTest::addColumn<QString>("deutsch");

    QTest::newRow("7.05") << 7.05f << "7,05";
    QTest::newRow("0.01") << 0.01f << "0,01";
    QTest::newRow("30") << 30.0f << "30";
    QTest::newRow("28.286") << 28.286f << "28,286";
    QTest::newRow("0.1") << 0.1f << "0,1";
    QTest::newRow("1/3") << 1.0f / 3.0f << "0,3333333";
    QTest::newRow("-3.25") << -3.25f << "-3,25";
    QTest::newRow("0") << 0.0f << "0";
    QTest::newRow("-0") << -0.0f << "0";
    QTest::newRow("1234567") << 1234567.0f << "1234567";
    QTest::newRow("9999999") << 9999999.0f << "9999999";
    QTest::newRow("1e7") << 1e7f << "1E+07";
    QTest::newRow("1.5e8") << 1.5e8f << "1,5E+08";
    QTest::newRow("123456789") << 123456789.0f << "1,234568E+08";
    QTest::newRow("1e38") << 1e38f << "1E+38";
    QTest::newRow("0.0001") << 0.0001f << "0,0001";
    QTest::newRow("0.00012345") << 0.00012345f << "0,00012345";
    QTest::newRow("1e-5") << 1e-5f << "1E-05";
    QTest::newRow("-1e-5") << -1e-5f << "-1E-05";
    QTest::newRow("1e-40 subnormal") << 1e-40f << "9,999946E-41";
}

void TestZahlenformat::allgemein()
{
    QFETCH(float, wert);
    QFETCH(QString, deutsch);
    QCOMPARE(formatAllgemein(wert, QLocale(QLocale::German)), deutsch);
    QCOMPARE(formatAllgemein(wert, QLocale::c()), mitPunkt(deutsch));
}

void TestZahlenformat::datum_data()
{
    QTest::addColumn<QDate>("datum");
    QTest::addColumn<QString>("erwartet");
    QTest::newRow("2026-12-08") << QDate(2026, 12, 8) << "20261208";
    QTest::newRow("2000-01-31") << QDate(2000, 1, 31) << "20000131";
    QTest::newRow("invalid") << QDate() << "";
}

void TestZahlenformat::datum()
{
    QFETCH(QDate, datum);
    QFETCH(QString, erwartet);
    QCOMPARE(formatDatum(datum), erwartet);
}

QTEST_APPLESS_MAIN(TestZahlenformat)
#include "tst_zahlenformat.moc"
