#include "berichtwerkzeug.h"
#include "messdaten.h"
#include "messung.h"
#include "werkzeuglauf.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

class TstMessungCli : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void tabelle_data();
    void tabelle();
    void bereich();
    void anpassung();
    void touchstoneUndBild();
    void abgelehnt_data();
    void abgelehnt();
    void aufruffehler_data();
    void aufruffehler();
    void hilfe();

private:
    static QString fixtur(const char *name)
    {
        return QStringLiteral(VARO_TESTDATEN "/messung/") + QLatin1String(name);
    }
    Lauf messung(const char *datei, const QStringList &dazu = {}) const
    {
        const QStringList argumente{"--analyse", "--messung", fixtur(datei),    "--kabel", "RG-213",
                                    "--laenge",  "27,5",      "--kabeltabelle", m_tabelle};
        return werkzeugStarten(argumente + dazu, m_dir.path());
    }

    QTemporaryDir m_dir;
    QString m_tabelle;
};

void TstMessungCli::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_tabelle = m_dir.filePath(QStringLiteral("Kabel.txt"));
    QFile datei(m_tabelle);
    QVERIFY(datei.open(QIODevice::WriteOnly));
    datei.write("; Testtabelle\n"
                "0,66 RG-213 d=100/6,8;10/2,0;400/14,5\n"
                "0,66 Fallend d=100/6,8;400/5\n");
}

void TstMessungCli::tabelle_data()
{
    QTest::addColumn<QString>("messort");
    QTest::addColumn<int>("gemessen"); // first field of the file's end
    QTest::newRow("an der Antenne") << "antenne" << 3;
    QTest::newRow("am Sender") << "sender" << 1;
}

void TstMessungCli::tabelle()
{
    QFETCH(QString, messort);
    QFETCH(int, gemessen);
    // 3.5 to 3.8 MHz against 75 Ω; 3.6 MHz is 45 - j60 Ω, 3.8 MHz a gap.
    const Lauf lauf = messung("v1_ma_mhz_r75.s1p", {"--messort", messort});
    QCOMPARE(lauf.status, 0);
    const QStringList zeilen = QString::fromUtf8(lauf.stdout_).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(zeilen.size(), 5);
    QCOMPARE(zeilen.at(0), QStringLiteral("f/MHz;R Sender/Ohm;X Sender/Ohm;R Antenne/Ohm;"
                                          "X Antenne/Ohm;SWR Sender;SWR Antenne;"
                                          "Verlust angepasst/dB;Verlust gesamt/dB"));
    const QList<QByteArray> f36 = lauf.felder(2);
    QCOMPARE(f36.size(), 9);
    QCOMPARE(f36.at(0), QByteArray("3.6"));
    QCOMPARE(f36.at(gemessen).toDouble(), 45.0);
    QCOMPARE(f36.at(gemessen + 1).toDouble(), -60.0);
    for (const QByteArray &feld : f36)
        QVERIFY(!feld.isEmpty());
    // The computed end differs from the file's after 27.5 m of RG-213.
    QVERIFY(std::abs(f36.at(4 - gemessen).toDouble() - 45.0) > 1.0);
    QCOMPARE(zeilen.at(4), QStringLiteral("3.8;;;;;;;;"));
    QVERIFY2(lauf.stderr_.contains(QStringLiteral("Lücken")), qPrintable(lauf.stderr_));
}

void TstMessungCli::bereich()
{
    const Lauf lauf = messung("v1_ma_mhz_r75.s1p", {"--von", "3,6", "--bis", "3,7"});
    QCOMPARE(lauf.status, 0);
    QCOMPARE(lauf.stderr_, QString());
    const QList<QByteArray> zeilen = lauf.stdout_.split('\n');
    QCOMPARE(zeilen.size(), 4); // header, two rows, nothing after the last line end
    QVERIFY(zeilen.at(1).startsWith("3.6;"));
    QVERIFY(zeilen.at(2).startsWith("3.7;"));
    QCOMPARE(messung("v1_ma_mhz_r75.s1p", {"--von", "3,6", "--bis", "3,6"}).stdout_.count('\n'), 2);
}

void TstMessungCli::anpassung()
{
    // Measured at the rig: 1.5 MHz is exactly 50 Ω there.
    const Lauf lauf = messung("v1_ri_hz_crlf.s1p", {"--messort", "sender", "--anpassung"});
    QCOMPARE(lauf.status, 0);
    const QStringList zeilen = QString::fromUtf8(lauf.stdout_).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(zeilen.at(0), QStringLiteral("f/MHz;Schaltung;X Reihe/Ohm;X Quer/Ohm;Reihe;Quer"));
    QVERIFY(zeilen.contains(QStringLiteral("1.5;keine;0;0;;")));
    const varo::Messlesung datei = varo::messdatenLesen(fixtur("v1_ri_hz_crlf.s1p"));
    QVERIFY(datei.gelesen());
    qsizetype erwartet = 0;
    for (const varo::Messpunkt &p : datei.daten.punkte)
        erwartet += std::max<qsizetype>(1, varo::anpassnetze(*p.Z).size());
    QCOMPARE(zeilen.size() - 1, erwartet);
    for (const QString &zeile : zeilen.mid(1)) {
        const QStringList f = zeile.split(';');
        QCOMPARE(f.size(), 6);
        if (f.at(1) == QLatin1String("keine"))
            continue;
        QVERIFY2(f.at(1) == QLatin1String("Quer am Kabel") ||
                     f.at(1) == QLatin1String("Quer am Sender"),
                 qPrintable(zeile));
        for (int i : {2, 3}) {
            const double x = f.at(i).toDouble();
            const QString &bauteil = f.at(i + 2);
            QVERIFY2(x == 0.0
                         ? bauteil.isEmpty()
                         : bauteil.endsWith(x > 0 ? QStringLiteral(" µH") : QStringLiteral(" pF")),
                     qPrintable(zeile));
        }
    }
}

void TstMessungCli::touchstoneUndBild()
{
    const QString s1p = m_dir.filePath(QStringLiteral("sender.s1p"));
    Lauf lauf = messung("v1_ma_mhz_r75.s1p", {"--ausgabe", s1p});
    QCOMPARE(lauf.status, 0);
    QVERIFY(lauf.stdout_.isEmpty());
    const varo::Messlesung wieder = varo::messdatenLesen(s1p);
    QVERIFY2(wieder.gelesen(), qPrintable(wieder.meldung));
    QCOMPARE(wieder.daten.punkte.size(), 3); // the gap is a comment only
    QFile datei(s1p);
    QVERIFY(datei.open(QIODevice::ReadOnly));
    const QByteArray text = datei.readAll();
    QVERIFY(text.contains("Impedanz am Sender durch 27,5 m RG-213"));
    QVERIFY(text.contains("! Lücke bei 3.8 MHz"));

    // Back to the feedpoint from the rig end just written: the file again.
    lauf = werkzeugStarten({"--analyse", "--messung", s1p, "--messort", "sender", "--kabel",
                            "RG-213", "--laenge", "27,5", "--kabeltabelle", m_tabelle},
                           m_dir.path());
    QCOMPARE(lauf.status, 0);
    const QList<QByteArray> f36 = lauf.felder(2);
    QVERIFY(std::abs(f36.at(3).toDouble() - 45.0) < 1e-6);
    QVERIFY(std::abs(f36.at(4).toDouble() + 60.0) < 1e-6);

    const QString png = m_dir.filePath(QStringLiteral("messung.png"));
    lauf = messung("v1_ma_mhz_r75.s1p", {"--ausgabe", png});
    QCOMPARE(lauf.status, 0);
    QVERIFY(QImage(png).width() > 300);
}

void TstMessungCli::abgelehnt_data()
{
    QTest::addColumn<QString>("datei");
    QTest::addColumn<QStringList>("dazu");
    QTest::addColumn<QString>("grund");
    QTest::newRow("Zweitor") << "zweitor.s1p" << QStringList() << "zweitor.s1p“, Zeile 3: ";
    QTest::newRow("fallend") << "fallend.s1p" << QStringList() << "fallend.s1p“, Zeile 4: ";
    QTest::newRow("Entfernung") << "entfernung.csv" << QStringList()
                                << "entfernung.csv“, Zeile 1: ";
    QTest::newRow("nur Betrag") << "fieldfox_betrag.csv" << QStringList()
                                << "fieldfox_betrag.csv“, Zeile 3: ";
    QTest::newRow("Bereich ohne Punkt")
        << "v1_ma_mhz_r75.s1p" << QStringList{"--von", "7", "--bis", "8"}
        << "v1_ma_mhz_r75.s1p“: Zwischen 7 und 8 MHz";
    QTest::newRow("von keine Zahl")
        << "v1_ma_mhz_r75.s1p" << QStringList{"--von", "x"} << "--von: „x“ ist keine Zahl.";
    QTest::newRow("fallende Dämpfung") << "v1_ma_mhz_r75.s1p" << QStringList{"--kabel", "Fallend"}
                                       << "Kabeltabelle, Zeile 3 (Fallend): ";
    QTest::newRow("Länge 0") << "v1_ma_mhz_r75.s1p" << QStringList{"--laenge", "0"}
                             << "Die Kabellänge";
}

void TstMessungCli::abgelehnt()
{
    QFETCH(QString, datei);
    QFETCH(QStringList, dazu);
    QFETCH(QString, grund);
    const Lauf lauf = messung(qPrintable(datei), dazu);
    QCOMPARE(lauf.status, 2);
    QVERIFY(lauf.stdout_.isEmpty());
    QVERIFY2(lauf.stderr_.contains(grund), qPrintable(lauf.stderr_));
    QCOMPARE(lauf.stderr_.count(QLatin1Char('\n')), 1);
}

void TstMessungCli::aufruffehler_data()
{
    QTest::addColumn<QStringList>("dazu");
    QTest::addColumn<QString>("grund");
    QTest::newRow("Messort") << QStringList{"--messort", "keller"} << "--messort muss";
    QTest::newRow("mit --lastr") << QStringList{"--lastr", "50"} << "--lastr gilt nicht";
    QTest::newRow("mit --schritte") << QStringList{"--schritte", "5"} << "--schritte gilt nicht";
    QTest::newRow("Endung") << QStringList{"--ausgabe", "x.txt"} << "--ausgabe muss";
    QTest::newRow("Anpassung als Bild")
        << QStringList{"--anpassung", "--ausgabe", "x.png"} << "--anpassung gibt";
    QTest::newRow("Datei fehlt") << QStringList{"--messung", "/gibt/es/nicht.s1p"}
                                 << "kann nicht gelesen werden";
}

void TstMessungCli::aufruffehler()
{
    QFETCH(QStringList, dazu);
    QFETCH(QString, grund);
    const Lauf lauf = messung("v1_ma_mhz_r75.s1p", dazu);
    QCOMPARE(lauf.status, 1);
    QVERIFY(lauf.stdout_.isEmpty());
    QVERIFY2(lauf.stderr_.contains(grund), qPrintable(lauf.stderr_));
}

void TstMessungCli::hilfe()
{
    const QString text = QString::fromUtf8(werkzeugStarten({"--help"}, m_dir.path()).stdout_);
    for (const char *option : {"--messung DATEI", "--messort ORT", "--anpassung"})
        QVERIFY2(text.contains(QLatin1String(option)), option);
}

QTEST_MAIN(TstMessungCli)
#include "tst_messung_cli.moc"
