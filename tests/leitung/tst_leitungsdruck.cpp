#include "fake_drucker.h"
#include "fake_oberflaeche.h"
#include "frmleitung.h"
#include "diagrammschrift.h"
#include "werte.h"

#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QtTest>

using namespace varo;

// The line analysis on paper: the chart is laid out for the page it is
// printed on, so its labels stay legible whatever the paper.
class TstLeitungsdruck : public QObject
{
    Q_OBJECT

private slots:
    void beschriftungLesbar_data();
    void beschriftungLesbar();
};

void TstLeitungsdruck::beschriftungLesbar_data()
{
    // Printable width and height in twips, as the printer port reports them.
    QTest::addColumn<int>("breite");
    QTest::addColumn<int>("hoehe");
    QTest::newRow("A4 hoch") << 11338 << 16271;
    QTest::newRow("A4 quer") << 16271 << 11338;
    QTest::newRow("A5 hoch") << 8107 << 11339;
    QTest::newRow("Letter") << 11673 << 15273;
    QTest::newRow("Streifen") << 16000 << 3000;
}

void TstLeitungsdruck::beschriftungLesbar()
{
    QFETCH(int, breite);
    QFETCH(int, hoehe);
    QTemporaryDir dir;
    QFile kabel(dir.filePath(QStringLiteral("Kabel.txt")));
    QVERIFY(kabel.open(QIODevice::WriteOnly));
    kabel.write("0,66 RG-213 d=100/6,8;10/2,0;400/14,5\n");
    kabel.close();
    QFile baender(dir.filePath(QStringLiteral("Baender.txt")));
    QVERIFY(baender.open(QIODevice::WriteOnly));
    baender.write("40m 7,0 7,2\n");
    baender.close();

    Programmwerte werte;
    werte.KabelIndex = 0;
    werte.KabelLaenge = 14.0F;
    FakeOberflaeche ui;
    FakeDrucker drucker;
    drucker.breiteTwips = breite;
    drucker.hoeheTwips = hoehe;
    QPointer<FrmLeitung> fenster =
        new FrmLeitung(werte, ui, drucker, dir.filePath("Kabel.txt"), dir.filePath("Baender.txt"));
    fenster->findChild<QLineEdit *>(QStringLiteral("txtLastR"))->setText(QStringLiteral("600"));
    QVERIFY(fenster->anzeigen());
    QMetaObject::invokeMethod(fenster, "drucken");
    delete fenster;
    QCOMPARE(drucker.bilder.size(), 1);
    QVERIFY(ui.meldungen.isEmpty());

    // The picture is scaled to fit the page: its text grows or shrinks by
    // the same factor.
    const QImage &bild = drucker.bilder.constFirst();
    const QSizeF flaeche = bild.deviceIndependentSize();
    const QSizeF seite(breite / 15.0, hoehe / 15.0);
    const double massstab =
        std::min(seite.width() / flaeche.width(), seite.height() / flaeche.height());
    const double punkte = diagrammSchrift().pointSizeF() * massstab;
    QVERIFY2(punkte >= 8.0, qPrintable(QString::number(punkte)));
    // Not a stamp in a corner either: the chart spans the page one way.
    QVERIFY2(flaeche.width() * massstab > 0.98 * seite.width() ||
                 flaeche.height() * massstab > 0.98 * seite.height(),
             qPrintable(QStringLiteral("%1 x %2").arg(flaeche.width()).arg(flaeche.height())));
    // Lines as fine as a printer draws them: several pixels to a unit.
    QVERIFY(bild.devicePixelRatio() >= 3.0);
}

QTEST_MAIN(TstLeitungsdruck)
#include "tst_leitungsdruck.moc"
