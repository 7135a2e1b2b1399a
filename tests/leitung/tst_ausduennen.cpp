#include "ausduennen.h"

#include <QtTest>

#include <cmath>

using namespace varo;

// Thinning long traces in the layout must not change what is drawn: the
// envelope of every column stays, no dropped point lies farther than the
// distance from the kept trace, and both ends are kept.
class TstAusduennen : public QObject
{
    Q_OBJECT

private slots:
    void spaltenweise_data();
    void spaltenweise();
    void nahe();
};

namespace {

QPolygonF welle(int punkte, double breite, double hoehe, double perioden)
{
    QPolygonF zug;
    for (int i = 0; i < punkte; ++i) {
        const double x = breite * i / (punkte - 1);
        zug.append({x, hoehe * std::sin(perioden * 6.283185307 * i / (punkte - 1))});
    }
    return zug;
}

} // namespace

void TstAusduennen::spaltenweise_data()
{
    QTest::addColumn<QPolygonF>("zug");
    QTest::addColumn<double>("breite");
    QTest::addColumn<int>("hoechstens");
    QTest::newRow("10001 Punkte auf 700 Spalten") << welle(10001, 700.0, 200.0, 3.0) << 1.0 << 2801;
    QTest::newRow("schnelle Schwingung") << welle(10001, 100.0, 50.0, 400.0) << 1.0 << 401;
    QTest::newRow("weniger Punkte als Spalten") << welle(50, 700.0, 10.0, 1.0) << 1.0 << 50;
    QTest::newRow("vier Punkte bleiben") << welle(4, 0.5, 10.0, 1.0) << 1.0 << 4;
}

void TstAusduennen::spaltenweise()
{
    QFETCH(QPolygonF, zug);
    QFETCH(double, breite);
    QFETCH(int, hoechstens);
    const QPolygonF duenn = spaltenweiseAusduennen(zug, breite);
    QVERIFY2(duenn.size() <= hoechstens, qPrintable(QString::number(duenn.size())));
    QCOMPARE(duenn.constFirst(), zug.constFirst());
    QCOMPARE(duenn.constLast(), zug.constLast());
    // Every column keeps its lowest and highest point, in the order drawn.
    QHash<qint64, std::pair<double, double>> voll, rest;
    const auto huelle = [breite](const QPolygonF &p, auto &h) {
        for (const QPointF &q : p) {
            const auto spalte = qint64(std::floor(q.x() / breite));
            auto it = h.find(spalte);
            if (it == h.end())
                h.insert(spalte, {q.y(), q.y()});
            else
                *it = {std::min(it->first, q.y()), std::max(it->second, q.y())};
        }
    };
    huelle(zug, voll);
    huelle(duenn, rest);
    QCOMPARE(rest, voll);
    for (qsizetype i = 1; i < duenn.size(); ++i)
        QVERIFY(duenn.at(i).x() >= duenn.at(i - 1).x());
}

void TstAusduennen::nahe()
{
    // A dense circle: every point of it lies within the distance of the
    // last one kept before it, both ends stay, and most points go.
    QPolygonF kreis;
    for (int i = 0; i <= 10000; ++i)
        kreis.append({300.0 * std::cos(i * 1e-3), 300.0 * std::sin(i * 1e-3)});
    const QPolygonF duenn = naheAusduennen(kreis, 1.0);
    QCOMPARE(duenn.constFirst(), kreis.constFirst());
    QCOMPARE(duenn.constLast(), kreis.constLast());
    QVERIFY(duenn.size() < kreis.size() / 2);
    qsizetype k = 0;
    for (const QPointF &p : kreis) {
        if (k + 1 < duenn.size() && duenn.at(k + 1) == p)
            ++k;
        QVERIFY(QLineF(p, duenn.at(k)).length() < 1.0);
    }
}

QTEST_MAIN(TstAusduennen)
#include "tst_ausduennen.moc"
