#include "smithdiagramm.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

using namespace varo;

namespace {

using Komplex = std::complex<double>;

const QSizeF kFlaeche(640, 640);
constexpr double kGenau = 1e-9;

double abstand(QPointF a, QPointF b)
{
    return std::hypot(a.x() - b.x(), a.y() - b.y());
}

Smithbild leer()
{
    return smithbildBerechnen({}, kFlaeche, QLocale());
}

} // namespace

class TstSmithdiagramm : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void orte_data();
    void orte();
    void widerstandskreise();
    void blindboegen_data();
    void blindboegen();
    void spurenMitLuecken();
    void markeUndStehwellenkreis_data();
    void markeUndStehwellenkreis();
    void bandkanten();
    void beschriftung();
    void exportieren();
};

void TstSmithdiagramm::orte_data()
{
    QTest::addColumn<Komplex>("z");
    QTest::addColumn<QPointF>("anteil"); // of the radius from the centre, y up
    QTest::newRow("matched: centre") << Komplex(1, 0) << QPointF(0, 0);
    QTest::newRow("short: left edge") << Komplex(0, 0) << QPointF(-1, 0);
    QTest::newRow("j1: top") << Komplex(0, 1) << QPointF(0, 1);
    QTest::newRow("-j1: bottom") << Komplex(0, -1) << QPointF(0, -1);
    QTest::newRow("3: Γ = 0,5") << Komplex(3, 0) << QPointF(0.5, 0);
    QTest::newRow("1/3: Γ = -0,5") << Komplex(1.0 / 3.0, 0) << QPointF(-0.5, 0);
    QTest::newRow("1 + j2: Γ = 0,5 + j0,5") << Komplex(1, 2) << QPointF(0.5, 0.5);
}

void TstSmithdiagramm::orte()
{
    QFETCH(Komplex, z);
    QFETCH(QPointF, anteil);
    const Smithbild bild = leer();
    const QPointF ort = smithOrt(bild, reflexion(z));
    QVERIFY(std::abs(ort.x() - (bild.mitte.x() + anteil.x() * bild.radius)) < kGenau);
    QVERIFY(std::abs(ort.y() - (bild.mitte.y() - anteil.y() * bild.radius)) < kGenau);
    // The chart fits the surface with room for the labels.
    QVERIFY(bild.mitte.x() - bild.radius >= 40.0 - kGenau);
    QVERIFY(bild.mitte.y() + bild.radius <= kFlaeche.height() - 40.0 + kGenau);
}

void TstSmithdiagramm::widerstandskreise()
{
    const Smithbild bild = leer();
    const QPointF rechts(bild.mitte.x() + bild.radius, bild.mitte.y());
    QCOMPARE(bild.widerstandsKreise.size(), 6);
    for (const Smithkreis &kreis : bild.widerstandsKreise) {
        // Every circle of constant r touches the right edge (z = ∞) and
        // crosses the real axis at z = r.
        QVERIFY(abstand(kreis.mitte, rechts) - kreis.radius < kGenau);
        const QPointF links = smithOrt(bild, reflexion(Komplex(kreis.wert, 0)));
        QVERIFY(std::abs(abstand(kreis.mitte, links) - kreis.radius) < kGenau);
        // And through r + j1 and r − j5 alike.
        for (const double x : {1.0, -5.0})
            QVERIFY(
                std::abs(abstand(kreis.mitte, smithOrt(bild, reflexion(Komplex(kreis.wert, x)))) -
                         kreis.radius) < kGenau);
    }
    // r = 1 runs through the centre, r = 0 is the rim itself.
    const Smithkreis &eins = bild.widerstandsKreise.at(3);
    QCOMPARE(eins.wert, 1.0);
    QVERIFY(std::abs(abstand(eins.mitte, bild.mitte) - eins.radius) < kGenau);
    QCOMPARE(bild.widerstandsKreise.at(0).radius, bild.radius);
}

void TstSmithdiagramm::blindboegen_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<double>("x");
    QTest::newRow("real axis") << 0 << 0.0;
    QTest::newRow("+j0,2") << 1 << 0.2;
    QTest::newRow("-j1") << 6 << -1.0;
    QTest::newRow("-j5") << 10 << -5.0;
}

void TstSmithdiagramm::blindboegen()
{
    QFETCH(int, index);
    QFETCH(double, x);
    const Smithbild bild = leer();
    QCOMPARE(bild.blindBoegen.size(), 11);
    const Smithbogen &b = bild.blindBoegen.at(index);
    QCOMPARE(b.wert, x);
    // From the rim at z = jx to the right edge, never outside the rim.
    QVERIFY(abstand(b.punkte.first(), smithOrt(bild, reflexion(Komplex(0, x)))) < kGenau);
    QVERIFY(abstand(b.punkte.last(), QPointF(bild.mitte.x() + bild.radius, bild.mitte.y())) <
            kGenau);
    QVERIFY(std::abs(abstand(b.punkte.first(), bild.mitte) - bild.radius) < kGenau);
    for (const QPointF &punkt : b.punkte)
        QVERIFY(abstand(punkt, bild.mitte) <= bild.radius + kGenau);
    // Every point but the last lies on the circle about Γ = 1 + j/x.
    if (x != 0.0) {
        const QPointF mitte = smithOrt(bild, Komplex(1.0, 1.0 / x));
        for (qsizetype i = 0; i + 1 < b.punkte.size(); ++i)
            QVERIFY(std::abs(abstand(b.punkte.at(i), mitte) - bild.radius / std::abs(x)) < 1e-6);
    } else {
        for (const QPointF &punkt : b.punkte)
            QCOMPARE(punkt.y(), bild.mitte.y());
    }
}

void TstSmithdiagramm::spurenMitLuecken()
{
    Smithdiagramm d;
    d.last = {Komplex(1, 0), Komplex(2, 1), std::nullopt, Komplex(0.5, -0.5), Komplex(1, 1)};
    d.sender = {Komplex(1, 0), Komplex(NAN, 0), Komplex(INFINITY, 0), Komplex(3, 0), Komplex(1, 0)};
    const Smithbild bild = smithbildBerechnen(d, kFlaeche, QLocale());
    QCOMPARE(bild.last.teile.size(), 2);
    QCOMPARE(bild.last.teile.at(0).size(), 2);
    QCOMPARE(bild.last.teile.at(1).size(), 2);
    QCOMPARE(bild.last.teile.at(0).first(), bild.mitte);
    QVERIFY(abstand(bild.last.teile.at(1).last(), smithOrt(bild, reflexion(Komplex(1, 1)))) <
            kGenau);
    // Values that are not finite are gaps as well.
    QCOMPARE(bild.sender.teile.size(), 2);
    QCOMPARE(bild.sender.teile.at(1).size(), 2);
    QVERIFY(std::abs(bild.sender.teile.at(1).first().x() - (bild.mitte.x() + bild.radius / 2.0)) <
            kGenau);
    QVERIFY(bild.last.stift.color() != bild.sender.stift.color());
}

void TstSmithdiagramm::markeUndStehwellenkreis_data()
{
    QTest::addColumn<int>("markiert");
    QTest::addColumn<int>("punkte");
    QTest::addColumn<double>("gamma"); // |Γ| of the SWR circle, -1: none
    QTest::addColumn<double>("swr");
    // The load 2 + j0 (|Γ| = 1/3), the rig 3 + j0 (|Γ| = 1/2).
    QTest::newRow("both points") << 0 << 2 << 0.5 << 3.0;
    QTest::newRow("rig in a gap: the load's circle") << 1 << 1 << 1.0 / 3.0 << 2.0;
    QTest::newRow("both in a gap") << 2 << 0 << -1.0 << 0.0;
    QTest::newRow("matched") << 3 << 2 << 0.0 << 1.0;
    QTest::newRow("none marked") << -1 << 0 << -1.0 << 0.0;
    QTest::newRow("beyond the traces") << 4 << 0 << -1.0 << 0.0;
}

void TstSmithdiagramm::markeUndStehwellenkreis()
{
    QFETCH(int, markiert);
    QFETCH(int, punkte);
    QFETCH(double, gamma);
    QFETCH(double, swr);
    Smithdiagramm d;
    d.last = {Komplex(2, 0), Komplex(2, 0), std::nullopt, Komplex(1, 0)};
    d.sender = {Komplex(3, 0), std::nullopt, std::nullopt, Komplex(1, 0)};
    d.markiert = markiert;
    const Smithbild bild = smithbildBerechnen(d, kFlaeche, QLocale());
    QCOMPARE(bild.markiert.size(), punkte);
    QCOMPARE(bool(bild.swrKreis), gamma >= 0.0);
    if (!bild.swrKreis)
        return;
    QCOMPARE(bild.swrKreis->mitte, bild.mitte);
    QVERIFY(std::abs(bild.swrKreis->radius - gamma * bild.radius) < kGenau);
    QVERIFY(std::abs(bild.swrKreis->wert - swr) < kGenau);
    // The circle runs through the last marked point.
    QVERIFY(std::abs(abstand(bild.markiert.last().ort, bild.mitte) - bild.swrKreis->radius) <
            kGenau);
    const auto anzeige = std::find_if(bild.texte.cbegin(), bild.texte.cend(), [](const auto &t) {
        return t.text.startsWith(QStringLiteral("SWR "));
    });
    QVERIFY(anzeige != bild.texte.cend());
    QCOMPARE(anzeige->text, QStringLiteral("SWR %1").arg(QLocale().toString(swr)));
}

void TstSmithdiagramm::bandkanten()
{
    Smithdiagramm d;
    d.last = {Komplex(1, 0), Komplex(2, 0), std::nullopt};
    d.sender = {Komplex(0.5, 0), Komplex(1, 1), Komplex(2, -1)};
    d.bandkanten = {0, 2, 7, -1};
    const Smithbild bild = smithbildBerechnen(d, kFlaeche, QLocale());
    // Index 0 on both traces, index 2 on the rig's only, the rest ignored.
    QCOMPARE(bild.bandkanten.size(), 3);
    QCOMPARE(bild.bandkanten.at(0).ort, bild.mitte);
    QCOMPARE(bild.bandkanten.at(0).farbe, bild.last.stift.color());
    QVERIFY(abstand(bild.bandkanten.at(2).ort, smithOrt(bild, reflexion(Komplex(2, -1)))) < kGenau);
    QCOMPARE(bild.bandkanten.at(2).farbe, bild.sender.stift.color());
}

void TstSmithdiagramm::beschriftung()
{
    const Smithbild bild = leer();
    QStringList texte;
    for (const Diagrammtext &t : bild.beschriftung)
        texte.append(t.text);
    QCOMPARE(texte, (QStringList{"0", "0,2", "0,5", "1", "2", "5", "+j0,2", "−j0,2", "+j0,5",
                                 "−j0,5", "+j1", "−j1", "+j2", "−j2", "+j5", "−j5"}));
    // Reactance labels stand outside the rim, on their arc's side.
    for (qsizetype i = 6; i < bild.beschriftung.size(); ++i) {
        const Diagrammtext &t = bild.beschriftung.at(i);
        QVERIFY(abstand(t.ort, bild.mitte) > bild.radius);
        QCOMPARE(t.ort.y() < bild.mitte.y(), t.text.startsWith(QLatin1Char('+')));
    }
}

void TstSmithdiagramm::exportieren()
{
    QTemporaryDir ordner;
    Smithdiagramm d;
    d.last = {Komplex(2, 1), Komplex(1.5, 0.5), Komplex(1, 0)};
    d.sender = {Komplex(0.6, -0.4), Komplex(0.8, -0.2), Komplex(1, 0)};
    d.markiert = 1;
    const QString png = ordner.filePath(QStringLiteral("smith.png"));
    QCOMPARE(smithExportieren(d, png).status(), 0);
    QCOMPARE(QImage(png).size(), smithDesignGroesse());
    const QString svg = ordner.filePath(QStringLiteral("smith.svg"));
    QCOMPARE(smithExportieren(d, svg, QSize(300, 300)).status(), 0);
    QFile datei(svg);
    QVERIFY(datei.open(QIODevice::ReadOnly));
    QVERIFY(datei.readAll().contains("<title>Smith-Diagramm</title>"));
    QCOMPARE(smithExportieren(d, ordner.filePath(QStringLiteral("smith.gif"))).status(), 1);
}

QTEST_MAIN(TstSmithdiagramm)
#include "tst_smithdiagramm.moc"
