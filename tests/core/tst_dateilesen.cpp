#include "dateilesen.h"
#include "kabeltabelle.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using varo::Uebergroesse;

namespace {

void anlegen(const QString &pfad, const QByteArray &inhalt)
{
    QFile f(pfad);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(inhalt), inhalt.size());
}

QByteArray inhaltVon(const QString &pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(fehlt)");
}

} // namespace

class TstDateilesen : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { varo::schreibgrenzeSetzen(-1); }

    void lesen_data();
    void lesen();
    void schreibenOhnePlatz_data();
    void schreibenOhnePlatz();
    void kabeltabelleGemischt();
    void kabeltabelleBegrenzt_data();
    void kabeltabelleBegrenzt();
    void kabeltabelleUnlesbar_data();
    void kabeltabelleUnlesbar();
    void daempfungsfehler_data();
    void daempfungsfehler();

private:
    QTemporaryDir m_ordner;
};

void TstDateilesen::lesen_data()
{
    QTest::addColumn<QString>("art");
    QTest::addColumn<qint64>("grenze");
    QTest::addColumn<bool>("anfang"); // Uebergroesse::Anfang
    QTest::addColumn<QByteArray>("daten");
    QTest::addColumn<QString>("fehler"); // part of the reason; empty: read whole

    QTest::newRow("Datei") << "datei" << qint64(100) << false << QByteArray("{\\rtf1 x}") << "";
    QTest::newRow("leere Datei") << "leer" << qint64(100) << false << QByteArray() << "";
    QTest::newRow("Verknüpfung auf Datei")
        << "link" << qint64(100) << false << QByteArray("{\\rtf1 x}") << "";
    QTest::newRow("genau an der Grenze")
        << "datei" << qint64(9) << false << QByteArray("{\\rtf1 x}") << "";
    QTest::newRow("zu groß, abgelehnt")
        << "datei" << qint64(4) << false << QByteArray() << "größer als 4 Bytes";
    QTest::newRow("zu groß, Anfang")
        << "datei" << qint64(4) << true << QByteArray("{\\rt") << "größer als 4 Bytes";
    QTest::newRow("Pipe") << "fifo" << qint64(100) << false << QByteArray()
                          << "keine gewöhnliche Datei";
    QTest::newRow("/dev/zero") << "/dev/zero" << qint64(100) << false << QByteArray()
                               << "keine gewöhnliche Datei";
    QTest::newRow("/dev/urandom") << "/dev/urandom" << qint64(100) << true << QByteArray()
                                  << "keine gewöhnliche Datei";
    QTest::newRow("Ordner") << "ordner" << qint64(100) << false << QByteArray() << "Ordner";
    QTest::newRow("Verknüpfung im Kreis")
        << "kreis" << qint64(100) << false << QByteArray() << "im Kreis";
    QTest::newRow("fehlt") << "fehlt" << qint64(100) << false << QByteArray() << "nicht vorhanden";
    // Claims size 0 but has content: the limit holds while reading.
    QTest::newRow("Größe 0, länger als die Grenze")
        << "/proc/self/maps" << qint64(10) << false << QByteArray() << "größer als 10 Bytes";
}

void TstDateilesen::lesen()
{
    QFETCH(QString, art);
    QFETCH(qint64, grenze);
    QFETCH(bool, anfang);
    QFETCH(QByteArray, daten);
    QFETCH(QString, fehler);

    QTemporaryDir ordner;
    QString pfad = ordner.filePath(QStringLiteral("x.rtf"));
    const QString ziel = ordner.filePath(QStringLiteral("ziel.rtf"));
    if (art == QLatin1String("datei") || art == QLatin1String("leer"))
        anlegen(pfad, art == QLatin1String("leer") ? QByteArray() : QByteArray("{\\rtf1 x}"));
    else if (art == QLatin1String("link")) {
        anlegen(ziel, "{\\rtf1 x}");
        QVERIFY(QFile::link(ziel, pfad));
    } else if (art == QLatin1String("fifo")) {
        if (::mkfifo(QFile::encodeName(pfad).constData(), 0600) != 0)
            QSKIP("Keine Pipe anlegbar.");
    } else if (art == QLatin1String("ordner")) {
        QVERIFY(QDir(ordner.path()).mkdir(QStringLiteral("x.rtf")));
    } else if (art == QLatin1String("kreis")) {
        QVERIFY(::symlink("x.rtf", QFile::encodeName(pfad).constData()) == 0);
    } else if (art.startsWith(QLatin1Char('/'))) {
        pfad = art;
    }

    const varo::Dateiinhalt inhalt =
        varo::dateiLesen(pfad, grenze, anfang ? Uebergroesse::Anfang : Uebergroesse::Ablehnen);
    QVERIFY2(inhalt.fehler.contains(fehler), qPrintable(inhalt.fehler));
    QCOMPARE(inhalt.vollstaendig, fehler.isEmpty());
    if (art == QLatin1String("/proc/self/maps"))
        QVERIFY(inhalt.daten.isEmpty());
    else
        QCOMPARE(inhalt.daten, daten);
}

void TstDateilesen::schreibenOhnePlatz_data()
{
    QTest::addColumn<bool>("tmpfs"); // a real full file system, else an injected failure
    QTest::addColumn<int>("bytes");
    QTest::newRow("eingespeist, erster Block") << false << 10;
    QTest::newRow("eingespeist, mittendrin") << false << 100'000;
    QTest::newRow("tmpfs 64 KiB") << true << 200'000;
}

void TstDateilesen::schreibenOhnePlatz()
{
    QFETCH(bool, tmpfs);
    QFETCH(int, bytes);
    QTemporaryDir ordner;
    const QString platte = ordner.filePath(QStringLiteral("platte"));
    QVERIFY(QDir().mkpath(platte));
    if (tmpfs) {
        if (::mount("tmpfs", QFile::encodeName(platte).constData(), "tmpfs", 0, "size=64k") != 0)
            QSKIP("Kein tmpfs einhängbar (nur als root).");
    } else {
        varo::schreibgrenzeSetzen(bytes / 2);
    }
    const QString datei = platte + QStringLiteral("/alt.rtf");
    anlegen(datei, "{\\rtf1 alter Bericht}");

    const QString grund = varo::dateiSchreiben(datei, QByteArray(bytes, 'x'));
    const QByteArray danach = inhaltVon(datei);
    const QStringList reste = QDir(platte).entryList(QDir::Files);
    if (tmpfs)
        ::umount(QFile::encodeName(platte).constData());

    QCOMPARE(grund, QStringLiteral("Kein Speicherplatz mehr auf dem Datenträger."));
    QCOMPARE(danach, QByteArray("{\\rtf1 alter Bericht}"));
    QCOMPARE(reste, QStringList{"alt.rtf"}); // no temporary file left behind

    // With room again the same call replaces the file.
    varo::schreibgrenzeSetzen(-1);
    QCOMPARE(varo::dateiSchreiben(ordner.filePath(QStringLiteral("neu.rtf")), "{\\rtf1 neu}"),
             QString());
    QCOMPARE(inhaltVon(ordner.filePath(QStringLiteral("neu.rtf"))), QByteArray("{\\rtf1 neu}"));
    QVERIFY(varo::dateiSchreiben(ordner.filePath(QStringLiteral("fehlt/neu.rtf")), "x")
                .contains(QStringLiteral("Ordner")));
}

void TstDateilesen::kabeltabelleGemischt()
{
    // One line written by a UTF-8 editor, one by an old ANSI one.
    const QByteArray bytes("0,66 RG-59 (75 \xce\xa9)\r\n0,91 H\xfchnerleiter\r\n"
                           "0,8 Kabel \x96 halb\r\n0,7 Stra\xc3\x9f"
                           "e\r\n");
    QCOMPARE(varo::kabelDateiZeilen(bytes),
             (QStringList{u"0,66 RG-59 (75 Ω)"_qs, u"0,91 Hühnerleiter"_qs,
                          u"0,8 Kabel \u2013 halb"_qs, u"0,7 Straße"_qs}));
}

void TstDateilesen::kabeltabelleBegrenzt_data()
{
    QTest::addColumn<QByteArray>("zeile");
    QTest::addColumn<int>("anzahl");
    QTest::addColumn<int>("kabel");
    QTest::addColumn<QString>("hinweis");
    QTest::newRow("klein") << QByteArray("0.66 RG58\n") << 100 << 100 << "";
    QTest::newRow("mehr Kabel als erlaubt")
        << QByteArray("0.66 RG58\n") << varo::maxKabel + 5 << varo::maxKabel << "ersten 10000";
    // 2 MiB of rows: only whole lines of the first MiB count.
    const QByteArray lang = "0.66 " + QByteArray(1000, 'L') + "\n";
    QTest::newRow("größer als 1 MiB")
        << lang << int(2 * varo::maxTabellenBytes / lang.size())
        << int(varo::maxTabellenBytes / lang.size()) << "größer als 1 MiB";
}

void TstDateilesen::kabeltabelleBegrenzt()
{
    QFETCH(QByteArray, zeile);
    QFETCH(int, anzahl);
    QFETCH(int, kabel);
    QFETCH(QString, hinweis);
    const QString pfad = m_ordner.filePath(QStringLiteral("Kabel.txt"));
    anlegen(pfad, zeile.repeated(anzahl));
    const varo::Kabeldatei tabelle = varo::kabelDateiLesen(pfad);
    QCOMPARE(tabelle.kabel.size(), kabel);
    QVERIFY(tabelle.fehler.isEmpty());
    QVERIFY2(hinweis.isEmpty() ? tabelle.hinweis.isEmpty() : tabelle.hinweis.contains(hinweis),
             qPrintable(tabelle.hinweis));
    QCOMPARE(tabelle.kabel.constLast().zeile, kabel);
    QCOMPARE(tabelle.kabel.constLast().Typ.size(), zeile.size() - 6); // never a cut-off row
}

void TstDateilesen::kabeltabelleUnlesbar_data()
{
    QTest::addColumn<QString>("art");
    QTest::addColumn<QString>("fehler");
    QTest::newRow("Pipe") << "fifo"
                          << "keine gewöhnliche Datei";
    QTest::newRow("Ordner") << "ordner"
                            << "Ordner";
    QTest::newRow("Kreis") << "kreis"
                           << "im Kreis";
    QTest::newRow("fehlt") << "fehlt"
                           << "";
}

void TstDateilesen::kabeltabelleUnlesbar()
{
    QFETCH(QString, art);
    QFETCH(QString, fehler);
    QTemporaryDir ordner;
    const QString pfad = ordner.filePath(QStringLiteral("Kabel.txt"));
    if (art == QLatin1String("fifo") && ::mkfifo(QFile::encodeName(pfad).constData(), 0600) != 0)
        QSKIP("Keine Pipe anlegbar.");
    if (art == QLatin1String("ordner"))
        QVERIFY(QDir(ordner.path()).mkdir(QStringLiteral("Kabel.txt")));
    if (art == QLatin1String("kreis"))
        QVERIFY(::symlink("Kabel.txt", QFile::encodeName(pfad).constData()) == 0);
    const varo::Kabeldatei tabelle = varo::kabelDateiLesen(pfad);
    QCOMPARE(tabelle.vorhanden, art != QLatin1String("fehlt"));
    QVERIFY(tabelle.kabel.isEmpty());
    QVERIFY2(tabelle.fehler.contains(fehler), qPrintable(tabelle.fehler));
    QCOMPARE(tabelle.fehler.isEmpty(), fehler.isEmpty());
}

void TstDateilesen::daempfungsfehler_data()
{
    QTest::addColumn<QString>("feld");
    QTest::addColumn<QString>("grund");
    QTest::newRow("gut") << "d=100/6,8"
                         << "";
    QTest::newRow("ohne Schrägstrich") << "d=100"
                                       << "„/“";
    QTest::newRow("fRef 0") << "d=0/6,8"
                            << "Bezugsfrequenz ist 0";
    QTest::newRow("aRef 0") << "d=100/0"
                            << "Dämpfung ist 0";
    QTest::newRow("aRef fehlt") << "d=100/"
                                << "Dämpfung ist 0";
    QTest::newRow("fRef negativ") << "d=-100/5"
                                  << "negativ";
    QTest::newRow("fRef zu groß") << "d=99999/5"
                                  << "außerhalb";
}

void TstDateilesen::daempfungsfehler()
{
    QFETCH(QString, feld);
    QFETCH(QString, grund);
    const QString warum = varo::daempfungsfehler(feld);
    QVERIFY2(grund.isEmpty() ? warum.isEmpty() : warum.contains(grund), qPrintable(warum));
}

QTEST_GUILESS_MAIN(TstDateilesen)
#include "tst_dateilesen.moc"
