#include "berichtwerkzeug.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

namespace {

struct Lauf
{
    int status = -1;
    QByteArray stdout_;
    QString stderr_;
};

} // namespace

class TstAnalyseCli : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void tabelle();
    void bildNachEndung();
    void abgelehnt_data();
    void abgelehnt();

private:
    Lauf starte(QStringList argumente) const;
    QStringList analyse(const QStringList &ersetzt = {}) const;

    QTemporaryDir m_dir;
    QString m_tabelle;
};

void TstAnalyseCli::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_tabelle = m_dir.filePath(QStringLiteral("Kabel.txt"));
    QFile datei(m_tabelle);
    QVERIFY(datei.open(QIODevice::WriteOnly));
    datei.write("; Testtabelle\n"
                "0,66 RG-213 d=100/6,8;10/2,0;400/14,5\n"
                "0,66 Fallend d=100/6,8;400/5\n"
                "0,81 Fernsehkabel d=270/10,6;55/4,9;400/13,1 Z=75\n");
}

Lauf TstAnalyseCli::starte(QStringList argumente) const
{
    argumente << QStringLiteral("--kabeltabelle") << m_tabelle;
    Lauf lauf;
    QBuffer ausgabe(&lauf.stdout_);
    ausgabe.open(QIODevice::WriteOnly);
    QTextStream fehler(&lauf.stderr_);
    lauf.status = varo::cli::ausfuehren(argumente, ausgabe, fehler, m_dir.path());
    fehler.flush();
    return lauf;
}

// A good request; "--name wert" pairs in ersetzt replace or add options.
QStringList TstAnalyseCli::analyse(const QStringList &ersetzt) const
{
    QStringList namen{"--von", "--bis", "--kabel", "--laenge", "--lastr", "--lastx"};
    QStringList werte{"7", "7,2", "RG-213", "14", "600", "0"};
    for (int i = 0; i + 1 < ersetzt.size(); i += 2) {
        const qsizetype wo = namen.indexOf(ersetzt.at(i));
        if (wo >= 0) {
            werte[wo] = ersetzt.at(i + 1);
        } else {
            namen << ersetzt.at(i);
            werte << ersetzt.at(i + 1);
        }
    }
    QStringList argumente{QStringLiteral("--analyse")};
    for (qsizetype i = 0; i < namen.size(); ++i)
        argumente << namen.at(i) << werte.at(i);
    return argumente;
}

void TstAnalyseCli::tabelle()
{
    const Lauf lauf = starte(analyse({"--schritte", "4"}));
    QCOMPARE(lauf.status, 0);
    QCOMPARE(lauf.stderr_, QString());
    const QStringList zeilen = QString::fromUtf8(lauf.stdout_).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(zeilen.size(), 6);
    QCOMPARE(zeilen.at(0), QStringLiteral("f/MHz;R/Ohm;X/Ohm;|Z|/Ohm;SWR Sender;SWR Antenne;"
                                          "Verlust angepasst/dB;Verlust gesamt/dB"));
    QVERIFY2(zeilen.at(1).startsWith(QStringLiteral("7;")), qPrintable(zeilen.at(1)));
    QVERIFY2(zeilen.at(5).startsWith(QStringLiteral("7.2;")), qPrintable(zeilen.at(5)));
    const QStringList felder = zeilen.at(3).split(';');
    QCOMPARE(felder.size(), 8);
    QCOMPARE(felder.at(0), QStringLiteral("7.1"));
    // 14 m of RG-213 make about 450 Ω of the 600 Ω load; at least seven digits.
    QVERIFY2(felder.at(3).size() >= 8 && felder.at(3).toDouble() > 440.0 &&
                 felder.at(3).toDouble() < 460.0,
             qPrintable(felder.at(3)));
    QCOMPARE(felder.at(5), QStringLiteral("12"));

    // Without loss a half-wave line repeats the load, and the losses are 0.
    const Lauf verlustlos = starte(
        analyse({"--von", "7,0", "--bis", "7,1", "--schritte", "1", "--laenge", "13,94366197"})
        << QStringLiteral("--verlustlos"));
    QCOMPARE(verlustlos.status, 0);
    const QStringList letzte =
        QString::fromUtf8(verlustlos.stdout_).split('\n', Qt::SkipEmptyParts).last().split(';');
    QVERIFY2(std::abs(letzte.at(3).toDouble() - 600.0) < 1e-4, qPrintable(letzte.at(3)));
    QCOMPARE(letzte.at(7), QStringLiteral("0"));

    // The cable's own impedance is the default; --kabelz overrides it.
    const Lauf tv =
        starte(analyse({"--kabel", "Fernsehkabel", "--lastr", "75", "--schritte", "1"}));
    QCOMPARE(tv.status, 0);
    QVERIFY(tv.stdout_.split('\n').at(1).split(';').at(5) == "1");
    const Lauf z50 = starte(
        analyse({"--kabel", "Fernsehkabel", "--lastr", "75", "--kabelz", "50", "--schritte", "1"}));
    QCOMPARE(z50.stdout_.split('\n').at(1).split(';').at(5), QByteArray("1.5"));
}

void TstAnalyseCli::bildNachEndung()
{
    const QString png = m_dir.filePath(QStringLiteral("analyse.png"));
    const Lauf lauf = starte(analyse({"--ausgabe", png}));
    QCOMPARE(lauf.status, 0);
    QVERIFY(lauf.stdout_.isEmpty());
    const QImage bild(png);
    QVERIFY(!bild.isNull());
    QVERIFY(bild.width() > 300);

    const QString csv = m_dir.filePath(QStringLiteral("analyse.csv"));
    QCOMPARE(starte(analyse({"--ausgabe", csv, "--schritte", "10"})).status, 0);
    QFile datei(csv);
    QVERIFY(datei.open(QIODevice::ReadOnly));
    QCOMPARE(datei.readAll().count('\n'), 12);
}

void TstAnalyseCli::abgelehnt_data()
{
    QTest::addColumn<QStringList>("ersetzt");
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
    QTest::newRow("unbekanntes Kabel") << QStringList{"--kabel", "RG-999"} << "Der Kabeltyp";
}

void TstAnalyseCli::abgelehnt()
{
    QFETCH(QStringList, ersetzt);
    QFETCH(QString, grund);
    const Lauf lauf = starte(analyse(ersetzt));
    QCOMPARE(lauf.status, 2);
    QVERIFY(lauf.stdout_.isEmpty());
    QVERIFY2(lauf.stderr_.startsWith(grund), qPrintable(lauf.stderr_));
}

QTEST_MAIN(TstAnalyseCli)
#include "tst_analyse_cli.moc"
