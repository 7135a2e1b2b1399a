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

const QString SPALTEN = QStringLiteral(
    " Kabellänge:          günstig für      ungünstig für                 (Abweichung)");
const QString EINE =
    QStringLiteral("  Bei der ungünstigen Frequenz kann dieses Kabel Probleme verursachen.");
const QString MEHRERE =
    QStringLiteral("  Bei den ungünstigen Frequenzen kann dieses Kabel Probleme verursachen.");
const QString BESTENS = QStringLiteral(
    "  Dieses Kabel ist innerhalb der Toleranz bestens für die Frequenzen geeignet.");

Berechnungsanfrage anfrage(const QString &f, const QString &laenge, const QString &tol,
                           const QString &kabel = QStringLiteral("0.66"), int index = -1)
{
    Berechnungsanfrage a;
    a.modus = Berechnungsmodus::VorhKabel;
    a.frequenzen = f;
    a.kabel = kabel;
    a.kabelIndex = index;
    a.laenge = laenge;
    a.toleranz = tol;
    return a;
}

// "+3.600 MHz|6.6 %" is a favourable row, "-14.200 MHz|36.0 %" an unfavourable one.
QString zeile(const QString &z)
{
    const QString f = z.mid(1).section('|', 0, 0);
    const QString d = QLatin1Char('(') + z.section('|', 1) + QLatin1Char(')');
    if (z.startsWith('+'))
        return f.rightJustified(33) + QString(19, ' ') + d.rightJustified(29);
    return QString(33, ' ') + f.rightJustified(19) + d.rightJustified(29);
}

QString bericht(const QString &f, const QString &vk, const QString &l, const QString &tol,
                const QStringList &zeilen, const QString &bemerkung, const QList<int> &umbruch = {})
{
    QString t = QStringLiteral("Varolinaten-Prüfung") + ZE + ZE +
                QStringLiteral(" Frequenzen  : ") + f + QStringLiteral(" MHz") + ZE +
                QStringLiteral(" Verkürzungsfaktor: ") + vk + ZE +
                QStringLiteral(" vorhandene Kabellänge: ") + l + QStringLiteral(" m") + ZE +
                QStringLiteral(" Toleranz zugelassen : ± ") + tol + QStringLiteral(" %") + ZE + ZE +
                SPALTEN + ZE + TRENN;
    int seite = 1;
    for (int i = 0; i < zeilen.size(); ++i) {
        t += zeile(zeilen[i]) + ZE;
        if (umbruch.contains(i + 1)) {
            ++seite;
            t += TRENN + ZE + ZE + ZE + ZE +
                 (QStringLiteral("Seite ") + QString::number(seite)).rightJustified(80) + ZE +
                 SPALTEN + ZE + TRENN;
        }
    }
    return t + TRENN + bemerkung + ZE + ZE + GRUSS;
}

} // namespace

class TstRechnenVorhKabel : public QObject
{
    Q_OBJECT

private slots:
    void beispiele_data();
    void beispiele();
    void eineFrequenz();
    void kabelzusatz_data();
    void kabelzusatz();
    void abgelehnt_data();
    void abgelehnt();
    void seiten();
};

void TstRechnenVorhKabel::beispiele_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("f");
    QTest::addColumn<QString>("laenge");
    QTest::addColumn<QString>("tol");
    QTest::addColumn<QString>("erwartet");

    QTest::newRow("30 m, 3.6/7.05/14.2/21.2/28.5, Punkt")
        << QLocale::c() << "3.6/7.05/14.2/21.2/28.5"
        << "30"
        << "35"
        << bericht("3.6/7.05/14.2/21.2/28.5", "0.66", "30", "35.0",
                   {"+3.600 MHz|6.6 %", "+7.050 MHz|13.0 %", "-14.200 MHz|36.0 %",
                    "-21.200 MHz|47.5 %", "-28.500 MHz|42.5 %"},
                   MEHRERE);
    QTest::newRow("30 m, 3.6/7.05/14.2/21.2/28.5, Komma")
        << QLocale(QLocale::German) << "3,6/7,05/14,2/21,2/28,5"
        << "30"
        << "35"
        << bericht("3,6/7,05/14,2/21,2/28,5", "0,66", "30", "35,0",
                   {"+3,600 MHz|6,6 %", "+7,050 MHz|13,0 %", "-14,200 MHz|36,0 %",
                    "-21,200 MHz|47,5 %", "-28,500 MHz|42,5 %"},
                   MEHRERE);
    QTest::newRow("28.286 m, 7/14/21/28") << QLocale::c() << "7/14/21/28"
                                          << "28.286"
                                          << "35"
                                          << bericht("7/14/21/28", "0.66", "28.286", "35.0",
                                                     {"+7.000 MHz|0.0 %", "+14.000 MHz|0.0 %",
                                                      "+21.000 MHz|0.0 %", "+28.000 MHz|0.0 %"},
                                                     BESTENS);
    QTest::newRow("10 m, 7.1/14.2, Komma")
        << QLocale(QLocale::German) << "7,1/14,2"
        << "10"
        << "35"
        << bericht("7,1/14,2", "0,66", "10", "35,0", {"+7,100 MHz|33,5 %", "-14,200 MHz|48,1 %"},
                   EINE);
    QTest::newRow("0 m, Toleranz 0")
        << QLocale::c() << "7/14"
        << "0"
        << "0"
        << bericht("7/14", "0.66", "0", "0.0", {"+7.000 MHz|0.0 %", "+14.000 MHz|0.0 %"}, BESTENS);
    QTest::newRow("Toleranz 100") << QLocale::c() << "14.2/21.2"
                                  << "30"
                                  << "100"
                                  << bericht("14.2/21.2", "0.66", "30", "100.0",
                                             {"+14.200 MHz|36.0 %", "+21.200 MHz|47.5 %"}, BESTENS);
    QTest::newRow("Toleranz 12,345") << QLocale::c() << "7.05/0.01"
                                     << "30"
                                     << "12,345"
                                     << bericht("7.05/0.01", "0.66", "30", "12.345",
                                                {"-7.050 MHz|13.0 %", "+0.010 MHz|0.0 %"}, EINE);
    // A quarter wave (40 m wavelength, 10 m, Vk 1) rates 0.5: still unfavourable at 50 %.
    QTest::newRow("Viertelwelle bei 50 %")
        << QLocale::c() << "7.5/15"
        << "10"
        << "50"
        << bericht("7.5/15", "1.00", "10", "50.0", {"-7.500 MHz|50.0 %", "+15.000 MHz|0.0 %"},
                   EINE);
}

void TstRechnenVorhKabel::beispiele()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, f);
    QFETCH(QString, laenge);
    QFETCH(QString, tol);
    QFETCH(QString, erwartet);
    Umgebung u(locale);
    const QString kabel = erwartet.contains(QStringLiteral(": 1.00")) ? "1" : "0,66";
    QCOMPARE(RechnenVorhKabel(anfrage(f, laenge, tol, kabel, 3), *u.kontext),
             Rechenergebnis::Bericht);
    QCOMPARE(u.feld.text(), erwartet);
    QCOMPARE(u.werte.KabelIndex, qint16(3));
    QCOMPARE(u.werte.KabelLaenge, QString(laenge).replace(',', '.').toFloat());
    QCOMPARE(u.ui.protokoll, (QStringList{"verbergen", "zeigen"}));
    QVERIFY(u.feld.sichtbar());
    QVERIFY(!u.ui.sanduhrAktiv);
}

void TstRechnenVorhKabel::eineFrequenz()
{
    Umgebung u(QLocale::c());
    QCOMPARE(RechnenVorhKabel(anfrage("7,05", "20", "35"), *u.kontext), Rechenergebnis::Bericht);
    QCOMPARE(u.ui.meldungen.size(), 1);
    QCOMPARE(u.ui.meldungen[0].text,
             QStringLiteral("Sie können mehere Frequenzen getrennt durch /  eingeben. "));
    QCOMPARE(u.ui.meldungen[0].titel, QStringLiteral(" Falsche Aktion ?"));
    QCOMPARE(u.ui.meldungen[0].symbol, Symbol::Ausrufezeichen);
    QCOMPARE(u.ui.meldungen[0].knoepfe, Knoepfe::Ok);
    QCOMPARE(u.feld.text(), bericht("7.05/7.05", "0.66", "20", "35.0",
                                    {"-7.050 MHz|47.5 %", "-7.050 MHz|47.5 %"}, MEHRERE));
    QCOMPARE(u.ui.protokoll, (QStringList{"meldung: Falsche Aktion ?", "verbergen", "zeigen"}));
}

void TstRechnenVorhKabel::kabelzusatz_data()
{
    QTest::addColumn<QString>("kabel");
    QTest::addColumn<QString>("vk");
    QTest::newRow("Tabelleneintrag mit d=") << "0,66 RG58" + QString(13, ' ') + " d=100/6,5"
                                            << "0.66 (RG58" + QString(13, ' ') + " d=100/6,5)";
    QTest::newRow("Tabelleneintrag ohne d=") << "0,91 Hühnerleiter         "
                                             << "0.91 (Hühnerleiter         )";
    QTest::newRow("getippt 0,66") << "0,66"
                                  << "0.66";
    QTest::newRow("Zahl nach dem Blank") << "0.66 5"
                                         << "0.665";
    QTest::newRow("Blank am Ende") << "0.66 "
                                   << "0.66";
}

void TstRechnenVorhKabel::kabelzusatz()
{
    QFETCH(QString, kabel);
    QFETCH(QString, vk);
    Umgebung u(QLocale::c());
    QCOMPARE(RechnenVorhKabel(anfrage("7/14", "30", "35", kabel), *u.kontext),
             Rechenergebnis::Bericht);
    QVERIFY2(u.feld.text().contains(QStringLiteral(" Verkürzungsfaktor: ") + vk + ZE),
             qPrintable(u.feld.text()));
}

void TstRechnenVorhKabel::abgelehnt_data()
{
    QTest::addColumn<QString>("f");
    QTest::addColumn<QString>("kabel");
    QTest::addColumn<QString>("tol");
    QTest::addColumn<float>("kabelLaenge"); // afterwards; read before tolerance and frequencies
    QTest::newRow("7/14/") << "7/14/"
                           << "0.66"
                           << "35" << 25.0F;
    QTest::newRow("/7") << "/7"
                        << "0.66"
                        << "35" << 25.0F;
    QTest::newRow("0,009/7") << "0,009/7"
                             << "0.66"
                             << "35" << 25.0F;
    QTest::newRow("Vk 0") << "7/14"
                          << "0"
                          << "35" << 30.0F;
    QTest::newRow("Vk 1,1") << "7/14"
                            << "1,1"
                            << "35" << 30.0F;
    QTest::newRow("Toleranz 101") << "7/14"
                                  << "0.66"
                                  << "101" << 25.0F;
}

void TstRechnenVorhKabel::abgelehnt()
{
    QFETCH(QString, f);
    QFETCH(QString, kabel);
    QFETCH(QString, tol);
    QFETCH(float, kabelLaenge);
    Umgebung u(QLocale::c());
    QCOMPARE(RechnenVorhKabel(anfrage(f, "25", tol, kabel, 6), *u.kontext),
             Rechenergebnis::Abgelehnt);
    QCOMPARE(u.ui.pieps, 2);
    QVERIFY(u.ui.meldungen.isEmpty());
    QCOMPARE(u.ui.dialogVerborgen, 0);
    QCOMPARE(u.feld.text(), QStringLiteral("alter Bericht"));
    QVERIFY(u.feld.sichtbar());
    QCOMPARE(u.werte.KabelIndex, qint16(6));
    QCOMPARE(u.werte.KabelLaenge, kabelLaenge);
}

void TstRechnenVorhKabel::seiten()
{
    // One row per frequency, the check after each: with 73 lines the first
    // break follows row 60, the next one row 127.
    Umgebung u(QLocale::c());
    QCOMPARE(
        RechnenVorhKabel(anfrage(QString("7/").repeated(129) + "14", "28.286", "35"), *u.kontext),
        Rechenergebnis::Bericht);
    QStringList zeilen(129, QStringLiteral("+7.000 MHz|0.0 %"));
    zeilen << QStringLiteral("+14.000 MHz|0.0 %");
    QCOMPARE(u.feld.text(), bericht(QString("7/").repeated(129) + "14", "0.66", "28.286", "35.0",
                                    zeilen, BESTENS, {60, 127}));

    // A short page: 16 lines break after row 3 and then every 10 rows.
    Umgebung k(QLocale::c(), 16);
    QCOMPARE(
        RechnenVorhKabel(anfrage(QString("7/").repeated(24) + "7", "28.286", "35"), *k.kontext),
        Rechenergebnis::Bericht);
    QCOMPARE(k.feld.text(),
             bericht(QString("7/").repeated(24) + "7", "0.66", "28.286", "35.0",
                     QStringList(25, QStringLiteral("+7.000 MHz|0.0 %")), BESTENS, {3, 13, 23}));
}

QTEST_GUILESS_MAIN(TstRechnenVorhKabel)
#include "tst_rechnen_vorhkabel.moc"
