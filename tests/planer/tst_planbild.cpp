#include "achse.h"
#include "baender.h"
#include "diagrammschrift.h"
#include "planergrafik.h"

#include <QFontMetricsF>
#include <QtTest>

#include <cmath>

using namespace varo;

namespace {

const QSizeF kGroesse(960, 300);

Planung plan(double von, double bis, double schritt)
{
    Planungsanfrage a;
    a.baender = baenderLesen({QStringLiteral("80m 3,5 3,8"), QStringLiteral("40m 7,0 7,2"),
                              QStringLiteral("20m 14,0 14,35")});
    a.vk = 0.66;
    a.vonLaenge = von;
    a.bisLaenge = bis;
    a.schritt = schritt;
    return planen(a);
}

double xBei(const Planbild &bild, double laenge)
{
    return bild.flaeche.left() + (laenge - bild.von) / bild.spanne * bild.flaeche.width();
}

} // namespace

class TstPlanbild : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void teilung_data();
    void teilung();
    void marken_data();
    void marken();
    void achsenbeschriftung_data();
    void achsenbeschriftung();
    void zeilen();
    void laengenachse_data();
    void laengenachse();
    void abstandsKurve_data();
    void abstandsKurve();
    void markenAufDenLaengen();
    void titelUndLegende_data();
    void titelUndLegende();
};

void TstPlanbild::teilung_data()
{
    QTest::addColumn<double>("spanne");
    QTest::addColumn<int>("ziel");
    QTest::addColumn<double>("schritt");
    QTest::newRow("37 m in 12") << 37.0 << 12 << 5.0;
    QTest::newRow("0,2 MHz in 8") << 0.2 << 8 << 0.05;
    QTest::newRow("1 in 5") << 1.0 << 5 << 0.2;
    QTest::newRow("exactly 10 steps of 10") << 100.0 << 10 << 10.0;
    QTest::newRow("0,3 in 3, not 0,2") << 0.3 << 3 << 0.1;
    QTest::newRow("just above a step") << 10.5 << 10 << 2.0;
    QTest::newRow("9,9 in 1") << 9.9 << 1 << 10.0;
    QTest::newRow("empty span") << 0.0 << 5 << 1.0;
    QTest::newRow("negative span") << -3.0 << 5 << 1.0;
    QTest::newRow("infinite span") << qInf() << 5 << 1.0;
    QTest::newRow("no ticks wanted") << 10.0 << 0 << 1.0;
}

void TstPlanbild::teilung()
{
    QFETCH(double, spanne);
    QFETCH(int, ziel);
    QFETCH(double, schritt);
    QCOMPARE(achsenTeilung(spanne, ziel), schritt);
}

void TstPlanbild::marken_data()
{
    QTest::addColumn<double>("von");
    QTest::addColumn<double>("bis");
    QTest::addColumn<double>("schritt");
    QTest::addColumn<QList<double>>("marken");
    QTest::newRow("ends between ticks") << 0.95 << 3.05 << 0.5 << QList<double>{1, 1.5, 2, 2.5, 3};
    QTest::newRow("ends on ticks")
        << 3.0 << 40.0 << 5.0 << QList<double>{5, 10, 15, 20, 25, 30, 35, 40};
    QTest::newRow("end a hair below a tick")
        << 0.0 << 0.3 - 1e-15 << 0.1 << QList<double>{0, 0.1, 0.2, 0.3};
    QTest::newRow("no tick inside") << 1.1 << 1.9 << 1.0 << QList<double>{};
    QTest::newRow("reversed") << 5.0 << 1.0 << 1.0 << QList<double>{};
    QTest::newRow("step lost in the digits") << 1e17 << 1e17 + 1e3 << 1e-3 << QList<double>{};
}

void TstPlanbild::marken()
{
    QFETCH(double, von);
    QFETCH(double, bis);
    QFETCH(double, schritt);
    QFETCH(QList<double>, marken);
    const QList<double> ist = achsenMarken(von, bis, schritt);
    QCOMPARE(ist.size(), marken.size());
    for (qsizetype i = 0; i < marken.size(); ++i)
        QVERIFY2(std::abs(ist.at(i) - marken.at(i)) < 1e-12,
                 qPrintable(QString::number(ist.at(i))));
}

void TstPlanbild::achsenbeschriftung_data()
{
    QTest::addColumn<double>("wert");
    QTest::addColumn<double>("schritt");
    QTest::addColumn<QString>("text");
    QTest::newRow("two decimals") << 7.05 << 0.05 << "7,05";
    QTest::newRow("one decimal") << 7.0 << 0.1 << "7,0";
    QTest::newRow("whole") << 40.0 << 5.0 << "40";
    QTest::newRow("grouped thousands") << 1500.0 << 500.0 << "1.500";
    QTest::newRow("almost zero") << -1e-13 << 0.1 << "0,0";
    QTest::newRow("negative") << -200.0 << 100.0 << "-200";
}

void TstPlanbild::achsenbeschriftung()
{
    QFETCH(double, wert);
    QFETCH(double, schritt);
    QFETCH(QString, text);
    QCOMPARE(achsenText(wert, schritt, QLocale()), text);
}

void TstPlanbild::zeilen()
{
    const Planung p = plan(3.0, 40.0, 0.01);
    const Planbild bild = planbildBerechnen(p, kGroesse, QLocale());
    QCOMPARE(bild.baender.size(), 3);
    // Three band rows above a row of all bands three rows high fill the area.
    for (qsizetype b = 0; b < 3; ++b) {
        const Bandzeile &zeile = bild.baender.at(b);
        QCOMPARE(zeile.name.text, p.anfrage.baender.at(b).name);
        QCOMPARE(zeile.zeile.top(), bild.flaeche.top() + double(b) * bild.zeilenHoehe);
        QCOMPARE(zeile.name.kasten.right(), bild.flaeche.left() - 8.0);
        QVERIFY(!zeile.gesperrt.isEmpty());
        for (const QRectF &streifen : zeile.gesperrt) {
            QVERIFY(streifen.top() == zeile.zeile.top() + 1.0);
            QVERIFY(streifen.left() >= bild.flaeche.left() &&
                    streifen.right() <= bild.flaeche.right());
        }
    }
    QCOMPARE(bild.gesamt.height(), 3.0 * bild.zeilenHoehe);
    QVERIFY(std::abs(bild.gesamt.bottom() - bild.flaeche.bottom()) < 1e-9);
    QCOMPARE(int(bild.frei.size()), int(p.frei.size()));
    QCOMPARE(bild.texte.at(0).text, QStringLiteral("Alle Bänder"));
    QCOMPARE(bild.texte.at(1).text, QStringLiteral("20°"));
    // The dashed line marks 20° of 90 in the row, 2 units in from its edges.
    const double y = bild.gesamt.bottom() - 2.0 - 20.0 / 90.0 * (bild.gesamt.height() - 4.0);
    QCOMPARE(bild.gefordert.y1(), y);
    QCOMPARE(bild.texte.at(1).kasten.bottom(), y);
    // The best length's mark points down at it from the row's top.
    QVERIFY(bild.bester);
    QCOMPARE(bild.bester->at(2), QPointF(xBei(bild, p.laenge(p.bester)), bild.gesamt.top() + 6.0));
}

void TstPlanbild::laengenachse_data()
{
    QTest::addColumn<double>("von");
    QTest::addColumn<double>("bis");
    QTest::addColumn<double>("schritt");
    QTest::addColumn<QStringList>("beschriftung");
    QTest::newRow("3 to 40 m") << 3.0 << 40.0 << 0.01
                               << QStringList{"5", "10", "15", "20", "25", "30", "35", "40"};
    QTest::newRow("10 to 10,3 m") << 10.0 << 10.3 << 0.001
                                  << QStringList{"10,00", "10,05", "10,10", "10,15",
                                                 "10,20", "10,25", "10,30"};
    QTest::newRow("long lines") << 500.0 << 4000.0 << 1.0
                                << QStringList{"500",   "1.000", "1.500", "2.000",
                                               "2.500", "3.000", "3.500", "4.000"};
}

void TstPlanbild::laengenachse()
{
    QFETCH(double, von);
    QFETCH(double, bis);
    QFETCH(double, schritt);
    QFETCH(QStringList, beschriftung);
    const Planbild bild = planbildBerechnen(plan(von, bis, schritt), kGroesse, QLocale());
    QCOMPARE(bild.laengenMarken.size(), beschriftung.size());
    QCOMPARE(bild.achsentexte.size(), beschriftung.size() + 1);
    QCOMPARE(bild.achsentexte.last().text, QStringLiteral("m"));
    const QFontMetricsF mass(diagrammSchrift(), &messflaeche());
    for (qsizetype i = 0; i < beschriftung.size(); ++i) {
        const Diagrammtext &text = bild.achsentexte.at(i);
        QCOMPARE(text.text, beschriftung.at(i));
        const double x = xBei(bild, bild.laengenMarken.at(i));
        QCOMPARE(bild.teilstriche.at(i),
                 QLineF(x, bild.flaeche.bottom(), x, bild.flaeche.bottom() + 4.0));
        QVERIFY(std::abs(text.ort.x() + mass.horizontalAdvance(text.text) / 2.0 - x) < 1e-9);
    }
}

void TstPlanbild::abstandsKurve_data()
{
    QTest::addColumn<double>("schritt");
    QTest::addColumn<bool>("saeulen"); // more lengths than pixel columns
    QTest::newRow("a point per length") << 0.1 << false;
    QTest::newRow("a column per pixel") << 0.001 << true;
}

void TstPlanbild::abstandsKurve()
{
    QFETCH(double, schritt);
    QFETCH(bool, saeulen);
    const Planung p = plan(3.0, 40.0, schritt);
    const Planbild bild = planbildBerechnen(p, kGroesse, QLocale());
    const double oben = bild.gesamt.top() + 2.0 - 0.5;
    const double unten = bild.gesamt.bottom() - 2.0;
    // A column stands in the middle of its pixel, the last one up to half a
    // pixel past the area's edge.
    const auto imStreifen = [&](const QPointF &punkt) {
        return punkt.y() >= oben - 1e-9 && punkt.y() <= unten + 1e-9 &&
               punkt.x() >= bild.flaeche.left() && punkt.x() <= bild.flaeche.right() + 0.5;
    };
    if (!saeulen) {
        QVERIFY(bild.abstandsSaeulen.isEmpty());
        QCOMPARE(bild.abstand.size(), qsizetype(p.anzahl));
        QCOMPARE(bild.abstand.first().x(), bild.flaeche.left());
        QVERIFY(std::abs(bild.abstand.last().x() - bild.flaeche.right()) < 1e-9);
        // The best length has the largest margin: the highest point.
        QCOMPARE(bild.abstand.at(p.bester).y(),
                 bild.gesamt.bottom() - 2.0 -
                     p.besterAbstand / 90.0 * (bild.gesamt.height() - 4.0));
        for (const QPointF &punkt : bild.abstand)
            QVERIFY(imStreifen(punkt) && punkt.y() >= bild.abstand.at(p.bester).y());
    } else {
        QVERIFY(bild.abstand.isEmpty());
        QVERIFY(bild.abstandsSaeulen.size() <= std::ceil(bild.flaeche.width()));
        QVERIFY(bild.abstandsSaeulen.size() > bild.flaeche.width() - 2);
        for (const QLineF &saeule : bild.abstandsSaeulen) {
            QVERIFY(imStreifen(saeule.p1()) && imStreifen(saeule.p2()));
            QVERIFY(saeule.y2() < saeule.y1()); // from the lowest margin up
        }
    }
}

void TstPlanbild::markenAufDenLaengen()
{
    const Planung p = plan(3.0, 40.0, 0.1);
    for (const qint64 i : {qint64(0), qint64(100), p.anzahl - 1}) {
        const Planbild bild = planbildBerechnen(p, kGroesse, QLocale(), i);
        QVERIFY(bild.zeiger);
        QCOMPARE(bild.zeiger->y1(), bild.flaeche.top());
        QCOMPARE(bild.zeiger->y2(), bild.flaeche.bottom());
        QCOMPARE(planIndexBei(p, kGroesse, bild.zeiger->x1()), i);
    }
    QVERIFY(!planbildBerechnen(p, kGroesse, QLocale(), p.anzahl).zeiger);
    QCOMPARE(planFlaeche(p, kGroesse), planbildBerechnen(p, kGroesse, QLocale()).flaeche);
}

void TstPlanbild::titelUndLegende_data()
{
    QTest::addColumn<QSizeF>("groesse");
    QTest::newRow("designed size") << QSizeF(960, 290);
    QTest::newRow("window size") << QSizeF(1400, 700);
}

void TstPlanbild::titelUndLegende()
{
    QFETCH(QSizeF, groesse);
    const Planung p = plan(3.0, 40.0, 0.001);
    const QLocale de(QLocale::German, QLocale::Germany);
    const Planbild ohne = planbildBerechnen(p, groesse, de);
    const Planbild mit = planbildBerechnen(p, groesse, de, -1, Planrahmen::TitelUndLegende);
    QVERIFY(!ohne.titel && ohne.legende.isEmpty());
    QVERIFY(mit.titel);
    QVERIFY2(mit.titel->text.startsWith(QStringLiteral("Varolinaten-Planung: 80m, 40m, 20m")),
             qPrintable(mit.titel->text));
    QVERIFY(mit.titel->text.contains(
        QStringLiteral("beste Länge %1 m").arg(de.toString(p.laenge(p.bester), 'f', 3))));
    // The title stands above the area, the legend below the axis labels,
    // and both inside the picture; the area gives up just their room.
    const QRectF bild(QPointF(0, 0), groesse);
    QVERIFY(mit.titel->kasten.bottom() <= mit.flaeche.top());
    QVERIFY(bild.contains(mit.titel->kasten));
    QCOMPARE(mit.legende.size(), 4);
    double achsenUnten = 0.0;
    for (const Diagrammtext &t : std::as_const(mit.achsentexte))
        achsenUnten = std::max(achsenUnten, t.ort.y());
    for (const Legendeneintrag &e : std::as_const(mit.legende)) {
        QVERIFY(e.muster.top() > achsenUnten);
        QVERIFY2(bild.contains(e.text.kasten) && bild.contains(e.muster), qPrintable(e.text.text));
    }
    QCOMPARE(ohne.flaeche.height() - mit.flaeche.height(), planRahmenHoehe());
}

QTEST_MAIN(TstPlanbild)
#include "tst_planbild.moc"
