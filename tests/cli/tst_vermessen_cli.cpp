#include "kabelmodell.h"
#include "werkzeuglauf.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace varo;

namespace {

const char *const kRG58 = "0,66 RG-58 d=100/15,1;10/4,6;50/10,8;200/22,6;400/33,5";
const char *const kRG59 = "0,66 RG-59 d=150/13,5;10/3,3;50/7,5;400/23 Z=75";
const char *const kEco = "0,85 Ecoflex 10 d=100/3,8;10/1,2;145/4,8;430/8,9";

double relativ(double ist, double soll)
{
    return std::abs(ist - soll) / std::abs(soll);
}

// A number as the tool prints it under the C locale of the tests.
double zahlNach(const QString &zeile, const QString &vor)
{
    const qsizetype anfang = zeile.indexOf(vor) + vor.size();
    return zeile.mid(anfang).section(QLatin1Char(' '), 0, 0).toDouble();
}

} // namespace

Q_DECLARE_METATYPE(Modellkabel)

class TstVermessenCli : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void text_data();
    void text();
    void csv_data();
    void csv();
    void kuerzen_data();
    void kuerzen();
    void abgelehnt_data();
    void abgelehnt();
    void aufruffehler_data();
    void aufruffehler();
    void beispieldateien();

private:
    // Writes open (and short) files of the model cable; returns the options naming them.
    QStringList dateien(const Modellkabel &m, bool mitKurz, const QString &name = {})
    {
        const QString stamm = m_dir.filePath(name.isEmpty() ? QString::number(++m_nummer) : name);
        QStringList argumente{"--vermessen", "--kabeltabelle", m_tabelle, "--offen",
                              stamm + "_offen.s1p"};
        if (modellDatei(stamm + "_offen.s1p", m, Abschluss::Offen) != QString())
            return {};
        if (mitKurz) {
            argumente << "--kurz" << stamm + "_kurz.s1p";
            if (modellDatei(stamm + "_kurz.s1p", m, Abschluss::Kurzschluss) != QString())
                return {};
        }
        return argumente;
    }

    QTemporaryDir m_dir;
    QString m_tabelle;
    int m_nummer = 0;
};

void TstVermessenCli::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_tabelle = m_dir.filePath(QStringLiteral("Kabel.txt"));
    QFile datei(m_tabelle);
    QVERIFY(datei.open(QIODevice::WriteOnly));
    datei.write(QByteArray("; Testtabelle\n") + kRG58 + "\n" + kRG59 + "\n");
}

void TstVermessenCli::text_data()
{
    QTest::addColumn<Modellkabel>("modell");
    QTest::addColumn<bool>("mitKurz");
    QTest::addColumn<QString>("kabel"); // --kabel, empty: none
    QTest::addColumn<double>("toleranzVk");
    QTest::newRow("RG-58 offen und kurz")
        << Modellkabel{kRG58, 20, 1, 60, 401} << true << QString() << 0.003;
    QTest::newRow("RG-59 75 Ohm verrauscht")
        << Modellkabel{kRG59, 8, 1, 450, 901, 0.005} << true << "RG-59" << 0.003;
    QTest::newRow("Ecoflex nur offen")
        << Modellkabel{kEco, 27, 1, 150, 1201} << false << "0,85" << 0.005;
    QTest::newRow("RG-58 nur offen, Kabel aus der Tabelle")
        << Modellkabel{kRG58, 20, 1, 60, 401} << false << "RG-58" << 0.005;
}

void TstVermessenCli::text()
{
    QFETCH(Modellkabel, modell);
    QFETCH(bool, mitKurz);
    QFETCH(QString, kabel);
    QFETCH(double, toleranzVk);
    QStringList argumente = dateien(modell, mitKurz);
    QVERIFY(!argumente.isEmpty());
    argumente << "--laenge" << QString::number(modell.laenge) << "--name"
              << "Meine Rolle";
    if (!kabel.isEmpty())
        argumente << "--kabel" << kabel;
    const Lauf lauf = werkzeugStarten(argumente, m_dir.path());
    QVERIFY2(lauf.status == 0, qPrintable(lauf.stderr_));
    const QStringList zeilen = QString::fromUtf8(lauf.stdout_).split('\n', Qt::SkipEmptyParts);
    QVERIFY(zeilen.size() >= 5);
    const Kabeldaten soll = *kabeldatenAusText(QString::fromUtf8(modell.zeile));
    QVERIFY(zeilen.first().startsWith("Verkürzungsfaktor: "));
    QVERIFY(relativ(zahlNach(zeilen.first(), "Verkürzungsfaktor: "), soll.Vk) < toleranzVk);
    QVERIFY(zeilen.join('\n').contains(mitKurz ? "(gemessen)" : "(angenommen)"));

    // The last line is the row as the table reads it.
    const auto zeile = kabeldatenAusText(zeilen.last());
    QVERIFY2(zeile && kabeldatenPruefen(*zeile).isEmpty(), qPrintable(zeilen.last()));
    QCOMPARE(zeile->typ, QStringLiteral("Meine Rolle"));
    QVERIFY(relativ(zeile->Vk, soll.Vk) < toleranzVk + 0.0005); // three decimals
    QVERIFY(relativ(zeile->impedanz, soll.impedanz) < 0.01);
    QVERIFY(zeile->punkte.size() >= 3);
    if (mitKurz) {
        for (const Daempfungspunkt &p : zeile->punkte)
            QVERIFY(relativ(p.dBPro100m, verlustAnpassen(soll.punkte).dBPro100m(p.fMHz)) < 0.05);
    }
}

void TstVermessenCli::csv_data()
{
    QTest::addColumn<bool>("mitKurz");
    QTest::newRow("offen und kurz") << true;
    QTest::newRow("nur offen") << false;
}

void TstVermessenCli::csv()
{
    QFETCH(bool, mitKurz);
    // 20 m of RG-58 from 1 to 60 MHz: the open end has its minima at odd
    // multiples of 2,475 MHz, twelve of them.
    const Modellkabel m{kRG58, 20, 1, 60, 401};
    const QString ausgabe = m_dir.filePath(QStringLiteral("tabelle.csv"));
    const Lauf lauf = werkzeugStarten(dateien(m, mitKurz) << "--laenge"
                                                          << "20"
                                                          << "--format"
                                                          << "csv"
                                                          << "--ausgabe" << ausgabe,
                                      m_dir.path());
    QVERIFY2(lauf.status == 0, qPrintable(lauf.stderr_));
    QVERIFY(lauf.stdout_.isEmpty());
    QFile datei(ausgabe);
    QVERIFY(datei.open(QIODevice::ReadOnly));
    const QList<QByteArray> zeilen = datei.readAll().split('\n');
    QCOMPARE(zeilen.first(), QByteArray(kKabelmessungCsvKopf));
    QCOMPARE(zeilen.last(), QByteArray());
    QCOMPARE(zeilen.size() - 2, mitKurz ? m.punkte : 12);
    for (qsizetype i = 1; i + 1 < zeilen.size(); ++i) {
        const QList<QByteArray> felder = zeilen.at(i).split(';');
        QCOMPARE(felder.size(), 5);
        QVERIFY(relativ(felder.at(1).toDouble(), 0.66) < 0.005);
        QCOMPARE(felder.at(2).isEmpty(), !mitKurz);
        if (mitKurz)
            QVERIFY(relativ(felder.at(2).toDouble(), 50.0) < 0.05);
    }
}

void TstVermessenCli::kuerzen_data()
{
    QTest::addColumn<QString>("art");
    QTest::addColumn<double>("zielMHz");
    QTest::addColumn<double>("viertel"); // the resonance as a fraction of a wave
    QTest::newRow("Viertelwelle offen") << "viertel-offen" << 7.1 << 0.25;
    QTest::newRow("Viertelwelle kurz") << "viertel-kurz" << 14.2 << 0.25;
    QTest::newRow("Halbwelle") << "halb" << 14.2 << 0.5;
    QTest::newRow("zu kurz") << "halb" << 3.6 << 0.5;
}

void TstVermessenCli::kuerzen()
{
    QFETCH(QString, art);
    QFETCH(double, zielMHz);
    QFETCH(double, viertel);
    const Modellkabel m{kRG58, 20, 1, 60, 401, 0.005};
    const Lauf lauf =
        werkzeugStarten(dateien(m, true) << "--laenge"
                                         << "20"
                                         << "--ziel" << QString::number(zielMHz) << "--art" << art,
                        m_dir.path());
    QVERIFY2(lauf.status == 0, qPrintable(lauf.stderr_));
    const QStringList zeilen = QString::fromUtf8(lauf.stdout_).split('\n', Qt::SkipEmptyParts);
    const QString &kuerzung = zeilen.at(zeilen.size() - 2);
    QVERIFY2(kuerzung.startsWith("Neue Länge: "), qPrintable(kuerzung));
    const double laenge = zahlNach(kuerzung, "Neue Länge: ");
    // The piece cut as told resonates on the target with the cable's true Vk.
    const double resonanz = viertel * 300.0 * 0.66 / laenge;
    QVERIFY2(relativ(resonanz, zielMHz) < 0.001, qPrintable(kuerzung));
    if (laenge < 20.0)
        QVERIFY(relativ(zahlNach(kuerzung, "kürzen um "), (20.0 - laenge) * 100.0) < 1e-3);
    else
        QVERIFY(relativ(zahlNach(kuerzung, "das Kabel ist "), (laenge - 20.0) * 100.0) < 1e-3);
}

void TstVermessenCli::abgelehnt_data()
{
    QTest::addColumn<QStringList>("dazu");
    QTest::addColumn<int>("fall"); // 0 as given, 1 short over other frequencies, 2 no resonance
    QTest::addColumn<QString>("grund");
    QTest::newRow("Frequenzen verschieden")
        << QStringList{"--laenge", "20"} << 1 << "nicht dieselben Frequenzen";
    QTest::newRow("keine Resonanz, kein Kabel")
        << QStringList{"--laenge", "20"} << 2 << "keine Resonanz";
    QTest::newRow("Länge 0") << QStringList{"--laenge", "0"} << 0 << "nicht größer als 0";
    QTest::newRow("Länge negativ") << QStringList{"--laenge", "-2,5"} << 0 << "nicht größer als 0";
    QTest::newRow("Länge keine Zahl") << QStringList{"--laenge", "zwanzig"} << 0 << "keine Zahl";
    QTest::newRow("Vk über 1") << QStringList{"--vk", "1,2"} << 0 << "nicht zwischen 0 und 1";
    QTest::newRow("Ziel 0") << QStringList{"--laenge", "20", "--ziel", "0", "--art", "halb"} << 0
                            << "Zielfrequenz";
    QTest::newRow("Kabel unbekannt")
        << QStringList{"--laenge", "20", "--kabel", "RG-999"} << 0 << "RG-999";
    QTest::newRow("Datei abgelehnt") << QStringList{"--laenge", "20"} << 3 << "Zeile 2";
}

void TstVermessenCli::abgelehnt()
{
    QFETCH(QStringList, dazu);
    QFETCH(int, fall);
    QFETCH(QString, grund);
    // 20 m of RG-58 has its first resonance at 2,475 MHz.
    const Modellkabel m{kRG58, 20, 1, fall == 2 ? 2.0 : 60.0, 101};
    QStringList argumente = dateien(m, true, QStringLiteral("abgelehnt"));
    if (fall == 1) {
        const Modellkabel anders{kRG58, 20, 1, 61, 101};
        QCOMPARE(modellDatei(argumente.last(), anders, Abschluss::Kurzschluss), QString());
    }
    if (fall == 3) {
        QFile kaputt(argumente.at(4));
        QVERIFY(kaputt.open(QIODevice::WriteOnly));
        kaputt.write("# MHz S RI R 50\n1 0,5 Text\n");
    }
    const Lauf lauf = werkzeugStarten(argumente + dazu, m_dir.path());
    QCOMPARE(lauf.status, 2);
    QVERIFY(lauf.stdout_.isEmpty());
    QVERIFY2(lauf.stderr_.contains(grund), qPrintable(lauf.stderr_));
    if (fall == 3)
        QVERIFY(lauf.stderr_.contains("abgelehnt_offen.s1p"));
}

void TstVermessenCli::aufruffehler_data()
{
    QTest::addColumn<QStringList>("argumente");
    QTest::addColumn<QString>("grund");
    QTest::newRow("ohne --offen") << QStringList{"--vermessen", "--laenge", "3"} << "--offen";
    QTest::newRow("Länge und Vk") << QStringList{"--vermessen", "--offen", "a.s1p", "--laenge",
                                                 "3",           "--vk",    "0,66"}
                                  << "entweder";
    QTest::newRow("weder Länge noch Vk")
        << QStringList{"--vermessen", "--offen", "a.s1p"} << "entweder";
    QTest::newRow("Ziel ohne Art")
        << QStringList{"--vermessen", "--offen", "a.s1p", "--laenge", "3", "--ziel", "7"}
        << "zusammen";
    QTest::newRow("Art unbekannt")
        << QStringList{"--vermessen", "--offen", "a.s1p", "--laenge", "3",
                       "--ziel",      "7",       "--art", "drittel"}
        << "viertel-offen";
    QTest::newRow("Format pdf") << QStringList{"--vermessen", "--offen",  "a.s1p", "--laenge",
                                               "3",           "--format", "pdf"}
                                << "text oder csv";
    QTest::newRow("Ziel mit csv") << QStringList{"--vermessen", "--offen",  "a.s1p", "--laenge",
                                                 "3",           "--ziel",   "7",     "--art",
                                                 "halb",        "--format", "csv"}
                                  << "--format csv";
    QTest::newRow("Datei fehlt") << QStringList{"--vermessen", "--offen", "fehlt.s1p", "--laenge",
                                                "3"}
                                 << "fehlt.s1p";
}

void TstVermessenCli::aufruffehler()
{
    QFETCH(QStringList, argumente);
    QFETCH(QString, grund);
    const Lauf lauf = werkzeugStarten(argumente, m_dir.path());
    QCOMPARE(lauf.status, 1);
    QVERIFY(lauf.stdout_.isEmpty());
    QVERIFY2(lauf.stderr_.contains(grund), qPrintable(lauf.stderr_));
}

// The pair the README's example reads is what the model makes today: a
// batch of RG-213 (the shipped table's row) whose Vk is 0,672, not 0,66.
void TstVermessenCli::beispieldateien()
{
    const Modellkabel m{
        "0,672 RG-213 d=10/1,804;50/4,265;100/6,234;200/8,858;400/13,451", 27.4, 1, 60, 601, 0.005};
    for (const auto ende : {Abschluss::Offen, Abschluss::Kurzschluss}) {
        const QString name = ende == Abschluss::Offen ? "offen" : "kurz";
        QFile datei(QStringLiteral(VARO_TESTDATEN "/vermessen/rg213_%1.s1p").arg(name));
        const QByteArray soll = touchstoneText(modellMessung(m, ende), modellBeschreibung(m, ende));
        QVERIFY(datei.open(QIODevice::ReadOnly));
        // The first line names the program's version.
        const QByteArray ist = datei.readAll();
        QCOMPARE(ist.mid(ist.indexOf('\n')), soll.mid(soll.indexOf('\n')));
        QVERIFY(ist.startsWith("! Varolinaten ") &&
                ist.left(ist.indexOf('\n')).endsWith(modellBeschreibung(m, ende).toUtf8()));
    }
    const Lauf hilfe = werkzeugStarten({"--help"}, m_dir.path());
    QVERIFY(hilfe.stdout_.contains("--vermessen --offen DATEI"));
    QVERIFY(hilfe.stdout_.contains("  --art ART "));
    QVERIFY(!hilfe.stdout_.contains("%1"));
}

QTEST_GUILESS_MAIN(TstVermessenCli)
#include "tst_vermessen_cli.moc"
