#include "berichtwerkzeug.h"
#include "werkzeuglauf.h"

#include <QBuffer>
#include <QTest>
#include <QTextStream>

namespace {

// The five bands of the worked example, 3 to 40 m in millimetres.
QStringList planer(const QStringList &dazu = {})
{
    QStringList argumente = {QStringLiteral("--planer"),
                             QStringLiteral("--baender"),
                             QStringLiteral("80m/40m/20m/15m/10m"),
                             QStringLiteral("--kabel"),
                             QStringLiteral("0,66"),
                             QStringLiteral("--von-laenge"),
                             QStringLiteral("3"),
                             QStringLiteral("--bis-laenge"),
                             QStringLiteral("40"),
                             QStringLiteral("--schritt"),
                             QStringLiteral("0,001")};
    // A later value of the same option replaces the earlier one.
    return argumente + dazu;
}

Lauf starte(QStringList argumente)
{
    argumente << QStringLiteral("--kabeltabelle")
              << QStringLiteral(VARO_TESTDATEN "/cli/Kabel.txt");
    return werkzeugStarten(argumente, QStringLiteral(VARO_BINDIR));
}

} // namespace

class TstPlanerCli : public QObject
{
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale::c()); }
    void cleanup() { QLocale::setDefault(QLocale::system()); }

    void csv_data();
    void csv();
    void textBericht();
    void langerBerichtHatSeiten();
    void rtfUndPdf();
    void ablehnungen_data();
    void ablehnungen();
};

void TstPlanerCli::csv_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("schritt");
    QTest::addColumn<int>("zeilen");
    QTest::addColumn<QString>("zeile");
    QTest::newRow("C, mm") << "C"
                           << "0.001" << 37002 << "27.452;47.556";
    QTest::newRow("de, mm") << "de_DE"
                            << "0,001" << 37002 << "27,452;47,556";
    QTest::newRow("de, cm: two decimals") << "de_DE"
                                          << "0,01" << 3702 << "3,00;11,727";
    QTest::newRow("C, half metres") << "C"
                                    << "0,5" << 76 << "40.00;";
}

void TstPlanerCli::csv()
{
    QFETCH(QString, locale);
    QFETCH(QString, schritt);
    QFETCH(int, zeilen);
    QFETCH(QString, zeile);
    QLocale::setDefault(QLocale(locale));
    const Lauf lauf = starte(planer(
        {QStringLiteral("--schritt"), schritt, QStringLiteral("--format"), QStringLiteral("csv")}));
    QCOMPARE(lauf.status, 0);
    QVERIFY(lauf.stderr_.isEmpty());
    const QList<QByteArray> teile = lauf.stdout_.split('\n');
    QCOMPARE(teile.size(), zeilen + 1); // the last line end leaves an empty rest
    QCOMPARE(teile.first(), QByteArray("Laenge/m;Abstand/Grad"));
    QVERIFY(teile.last().isEmpty());
    bool gefunden = false;
    for (const QByteArray &t : teile)
        gefunden = gefunden || t.startsWith(zeile.toUtf8());
    QVERIFY2(gefunden, qPrintable(zeile));
}

void TstPlanerCli::textBericht()
{
    const Lauf lauf = starte(planer({QStringLiteral("--kabel"), QStringLiteral("RG-213")}));
    QCOMPARE(lauf.status, 0);
    const QString text = QString::fromUtf8(lauf.stdout_);
    QVERIFY(text.startsWith(QLatin1String("Varolinaten-Planung\r\n\r\n Band 80m ")));
    QVERIFY(text.contains(QStringLiteral(" Verkürzungsfaktor  : 0.66 (RG-213)\r\n")));
    QVERIFY(text.contains(QStringLiteral(" Beste Länge        : 27.452 m, Abstand 47.56°\r\n")));
    // The range that holds the best length names it as its best.
    QVERIFY(text.contains(QStringLiteral("m          27.452 m        47.56°\r\n")));
    // One of the four clear ranges is under a centimetre: left out, and said so.
    QVERIFY(text.contains(
        QStringLiteral(" Ein freier Bereich schmaler als 1 cm ist nicht aufgeführt.\r\n")));
    // The margin asked for, the best one and three rows.
    QCOMPARE(text.count(QStringLiteral("°\r\n")), 5);
    QVERIFY(text.endsWith(QStringLiteral("wünscht Ihnen Velmo")));
    QVERIFY(!text.contains(QLatin1String("Seite 2")));
}

void TstPlanerCli::langerBerichtHatSeiten()
{
    // A band 10 kHz wide leaves hundreds of clear ranges over 200 m.
    const Lauf lauf = starte(planer({QStringLiteral("--baender"), QStringLiteral("145-145,01"),
                                     QStringLiteral("--bis-laenge"), QStringLiteral("200")}));
    QCOMPARE(lauf.status, 0);
    const QString text = QString::fromUtf8(lauf.stdout_);
    QVERIFY(text.contains(QLatin1String("Seite 2\r\n Freie Bereiche:")));
    QVERIFY(text.count(QLatin1String("\r\n")) > 300);
}

void TstPlanerCli::rtfUndPdf()
{
    const Lauf rtf = starte(planer({QStringLiteral("--format"), QStringLiteral("rtf")}));
    QCOMPARE(rtf.status, 0);
    QVERIFY(rtf.stdout_.startsWith("{\\rtf"));
    QVERIFY(rtf.stdout_.contains("Varolinaten-Planung"));
    const Lauf pdf = starte(planer({QStringLiteral("--format"), QStringLiteral("pdf")}));
    QCOMPARE(pdf.status, 0);
    QVERIFY(pdf.stdout_.startsWith("%PDF"));
}

void TstPlanerCli::ablehnungen_data()
{
    QTest::addColumn<QStringList>("dazu");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("grund");
    const auto z = [](const char *name, const char *wert) {
        return QStringList{QString::fromLatin1(name), QString::fromUtf8(wert)};
    };
    QTest::newRow("unknown band") << z("--baender", "80m/11m") << 2 << "„11m“";
    QTest::newRow("range reversed") << z("--baender", "14,35-14") << 2 << "untere Grenze";
    QTest::newRow("range from 0") << z("--baender", "0-3") << 2 << "untere Grenze";
    QTest::newRow("Vk negative") << z("--kabel", "-0,5") << 2 << "Verkürzungsfaktor";
    QTest::newRow("Vk 1.01") << z("--kabel", "1,01") << 2 << "Verkürzungsfaktor";
    QTest::newRow("von = bis") << z("--von-laenge", "40") << 2 << "kürzeste Länge";
    QTest::newRow("von 0") << z("--von-laenge", "0") << 2 << "über 0 m";
    QTest::newRow("von negative") << z("--von-laenge", "-3") << 2 << "über 0 m";
    QTest::newRow("step 0") << z("--schritt", "0") << 2 << "Schrittweite";
    QTest::newRow("too many lengths")
        << z("--schritt", "0,00001") << 2 << "mehr als 1000000 Längen";
    QTest::newRow("no number") << z("--bis-laenge", "40m") << 2 << "keine Zahl";
    QTest::newRow("unknown format") << z("--format", "xml") << 1 << "--format";
}

void TstPlanerCli::ablehnungen()
{
    QFETCH(QStringList, dazu);
    QFETCH(int, status);
    QFETCH(QString, grund);
    const Lauf lauf = starte(planer(dazu));
    QCOMPARE(lauf.status, status);
    QVERIFY(lauf.stdout_.isEmpty());
    QVERIFY2(lauf.stderr_.contains(grund), qPrintable(lauf.stderr_));
}

QTEST_MAIN(TstPlanerCli)
#include "tst_planer_cli.moc"
