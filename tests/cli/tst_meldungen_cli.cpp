#include "berichtwerkzeug.h"
#include "werkzeuglauf.h"

#include <QRegularExpression>
#include <QTest>

// What the report tool says when it refuses: German, one short line, the
// option and the reason named, numbers as typed or with every digit.

namespace {

const QString tabelle = QStringLiteral(VARO_TESTDATEN "/cli/Kabel.txt");

QStringList analyse(const QString &kabel, const QString &laenge)
{
    return {"--analyse", "--von",      "7",    "--bis",          "7,2",  "--kabel",
            kabel,       "--laenge",   laenge, "--lastr",        "600",  "--lastx",
            "30",        "--schritte", "2",    "--kabeltabelle", tabelle};
}

QStringList planer(const QString &baender, const QString &von, const QString &bis)
{
    return {"--planer", "--baender",    baender, "--kabel",        "0,66", "--von-laenge",
            von,        "--bis-laenge", bis,     "--kabeltabelle", tabelle};
}

QStringList kurve(const QString &option, const QString &wert)
{
    return {"--kurve", "--ausgabe", "kurve.png", option, wert};
}

QString viele(const QString &teil, int anzahl, const QString &trenner = QStringLiteral("/"))
{
    QStringList liste;
    for (int i = 0; i < anzahl; ++i)
        liste << teil;
    return liste.join(trenner);
}

} // namespace

class TstMeldungenCli : public QObject
{
    Q_OBJECT

private slots:
    // German numbers: a decimal comma, and group separators that must not appear.
    void init() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }
    void ablehnung_data();
    void ablehnung();
    void hilfeZurKabeltabelle();
};

void TstMeldungenCli::ablehnung_data()
{
    QTest::addColumn<QStringList>("argumente");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("grund");

    const QString riesig = QStringLiteral("1") + QString(300, QLatin1Char('0'));
    QTest::newRow("Analyse, Laenge ausserhalb")
        << analyse("0,66", "1e309") << 2
        << "--laenge: Die Zahl „1e309“ liegt außerhalb des Zahlenbereichs.";
    QTest::newRow("Analyse, keine Zahl")
        << analyse("0,66", "drei") << 2 << "--laenge: „drei“ ist keine Zahl.";
    QTest::newRow("Analyse, unendlicher Verlust")
        << analyse("0,66 Schaum d=100/1e300", "1e10") << 2 << "keine endliche Zahl";
    QTest::newRow("Planer, Laenge ausserhalb")
        << planer("40m", "3", "1e309") << 2
        << "--bis-laenge: Die Zahl „1e309“ liegt außerhalb des Zahlenbereichs.";
    QTest::newRow("Planer, 300 Ziffern")
        << planer("40m", riesig, "4") << 2 << "Die kürzeste Länge (1E+300 m)";
    QTest::newRow("Planer, Rastergrenze ohne Tausender")
        << planer("40m", "1", "100000") << 2 << "mehr als 1000000 Längen";
    QTest::newRow("Planer, zu viele Baender")
        << planer(viele("14-14,35", 26000), "3", "4") << 2 << "höchstens 100";
    QTest::newRow("Planer, lange Bandliste mit leerem Feld")
        << planer(viele("14-14,35", 10000) + "//", "3", "4") << 2 << "enthält ein leeres Feld";
    QTest::newRow("Kurve, Vk ueber 1") << kurve("--vk", "1,5") << 2 << "--vk: 1,5 liegt über 1.";
    QTest::newRow("Kurve, keine Zahl")
        << kurve("--von", "abc") << 2 << "--von ist 0 oder keine Zahl.";
    QTest::newRow("Kurve, Laenge ausserhalb")
        << kurve("--laenge", "1e309") << 2 << "--laenge: Die Zahl „1e309“ liegt außerhalb";
    QTest::newRow("Kabeltabelle anderen Namens")
        << (analyse("RG-213", "14") << "--kabeltabelle"
                                    << "/nicht/da/meine.txt")
        << 2
        << "Die Kabeltabelle „/nicht/da/meine.txt“ kann nicht geöffnet werden: Die Datei oder "
           "ihr Ordner ist nicht vorhanden.";
    // Attenuation points as typed: close or tiny ones are neither merged nor 0.
    QTest::newRow("winziger Punkt") << analyse("0,66 Schaum d=1e-300/1e-300;10/1", "14") << 0 << "";
    QTest::newRow("nahe Frequenzen")
        << analyse("0,66 Schaum d=10,0001/1;10,0002/2", "14") << 0 << "";
    QTest::newRow("fallend, nahe Frequenzen")
        << analyse("0,66 Schaum d=10,0001/2;10,0002/1", "14") << 2
        << "Die Dämpfung fällt von 2 dB bei 10,0001 MHz auf 1 dB bei 10,0002 MHz.";
    QTest::newRow("doppelt, genau") << analyse("0,66 Schaum d=10,0001/2;10,0001/3", "14") << 2
                                    << "Die Frequenz 10,0001 MHz steht mehr als einmal";
    QTest::newRow("Kabeltabelle mit zu langem Namen")
        << (analyse("RG-213", "14") << "--kabeltabelle"
                                    << "/tmp/" + QString(5000, 'k'))
        << 2 << "kann nicht geöffnet werden: Der Name ist zu lang.";
}

void TstMeldungenCli::ablehnung()
{
    QFETCH(QStringList, argumente);
    QFETCH(int, status);
    QFETCH(QString, grund);
    const Lauf lauf = werkzeugStarten(argumente, QStringLiteral(VARO_BINDIR));
    QCOMPARE(lauf.status, status);
    QCOMPARE(lauf.stdout_.isEmpty(), status != 0);
    QVERIFY2(lauf.stderr_.contains(grund), qPrintable(lauf.stderr_.left(400)));
    QCOMPARE(lauf.stderr_.count(QLatin1Char('\n')), status == 0 ? 0 : 1);
    QVERIFY2(lauf.stderr_.size() < 300, qPrintable(lauf.stderr_.left(400)));
    // No run of digits a reader would have to count, no thousands separator.
    QVERIFY(!lauf.stderr_.contains(
        QRegularExpression(QStringLiteral("\\d{20}|\\d\\.\\d{3}\\.\\d{3}"))));
}

void TstMeldungenCli::hilfeZurKabeltabelle()
{
    const QString hilfe =
        QString::fromUtf8(werkzeugStarten({"--help"}, QStringLiteral(VARO_BINDIR)).stdout_);
    const qsizetype stelle = hilfe.indexOf(QLatin1String("--kabeltabelle DATEI"));
    QVERIFY(stelle > 0);
    const QString abschnitt = hilfe.mid(stelle, 200).simplified();
    QVERIFY2(abschnitt.contains(QLatin1String("ersetzt Kabel.txt neben dem Programm und die "
                                              "eigene Tabelle ($XDG_DATA_HOME/varolinaten/"
                                              "Kabel.txt)")),
             qPrintable(abschnitt));
}

QTEST_MAIN(TstMeldungenCli)
#include "tst_meldungen_cli.moc"
