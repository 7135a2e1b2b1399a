#include <QFileInfo>
#include <QProcess>
#include <QtTest>

// The program itself, started without any display.
class TstStart : public QObject
{
    Q_OBJECT

private slots:
    void ohneAnzeigeEineZeileUndStatus1_data();
    void ohneAnzeigeEineZeileUndStatus1();
};

void TstStart::ohneAnzeigeEineZeileUndStatus1_data()
{
    // A platform set in the environment (a desktop setting carried into
    // cron or ssh) needs its display just the same.
    QTest::addColumn<QString>("plattform");
    QTest::newRow("keine gesetzt") << QString();
    QTest::newRow("xcb") << QStringLiteral("xcb");
    QTest::newRow("wayland") << QStringLiteral("wayland");
    QTest::newRow("wayland;xcb") << QStringLiteral("wayland;xcb");
}

void TstStart::ohneAnzeigeEineZeileUndStatus1()
{
    QFETCH(QString, plattform);
    const QString programm = QStringLiteral(VARO_BINDIR "/varolinaten");
    if (!QFileInfo::exists(programm))
        QSKIP("Das Programm varolinaten ist noch nicht gebaut.");

    QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        umgebung.remove(QLatin1String(name));
    if (!plattform.isEmpty())
        umgebung.insert(QStringLiteral("QT_QPA_PLATFORM"), plattform);
    QProcess p;
    p.setProcessEnvironment(umgebung);
    p.start(programm, {});
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 1);
    QVERIFY(p.readAllStandardOutput().isEmpty());
    const QString fehler = QString::fromUtf8(p.readAllStandardError());
    QCOMPARE(fehler.count(QLatin1Char('\n')), 1);
    QVERIFY(fehler.endsWith(QLatin1Char('\n')));
    QVERIFY2(fehler.contains(QStringLiteral("xvfb-run")), qPrintable(fehler));
    QVERIFY2(fehler.contains(QStringLiteral("grafische Anzeige")), qPrintable(fehler));
}

QTEST_GUILESS_MAIN(TstStart)
#include "tst_start.moc"
