#include <QFileInfo>
#include <QProcess>
#include <QtTest>

// The program itself, started without any display.
class TstStart : public QObject
{
    Q_OBJECT

private slots:
    void ohneAnzeigeEineZeileUndStatus1();
};

void TstStart::ohneAnzeigeEineZeileUndStatus1()
{
    const QString programm = QStringLiteral(VARO_BINDIR "/varolinaten");
    if (!QFileInfo::exists(programm))
        QSKIP("Das Programm varolinaten ist noch nicht gebaut.");

    QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        umgebung.remove(QLatin1String(name));
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
