#include "leitungsmessung.h"

#include <QtTest>

using namespace varo;

// The pure parts of the line analysis window: band edges on measured
// frequencies, the export's file names, the Smith chart's mouse.
class TstLeitungsmessung : public QObject
{
    Q_OBJECT

private slots:
    void bandkanten_data();
    void bandkanten();
    void filterEndung_data();
    void filterEndung();
    void vorschlag();
    void smithZeiger_data();
    void smithZeiger();
};

void TstLeitungsmessung::bandkanten_data()
{
    QTest::addColumn<QList<double>>("f");
    QTest::addColumn<QList<int>>("indizes");
    const QList<double> raster{6.9, 6.95, 7.0, 7.05, 7.1, 7.15, 7.2, 7.25};
    QTest::newRow("beide Kanten getroffen") << raster << QList<int>{2, 6};
    QTest::newRow("zwischen zwei Punkten, nächster")
        << QList<double>{6.98, 7.03, 7.17, 7.21} << QList<int>{0, 3};
    QTest::newRow("nur die obere Kante im Bereich") << QList<double>{7.1, 7.3} << QList<int>{1};
    QTest::newRow("keine Kante im Bereich") << QList<double>{7.05, 7.15} << QList<int>{};
    QTest::newRow("keine Frequenzen") << QList<double>{} << QList<int>{};
}

void TstLeitungsmessung::bandkanten()
{
    QFETCH(QList<double>, f);
    QFETCH(QList<int>, indizes);
    const QList<Band> baender{{QStringLiteral("40m"), 7.0, 7.2},
                              {QStringLiteral("20m"), 14.0, 14.35}};
    QCOMPARE(bandkantenIndizes(f, baender), indizes);
}

void TstLeitungsmessung::filterEndung_data()
{
    QTest::addColumn<QString>("datei");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("ergebnis");
    QTest::newRow("ohne Endung") << "/tmp/dipol"
                                 << "Touchstone (*.s1p)"
                                 << "/tmp/dipol.s1p";
    QTest::newRow("passende Endung") << "/tmp/dipol.PNG"
                                     << "PNG-Bild (*.png)"
                                     << "/tmp/dipol.PNG";
    QTest::newRow("Punkt im Namen") << "/tmp/7.1MHz"
                                    << "CSV-Tabelle (*.csv)"
                                    << "/tmp/7.1MHz.csv";
    QTest::newRow("Filter mit zwei Endungen") << "/tmp/a.ts"
                                              << "Messdateien (*.s1p *.ts)"
                                              << "/tmp/a.ts";
    QTest::newRow("kein Filter") << "/tmp/a"
                                 << ""
                                 << "/tmp/a";
}

void TstLeitungsmessung::filterEndung()
{
    QFETCH(QString, datei);
    QFETCH(QString, filter);
    QFETCH(QString, ergebnis);
    QCOMPARE(mitFilterEndung(datei, filter), ergebnis);
}

void TstLeitungsmessung::vorschlag()
{
    QCOMPARE(
        exportVorschlag(QStringLiteral("RG-213"), QStringLiteral("27,5"), QStringLiteral("s1p")),
        QStringLiteral("Leitungsanalyse-RG-213-27,5m.s1p"));
    // Nothing of a name may become a folder or an option.
    QCOMPARE(exportVorschlag(QStringLiteral("H 155 / Aircell"), QStringLiteral(" 30 "),
                             QStringLiteral("csv")),
             QStringLiteral("Leitungsanalyse-H-155-Aircell-30m.csv"));
}

void TstLeitungsmessung::smithZeiger_data()
{
    QTest::addColumn<QPointF>("gamma"); // where the mouse is, as Γ
    QTest::addColumn<int>("index");
    QTest::newRow("Mitte: angepasst auf der Senderspur") << QPointF(0.0, 0.0) << 1;
    QTest::newRow("nahe der Lastspur") << QPointF(0.33, 0.02) << 2;
    QTest::newRow("weit weg") << QPointF(-0.9, 0.0) << -1;
}

void TstLeitungsmessung::smithZeiger()
{
    QFETCH(QPointF, gamma);
    QFETCH(int, index);
    Smithdiagramm d;
    d.sender = {Komplex(3.0, 0.0), Komplex(1.0, 0.0), std::nullopt};
    d.last = {Komplex(0.3, 0.5), std::nullopt, Komplex(2.0, 0.0)}; // Γ(2) = 1/3
    const Smithbild bild = smithbildBerechnen(d, QSizeF(400, 400), QLocale::c());
    const QPointF p = smithOrt(bild, Komplex(gamma.x(), gamma.y()));
    QCOMPARE(smithIndexBei(d, bild, p, bild.radius / 10.0), index);
}

QTEST_MAIN(TstLeitungsmessung)
#include "tst_leitungsmessung.moc"
