// The typed outcome of a calculation and of a run of steps: which input
// ends how, with which reason or error number, and what the user heard.

#include "ausgang.h"
#include "fake_oberflaeche.h"
#include "laufzeitfehler.h"
#include "rechenumgebung.h"
#include "rechnen.h"
#include "schrittlauf.h"

#include <QTest>

#include <new>

using namespace varo;

Q_DECLARE_METATYPE(varo::Antwort)
Q_DECLARE_METATYPE(varo::Berechnungsmodus)
Q_DECLARE_METATYPE(varo::Ausgang::Art)
Q_DECLARE_METATYPE(varo::Ablehnung)

class TstRechenausgang : public QObject
{
    Q_OBJECT

private slots:
    void rechnung_data();
    void rechnung();
    void schrittlauf_data();
    void schrittlauf();
    void modusTexte_data();
    void modusTexte();
};

void TstRechenausgang::rechnung_data()
{
    QTest::addColumn<Berechnungsmodus>("modus");
    QTest::addColumn<QString>("frequenzen");
    QTest::addColumn<QString>("kabel");
    QTest::addColumn<QString>("laenge");
    QTest::addColumn<QString>("toleranz");
    QTest::addColumn<Ausgang::Art>("art");
    QTest::addColumn<Ablehnung>("grund");
    QTest::addColumn<int>("nummer");
    QTest::addColumn<Rechenergebnis>("ergebnis");
    QTest::addColumn<int>("pieps");

    using M = Berechnungsmodus;
    using A = Ausgang::Art;
    using G = Ablehnung;
    using E = Rechenergebnis;
    QTest::newRow("eine geschrieben") << M::Eine << "7,1"
                                      << "0,66"
                                      << "30"
                                      << "35" << A::Fertig << G::Keine << 0 << E::Bericht << 0;
    QTest::newRow("eine, 0,009 MHz")
        << M::Eine << "0,009"
        << "0,66"
        << "30"
        << "35" << A::Abgelehnt << G::Frequenz << 0 << E::Abgelehnt << 2;
    QTest::newRow("eine, Vk 1,01")
        << M::Eine << "7,1"
        << "1,01"
        << "30"
        << "35" << A::Abgelehnt << G::Verkuerzungsfaktor << 0 << E::Abgelehnt << 2;
    // A division by zero of the calculation itself sounds like refused
    // input but stays a run-time error.
    QTest::newRow("eine, Dämpfung bei 0 MHz")
        << M::Eine << "7,1"
        << "0,66 X d=0/7,5"
        << "30"
        << "35" << A::Laufzeitfehler << G::Keine << 11 << E::Abgelehnt << 2;
    QTest::newRow("eine, 32768 Viertelwellen")
        << M::Eine << "7,5"
        << "1"
        << "327670"
        << "35" << A::Laufzeitfehler << G::Keine << 6 << E::Abgebrochen << 1;
    QTest::newRow("mehrere, eine Frequenz")
        << M::Mehrere << "7,1"
        << "0,66"
        << "30"
        << "35" << A::Abgelehnt << G::NurEineFrequenz << 0 << E::Hinweis << 0;
    QTest::newRow("mehrere, gleiches Band")
        << M::Mehrere << "10/11"
        << "0,66"
        << "30"
        << "35" << A::Abgelehnt << G::GleichesBand << 0 << E::Hinweis << 0;
    QTest::newRow("mehrere, erste Frequenz 0")
        << M::Mehrere << "0/7"
        << "0,66"
        << "30"
        << "35" << A::Abgelehnt << G::Frequenz << 0 << E::Abgelehnt << 2;
    QTest::newRow("mehrere, Toleranz 101")
        << M::Mehrere << "7/14"
        << "0,66"
        << "30"
        << "101" << A::Abgelehnt << G::Toleranz << 0 << E::Abgelehnt << 2;
    QTest::newRow("VorhKabel geschrieben") << M::VorhKabel << "7/14"
                                           << "0,66"
                                           << "30"
                                           << "35" << A::Fertig << G::Keine << 0 << E::Bericht << 0;
    QTest::newRow("VorhKabel, leerer Eintrag")
        << M::VorhKabel << "7/14/"
        << "0,66"
        << "30"
        << "35" << A::Abgelehnt << G::Frequenz << 0 << E::Abgelehnt << 2;
    QTest::newRow("VorhKabel, Toleranz -1")
        << M::VorhKabel << "7/14"
        << "0,66"
        << "30"
        << "-1" << A::Abgelehnt << G::Toleranz << 0 << E::Abgelehnt << 2;
    QTest::newRow("leeres Feld") << M::Eine << "7,1"
                                 << "0,66"
                                 << ""
                                 << "35" << A::Abgelehnt << G::FeldLeer << 0 << E::Abgelehnt << 1;
    QTest::newRow("kein Modus") << M::Keiner << "7,1"
                                << "0,66"
                                << "30"
                                << "35" << A::Abgelehnt << G::KeinModus << 0 << E::Abgelehnt << 0;
}

void TstRechenausgang::rechnung()
{
    QFETCH(Berechnungsmodus, modus);
    QFETCH(QString, frequenzen);
    QFETCH(QString, kabel);
    QFETCH(QString, laenge);
    QFETCH(QString, toleranz);
    QFETCH(Ausgang::Art, art);
    QFETCH(Ablehnung, grund);
    QFETCH(int, nummer);
    QFETCH(Rechenergebnis, ergebnis);
    QFETCH(int, pieps);

    Umgebung u(QLocale::c());
    const Berechnungsanfrage anfrage{modus, frequenzen, kabel, -1, laenge, toleranz};
    const Ausgang ausgang = Rechnen(anfrage, *u.kontext);
    QCOMPARE(ausgang.art(), art);
    QCOMPARE(ausgang.grund(), grund);
    QCOMPARE(ausgang.fehlernummer(), nummer);
    QCOMPARE(ausgang.ergebnis(), ergebnis);
    QCOMPARE(u.ui.pieps, pieps);
    // Refused input leaves the report as it was; a finished run replaces it.
    if (art == Ausgang::Art::Abgelehnt)
        QCOMPARE(u.feld.text(), QStringLiteral("alter Bericht"));
    if (art == Ausgang::Art::Fertig)
        QVERIFY(u.feld.text().startsWith(QStringLiteral("Varolinaten-")));
    if (art == Ausgang::Art::Laufzeitfehler)
        QCOMPARE(ausgang.beschreibung(), Laufzeitfehler::beschreibungFuer(nummer));
}

void TstRechenausgang::schrittlauf_data()
{
    QTest::addColumn<bool>("drucken");
    QTest::addColumn<int>("fehler"); // -1: refused tolerance, -7: out of memory
    QTest::addColumn<Antwort>("antwort");
    QTest::addColumn<Ausgang::Art>("art");
    QTest::addColumn<int>("nummer");
    QTest::addColumn<Rechenergebnis>("ergebnis");

    using A = Ausgang::Art;
    using E = Rechenergebnis;
    QTest::newRow("Rechnung ohne Fehler")
        << false << 0 << Antwort::Abbruch << A::Fertig << 0 << E::Bericht;
    QTest::newRow("Rechnung, abgelehnte Toleranz")
        << false << -1 << Antwort::Abbruch << A::Abgelehnt << 0 << E::Abgelehnt;
    QTest::newRow("Rechnung, Division durch Null")
        << false << 11 << Antwort::Abbruch << A::Laufzeitfehler << 11 << E::Abgelehnt;
    QTest::newRow("Rechnung, 482 Abbruch")
        << false << 482 << Antwort::Abbruch << A::Laufzeitfehler << 482 << E::Abgebrochen;
    QTest::newRow("Rechnung, 482 Ignorieren")
        << false << 482 << Antwort::Ignorieren << A::Fertig << 0 << E::Bericht;
    QTest::newRow("Rechnung, Speicher Abbruch")
        << false << -7 << Antwort::Abbruch << A::Laufzeitfehler << 7 << E::Abgebrochen;
    QTest::newRow("Drucken, Abbrechen im Dialog")
        << true << 32755 << Antwort::Abbruch << A::Abgebrochen << 0 << E::Abgebrochen;
    QTest::newRow("Drucken, 11 Abbruch")
        << true << 11 << Antwort::Abbruch << A::Laufzeitfehler << 11 << E::Abgebrochen;
    QTest::newRow("Drucken, 68 Wiederholen")
        << true << 68 << Antwort::Wiederholen << A::Fertig << 0 << E::Bericht;
}

void TstRechenausgang::schrittlauf()
{
    QFETCH(bool, drucken);
    QFETCH(int, fehler);
    QFETCH(Antwort, antwort);
    QFETCH(Ausgang::Art, art);
    QFETCH(int, nummer);
    QFETCH(Rechenergebnis, ergebnis);

    Umgebung u(QLocale::c());
    u.ui.antworten = {antwort};
    Schrittlauf lauf =
        drucken ? Schrittlauf(u.ui, Fehlerregeln::drucken()) : Schrittlauf(*u.kontext);
    bool gescheitert = false;
    lauf.schritt([&] {
        if (gescheitert || fehler == 0)
            return;
        gescheitert = true;
        if (fehler == -1)
            throw Eingabeablehnung(Ablehnung::Toleranz);
        if (fehler == -7)
            throw std::bad_alloc();
        throw Laufzeitfehler(fehler);
    });
    QCOMPARE(lauf.ausfuehren(), ergebnis);
    QCOMPARE(lauf.ausgang().art(), art);
    QCOMPARE(lauf.ausgang().fehlernummer(), nummer);
    QCOMPARE(lauf.ausgang().grund(), fehler == -1 ? Ablehnung::Toleranz : Ablehnung::Keine);
}

void TstRechenausgang::modusTexte_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Berechnungsmodus>("modus");
    QTest::addColumn<bool>("hinUndZurueck"); // the text is the mode's own
    QTest::newRow("eine") << "eine" << Berechnungsmodus::Eine << true;
    QTest::newRow("mehrere") << "mehrere" << Berechnungsmodus::Mehrere << true;
    QTest::newRow("VorhKabel") << "VorhKabel" << Berechnungsmodus::VorhKabel << true;
    QTest::newRow("leer") << "" << Berechnungsmodus::Keiner << true;
    QTest::newRow("Groß geschrieben") << "Eine" << Berechnungsmodus::Keiner << false;
    QTest::newRow("Name des Werkzeugs") << "vorhanden" << Berechnungsmodus::Keiner << false;
}

void TstRechenausgang::modusTexte()
{
    QFETCH(QString, text);
    QFETCH(Berechnungsmodus, modus);
    QFETCH(bool, hinUndZurueck);
    QCOMPARE(modusAusText(text), modus);
    QCOMPARE(modusText(modus) == text, hinUndZurueck);
}

QTEST_GUILESS_MAIN(TstRechenausgang)
#include "tst_rechenausgang.moc"
