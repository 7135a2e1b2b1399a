#include "kabeldaten.h"
#include "kabeltabelle.h"

#include <QFile>
#include <QTest>

#include <cmath>

using namespace varo;

class TestKabeldaten : public QObject
{
    Q_OBJECT

private slots:
    void feldLesen_data();
    void feldLesen();
    void berichteLesenErstenPunkt();
    void anpassungLaesstNegativenTermWeg();
    void mitgelieferteTabelle();
    void pruefenFindetFehler_data();
    void pruefenFindetFehler();
};

void TestKabeldaten::feldLesen_data()
{
    QTest::addColumn<QString>("zeile");
    QTest::addColumn<int>("punkte"); // -1: refused
    QTest::addColumn<double>("impedanz");
    QTest::newRow("ein Punkt") << "0,66 RG-213 d=100/6,8" << 1 << 50.0;
    QTest::newRow("mehrere") << "0,66 RG-213 d=100/6,8;10/2,0;400/14,5" << 3 << 50.0;
    QTest::newRow("mit Impedanz") << "0,66 RG-59 (75 Ω) d=150/13,5;10/3,3 Z=75" << 2 << 75.0;
    QTest::newRow("Impedanz nach ;") << "0,9 Leiter d=10/0,6;30/1,1;Z=450" << 2 << 450.0;
    QTest::newRow("ohne Feld") << "0,91 Hühnerleiter" << 0 << 50.0;
    QTest::newRow("Punkt ohne /") << "0,66 A d=100" << -1 << 0.0;
    QTest::newRow("Impedanz ohne Zahl") << "0,66 A d=100/6 Z=" << -1 << 0.0;
}

void TestKabeldaten::feldLesen()
{
    QFETCH(QString, zeile);
    QFETCH(int, punkte);
    QFETCH(double, impedanz);
    QString grund;
    const auto daten = kabeldatenAusText(zeile, &grund);
    QCOMPARE(daten.has_value(), punkte >= 0);
    if (!daten) {
        QVERIFY2(grund.startsWith(QStringLiteral("Im Dämpfungsfeld")), qPrintable(grund));
        return;
    }
    QCOMPARE(daten->punkte.size(), punkte);
    QCOMPARE(daten->impedanz, impedanz);
    QCOMPARE(daten->impedanzAngegeben, impedanz != kStandardImpedanz);
    QCOMPARE(daten->typ, kabelZerlegen(zeile).Typ);
}

void TestKabeldaten::berichteLesenErstenPunkt()
{
    // The reports read the first point only; the further points and the
    // impedance must not change what they compute.
    const Kabeltyp viele =
        kabelZerlegen(QStringLiteral("0,66 RG-59 d=150/13,5;10/3,3;400/23 Z=75"));
    const Kabeltyp einer = kabelZerlegen(QStringLiteral("0,66 RG-59 d=150/13,5"));
    QCOMPARE(viele.Typ, einer.Typ);
    QCOMPARE(KabelDaempfung(30.0F, 7.1F, viele.Daempfung),
             KabelDaempfung(30.0F, 7.1F, einer.Daempfung));
    // Writing the field back gives what was read.
    const auto daten = kabeldatenLesen(viele);
    QVERIFY(daten);
    QCOMPARE(daempfungsfeld(daten->punkte, daten->impedanz, QLocale(QLocale::German)),
             viele.Daempfung);
}

void TestKabeldaten::anpassungLaesstNegativenTermWeg()
{
    // Loss rising faster than f would want a negative root term; then k2
    // is the least-squares slope of A over f alone.
    const Verlustmodell steil = verlustAnpassen({{10.0, 0.1}, {100.0, 2.0}, {1000.0, 30.0}});
    QCOMPARE(steil.k1, 0.0);
    QVERIFY(std::abs(steil.k2 - (1.0 + 200.0 + 30000.0) / (100.0 + 1e4 + 1e6)) < 1e-15);
    // Loss flattening out would want a negative f term.
    const Verlustmodell flach = verlustAnpassen({{10.0, 3.0}, {100.0, 9.0}, {1000.0, 20.0}});
    QCOMPARE(flach.k2, 0.0);
    QVERIFY(flach.k1 > 0.0);
    QCOMPARE(verlustAnpassen({{100.0, 6.8}}).dBPro100m(400.0), 13.6);
    QVERIFY(!verlustAnpassen({}).vorhanden);
}

void TestKabeldaten::mitgelieferteTabelle()
{
    QFile datei(QStringLiteral(VARO_TESTDATEN "/../../data/Kabel.txt"));
    QVERIFY(datei.open(QIODevice::ReadOnly));
    const QStringList zeilen = kabelDateiZeilen(datei.readAll());
    QCOMPARE(kabeltabellePruefen(zeilen).probleme, QStringList());

    const QList<Kabeltyp> kabel = kabelZeilenLesen(zeilen);
    QVERIFY2(kabel.size() >= 25, qPrintable(QString::number(kabel.size())));
    QCOMPARE(kabel.at(4).Typ, QStringLiteral("RG-213"));
    for (const Kabeltyp &k : kabel) {
        const auto daten = kabeldatenLesen(k);
        QVERIFY(daten);
        QVERIFY2(daten->punkte.size() >= 3, qPrintable(k.Typ));
        const Verlustmodell m = verlustAnpassen(daten->punkte);
        for (const Daempfungspunkt &p : daten->punkte) {
            const double abweichung = std::abs(m.dBPro100m(p.fMHz) / p.dBPro100m - 1.0);
            QVERIFY2(abweichung < 0.05, qPrintable(QStringLiteral("%1 bei %2 MHz: %3 %")
                                                       .arg(k.Typ)
                                                       .arg(p.fMHz)
                                                       .arg(abweichung * 100.0)));
        }
    }
    // A source line stands above every cable.
    int quellen = 0;
    for (qsizetype i = 1; i < zeilen.size(); ++i) {
        if (zeilen.at(i).startsWith(QLatin1Char(';')) || zeilen.at(i).isEmpty())
            continue;
        QVERIFY2(zeilen.at(i - 1).startsWith(QStringLiteral("; Quelle: ")),
                 qPrintable(zeilen.at(i)));
        ++quellen;
    }
    QCOMPARE(quellen, kabel.size());
}

void TestKabeldaten::pruefenFindetFehler_data()
{
    QTest::addColumn<QString>("zeile");
    QTest::addColumn<QString>("problem");
    QTest::newRow("Vk über 1") << "1,2 Schnell d=10/1;100/3"
                               << "Der Verkürzungsfaktor 1,2 liegt nicht zwischen 0 und 1.";
    QTest::newRow("fallend") << "0,66 Schnell d=100/6,8;10/2;400/5"
                             << "Die Dämpfung fällt von 6,8 dB bei 100 MHz auf 5 dB bei 400 MHz.";
    QTest::newRow("doppelt") << "0,66 Schnell d=100/6,8;10/2;100/7"
                             << "Die Frequenz 100 MHz steht mehr als einmal im Dämpfungsfeld.";
    QTest::newRow("Null") << "0,66 Schnell d=100/0;10/2"
                          << "Der Punkt 100 MHz / 0 dB braucht Frequenz und Dämpfung über 0.";
    QTest::newRow("Impedanz 0") << "0,66 Schnell d=100/6 Z=0"
                                << "Die Impedanz 0 Ω ist nicht größer als 0.";
    QTest::newRow("unlesbar") << "0,66 Schnell d=100/6;zehn"
                              << "Im Dämpfungsfeld „d=100/6;zehn“ ist „zehn“ kein Punkt "
                                 "Frequenz/Dämpfung.";
    QTest::newRow("Überschrift bleibt") << "Koaxialkabel"
                                        << "";
    QTest::newRow("gleich bleibend erlaubt") << "0,66 Eben d=10/2;100/2"
                                             << "";
}

void TestKabeldaten::pruefenFindetFehler()
{
    QFETCH(QString, zeile);
    QFETCH(QString, problem);
    QLocale::setDefault(QLocale(QLocale::German));
    const QStringList probleme =
        kabeltabellePruefen({QStringLiteral("; Kommentar 1,5 d=1/9;2/1"), zeile}).probleme;
    QLocale::setDefault(QLocale::c());
    QCOMPARE(probleme, problem.isEmpty()
                           ? QStringList()
                           : QStringList{QStringLiteral("Zeile 2 (Schnell): ") + problem});
}

QTEST_APPLESS_MAIN(TestKabeldaten)
#include "tst_kabeldaten.moc"
