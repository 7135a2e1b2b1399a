#include "fake_oberflaeche.h"
#include "kabeltabelle.h"
#include "laufzeitfehler.h"
#include "werte.h"

#include <QTest>

using namespace varo;

namespace {

// A drop-down that records what the loader does to it.
class Liste : public KabelListe
{
public:
    QStringList eintraege;
    int auswahl = -1;
    QString text;

    void eintragHinzufuegen(const QString &t) override { eintraege << t; }
    int anzahl() const override { return int(eintraege.size()); }
    void setAuswahl(int index) override
    {
        auswahl = index;
        text = eintraege.at(index);
    }
    void setText(const QString &t) override { text = t; }
};

QString daten(const char *datei)
{
    return QStringLiteral(VARO_TESTDATEN "/kabel/") + QLatin1String(datei);
}

const QLocale deutsch(QLocale::German, QLocale::Germany);

} // namespace

class TstKabeltabelle : public QObject
{
    Q_OBJECT

private slots:
    void zerlegen_data();
    void zerlegen();
    void itemText_data();
    void itemText();
    void zeilenLesen_data();
    void zeilenLesen();
    void dateiZeilen_data();
    void dateiZeilen();
    void ladenFehlt();
    void ladenEchteTabelle();
    void ladenAnsi();
    void ladenOhneZeilen_data();
    void ladenOhneZeilen();
    void daempfung_data();
    void daempfung();
    void daempfungFehler_data();
    void daempfungFehler();
};

void TstKabeltabelle::zerlegen_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<float>("vk");
    QTest::addColumn<QString>("typ");
    QTest::addColumn<QString>("daempfung");

    QTest::newRow("0,66 RG58             d=100/6,5")
        << "0,66 RG58             d=100/6,5" << 0.66F << "RG58"
        << "d=100/6,5";
    QTest::newRow("0,66 RG 213 d=100/6,8") << "0,66 RG 213 d=100/6,8" << 0.66F << "RG 213"
                                           << "d=100/6,8";
    QTest::newRow("0.66 ohne Blank") << "0.66" << 0.66F << "0.66"
                                     << "";
    QTest::newRow("0.66 d=100/5 gleich nach dem Blank") << "0.66 d=100/5" << 0.66F << "d=100/5"
                                                        << "";
    QTest::newRow("0.66  RG58 mit zwei Blanks") << "0.66  RG58" << 0.66F << " RG58"
                                                << "";
    QTest::newRow("0,66 RG58 mit Füllblanks") << "0,66 RG58         " << 0.66F << "RG58"
                                              << "";
    QTest::newRow("0.8 12mm") << "0.8 12mm" << 0.812F << "12mm"
                              << "";
    QTest::newRow("leer") << "" << 0.0F << ""
                          << "";
}

void TstKabeltabelle::zerlegen()
{
    QFETCH(QString, text);
    QFETCH(float, vk);
    QFETCH(QString, typ);
    QFETCH(QString, daempfung);
    const Kabeltyp k = kabelZerlegen(text);
    QCOMPARE(k.Vk, vk);
    QCOMPARE(k.Typ, typ);
    QCOMPARE(k.Daempfung, daempfung);
}

void TstKabeltabelle::itemText_data()
{
    QTest::addColumn<float>("vk");
    QTest::addColumn<QString>("typ");
    QTest::addColumn<QString>("daempfung");
    QTest::addColumn<bool>("komma");
    QTest::addColumn<QString>("item");

    QTest::newRow("0,66 RG58 d=100/6,5")
        << 0.66F << "RG58"
        << "d=100/6,5" << true << "0,66 RG58" + QString(13, ' ') + " d=100/6,5";
    QTest::newRow("0.66 RG58 d=100/6,5")
        << 0.66F << "RG58"
        << "d=100/6,5" << false << "0.66 RG58" + QString(13, ' ') + " d=100/6,5";
    QTest::newRow("0,6666 wird 0,667") << 0.6666F << "X"
                                       << "" << true << "0,667 X" + QString(15, ' ') + " ";
    QTest::newRow("0,5 RG") << 0.5F << "RG"
                            << "" << true << "0,5 RG" + QString(17, ' ');
    // A head of 18 characters is still padded, one of 19 is not.
    QTest::newRow("Kopf 18") << 0.66F << "1234567890123"
                             << "d=1/1" << true << "0,66 1234567890123     d=1/1";
    QTest::newRow("Kopf 19") << 0.66F << "12345678901234"
                             << "d=1/1" << true << "0,66 12345678901234 d=1/1";
    QTest::newRow("Typ leer") << 0.66F << ""
                              << "" << true << "0,66" + QString(19, ' ');
}

void TstKabeltabelle::itemText()
{
    QFETCH(float, vk);
    QFETCH(QString, typ);
    QFETCH(QString, daempfung);
    QFETCH(bool, komma);
    QFETCH(QString, item);
    const QString text = kabelItemText({vk, typ, daempfung}, komma ? deutsch : QLocale::c());
    QCOMPARE(text, item);
    if (typ == QLatin1String("RG58"))
        QCOMPARE(text.indexOf(QStringLiteral("d=")), 23); // column 24
}

void TstKabeltabelle::zeilenLesen_data()
{
    QTest::addColumn<QStringList>("zeilen");
    QTest::addColumn<QList<float>>("vk");
    QTest::addColumn<QStringList>("typen");

    QTest::newRow("Kommentare, Leerzeilen, Überschriften")
        << QStringList{";0,66 RG58", "", "Kabeltabelle", " ", "Vk Typ"} << QList<float>{}
        << QStringList{};
    QTest::newRow("0,66 und 0.66")
        << QStringList{"0,66 A", "0.66 B"} << QList<float>{0.66F, 0.66F} << QStringList{"A", "B"};
    QTest::newRow("0, 1 und mehr übergangen, 0.999 gilt")
        << QStringList{"0 A", "1 B", "1,5 C", "-0,5 D", "0.999 E"} << QList<float>{0.999F}
        << QStringList{"E"};
    QTest::newRow("zu große Zahl übergangen")
        << QStringList{"1e999 A", "9e50 B", "0,7 C"} << QList<float>{0.7F} << QStringList{"C"};
    QTest::newRow("Zeile ohne Blank")
        << QStringList{"0,66"} << QList<float>{0.66F} << QStringList{"0,66"};
}

void TstKabeltabelle::zeilenLesen()
{
    QFETCH(QStringList, zeilen);
    QFETCH(QList<float>, vk);
    QFETCH(QStringList, typen);
    const QList<Kabeltyp> kabel = kabelZeilenLesen(zeilen);
    QCOMPARE(kabel.size(), vk.size());
    for (qsizetype i = 0; i < kabel.size(); ++i) {
        QCOMPARE(kabel[i].Vk, vk[i]);
        QCOMPARE(kabel[i].Typ, typen[i]);
    }
}

void TstKabeltabelle::dateiZeilen_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("zeilen");

    QTest::newRow("UTF-8") << QByteArray("0,91 H\xc3\xbchner \xe2\x80\x94 \xce\xa9\r\n")
                           << QStringList{u"0,91 Hühner — Ω"_qs};
    QTest::newRow("UTF-8 mit BOM") << QByteArray("\xef\xbb\xbf"
                                                 "0,66 A\n")
                                   << QStringList{"0,66 A"};
    QTest::newRow("Windows-1252") << QByteArray("0,91 H\xfchner \x96 \x80 \x97\r\n")
                                  << QStringList{u"0,91 Hühner – € —"_qs};
    QTest::newRow("gemischte Zeilenenden")
        << QByteArray("a\r\nb\nc\rd") << QStringList{"a", "b", "c", "d"};
    QTest::newRow("Leerzeile bleibt") << QByteArray("a\r\n\r\nb\r\n") << QStringList{"a", "", "b"};
    QTest::newRow("leer") << QByteArray() << QStringList{};
}

void TstKabeltabelle::dateiZeilen()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, zeilen);
    QCOMPARE(kabelDateiZeilen(bytes), zeilen);
}

void TstKabeltabelle::ladenFehlt()
{
    FakeOberflaeche ui;
    Programmwerte werte;
    Liste dialog;
    QVERIFY(!KabelTabelleLaden(dialog, 0.66F, QStringLiteral("0.66"), daten("gibt_es_nicht.txt"),
                               werte, ui, deutsch));
    QCOMPARE(ui.meldungen.size(), 1);
    QCOMPARE(ui.meldungen[0].text, QStringLiteral("Die Datei Kabel.txt wurde nicht gefunden!"));
    QCOMPARE(ui.meldungen[0].titel, QStringLiteral("Problem"));
    QCOMPARE(ui.meldungen[0].symbol, Symbol::Ausrufezeichen);
    QCOMPARE(ui.meldungen[0].knoepfe, Knoepfe::Ok);
    QCOMPARE(dialog.eintraege, QStringList{"0,66"});
    QCOMPARE(dialog.text, QStringLiteral("0.66"));
    QCOMPARE(werte.KabelIndex, qint16(0));

    Liste kurve;
    werte.KabelIndex = 4;
    KabelTabelleLaden(kurve, 0.667F, QStringLiteral("0.667"), QStringLiteral(VARO_TESTDATEN), werte,
                      ui, QLocale::c()); // a folder is no table
    QCOMPARE(kurve.eintraege, QStringList{"0.667"});
    QCOMPARE(kurve.text, QStringLiteral("0.667"));
    QCOMPARE(werte.KabelIndex, qint16(0));
}

void TstKabeltabelle::ladenEchteTabelle()
{
    FakeOberflaeche ui;
    Programmwerte werte;
    Liste liste;
    QVERIFY(KabelTabelleLaden(liste, 0.66F, QStringLiteral("0.66"),
                              QStringLiteral(VARO_TESTDATEN "/kabel/erste_fassung.txt"), werte, ui,
                              deutsch));
    QVERIFY(ui.meldungen.isEmpty());
    QCOMPARE(liste.eintraege.size(), 27);
    QCOMPARE(liste.eintraege[0],
             QStringLiteral("0,66 RG-58") + QString(12, ' ') +
                 QStringLiteral(" d=100/15,1;10/4,6;50/10,8;200/22,6;400/33,5"));
    QCOMPARE(liste.auswahl, 4);
    QCOMPARE(liste.text, QStringLiteral("0,66 RG-213") + QString(11, ' ') +
                             QStringLiteral(" d=100/6,8;10/2,0;50/4,6;400/14,5;1000/25"));
    QCOMPARE(liste.eintraege[10],
             QStringLiteral("0,66 RG-59 (75 Ω)      d=150/13,5;10/3,3;50/7,5;400/23 Z=75"));
    QCOMPARE(liste.eintraege[12],
             QStringLiteral(
                 "0,91 Hühnerleiter 450 Ω/window line d=10/0,6;1,8/0,25;30/1,1;100/2,3 Z=450"));
    // Every item's velocity factor reads back as the table gives it.
    for (const QString &item : liste.eintraege) {
        const float vk = kabelZerlegen(item).Vk;
        // Open-wire line reaches 0.97.
        QVERIFY2(vk > 0.6F && vk < 1.0F, qPrintable(item));
    }
}

void TstKabeltabelle::ladenAnsi()
{
    FakeOberflaeche ui;
    Programmwerte werte;
    werte.KabelIndex = 1;
    Liste liste;
    QVERIFY(KabelTabelleLaden(liste, 0.66F, QStringLiteral("0.66"), daten("ansi.txt"), werte, ui,
                              QLocale::c()));
    QCOMPARE(liste.eintraege, (QStringList{u"0.91 Hühnerleiter – 450 € "_qs,
                                           "0.66 RG-58" + QString(12, ' ') + " d=100/15,1",
                                           "0.999 fast Licht" + QString(6, ' ') + " "}));
    QCOMPARE(liste.auswahl, 1);
}

void TstKabeltabelle::ladenOhneZeilen_data()
{
    QTest::addColumn<QString>("pfad");
    QTest::addColumn<int>("anzahl");
    QTest::newRow("nur Kommentare") << daten("nur_kommentare.txt") << 0;
    QTest::newRow("vier Zeilen, Index 4") << daten("vier_zeilen.txt") << 4;
    // Exists, opens, but cannot be read: the window must still open.
    QTest::newRow("unlesbar") << "/proc/self/mem" << 0;
}

void TstKabeltabelle::ladenOhneZeilen()
{
    QFETCH(QString, pfad);
    QFETCH(int, anzahl);
    FakeOberflaeche ui;
    Programmwerte werte;
    Liste liste;
    QVERIFY(KabelTabelleLaden(liste, 0.66F, QStringLiteral("0.66"), pfad, werte, ui, deutsch));
    QVERIFY(ui.meldungen.isEmpty());
    QCOMPARE(liste.anzahl(), anzahl);
    QCOMPARE(liste.auswahl, -1);
    QCOMPARE(liste.text, QString());
    QCOMPARE(werte.KabelIndex, qint16(4));
}

void TstKabeltabelle::daempfung_data()
{
    QTest::addColumn<float>("laenge");
    QTest::addColumn<float>("frequenz");
    QTest::addColumn<QString>("feld");
    QTest::addColumn<float>("db");

    QTest::newRow("100 m bei fRef") << 100.0F << 100.0F << "d=100/6,5" << 6.5F;
    QTest::newRow("50 m bei 4 fRef") << 50.0F << 400.0F << "d=100/6,5" << 6.5F;
    QTest::newRow("0 m") << 0.0F << 7.1F << "d=100/6,5" << 0.0F;
    QTest::newRow("13,944 m bei 7,1 MHz") << 13.944F << 7.1F << "d=100/6,5" << 0.2415F;
    QTest::newRow("Punkt in aRef") << 100.0F << 145.0F << "d=145/4.8" << 4.8F;
    // fRef is read without comma conversion and rounded halves-to-even.
    QTest::newRow("d=14,5 gibt 14") << 100.0F << 14.0F << "d=14,5/2" << 2.0F;
    QTest::newRow("d=144.5 gibt 144") << 100.0F << 144.0F << "d=144.5/2" << 2.0F;
    QTest::newRow("d=145.5 gibt 146") << 100.0F << 146.0F << "d=145.5/2" << 2.0F;
}

void TstKabeltabelle::daempfung()
{
    QFETCH(float, laenge);
    QFETCH(float, frequenz);
    QFETCH(QString, feld);
    QFETCH(float, db);
    const float ist = KabelDaempfung(laenge, frequenz, feld);
    QVERIFY2(qAbs(ist - db) < 5e-5F, qPrintable(QString::number(ist, 'g', 9)));
}

void TstKabeltabelle::daempfungFehler_data()
{
    QTest::addColumn<QString>("feld");
    QTest::addColumn<int>("nummer");
    QTest::newRow("d=0/5") << "d=0/5" << 11;
    QTest::newRow("d=0,4/5") << "d=0,4/5" << 11;
    QTest::newRow("d=100/0") << "d=100/0" << 11;
    QTest::newRow("d=100/") << "d=100/" << 11;
    QTest::newRow("d=100 ohne Schrägstrich") << "d=100" << 11;
    QTest::newRow("d=99999/1 zu groß für 16 Bit") << "d=99999/1" << 6;
}

void TstKabeltabelle::daempfungFehler()
{
    QFETCH(QString, feld);
    QFETCH(int, nummer);
    try {
        KabelDaempfung(10.0F, 7.0F, feld);
        QFAIL("kein Fehler");
    } catch (const Laufzeitfehler &f) {
        QCOMPARE(f.nummer(), nummer);
    }
}

QTEST_GUILESS_MAIN(TstKabeltabelle)
#include "tst_kabeltabelle.moc"
