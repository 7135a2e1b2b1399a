#include "baender.h"
#include "planer.h"

#include <QTemporaryDir>
#include <QTest>

using namespace varo;

class TestPlaner : public QObject
{
    Q_OBJECT

private slots:
    void bandAbstand_data();
    void bandAbstand();
    void schmalesBandAufHalbwelle();
    void rechnerWieEinzelband();
    void beispielwertFuenfBaender();
    void freibereicheVonHand();
    void raster_data();
    void raster();
    void pruefen_data();
    void pruefen();
    void baenderWaehlen_data();
    void baenderWaehlen();
    void csv_data();
    void csv();
    void bandlisteDesProgramms();
    void bandlisteMitFehlern();
    void freiliste_data();
    void freiliste();
    void zahlText_data();
    void zahlText();
};

void TestPlaner::bandAbstand_data()
{
    QTest::addColumn<double>("laenge");
    QTest::addColumn<double>("von");
    QTest::addColumn<double>("bis");
    QTest::addColumn<double>("vk");
    QTest::addColumn<double>("abstand");
    // 10 m at Vk 1 are 12° per MHz.
    QTest::newRow("odd quarter wave at the lower edge") << 10.0 << 7.5 << 7.6 << 1.0 << 0.0;
    QTest::newRow("odd quarter wave at the upper edge") << 10.0 << 7.4 << 7.5 << 1.0 << 0.0;
    QTest::newRow("odd quarter wave inside") << 10.0 << 7.0 << 8.0 << 1.0 << 0.0;
    QTest::newRow("three quarters inside") << 10.0 << 22.0 << 23.0 << 1.0 << 0.0;
    QTest::newRow("below the first quarter") << 10.0 << 3.5 << 3.8 << 1.0 << 44.4;
    QTest::newRow("Vk halves the cable wave") << 5.0 << 3.75 << 3.8 << 0.5 << 44.4;
    QTest::newRow("between 270 and 450") << 20.0 << 14.0 << 14.35 << 1.0 << 66.0;
    QTest::newRow("just past 90") << 10.0 << 7.6 << 8.0 << 1.0 << 1.2;
}

void TestPlaner::bandAbstand()
{
    QFETCH(double, laenge);
    QFETCH(double, von);
    QFETCH(double, bis);
    QFETCH(double, vk);
    QFETCH(double, abstand);
    const double ist = varo::bandAbstand(laenge, Band{QStringLiteral("b"), von, bis}, vk);
    QVERIFY2(std::fabs(ist - abstand) < 1e-9, qPrintable(QString::number(ist, 'g', 17)));
}

void TestPlaner::schmalesBandAufHalbwelle()
{
    // 10 m at 15 MHz and Vk 1 are exactly 180°; the band's width pulls the
    // upper edge just off the half wave.
    const double a = varo::bandAbstand(10.0, Band{QStringLiteral("b"), 15.0, 15.001}, 1.0);
    QVERIFY(a < 90.0);
    QVERIFY(a > 89.98);
}

void TestPlaner::rechnerWieEinzelband()
{
    const QList<Band> baender = {{QStringLiteral("80m"), 3.5, 3.8},
                                 {QStringLiteral("40m"), 7.0, 7.2},
                                 {QStringLiteral("20m"), 14.0, 14.35}};
    const Abstandsrechner rechner(baender, 0.66);
    for (double laenge : {1.0, 6.9, 13.9, 27.452, 33.3}) {
        double kleinster = 90.0;
        int erwartet = -1;
        for (int b = 0; b < baender.size(); ++b) {
            const double a = varo::bandAbstand(laenge, baender.at(b), 0.66);
            QCOMPARE(rechner.bandAbstand(laenge, b), a);
            if (erwartet < 0 || a < kleinster) {
                kleinster = a;
                erwartet = b;
            }
        }
        int begrenzend = -2;
        QCOMPARE(rechner.abstand(laenge, &begrenzend), kleinster);
        QCOMPARE(begrenzend, erwartet);
    }
}

void TestPlaner::beispielwertFuenfBaender()
{
    Planungsanfrage a;
    a.baender = {{QStringLiteral("80m"), 3.5, 3.8},
                 {QStringLiteral("40m"), 7.0, 7.2},
                 {QStringLiteral("20m"), 14.0, 14.35},
                 {QStringLiteral("15m"), 21.0, 21.45},
                 {QStringLiteral("10m"), 28.0, 29.7}};
    a.vk = 0.66;
    a.vonLaenge = 3.0;
    a.bisLaenge = 40.0;
    a.schritt = 0.001;
    QVERIFY(planPruefen(a).isEmpty());
    const Planung p = planen(a);
    QCOMPARE(p.anzahl, qint64(37001));
    QCOMPARE(QString::number(p.laenge(p.bester), 'f', 3), QStringLiteral("27.452"));
    QCOMPARE(QString::number(p.besterAbstand, 'f', 2), QStringLiteral("47.56"));
    // The best length lies in one of the clear ranges and is that range's best.
    const auto bereich = std::find_if(p.frei.cbegin(), p.frei.cend(), [&](const Freibereich &f) {
        return f.von <= p.bester && p.bester <= f.bis;
    });
    QVERIFY(bereich != p.frei.cend());
    QCOMPARE(bereich->bester, p.bester);
    for (const Freibereich &f : p.frei) {
        for (qint64 i = f.von; i <= f.bis; ++i)
            QVERIFY(p.abstand[size_t(i)] >= 20.0 && p.abstand[size_t(i)] <= f.besterAbstand);
        if (f.von > 0)
            QVERIFY(p.abstand[size_t(f.von - 1)] < 20.0);
    }
}

void TestPlaner::freibereicheVonHand()
{
    // Vk 1, 7.5–7.6 MHz: 5 m give 45–45.6° (44.4), 10 m 90–91.2° (0),
    // 15 m 135–136.8° (45).
    Planungsanfrage a;
    a.baender = {{QStringLiteral("b"), 7.5, 7.6}};
    a.vk = 1.0;
    a.vonLaenge = 5.0;
    a.bisLaenge = 15.0;
    a.schritt = 5.0;
    const Planung p = planen(a);
    QCOMPARE(p.anzahl, qint64(3));
    QCOMPARE(p.frei.size(), size_t(2));
    QCOMPARE(p.frei[0].von, qint64(0));
    QCOMPARE(p.frei[0].bis, qint64(0));
    QCOMPARE(p.frei[1].bester, qint64(2));
    QCOMPARE(p.bester, qint64(2));
    QCOMPARE(p.besterAbstand, 45.0);
    QCOMPARE(p.gesperrt.size(), size_t(1));
    QCOMPARE(p.gesperrt[0].size(), size_t(1));
    QCOMPARE(p.gesperrt[0][0].von, qint64(1));
    QCOMPARE(p.gesperrt[0][0].bis, qint64(1));
    QCOMPARE(p.begrenzend[1], qint16(0));
}

void TestPlaner::raster_data()
{
    QTest::addColumn<double>("von");
    QTest::addColumn<double>("bis");
    QTest::addColumn<double>("schritt");
    QTest::addColumn<qint64>("anzahl");
    QTest::newRow("3-40 mm") << 3.0 << 40.0 << 0.001 << qint64(37001);
    QTest::newRow("0.5-200 mm") << 0.5 << 200.0 << 0.001 << qint64(199501);
    QTest::newRow("last step just short") << 1.0 << 1.3 << 0.1 << qint64(4);
    QTest::newRow("end not on the grid") << 0.0 << 1.0 << 0.3 << qint64(4);
    QTest::newRow("one length") << 2.0 << 2.0 << 0.1 << qint64(1);
    QTest::newRow("step 0") << 1.0 << 2.0 << 0.0 << qint64(0);
    QTest::newRow("reversed") << 2.0 << 1.0 << 0.1 << qint64(0);
    QTest::newRow("exactly the limit") << 0.0 << 999.999 << 0.001 << qint64(1000000);
    QTest::newRow("one beyond the limit") << 0.0 << 1000.0 << 0.001 << qint64(-1);
}

void TestPlaner::raster()
{
    QFETCH(double, von);
    QFETCH(double, bis);
    QFETCH(double, schritt);
    QFETCH(qint64, anzahl);
    QCOMPARE(rasterAnzahl(von, bis, schritt, kGroessteRasterAnzahl), anzahl);
}

void TestPlaner::pruefen_data()
{
    QTest::addColumn<double>("vk");
    QTest::addColumn<double>("von");
    QTest::addColumn<double>("bis");
    QTest::addColumn<double>("schritt");
    QTest::addColumn<double>("bandVon");
    QTest::addColumn<bool>("gut");
    QTest::newRow("valid") << 0.66 << 1.0 << 10.0 << 0.01 << 7.0 << true;
    QTest::newRow("Vk 1") << 1.0 << 1.0 << 10.0 << 0.01 << 7.0 << true;
    QTest::newRow("Vk 0") << 0.0 << 1.0 << 10.0 << 0.01 << 7.0 << false;
    QTest::newRow("Vk 1.01") << 1.01 << 1.0 << 10.0 << 0.01 << 7.0 << false;
    QTest::newRow("von 0") << 0.66 << 0.0 << 10.0 << 0.01 << 7.0 << false;
    QTest::newRow("von = bis") << 0.66 << 10.0 << 10.0 << 0.01 << 7.0 << false;
    QTest::newRow("step 0") << 0.66 << 1.0 << 10.0 << 0.0 << 7.0 << false;
    QTest::newRow("step -1") << 0.66 << 1.0 << 10.0 << -1.0 << 7.0 << false;
    QTest::newRow("too many lengths") << 0.66 << 1.0 << 2000.0 << 0.001 << 7.0 << false;
    QTest::newRow("band reversed") << 0.66 << 1.0 << 10.0 << 0.01 << 7.3 << false;
    QTest::newRow("NaN step") << 0.66 << 1.0 << 10.0 << qQNaN() << 7.0 << false;
}

void TestPlaner::pruefen()
{
    QFETCH(double, vk);
    QFETCH(double, von);
    QFETCH(double, bis);
    QFETCH(double, schritt);
    QFETCH(double, bandVon);
    QFETCH(bool, gut);
    Planungsanfrage a;
    a.baender = {{QStringLiteral("40m"), bandVon, 7.2}};
    a.vk = vk;
    a.vonLaenge = von;
    a.bisLaenge = bis;
    a.schritt = schritt;
    QCOMPARE(planPruefen(a).isEmpty(), gut);
}

void TestPlaner::baenderWaehlen_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("namen"); // empty: refused
    QTest::addColumn<double>("letzteBis");
    QTest::newRow("80m/40m/14-14,35") << "80m/40m/14-14,35"
                                      << "80m|40m|14-14,35" << 14.35;
    QTest::newRow("case and blanks") << " 40M / 20m"
                                     << "40m|20m" << 14.35;
    QTest::newRow("point decimals") << "7.0-7.2"
                                    << "7.0-7.2" << 7.2;
    QTest::newRow("unknown name") << "81m"
                                  << "" << 0.0;
    QTest::newRow("lower above upper") << "14,35-14"
                                       << "" << 0.0;
    QTest::newRow("lower edge 0") << "0-3"
                                  << "" << 0.0;
    QTest::newRow("negative lower edge") << "-1-3"
                                         << "" << 0.0;
    QTest::newRow("open range") << "14-"
                                << "" << 0.0;
    QTest::newRow("empty field") << "80m//40m"
                                 << "" << 0.0;
}

void TestPlaner::baenderWaehlen()
{
    QFETCH(QString, text);
    QFETCH(QString, namen);
    QFETCH(double, letzteBis);
    const QList<Band> bekannt = {{QStringLiteral("80m"), 3.5, 3.8},
                                 {QStringLiteral("40m"), 7.0, 7.2},
                                 {QStringLiteral("20m"), 14.0, 14.35}};
    QString grund;
    const QList<Band> baender = varo::baenderWaehlen(text, bekannt, grund);
    QStringList ist;
    for (const Band &b : baender)
        ist << b.name;
    QCOMPARE(ist.join(QLatin1Char('|')), namen);
    QCOMPARE(grund.isEmpty(), !namen.isEmpty());
    if (!baender.isEmpty())
        QCOMPARE(baender.last().bisMHz, letzteBis);
}

void TestPlaner::csv_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<double>("von");
    QTest::addColumn<double>("schritt");
    QTest::addColumn<QString>("ersteZeilen");
    // 40 m band, Vk 1: 10 m give 84–86.4°, 10.5 m 88.2–90.72°.
    QTest::newRow("de, step 0,5") << "de_DE" << 10.0 << 0.5
                                  << "Laenge/m;Abstand/Grad\n10,00;3,600\n10,50;0,000\n";
    QTest::newRow("C, step 0.25") << "C" << 10.0 << 0.25
                                  << "Laenge/m;Abstand/Grad\n10.00;3.600\n10.25;1.440\n";
    QTest::newRow("de, from 10,005")
        << "de_DE" << 10.005 << 0.5 << "Laenge/m;Abstand/Grad\n10,005;3,557\n";
}

void TestPlaner::csv()
{
    QFETCH(QString, locale);
    QFETCH(double, von);
    QFETCH(double, schritt);
    QFETCH(QString, ersteZeilen);
    Planungsanfrage a;
    a.baender = {{QStringLiteral("40m"), 7.0, 7.2}};
    a.vk = 1.0;
    a.vonLaenge = von;
    a.bisLaenge = 11.0;
    a.schritt = schritt;
    const QByteArray csv = planungCsv(planen(a), QLocale(locale));
    QVERIFY2(csv.startsWith(ersteZeilen.toUtf8()), csv.constData());
    QCOMPARE(csv.count('\n'), rasterAnzahl(von, 11.0, schritt, kGroessteRasterAnzahl) + 1);
}

void TestPlaner::bandlisteDesProgramms()
{
    QString grund;
    const QList<Band> baender = baenderLaden(QStringLiteral(VARO_BINDIR "/Baender.txt"), &grund);
    QVERIFY2(grund.isEmpty(), qPrintable(grund));
    QCOMPARE(baender.size(), 13);
    QCOMPARE(baender.first().name, QStringLiteral("160m"));
    QCOMPARE(baender.first().vonMHz, 1.81);
    QCOMPARE(baender.at(2).vonMHz, 5.3515);
    QCOMPARE(baender.last().name, QStringLiteral("70cm"));
    QCOMPARE(baender.last().bisMHz, 440.0);
}

void TestPlaner::bandlisteMitFehlern()
{
    const QStringList zeilen = {QStringLiteral("; Kommentar"),      QString(),
                                QStringLiteral("40m 7,0 7,2"),      QStringLiteral("kaputt 7,0"),
                                QStringLiteral("20m\t14.0\t14.35"), QStringLiteral("x 5 3")};
    QString grund;
    const QList<Band> baender = baenderLesen(zeilen, &grund);
    QCOMPARE(baender.size(), 2);
    QCOMPARE(baender.at(1).bisMHz, 14.35);
    QVERIFY(grund.contains(QLatin1String("Zeile 4")));

    QTemporaryDir ordner;
    baenderLaden(ordner.filePath(QStringLiteral("fehlt.txt")), &grund);
    QVERIFY(grund.contains(QLatin1String("fehlt.txt")));
}

void TestPlaner::freiliste_data()
{
    QTest::addColumn<double>("schritt");
    QTest::addColumn<QList<qint64>>("laengen"); // lengths of the clear ranges, in steps
    QTest::addColumn<QList<qint64>>("gelistet");
    QTest::addColumn<QString>("hinweis");
    QTest::newRow("cm grid: one length is no range")
        << 0.01 << QList<qint64>{0, 1, 5} << QList<qint64>{1, 5}
        << "Ein freier Bereich schmaler als 1 cm ist nicht aufgeführt.";
    QTest::newRow("mm grid: 9 mm out, 10 mm in")
        << 0.001 << QList<qint64>{9, 10, 3, 400} << QList<qint64>{10, 400}
        << "2 freie Bereiche schmaler als 1 cm sind nicht aufgeführt.";
    QTest::newRow("coarse grid keeps every pair")
        << 0.5 << QList<qint64>{1, 2} << QList<qint64>{1, 2} << QString();
    QTest::newRow("all too narrow") << 0.001 << QList<qint64>{0, 2} << QList<qint64>{}
                                    << "2 freie Bereiche schmaler als 1 cm sind nicht aufgeführt.";
}

void TestPlaner::freiliste()
{
    QFETCH(double, schritt);
    QFETCH(QList<qint64>, laengen);
    QFETCH(QList<qint64>, gelistet);
    QFETCH(QString, hinweis);
    Planung p;
    p.anfrage.vonLaenge = 3.0;
    p.anfrage.schritt = schritt;
    qint64 anfang = 0;
    for (const qint64 l : laengen) {
        p.frei.push_back({anfang, anfang + l, anfang, 30.0});
        anfang += l + 7;
    }
    const Freiliste liste = varo::freiliste(p);
    QList<qint64> ist;
    for (const Freibereich &f : liste.bereiche)
        ist << f.bis - f.von;
    QCOMPARE(ist, gelistet);
    QCOMPARE(liste.weggelassen, laengen.size() - gelistet.size());
    QCOMPARE(weggelassenHinweis(liste.weggelassen), hinweis);
}

void TestPlaner::zahlText_data()
{
    QTest::addColumn<double>("wert");
    QTest::addColumn<QString>("text");
    QTest::newRow("60 m lower edge") << 5.3515 << "5,3515";
    QTest::newRow("60 m upper edge") << 5.3665 << "5,3665";
    QTest::newRow("whole number") << 14.0 << "14";
    QTest::newRow("no thousands separator") << 1240.5 << "1240,5";
    QTest::newRow("seven digits at most") << 145.0123456 << "145,0123";
}

void TestPlaner::zahlText()
{
    QFETCH(double, wert);
    QFETCH(QString, text);
    QCOMPARE(baenderZahlText(wert, QLocale(QLocale::German, QLocale::Germany)), text);
    // Read back, it is the band list's number again.
    bool ok = false;
    QCOMPARE(baenderZahl(text, &ok), QLocale::c().toDouble(QString(text).replace(',', '.')));
    QVERIFY(ok);
}

QTEST_GUILESS_MAIN(TestPlaner)
#include "tst_planer.moc"
