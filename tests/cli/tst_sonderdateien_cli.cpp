#include "berichtwerkzeug.h"
#include "dateilesen.h"
#include "werkzeuglauf.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

// Special files named as output and hostile environments: a pipe or a
// device stays what it is, every failed write is one German line.

namespace {

const QString programm = QStringLiteral(VARO_BINDIR "/varolinaten-bericht");
const QString tabelle = QStringLiteral(VARO_TESTDATEN "/cli/Kabel.txt");

// One request per mode; the output file is appended by the caller.
QStringList auftrag(const QString &modus)
{
    if (modus == QLatin1String("bericht"))
        return {"--modus",  "eine", "--frequenz",     "7,1",  "--kabel", "RG-213",
                "--laenge", "30",   "--kabeltabelle", tabelle};
    if (modus == QLatin1String("analyse"))
        return {"--analyse", "--von",          "7",    "--bis",   "7,2", "--kabel",
                "0,66",      "--laenge",       "14",   "--lastr", "600", "--lastx",
                "0",         "--kabeltabelle", tabelle};
    if (modus == QLatin1String("planer"))
        return {"--planer", "--baender",    "40m", "--kabel",  "0,66", "--von-laenge",
                "3",        "--bis-laenge", "4",   "--format", "csv",  "--kabeltabelle",
                tabelle};
    return {"--kurve", "--breite", "200", "--hoehe", "150"};
}

QString art(const QString &pfad)
{
    struct stat info = {};
    if (::lstat(QFile::encodeName(pfad).constData(), &info) != 0)
        return QStringLiteral("fehlt");
    if (S_ISFIFO(info.st_mode))
        return QStringLiteral("pipe");
    if (S_ISCHR(info.st_mode))
        return QStringLiteral("geraet");
    return S_ISREG(info.st_mode) ? QStringLiteral("datei") : QStringLiteral("anderes");
}

// The program under sh, for limits and redirections: skript sees the
// program as $0 and the arguments as "$@".
struct Kindlauf
{
    QProcess::ExitStatus ende = QProcess::CrashExit;
    int status = -1;
    QByteArray ausgabe;
    QString fehler;
};

Kindlauf kindStarten(const QString &skript, const QStringList &argumente, const QString &ordner,
                     const QProcessEnvironment &umgebung = QProcessEnvironment::systemEnvironment())
{
    QProcess p;
    p.setWorkingDirectory(ordner);
    p.setProcessEnvironment(umgebung);
    p.start(QStringLiteral("sh"), QStringList{"-c", skript, programm} + argumente);
    Kindlauf lauf;
    if (!p.waitForFinished(60000))
        return lauf;
    lauf.ende = p.exitStatus();
    lauf.status = p.exitCode();
    lauf.ausgabe = p.readAllStandardOutput();
    lauf.fehler = QString::fromUtf8(p.readAllStandardError());
    return lauf;
}

} // namespace

class TstSonderdateienCli : public QObject
{
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale::c()); }
    void sonderdateiBleibt_data();
    void sonderdateiBleibt();
    void umgebungen_data();
    void umgebungen();
    void speichergrenze();
    void systemfehlerDeutsch_data();
    void systemfehlerDeutsch();
};

void TstSonderdateienCli::sonderdateiBleibt_data()
{
    QTest::addColumn<QString>("modus");
    QTest::addColumn<QString>("ziel"); // pipe with or without reader, device full or null
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("grund");

    QTest::newRow("Bericht in Pipe mit Leser") << "bericht"
                                               << "pipe" << 0 << "";
    QTest::newRow("Tabelle in Pipe mit Leser") << "analyse"
                                               << "pipe" << 0 << "";
    QTest::newRow("Bericht in Pipe ohne Leser")
        << "bericht"
        << "pipe ohne leser" << 1 << "Aus der benannten Pipe liest niemand.";
    QTest::newRow("Bericht auf volles Geraet")
        << "bericht"
        << "voll" << 1 << "Kein Speicherplatz mehr auf dem Datenträger.";
    QTest::newRow("Planung auf volles Geraet")
        << "planer"
        << "voll" << 1 << "Kein Speicherplatz mehr auf dem Datenträger.";
    QTest::newRow("Kurve auf volles Geraet")
        << "kurve"
        << "voll.png" << 1 << "Kein Speicherplatz mehr auf dem Datenträger.";
    QTest::newRow("Bericht ins Nullgeraet") << "bericht"
                                            << "null" << 0 << "";
}

void TstSonderdateienCli::sonderdateiBleibt()
{
    QFETCH(QString, modus);
    QFETCH(QString, ziel);
    QFETCH(int, status);
    QFETCH(QString, grund);
    QTemporaryDir ordner;
    const QString pfad =
        ordner.filePath(ziel.contains(QLatin1String("pipe")) ? QStringLiteral("pipe.csv") : ziel);
    int leser = -1;
    if (ziel.startsWith(QLatin1String("pipe"))) {
        QCOMPARE(::mkfifo(QFile::encodeName(pfad).constData(), 0600), 0);
        if (ziel == QLatin1String("pipe"))
            leser = ::open(QFile::encodeName(pfad).constData(), O_RDONLY | O_NONBLOCK);
    } else {
        const dev_t geraet = ziel == QLatin1String("null") ? makedev(1, 3) : makedev(1, 7);
        if (::mknod(QFile::encodeName(pfad).constData(), S_IFCHR | 0666, geraet) != 0)
            QSKIP("Gerätedateien lassen sich hier nicht anlegen (nur als root).");
    }
    const QString vorher = art(pfad);
    const Lauf lauf =
        werkzeugStarten(auftrag(modus) << "--ausgabe" << pfad, QStringLiteral(VARO_BINDIR));
    QByteArray gelesen(1 << 16, '\0');
    if (leser >= 0) {
        const ssize_t n = ::read(leser, gelesen.data(), size_t(gelesen.size()));
        gelesen.resize(n > 0 ? n : 0);
        ::close(leser);
    }

    QCOMPARE(art(pfad), vorher);
    QCOMPARE(lauf.status, status);
    QVERIFY2(lauf.stderr_.contains(grund), qPrintable(lauf.stderr_));
    QCOMPARE(lauf.stderr_.count(QLatin1Char('\n')), status == 0 ? 0 : 1);
    if (leser >= 0) // what a reader gets is what standard output would get
        QCOMPARE(gelesen, werkzeugStarten(auftrag(modus), QStringLiteral(VARO_BINDIR)).stdout_);
}

void TstSonderdateienCli::umgebungen_data()
{
    QTest::addColumn<QString>("skript");
    QTest::addColumn<QStringList>("dazu");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("grund");    // on standard error, one line; empty: nothing
    QTest::addColumn<QString>("ergebnis"); // file "ergebnis" (or standard output) starts so

    const QString lauf = QStringLiteral("exec \"$0\" \"$@\"");
    QTest::newRow("Dateigroessengrenze")
        << QStringLiteral("ulimit -f 1; ") + lauf
        << QStringList{"--laenge", "700", "--frequenz", "28",
                       "--format", "pdf", "--ausgabe",  "ergebnis"}
        << 1
        << "„ergebnis“ kann nicht geschrieben werden: Die Datei überschreitet die erlaubte "
           "Dateigröße."
        << "";
    QTest::newRow("Standardausgabe geschlossen")
        << lauf + QStringLiteral(" >&-") << QStringList() << 1
        << "Die Standardausgabe kann nicht geschrieben werden: Sie ist geschlossen oder nur zum "
           "Lesen geöffnet."
        << "";
    QTest::newRow("Standardausgabe nur lesbar")
        << lauf + QStringLiteral(" 1</dev/null") << QStringList() << 1
        << "Die Standardausgabe kann nicht geschrieben werden: Sie ist geschlossen"
        << "";
    QTest::newRow("Strich ist die Standardausgabe")
        << lauf << QStringList{"--ausgabe", "-"} << 0 << ""
        << "Varolinaten-Berechnung";
    QTest::newRow("Strich nimmt die Tabelle der Analyse")
        << lauf
        << (auftrag(QStringLiteral("analyse")) << "--ausgabe"
                                               << "-")
        << 0 << ""
        << "f/MHz;R/Ohm";
    QTest::newRow("/dev/stdout nach Kopfzeile")
        << QStringLiteral("{ echo KOPF; \"$0\" \"$@\"; } > ergebnis")
        << QStringList{"--ausgabe", "/dev/stdout"} << 0 << ""
        << "KOPF\nVarolinaten-Berechnung";
    QTest::newRow("/dev/stdout angehaengt")
        << QStringLiteral("echo KOPF > ergebnis; \"$0\" \"$@\" >> ergebnis")
        << QStringList{"--ausgabe", "/dev/stdout"} << 0 << ""
        << "KOPF\nVarolinaten-Berechnung";
    QTest::newRow("Qt-Warnungen tödlich")
        << QStringLiteral("unset XDG_RUNTIME_DIR; QT_FATAL_WARNINGS=1 ") + lauf << QStringList()
        << 0 << ""
        << "Varolinaten-Berechnung";
}

void TstSonderdateienCli::umgebungen()
{
    QFETCH(QString, skript);
    QFETCH(QStringList, dazu);
    QFETCH(int, status);
    QFETCH(QString, grund);
    QFETCH(QString, ergebnis);
    if (!QFileInfo::exists(programm))
        QSKIP("varolinaten-bericht ist noch nicht gebaut.");
    QTemporaryDir ordner;
    const Kindlauf lauf =
        kindStarten(skript, auftrag(QStringLiteral("bericht")) + dazu, ordner.path());
    QCOMPARE(lauf.ende, QProcess::NormalExit);
    QCOMPARE(lauf.status, status);
    if (grund.isEmpty()) {
        QCOMPARE(lauf.fehler, QString());
    } else {
        QVERIFY2(lauf.fehler.contains(grund), qPrintable(lauf.fehler));
        QCOMPARE(lauf.fehler.count(QLatin1Char('\n')), 1);
    }
    QFile datei(ordner.filePath(QStringLiteral("ergebnis")));
    const QByteArray inhalt = datei.open(QIODevice::ReadOnly) ? datei.readAll() : lauf.ausgabe;
    QVERIFY2(inhalt.startsWith(ergebnis.toUtf8()), inhalt.left(60).constData());
    QVERIFY(!QFileInfo::exists(ordner.filePath(QStringLiteral("-"))));
}

void TstSonderdateienCli::speichergrenze()
{
    // A report to read larger than the address space left: wherever the
    // memory runs out, the tool ends with a German line, never a crash.
    if (!QFileInfo::exists(programm))
        QSKIP("varolinaten-bericht ist noch nicht gebaut.");
    QTemporaryDir ordner;
    QFile rtf(ordner.filePath(QStringLiteral("gross.rtf")));
    QVERIFY(rtf.open(QIODevice::WriteOnly));
    rtf.write("{\\rtf1\\ansi ");
    const QByteArray zeile("Varolinaten Zeile mit Text \\par\n");
    for (int i = 0; i < 480000; ++i)
        rtf.write(zeile);
    rtf.write("}");
    rtf.close();
    int ohneSpeicher = 0;
    for (const int kib : {85000, 90000, 95000, 100000}) {
        const Kindlauf lauf =
            kindStarten(QStringLiteral("ulimit -v %1; exec \"$0\" \"$@\" > /dev/null").arg(kib),
                        {"--oeffnen", "gross.rtf", "--teilweise"}, ordner.path());
        QCOMPARE(lauf.ende, QProcess::NormalExit);
        QVERIFY2(lauf.status != 134 && !lauf.fehler.contains(QLatin1String("bad_alloc")),
                 qPrintable(lauf.fehler));
        if (lauf.fehler.contains(QLatin1String("nicht genug Speicher"))) {
            QCOMPARE(lauf.status, 1);
            QCOMPARE(lauf.fehler.count(QLatin1Char('\n')), 1);
            ++ohneSpeicher;
        }
    }
    if (ohneSpeicher == 0)
        QSKIP("Keine der Speichergrenzen trifft das Lesen auf diesem System.");
}

void TstSonderdateienCli::systemfehlerDeutsch_data()
{
    QTest::addColumn<int>("nummer");
    QTest::addColumn<QString>("text");
    QTest::newRow("EBADF") << EBADF
                           << "Die Datei ist geschlossen oder nicht zum Schreiben geöffnet.";
    QTest::newRow("unbekannt") << 4711 << "Das Betriebssystem meldet einen Fehler (Nummer 4711).";
}

void TstSonderdateienCli::systemfehlerDeutsch()
{
    QFETCH(int, nummer);
    QFETCH(QString, text);
    QCOMPARE(varo::systemfehlerText(nummer), text);
    // No number of the system is left to the C library's English.
    for (int n = 1; n < 134; ++n) {
        const QString deutsch = varo::systemfehlerText(n);
        QVERIFY2(deutsch != QString::fromLocal8Bit(std::strerror(n)), qPrintable(deutsch));
        QVERIFY(deutsch.endsWith(QLatin1Char('.')) && !deutsch.contains(QLatin1Char('\n')));
    }
}

QTEST_MAIN(TstSonderdateienCli)
#include "tst_sonderdateien_cli.moc"
