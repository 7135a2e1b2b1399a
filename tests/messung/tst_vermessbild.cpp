#include "kabelmodell.h"
#include "vermessbild.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

using namespace varo;

namespace {

const char *const kRG59 = "0,66 RG-59 d=150/13,5;10/3,3;50/7,5;400/23 Z=75";

Kabelmessergebnis gemessen(const Modellkabel &m, bool mitKurz)
{
    const Kabeldaten k = *kabeldatenAusText(QString::fromUtf8(m.zeile));
    std::optional<QList<Messpunkt>> kurz;
    if (mitKurz)
        kurz = modellMessung(m, Abschluss::Kurzschluss);
    return kabelVermessen(modellMessung(m, Abschluss::Offen), kurz, {m.laenge, {}, k, "Probe"})
        .ergebnis;
}

} // namespace

class TstVermessbild : public QObject
{
    Q_OBJECT

private slots:
    void auslegung_data();
    void auslegung();
    void nurUeberschrift();
    void zeilen();
};

void TstVermessbild::auslegung_data()
{
    QTest::addColumn<bool>("mitKurz");
    QTest::addColumn<QSize>("groesse");
    QTest::newRow("offen und kurz") << true << vermessDesignGroesse();
    QTest::newRow("nur offen") << false << vermessDesignGroesse();
    QTest::newRow("klein") << true << QSize(320, 200);
}

void TstVermessbild::auslegung()
{
    QFETCH(bool, mitKurz);
    QFETCH(QSize, groesse);
    const Kabelmessergebnis e = gemessen({kRG59, 8, 1, 450, 901}, mitKurz);
    QVERIFY(e.werte.size() >= 2);
    const Vermessbild bild = vermessbildBerechnen(e, "RG-59", QSizeF(groesse), QLocale::c());
    QVERIFY(bild.mitAchsen);
    QCOMPARE(bild.ueberschrift.text, QStringLiteral("RG-59"));
    QVERIFY(bild.vk.rechteck.bottom() < bild.verlust.rechteck.top());
    QVERIFY(QRectF(QPointF(0, 0), QSizeF(groesse)).contains(bild.verlust.rechteck));
    // Every measured point has its dot; the Vk dots and the mean line lie in their panel.
    QCOMPARE(bild.punkte.size(), 2);
    QCOMPARE(bild.punkte.at(0).orte.size(), e.werte.size());
    QCOMPARE(bild.punkte.at(1).orte.size(), e.werte.size());
    const QRectF vk = bild.vk.rechteck.adjusted(-1e-9, -1e-9, 1e-9, 1e-9);
    for (const QPointF &p : bild.punkte.at(0).orte)
        QVERIFY(vk.contains(p));
    QCOMPARE(bild.kurven.size(), 2);
    const QPolygonF mittel = bild.kurven.at(0).teile.at(0);
    QCOMPARE(mittel.first().y(), bild.vk.yZuPixel(e.VkMittel));
    QVERIFY(vk.contains(mittel.first()));
    // The fitted loss rises from the lowest to the highest frequency, inside its panel.
    const QPolygonF anpassung = bild.kurven.at(1).teile.at(0);
    QVERIFY(anpassung.first().y() > anpassung.last().y());
    const QRectF verlust = bild.verlust.rechteck.adjusted(-1e-9, -1e-9, 1e-9, 1e-9);
    for (const QPointF &p : anpassung)
        QVERIFY(verlust.contains(p));
    QVERIFY(!bild.achsentexte.isEmpty());
    QCOMPARE(bild.ausschnitte.size(), bild.punkte.size() + bild.kurven.size());

    // The paint pass puts the dots' colour on the white surface.
    QImage ziel(groesse, QImage::Format_RGB32);
    QPainter painter(&ziel);
    vermessbildZeichnen(painter, bild);
    painter.end();
    const QPoint punkt = bild.punkte.at(0).orte.at(e.werte.size() / 2).toPoint();
    QCOMPARE(ziel.pixelColor(punkt), bild.punkte.at(0).farbe);
}

void TstVermessbild::nurUeberschrift()
{
    Kabelmessergebnis e;
    const Vermessbild leer = vermessbildBerechnen(e, "leer", QSizeF(400, 300), QLocale::c());
    QVERIFY(!leer.mitAchsen && leer.punkte.isEmpty() && leer.kurven.isEmpty());
    e.werte.append(Messwert{7.0, 0.66, std::nullopt, std::nullopt, 1.0, 10.0});
    QVERIFY(!vermessbildBerechnen(e, "ein Punkt", QSizeF(400, 300), QLocale::c()).mitAchsen);
}

void TstVermessbild::zeilen()
{
    const Kabelmessergebnis e = gemessen({kRG59, 8, 1, 450, 901}, true);
    const QList<Vermesszeile> z = vermesszeilen(e);
    QCOMPARE(z.size(), e.zeilenpunkte.size());
    for (qsizetype i = 0; i < z.size(); ++i) {
        QVERIFY(i == 0 || z.at(i).fMHz > z.at(i - 1).fMHz);
        QVERIFY(std::abs(std::abs(z.at(i).Zo) - 75.0) < 0.75);
        QVERIFY(z.at(i).Zo.imag() < 0.0); // loss in the conductors makes it capacitive
    }
    QCOMPARE(impedanzText({75.04, -0.312}, QLocale(QLocale::German)), "75,04 − j0,31 Ω");
    QCOMPARE(impedanzText({50.0, 1.5}, QLocale::c()), "50.0 + j1.5 Ω");
}

QTEST_MAIN(TstVermessbild)
#include "tst_vermessbild.moc"
