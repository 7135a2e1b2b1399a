#include "fake_drucker.h"
#include "fake_oberflaeche.h"
#include "frmleitung.h"
#include "werte.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QtTest>

using namespace varo;

// The line analysis window on a small screen at twice the scale: with a
// result in both views its minimum size fits 1024 × 600 logical pixels.
class TstLeitungSkaliert : public QObject
{
    Q_OBJECT

private slots:
    void passtAufKleinenBildschirm();
};

void TstLeitungSkaliert::passtAufKleinenBildschirm()
{
    QTemporaryDir dir;
    Programmwerte werte;
    FakeOberflaeche ui;
    FakeDrucker drucker;
    FrmLeitung fenster(werte, ui, drucker, Kabeltabellen::programm(),
                       dir.filePath(QStringLiteral("Baender.txt")));
    fenster.show();
    QCOMPARE(fenster.devicePixelRatio(), 2.0);
    QVERIFY(fenster.messdateiLaden(QStringLiteral(VARO_TESTDATEN "/messung/dipol_40m.s1p")));
    QVERIFY(fenster.anzeigen());
    const QSize minimum = fenster.minimumSizeHint().expandedTo(fenster.minimumSize());
    // Within 1024 × 600, and within the 800 × 500 of a 1600 × 1000 screen.
    QVERIFY2(minimum.width() <= 800 && minimum.height() <= 500,
             qPrintable(QStringLiteral("%1 × %2").arg(minimum.width()).arg(minimum.height())));
    // It opens no larger than the screen it is on.
    const QSize frei = fenster.screen()->availableSize();
    QVERIFY(fenster.width() <= frei.width() && fenster.height() <= frei.height());
}

int main(int argc, char *argv[])
{
    qputenv("QT_SCALE_FACTOR", "2");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TstLeitungSkaliert test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_leitung_skaliert.moc"
