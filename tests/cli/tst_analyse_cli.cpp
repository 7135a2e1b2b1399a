#include "berichtwerkzeug.h"
#include "testdatei.h"
#include "werkzeuglauf.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

class TstAnalyseCli : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void tabelle();
    void bildNachEndung();
    void abgelehnt_data();
    void abgelehnt();
    void aufruffehler_data();
    void aufruffehler();

private:
    // A good request; a later option of the same name replaces the earlier.
    Lauf analyse(const QStringList &dazu = {}) const
    {
        QStringList argumente{"--analyse", "--von",          "7",      "--bis",   "7,2", "--kabel",
                              "RG-213",    "--laenge",       "14",     "--lastr", "600", "--lastx",
                              "0",         "--kabeltabelle", m_tabelle};
        return werkzeugStarten(argumente + dazu, m_dir.path());
    }

    QTemporaryDir m_dir;
    QString m_tabelle;
};

void TstAnalyseCli::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_tabelle = m_dir.filePath(QStringLiteral("Kabel.txt"));
    QVERIFY(testdateiSchreiben(m_tabelle, "; Testtabelle\n"
                                          "0,66 RG-213 d=100/6,8;10/2,0;400/14,5\n"
                                          "0,66 Fallend d=100/6,8;400/5\n"
                                          "0,81 Fernsehkabel d=270/10,6;55/4,9;400/13,1 Z=75\n"));
}

void TstAnalyseCli::tabelle()
{
    const Lauf lauf = analyse({"--schritte", "4"});
    QCOMPARE(lauf.status, 0);
    QCOMPARE(lauf.stderr_, QString());
    const QStringList zeilen = QString::fromUtf8(lauf.stdout_).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(zeilen.size(), 6);
    QCOMPARE(zeilen.at(0), QStringLiteral("f/MHz;R/Ohm;X/Ohm;|Z|/Ohm;SWR Sender;SWR Antenne;"
                                          "Verlust angepasst/dB;Verlust gesamt/dB"));
    QVERIFY2(zeilen.at(1).startsWith(QStringLiteral("7;")), qPrintable(zeilen.at(1)));
    QVERIFY2(zeilen.at(5).startsWith(QStringLiteral("7.2;")), qPrintable(zeilen.at(5)));
    const QList<QByteArray> mitte = lauf.felder(3);
    QCOMPARE(mitte.size(), 8);
    QCOMPARE(mitte.at(0), QByteArray("7.1"));
    // 14 m of RG-213 make about 450 Ω of the 600 Ω load; at least seven digits.
    QVERIFY2(mitte.at(3).size() >= 8 && mitte.at(3).toDouble() > 440.0 &&
                 mitte.at(3).toDouble() < 460.0,
             mitte.at(3).constData());
    QCOMPARE(mitte.at(5), QByteArray("12"));

    // The cable's own impedance is the default; --kabelz overrides it.
    const QStringList tv{"--kabel", "Fernsehkabel", "--lastr", "75", "--schritte", "1"};
    QCOMPARE(analyse(tv).felder(1).at(5), QByteArray("1"));
    QCOMPARE(analyse(tv + QStringList{"--kabelz", "50"}).felder(1).at(5), QByteArray("1.5"));
}

void TstAnalyseCli::bildNachEndung()
{
    const QString png = m_dir.filePath(QStringLiteral("analyse.png"));
    const Lauf lauf = analyse({"--ausgabe", png});
    QCOMPARE(lauf.status, 0);
    QVERIFY(lauf.stdout_.isEmpty());
    QVERIFY(QImage(png).width() > 300);

    QCOMPARE(analyse({"--ausgabe", m_dir.filePath("analyse.txt")}).status, 1);
}

void TstAnalyseCli::abgelehnt_data()
{
    QTest::addColumn<QStringList>("dazu");
    QTest::addColumn<QString>("grund");
    QTest::newRow("R 0") << QStringList{"--lastr", "0"} << "Der Wirkanteil R";
    QTest::newRow("R negativ") << QStringList{"--lastr", "-5"} << "Der Wirkanteil R";
    QTest::newRow("von = bis") << QStringList{"--bis", "7"} << "Der Frequenzbereich";
    QTest::newRow("von 0") << QStringList{"--von", "0"} << "Der Frequenzbereich";
    QTest::newRow("Länge 0") << QStringList{"--laenge", "0"} << "Die Kabellänge";
    QTest::newRow("Impedanz 0") << QStringList{"--kabelz", "0"} << "Die Impedanz";
    QTest::newRow("Vk über 1") << QStringList{"--vk", "1,2"} << "Der Verkürzungsfaktor";
    QTest::newRow("keine Zahl") << QStringList{"--lastx", "j20"} << "--lastx: „j20“ ist keine";
    QTest::newRow("fallende Dämpfung") << QStringList{"--kabel", "Fallend"}
                                       << "Kabeltabelle, Zeile 3 (Fallend): Die Dämpfung fällt";
    QTest::newRow("nicht endlich") << QStringList{"--vk", "1e-300"} << "Mit diesen Werten ergibt";
    QTest::newRow("unbekanntes Kabel") << QStringList{"--kabel", "RG-999"} << "Der Kabeltyp";
}

void TstAnalyseCli::abgelehnt()
{
    QFETCH(QStringList, dazu);
    QFETCH(QString, grund);
    const Lauf lauf = analyse(dazu);
    QCOMPARE(lauf.status, 2);
    QVERIFY(lauf.stdout_.isEmpty());
    QVERIFY2(lauf.stderr_.startsWith(grund), qPrintable(lauf.stderr_));
}

// Options that do not fit a typed load are usage errors, whatever the output.
void TstAnalyseCli::aufruffehler_data()
{
    QTest::addColumn<QStringList>("dazu");
    QTest::addColumn<QString>("meldung");
    QTest::newRow("Smith als Bild")
        << QStringList{"--smith", "--ausgabe", "smith.png"} << "--smith gilt nur mit --messung";
    QTest::newRow("Smith als Tabelle")
        << QStringList{"--smith"} << "--smith gilt nur mit --messung";
    QTest::newRow("falsche Endung") << QStringList{"--ausgabe", "analyse.txt"}
                                    << "--ausgabe muss auf .csv, .png, .svg oder .pdf enden";
}

void TstAnalyseCli::aufruffehler()
{
    QFETCH(QStringList, dazu);
    QFETCH(QString, meldung);
    const Lauf lauf = analyse(dazu);
    QCOMPARE(lauf.status, 1);
    QVERIFY(lauf.stdout_.isEmpty());
    QVERIFY2(lauf.stderr_.contains(meldung), qPrintable(lauf.stderr_));
    QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("smith.png"))));
}

QTEST_MAIN(TstAnalyseCli)
#include "tst_analyse_cli.moc"
