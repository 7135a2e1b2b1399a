// The typed outcome of a calculation and of a run of steps: which input
// ends how, with which reason or error number, and what the user heard.

#include "ausgang.h"
#include "laufzeitfehler.h"
#include "rechenumgebung.h"
#include "schrittlauf.h"

#include <QTest>

using namespace varo;

Q_DECLARE_METATYPE(varo::Antwort)
Q_DECLARE_METATYPE(varo::Berechnungsanfrage)
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
};

void TstRechenausgang::rechnung_data()
{
    QTest::addColumn<Berechnungsanfrage>("anfrage");
    QTest::addColumn<Ausgang::Art>("art");
    QTest::addColumn<Ablehnung>("grund");
    QTest::addColumn<int>("nummer");
    QTest::addColumn<Rechenergebnis>("ergebnis");
    QTest::addColumn<int>("pieps");

    using M = Berechnungsmodus;
    using A = Ausgang::Art;
    using G = Ablehnung;
    using E = Rechenergebnis;
    const auto zeile = [](const char *name, M modus, const char *f, const char *kabel,
                          const char *laenge, const char *tol, A art, G grund, int nummer,
                          E ergebnis, int pieps) {
        QTest::newRow(name) << Berechnungsanfrage{modus, f, kabel, -1, laenge, tol} << art << grund
                            << nummer << ergebnis << pieps;
    };
    zeile("eine", M::Eine, "7,1", "0,66", "30", "35", A::Fertig, G::Keine, 0, E::Bericht, 0);
    zeile("0,009 MHz", M::Eine, "0,009", "0,66", "30", "35", A::Abgelehnt, G::Frequenz, 0,
          E::Abgelehnt, 2);
    zeile("Vk 1,01", M::Eine, "7,1", "1,01", "30", "35", A::Abgelehnt, G::Verkuerzungsfaktor, 0,
          E::Abgelehnt, 2);
    // The calculation's own division by zero sounds like refused input but
    // stays a run-time error.
    zeile("Dämpfung bei 0 MHz", M::Eine, "7,1", "0,66 X d=0/7,5", "30", "35", A::Laufzeitfehler,
          G::Keine, 11, E::Abgelehnt, 2);
    zeile("32768 Viertelwellen", M::Eine, "7,5", "1", "327670", "35", A::Laufzeitfehler, G::Keine,
          6, E::Abgebrochen, 1);
    zeile("eine von mehreren", M::Mehrere, "7,1", "0,66", "30", "35", A::Abgelehnt,
          G::NurEineFrequenz, 0, E::Hinweis, 0);
    zeile("gleiches Band", M::Mehrere, "10/11", "0,66", "30", "35", A::Abgelehnt, G::GleichesBand,
          0, E::Hinweis, 0);
    zeile("erste Frequenz 0", M::Mehrere, "0/7", "0,66", "30", "35", A::Abgelehnt, G::Frequenz, 0,
          E::Abgelehnt, 2);
    zeile("Toleranz 101", M::Mehrere, "7/14", "0,66", "30", "101", A::Abgelehnt, G::Toleranz, 0,
          E::Abgelehnt, 2);
    zeile("leerer Eintrag", M::VorhKabel, "7/14/", "0,66", "30", "35", A::Abgelehnt, G::Frequenz, 0,
          E::Abgelehnt, 2);
    zeile("leeres Feld", M::Eine, "7,1", "0,66", "", "35", A::Abgelehnt, G::FeldLeer, 0,
          E::Abgelehnt, 1);
    zeile("kein Modus", M::Keiner, "7,1", "0,66", "30", "35", A::Abgelehnt, G::KeinModus, 0,
          E::Abgelehnt, 0);
}

void TstRechenausgang::rechnung()
{
    QFETCH(Berechnungsanfrage, anfrage);
    QFETCH(Ausgang::Art, art);
    QFETCH(Ablehnung, grund);
    QFETCH(int, nummer);
    QFETCH(Rechenergebnis, ergebnis);
    QFETCH(int, pieps);
    Umgebung u(QLocale::c());
    const Ausgang ausgang = Rechnen(anfrage, *u.kontext);
    QCOMPARE(ausgang.art(), art);
    QCOMPARE(ausgang.grund(), grund);
    QCOMPARE(ausgang.fehlernummer(), nummer);
    QCOMPARE(ausgang.ergebnis(), ergebnis);
    QCOMPARE(u.ui.pieps, pieps);
    if (art == Ausgang::Art::Abgelehnt) // refused input leaves the report as it was
        QCOMPARE(u.feld.text(), QStringLiteral("alter Bericht"));
}

void TstRechenausgang::schrittlauf_data()
{
    QTest::addColumn<bool>("drucken");
    QTest::addColumn<int>("fehler"); // -1: a refused tolerance
    QTest::addColumn<Antwort>("antwort");
    QTest::addColumn<Ausgang::Art>("art");
    QTest::addColumn<int>("nummer");

    using A = Ausgang::Art;
    QTest::newRow("abgelehnt") << false << -1 << Antwort::Abbruch << A::Abgelehnt << 0;
    QTest::newRow("482 Abbruch") << false << 482 << Antwort::Abbruch << A::Laufzeitfehler << 482;
    QTest::newRow("482 Ignorieren") << false << 482 << Antwort::Ignorieren << A::Fertig << 0;
    QTest::newRow("Drucken, Abbrechen im Dialog")
        << true << 32755 << Antwort::Abbruch << A::Abgebrochen << 0;
    QTest::newRow("Drucken, 11 Abbruch")
        << true << 11 << Antwort::Abbruch << A::Laufzeitfehler << 11;
}

void TstRechenausgang::schrittlauf()
{
    QFETCH(bool, drucken);
    QFETCH(int, fehler);
    QFETCH(Antwort, antwort);
    QFETCH(Ausgang::Art, art);
    QFETCH(int, nummer);
    Umgebung u(QLocale::c());
    u.ui.antworten = {antwort};
    Schrittlauf lauf =
        drucken ? Schrittlauf(u.ui, Fehlerregeln::drucken()) : Schrittlauf(*u.kontext);
    bool gescheitert = false;
    lauf.schritt([&] {
        if (gescheitert)
            return;
        gescheitert = true;
        if (fehler == -1)
            throw Eingabeablehnung(Ablehnung::Toleranz);
        throw Laufzeitfehler(fehler);
    });
    lauf.ausfuehren();
    QCOMPARE(lauf.ausgang().art(), art);
    QCOMPARE(lauf.ausgang().fehlernummer(), nummer);
    QCOMPARE(lauf.ausgang().grund(), fehler == -1 ? Ablehnung::Toleranz : Ablehnung::Keine);
}

QTEST_GUILESS_MAIN(TstRechenausgang)
#include "tst_rechenausgang.moc"
