#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// The program itself, started without any display.
class TstStart : public QObject
{
    Q_OBJECT

private slots:
    void ohneAnzeigeEineZeileUndStatus1_data();
    void ohneAnzeigeEineZeileUndStatus1();
    void anzeigeNichtErreichbar_data();
    void anzeigeNichtErreichbar();
    void aufrufOhneFenster_data();
    void aufrufOhneFenster();
};

namespace {

struct Lauf
{
    int status = -1;
    QString aus;
    QString fehler;
};

// The program with this environment (empty value: the variable removed).
Lauf starten(const QStringList &argumente, const QMap<QString, QString> &variablen)
{
    Lauf lauf;
    QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
    for (auto it = variablen.cbegin(); it != variablen.cend(); ++it) {
        if (it.value().isEmpty())
            umgebung.remove(it.key());
        else
            umgebung.insert(it.key(), it.value());
    }
    QProcess p;
    p.setProcessEnvironment(umgebung);
    p.start(QStringLiteral(VARO_BINDIR "/varolinaten"), argumente);
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit) {
        p.kill();
        p.waitForFinished();
        return lauf;
    }
    lauf.status = p.exitCode();
    lauf.aus = QString::fromUtf8(p.readAllStandardOutput());
    lauf.fehler = QString::fromUtf8(p.readAllStandardError());
    return lauf;
}

// A display number no X server answers on here.
QString stummeAnzeige()
{
    for (int n = 97; n > 50; --n) {
        if (!QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)))
            return QStringLiteral(":%1").arg(n);
    }
    return {};
}

} // namespace

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

void TstStart::anzeigeNichtErreichbar_data()
{
    // Qt itself gives up here, after DISPLAY or a platform was named.
    QTest::addColumn<QStringList>("argumente");
    QTest::addColumn<QString>("plattform");
    QTest::addColumn<bool>("display");
    QTest::newRow("DISPLAY antwortet nicht") << QStringList() << QString() << true;
    QTest::newRow("unbekannte Plattform") << QStringList() << "gibtsnicht" << false;
    QTest::newRow("-platform xcb ohne DISPLAY")
        << QStringList{"-platform", "xcb"} << QString() << false;
    QTest::newRow("-platform xcb, DISPLAY antwortet nicht")
        << QStringList{"-platform", "xcb"} << QString() << true;
}

void TstStart::anzeigeNichtErreichbar()
{
    QFETCH(QStringList, argumente);
    QFETCH(QString, plattform);
    QFETCH(bool, display);
    if (!QFileInfo::exists(QStringLiteral(VARO_BINDIR "/varolinaten")))
        QSKIP("Das Programm varolinaten ist noch nicht gebaut.");
    const QString anzeige = stummeAnzeige();
    if (anzeige.isEmpty())
        QSKIP("Keine freie Anzeigenummer.");
    const Lauf lauf = starten(argumente, {{"DISPLAY", display ? anzeige : QString()},
                                          {"WAYLAND_DISPLAY", QString()},
                                          {"QT_QPA_PLATFORM", plattform}});
    // No abort, no English: one German line and status 1.
    QCOMPARE(lauf.status, 1);
    QVERIFY(lauf.aus.isEmpty());
    QCOMPARE(lauf.fehler.count(QLatin1Char('\n')), 1);
    QVERIFY2(lauf.fehler.startsWith(QStringLiteral("Varolinaten: Keine grafische Anzeige")),
             qPrintable(lauf.fehler));
    QVERIFY2(lauf.fehler.contains(QStringLiteral("„xvfb-run varolinaten“")),
             qPrintable(lauf.fehler));
    // It names what was tried.
    if (display)
        QVERIFY2(lauf.fehler.contains(anzeige), qPrintable(lauf.fehler));
    if (!plattform.isEmpty())
        QVERIFY2(lauf.fehler.contains(plattform), qPrintable(lauf.fehler));
}

void TstStart::aufrufOhneFenster_data()
{
    QTest::addColumn<QStringList>("argumente");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("aus");    // start of standard output
    QTest::addColumn<QString>("fehler"); // part of the one error line
    QTest::newRow("--help") << QStringList{"--help"} << 0 << "Aufruf: varolinaten" << QString();
    QTest::newRow("-h nach einer Datei")
        << QStringList{"bericht.rtf", "-h"} << 0 << "Aufruf: varolinaten" << QString();
    QTest::newRow("--version") << QStringList{"--version"} << 0 << "varolinaten 1." << QString();
    QTest::newRow("unbekannte Option")
        << QStringList{"--gibtsnicht"} << 1 << QString() << "Unbekannte Option „--gibtsnicht“";
    QTest::newRow("zwei Dateien") << QStringList{"a.rtf", "b.rtf"} << 1 << QString()
                                  << "höchstens eine Datei";
}

void TstStart::aufrufOhneFenster()
{
    QFETCH(QStringList, argumente);
    QFETCH(int, status);
    QFETCH(QString, aus);
    QFETCH(QString, fehler);
    if (!QFileInfo::exists(QStringLiteral(VARO_BINDIR "/varolinaten")))
        QSKIP("Das Programm varolinaten ist noch nicht gebaut.");
    // Help and version need no display; the refusals come before the window.
    // A runtime folder of its own keeps Qt's note about a missing one away.
    QTemporaryDir laufzeit;
    const Lauf lauf = starten(argumente, {{"QT_QPA_PLATFORM", fehler.isEmpty() ? "" : "offscreen"},
                                          {"DISPLAY", QString()},
                                          {"WAYLAND_DISPLAY", QString()},
                                          {"XDG_RUNTIME_DIR", laufzeit.path()}});
    QCOMPARE(lauf.status, status);
    QVERIFY2(lauf.aus.startsWith(aus), qPrintable(lauf.aus));
    if (fehler.isEmpty()) {
        QVERIFY2(lauf.fehler.isEmpty(), qPrintable(lauf.fehler));
    } else {
        QVERIFY(lauf.aus.isEmpty());
        QCOMPARE(lauf.fehler.count(QLatin1Char('\n')), 1);
        QVERIFY2(lauf.fehler.contains(fehler), qPrintable(lauf.fehler));
    }
}

QTEST_GUILESS_MAIN(TstStart)
#include "tst_start.moc"
