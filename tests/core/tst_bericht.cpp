#include "bericht.h"
#include "dokumentberichtsfeld.h"
#include "drucker.h"
#include "fake_drucker.h"
#include "fake_oberflaeche.h"
#include "laufzeitfehler.h"
#include "werte.h"

#include <QTest>
#include <QTextBlock>

#include <new>

using namespace varo;

namespace {

const QString ZE = QStringLiteral("\r\n");

QString trenn()
{
    return QStringLiteral(" ") + QString(80, QChar(0x2014)) + ZE;
}

struct Umgebung
{
    Programmwerte werte;
    DokumentBerichtsfeld feld;
    FakeDrucker drucker;
    FakeOberflaeche ui;
    Rechenkontext kontext{werte, feld, drucker, ui, QLocale::c()};
};

QTextBlock blockMit(QTextDocument &dokument, const QString &anfang)
{
    for (QTextBlock b = dokument.begin(); b.isValid(); b = b.next()) {
        if (b.text().startsWith(anfang))
            return b;
    }
    return {};
}

int ausrichtung(const QTextBlock &block)
{
    return int(block.blockFormat().alignment() & Qt::AlignHorizontal_Mask);
}

} // namespace

Q_DECLARE_METATYPE(varo::Antwort)

class TstBericht : public QObject
{
    Q_OBJECT

private slots:
    void druckerEinrichten_data();
    void druckerEinrichten();
    void druckerEinrichtenOhneDrucker();
    void druckerEinrichtenStellt();
    void feldRechts_data();
    void feldRechts();
    void festeTexte();
    void liestSichAlsZahl_data();
    void liestSichAlsZahl();
    void seitenumbruch();
    void textAusgeben();
    void lauf_data();
    void lauf();
    void laufSchleife_data();
    void laufSchleife();
    void laufBeendenNachSchritt();
    void laufSpeicherMangel();
    void laufDruckregeln_data();
    void laufDruckregeln();
    void bestEffort();
};

void TstBericht::druckerEinrichten_data()
{
    QTest::addColumn<int>("breite");
    QTest::addColumn<int>("hoeheTwips");
    QTest::addColumn<double>("zeilenhoehe");
    QTest::addColumn<QStringList>("fehlend");
    QTest::addColumn<int>("zeilen");

    // 16838 twips are 296.97 mm: (296.97 - 5) / 4 = 72.99.
    QTest::newRow("A4 hoch, 4 mm") << 80 << 16838 << 4.0 << QStringList() << 73;
    QTest::newRow("Höhe 0 gilt als 297 mm") << 80 << 0 << 4.0 << QStringList() << 73;
    QTest::newRow("Höhe 0 quer gilt als 210 mm") << 81 << 0 << 4.0 << QStringList() << 51;
    QTest::newRow("Textöhe 0 gilt als 4 mm") << 80 << 0 << 0.0 << QStringList() << 73;
    QTest::newRow("negative Texthöhe gilt als 4 mm") << 80 << 0 << -3.0 << QStringList() << 73;
    QTest::newRow("Texthöhe fehlt") << 80 << 0 << 8.0 << QStringList{"textHoehe"} << 73;
    QTest::newRow("Seitenhöhe fehlt") << 80 << 5000 << 4.0 << QStringList{"seitenhoeheTwips"} << 73;
    // 292 / 8 = 36.5 and 205 / 2 = 102.5: halves go to the even neighbour.
    QTest::newRow("36,5 wird 36") << 80 << 0 << 8.0 << QStringList() << 36;
    QTest::newRow("102,5 wird 102") << 100 << 0 << 2.0 << QStringList() << 102;
    QTest::newRow("kleine Seite") << 80 << 3912 << 4.0 << QStringList() << 16;
    QTest::newRow("riesige Seite passt nicht in 16 Bit")
        << 80 << 2000000000 << 0.001 << QStringList() << 0;
}

void TstBericht::druckerEinrichten()
{
    QFETCH(int, breite);
    QFETCH(int, hoeheTwips);
    QFETCH(double, zeilenhoehe);
    QFETCH(QStringList, fehlend);
    QFETCH(int, zeilen);

    FakeDrucker d;
    d.hoeheTwips = hoeheTwips;
    d.zeilenhoehe = zeilenhoehe;
    d.fehlend = fehlend;
    QCOMPARE(int(DruckerEinrichten(qint16(breite), d)), zeilen);
}

void TstBericht::druckerEinrichtenOhneDrucker()
{
    KeinDrucker d;
    QCOMPARE(int(DruckerEinrichten(80, d)), 73);
    QCOMPARE(int(DruckerEinrichten(200, d)), 51);
}

void TstBericht::druckerEinrichtenStellt()
{
    FakeDrucker d;
    d.lage = Seitenlage::Querformat;
    DruckerEinrichten(80, d);
    QCOMPARE(d.einheit, Masseinheit::Millimeter);
    QCOMPARE(d.schrift, QStringLiteral("Courier New"));
    QCOMPARE(d.groesse, 10.0);
    // Upright for the measurement, then back to what it was.
    QCOMPARE(d.seitenlagen, (QList{Seitenlage::Hochformat, Seitenlage::Querformat}));

    FakeDrucker breit;
    breit.lage = Seitenlage::Hochformat;
    DruckerEinrichten(121, breit);
    QCOMPARE(breit.groesse, 8.0);
    QCOMPARE(breit.seitenlagen, (QList{Seitenlage::Querformat, Seitenlage::Hochformat}));

    // A printer that cannot tell its orientation is put back upright.
    FakeDrucker stumm;
    stumm.lage = Seitenlage::Querformat;
    stumm.fehlend = QStringList{"seitenlage", "setMasseinheit"};
    DruckerEinrichten(120, stumm);
    QCOMPARE(stumm.groesse, 10.0);
    QCOMPARE(stumm.einheit, Masseinheit::Twips);
    QCOMPARE(stumm.seitenlagen, (QList{Seitenlage::Querformat, Seitenlage::Hochformat}));
}

void TstBericht::feldRechts_data()
{
    QTest::addColumn<QString>("wert");
    QTest::addColumn<int>("breite");
    QTest::addColumn<QString>("feld");
    QTest::newRow("6.972 m in 33") << "6.972 m" << 33 << QString(26, ' ') + "6.972 m";
    QTest::newRow("genau passend") << "abc" << 3 << "abc";
    QTest::newRow("zu lang behält den Anfang") << "123456789" << 5 << "12345";
    QTest::newRow("leer") << "" << 4 << "    ";
}

void TstBericht::feldRechts()
{
    QFETCH(QString, wert);
    QFETCH(int, breite);
    QFETCH(QString, feld);
    QCOMPARE(varo::feldRechts(wert, breite), feld);
}

void TstBericht::festeTexte()
{
    QCOMPARE(Trennlinie(), trenn());
    QCOMPARE(Trennlinie().size(), 83);
    QCOMPARE(Gruss(), QStringLiteral(" Immer ein gutes Stehwellen-Verhältnis wünscht Ihnen Velmo"));
    QCOMPARE(Gruss().size(), 58);
    QCOMPARE(Seitenzeile(2), QString(73, ' ') + QStringLiteral("Seite 2"));
    QCOMPARE(Seitenzeile(12).size(), 80);
    QVERIFY(Seitenzeile(12).endsWith(QStringLiteral(" Seite 12")));
}

void TstBericht::liestSichAlsZahl_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("zahl");
    QTest::newRow("213") << "213" << true;
    QTest::newRow(" 12 ") << " 12 " << true;
    QTest::newRow("-1,5") << "-1,5" << true;
    QTest::newRow("+0.66") << "+0.66" << true;
    QTest::newRow(".5") << ".5" << true;
    QTest::newRow("RG 213") << "RG 213" << false;
    QTest::newRow("12mm") << "12mm" << false;
    QTest::newRow("1.5.6") << "1.5.6" << false;
    QTest::newRow("leer") << "" << false;
    QTest::newRow("Vorzeichen allein") << "-" << false;
}

void TstBericht::liestSichAlsZahl()
{
    QFETCH(QString, text);
    QFETCH(bool, zahl);
    QCOMPARE(varo::liestSichAlsZahl(text), zahl);
}

void TstBericht::seitenumbruch()
{
    // 73 lines per page (no printer): the first break follows row 60,
    // the next one 67 rows later; the label is right-aligned.
    Umgebung u;
    u.drucker.fehlend = QStringList{"seitenhoeheTwips", "textHoehe"};
    Bericht b(u.kontext);
    b.seitenlaengeErmitteln();
    QCOMPARE(b.seitenlaenge(), 73);
    b.beginnen(QStringLiteral("T"));
    b.kopfAnhaengen(QStringLiteral(" K") + ZE + ZE);
    const QString kopf = QStringLiteral(" Spalten") + ZE;
    b.spaltenkopfAnhaengen(kopf);
    QString erwartet =
        QStringLiteral("T") + ZE + ZE + QStringLiteral(" K") + ZE + ZE + kopf + trenn();
    for (int i = 1; i <= 128; ++i) {
        const QString zeile = QString::number(i) + ZE;
        b.zeileAnhaengen(zeile);
        b.seitenumbruchPruefen();
        erwartet += zeile;
        if (i == 60 || i == 127) {
            erwartet +=
                trenn() + ZE + ZE + ZE + ZE + Seitenzeile(i == 60 ? 2 : 3) + ZE + kopf + trenn();
        }
    }
    QCOMPARE(u.feld.text(), erwartet);
    QCOMPARE(b.seite(), 3);
    QCOMPARE(b.zeilen(), 3);
}

void TstBericht::textAusgeben()
{
    Umgebung u;
    Bericht b(u.kontext);
    b.beginnen(QStringLiteral("Varolinaten-Berechnung"));
    QVERIFY(!u.feld.sichtbar());
    b.kopfAnhaengen(QStringLiteral(" Kopf") + ZE + ZE);
    b.spaltenkopfAnhaengen(QStringLiteral(" Spalte") + ZE);
    b.zeileAnhaengen(QStringLiteral("   Zeile") + ZE);
    b.schlussAnhaengen(QStringLiteral("  Bemerkung"));
    b.formatieren();

    const QString text = u.feld.text();
    const auto pruefe = [&](const QString &teil, const QString &schrift, double groesse, bool fett,
                            const QColor &farbe) {
        const int start = text.indexOf(teil);
        QVERIFY2(start >= 0, qPrintable(teil));
        u.feld.setSelStart(start);
        u.feld.setSelLength(teil.size());
        const Zeichenattribute a = u.feld.selAttribute();
        QCOMPARE(a.schriftname.value_or(QString()), schrift);
        QCOMPARE(a.groesse.value_or(0), groesse);
        QCOMPARE(a.fett.value_or(!fett), fett);
        QCOMPARE(a.farbe.value_or(QColor()), farbe);
    };
    const QColor schwarz(Qt::black);
    pruefe(QStringLiteral("Varolinaten-Berechnung"), "Courier New", 16, true, QColor(128, 0, 128));
    pruefe(QStringLiteral(" Kopf"), "Courier New", 10, true, schwarz);
    pruefe(QStringLiteral(" Spalte") + ZE + trenn() + QStringLiteral("   Zeile") + ZE + trenn(),
           "Courier New", 10, false, schwarz);
    pruefe(QStringLiteral("  Bemerkung"), "Tahoma", 10, false, schwarz);
    pruefe(Gruss(), "Tahoma", 8, false, schwarz);
    QCOMPARE(u.feld.selStart(), text.indexOf(Gruss()));

    // The caret ends at the start with nothing selected (checked before the probes above moved it).
    Umgebung v;
    Bericht c(v.kontext);
    c.beginnen(QStringLiteral("T"));
    c.kopfAnhaengen(ZE);
    c.spaltenkopfAnhaengen(ZE);
    c.schlussAnhaengen(QString());
    c.formatieren();
    QCOMPARE(v.feld.selStart(), 0);
    QCOMPARE(v.feld.selLength(), 0);

    QTextDocument &doc = u.feld.dokument();
    QCOMPARE(ausrichtung(blockMit(doc, "Varolinaten-Berechnung")), int(Qt::AlignHCenter));
    QCOMPARE(ausrichtung(blockMit(doc, Gruss())), int(Qt::AlignHCenter));
    QCOMPARE(ausrichtung(blockMit(doc, "  Bemerkung")), int(Qt::AlignLeft));
    QCOMPARE(ausrichtung(blockMit(doc, " Kopf")), int(Qt::AlignLeft));
    QCOMPARE(ausrichtung(blockMit(doc, "   Zeile")), int(Qt::AlignLeft));
}

void TstBericht::lauf_data()
{
    QTest::addColumn<int>("fehler");
    QTest::addColumn<QList<Antwort>>("antworten");
    QTest::addColumn<QString>("ausgefuehrt");
    QTest::addColumn<int>("ergebnis");
    QTest::addColumn<int>("pieps");
    QTest::addColumn<QString>("meldung");

    using A = Antwort;
    const QString hinweis = QStringLiteral(" ( Drucker ? )");
    // Step "b" fails on its first try with the error number.
    QTest::newRow("ohne Fehler") << 0 << QList<A>() << "abc" << int(Rechenergebnis::Bericht) << 0
                                 << QString();
    QTest::newRow("482 Wiederholen")
        << 482 << QList<A>{A::Wiederholen} << "abbc" << int(Rechenergebnis::Bericht) << 1
        << "Druckerfehler" + ZE + hinweis;
    QTest::newRow("68 Ignorieren")
        << 68 << QList<A>{A::Ignorieren} << "abc" << int(Rechenergebnis::Bericht) << 1
        << QStringLiteral("Gerät nicht verfügbar") + ZE + hinweis;
    QTest::newRow("484 Abbruch") << 484 << QList<A>{A::Abbruch} << "ab"
                                 << int(Rechenergebnis::Abgebrochen) << 1
                                 << Laufzeitfehler::beschreibungFuer(484) + ZE + hinweis;
    QTest::newRow("6 ohne Druckerhinweis")
        << 6 << QList<A>{A::Ignorieren} << "abc" << int(Rechenergebnis::Bericht) << 1
        << QStringLiteral("Überlauf") + ZE;
    QTest::newRow("11 zwei Pieps ohne Meldung")
        << 11 << QList<A>() << "ab" << int(Rechenergebnis::Abgelehnt) << 2 << QString();
}

void TstBericht::lauf()
{
    QFETCH(int, fehler);
    QFETCH(QList<Antwort>, antworten);
    QFETCH(QString, ausgefuehrt);
    QFETCH(int, ergebnis);
    QFETCH(int, pieps);
    QFETCH(QString, meldung);

    Umgebung u;
    u.ui.antworten = antworten;
    u.feld.setSichtbar(false);
    QString spur;
    int versuche = 0;
    Schrittlauf lauf(u.kontext);
    lauf.schritt([&] { spur += 'a'; });
    lauf.schritt([&] {
        spur += 'b';
        if (fehler != 0 && versuche++ == 0)
            throw Laufzeitfehler(fehler);
    });
    lauf.schritt([&] { spur += 'c'; });

    QCOMPARE(int(lauf.ausfuehren()), ergebnis);
    // Ignore leaves out the rest of the failed step but goes on.
    QCOMPARE(spur, ausgefuehrt);
    QCOMPARE(u.ui.pieps, pieps);
    if (meldung.isEmpty()) {
        QVERIFY(u.ui.meldungen.isEmpty());
    } else {
        QCOMPARE(u.ui.meldungen.size(), 1);
        QCOMPARE(u.ui.meldungen[0].text, meldung);
        QCOMPARE(u.ui.meldungen[0].titel, QStringLiteral(" Fehler !"));
        QCOMPARE(u.ui.meldungen[0].symbol, Symbol::Ausrufezeichen);
        QCOMPARE(u.ui.meldungen[0].knoepfe, Knoepfe::AbbrechenWiederholenIgnorieren);
    }
    if (fehler != 0) {
        QVERIFY(u.ui.normaleZeiger >= 1);
        // Retry and Ignore bring the hourglass back; an end shows the box again.
        const bool weiter = ergebnis == int(Rechenergebnis::Bericht);
        QCOMPARE(u.ui.sanduhrAktiv, weiter);
        QCOMPARE(u.feld.sichtbar(), !weiter);
    } else {
        QVERIFY(!u.feld.sichtbar()); // a run without error leaves the box to the calculation
    }
}

void TstBericht::laufSchleife_data()
{
    QTest::addColumn<bool>("zaehlerFehler");
    QTest::addColumn<Antwort>("antwort");
    QTest::addColumn<QString>("spur");
    QTest::newRow("Durchlauf 2 ignoriert") << false << Antwort::Ignorieren << "<0134>";
    QTest::newRow("Durchlauf 2 wiederholt") << false << Antwort::Wiederholen << "<01234>";
    QTest::newRow("Zählerfehler ignoriert: keine Durchläufe")
        << true << Antwort::Ignorieren << "<>";
    QTest::newRow("Zählerfehler wiederholt") << true << Antwort::Wiederholen << "<01234>";
}

void TstBericht::laufSchleife()
{
    QFETCH(bool, zaehlerFehler);
    QFETCH(Antwort, antwort);
    QFETCH(QString, spur);

    Umgebung u;
    u.ui.antworten = {antwort};
    QString s;
    bool gescheitert = false;
    Schrittlauf lauf(u.kontext);
    lauf.schritt([&] { s += '<'; });
    lauf.schleife(
        [&]() -> qint64 {
            if (zaehlerFehler && !gescheitert) {
                gescheitert = true;
                throw Laufzeitfehler(fehler::Ueberlauf);
            }
            return 5;
        },
        [&](qint64 i) {
            if (!zaehlerFehler && i == 2 && !gescheitert) {
                gescheitert = true;
                throw Laufzeitfehler(fehler::Druckerfehler);
            }
            s += QString::number(i);
        });
    lauf.schritt([&] { s += '>'; });
    QCOMPARE(lauf.ausfuehren(), Rechenergebnis::Bericht);
    QCOMPARE(s, spur);
    QCOMPARE(u.ui.meldungen.size(), 1);
}

void TstBericht::laufBeendenNachSchritt()
{
    Umgebung u;
    QString s;
    Schrittlauf lauf(u.kontext);
    lauf.schritt([&] {
        s += 'a';
        lauf.beenden(Rechenergebnis::Hinweis);
        s += 'b';
    });
    lauf.schritt([&] { s += 'c'; });
    QCOMPARE(lauf.ausfuehren(), Rechenergebnis::Hinweis);
    QCOMPARE(s, QStringLiteral("ab"));
}

void TstBericht::laufSpeicherMangel()
{
    Umgebung u;
    Schrittlauf lauf(u.kontext);
    lauf.schritt([] { throw std::bad_alloc(); });
    QCOMPARE(lauf.ausfuehren(), Rechenergebnis::Abgebrochen);
    QCOMPARE(u.ui.meldungen.size(), 1);
    QCOMPARE(u.ui.meldungen[0].text, QStringLiteral("Nicht genügend Speicher") + ZE);
}

void TstBericht::laufDruckregeln_data()
{
    QTest::addColumn<int>("fehler");
    QTest::addColumn<QList<Antwort>>("antworten");
    QTest::addColumn<QString>("ausgefuehrt");
    QTest::addColumn<int>("meldungen");
    QTest::addColumn<int>("ergebnis");

    using A = QList<Antwort>;
    const int abbruch = int(Rechenergebnis::Abgebrochen);
    const int bericht = int(Rechenergebnis::Bericht);
    // A cancel in a print dialog ends the command without a word.
    QTest::newRow("Abbrechen im Dialog") << 32755 << A{} << "ab" << 0 << abbruch;
    // Division by zero is a printer's error like any other here.
    QTest::newRow("11 fragt") << 11 << A{Antwort::Ignorieren} << "abc" << 1 << bericht;
    QTest::newRow("482 wiederholt") << 482 << A{Antwort::Wiederholen} << "abbc" << 1 << bericht;
    QTest::newRow("482 abgebrochen") << 482 << A{Antwort::Abbruch} << "ab" << 1 << abbruch;
}

void TstBericht::laufDruckregeln()
{
    QFETCH(int, fehler);
    QFETCH(QList<Antwort>, antworten);
    QFETCH(QString, ausgefuehrt);
    QFETCH(int, meldungen);
    QFETCH(int, ergebnis);

    FakeOberflaeche ui;
    ui.antworten = antworten;
    QString spur;
    int versuche = 0;
    Schrittlauf lauf(ui, Fehlerregeln::drucken());
    lauf.schritt([&] { spur += 'a'; });
    lauf.schritt([&] {
        spur += 'b';
        if (versuche++ == 0)
            throw Laufzeitfehler(fehler);
    });
    lauf.schritt([&] { spur += 'c'; });

    QCOMPARE(int(lauf.ausfuehren()), ergebnis);
    QCOMPARE(spur, ausgefuehrt);
    QCOMPARE(ui.pieps, 0);
    QCOMPARE(int(ui.meldungen.size()), meldungen);
    if (meldungen > 0) {
        QCOMPARE(ui.meldungen[0].titel, QStringLiteral("Drucker-Fehler?"));
        QCOMPARE(ui.meldungen[0].text,
                 Laufzeitfehler::beschreibungFuer(fehler) + ZE + QStringLiteral("Wiederholen ? "));
    }
    // The pointer is normal again however the command ended.
    QVERIFY(ui.normaleZeiger >= 1);
}

void TstBericht::bestEffort()
{
    FakeOberflaeche ui;
    int weiter = 0;
    QVERIFY(!stillVersuchen([] { throw Laufzeitfehler(fehler::DruckerInformation); }));
    QVERIFY(stillVersuchen([&] { ++weiter; }));
    QVERIFY(ui.meldungen.isEmpty());

    QVERIFY(!versuchenMitMeldung([] { throw Laufzeitfehler(fehler::Ueberlauf); }, ui,
                                 QStringLiteral("Titel")));
    QCOMPARE(ui.meldungen.size(), 1);
    QCOMPARE(ui.meldungen[0].text, QStringLiteral("Überlauf"));
    QCOMPARE(ui.meldungen[0].titel, QStringLiteral("Titel"));
    QVERIFY(versuchenMitMeldung([&] { ++weiter; }, ui, QStringLiteral("Titel")));
    QCOMPARE(ui.meldungen.size(), 1);
    QCOMPARE(weiter, 2);
}

QTEST_GUILESS_MAIN(TstBericht)
#include "tst_bericht.moc"
