#include "berichtwerkzeug.h"
#include "messdaten.h"
#include "messung.h"
#include "modus_messung.h"
#include "testdatei.h"
#include "werkzeuglauf.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

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
    void smith_data();
    void smith();
    void smithAufbau_data();
    void smithAufbau();
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
    QVERIFY(testdateiSchreiben(m_tabelle, "; Testtabelle\n"
                                          "0,66 RG-213 d=100/6,8;10/2,0;400/14,5\n"
                                          "0,66 Fallend d=100/6,8;400/5\n"));
    QVERIFY(testdateiSchreiben(m_dir.filePath(QStringLiteral("Baender.txt")),
                               "80m 3,5 3,8\n40m 7 7,2\n"));
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

void TstMessungCli::smith_data()
{
    QTest::addColumn<QString>("endung");
    QTest::addColumn<QString>("messort");
    QTest::newRow("PNG") << "png"
                         << "antenne";
    QTest::newRow("SVG") << "svg"
                         << "sender";
    QTest::newRow("PDF") << "pdf"
                         << "antenne";
}

void TstMessungCli::smith()
{
    QFETCH(QString, endung);
    QFETCH(QString, messort);
    const QString pfad = m_dir.filePath(QStringLiteral("smith.") + endung);
    QFile::remove(pfad);
    const Lauf lauf =
        messung("v1_ma_mhz_r75.s1p", {"--messort", messort, "--smith", "--ausgabe", pfad});
    QCOMPARE(lauf.status, 0);
    QVERIFY(lauf.stdout_.isEmpty());
    // The gap at 3.8 MHz is told; the band list beside the program is read.
    QVERIFY2(!lauf.stderr_.contains(QStringLiteral("Bandgrenzen")), qPrintable(lauf.stderr_));
    QFile datei(pfad);
    QVERIFY(datei.open(QIODevice::ReadOnly));
    const QByteArray inhalt = datei.readAll();
    if (endung == QLatin1String("png")) {
        // Square: the line chart is wider than high.
        QCOMPARE(QImage::fromData(inhalt, "PNG").size(), varo::smithDesignGroesse());
    } else if (endung == QLatin1String("svg")) {
        QXmlStreamReader xml(inhalt);
        QString titel;
        while (xml.readNext() != QXmlStreamReader::EndDocument && !xml.hasError()) {
            if (xml.isStartElement() && xml.name() == QLatin1String("title"))
                titel = xml.readElementText();
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(titel, QStringLiteral("Smith-Diagramm"));
    } else {
        QVERIFY(inhalt.startsWith("%PDF-"));
        QVERIFY(inhalt.contains("/Title (\xfe\xff\0S\0m\0i\0t\0h"));
    }
}

void TstMessungCli::smithAufbau_data()
{
    QTest::addColumn<QList<double>>("fMHz");
    QTest::addColumn<QList<int>>("luecken");
    QTest::addColumn<QList<double>>("kantenMHz"); // lower and upper edge of each band
    QTest::addColumn<QList<int>>("kanten");
    QTest::addColumn<int>("markiert"); // nearest the centre of the file's range
    const QList<double> f{3.4, 3.5, 3.62, 3.7, 3.81, 3.9};
    const QList<double> baender{3.5, 3.8, 7.0, 7.2};
    QTest::newRow("Kanten auf und neben Punkten")
        << f << QList<int>() << baender << QList<int>{1, 4} << 2;
    QTest::newRow("Mitte eine Lücke") << f << QList<int>{2, 3} << baender << QList<int>{1, 4} << 1;
    QTest::newRow("Kanten außerhalb")
        << QList<double>{3.55, 3.6, 3.7} << QList<int>() << baender << QList<int>() << 1;
    QTest::newRow("halbwegs: der untere") << QList<double>{3.5, 4.0, 4.5} << QList<int>()
                                          << QList<double>{3.75, 4.25} << QList<int>{0, 1} << 1;
    QTest::newRow("zwei Kanten, ein Punkt")
        << QList<double>{3.5, 3.6, 3.7} << QList<int>() << QList<double>{3.58, 3.62, 3.69, 3.8}
        << QList<int>{1, 2} << 1;
    QTest::newRow("nur Lücken") << QList<double>{3.6, 3.7} << QList<int>{0, 1} << baender
                                << QList<int>() << -1;
}

void TstMessungCli::smithAufbau()
{
    QFETCH(QList<double>, fMHz);
    QFETCH(QList<int>, luecken);
    QFETCH(QList<double>, kantenMHz);
    QFETCH(QList<int>, kanten);
    QFETCH(int, markiert);
    varo::Messverlauf verlauf;
    for (int i = 0; i < fMHz.size(); ++i) {
        varo::Messwerte w;
        w.fMHz = fMHz.at(i);
        if (!luecken.contains(i)) {
            w.zAntenne = varo::Komplex(75.0 + i, -10.0 * i);
            w.zSender = varo::Komplex(30.0 + i, 15.0);
        }
        verlauf.werte.append(w);
    }
    QList<varo::Band> baender;
    for (int i = 0; i + 1 < kantenMHz.size(); i += 2)
        baender.append({QStringLiteral("Band"), kantenMHz.at(i), kantenMHz.at(i + 1)});
    const varo::Smithdiagramm d =
        varo::cli::messungSmith(verlauf, 75.0, baender, fMHz.constFirst(), fMHz.constLast());
    QCOMPARE(d.bandkanten, kanten);
    QCOMPARE(d.markiert, markiert);
    QCOMPARE(d.last.size(), fMHz.size());
    QCOMPARE(d.sender.size(), fMHz.size());
    for (int i = 0; i < fMHz.size(); ++i) {
        QCOMPARE(d.last.at(i).has_value(), !luecken.contains(i));
        QCOMPARE(d.sender.at(i).has_value(), !luecken.contains(i));
        if (d.last.at(i)) {
            QCOMPARE(*d.last.at(i), *verlauf.werte.at(i).zAntenne / 75.0);
            QCOMPARE(*d.sender.at(i), *verlauf.werte.at(i).zSender / 75.0);
        }
    }
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
    QTest::newRow("Smith ohne Ausgabe") << QStringList{"--smith"} << "--smith zeichnet ein Bild";
    QTest::newRow("Smith als CSV")
        << QStringList{"--smith", "--ausgabe", "x.csv"} << "--smith zeichnet ein Bild";
    QTest::newRow("Smith als Touchstone")
        << QStringList{"--smith", "--ausgabe", "x.s1p"} << "--smith zeichnet ein Bild";
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
    for (const char *option : {"--messung DATEI", "--messort ORT", "--anpassung", "--smith"})
        QVERIFY2(text.contains(QLatin1String(option)), option);
}

QTEST_MAIN(TstMessungCli)
#include "tst_messung_cli.moc"
