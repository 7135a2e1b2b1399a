#include "eingabevorschlag.h"

#include <QTest>

// The input dialog's length proposals without a window.
class TestEingabevorschlag : public QObject
{
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    // The first multiple of the wavelength that reaches 10 m.
    void referenzLaenge_data()
    {
        QTest::addColumn<QString>("frequenz");
        QTest::addColumn<float>("laenge");
        QTest::newRow("") << "" << 10.0F;
        QTest::newRow("7") << "7" << float(300.0F / 7.0F);
        QTest::newRow("30") << "30" << 10.0F;
        QTest::newRow("31") << "31" << float(float(300.0F / 31.0F) * 2.0F);
        QTest::newRow("145") << "145" << float(float(300.0F / 145.0F) * 5.0F);
        QTest::newRow("300") << "300" << 10.0F;
        QTest::newRow("3000") << "3000" << 1.0F;
        QTest::newRow("145/7") << "145/7" << float(float(300.0F / 145.0F) * 5.0F);
        QTest::newRow("14,5") << "14,5" << float(300.0F / 14.5F);
        QTest::newRow("/7") << "/7" << 10.0F;
        QTest::newRow("0") << "0" << 10.0F;
        QTest::newRow("-7") << "-7" << 10.0F;
        QTest::newRow("1e39") << "1e39" << 10.0F;
        QTest::newRow("1e999") << "1e999" << 10.0F;
        QTest::newRow("1e-45") << "1e-45" << 10.0F;
    }
    void referenzLaenge()
    {
        QFETCH(QString, frequenz);
        QFETCH(float, laenge);
        QCOMPARE(varo::referenzLaenge(frequenz), laenge);
    }

    void laengeBeiAktivierung_data()
    {
        QTest::addColumn<QString>("frequenz");
        QTest::addColumn<float>("kabelLaenge");
        QTest::addColumn<QString>("text");
        QTest::newRow("7 bei 30") << "7" << 30.0F << "43";
        QTest::newRow("14 bei 21,5") << "14" << 21.5F << "22";
        QTest::newRow("14 bei 21,4") << "14" << 21.4F << "21";
        QTest::newRow("7 bei 60,4") << "7" << 60.4F << "60";
        QTest::newRow("145 bei 30") << "145" << 30.0F << "30";
        QTest::newRow("145 bei 0") << "145" << 0.0F << "10";
        QTest::newRow("leer bei 9,5") << "" << 9.5F << "10";
        QTest::newRow("leer bei 1234,5") << "" << 1234.5F << "1235";
    }
    void laengeBeiAktivierung()
    {
        QFETCH(QString, frequenz);
        QFETCH(float, kabelLaenge);
        QFETCH(QString, text);
        QCOMPARE(varo::laengeBeiAktivierung(frequenz, kabelLaenge, QLocale()), text);
    }

    // Just above half a wavelength of the lowest frequency, or above ten
    // wavelengths when half a wavelength is 10 m at most.
    void laengenVorschlag_data()
    {
        QTest::addColumn<QString>("frequenz");
        QTest::addColumn<QString>("text");
        QTest::newRow("14") << "14"
                            << "11";
        QTest::newRow("28") << "28"
                            << "108";
        QTest::newRow("14,99") << "14,99"
                               << "11";
        QTest::newRow("15") << "15"
                            << "201";
        QTest::newRow("150") << "150"
                             << "21";
        QTest::newRow("0,01") << "0,01"
                              << "15001";
        QTest::newRow("21/7.5/14") << "21/7.5/14"
                                   << "21";
        QTest::newRow("14/") << "14/"
                             << "11";
        QTest::newRow("200000") << "200000"
                                << "1";
        QTest::newRow("") << ""
                          << "";
        QTest::newRow("7//14") << "7//14"
                               << "";
        QTest::newRow("/7") << "/7"
                            << "";
        QTest::newRow("7/-14") << "7/-14"
                               << "";
        QTest::newRow("1e39") << "1e39"
                              << "";
        QTest::newRow("7/1e999") << "7/1e999"
                                 << "";
        QTest::newRow("1e-45") << "1e-45"
                               << "";
    }
    void laengenVorschlag()
    {
        QFETCH(QString, frequenz);
        QFETCH(QString, text);
        QCOMPARE(varo::laengenVorschlag(frequenz, QLocale()), text);
        QCOMPARE(varo::laengenVorschlag(frequenz, QLocale::c()), text);
    }

    // Ten thousand frequencies pasted at once still give an answer at once.
    void laengenVorschlagLangeListe()
    {
        QStringList frequenzen;
        for (int i = 0; i < 10000; ++i)
            frequenzen << QString::number(28 + i);
        QCOMPARE(varo::laengenVorschlag(frequenzen.join(u'/'), QLocale()), QStringLiteral("108"));
    }
};

QTEST_MAIN(TestEingabevorschlag)
#include "tst_eingabevorschlag.moc"
