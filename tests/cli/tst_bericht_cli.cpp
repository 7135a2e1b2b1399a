#include "berichtwerkzeug.h"
#include "dateilesen.h"
#include "werkzeuglauf.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <sys/stat.h>

namespace {

Lauf starte(QStringList argumente)
{
    const QString tabelle = QStringLiteral(VARO_TESTDATEN "/cli/Kabel.txt");
    if (!argumente.contains(QStringLiteral("--kabeltabelle")))
        argumente << QStringLiteral("--kabeltabelle") << tabelle;
    return werkzeugStarten(argumente, QStringLiteral(VARO_BINDIR));
}

QStringList bericht(const QString &modus, const QString &frequenz, const QString &kabel,
                    const QString &laenge)
{
    return {QStringLiteral("--modus"), modus, QStringLiteral("--frequenz"), frequenz,
            QStringLiteral("--kabel"), kabel, QStringLiteral("--laenge"),   laenge};
}

bool werkzeugDa(const QString &name)
{
    if (!QStandardPaths::findExecutable(name).isEmpty())
        return true;
    return false;
}

} // namespace

class TstBerichtCli : public QObject
{
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale::c()); }
    void cleanup() { QLocale::setDefault(QLocale::system()); }

    void textBerichtByteGenau();
    void dezimalkommaAusDerUmgebung();
    void kabelNachTypname();
    void ablehnungen_data();
    void ablehnungen();
    void vorhandenMitEinerFrequenzGibtHinweisUndBericht();
    void seitenlaenge();
    void ausgabedateiGleichStandardausgabe();
    void unbeschreibbareAusgabe();
    void rtfUndZurueck();
    void pdfEineSeiteJeSeitenumbruch();
    void schreibfehler_data();
    void schreibfehler();
    void daempfungsfeldMitZeile();
    void teilweiseGelesen();
    void programmOhneAnzeige();
    void kurveAlsBild();
    void kurveRegelverletzung();
    void hilfe();
};

void TstBerichtCli::textBerichtByteGenau()
{
    const Lauf lauf = starte(bericht("eine", "7.1", "0.66", "30"));
    QCOMPARE(lauf.status, 0);
    QVERIFY(lauf.stderr_.isEmpty());
    const QString text = QString::fromUtf8(lauf.stdout_);
    QVERIFY(text.startsWith(
        QStringLiteral("Varolinaten-Berechnung\r\n\r\n Frequenz    : 7.100 MHz\r\n")));
    QVERIFY(text.contains(QStringLiteral(" Wellenlänge : 42.254 m\r\n")));
    QVERIFY(text.endsWith(QStringLiteral("Stehwellen-Verhältnis wünscht Ihnen Velmo")));
    // Every line ends in CR LF and nothing else.
    QCOMPARE(text.count(QLatin1Char('\n')), text.count(QStringLiteral("\r\n")));
    QCOMPARE(text.count(QLatin1Char('\r')), text.count(QStringLiteral("\r\n")));
    QVERIFY(text.contains(QStringLiteral("6.972 m") + QString(11, QLatin1Char(' ')) +
                          QStringLiteral("13.944 m\r\n")));
}

void TstBerichtCli::dezimalkommaAusDerUmgebung()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const Lauf lauf = starte(bericht("eine", "7,1", "0,66", "30"));
    QCOMPARE(lauf.status, 0);
    QVERIFY(QString::fromUtf8(lauf.stdout_).contains(QStringLiteral(" Frequenz    : 7,100 MHz")));
}

void TstBerichtCli::kabelNachTypname()
{
    const Lauf lauf = starte(bericht("eine", "7.1", "rg213", "30"));
    QCOMPARE(lauf.status, 0);
    const QString text = QString::fromUtf8(lauf.stdout_);
    QVERIFY2(text.contains(QStringLiteral(" Verkürzungsfaktor: 0.66 (RG-213)")),
             qPrintable(text.left(300)));
    QVERIFY(text.contains(QStringLiteral("günstig / Dämpfung [dB]")));
}

void TstBerichtCli::ablehnungen_data()
{
    QTest::addColumn<QStringList>("argumente");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("grund");

    QTest::newRow("leere Laenge") << bericht("eine", "7.1", "0.66", "") << 2 << "leer";
    QTest::newRow("Frequenz zu tief") << bericht("eine", "0.009", "0.66", "30") << 2 << "Bereich";
    QTest::newRow("Vk 1,01") << bericht("eine", "7.1", "1.01", "30") << 2 << "Bereich";
    QTest::newRow("mehrere mit einer Frequenz") << bericht("mehrere", "7.1", "0.66", "30") << 2
                                                << "Keine Berechnung für nur eine Frequenz!";
    QTest::newRow("gleiches Band")
        << bericht("mehrere", "10/11", "0.66", "30") << 2 << "im gleichen Band";
    QTest::newRow("leeres Element")
        << bericht("vorhanden", "7/14/", "0.66", "30") << 2 << "Bereich";
    // A refused value is named by the option that holds it.
    QTest::newRow("Vk 1,01 vorhanden")
        << bericht("vorhanden", "7/14", "1.01", "30") << 2 << "--kabel: Eingabe außerhalb";
    QTest::newRow("Toleranz 101") << (bericht("mehrere", "7/14", "0.66", "30") << "--toleranz"
                                                                               << "101")
                                  << 2 << "--toleranz: Eingabe außerhalb";
    QTest::newRow("erste Frequenz 0")
        << bericht("mehrere", "0/7", "0.66", "30") << 2 << "--frequenz: Eingabe außerhalb";
    QTest::newRow("unbekannter Kabeltyp")
        << bericht("eine", "7.1", "Luftleitung", "30") << 2 << "steht nicht in";
    QTest::newRow("unbekannte Option")
        << QStringList{"--modus", "eine", "--frequnz", "7"} << 1 << "unbekannte Option";
    QTest::newRow("fehlende Frequenz")
        << QStringList{"--modus", "eine", "--kabel", "0.66", "--laenge", "3"} << 1
        << "--frequenz fehlt";
    QTest::newRow("falsches Format") << (bericht("eine", "7.1", "0.66", "30") << "--format"
                                                                              << "doc")
                                     << 1 << "--format";
    QTest::newRow("falscher Modus") << bericht("alle", "7.1", "0.66", "30") << 1 << "--modus";
    QTest::newRow("Kabeltext zu gross")
        << bericht("eine", "7.1", "1e400", "30") << 2 << "--kabel: Die Zahl „1e400“";
    // The single-frequency hint must not stand in for the real error.
    QTest::newRow("vorhanden, Frequenz ausserhalb")
        << bericht("vorhanden", "1e39", "0.66", "30") << 2 << "--frequenz: Die Zahl";
    QTest::newRow("mehr als 32767 Laengen")
        << bericht("eine", "7.1", "0.66", "3e38") << 2 << "mehr als 32767";
    QTest::newRow("Kabeltabelle ist ein Ordner")
        << (bericht("eine", "7.1", "RG-213", "30") << "--kabeltabelle" << VARO_TESTDATEN) << 2
        << "kann nicht gelesen werden: Das ist ein Ordner";
    QTest::newRow("Kabeltabelle ist ein Geraet")
        << (bericht("eine", "7.1", "RG-213", "30") << "--kabeltabelle"
                                                   << "/dev/zero")
        << 2 << "keine gewöhnliche Datei";
    QTest::newRow("riesiges Argument")
        << QStringList{"--modus", "eine", QString(1 << 20, QLatin1Char('a'))} << 1
        << "(1048576 Zeichen)";
    QTest::newRow("Seitenlaenge null") << (bericht("eine", "7.1", "0.66", "30") << "--seitenlaenge"
                                                                                << "0")
                                       << 1 << "--seitenlaenge";
}

void TstBerichtCli::ablehnungen()
{
    QFETCH(QStringList, argumente);
    QFETCH(int, status);
    QFETCH(QString, grund);
    const Lauf lauf = starte(argumente);
    QCOMPARE(lauf.status, status);
    QVERIFY(lauf.stdout_.isEmpty());
    QVERIFY2(lauf.stderr_.contains(grund), qPrintable(lauf.stderr_.left(500)));
    if (status == 2)
        QCOMPARE(lauf.stderr_.count(QLatin1Char('\n')), 1);
    QVERIFY(!lauf.stderr_.contains(QStringLiteral("Sie können mehere")));
    QVERIFY(lauf.stderr_.size() < 400);
}

void TstBerichtCli::vorhandenMitEinerFrequenzGibtHinweisUndBericht()
{
    const Lauf lauf = starte(bericht("vorhanden", "7.05", "0.66", "20"));
    QCOMPARE(lauf.status, 0);
    QVERIFY2(lauf.stderr_.contains(QStringLiteral("Sie können mehere Frequenzen getrennt durch")),
             qPrintable(lauf.stderr_));
    QVERIFY(
        QString::fromUtf8(lauf.stdout_).contains(QStringLiteral(" Frequenzen  : 7.05/7.05 MHz")));
}

void TstBerichtCli::seitenlaenge()
{
    const Lauf ohne = starte(bericht("eine", "28", "0.66", "200"));
    QCOMPARE(ohne.status, 0);
    // 57 rows fit the 73 lines of a page without a printer.
    QVERIFY(!QString::fromUtf8(ohne.stdout_).contains(QStringLiteral("Seite 2")));

    const Lauf kurz = starte(bericht("eine", "28", "0.66", "200") << "--seitenlaenge"
                                                                  << "20");
    QCOMPARE(kurz.status, 0);
    const QString text = QString::fromUtf8(kurz.stdout_);
    QVERIFY(text.contains(QString(73, QLatin1Char(' ')) + QStringLiteral("Seite 2\r\n")));
    QVERIFY(text.contains(QStringLiteral("Seite 3")));
}

void TstBerichtCli::ausgabedateiGleichStandardausgabe()
{
    QTemporaryDir ordner;
    const QString datei = ordner.filePath(QStringLiteral("bericht.txt"));
    const Lauf inDatei =
        starte(bericht("mehrere", "3.6/7.05", "0.66", "35") << "--ausgabe" << datei);
    QCOMPARE(inDatei.status, 0);
    QVERIFY(inDatei.stdout_.isEmpty());
    const Lauf aufStdout = starte(bericht("mehrere", "3.6/7.05", "0.66", "35"));
    QFile f(datei);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), aufStdout.stdout_);
}

void TstBerichtCli::unbeschreibbareAusgabe()
{
    const Lauf lauf =
        starte(bericht("eine", "7.1", "0.66", "30") << "--ausgabe"
                                                    << "/nicht/vorhanden/bericht.txt");
    QCOMPARE(lauf.status, 1);
    QVERIFY(lauf.stderr_.contains(QStringLiteral("kann nicht geschrieben werden")));
}

void TstBerichtCli::rtfUndZurueck()
{
    QTemporaryDir ordner;
    const QString datei = ordner.filePath(QStringLiteral("bericht.rtf"));
    const QStringList argumente = bericht("vorhanden", "3.6/7.05/14.2", "0.66", "30");
    QCOMPARE(starte(QStringList(argumente) << "--format"
                                           << "rtf"
                                           << "--ausgabe" << datei)
                 .status,
             0);
    QFile f(datei);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.readAll().startsWith("{\\rtf1"));

    const Lauf original = starte(argumente);
    const Lauf gelesen = starte({QStringLiteral("--oeffnen"), datei});
    QCOMPARE(gelesen.status, 0);
    QCOMPARE(QString::fromUtf8(gelesen.stdout_), QString::fromUtf8(original.stdout_));
}

void TstBerichtCli::pdfEineSeiteJeSeitenumbruch()
{
    const bool ci = qgetenv("CI") == "true";
    if (!werkzeugDa(QStringLiteral("pdftotext")) || !werkzeugDa(QStringLiteral("pdfinfo"))) {
        if (ci)
            QFAIL("pdftotext/pdfinfo fehlen");
        QSKIP("poppler-utils nicht installiert");
    }
    QTemporaryDir ordner;
    const QString pdf = ordner.filePath(QStringLiteral("bericht.pdf"));
    const QStringList argumente = bericht("eine", "28", "0.66", "700");
    const Lauf lauf = starte(QStringList(argumente) << "--format"
                                                    << "pdf"
                                                    << "--ausgabe" << pdf);
    QCOMPARE(lauf.status, 0);

    const QString text = QString::fromUtf8(starte(argumente).stdout_);
    const int umbrueche = text.count(QRegularExpression(QStringLiteral("Seite \\d+\r\n")));
    QVERIFY(umbrueche >= 2);

    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    QVERIFY(info.waitForFinished(30000));
    const QRegularExpression seiten(QStringLiteral("Pages:\\s+(\\d+)"));
    const QRegularExpressionMatch treffer =
        seiten.match(QString::fromUtf8(info.readAllStandardOutput()));
    QVERIFY(treffer.hasMatch());
    QCOMPARE(treffer.captured(1).toInt(), umbrueche + 1);

    QProcess zuText;
    zuText.start(QStringLiteral("pdftotext"),
                 {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    QVERIFY(zuText.waitForFinished(30000));
    const QString gedruckt = QString::fromUtf8(zuText.readAllStandardOutput());
    for (const QString &wort :
         {QStringLiteral("Varolinaten-Berechnung"), QStringLiteral("Wellenlänge"),
          QStringLiteral("Seite 2"), QStringLiteral("Velmo")})
        QVERIFY2(gedruckt.contains(wort), qPrintable(wort));
}

void TstBerichtCli::schreibfehler_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("tmpfs"); // a full 64 KiB file system, else an injected failure
    QTest::newRow("Text, eingespeist") << "text" << false;
    QTest::newRow("Text, tmpfs") << "text" << true;
    QTest::newRow("PDF, tmpfs") << "pdf" << true;
}

void TstBerichtCli::schreibfehler()
{
    QFETCH(QString, format);
    QFETCH(bool, tmpfs);
    QTemporaryDir ordner;
    const QString platte = ordner.filePath(QStringLiteral("platte"));
    QVERIFY(QDir().mkpath(platte));
    const QString datei = platte + QStringLiteral("/alt.txt");
    if (tmpfs) {
        if (QProcess::execute(QStringLiteral("mount"),
                              {"-t", "tmpfs", "-o", "size=64k", "tmpfs", platte}) != 0)
            QSKIP("Kein tmpfs einhängbar (nur als root).");
        // Fill it up but for a few KiB.
        QFile fuell(platte + QStringLiteral("/fuell"));
        QVERIFY(fuell.open(QIODevice::WriteOnly));
        fuell.write(QByteArray(60 * 1024, 'f'));
    } else {
        varo::schreibgrenzeSetzen(100);
    }
    {
        QFile alt(datei);
        QVERIFY(alt.open(QIODevice::WriteOnly));
        alt.write("alter Bericht");
    }
    const Lauf lauf = starte(bericht("eine", "1.8", "0.66", "700")
                             << "--format" << format << "--ausgabe" << datei);
    varo::schreibgrenzeSetzen(-1);
    QFile alt(datei);
    QVERIFY(alt.open(QIODevice::ReadOnly));
    const QByteArray danach = alt.readAll();
    alt.close();
    if (tmpfs)
        QProcess::execute(QStringLiteral("umount"), {platte});

    QCOMPARE(lauf.status, 1);
    QVERIFY2(lauf.stderr_.contains(QStringLiteral("kann nicht geschrieben werden: Kein "
                                                  "Speicherplatz mehr auf dem Datenträger.")),
             qPrintable(lauf.stderr_));
    QCOMPARE(danach, QByteArray("alter Bericht"));
}

void TstBerichtCli::daempfungsfeldMitZeile()
{
    QTemporaryDir ordner;
    const QString tabelle = ordner.filePath(QStringLiteral("Kabel.txt"));
    QFile f(tabelle);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("; Kabel\r\n0,66 RG-58 d=100/15,1\r\n0,66 RG-8X d=0/7,5\r\n");
    f.close();
    const Lauf lauf = starte(bericht("eine", "7.1", "RG-8X", "30") << "--kabeltabelle" << tabelle);
    QCOMPARE(lauf.status, 2);
    QVERIFY2(lauf.stderr_.contains(QStringLiteral("Zeile 3: Das Dämpfungsfeld „d=0/7,5“ ist "
                                                  "unbrauchbar: die Bezugsfrequenz ist 0.")),
             qPrintable(lauf.stderr_));
}

void TstBerichtCli::teilweiseGelesen()
{
    QTemporaryDir ordner;
    const QString datei = ordner.filePath(QStringLiteral("bericht.rtf"));
    QCOMPARE(starte(bericht("eine", "7.1", "0.66", "30") << "--format"
                                                         << "rtf"
                                                         << "--ausgabe" << datei)
                 .status,
             0);
    QFile f(datei);
    QVERIFY(f.open(QIODevice::ReadWrite) && f.resize(f.size() * 2 / 3)); // a copy that broke off
    f.close();
    for (const bool annehmen : {false, true}) {
        QStringList argumente{QStringLiteral("--oeffnen"), datei};
        if (annehmen)
            argumente << QStringLiteral("--teilweise");
        const Lauf lauf = starte(argumente);
        QCOMPARE(lauf.status, annehmen ? 0 : 1);
        QVERIFY2(lauf.stderr_.contains(QStringLiteral("nur teilweise gelesen")),
                 qPrintable(lauf.stderr_));
        QCOMPARE(lauf.stdout_.startsWith("Varolinaten-Berechnung"), annehmen);
        QCOMPARE(lauf.stdout_.isEmpty(), !annehmen);
    }
}

void TstBerichtCli::programmOhneAnzeige()
{
    // An exported desktop setting without a display, and output to a full disk.
    const QString programm = QStringLiteral(VARO_BINDIR "/varolinaten-bericht");
    if (!QFileInfo::exists(programm))
        QSKIP("varolinaten-bericht ist noch nicht gebaut.");
    QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
    umgebung.remove(QStringLiteral("DISPLAY"));
    umgebung.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    QProcess p;
    p.setProcessEnvironment(umgebung);
    p.setStandardOutputFile(QStringLiteral("/dev/full"));
    p.start(programm, bericht("eine", "7.1", "0.66", "30")
                          << "--kabeltabelle" << QStringLiteral(VARO_TESTDATEN "/cli/Kabel.txt"));
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 1);
    QCOMPARE(QString::fromUtf8(p.readAllStandardError()),
             QStringLiteral("varolinaten-bericht: Die Standardausgabe kann nicht geschrieben "
                            "werden: Kein Speicherplatz mehr auf dem Datenträger.\n"));
}

void TstBerichtCli::kurveAlsBild()
{
    QTemporaryDir ordner;
    const QString png = ordner.filePath(QStringLiteral("kurve.png"));
    const Lauf lauf = starte({QStringLiteral("--kurve"), QStringLiteral("--ausgabe"), png,
                              QStringLiteral("--breite"), QStringLiteral("800"),
                              QStringLiteral("--hoehe"), QStringLiteral("600")});
    QCOMPARE(lauf.status, 0);
    const QImage bild(png);
    QCOMPARE(bild.size(), QSize(800, 600));
}

void TstBerichtCli::kurveRegelverletzung()
{
    QTemporaryDir ordner;
    const QString png = ordner.filePath(QStringLiteral("kurve.png"));
    const Lauf lauf = starte({QStringLiteral("--kurve"), QStringLiteral("--ausgabe"), png,
                              QStringLiteral("--eingz"), QStringLiteral("0,05")});
    QCOMPARE(lauf.status, 2);
    QVERIFY2(lauf.stderr_.contains(QStringLiteral("unreal")), qPrintable(lauf.stderr_));
    QVERIFY(!QFile::exists(png));
}

void TstBerichtCli::hilfe()
{
    const Lauf lauf = starte({QStringLiteral("--help")});
    QCOMPARE(lauf.status, 0);
    const QString text = QString::fromUtf8(lauf.stdout_);
    QVERIFY(text.startsWith(QStringLiteral("Aufruf: varolinaten-bericht")));
    // The tool asks no printer: the default it names is the one it uses.
    QVERIFY(text.contains(QStringLiteral("--seitenlaenge N      Zeilen je Seite (Vorgabe: 73;")));
    QVERIFY(!text.contains(QStringLiteral("entscheidet der Drucker")));
    for (const char *option : {"--modus", "--frequenz", "--kabel", "--laenge", "--toleranz",
                               "--seitenlaenge", "--format", "--ausgabe", "--kurve", "--oeffnen"})
        QVERIFY2(text.contains(QLatin1String(option)), option);
}

QTEST_MAIN(TstBerichtCli)
#include "tst_bericht_cli.moc"
