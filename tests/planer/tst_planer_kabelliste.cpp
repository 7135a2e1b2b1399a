// The planner reads its cables through the guarded reader: a pipe in the
// table's place never blocks it, and the own table's rows follow.

#include "frmplaner.h"

#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace varo;

class TstPlanerKabelliste : public QObject
{
    Q_OBJECT

private slots:
    void pipeUndEigeneTabelle();
};

void TstPlanerKabelliste::pipeUndEigeneTabelle()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString pipe = dir.filePath(QStringLiteral("pipe"));
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    QFile eigen(dir.filePath(QStringLiteral("eigen.txt")));
    QVERIFY(eigen.open(QIODevice::WriteOnly));
    eigen.write("0,8 Mein Kabel d=10/1;100/3,5\n1,5 Zu schnell\n");
    eigen.close();

    const QString baender = QStringLiteral(VARO_BINDIR "/Baender.txt");
    FrmPlaner ohne({}, baender, Kabeltabellen(pipe));
    QCOMPARE(ohne.findChild<QComboBox *>(QStringLiteral("cboKabel"))->count(), 0);

    // Shipped rows first, the fifth preselected; the own good row after them.
    FrmPlaner mit({}, baender,
                  {QStringLiteral(VARO_TESTDATEN "/kabel/erste_fassung.txt"), eigen.fileName()});
    auto *kabel = mit.findChild<QComboBox *>(QStringLiteral("cboKabel"));
    QCOMPARE(kabel->count(), 28);
    QCOMPARE(kabel->currentIndex(), 4);
    QVERIFY(kabel->itemText(27).contains(QStringLiteral(" Mein Kabel ")));
    QVERIFY2(kabel->toolTip().contains(QStringLiteral("Zeile 2 (Zu schnell)")),
             qPrintable(kabel->toolTip()));
}

QTEST_MAIN(TstPlanerKabelliste)
#include "tst_planer_kabelliste.moc"
