#include "dokumentberichtsfeld.h"
#include "drucker.h"
#include "fake_drucker.h"
#include "fake_oberflaeche.h"
#include "rechenumgebung.h"
#include "rechnen.h"
#include "werte.h"

#include <QTest>

#include <cmath>
#include <memory>

using namespace varo;

namespace {

const QString SPALTEN = QStringLiteral(" Varolinaten:           ungünstig            günstig");
const QString SCHLUSS = QStringLiteral("  Ungünstige Längen möglichst meiden !");

Berechnungsanfrage anfrage(const QString &f, const QString &kabel, const QString &laenge,
                           int index = -1)
{
    Berechnungsanfrage a;
    a.modus = Berechnungsmodus::Eine;
    a.frequenzen = f;
    a.kabel = kabel;
    a.kabelIndex = index;
    a.laenge = laenge;
    a.toleranz = QStringLiteral("35");
    return a;
}

QString zeile(const QString &ungunstig, const QString &guenstig)
{
    return ungunstig.rightJustified(33) + guenstig.rightJustified(19);
}

// The whole report, page breaks after the rows named (0: before the first).
QString bericht(const QString &kopf, const QString &spalten, const QStringList &zeilen,
                const QList<int> &umbruchNach = {})
{
    QString t = QStringLiteral("Varolinaten-Berechnung") + ZE + ZE + kopf + spalten + ZE + TRENN;
    int seite = 1;
    const auto umbruch = [&] {
        ++seite;
        t += TRENN + ZE + ZE + ZE + ZE +
             (QStringLiteral("Seite ") + QString::number(seite)).rightJustified(80) + ZE + spalten +
             ZE + TRENN;
    };
    if (umbruchNach.contains(0))
        umbruch();
    for (int i = 0; i < zeilen.size(); ++i) {
        t += zeilen[i] + ZE;
        if (umbruchNach.contains(i + 1))
            umbruch();
    }
    return t + TRENN + SCHLUSS + ZE + ZE + GRUSS;
}

QString kopf(const QString &f, const QString &lambda, const QString &vk)
{
    return QStringLiteral(" Frequenz    : ") + f + ZE + QStringLiteral(" Wellenlänge : ") + lambda +
           ZE + QStringLiteral(" Verkürzungsfaktor: ") + vk + ZE + ZE;
}

} // namespace

class TstRechnenEine : public QObject
{
    Q_OBJECT

private slots:
    void beispiel_data();
    void beispiel();
    void mitDaempfung_data();
    void mitDaempfung();
    void abgelehnt_data();
    void abgelehnt();
    void grenzenAngenommen_data();
    void grenzenAngenommen();
    void zeilenzahl_data();
    void zeilenzahl();
    void namenszusatz_data();
    void namenszusatz();
    void daempfungNull();
    void zuLang_data();
    void zuLang();
    void seiten_data();
    void seiten();
};

void TstRechnenEine::beispiel_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("erwartet");
    QTest::newRow("Punkt") << QLocale::c()
                           << bericht(
                                  kopf("7.100 MHz", "42.254 m", "0.66"), SPALTEN,
                                  {zeile("6.972 m", "13.944 m"), zeile("20.915 m", "27.887 m")});
    QTest::newRow("Komma") << QLocale(QLocale::German)
                           << bericht(
                                  kopf("7,100 MHz", "42,254 m", "0,66"), SPALTEN,
                                  {zeile("6,972 m", "13,944 m"), zeile("20,915 m", "27,887 m")});
}

void TstRechnenEine::beispiel()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, erwartet);
    Umgebung u(locale);
    QCOMPARE(RechnenEine(anfrage("7,1", "0,66", "30"), *u.kontext), Rechenergebnis::Bericht);
    QCOMPARE(u.feld.text(), erwartet);
    // The shortest favourable length is remembered, the typed cable is no list entry.
    QCOMPARE(qRound(u.werte.KabelLaenge * 1000), 13944);
    QCOMPARE(u.werte.KabelIndex, qint16(-1));
    QCOMPARE(u.ui.protokoll, (QStringList{"verbergen", "zeigen"}));
    QVERIFY(u.feld.sichtbar());
    QVERIFY(!u.ui.sanduhrAktiv);
    QCOMPARE(u.ui.pieps, 0);
}

void TstRechnenEine::mitDaempfung_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("kabel");
    QTest::addColumn<QString>("erwartet");
    const QString spalten = SPALTEN + QStringLiteral(" / Dämpfung [dB]");
    QTest::newRow("Punkt") << QLocale::c() << "0.66 RG58             d=100/6.5"
                           << bericht(kopf("7.100 MHz", "42.254 m", "0.66 (RG58)"), spalten,
                                      {zeile("6.972 m", "13.944 m") + " / 0.24",
                                       zeile("20.915 m", "27.887 m") + " / 0.48"});
    QTest::newRow("Komma") << QLocale(QLocale::German) << "0,66 RG58             d=100/6,5"
                           << bericht(kopf("7,100 MHz", "42,254 m", "0,66 (RG58)"), spalten,
                                      {zeile("6,972 m", "13,944 m") + " / 0,24",
                                       zeile("20,915 m", "27,887 m") + " / 0,48"});
}

void TstRechnenEine::mitDaempfung()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, kabel);
    QFETCH(QString, erwartet);
    Umgebung u(locale);
    QCOMPARE(RechnenEine(anfrage("7.1", kabel, "30", 2), *u.kontext), Rechenergebnis::Bericht);
    QCOMPARE(u.feld.text(), erwartet);
    QCOMPARE(u.werte.KabelIndex, qint16(2));
}

void TstRechnenEine::abgelehnt_data()
{
    QTest::addColumn<QString>("f");
    QTest::addColumn<QString>("kabel");
    QTest::addColumn<int>("kabelIndex"); // KabelIndex afterwards
    QTest::newRow("0,009 MHz") << "0,009"
                               << "0,66" << 4;
    QTest::newRow("0 MHz") << "0"
                           << "0,66" << 4;
    QTest::newRow("Buchstaben") << "abc"
                                << "0,66" << 4;
    QTest::newRow("Vk 0") << "7"
                          << "0" << 3;
    QTest::newRow("Vk 1,01") << "7"
                             << "1,01" << 3;
    QTest::newRow("Vk negativ") << "7"
                                << "-0,66" << 3;
}

void TstRechnenEine::abgelehnt()
{
    QFETCH(QString, f);
    QFETCH(QString, kabel);
    QFETCH(int, kabelIndex);
    Umgebung u(QLocale::c());
    QCOMPARE(RechnenEine(anfrage(f, kabel, "30", 3), *u.kontext), Rechenergebnis::Abgelehnt);
    QCOMPARE(u.ui.pieps, 2);
    QVERIFY(u.ui.meldungen.isEmpty());
    QCOMPARE(u.ui.dialogVerborgen, 0); // the dialog stays open for correction
    QCOMPARE(u.feld.text(), QStringLiteral("alter Bericht"));
    QVERIFY(u.feld.sichtbar());
    QVERIFY(!u.ui.sanduhrAktiv);
    QCOMPARE(u.werte.KabelIndex, qint16(kabelIndex));
    QCOMPARE(u.werte.KabelLaenge, 30.0F);
}

void TstRechnenEine::grenzenAngenommen_data()
{
    QTest::addColumn<QString>("f");
    QTest::addColumn<QString>("kabel");
    QTest::newRow("0,01 MHz") << "0,01"
                              << "0,66";
    QTest::newRow("Vk 1") << "7"
                          << "1";
}

void TstRechnenEine::grenzenAngenommen()
{
    QFETCH(QString, f);
    QFETCH(QString, kabel);
    Umgebung u(QLocale::c());
    QCOMPARE(RechnenEine(anfrage(f, kabel, "30"), *u.kontext), Rechenergebnis::Bericht);
    QCOMPARE(u.ui.pieps, 0);
}

void TstRechnenEine::zeilenzahl_data()
{
    QTest::addColumn<QString>("laenge");
    QTest::addColumn<int>("zeilen");
    // 7,5 MHz on a cable with Vk 1: a quarter wave is exactly 10 m.
    QTest::newRow("x = 4 gibt N = 4") << "40" << 2;
    QTest::newRow("x = 5 gibt N = 6") << "50" << 3;
    QTest::newRow("x = 4,1 gibt N = 5") << "41" << 2;
    QTest::newRow("leer gibt N = 60") << "" << 30;
    QTest::newRow("0 gibt N = 60") << "0" << 30;
    QTest::newRow("negativ gibt N = 60") << "-100" << 30;
}

void TstRechnenEine::zeilenzahl()
{
    QFETCH(QString, laenge);
    QFETCH(int, zeilen);
    Umgebung u(QLocale::c());
    QCOMPARE(RechnenEine(anfrage("7.5", "1", laenge), *u.kontext), Rechenergebnis::Bericht);
    QStringList erwartet;
    for (int j = 1; j <= zeilen; ++j)
        erwartet << zeile(QStringLiteral("%1.000 m").arg((2 * j - 1) * 10),
                          QStringLiteral("%1.000 m").arg(2 * j * 10));
    QCOMPARE(u.feld.text(), bericht(kopf("7.500 MHz", "40.000 m", "1.00"), SPALTEN, erwartet));
    QCOMPARE(u.werte.KabelLaenge, 20.0F);
}

void TstRechnenEine::namenszusatz_data()
{
    QTest::addColumn<QString>("kabel");
    QTest::addColumn<QString>("vk");
    QTest::newRow("0.66 RG 213 d=100/6.5") << "0.66 RG 213 d=100/6.5"
                                           << "0.66 (RG 213)";
    QTest::newRow("ohne d= kein Name") << "0.66 RG58"
                                       << "0.66";
    QTest::newRow("d= gleich nach dem Blank") << "0.66 d=100/6.5"
                                              << "0.66";
    QTest::newRow("Name ist eine Zahl") << "0.66 +5 d=100/6.5"
                                        << "0.66";
    QTest::newRow("0.6666 X d=100/6.5") << "0.6666 X d=100/6.5"
                                        << "0.667 (X)";
}

void TstRechnenEine::namenszusatz()
{
    QFETCH(QString, kabel);
    QFETCH(QString, vk);
    Umgebung u(QLocale::c());
    QCOMPARE(RechnenEine(anfrage("7.1", kabel, "30"), *u.kontext), Rechenergebnis::Bericht);
    QVERIFY2(u.feld.text().contains(QStringLiteral(" Verkürzungsfaktor: ") + vk + ZE),
             qPrintable(u.feld.text()));
}

void TstRechnenEine::daempfungNull()
{
    // The attenuation fails at the first favourable length: two beeps, and
    // the box shows what was written so far.
    Umgebung u(QLocale::c());
    QCOMPARE(RechnenEine(anfrage("7.1", "0.66 RG58 d=100/0", "30"), *u.kontext),
             Rechenergebnis::Abgelehnt);
    QCOMPARE(u.ui.pieps, 2);
    QVERIFY(u.ui.meldungen.isEmpty());
    QVERIFY(u.feld.sichtbar());
    QCOMPARE(u.feld.text(), QStringLiteral("Varolinaten-Berechnung") + ZE + ZE +
                                kopf("7.100 MHz", "42.254 m", "0.66 (RG58)") + SPALTEN +
                                QStringLiteral(" / Dämpfung [dB]") + ZE + TRENN);
    QCOMPARE(u.werte.KabelLaenge, 30.0F);
}

void TstRechnenEine::zuLang_data()
{
    QTest::addColumn<QString>("laenge");
    QTest::addColumn<QList<Antwort>>("antworten");
    QTest::addColumn<QStringList>("meldungen");
    QTest::addColumn<Rechenergebnis>("ergebnis");
    const QString ueberlauf = QStringLiteral("Überlauf") + ZE;
    const QString index = QStringLiteral("Index außerhalb des gültigen Bereichs") + ZE;
    // With 7,5 MHz and Vk 1 a quarter wave is 10 m. 32766 quarter waves still
    // fit the 16-bit counter; 32767 (odd) round up to 32768, which does not.
    QTest::newRow("327660 m: N = 32766")
        << "327660" << QList<Antwort>{} << QStringList{} << Rechenergebnis::Bericht;
    QTest::newRow("327670 m, Abbruch") << "327670" << QList<Antwort>{Antwort::Abbruch}
                                       << QStringList{ueberlauf} << Rechenergebnis::Abgebrochen;
    // Far beyond what memory could hold as lists: refused before they are made.
    QTest::newRow("1e9 m, Abbruch") << "1e9" << QList<Antwort>{Antwort::Abbruch}
                                    << QStringList{ueberlauf} << Rechenergebnis::Abgebrochen;
    QTest::newRow("1e12 m, Abbruch") << "1e12" << QList<Antwort>{Antwort::Abbruch}
                                     << QStringList{ueberlauf} << Rechenergebnis::Abgebrochen;
    // Ignoring goes on without the lists: filling them and counting the rows
    // fail in turn, and the report ends without rows.
    QTest::newRow("1e9 m, Ignorieren")
        << "1e9" << QList<Antwort>(3, Antwort::Ignorieren)
        << QStringList{ueberlauf, index, ueberlauf} << Rechenergebnis::Bericht;
}

void TstRechnenEine::zuLang()
{
    QFETCH(QString, laenge);
    QFETCH(QList<Antwort>, antworten);
    QFETCH(QStringList, meldungen);
    QFETCH(Rechenergebnis, ergebnis);
    Umgebung u(QLocale::c());
    u.ui.antworten = antworten;
    QCOMPARE(RechnenEine(anfrage("7.5", "1", laenge), *u.kontext), ergebnis);
    QStringList texte;
    for (const auto &m : u.ui.meldungen) {
        texte << m.text;
        QCOMPARE(m.titel, QStringLiteral(" Fehler !"));
        QCOMPARE(m.knoepfe, Knoepfe::AbbrechenWiederholenIgnorieren);
    }
    QCOMPARE(texte, meldungen);
    QVERIFY(u.feld.sichtbar());
    if (ergebnis == Rechenergebnis::Abgebrochen) {
        QCOMPARE(u.feld.text(), QStringLiteral("alter Bericht"));
        QCOMPARE(u.ui.dialogVerborgen, 0);
    } else if (!meldungen.isEmpty()) {
        QCOMPARE(u.feld.text(), bericht(kopf("7.500 MHz", "40.000 m", "1.00"), SPALTEN, {}));
    } else {
        QCOMPARE(u.feld.text().count(QStringLiteral("327660.000 m") + ZE), 1);
        // 16383 rows and the wavelength of the header
        QCOMPARE(u.feld.text().count(QStringLiteral("0.000 m") + ZE), 16384);
    }
}

void TstRechnenEine::seiten_data()
{
    QTest::addColumn<int>("seitenlaenge"); // 0: no printer
    QTest::addColumn<QList<int>>("umbruchNach");
    QTest::newRow("ohne Drucker, 73 Zeilen") << 0 << QList<int>{60, 127};
    QTest::newRow("16 Zeilen") << 16
                               << QList<int>{3, 13, 23, 33, 43, 53, 63, 73, 83, 93, 103, 113, 123};
    // The page is full before the first row: the break comes after k = 1.
    QList<int> zehn{0};
    for (int r = 4; r <= 130; r += 4)
        zehn << r;
    QTest::newRow("10 Zeilen") << 10 << zehn;
}

void TstRechnenEine::seiten()
{
    QFETCH(int, seitenlaenge);
    QFETCH(QList<int>, umbruchNach);
    Umgebung u(QLocale::c(), seitenlaenge);
    QCOMPARE(RechnenEine(anfrage("7.5", "1", "2600"), *u.kontext), Rechenergebnis::Bericht);
    QStringList zeilen;
    for (int j = 1; j <= 130; ++j)
        zeilen << zeile(QStringLiteral("%1.000 m").arg((2 * j - 1) * 10),
                        QStringLiteral("%1.000 m").arg(2 * j * 10));
    QCOMPARE(u.feld.text(),
             bericht(kopf("7.500 MHz", "40.000 m", "1.00"), SPALTEN, zeilen, umbruchNach));
}

QTEST_GUILESS_MAIN(TstRechnenEine)
#include "tst_rechnen_eine.moc"
