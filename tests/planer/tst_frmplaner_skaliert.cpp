#include "frmplaner.h"

#include <QApplication>
#include <QLineEdit>
#include <QScreen>
#include <QTest>

using namespace varo;

// The planner on a screen scaled by two: it must fit 1024 × 600 logical
// pixels and open within the screen.
class TstFrmPlanerSkaliert : public QObject
{
    Q_OBJECT

private slots:
    void passtAufKleineBildschirme_data()
    {
        QTest::addColumn<QString>("baender");
        QTest::newRow("five bands") << QString();
        QTest::newRow("many own ranges")
            << QStringLiteral("1,8-2/3,5-3,8/5,3515-5,3665/7-7,2/10,1-10,15/14-14,35/"
                              "18,068-18,168/21-21,45/24,89-24,99/28-29,7/50-52");
    }

    void passtAufKleineBildschirme()
    {
        QFETCH(QString, baender);
        QCOMPARE(qApp->devicePixelRatio(), 2.0);
        FrmPlaner f({}, QStringLiteral(VARO_BINDIR "/Baender.txt"),
                    QStringLiteral(VARO_TESTDATEN "/cli/Kabel.txt"));
        f.setAttribute(Qt::WA_DeleteOnClose, false);
        if (!baender.isEmpty())
            f.findChild<QLineEdit *>(QStringLiteral("txtBereiche"))->setText(baender);
        const QSize kleinste = f.minimumSizeHint().expandedTo(f.minimumSize());
        QVERIFY2(
            kleinste.width() <= 1024 && kleinste.height() <= 600,
            qPrintable(QStringLiteral("%1 × %2").arg(kleinste.width()).arg(kleinste.height())));
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        const QSize bildschirm = f.screen()->availableSize();
        QVERIFY(f.width() <= bildschirm.width() && f.height() <= bildschirm.height());
    }
};

int main(int argc, char *argv[])
{
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    TstFrmPlanerSkaliert test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_frmplaner_skaliert.moc"
