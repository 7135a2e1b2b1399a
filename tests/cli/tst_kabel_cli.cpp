// The report tool's cables: typed ones keep their loss, the user's own table
// is searched after the shipped one, partial tables are announced.

#include "berichtwerkzeug.h"
#include "werkzeuglauf.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TstKabelCli : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void getipptWieTabelle_data();
    void getipptWieTabelle();
    void abgelehnt_data();
    void abgelehnt();
    void eigeneTabelle();
    void grosseTabelleAngesagt_data();
    void grosseTabelleAngesagt();

private:
    void schreiben(const QString &name, const QByteArray &inhalt) const
    {
        QFile datei(m_dir.filePath(name));
        QVERIFY(datei.open(QIODevice::WriteOnly));
        datei.write(inhalt);
    }
    // The line analysis of 14 m at 7 to 7.2 MHz into a load of lastR Ω.
    static QStringList analyse(const QString &kabel, const QString &lastR = QStringLiteral("600"))
    {
        return {"--analyse", "--von",   "7",   "--bis",   "7,2", "--kabel",    kabel, "--laenge",
                "14",        "--lastr", lastR, "--lastx", "0",   "--schritte", "2"};
    }

    QTemporaryDir m_dir;
    QByteArray m_xdgVorher;
};

void TstKabelCli::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_xdgVorher = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("daten"))));
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("daten/varolinaten")));
    schreiben(QStringLiteral("Kabel.txt"), "0,85 Schaum d=100/3,8\n"
                                           "0,66 TV d=100/6;10/2 Z=75\n"
                                           "0,66 Unendlich d=10/inf\n");
    schreiben(QStringLiteral("Baender.txt"), "40m 7,0 7,2\n");
    schreiben(QStringLiteral("daten/varolinaten/Kabel.txt"),
              "; meine Kabel\n0,8 Mein Kabel d=10/1;100/3,5\n1,5 Zu schnell\n");
}

void TstKabelCli::cleanupTestCase()
{
    if (m_xdgVorher.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", m_xdgVorher);
}

void TstKabelCli::getipptWieTabelle_data()
{
    QTest::addColumn<QString>("getippt");
    QTest::addColumn<QString>("tabelle");
    QTest::addColumn<QString>("lastR");
    QTest::newRow("Dämpfung") << "0,85 Schaum d=100/3,8"
                              << "Schaum"
                              << "600";
    QTest::newRow("Dämpfung und Z") << "0,66 TV d=100/6;10/2 Z=75"
                                    << "TV"
                                    << "75";
}

void TstKabelCli::getipptWieTabelle()
{
    QFETCH(QString, getippt);
    QFETCH(QString, tabelle);
    QFETCH(QString, lastR);
    const QStringList tabellenwahl{"--kabeltabelle", m_dir.filePath(QStringLiteral("Kabel.txt"))};
    const Lauf getipptLauf = werkzeugStarten(analyse(getippt, lastR) + tabellenwahl, m_dir.path());
    const Lauf tabellenLauf = werkzeugStarten(analyse(tabelle, lastR) + tabellenwahl, m_dir.path());
    QCOMPARE(getipptLauf.status, 0);
    QCOMPARE(tabellenLauf.status, 0);
    QCOMPARE(getipptLauf.stderr_, QString());
    // Loss and SWR at every step as from the table's row (the velocity
    // factor is read in double precision from the typed text).
    for (int zeile = 1; zeile <= 3; ++zeile) {
        const QList<QByteArray> a = getipptLauf.felder(zeile);
        const QList<QByteArray> b = tabellenLauf.felder(zeile);
        QCOMPARE(a.size(), 8);
        for (int spalte : {4, 5, 6, 7})
            QVERIFY2(qAbs(a.at(spalte).toDouble() - b.at(spalte).toDouble()) <=
                         1e-4 * qAbs(b.at(spalte).toDouble()),
                     (a.at(spalte) + " / " + b.at(spalte)).constData());
        QVERIFY2(a.at(7).toDouble() > 0.05, a.at(7).constData()); // the cable has loss
    }
}

void TstKabelCli::abgelehnt_data()
{
    QTest::addColumn<QStringList>("argumente");
    QTest::addColumn<QString>("meldung");
    QTest::newRow("getippt unlesbar")
        << analyse(QStringLiteral("0,85 Schaum d=100/drei"))
        << "--kabel „0,85 Schaum d=100/drei“: Im Dämpfungsfeld „d=100/drei“ ist „100/drei“";
    QTest::newRow("getippt fallend") << analyse(QStringLiteral("0,85 Schaum d=10/3;100/1"))
                                     << "--kabel „0,85 Schaum d=10/3;100/1“: Die Dämpfung fällt";
    QTest::newRow("getippt unendlich, Bericht")
        << QStringList{"--modus",         "eine",     "--frequenz", "7,1", "--kabel",
                       "0,66 X d=10/inf", "--laenge", "30"}
        << "--kabel: Das Dämpfungsfeld „d=10/inf“ ist unbrauchbar: „inf“ ist keine endliche "
           "Zahl.";
    QTest::newRow("Tabelle unendlich, Bericht")
        << QStringList{"--modus", "eine",      "--frequenz", "7,1",
                       "--kabel", "Unendlich", "--laenge",   "30"}
        << "Zeile 3: Das Dämpfungsfeld „d=10/inf“ ist unbrauchbar: „inf“ ist keine endliche "
           "Zahl.";
}

void TstKabelCli::abgelehnt()
{
    QFETCH(QStringList, argumente);
    QFETCH(QString, meldung);
    const Lauf lauf = werkzeugStarten(
        argumente << "--kabeltabelle" << m_dir.filePath(QStringLiteral("Kabel.txt")), m_dir.path());
    QCOMPARE(lauf.status, 2);
    QVERIFY2(lauf.stderr_.contains(meldung), qPrintable(lauf.stderr_));
    QVERIFY(lauf.stdout_.isEmpty());
}

void TstKabelCli::eigeneTabelle()
{
    // Without --kabeltabelle the own table follows the one beside the program.
    const Lauf eigen = werkzeugStarten(analyse(QStringLiteral("Mein Kabel")), m_dir.path());
    QCOMPARE(eigen.status, 0);
    // Its unusable row is named, the good one used.
    QVERIFY2(eigen.stderr_.contains(QStringLiteral("Zeile 3 (Zu schnell)")),
             qPrintable(eigen.stderr_));
    QVERIFY(eigen.felder(1).at(7).toDouble() > 0.0);

    const Lauf bericht = werkzeugStarten(
        {"--modus", "eine", "--frequenz", "7,1", "--kabel", "mein-kabel", "--laenge", "30"},
        m_dir.path());
    QCOMPARE(bericht.status, 0);
    QVERIFY2(QString::fromUtf8(bericht.stdout_).contains(QStringLiteral("(Mein Kabel)")),
             bericht.stdout_.constData());

    // --kabeltabelle replaces both.
    const Lauf ersetzt = werkzeugStarten(
        analyse(QStringLiteral("Mein Kabel")) +
            QStringList{"--kabeltabelle", m_dir.filePath(QStringLiteral("Kabel.txt"))},
        m_dir.path());
    QCOMPARE(ersetzt.status, 2);
    QVERIFY2(ersetzt.stderr_.contains(QStringLiteral("steht nicht in")),
             qPrintable(ersetzt.stderr_));
}

void TstKabelCli::grosseTabelleAngesagt_data()
{
    QTest::addColumn<QStringList>("argumente");
    QTest::addColumn<QByteArray>("fuellung"); // the row repeated past a bound
    QTest::addColumn<QString>("hinweis");
    const QStringList planer{"--planer",     "--baender", "40m",          "--kabel", "Schaum",
                             "--von-laenge", "3",         "--bis-laenge", "10"};
    const QByteArray lang = "0,66 Füllung" + QByteArray(120, '.') + " d=100/6,8\n";
    const QByteArray kurz = "0,66 F d=100/6,8\n";
    QTest::newRow("--analyse, 1 MiB")
        << analyse(QStringLiteral("Schaum")) << lang << "größer als 1 MiB";
    QTest::newRow("--planer, 1 MiB") << planer << lang << "größer als 1 MiB";
    QTest::newRow("--analyse, Zeilen")
        << analyse(QStringLiteral("Schaum")) << kurz << "mehr als 10000 Kabel";
    QTest::newRow("--planer, Zeilen") << planer << kurz << "mehr als 10000 Kabel";
}

void TstKabelCli::grosseTabelleAngesagt()
{
    QFETCH(QStringList, argumente);
    QFETCH(QByteArray, fuellung);
    QFETCH(QString, hinweis);
    QByteArray inhalt = "0,85 Schaum d=100/3,8\n";
    for (int zeilen = 1; inhalt.size() <= 1024 * 1024 && zeilen <= 10000; ++zeilen)
        inhalt += fuellung;
    schreiben(QStringLiteral("gross.txt"), inhalt);
    const Lauf lauf = werkzeugStarten(
        argumente << "--kabeltabelle" << m_dir.filePath(QStringLiteral("gross.txt")), m_dir.path());
    QCOMPARE(lauf.status, 0);
    QVERIFY2(lauf.stderr_.contains(hinweis), qPrintable(lauf.stderr_));
}

QTEST_GUILESS_MAIN(TstKabelCli)
#include "tst_kabel_cli.moc"
