#include "dokumentberichtsfeld.h"
#include "drucker.h"
#include "fake_oberflaeche.h"
#include "formatvorlagen.h"
#include "rechnen.h"
#include "textberichtsfeld.h"
#include "werte.h"

#include <QTest>
#include <QTextBlock>

using namespace varo;

class TstBerichtsfeld : public QObject
{
    Q_OBJECT

private slots:
    void textZaehltZeilenendenDoppelt_data();
    void textZaehltZeilenendenDoppelt();
    void positionenHinUndZurueck();
    void anhaengenAnDerLaenge();
    void angehaengtesBleibtImDokument();
    void auswahl_data();
    void auswahl();
    void auswahlErsetzenMitZeilenende();
    void attributeEinerAuswahl();
    void gemischteAttributeSindLeer();
    void ausrichtungNurDerGewaehltenAbsaetze();
    void formatvorlagen_data();
    void formatvorlagen();
    void vorlageAufLeeremDokument();
    void setTextErsetztAlles();
    void nurTextGleichWieDokument_data();
    void nurTextGleichWieDokument();
};

void TstBerichtsfeld::textZaehltZeilenendenDoppelt_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("leer") << QString();
    QTest::newRow("eine Zeile") << QStringLiteral("abc");
    QTest::newRow("zwei Zeilen") << QStringLiteral("abc\r\ndef");
    QTest::newRow("Leerzeilen") << QStringLiteral("Titel\r\n\r\n Kopf\r\n");
    QTest::newRow("Umlaute und Gedankenstrich") << QStringLiteral("ü\r\n \u2014\u2014\r\nÄ");
}

void TstBerichtsfeld::textZaehltZeilenendenDoppelt()
{
    QFETCH(QString, text);
    DokumentBerichtsfeld feld;
    feld.setText(text);
    QCOMPARE(feld.text(), text);
    QCOMPARE(feld.textLaenge(), text.size());
}

void TstBerichtsfeld::positionenHinUndZurueck()
{
    DokumentBerichtsfeld feld;
    const QString text = QStringLiteral("ab\r\n\r\ncde\r\nf");
    feld.setText(text);
    // Every position that is not the LF of a line end maps to a distinct
    // Qt position and back to itself.
    for (int p = 0; p <= text.size(); ++p) {
        if (p > 0 && text.at(p - 1) == QLatin1Char('\r'))
            continue;
        QCOMPARE(feld.vonQt(feld.zuQt(p)), p);
    }
    // The LF of a line end belongs to the start of the next line.
    QCOMPARE(feld.zuQt(3), feld.zuQt(4));
    QCOMPARE(feld.zuQt(-5), 0);
    QCOMPARE(feld.vonQt(feld.zuQt(1000)), text.size());
}

void TstBerichtsfeld::anhaengenAnDerLaenge()
{
    DokumentBerichtsfeld feld;
    feld.setText(QStringLiteral("Titel\r\n\r\n"));
    const int kopf = feld.textLaenge();
    feld.anhaengen(QStringLiteral(" Frequenz    :    7,100 MHz\r\n"));
    const int tabelle = feld.textLaenge();
    feld.anhaengen(QStringLiteral("Zeile\r\n"));
    QCOMPARE(kopf, 9);
    QCOMPARE(feld.text().mid(kopf, 9), QStringLiteral(" Frequenz"));
    QCOMPARE(feld.text().mid(tabelle), QStringLiteral("Zeile\r\n"));
    feld.setSelStart(tabelle);
    feld.setSelLength(5);
    QCOMPARE(feld.selText(), QStringLiteral("Zeile"));
}

void TstBerichtsfeld::angehaengtesBleibtImDokument()
{
    // Rows appended last and never read back still reach a document that
    // outlives its box.
    QTextDocument dokument;
    {
        DokumentBerichtsfeld feld(dokument);
        feld.setText(QStringLiteral("Titel\r\n"));
        feld.anhaengen(QStringLiteral("Zeile 1\r\nZeile 2"));
    }
    QCOMPARE(dokument.toPlainText(), QStringLiteral("Titel\nZeile 1\nZeile 2"));

    // A document that went before its box takes nothing and breaks nothing.
    auto frueher = std::make_unique<QTextDocument>();
    DokumentBerichtsfeld feld(*frueher);
    feld.anhaengen(QStringLiteral("Zeile"));
    frueher.reset();
}

void TstBerichtsfeld::auswahl_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("laenge");
    QTest::addColumn<QString>("erwartet");
    // Text: "ab" CR LF "cd" CR LF CR LF "e"
    QTest::newRow("innerhalb") << 0 << 2 << QStringLiteral("ab");
    QTest::newRow("ueber ein Zeilenende") << 1 << 4 << QStringLiteral("b\r\nc");
    QTest::newRow("genau ein Zeilenende") << 2 << 2 << QStringLiteral("\r\n");
    QTest::newRow("Leerzeile") << 6 << 4 << QStringLiteral("\r\n\r\n");
    QTest::newRow("bis zum Ende") << 4 << 7 << QStringLiteral("cd\r\n\r\ne");
    QTest::newRow("ueber das Ende hinaus") << 10 << 50 << QStringLiteral("e");
    QTest::newRow("negative Laenge") << 3 << -2 << QString();
}

void TstBerichtsfeld::auswahl()
{
    QFETCH(int, start);
    QFETCH(int, laenge);
    QFETCH(QString, erwartet);
    DokumentBerichtsfeld feld;
    feld.setText(QStringLiteral("ab\r\ncd\r\n\r\ne"));
    feld.setSelStart(start);
    QCOMPARE(feld.selLength(), 0);
    feld.setSelLength(laenge);
    QCOMPARE(feld.selText(), erwartet);
    QCOMPARE(feld.selLength(), erwartet.size());
}

void TstBerichtsfeld::auswahlErsetzenMitZeilenende()
{
    DokumentBerichtsfeld feld;
    feld.setText(QStringLiteral("abc\r\ndef"));
    feld.setSelStart(1);
    feld.setSelLength(5); // "bc\r\nd"
    feld.setSelText(QStringLiteral("X\r\nY\r\nZ"));
    QCOMPARE(feld.text(), QStringLiteral("aX\r\nY\r\nZef"));
    QCOMPARE(feld.selStart(), 8);
    QCOMPARE(feld.selLength(), 0);
}

void TstBerichtsfeld::attributeEinerAuswahl()
{
    DokumentBerichtsfeld feld;
    feld.setText(QStringLiteral("Titel\r\nZeile"));
    feld.setSelStart(7);
    feld.setSelLength(5);
    varo::Zeichenattribute a;
    a.schriftname = QStringLiteral("Tahoma");
    a.groesse = 8;
    a.fett = true;
    a.versatz = -1;
    a.farbe = QColor(128, 0, 128);
    feld.setSelAttribute(a);

    feld.setSelStart(7);
    feld.setSelLength(5);
    const varo::Zeichenattribute gelesen = feld.selAttribute();
    QCOMPARE(gelesen.schriftname.value(), QStringLiteral("Tahoma"));
    QCOMPARE(gelesen.groesse.value(), 8.0);
    QCOMPARE(gelesen.fett.value(), true);
    QCOMPARE(gelesen.kursiv.value(), false);
    QCOMPARE(gelesen.versatz.value(), -1);
    QCOMPARE(gelesen.farbe.value(), QColor(128, 0, 128));

    // The title was not touched.
    feld.setSelStart(0);
    feld.setSelLength(5);
    QCOMPARE(feld.selAttribute().fett.value(), false);
}

void TstBerichtsfeld::gemischteAttributeSindLeer()
{
    DokumentBerichtsfeld feld;
    feld.setText(QStringLiteral("fett normal"));
    feld.setSelStart(0);
    feld.setSelLength(4);
    varo::Zeichenattribute fett;
    fett.fett = true;
    feld.setSelAttribute(fett);
    feld.setSelStart(0);
    feld.setSelLength(11);
    const varo::Zeichenattribute a = feld.selAttribute();
    QVERIFY(!a.fett.has_value());
    QVERIFY(a.kursiv.has_value());
}

void TstBerichtsfeld::ausrichtungNurDerGewaehltenAbsaetze()
{
    DokumentBerichtsfeld feld;
    feld.setText(QStringLiteral("Titel\r\n\r\nText"));
    feld.setSelStart(0);
    feld.setSelLength(5);
    feld.setSelAusrichtung(varo::Ausrichtung::Zentriert);
    const QTextDocument &d = feld.dokument();
    QCOMPARE(d.findBlockByNumber(0).blockFormat().alignment(), Qt::AlignHCenter);
    QVERIFY(d.findBlockByNumber(2).blockFormat().alignment() != Qt::AlignHCenter);
}

void TstBerichtsfeld::formatvorlagen_data()
{
    QTest::addColumn<int>("vorlage");
    QTest::addColumn<QString>("schrift");
    QTest::addColumn<double>("groesse");
    QTest::addColumn<bool>("kursiv");
    QTest::addColumn<bool>("unterstrichen");
    QTest::newRow("Standard") << int(Formatvorlage::Standard) << "Arial" << 10.0 << false << false;
    QTest::newRow("Listing") << int(Formatvorlage::Listing) << "Courier New" << 10.0 << false
                             << false;
    // Text keeps italic and underline of what it reformats.
    QTest::newRow("Text") << int(Formatvorlage::Text) << "Arial" << 8.0 << true << true;
}

void TstBerichtsfeld::formatvorlagen()
{
    QFETCH(int, vorlage);
    QFETCH(QString, schrift);
    QFETCH(double, groesse);
    QFETCH(bool, kursiv);
    QFETCH(bool, unterstrichen);

    DokumentBerichtsfeld feld;
    feld.setText(QStringLiteral("Zeile eins\r\nZeile zwei"));
    feld.setSelStart(0);
    feld.setSelLength(feld.textLaenge());
    varo::Zeichenattribute auszeichnung;
    auszeichnung.fett = true;
    auszeichnung.kursiv = true;
    auszeichnung.unterstrichen = true;
    auszeichnung.durchgestrichen = true;
    auszeichnung.versatz = 1;
    auszeichnung.farbe = QColor(255, 0, 0);
    feld.setSelAttribute(auszeichnung);

    varo::formatvorlageAnwenden(feld, Formatvorlage(vorlage));
    QCOMPARE(feld.selStart(), 0);
    QCOMPARE(feld.selLength(), 0);

    feld.setSelLength(feld.textLaenge());
    const varo::Zeichenattribute a = feld.selAttribute();
    QCOMPARE(a.schriftname.value(), schrift);
    QCOMPARE(a.groesse.value(), groesse);
    QCOMPARE(a.fett.value(), false);
    QCOMPARE(a.kursiv.value(), kursiv);
    QCOMPARE(a.unterstrichen.value(), unterstrichen);
    QCOMPARE(a.durchgestrichen.value(), kursiv);
    QCOMPARE(a.versatz.value(), 0);
    QCOMPARE(a.farbe.value(), QColor(Qt::black));
    QCOMPARE(feld.text(), QStringLiteral("Zeile eins\r\nZeile zwei"));
}

void TstBerichtsfeld::vorlageAufLeeremDokument()
{
    DokumentBerichtsfeld feld;
    varo::formatvorlageAnwenden(feld, Formatvorlage::Listing);
    QCOMPARE(feld.text(), QString());
    QCOMPARE(feld.dokument().defaultFont().family(), QStringLiteral("Courier New"));
    // Text typed next takes the template's format.
    feld.anhaengen(QStringLiteral("neu"));
    feld.setSelStart(0);
    feld.setSelLength(3);
    QCOMPARE(feld.selAttribute().schriftname.value(), QStringLiteral("Courier New"));
    QCOMPARE(feld.selAttribute().groesse.value(), 10.0);
}

void TstBerichtsfeld::setTextErsetztAlles()
{
    DokumentBerichtsfeld feld;
    feld.setText(QStringLiteral("alt\r\nalt\r\nalt"));
    feld.setSelStart(5);
    feld.setText(QStringLiteral("neu"));
    QCOMPARE(feld.text(), QStringLiteral("neu"));
    QCOMPARE(feld.selStart(), 0);
    feld.setText(QString());
    QCOMPARE(feld.textLaenge(), 0);
}

void TstBerichtsfeld::nurTextGleichWieDokument_data()
{
    QTest::addColumn<QString>("art");
    QTest::addColumn<QString>("frequenz");
    QTest::addColumn<QString>("kabel");
    QTest::addColumn<QString>("laenge");

    QTest::newRow("eine 7,1 RG-213") << "eine"
                                     << "7,1"
                                     << "0,66 RG-213 d=100/6,8"
                                     << "30";
    QTest::newRow("eine 430 über viele Seiten") << "eine"
                                                << "430"
                                                << "0,66"
                                                << "300";
    QTest::newRow("mehrere") << "mehrere"
                             << "3,6/7,05/14,2"
                             << "0,66 RG58"
                             << "40";
    QTest::newRow("mehrere ohne Ergebnis") << "mehrere"
                                           << "3,6/7,05"
                                           << "0,66"
                                           << "1";
    QTest::newRow("vorhanden") << "VorhKabel"
                               << "3,6/7,05/14,2/21,2"
                               << "0,8 Ecoflex"
                               << "28";
    // Line ends typed into the cable field reach the header as they are.
    QTest::newRow("Zeilenenden im Kabeltext") << "mehrere"
                                              << "3,6/7,05"
                                              << "0,66 A\nB\rC\r\nD\u2029E\ufdd0F"
                                              << "20";
}

void TstBerichtsfeld::nurTextGleichWieDokument()
{
    QFETCH(QString, art);
    QFETCH(QString, frequenz);
    QFETCH(QString, kabel);
    QFETCH(QString, laenge);
    Berechnungsanfrage anfrage{modusAusText(art),   frequenz, kabel, -1, laenge,
                               QStringLiteral("35")};
    const auto rechnen = [&](Berichtsfeld &feld) {
        Programmwerte werte;
        KeinDrucker drucker;
        FakeOberflaeche ui;
        Rechenkontext k{werte, feld, drucker, ui, QLocale(QLocale::German)};
        feld.setText(QStringLiteral("alter Bericht"));
        QCOMPARE(Rechnen(anfrage, k), Rechenergebnis::Bericht);
    };
    DokumentBerichtsfeld dokument;
    TextBerichtsfeld nurText;
    rechnen(dokument);
    rechnen(nurText);
    QCOMPARE(nurText.text(), dokument.text());
    QCOMPARE(nurText.textLaenge(), dokument.textLaenge());
}

QTEST_GUILESS_MAIN(TstBerichtsfeld)
#include "tst_berichtsfeld.moc"
