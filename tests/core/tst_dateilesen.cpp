#include "dateilesen.h"
#include "kabeltabelle.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

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

} // namespace

class TstDateilesen : public QObject
{
    Q_OBJECT

private slots:
    void lesen_data();
    void lesen();
    void kabeltabelleGemischt();
    void kabeltabelleBegrenzt_data();
    void kabeltabelleBegrenzt();

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

    const QByteArray rtf("{\\rtf1 x}");
    QTest::newRow("Datei") << "datei" << qint64(100) << false << rtf << "";
    QTest::newRow("zu groß") << "datei" << qint64(4) << false << QByteArray() << "größer als 4";
    QTest::newRow("zu groß, Anfang") << "datei" << qint64(4) << true << rtf.left(4) << "als 4";
    QTest::newRow("Pipe") << "fifo" << qint64(100) << false << QByteArray() << "keine gewöhn";
    QTest::newRow("/dev/zero") << "/dev/zero" << qint64(9) << true << QByteArray() << "keine";
    QTest::newRow("Ordner") << "ordner" << qint64(100) << false << QByteArray() << "Ordner";
    QTest::newRow("Kreis") << "kreis" << qint64(100) << false << QByteArray() << "im Kreis";
    // Claims size 0 but has content: the limit holds while reading.
    QTest::newRow("Größe 0") << "/proc/self/maps" << qint64(10) << false << QByteArray()
                             << "größer als 10";
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
    if (art == QLatin1String("datei"))
        anlegen(pfad, "{\\rtf1 x}");
    else if (art == QLatin1String("fifo")) {
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
    QCOMPARE(inhalt.daten, daten);
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
    QVERIFY2(tabelle.hinweis.contains(hinweis), qPrintable(tabelle.hinweis));
    QCOMPARE(tabelle.kabel.constLast().zeile, kabel);
    QCOMPARE(tabelle.kabel.constLast().Typ.size(), zeile.size() - 6); // never a cut-off row
}

QTEST_GUILESS_MAIN(TstDateilesen)
#include "tst_dateilesen.moc"
