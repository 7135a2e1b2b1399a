#include "messdaten.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace varo;

Q_DECLARE_METATYPE(varo::Messformat)

namespace {

QString fixtur(const QString &name)
{
    return QStringLiteral(VARO_TESTDATEN "/messung/") + name;
}

// The point at fHz, or nullptr.
const Messpunkt *punktBei(const Messdaten &daten, double fHz)
{
    for (const Messpunkt &p : daten.punkte) {
        if (std::abs(p.fHz - fHz) <= 1e-9 * fHz)
            return &p;
    }
    return nullptr;
}

// A python3 on the path that can import skrf, or empty.
QString pythonMitSkrf()
{
    const QStringList ordner =
        qEnvironmentVariable("PATH").split(QDir::listSeparator(), Qt::SkipEmptyParts);
    for (const QString &o : ordner) {
        const QString programm = QDir(o).filePath(QStringLiteral("python3"));
        if (!QFileInfo(programm).isExecutable())
            continue;
        QProcess probe;
        probe.start(programm, {QStringLiteral("-c"), QStringLiteral("import numpy, skrf")});
        if (probe.waitForFinished(60000) && probe.exitStatus() == QProcess::NormalExit &&
            probe.exitCode() == 0)
            return programm;
    }
    return {};
}

} // namespace

class TstMessdaten : public QObject
{
    Q_OBJECT

private slots:
    void fixturen_data();
    void fixturen();
    void abgelehnt_data();
    void abgelehnt();
    void byteReihenfolgeZeichen_data();
    void byteReihenfolgeZeichen();
    void dateigrenzen();
    void hoechstensEineMillionPunkte();
    void gegenScikitRf_data();
    void gegenScikitRf();
};

void TstMessdaten::fixturen_data()
{
    QTest::addColumn<QString>("datei");
    QTest::addColumn<int>("anzahl");
    QTest::addColumn<int>("luecken");
    QTest::addColumn<Messformat>("format");
    QTest::addColumn<double>("fHz");
    QTest::addColumn<double>("R");
    QTest::addColumn<double>("X");
    QTest::addColumn<QString>("hinweis");

    const auto t1 = Messformat::Touchstone1;
    const auto t2 = Messformat::Touchstone2;
    const auto csv = Messformat::AnalysatorCsv;
    // Expected impedances worked out from Z = Zref·(1 + Γ)/(1 − Γ) by hand.
    QTest::newRow("CR LF, Hz, Nullen vorn, Tabs, Kommentare")
        << "v1_ri_hz_crlf.s1p" << 4 << 0 << t1 << 1e6 << 48.942873509347514 << -32.546997864916946
        << "";
    QTest::newRow("+ vorn, ! im Kommentar") << "v1_ri_hz_crlf.s1p" << 4 << 0 << t1 << 2e6
                                            << 14.864864864864865 << 10.810810810810809 << "";
    QTest::newRow("MA, gemischte Zeilenenden, E-Notation")
        << "v1_ma_mhz_r75.s1p" << 4 << 1 << t1 << 3.6e6 << 45.0 << -60.0 << "|Γ| ≥ 1";
    QTest::newRow("MA, .25 ohne Null")
        << "v1_ma_mhz_r75.s1p" << 4 << 1 << t1 << 3.7e6 << 45.0 << 0.0 << "";
    QTest::newRow("DB, Tabs, |S11| 1,02 ist Lücke")
        << "v1_db_ghz_tabs.s1p" << 3 << 1 << t1 << 0.0146e9 << 56.98965816793003
        << -8.140964393544776 << "1 von 3";
    QTest::newRow("Optionen in beliebiger Folge")
        << "v1_optionen_vertauscht.s1p" << 2 << 0 << t1 << 14.1e6 << 69.23076923076923
        << 28.846153846153847 << "";
    QTest::newRow("Z auf R 75 normiert")
        << "v1_z_khz_r75.s1p" << 3 << 1 << t1 << 7.1e6 << 37.5 << -75.0 << "";
    QTest::newRow("Y auf R 50 normiert")
        << "v1_y_mhz.s1p" << 3 << 1 << t1 << 11e6 << 50.0 << -50.0 << "";
    QTest::newRow("ohne Optionszeile") << "v1_ohne_optionszeile.s1p" << 2 << 0 << t1 << 0.0071e9
                                       << 33.333333333333336 << 0.0 << "keine Optionszeile";
    QTest::newRow("Dezimalkomma mit Exponent") << "v1_dezimalkomma.s1p" << 2 << 0 << t1 << 7e6
                                               << 22.49851390767434 << 5.283954696051171 << "";
    QTest::newRow("Dezimalkomma") << "v1_dezimalkomma.s1p" << 2 << 0 << t1 << 7.1e6
                                  << 73.07692307692308 << -15.384615384615385 << "";
    QTest::newRow("2.0, [Reference] in der Folgezeile")
        << "v2_s_referenz.s1p" << 3 << 0 << t2 << 21.4e6 << 49.13793103448276 << 10.344827586206897
        << "[Begin Information]";
    QTest::newRow("2.0, MA") << "v2_s_einfach.s1p" << 2 << 0 << t2 << 28.5e6 << 50.0
                             << 57.735026918962575 << "";
    QTest::newRow("2.0, Z in Ohm")
        << "v2_z_ohm.s1p" << 2 << 0 << t2 << 7.1e6 << 36.5 << -20.0 << "[Two-Port Data Order]";
    QTest::newRow("CSV R X, Semikolon, Komma")
        << "analysator_rx.csv" << 4 << 1 << csv << 7.2e6 << 52.75 << 4.5 << "1 von 4";
    QTest::newRow("CSV S11 Re Im") << "nanovna_s11.csv" << 3 << 1 << csv << 1e6 << 73.07692307692308
                                   << 15.384615384615385 << "gegen 50 Ω";
    QTest::newRow("CSV Blöcke, dB und Phase")
        << "fieldfox_bloecke.csv" << 2 << 0 << csv << 14.1e6 << 49.00990099009901
        << 9.900990099009901 << "(bis Zeile 9) folgen weitere";
    QTest::newRow("CSV Tabulator, kHz")
        << "tabulator.csv" << 2 << 0 << csv << 3.6e6 << 25.5 << -10.0 << "";
}

void TstMessdaten::fixturen()
{
    QFETCH(QString, datei);
    QFETCH(int, anzahl);
    QFETCH(int, luecken);
    QFETCH(Messformat, format);
    QFETCH(double, fHz);
    QFETCH(double, R);
    QFETCH(double, X);
    QFETCH(QString, hinweis);

    const Messlesung lesung = messdatenLesen(fixtur(datei));
    QVERIFY2(lesung.gelesen(), qPrintable(lesung.meldung));
    const Messdaten &d = lesung.daten;
    QCOMPARE(d.punkte.size(), anzahl);
    QCOMPARE(d.luecken, luecken);
    QCOMPARE(d.format, format);
    qsizetype ohneZ = 0;
    for (qsizetype i = 0; i < d.punkte.size(); ++i) {
        if (i > 0)
            QVERIFY(d.punkte.at(i).fHz > d.punkte.at(i - 1).fHz);
        if (!d.punkte.at(i).Z)
            ++ohneZ;
        else
            QVERIFY(d.punkte.at(i).Z->real() > 0.0);
    }
    QCOMPARE(ohneZ, qsizetype(luecken));
    const Messpunkt *p = punktBei(d, fHz);
    QVERIFY2(p, "die Frequenz fehlt");
    QVERIFY(p->Z);
    const Komplex soll(R, X);
    QVERIFY2(
        std::abs(*p->Z - soll) <= 1e-12 * std::abs(soll),
        qPrintable(
            QStringLiteral("%1 %2").arg(p->Z->real(), 0, 'g', 17).arg(p->Z->imag(), 0, 'g', 17)));
    if (!hinweis.isEmpty())
        QVERIFY2(d.hinweise.join(QLatin1Char(' ')).contains(hinweis),
                 qPrintable(d.hinweise.join(QLatin1Char('|'))));
}

void TstMessdaten::abgelehnt_data()
{
    QTest::addColumn<QByteArray>("daten");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("zeile");
    QTest::addColumn<QString>("grund");

    const QString s1p = QStringLiteral("m.s1p");
    const QString csv = QStringLiteral("m.csv");
    QTest::newRow("Zweitor als .s1p")
        << QByteArray("# GHz S MA R 50\n1 1 2 3 4 5 6 7 8\n") << s1p << 2 << "Zweitor";
    QTest::newRow("zwei Zahlen") << QByteArray("# MHz S RI R 50\n7 0.1\n") << s1p << 2
                                 << "2 Zahlen statt 3";
    QTest::newRow("Text statt Zahl")
        << QByteArray("# MHz S RI R 50\r\n7 0.1 abc\r\n") << s1p << 2 << "„abc“";
    QTest::newRow("zwei Vorzeichen") << QByteArray("# MHz S RI\n7 ++1 0\n") << s1p << 2 << "„++1“";
    QTest::newRow("Zahl zu groß") << QByteArray("# MHz S RI\n7 1e999 0\n") << s1p << 2 << "„1e999“";
    QTest::newRow("fallende Frequenz")
        << QByteArray("# MHz S RI R 50\n7 0 0\n\n6.9 0 0\n") << s1p << 4 << "streng steigen";
    QTest::newRow("negative Frequenz")
        << QByteArray("# MHz S RI R 50\n-1 0 0\n") << s1p << 2 << "negativ";
    QTest::newRow("Frequenz zu groß")
        << QByteArray("# GHz S RI\n1e300 0 0\n") << s1p << 2 << "außerhalb";
    QTest::newRow("nur Kommentare")
        << QByteArray("! nur Kommentar\n# MHz S RI R 50\n") << s1p << 0 << "keine Messwerte";
    QTest::newRow("leer") << QByteArray() << s1p << 0 << "keine Messwerte";
    QTest::newRow("unbekannte Option") << QByteArray("# MHz S XY R 50\n") << s1p << 1 << "„XY“";
    QTest::newRow("G-Parameter") << QByteArray("# MHz G RI\n") << s1p << 1 << "Zweitore";
    QTest::newRow("R ohne Zahl") << QByteArray("# MHz S RI R\n7 0 0\n") << s1p << 1
                                 << "Bezugsimpedanz";
    QTest::newRow("Optionszeile nach Daten")
        << QByteArray("0.1 0 0\n# MHz S RI R 50\n") << s1p << 2 << "nach den ersten";
    QTest::newRow("2.0 mit zwei Toren")
        << QByteArray("[Version] 2.0\n# MHz S RI R 50\n[Number of Ports] 2\n") << s1p << 3
        << "2 Tore";
    QTest::newRow("2.0 Version 3")
        << QByteArray("[Version] 3.0\n") << s1p << 1 << "nicht diese Version";
    QTest::newRow("2.0 Daten vor [Network Data]")
        << QByteArray("[Version] 2.0\n# MHz S RI\n[Number of Ports] 1\n7 0 0\n") << s1p << 4
        << "[Network Data]";
    QTest::newRow("2.0 Anzahl falsch")
        << QByteArray("[Version] 2.0\n# MHz S RI\n[Number of Ports] 1\n[Number of Frequencies] "
                      "3\n[Network Data]\n7 0 0\n8 0 0\n[End]\n")
        << s1p << 0 << "nennt 3 Frequenzen, enthält aber 2";
    QTest::newRow("CSV ohne Einheit")
        << QByteArray("Frequency;R;X\n1;2;3\n") << csv << 1 << "keine Einheit";
    QTest::newRow("CSV zu wenige Felder")
        << QByteArray("f/MHz;R;X\n7;50;1\n7,1;50\n") << csv << 3 << "2 Felder";
    QTest::newRow("CSV Text statt Zahl")
        << QByteArray("f/MHz,R,X\n7,50,abc\n") << csv << 2 << "„abc“";
    QTest::newRow("CSV unbekannte Spalten")
        << QByteArray("f/MHz;A;B\n7;1;2\n") << csv << 1 << "gefundene Spalten: „f/MHz“, „A“, „B“";
    QTest::newRow("CSV nur Kopf") << QByteArray("f/MHz;R;X\n") << csv << 0 << "keine Messwerte";
}

void TstMessdaten::abgelehnt()
{
    QFETCH(QByteArray, daten);
    QFETCH(QString, name);
    QFETCH(int, zeile);
    QFETCH(QString, grund);
    const Messlesung lesung = messdatenAusBytes(daten, name);
    QCOMPARE(lesung.status, Messlesestatus::Abgelehnt);
    QVERIFY(lesung.daten.punkte.isEmpty());
    QCOMPARE(lesung.zeile, zeile);
    const QString anfang = zeile > 0 ? QStringLiteral("„%1“, Zeile %2: ").arg(name).arg(zeile)
                                     : QStringLiteral("„%1“: ").arg(name);
    QVERIFY2(lesung.meldung.startsWith(anfang), qPrintable(lesung.meldung));
    QVERIFY2(lesung.meldung.contains(grund), qPrintable(lesung.meldung));
}

void TstMessdaten::byteReihenfolgeZeichen_data()
{
    QTest::addColumn<QByteArray>("daten");
    QTest::addColumn<QString>("name");
    QTest::newRow("Touchstone") << QByteArray("\xEF\xBB\xBF# MHz S RI R 50\r\n7 0.2 0\r\n")
                                << "m.s1p";
    QTest::newRow("Tabelle") << QByteArray("\xEF\xBB\xBF\"Freq (MHz)\";\"R\";\"X\"\n7;75;0\n")
                             << "m.txt";
}

void TstMessdaten::byteReihenfolgeZeichen()
{
    QFETCH(QByteArray, daten);
    QFETCH(QString, name);
    const Messlesung lesung = messdatenAusBytes(daten, name);
    QVERIFY2(lesung.gelesen(), qPrintable(lesung.meldung));
    QCOMPARE(lesung.daten.punkte.size(), 1);
    QVERIFY(std::abs(*lesung.daten.punkte.at(0).Z - Komplex(75.0, 0.0)) < 1e-12);
}

void TstMessdaten::dateigrenzen()
{
    QTemporaryDir ordner;
    QVERIFY(ordner.isValid());
    Messlesung lesung = messdatenLesen(ordner.path());
    QCOMPARE(lesung.status, Messlesestatus::NichtLesbar);
    QVERIFY2(lesung.meldung.contains(QLatin1String("Ordner")), qPrintable(lesung.meldung));
    lesung = messdatenLesen(ordner.filePath(QStringLiteral("fehlt.s1p")));
    QCOMPARE(lesung.status, Messlesestatus::NichtLesbar);
    lesung = messdatenLesen(fixtur(QStringLiteral("v1_ri_hz_crlf.s1p")), 100);
    QCOMPARE(lesung.status, Messlesestatus::NichtLesbar);
    QVERIFY2(lesung.meldung.contains(QStringLiteral("größer als 100 Bytes")),
             qPrintable(lesung.meldung));
}

void TstMessdaten::hoechstensEineMillionPunkte()
{
    QByteArray daten("# Hz S RI R 50\n");
    daten.reserve(20 * 1000001);
    for (int i = 1; i <= 1000000; ++i)
        daten += QByteArray::number(i) + " 0 0\n";
    const Messlesung genug = messdatenAusBytes(daten, QStringLiteral("m.s1p"));
    QVERIFY2(genug.gelesen(), qPrintable(genug.meldung));
    QCOMPARE(genug.daten.punkte.size(), kMaxMesspunkte);
    daten += "1000001 0 0\n";
    const Messlesung zuviel = messdatenAusBytes(daten, QStringLiteral("m.s1p"));
    QCOMPARE(zuviel.status, Messlesestatus::Abgelehnt);
    QCOMPARE(zuviel.zeile, 1000002);
}

void TstMessdaten::gegenScikitRf_data()
{
    QTest::addColumn<QString>("datei");
    // scikit-rf (0.15 in Debian 12) reads S-parameter files with an option
    // line in its usual order, a point as decimal separator and no keywords
    // beyond the basic ones of version 2.0; the other fixtures are beyond it.
    for (const char *datei :
         {"v1_ri_hz_crlf.s1p", "v1_ma_mhz_r75.s1p", "v1_db_ghz_tabs.s1p", "v2_s_einfach.s1p"})
        QTest::newRow(datei) << QString::fromLatin1(datei);
}

void TstMessdaten::gegenScikitRf()
{
    QFETCH(QString, datei);
    static const QString python = pythonMitSkrf();
    if (python.isEmpty())
        QSKIP("python3 mit scikit-rf (python3-scikit-rf) fehlt");
    QProcess skrf;
    skrf.start(python,
               {QStringLiteral("-c"),
                // Debian 12's scikit-rf still names numpy.complex, which
                // its numpy no longer has.
                QStringLiteral("import numpy\n"
                               "if not hasattr(numpy, 'complex'):\n"
                               "    numpy.complex = complex\n"
                               "import sys, skrf\n"
                               "n = skrf.Network(sys.argv[1])\n"
                               "for f, z in zip(n.f, n.z[:, 0, 0]):\n"
                               "    print('Z', repr(float(f)), repr(z.real), repr(z.imag))\n"),
                fixtur(datei)});
    QVERIFY(skrf.waitForFinished(60000));
    QCOMPARE(skrf.exitCode(), 0);
    const Messlesung lesung = messdatenLesen(fixtur(datei));
    QVERIFY(lesung.gelesen());
    int verglichen = 0;
    for (const QByteArray &zeile : skrf.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> t = zeile.split(' ');
        if (t.size() != 4 || t.at(0) != "Z")
            continue;
        const Messpunkt *p = punktBei(lesung.daten, t.at(1).toDouble());
        QVERIFY2(p, t.at(1).constData());
        const Komplex z(t.at(2).toDouble(), t.at(3).toDouble());
        if (!(z.real() > 0.0) || !std::isfinite(z.real())) {
            QVERIFY(!p->Z); // beyond |Γ| < 1: a gap here
            continue;
        }
        QVERIFY(p->Z);
        QVERIFY2(std::abs(*p->Z - z) <= 1e-9 * std::abs(z), zeile.constData());
        ++verglichen;
    }
    QCOMPARE(verglichen + int(lesung.daten.luecken), int(lesung.daten.punkte.size()));
}

QTEST_GUILESS_MAIN(TstMessdaten)
#include "tst_messdaten.moc"
