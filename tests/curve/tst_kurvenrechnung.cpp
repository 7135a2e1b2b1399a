#include "kurvenrechnung.h"
#include "laufzeitfehler.h"

#include <QtTest>

#include <algorithm>

using namespace varo;

namespace {

// Fixed metrics so that the geometry does not depend on installed fonts.
Textmass festesMass()
{
    Textmass m;
    m.hoehe = [](const QString &) { return 190.0; };
    m.breite = [](const QString &text) { return 60.0 * text.size(); };
    return m;
}

KurvenAnfrage anfrage(const QString &von, const QString &bis, const QString &eingZ,
                      const QString &kabelZ, const QString &vk = QStringLiteral("0,66"),
                      const QString &lg = QStringLiteral("30"))
{
    return anfrageLesen(von, bis, eingZ, kabelZ, vk, lg);
}

// The design surface: 651 × 559 pixels.
constexpr double kW = 651 * 15.0;
constexpr double kH = 559 * 15.0;

} // namespace

class TstKurvenrechnung : public QObject
{
    Q_OBJECT

private slots:
    void impedanzTeilung_data();
    void impedanzTeilung();
    void frequenzTeilung_data();
    void frequenzTeilung();
    void achsenSpanne_data();
    void achsenSpanne();
    void achsenSpanneJenseits16Bit();
    void regeln_data();
    void regeln();
    void zuGrosseZahlWirdNichtGelesen();
    void designWerte();
    void designBeschriftungDeutsch();
    void designBeschriftungPunkt();
    void kurveBleibtImBeschriftetenBereich();
    void gleicheImpedanzenGebenGeradeLinie();
    void negativeImpedanzenOhneStrich();
    void farbgrenzen();
    void zuKleineFlaecheHaengtNicht_data();
    void zuKleineFlaecheHaengtNicht();
    void einheitBleibtAufDerFlaeche_data();
    void einheitBleibtAufDerFlaeche();
    void hoheFrequenzenZaehlenOhneUeberlauf();
};

void TstKurvenrechnung::impedanzTeilung_data()
{
    QTest::addColumn<int>("p");
    QTest::addColumn<int>("e");
    const QList<QPair<int, int>> tabelle = {
        {1, 1},      {2, 1},      {3, 2},      {4, 2},      {5, 2},       {6, 2},       {7, 2},
        {8, 2},      {9, 2},      {10, 2},     {20, 2},     {30, 4},      {40, 5},      {50, 5},
        {60, 5},     {70, 5},     {80, 5},     {90, 10},    {100, 10},    {200, 10},    {300, 25},
        {400, 25},   {500, 25},   {600, 25},   {700, 50},   {800, 25},    {900, 50},    {1000, 50},
        {2000, 100}, {3000, 100}, {4000, 200}, {5000, 250}, {10000, 500}, {32000, 1600}};
    for (const auto &[p, e] : tabelle)
        QTest::newRow(qPrintable(QString::number(p))) << p << e;
}

void TstKurvenrechnung::impedanzTeilung()
{
    QFETCH(int, p);
    QFETCH(int, e);
    QCOMPARE(int(varo::impedanzTeilung(p)), e);
}

void TstKurvenrechnung::frequenzTeilung_data()
{
    QTest::addColumn<int>("P");
    QTest::addColumn<int>("O");
    QTest::newRow("28500") << 28500 << 2000;
    QTest::newRow("9999") << 9999 << 1000;
    QTest::newRow("9994") << 9994 << 900;
    QTest::newRow("1500") << 1500 << 100;
    QTest::newRow("150") << 150 << 10;
    QTest::newRow("35") << 35 << 4;
    QTest::newRow("25") << 25 << 2;
    QTest::newRow("15") << 15 << 2;
    QTest::newRow("14") << 14 << 0;
    QTest::newRow("5") << 5 << 0;
    QTest::newRow("0") << 0 << 0;
}

void TstKurvenrechnung::frequenzTeilung()
{
    QFETCH(int, P);
    QFETCH(int, O);
    QCOMPARE(varo::frequenzTeilung(P), O);
}

void TstKurvenrechnung::achsenSpanne_data()
{
    QTest::addColumn<float>("Zq");
    QTest::addColumn<float>("ZEing");
    QTest::addColumn<float>("ZKabel");
    QTest::addColumn<int>("p");
    QTest::newRow("Zq 34.722221, 72 an 50") << 34.722221F << 72.0F << 50.0F << 40;
    QTest::newRow("50 an 50") << 50.0F << 50.0F << 50.0F << 10;
    QTest::newRow("1 an 50") << 2500.0F << 1.0F << 50.0F << 3000;
    QTest::newRow("10000 an 50") << 0.25F << 10000.0F << 50.0F << 10000;
    QTest::newRow("b 2000") << 100.0F << 2100.0F << 500.0F << 2000;
    QTest::newRow("b 3000") << 100.0F << 3100.0F << 500.0F << 4000;
    QTest::newRow("b 100") << 100.0F << 200.0F << 150.0F << 100;
    QTest::newRow("b 10.5") << 100.0F << 110.5F << 105.0F << 20;
    QTest::newRow("b 3") << 10.0F << 13.0F << 11.0F << 4;
    QTest::newRow("b 2") << 10.0F << 12.0F << 11.0F << 2;
    QTest::newRow("b 1.5") << 10.0F << 11.5F << 11.0F << 2;
    QTest::newRow("b 0.5") << 10.0F << 10.5F << 10.2F << 1;
    QTest::newRow("b 31999") << 1.0F << 32000.0F << 100.0F << 32000;
}

void TstKurvenrechnung::achsenSpanne()
{
    QFETCH(float, Zq);
    QFETCH(float, ZEing);
    QFETCH(float, ZKabel);
    QFETCH(int, p);
    QCOMPARE(AchsenSpanne(Zq, ZEing, ZKabel), p);
}

void TstKurvenrechnung::achsenSpanneJenseits16Bit()
{
    // 300 Ω cable, 60000 Ω antenna: the half-range does not fit 16 bits.
    const float zq = viertelwellenImpedanz(60000.0F, 300.0F);
    QVERIFY_THROWS_EXCEPTION(Laufzeitfehler, AchsenSpanne(zq, 60000.0F, 300.0F));
    int p = -1;
    const KurvenAnfrage a = anfrage(QStringLiteral("1,5"), QStringLiteral("30"),
                                    QStringLiteral("60000"), QStringLiteral("300"));
    QCOMPARE(kurvePruefen(a, p), kurvenmeldung::ZuGross);
    QCOMPARE(p, 0);
}

void TstKurvenrechnung::regeln_data()
{
    QTest::addColumn<QStringList>("felder"); // von, bis, eingZ, kabelZ, vk, lg
    QTest::addColumn<int>("meldung");
    QTest::addColumn<int>("regel"); // what the three rules alone say
    auto zeile = [](const char *name, const QStringList &f, int m, int r = -1) {
        QTest::newRow(name) << f << m << (r < 0 ? (m <= 3 ? m : 0) : r);
    };
    zeile("1,5 30,0 72 50 0,66 30", {"1,5", "30,0", "72", "50", "0,66", "30"}, 0);
    zeile("von = bis", {"7", "7", "72", "50", "0,66", "30"}, 1);
    zeile("von nur Komma", {",", "30", "72", "50", "0,66", "30"}, 1);
    zeile("von 0", {"0", "30", "72", "50", "0,66", "30"}, 1);
    zeile("von > bis", {"30", "1,5", "72", "50", "0,66", "30"}, 1);
    zeile("Länge 0", {"1,5", "30", "72", "50", "0,66", "0"}, 1);
    zeile("Vk leer", {"1,5", "30", "72", "50", "", "30"}, 1);
    zeile("ZEing 0 und ZKabel 0,5", {"1,5", "30", "0", "0,5", "0,66", "30"}, 1);
    zeile("ZEing 0,05", {"1,5", "30", "0,05", "50", "0,66", "30"}, 2);
    zeile("ZKabel 0,5", {"1,5", "30", "72", "0,5", "0,66", "30"}, 2);
    zeile("Vk 1", {"1,5", "30", "72", "50", "1", "30"}, 0);
    zeile("Vk 1,01", {"1,5", "30", "72", "50", "1,01", "30"}, 2);
    zeile("ZKabel 1 ZEing 0,1", {"1,5", "30", "0.1", "1", "0,66", "30"}, 0);
    zeile("ZEing 1 an 50", {"1,5", "30", "1", "50", "0,66", "30"}, 0);
    zeile("ZEing 10000 an 50", {"1,5", "30", "10000", "50", "0,66", "30"}, 0);
    zeile("ZEing 0,99 an 50", {"1,5", "30", "0,99", "50", "0,66", "30"}, 3);
    zeile("ZEing 10001 an 50", {"1,5", "30", "10001", "50", "0,66", "30"}, 3);
    zeile("ZEing 0,5 an 50", {"1,5", "30", "0,5", "50", "0,66", "30"}, 3);
    zeile("Bereich 14 kHz", {"1,5", "1,514", "72", "50", "0,66", "30"}, 4);
    zeile("Bereich 15 kHz", {"1,5", "1,515", "72", "50", "0,66", "30"}, 0);
    zeile("Bereich unter 1 kHz", {"1,5", "1,5004", "72", "50", "0,66", "30"}, 4);
    zeile("ZKabel 300 ZEing 60000", {"1,5", "30", "60000", "300", "0,66", "30"}, 5);
    zeile("bis 3000000 MHz", {"1,5", "3000000", "72", "50", "0,66", "30"}, 2, 0);
}

void TstKurvenrechnung::regeln()
{
    QFETCH(QStringList, felder);
    QFETCH(int, meldung);
    QFETCH(int, regel);
    const KurvenAnfrage a =
        anfrageLesen(felder[0], felder[1], felder[2], felder[3], felder[4], felder[5]);
    int p = 0;
    QCOMPARE(kurvePruefen(a, p), meldung);
    if (meldung == 0)
        QVERIFY(p >= 1);
    QCOMPARE(eingabeRegeln(a), regel);
}

void TstKurvenrechnung::zuGrosseZahlWirdNichtGelesen()
{
    QVERIFY_THROWS_EXCEPTION(Laufzeitfehler, anfrage(QStringLiteral("1,5"), QStringLiteral("30"),
                                                     QStringLiteral("1e39"), QStringLiteral("50")));
}

void TstKurvenrechnung::designWerte()
{
    const KurvenAnfrage a = anfrage(QStringLiteral("1,5"), QStringLiteral("30,0"),
                                    QStringLiteral("72"), QStringLiteral("50"));
    QCOMPARE(viertelwellenImpedanz(a.ZEing, a.ZKabel), 34.722221F);
    int p = 0;
    QCOMPARE(kurvePruefen(a, p), 0);
    QCOMPARE(p, 40);
    const Kurvenbild k = kurvenbildBerechnen(a, p, kW, kH, festesMass(), QLocale::c());
    QCOMPARE(int(k.impedanzSchritt), 5);
    QCOMPARE(k.kVon, 1500);
    QCOMPARE(k.kBis, 30000);
    QCOMPARE(k.frequenzSpanne, 28500);
    QCOMPARE(k.frequenzSchritt, 2000);
    QCOMPARE(k.achsenRand, 488);
    QCOMPARE(k.frequenzAchseY, 4192);
    QCOMPARE(int(k.textHoehe), 190);
    QCOMPARE(k.xStart, k.achsenRand);
    // The axis reaches 7/8 of the width; one sample per twip along it.
    QVERIFY(qAbs(k.xEnd - (kW - 2.5 * k.achsenRand + k.achsenRand)) <= 1);
    QVERIFY(qAbs(k.proben - (k.xEnd - k.xStart + 1)) <= 1);
    QCOMPARE(k.punkte.size(), k.proben - 7);
    QCOMPARE(k.punkte.first().x, k.xStart + 7);
    // 15 ticks from 1,5 MHz on, 14 labels.
    QCOMPARE(k.frequenzTicks.size(), 15);
    QCOMPARE(k.frequenzTicks.first(), k.xStart);
    QVERIFY(k.frequenzTicks.last() <= k.xEnd);
    QCOMPARE(k.yBottom, float(k.frequenzAchseY - double(k.twipsProOhm) * 40));
}

void TstKurvenrechnung::designBeschriftungDeutsch()
{
    const KurvenAnfrage a = anfrage(QStringLiteral("1,5"), QStringLiteral("30,0"),
                                    QStringLiteral("72"), QStringLiteral("50"));
    const Kurvenbild k = kurvenbildBerechnen(a, 40, kW, kH, festesMass(), QLocale(QLocale::German));
    QStringList erwartet;
    for (int g = 3500; g <= 29500; g += 2000)
        erwartet << QStringLiteral("%1,5").arg(g / 1000);
    QCOMPARE(k.frequenzLabels, erwartet);
    QVERIFY(!k.frequenzLabels.contains(QStringLiteral("1,5")));

    QStringList impedanzen;
    for (const QString &label : k.impedanzLabels) {
        QCOMPARE(label.size(), 8);
        QVERIFY(label.startsWith(QLatin1Char(' ')));
        impedanzen << label.trimmed();
    }
    QCOMPARE(impedanzen.first(), QStringLiteral("10"));
    QVERIFY(impedanzen.size() >= 16);
    for (int i = 0; i < impedanzen.size(); ++i)
        QCOMPARE(impedanzen[i].toInt(), 10 + 5 * i);
    QVERIFY(impedanzen.last().toInt() <= 90);

    const auto hat = [&k](const QString &text) {
        return std::any_of(k.texte.begin(), k.texte.end(),
                           [&text](const Beschriftung &b) { return b.text == text; });
    };
    for (const char *text : {"[Ohm]", "Ausgangsimpedanz ", "[MHz]", "f"})
        QVERIFY2(hat(QString::fromUtf8(text)), text);
    QVERIFY(hat(kurvenTitel));
}

void TstKurvenrechnung::designBeschriftungPunkt()
{
    const KurvenAnfrage a = anfrage(QStringLiteral("1.5"), QStringLiteral("30.0"),
                                    QStringLiteral("72"), QStringLiteral("50"));
    const Kurvenbild k = kurvenbildBerechnen(a, 40, kW, kH, festesMass(), QLocale::c());
    QCOMPARE(k.frequenzLabels.first(), QStringLiteral("3.5"));
    QCOMPARE(k.frequenzLabels.last(), QStringLiteral("29.5"));
}

void TstKurvenrechnung::kurveBleibtImBeschriftetenBereich()
{
    // The curve swings between Zq = 34.72 and ZEing = 72 Ω; on the axis
    // 10 Ω sits at yBottom and one ohm is M twips.
    const KurvenAnfrage a = anfrage(QStringLiteral("1,5"), QStringLiteral("30,0"),
                                    QStringLiteral("72"), QStringLiteral("50"));
    const Kurvenbild k = kurvenbildBerechnen(a, 40, kW, kH, festesMass(), QLocale::c());
    const auto [tief, hoch] =
        std::minmax_element(k.punkte.begin(), k.punkte.end(),
                            [](const Kurvenpunkt &l, const Kurvenpunkt &r) { return l.y < r.y; });
    const double ohmTief = 10 + (tief->y - k.yBottom) / k.twipsProOhm;
    const double ohmHoch = 10 + (hoch->y - k.yBottom) / k.twipsProOhm;
    QVERIFY2(ohmTief > 34.0 && ohmTief < 36.0, qPrintable(QString::number(ohmTief)));
    QVERIFY2(ohmHoch > 71.0 && ohmHoch < 72.5, qPrintable(QString::number(ohmHoch)));
    bool farben[13] = {};
    for (const Kurvenpunkt &punkt : k.punkte)
        farben[punkt.farbe] = true;
    QVERIFY(farben[kurvenfarbe::Gruen]);
    QVERIFY(farben[kurvenfarbe::Magenta]);
    QVERIFY(farben[kurvenfarbe::Rot]);
}

void TstKurvenrechnung::gleicheImpedanzenGebenGeradeLinie()
{
    const KurvenAnfrage a = anfrage(QStringLiteral("1,5"), QStringLiteral("30,0"),
                                    QStringLiteral("50"), QStringLiteral("50"));
    int p = 0;
    QCOMPARE(kurvePruefen(a, p), 0);
    QCOMPARE(p, 10);
    const Kurvenbild k = kurvenbildBerechnen(a, p, kW, kH, festesMass(), QLocale::c());
    QCOMPARE(int(k.impedanzSchritt), 2);
    QVERIFY(!k.punkte.isEmpty());
    for (const Kurvenpunkt &punkt : k.punkte)
        QCOMPARE(punkt.y, k.frequenzAchseY);
}

void TstKurvenrechnung::negativeImpedanzenOhneStrich()
{
    const KurvenAnfrage a = anfrage(QStringLiteral("1,5"), QStringLiteral("30,0"),
                                    QStringLiteral("1"), QStringLiteral("50"));
    int p = 0;
    QCOMPARE(kurvePruefen(a, p), 0);
    QCOMPARE(p, 3000);
    const Kurvenbild k = kurvenbildBerechnen(a, p, kW, kH, festesMass(), QLocale::c());
    QCOMPARE(int(k.impedanzSchritt), 100);
    QCOMPARE(k.impedanzWerte.first(), 50 - 3000);
    QCOMPARE(k.impedanzLabels.first().trimmed(), QStringLiteral("50"));
    const auto negativ = std::count_if(k.impedanzWerte.begin(), k.impedanzWerte.end(),
                                       [](qint32 w) { return w < 0; });
    QCOMPARE(k.impedanzLabels.size(), k.impedanzWerte.size() - negativ);
    // The axis line still spans the whole range, below the first labelled tick.
    const QLineF achse = k.linien.first();
    QVERIFY(achse.y1() < k.yBottom);
    QVERIFY(achse.y2() > k.yTop);
}

void TstKurvenrechnung::farbgrenzen()
{
    QCOMPARE(GrenzeOben(72.0F, 50.0F), 69.8F);
    QCOMPARE(GrenzeUnten(72.0F, 50.0F), 36.922222F);
    QCOMPARE(punktFarbe(70.0F, 69.8F, 36.922222F), kurvenfarbe::Gruen);
    QCOMPARE(punktFarbe(69.8F, 69.8F, 36.922222F), kurvenfarbe::Magenta);
    QCOMPARE(punktFarbe(36.922222F, 69.8F, 36.922222F), kurvenfarbe::Magenta);
    QCOMPARE(punktFarbe(36.9F, 69.8F, 36.922222F), kurvenfarbe::Rot);
}

void TstKurvenrechnung::zuKleineFlaecheHaengtNicht_data()
{
    QTest::addColumn<double>("W");
    QTest::addColumn<double>("H");
    QTest::newRow("0 x 0") << 0.0 << 0.0;
    QTest::newRow("9765 x 1200") << 9765.0 << 1200.0;
    QTest::newRow("15 x 8385") << 15.0 << 8385.0;
    QTest::newRow("150 x 150") << 150.0 << 150.0;
}

void TstKurvenrechnung::zuKleineFlaecheHaengtNicht()
{
    QFETCH(double, W);
    QFETCH(double, H);
    const KurvenAnfrage a = anfrage(QStringLiteral("1,5"), QStringLiteral("30,0"),
                                    QStringLiteral("72"), QStringLiteral("50"));
    try {
        const Kurvenbild k = kurvenbildBerechnen(a, 40, W, H, festesMass(), QLocale::c());
        QVERIFY(k.xEnd > k.xStart);
        QVERIFY(k.twipsProOhm > 0.0F);
    } catch (const Laufzeitfehler &fehler) {
        QCOMPARE(fehler.nummer(), int(fehler::DivisionDurchNull));
    }
}

void TstKurvenrechnung::einheitBleibtAufDerFlaeche_data()
{
    QTest::addColumn<double>("zeichenbreite"); // twips per character
    QTest::addColumn<QString>("bis");
    QTest::newRow("Entwurf") << 60.0 << "30,0";
    QTest::newRow("breite Schrift") << 100.0 << "30,0";
    QTest::newRow("lange Beschriftung") << 100.0 << "29,9875";
}

void TstKurvenrechnung::einheitBleibtAufDerFlaeche()
{
    QFETCH(double, zeichenbreite);
    QFETCH(QString, bis);
    Textmass mass = festesMass();
    mass.breite = [zeichenbreite](const QString &text) { return zeichenbreite * text.size(); };
    const KurvenAnfrage a =
        anfrage(QStringLiteral("1,5"), bis, QStringLiteral("72"), QStringLiteral("50"));
    int p = 0;
    QCOMPARE(kurvePruefen(a, p), kurvenmeldung::Keine);
    const Kurvenbild k = kurvenbildBerechnen(a, p, kW, kH, mass, QLocale::c());
    int gefunden = 0;
    for (const Beschriftung &t : k.texte) {
        if (t.text != QLatin1String("[MHz]") && t.text != QLatin1String("f"))
            continue;
        ++gefunden;
        const double rechts = t.ort.x() + mass.breite(t.text);
        QVERIFY2(rechts <= kW,
                 qPrintable(t.text + QStringLiteral(" bis ") + QString::number(rechts)));
        // Moved left only by what ran over: right of the axis end, or flush with the edge.
        QVERIFY(t.ort.x() >= double(k.twipsProKHz) * k.frequenzSpanne + k.achsenRand ||
                qFuzzyCompare(rechts, kW));
    }
    QCOMPARE(gefunden, 2);
}

void TstKurvenrechnung::hoheFrequenzenZaehlenOhneUeberlauf()
{
    const KurvenAnfrage a = anfrage(QStringLiteral("1,5"), QStringLiteral("2147483"),
                                    QStringLiteral("72"), QStringLiteral("50"));
    int p = 0;
    QCOMPARE(kurvePruefen(a, p), kurvenmeldung::Keine);
    const Kurvenbild k = kurvenbildBerechnen(a, p, kW, kH, festesMass(), QLocale::c());
    QVERIFY(!k.frequenzLabels.isEmpty());
    for (const QString &label : k.frequenzLabels) {
        const double mhz = label.toDouble();
        QVERIFY2(mhz > 1.5 && mhz <= 2147483.0, qPrintable(label));
    }
}

QTEST_GUILESS_MAIN(TstKurvenrechnung)
#include "tst_kurvenrechnung.moc"
