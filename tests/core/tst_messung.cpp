#include "messdaten.h"
#include "messung.h"
#include "rlgc_kaskade.h"
#include "touchstone.h"

#include <QLocale>
#include <QTest>

#include <charconv>
#include <cmath>
#include <random>

using namespace varo;
using namespace varo::pruefung;

namespace {

struct Kabel
{
    const char *name;
    double k1, k2, R0, Vk, laenge;
};

// Loss constants as fitted to the shipped cables (dB per 100 m).
const Kabel kabelliste[] = {
    {"RG-213 27,5 m", 0.6178, 0.00545, 50, 0.66, 27.5},
    {"RG-58 40 m", 1.3992, 0.01377, 50, 0.66, 40.0},
    {"RG-6 12 m, 75 Ω", 0.6518, 0.00045, 75, 0.81, 12.0},
    {"Fensterleitung 22 m, 450 Ω", 0.1694, 0.00604, 450, 0.91, 22.0},
};

Leitungseingabe eingabe(const Kabel &k, bool verluste = true)
{
    return Leitungseingabe{k.R0, k.Vk, {k.k1, k.k2, true}, k.laenge, Komplex(50, 0), verluste};
}

// A sweep from 1 to 450 MHz whose reflection winds around the chart with a
// magnitude from 0 to 0.995, and two points beyond |Γ| < 1.
Messdaten spirale()
{
    Messdaten d;
    const int n = 2001;
    for (int i = 0; i < n; ++i) {
        const double t = double(i) / (n - 1);
        const Komplex gamma = std::polar(0.995 * t, 40.0 * t);
        d.punkte.append({(1.0 + 449.0 * t) * 1e6, impedanzAusReflexion(gamma, 50.0)});
    }
    d.punkte[700].Z.reset();
    d.punkte[1400].Z.reset();
    d.luecken = 2;
    return d;
}

double relativ(Komplex ist, Komplex soll)
{
    return std::abs(ist - soll) / std::abs(soll);
}

} // namespace

Q_DECLARE_METATYPE(Kabel)

class TstMessung : public QObject
{
    Q_OBJECT

private slots:
    void rueckrechnung_data();
    void rueckrechnung();
    void gegenKaskade_data();
    void gegenKaskade();
    void bereich();
    void grosseDateiWiePunktweise();
    void offenesEnde();
    void wieLeitungsanalyse_data();
    void wieLeitungsanalyse();
    void anpassnetze_data();
    void anpassnetze();
    void bauteile_data();
    void bauteile();
    void touchstoneHinUndZurueck();
    void zahlschreiber_data();
    void zahlschreiber();
    void zahlschreiberWieToChars_data();
    void zahlschreiberWieToChars();
};

void TstMessung::rueckrechnung_data()
{
    QTest::addColumn<Kabel>("kabel");
    QTest::addColumn<bool>("verluste");
    for (const Kabel &k : kabelliste) {
        QTest::newRow(k.name) << k << true;
        QTest::newRow(qPrintable(QStringLiteral("%1 verlustlos").arg(k.name))) << k << false;
    }
}

void TstMessung::rueckrechnung()
{
    QFETCH(Kabel, kabel);
    QFETCH(bool, verluste);
    const Leitungseingabe e = eingabe(kabel, verluste);
    const Messdaten antenne = spirale();
    const Messverlauf hin = messverlauf(e, Messort::Antenne, antenne, 1.0, 450.0);
    QCOMPARE(hin.werte.size(), antenne.punkte.size());
    QCOMPARE(hin.luecken, qsizetype(2));
    QCOMPARE(hin.nichtPassiv, qsizetype(0));

    // The rig end as if measured in the shack, then back to the feedpoint.
    Messdaten sender;
    for (const Messwerte &w : hin.werte)
        sender.punkte.append({w.fMHz * 1e6, w.zSender});
    const Messverlauf zurueck = messverlauf(e, Messort::Sender, sender, 1.0, 450.0);
    QCOMPARE(zurueck.werte.size(), antenne.punkte.size());
    double schlimmste = 0.0;
    for (qsizetype i = 0; i < antenne.punkte.size(); ++i) {
        const Messwerte &w = zurueck.werte.at(i);
        QCOMPARE(w.fMHz, hin.werte.at(i).fMHz);
        if (!antenne.punkte.at(i).Z) {
            QVERIFY(!w.zSender && !w.zAntenne && !w.verlustGesamt);
            continue;
        }
        QVERIFY(w.vollstaendig());
        schlimmste = std::max(schlimmste, relativ(*w.zAntenne, *antenne.punkte.at(i).Z));
        // Both directions report the same line.
        QCOMPARE(*w.zSender, *hin.werte.at(i).zSender);
        QVERIFY(std::abs(*w.verlustGesamt - *hin.werte.at(i).verlustGesamt) <= 1e-9);
    }
    QVERIFY2(schlimmste <= 1e-9, qPrintable(QString::number(schlimmste)));
}

void TstMessung::gegenKaskade_data()
{
    QTest::addColumn<Kabel>("kabel");
    QTest::addColumn<double>("f");
    QTest::addColumn<double>("R");
    QTest::addColumn<double>("X");
    QTest::newRow("RG-213 3,6 MHz 20+j150") << kabelliste[0] << 3.6 << 20.0 << 150.0;
    QTest::newRow("RG-58 14,2 MHz 12-j40") << kabelliste[1] << 14.2 << 12.0 << -40.0;
    QTest::newRow("RG-6 440 MHz 75-j30") << kabelliste[2] << 440.0 << 75.0 << -30.0;
    QTest::newRow("Fensterleitung 7,1 MHz 60+j400") << kabelliste[3] << 7.1 << 60.0 << 400.0;
}

void TstMessung::gegenKaskade()
{
    QFETCH(Kabel, kabel);
    QFETCH(double, f);
    QFETCH(double, R);
    QFETCH(double, X);
    const Komplex ZL(R, X);
    const double neperProDB = std::log(10.0) / 20.0;
    const double alphaC = kabel.k1 * std::sqrt(f) * neperProDB / 100.0;
    const double alphaD = kabel.k2 * f * neperProDB / 100.0;
    const double v = 3.0e8 * kabel.Vk;
    const double omega = 2.0 * M_PI * f * 1.0e6;
    Kaskadenwerte stufen[3];
    for (int i = 0; i < 3; ++i)
        stufen[i] =
            kaskadenwerte(kaskade(2.0 * kabel.R0 * alphaC, kabel.R0 / v, 2.0 * alphaD / kabel.R0,
                                  1.0 / (kabel.R0 * v), omega, kabel.laenge, 22 + i),
                          ZL);
    const Komplex zin = richardson(stufen[0].Zin, stufen[1].Zin, stufen[2].Zin);
    const double verlust = richardson(stufen[0].verlust, stufen[1].verlust, stufen[2].verlust);

    const Messwerte hin = messpunktAuswerten(eingabe(kabel), Messort::Antenne, {f * 1e6, ZL});
    QVERIFY(hin.vollstaendig());
    QVERIFY2(relativ(*hin.zSender, zin) < 1e-6,
             qPrintable(QString::number(relativ(*hin.zSender, zin))));
    QVERIFY(std::abs(*hin.verlustGesamt - verlust) < 1e-6 * std::max(1.0, verlust));

    // The cascade's input measured in the shack gives the load back.
    const Messwerte zurueck = messpunktAuswerten(eingabe(kabel), Messort::Sender, {f * 1e6, zin});
    QVERIFY(zurueck.vollstaendig());
    QVERIFY2(relativ(*zurueck.zAntenne, ZL) < 1e-6,
             qPrintable(QString::number(relativ(*zurueck.zAntenne, ZL))));
    QCOMPARE(*zurueck.zSender, zin);
}

void TstMessung::bereich()
{
    const Messlesung lesung =
        messdatenLesen(QStringLiteral(VARO_TESTDATEN "/messung/v1_ma_mhz_r75.s1p"));
    QVERIFY(lesung.gelesen());
    const Messdaten &d = lesung.daten; // 3.5 to 3.8 MHz, a gap at 3.8
    const Leitungseingabe e = eingabe(kabelliste[0]);
    const Messverlauf v = messverlauf(e, Messort::Antenne, d, 3.6, 3.8);
    QCOMPARE(v.werte.size(), 3);
    QCOMPARE(v.werte.first().fMHz, 3.6);
    QCOMPARE(v.luecken, qsizetype(1));
    QVERIFY(v.hinweise.join(QLatin1Char(' ')).contains(QStringLiteral("Lücken")));
    QCOMPARE(messverlauf(e, Messort::Antenne, d, 3.55, 3.65).werte.size(), 1);
    QVERIFY(messbereichPruefen(d, 3.6, 3.6).isEmpty());
    QVERIFY(messbereichPruefen(d, 3.61, 3.69).contains(QStringLiteral("keine Frequenz")));
    QVERIFY(messbereichPruefen(d, 3.7, 3.6).contains(QStringLiteral("ungültig")));
    QVERIFY(messbereichPruefen(d, 0.0, 3.6).contains(QStringLiteral("ungültig")));

    // A shack measurement the cable cannot explain: the feedpoint would
    // need a negative resistance.
    const Messwerte w = messpunktAuswerten(e, Messort::Sender, {3.6e6, Komplex(0.01, 0.0)});
    QVERIFY(w.zSender && !w.zAntenne && w.swrSender && !w.verlustGesamt);
}

void TstMessung::grosseDateiWiePunktweise()
{
    // Enough points that the work is shared out among threads.
    Messdaten d;
    for (int i = 0; i < 30001; ++i)
        d.punkte.append({1e6 + 1000.0 * i, impedanzAusReflexion(std::polar(0.9, 0.001 * i), 50)});
    const Leitungseingabe e = eingabe(kabelliste[1]);
    const QLocale deutsch(QLocale::German);
    for (const Messort ort : {Messort::Antenne, Messort::Sender}) {
        const Messverlauf v = messverlauf(e, ort, d, 1.0, 31.0);
        QCOMPARE(v.werte.size(), d.punkte.size());
        // The table is written in parts as well: each line as on its own.
        const QList<QByteArray> zeilen = messungCsv(v, deutsch).split('\n');
        QCOMPARE(zeilen.size(), d.punkte.size() + 2);
        for (qsizetype i = 0; i < d.punkte.size(); i += 7) {
            const Messwerte einzeln = messpunktAuswerten(e, ort, d.punkte.at(i));
            QCOMPARE(v.werte.at(i).fMHz, einzeln.fMHz);
            QCOMPARE(v.werte.at(i).zSender, einzeln.zSender);
            QCOMPARE(v.werte.at(i).zAntenne, einzeln.zAntenne);
            QCOMPARE(v.werte.at(i).verlustGesamt, einzeln.verlustGesamt);
            Messverlauf eins;
            eins.werte.append(einzeln);
            QCOMPARE(zeilen.at(i + 1), messungCsv(eins, deutsch).split('\n').at(1));
        }
    }
}

void TstMessung::offenesEnde()
{
    // A load too large for the squares of the quick path: the line is open
    // at its end, the rig sees Zo·coth γl.
    const Kabel &kabel = kabelliste[0];
    const Leitungskonstanten k =
        leitungskonstanten(kabel.R0, kabel.Vk, {kabel.k1, kabel.k2, true}, 7.1, true);
    const Komplex offen = k.Zo / std::tanh(k.gamma * kabel.laenge);
    const Messwerte w =
        messpunktAuswerten(eingabe(kabel), Messort::Antenne, {7.1e6, Komplex(1e200, 1e200)});
    QVERIFY(w.zSender && w.zAntenne);
    QVERIFY2(relativ(*w.zSender, offen) < 1e-9,
             qPrintable(QString::number(relativ(*w.zSender, offen))));
}

void TstMessung::wieLeitungsanalyse_data()
{
    rueckrechnung_data();
}

void TstMessung::wieLeitungsanalyse()
{
    // The quick path of a measured run against the line analysis of one
    // antenna impedance, at every point of the sweep. Both round tanh γl of
    // some hundred radians their own way; near the poles of a lossless line
    // that shows in the twelfth digit.
    QFETCH(Kabel, kabel);
    QFETCH(bool, verluste);
    Leitungseingabe e = eingabe(kabel, verluste);
    const Messverlauf v = messverlauf(e, Messort::Antenne, spirale(), 1.0, 450.0);
    double schlimmste = 0.0;
    for (const Messwerte &w : v.werte) {
        if (!w.zAntenne)
            continue;
        e.ZL = *w.zAntenne;
        const Leitungswerte l = leitungsanalyse(e, w.fMHz);
        QVERIFY(w.vollstaendig());
        schlimmste = std::max(schlimmste, relativ(*w.zSender, l.Zin));
        QVERIFY(std::abs(*w.swrSender - l.swrSender) <= 1e-9 * l.swrSender);
        QVERIFY(std::abs(*w.swrAntenne - l.swrAntenne) <= 1e-9 * l.swrAntenne);
        QVERIFY(std::abs(*w.verlustGesamt - l.verlustGesamt) <= 1e-9);
        QCOMPARE(*w.verlustAngepasst, l.verlustAngepasst);
    }
    QVERIFY2(schlimmste <= 1e-10, qPrintable(QString::number(schlimmste)));
}

void TstMessung::anpassnetze_data()
{
    QTest::addColumn<double>("R");
    QTest::addColumn<double>("X");
    QTest::addColumn<int>("querAmKabel");
    QTest::addColumn<int>("querAmSender");
    // Quer am Kabel needs R² + X² ≥ 50·R, Quer am Sender R ≤ 50.
    QTest::newRow("100 Ω: nur Quer am Kabel") << 100.0 << 0.0 << 2 << 0;
    QTest::newRow("1000+j1000: nur Quer am Kabel") << 1000.0 << 1000.0 << 2 << 0;
    QTest::newRow("25+j10: nur Quer am Sender") << 25.0 << 10.0 << 0 << 2;
    QTest::newRow("10+j50: beide") << 10.0 << 50.0 << 2 << 2;
    QTest::newRow("5-j200: beide") << 5.0 << -200.0 << 2 << 2;
    QTest::newRow("50+j30: Reihe allein") << 50.0 << 30.0 << 2 << 1;
    QTest::newRow("40-j20: Quer allein") << 40.0 << -20.0 << 1 << 2;
    QTest::newRow("50 Ω: keine") << 50.0 << 0.0 << 0 << 0;
    QTest::newRow("|Γ| 1e-10: keine") << 50.0 << 1e-8 << 0 << 0;
    QTest::newRow("|Γ| 1e-8: zwei") << 50.000001 << 0.0 << 2 << 0;
}

void TstMessung::anpassnetze()
{
    QFETCH(double, R);
    QFETCH(double, X);
    QFETCH(int, querAmKabel);
    QFETCH(int, querAmSender);
    const Komplex Z(R, X);
    const QList<Anpassnetz> netze = varo::anpassnetze(Z);
    int kabel = 0;
    int sender = 0;
    for (const Anpassnetz &n : netze) {
        (n.schaltung == Schaltung::QuerAmKabel ? kabel : sender) += 1;
        QVERIFY(n.xReihe || n.xQuer);
        const Komplex z = mitNetz(n, Z);
        QVERIFY2(std::abs(z - kSenderImpedanz) <= 1e-9 * kSenderImpedanz,
                 qPrintable(
                     QStringLiteral("%1 %2").arg(z.real(), 0, 'g', 17).arg(z.imag(), 0, 'g', 17)));
    }
    QCOMPARE(kabel, querAmKabel);
    QCOMPARE(sender, querAmSender);
}

void TstMessung::bauteile_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("f");
    QTest::addColumn<QString>("c");
    QTest::addColumn<QString>("de");
    const double w = 2.0 * M_PI * 10e6;
    QTest::newRow("1,234 µH") << w * 1.234e-6 << 10.0 << "1.234 µH"
                              << "1,234 µH";
    QTest::newRow("56,7 pF") << -1.0 / (w * 56.7e-12) << 10.0 << "56.7 pF"
                             << "56,7 pF";
    QTest::newRow("3198 pF") << -1.0 / (w * 3198.4e-12) << 10.0 << "3198 pF"
                             << "3198 pF";
    QTest::newRow("0,08163 µH") << w * 0.081634e-6 << 10.0 << "0.08163 µH"
                                << "0,08163 µH";
    QTest::newRow("12 µH") << w * 12e-6 << 10.0 << "12 µH"
                           << "12 µH";
}

void TstMessung::bauteile()
{
    QFETCH(double, x);
    QFETCH(double, f);
    QFETCH(QString, c);
    QFETCH(QString, de);
    QCOMPARE(bauteilText(x, f, QLocale::c()), c);
    QCOMPARE(bauteilText(x, f, QLocale(QLocale::German)), de);
    QCOMPARE(bauteilText(std::nullopt, f, QLocale::c()), QString());
}

void TstMessung::touchstoneHinUndZurueck()
{
    const Messdaten d = spirale();
    QLocale::setDefault(QLocale(QLocale::German));
    const QByteArray text =
        touchstoneText(d.punkte, QStringLiteral("Impedanz am Sender durch 27,5 m RG-213"));
    QLocale::setDefault(QLocale::c());
    QVERIFY(text.startsWith("! Varolinaten "));
    QVERIFY(text.contains("27,5 m RG-213\n"));
    int daten = 0;
    for (const QByteArray &zeile : text.split('\n')) {
        if (zeile.isEmpty() || zeile.startsWith('!') || zeile.startsWith('#'))
            continue;
        const QList<QByteArray> zahlen = zeile.split(' ');
        QCOMPARE(zahlen.size(), 3);
        for (const QByteArray &z : zahlen)
            QVERIFY2(z.contains('.') && !z.contains(','), zeile.constData());
        ++daten;
    }
    QCOMPARE(daten, d.punkte.size() - 2);
    QVERIFY(text.contains("# MHz S RI R 50\n"));
    QCOMPARE(text.count("! Lücke bei "), 2);

    const Messlesung wieder = messdatenAusBytes(text, QStringLiteral("x.s1p"));
    QVERIFY2(wieder.gelesen(), qPrintable(wieder.meldung));
    QCOMPARE(wieder.daten.punkte.size(), d.punkte.size() - 2);
    qsizetype j = 0;
    for (const Messpunkt &p : d.punkte) {
        if (!p.Z)
            continue;
        const Messpunkt &q = wieder.daten.punkte.at(j++);
        QVERIFY(std::abs(q.fHz - p.fHz) <= 1e-12 * p.fHz);
        QVERIFY2(relativ(*q.Z, *p.Z) <= 1e-11, qPrintable(QString::number(relativ(*q.Z, *p.Z))));
    }
}

void TstMessung::zahlschreiber_data()
{
    QTest::addColumn<double>("wert");
    QTest::addColumn<int>("stellen");
    QTest::addColumn<bool>("immerPunkt");
    QTest::addColumn<QByteArray>("c");
    QTest::addColumn<QByteArray>("deutsch");
    QTest::newRow("zehn Stellen") << 48.189356963 << 10 << false << QByteArray("48.18935696")
                                  << QByteArray("48,18935696");
    QTest::newRow("Nullen am Ende")
        << 1.00029 << 10 << false << QByteArray("1.00029") << QByteArray("1,00029");
    QTest::newRow("ganz") << -7.0 << 10 << false << QByteArray("-7") << QByteArray("-7");
    QTest::newRow("ganz mit Punkt") << 7.0 << 15 << true << QByteArray("7.0") << QByteArray("7,0");
    QTest::newRow("klein, fest") << 0.0001234567891 << 10 << false << QByteArray("0.0001234567891")
                                 << QByteArray("0,0001234567891");
    QTest::newRow("kleiner: Exponent")
        << -0.00001234 << 10 << false << QByteArray("-1.234e-05") << QByteArray("-1,234e-05");
    QTest::newRow("aufgerundet ins nächste Jahrzehnt")
        << 9.99999999996 << 10 << false << QByteArray("10") << QByteArray("10");
    QTest::newRow("aufgerundet zum Exponenten")
        << 9999999999.6 << 10 << false << QByteArray("1e+10") << QByteArray("1e+10");
    QTest::newRow("groß mit Punkt")
        << 1e20 << 15 << true << QByteArray("1.0e+20") << QByteArray("1,0e+20");
    QTest::newRow("genau halb: gerade") << 2.5 << 1 << false << QByteArray("2") << QByteArray("2");
    QTest::newRow("genau halb, klein")
        << 0.125 << 2 << false << QByteArray("0.12") << QByteArray("0,12");
    QTest::newRow("knapp unter halb") << 1.005 << 3 << false << QByteArray("1") << QByteArray("1");
    QTest::newRow("null") << 0.0 << 10 << false << QByteArray("0") << QByteArray("0");
    QTest::newRow("minus null") << -0.0 << 10 << false << QByteArray("-0") << QByteArray("-0");
    QTest::newRow("unendlich") << std::numeric_limits<double>::infinity() << 10 << true
                               << QByteArray("inf") << QByteArray("inf");
}

void TstMessung::zahlschreiber()
{
    QFETCH(double, wert);
    QFETCH(int, stellen);
    QFETCH(bool, immerPunkt);
    QFETCH(QByteArray, c);
    QFETCH(QByteArray, deutsch);
    QByteArray text("x");
    Zahlschreiber(QLocale::c(), stellen, immerPunkt)(text, wert);
    QCOMPARE(text, "x" + c);
    text.clear();
    Zahlschreiber(QLocale(QLocale::German), stellen, immerPunkt)(text, wert);
    QCOMPARE(text, deutsch);
}

void TstMessung::zahlschreiberWieToChars_data()
{
    QTest::addColumn<int>("stellen");
    QTest::addColumn<double>("von"); // decimal exponents of the magnitudes
    QTest::addColumn<double>("bis");
    QTest::addColumn<int>("nenner"); // > 0: multiples of 1/nenner, rich in halves
    QTest::newRow("10 Stellen, 1e-6 bis 1e12") << 10 << -6.0 << 12.0 << 0;
    QTest::newRow("15 Stellen, 1e-6 bis 1e17") << 15 << -6.0 << 17.0 << 0;
    QTest::newRow("6 Stellen, 1e-5 bis 1e7") << 6 << -5.0 << 7.0 << 0;
    QTest::newRow("10 Stellen, Vielfache von 1/1024") << 10 << -3.0 << 10.0 << 1024;
    QTest::newRow("3 Stellen, Vielfache von 1/8") << 3 << -1.0 << 4.0 << 8;
}

void TstMessung::zahlschreiberWieToChars()
{
    QFETCH(int, stellen);
    QFETCH(double, von);
    QFETCH(double, bis);
    QFETCH(int, nenner);
    std::mt19937_64 zufall(stellen * 1000 + nenner);
    std::uniform_real_distribution<double> exponent(von, bis);
    const Zahlschreiber zahl(QLocale::c(), stellen);
    for (int i = 0; i < 50000; ++i) {
        double wert = std::pow(10.0, exponent(zufall));
        if (nenner > 0)
            wert = std::round(wert * nenner) / nenner;
        if (i % 2 == 1)
            wert = -wert;
        char soll[64];
        const char *ende =
            std::to_chars(soll, soll + sizeof soll, wert, std::chars_format::general, stellen).ptr;
        char ist[Zahlschreiber::kPlatz];
        const char *istEnde = zahl(ist, wert);
        QVERIFY2(QByteArray(ist, istEnde - ist) == QByteArray(soll, ende - soll),
                 qPrintable(QString::number(wert, 'g', 17)));
    }
}

QTEST_GUILESS_MAIN(TstMessung)
#include "tst_messung.moc"
