#include "abstandsfilter_einfach.h"
#include "dokumentberichtsfeld.h"
#include "drucker.h"
#include "fake_drucker.h"
#include "fake_oberflaeche.h"
#include "mehrere_filter.h"
#include "rechenumgebung.h"
#include "rechnen.h"
#include "werte.h"

#include <QRandomGenerator>
#include <QTest>

#include <cmath>
#include <memory>

using namespace varo;

namespace {

const QString SPALTEN = QStringLiteral(" Varolinaten:             günstig für alle Frequenzen");
const QString SCHLUSS = QStringLiteral("  Längen die annähernd gleich sind oder(und) mehrmals in "
                                       "der Liste erscheinen, sind am günstigsten.");
const QString KEINE = QStringLiteral(" Es konnten keine Varolinaten berechnet werden ! ") + ZE +
                      QStringLiteral(" Bitte eine grössere Tolleranz zulassen.") + ZE;

Berechnungsanfrage anfrage(const QString &f, const QString &laenge, const QString &tol,
                           const QString &kabel = QStringLiteral("0.66"), int index = -1)
{
    Berechnungsanfrage a;
    a.modus = Berechnungsmodus::Mehrere;
    a.frequenzen = f;
    a.kabel = kabel;
    a.kabelIndex = index;
    a.laenge = laenge;
    a.toleranz = tol;
    return a;
}

QString kopf(const QString &f, const QString &vk, const QString &tol)
{
    return QStringLiteral(" Frequenzen  : ") + f + QStringLiteral(" MHz") + ZE +
           QStringLiteral(" Verkürzungsfaktor: ") + vk + ZE +
           QStringLiteral(" Toleranz zugelassen : ± ") + tol + QStringLiteral(" %") + ZE + ZE;
}

QString bericht(const QString &kopfText, const QStringList &laengen)
{
    QString t =
        QStringLiteral("Varolinaten-Berechnung") + ZE + ZE + kopfText + SPALTEN + ZE + TRENN;
    if (laengen.isEmpty())
        t += KEINE;
    for (const QString &l : laengen)
        t += l.rightJustified(33) + QString(19, ' ') + ZE;
    return t + TRENN + SCHLUSS + ZE + ZE + GRUSS;
}

// The listed lengths of a report, in order.
QStringList gelistet(const QString &text)
{
    QStringList laengen;
    for (const QString &z : text.split(ZE)) {
        if (z.size() == 52 && z.endsWith(QStringLiteral(" m") + QString(19, ' ')))
            laengen << z.trimmed();
    }
    return laengen;
}

} // namespace

class TstRechnenMehrere : public QObject
{
    Q_OBJECT

private slots:
    void beispiel_data();
    void beispiel();
    void laengen_data();
    void laengen();
    void ohneErgebnisBleibtLaenge();
    void abgelehnt_data();
    void abgelehnt();
    void eineFrequenz();
    void kabelname_data();
    void kabelname();
    void seiten_data();
    void seiten();
    void zuViele_data();
    void zuViele();
    void filterGleich_data();
    void filterGleich();
    void gleichesBand_data();
    void gleichesBand();
    void rechnenVerteilt_data();
    void rechnenVerteilt();
};

void TstRechnenMehrere::beispiel_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("erwartet");
    QTest::newRow("Punkt") << QLocale::c()
                           << bericht(kopf("3.6/7.05", "0.66", "35.0"), {"27.500 m", "28.085 m"});
    QTest::newRow("Komma") << QLocale(QLocale::German)
                           << bericht(kopf("3,6/7,05", "0,66", "35,0"), {"27,500 m", "28,085 m"});
}

void TstRechnenMehrere::beispiel()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, erwartet);
    Umgebung u(locale);
    QCOMPARE(RechnenMehrere(anfrage("3,6/7,050", "35", "35", "0,66", 5), *u.kontext),
             Rechenergebnis::Bericht);
    QCOMPARE(u.feld.text(), erwartet);
    // The last listed, the largest length is remembered.
    QCOMPARE(qRound(u.werte.KabelLaenge * 1000), 28085);
    QCOMPARE(u.werte.KabelIndex, qint16(5));
    QCOMPARE(u.ui.protokoll, (QStringList{"verbergen", "zeigen"}));
    QVERIFY(u.feld.sichtbar());
    QVERIFY(!u.ui.sanduhrAktiv);
}

void TstRechnenMehrere::laengen_data()
{
    QTest::addColumn<QString>("f");
    QTest::addColumn<QString>("laenge");
    QTest::addColumn<QString>("tol");
    QTest::addColumn<QStringList>("laengen");
    QTest::newRow("7/14, 30 m, 5 %")
        << "7/14"
        << "30"
        << "5" << QStringList{"14.143 m", "14.143 m", "28.286 m", "28.286 m"};
    QTest::newRow("7.05/14.2, 30 m, 10 %")
        << "7.05/14.2"
        << "30"
        << "10" << QStringList{"13.944 m", "14.043 m", "27.887 m", "28.085 m"};
    QTest::newRow("14.2/21.2/28.5, 30 m, 35 %")
        << "14.2/21.2/28.5"
        << "30"
        << "35"
        << QStringList{"13.895 m", "13.944 m", "14.009 m", "27.789 m", "27.887 m", "28.019 m"};
    QTest::newRow("3.6/7.05, 35 m, 100 %")
        << "3.6/7.05"
        << "35"
        << "100" << QStringList{"14.043 m", "27.500 m", "28.085 m"};
    QTest::newRow("3.6/7.05, 35 m, 0 %") << "3.6/7.05"
                                         << "35"
                                         << "0" << QStringList{};
    QTest::newRow("3.6/3.7/3.8, 10 m") << "3.6/3.7/3.8"
                                       << "10"
                                       << "35" << QStringList{};
    QTest::newRow("Länge 0") << "7/14"
                             << "0"
                             << "35" << QStringList{};
    QTest::newRow("Länge negativ") << "7/14"
                                   << "-30"
                                   << "35" << QStringList{};
}

void TstRechnenMehrere::laengen()
{
    QFETCH(QString, f);
    QFETCH(QString, laenge);
    QFETCH(QString, tol);
    QFETCH(QStringList, laengen);
    Umgebung u(QLocale::c());
    QCOMPARE(RechnenMehrere(anfrage(f, laenge, tol), *u.kontext), Rechenergebnis::Bericht);
    QCOMPARE(gelistet(u.feld.text()), laengen);
    if (laengen.isEmpty())
        QVERIFY(u.feld.text().contains(TRENN + KEINE + TRENN + SCHLUSS));
}

void TstRechnenMehrere::ohneErgebnisBleibtLaenge()
{
    Umgebung u(QLocale::c());
    u.werte.KabelLaenge = 12.5F;
    QCOMPARE(RechnenMehrere(anfrage("3.6/7.05", "0", "35"), *u.kontext), Rechenergebnis::Bericht);
    QCOMPARE(u.feld.text(), bericht(kopf("3.6/7.05", "0.66", "35.0"), {}));
    QCOMPARE(u.werte.KabelLaenge, 12.5F);
}

void TstRechnenMehrere::abgelehnt_data()
{
    QTest::addColumn<QString>("f");
    QTest::addColumn<QString>("kabel");
    QTest::addColumn<QString>("tol");
    QTest::newRow("7/14/") << "7/14/"
                           << "0.66"
                           << "35";
    QTest::newRow("/7/14") << "/7/14"
                           << "0.66"
                           << "35";
    QTest::newRow("7//14") << "7//14"
                           << "0.66"
                           << "35";
    QTest::newRow("0,009/7") << "0,009/7"
                             << "0.66"
                             << "35";
    QTest::newRow("Vk 0") << "7/14"
                          << "0"
                          << "35";
    QTest::newRow("Vk 1,5") << "7/14"
                            << "1,5"
                            << "35";
    QTest::newRow("Toleranz 100,5") << "7/14"
                                    << "0.66"
                                    << "100,5";
    QTest::newRow("Toleranz leer gilt als 0, angenommen") << ""
                                                          << ""
                                                          << "";
}

void TstRechnenMehrere::abgelehnt()
{
    QFETCH(QString, f);
    QFETCH(QString, kabel);
    QFETCH(QString, tol);
    if (f.isEmpty()) {
        // Tolerance 0 (empty) and 100 are the range ends and accepted.
        for (const char *t : {"", "0", "100"}) {
            Umgebung u(QLocale::c());
            QCOMPARE(RechnenMehrere(anfrage("7/14", "30", t), *u.kontext), Rechenergebnis::Bericht);
        }
        return;
    }
    Umgebung u(QLocale::c());
    QCOMPARE(RechnenMehrere(anfrage(f, "30", tol, kabel, 7), *u.kontext),
             Rechenergebnis::Abgelehnt);
    QCOMPARE(u.ui.pieps, 2);
    QVERIFY(u.ui.meldungen.isEmpty());
    QCOMPARE(u.ui.dialogVerborgen, 0);
    QCOMPARE(u.feld.text(), QStringLiteral("alter Bericht"));
    QVERIFY(u.feld.sichtbar());
    QVERIFY(!u.ui.sanduhrAktiv);
    // The cable index is stored before anything is checked.
    QCOMPARE(u.werte.KabelIndex, qint16(7));
    QCOMPARE(u.werte.KabelLaenge, 30.0F);
}

void TstRechnenMehrere::eineFrequenz()
{
    Umgebung u(QLocale::c());
    QCOMPARE(RechnenMehrere(anfrage("7,1", "30", "35", "0.66", 2), *u.kontext),
             Rechenergebnis::Hinweis);
    QCOMPARE(u.ui.meldungen.size(), 1);
    QCOMPARE(u.ui.meldungen[0].text, QStringLiteral("Keine Berechnung für nur eine Frequenz!"));
    QCOMPARE(u.ui.meldungen[0].titel, QStringLiteral("Falsche Aktion"));
    QCOMPARE(u.ui.meldungen[0].symbol, Symbol::Ausrufezeichen);
    QCOMPARE(u.ui.meldungen[0].knoepfe, Knoepfe::Ok);
    QCOMPARE(u.ui.dialogVerborgen, 1);
    QCOMPARE(u.ui.pieps, 0);
    QCOMPARE(u.feld.text(), QStringLiteral("alter Bericht"));
    QCOMPARE(u.werte.KabelIndex, qint16(4));
    QVERIFY(!u.ui.sanduhrAktiv);
}

void TstRechnenMehrere::kabelname_data()
{
    QTest::addColumn<QString>("kabel");
    QTest::addColumn<QString>("vk");
    QTest::newRow("0,66 RG 213 d=100/6,8") << "0,66 RG 213 d=100/6,8"
                                           << "0.66 (RG 213)";
    QTest::newRow("Tabelleneintrag") << "0,66 RG58" + QString(13, ' ') + " d=100/6,5"
                                     << "0.66 (RG58)";
    QTest::newRow("ohne d=") << "0,66 RG58"
                             << "0.66 (RG58)";
    QTest::newRow("nur Zahl") << "0.66"
                              << "0.66";
    QTest::newRow("Name ist Zahl") << "0.66 +5"
                                   << "0.66";
    QTest::newRow("0.6666") << "0.6666"
                            << "0.667";
}

void TstRechnenMehrere::kabelname()
{
    QFETCH(QString, kabel);
    QFETCH(QString, vk);
    Umgebung u(QLocale::c());
    QCOMPARE(RechnenMehrere(anfrage("7/14", "30", "5", kabel), *u.kontext),
             Rechenergebnis::Bericht);
    QVERIFY2(u.feld.text().contains(QStringLiteral(" Verkürzungsfaktor: ") + vk + ZE),
             qPrintable(u.feld.text()));
}

void TstRechnenMehrere::seiten_data()
{
    QTest::addColumn<int>("seitenlaenge");
    QTest::addColumn<QList<int>>("umbruchNach");
    QTest::newRow("ohne Drucker") << 0 << QList<int>{60, 127};
    QList<int> sechzehn;
    for (int r = 3; r <= 300; r += 10)
        sechzehn << r;
    QTest::newRow("16 Zeilen") << 16 << sechzehn;
    // Only rows trigger the check: the full first page breaks after row 1.
    QList<int> zehn;
    for (int r = 1; r <= 300; r += 4)
        zehn << r;
    QTest::newRow("10 Zeilen") << 10 << zehn;
}

void TstRechnenMehrere::seiten()
{
    QFETCH(int, seitenlaenge);
    QFETCH(QList<int>, umbruchNach);
    Umgebung u(QLocale::c(), seitenlaenge);
    // Tolerance 100 lets nearly every candidate through: well over two pages.
    QCOMPARE(RechnenMehrere(anfrage("7/10.1", "1000", "100"), *u.kontext), Rechenergebnis::Bericht);
    const QString text = u.feld.text();
    const QStringList laengen = gelistet(text);
    QVERIFY(laengen.size() > 140);

    QString erwartet = QStringLiteral("Varolinaten-Berechnung") + ZE + ZE +
                       kopf("7/10.1", "0.66", "100.0") + SPALTEN + ZE + TRENN;
    int seite = 1;
    for (int i = 0; i < laengen.size(); ++i) {
        erwartet += laengen[i].rightJustified(33) + QString(19, ' ') + ZE;
        if (umbruchNach.contains(i + 1)) {
            ++seite;
            erwartet += TRENN + ZE + ZE + ZE + ZE +
                        (QStringLiteral("Seite ") + QString::number(seite)).rightJustified(80) +
                        ZE + SPALTEN + ZE + TRENN;
        }
    }
    erwartet += TRENN + SCHLUSS + ZE + ZE + GRUSS;
    QCOMPARE(text, erwartet);
    QCOMPARE(QString::number(u.werte.KabelLaenge, 'f', 3) + QStringLiteral(" m"), laengen.last());
}

void TstRechnenMehrere::zuViele_data()
{
    QTest::addColumn<QString>("f");
    QTest::addColumn<QString>("laenge");
    QTest::addColumn<QString>("tol");
    // 430 MHz on 20 km: about 130000 half waves, more than a report can list.
    QTest::newRow("1.8/430, 20 km") << "1.8/430"
                                    << "20000"
                                    << "35";
    QTest::newRow("1.8/430, 1e12 m") << "1.8/430"
                                     << "1e12"
                                     << "35";
    QTest::newRow("7/14, 1e30 m") << "7/14"
                                  << "1e30"
                                  << "35";
    QTest::newRow("32768 Frequenzen") << QString("7/").repeated(32767) + "7"
                                      << "30"
                                      << "35";
}

void TstRechnenMehrere::zuViele()
{
    QFETCH(QString, f);
    QFETCH(QString, laenge);
    QFETCH(QString, tol);
    Umgebung u(QLocale::c());
    QCOMPARE(RechnenMehrere(anfrage(f, laenge, tol), *u.kontext), Rechenergebnis::Abgebrochen);
    QCOMPARE(u.ui.meldungen.size(), 1);
    QCOMPARE(u.ui.meldungen[0].text, QStringLiteral("Überlauf") + ZE);
    QCOMPARE(u.ui.meldungen[0].titel, QStringLiteral(" Fehler !"));
    QCOMPARE(u.ui.pieps, 1);
    QCOMPARE(u.ui.dialogVerborgen, 0);
    QCOMPARE(u.feld.text(), QStringLiteral("alter Bericht"));
    QVERIFY(u.feld.sichtbar());
}

void TstRechnenMehrere::filterGleich_data()
{
    QTest::addColumn<quint32>("saat");
    QTest::addColumn<int>("anzahl");
    QTest::addColumn<float>("w");
    for (quint32 saat : {1u, 2u, 3u, 4u, 5u})
        QTest::addRow("Saat %u", saat) << saat << 2000 << 0.05F * float(saat);
    QTest::newRow("w 0") << 7u << 500 << 0.0F;
    QTest::newRow("w negativ") << 8u << 500 << -0.5F;
}

void TstRechnenMehrere::filterGleich()
{
    QFETCH(quint32, saat);
    QFETCH(int, anzahl);
    QFETCH(float, w);
    // Lengths on a coarse grid, so that many candidates sit exactly on a
    // window bound; zeros and negatives are empty entries on both sides.
    QRandomGenerator zufall(saat);
    std::vector<float> kandidaten, unguenstig;
    for (int i = 0; i < anzahl; ++i) {
        kandidaten.push_back(float(zufall.bounded(-20, 4000)) * 0.05F);
        unguenstig.push_back(float(zufall.bounded(-20, 4000)) * 0.05F);
    }
    std::vector<float> einfach = kandidaten;
    abstandsfilterEinfach(einfach, unguenstig, w);
    abstandsfilter(kandidaten, unguenstig, w);
    QCOMPARE(kandidaten, einfach);
    if (w > 0.0F)
        QVERIFY(std::count(einfach.begin(), einfach.end(), 0.0F) > anzahl / 10);
}

void TstRechnenMehrere::gleichesBand_data()
{
    QTest::addColumn<QString>("f");
    QTest::addColumn<bool>("gleich");
    QTest::newRow("10/11.1") << "10/11.1" << true;
    QTest::newRow("11.1/10") << "11.1/10" << false;
    QTest::newRow("10/11") << "10/11" << true;
    QTest::newRow("11/10") << "11/10" << true;
    QTest::newRow("7/14/21") << "7/14/21" << false;
    QTest::newRow("7,1/14/7,05") << "7,1/14/7,05" << true;
    QTest::newRow("7//14") << "7//14" << false;
    QTest::newRow("7///14") << "7///14" << true; // two empty pieces are both 0
    QTest::newRow("7/14/") << "7/14/" << false;
    QTest::newRow("1e999/1e999") << "1e999/1e999" << true;
    QTest::newRow("3e38/1e999") << "3e38/1e999" << false;
    QTest::newRow("viele Stücke") << QString("5/").repeated(100000) << true;
}

void TstRechnenMehrere::gleichesBand()
{
    QFETCH(QString, f);
    QFETCH(bool, gleich);
    QCOMPARE(GleichesBand(f), gleich);
}

void TstRechnenMehrere::rechnenVerteilt_data()
{
    QTest::addColumn<QString>("art");
    QTest::addColumn<QString>("f");
    QTest::addColumn<QString>("text4");
    QTest::addColumn<Rechenergebnis>("ergebnis");
    QTest::addColumn<int>("pieps");
    QTest::addColumn<QString>("meldung");
    const QString band = QStringLiteral("Es sind Frequenzen im gleichen Band vorhanden!") + ZE +
                         QStringLiteral("Das ergiebt wenig Sinn.") + ZE +
                         QStringLiteral("Bitte dafür eine Mittenfrequenz o.Ä. eingeben.");
    QTest::newRow("mehrere, gleiches Band") << "mehrere"
                                            << "10/11"
                                            << "35" << Rechenergebnis::Hinweis << 0 << band;
    QTest::newRow("mehrere") << "mehrere"
                             << "7/14"
                             << "35" << Rechenergebnis::Bericht << 0 << QString();
    QTest::newRow("eine") << "eine"
                          << "7"
                          << "35" << Rechenergebnis::Bericht << 0 << QString();
    QTest::newRow("VorhKabel") << "VorhKabel"
                               << "7/14"
                               << "35" << Rechenergebnis::Bericht << 0 << QString();
    QTest::newRow("leeres Feld") << "eine"
                                 << "7"
                                 << "" << Rechenergebnis::Abgelehnt << 1 << QString();
    QTest::newRow("andere Art") << "keine"
                                << "7"
                                << "35" << Rechenergebnis::Abgelehnt << 0 << QString();
}

void TstRechnenMehrere::rechnenVerteilt()
{
    QFETCH(QString, art);
    QFETCH(QString, f);
    QFETCH(QString, text4);
    QFETCH(Rechenergebnis, ergebnis);
    QFETCH(int, pieps);
    QFETCH(QString, meldung);
    Umgebung u(QLocale::c());
    Berechnungsanfrage a = anfrage(f, "30", text4);
    a.modus = modusAusText(art);
    QCOMPARE(Rechnen(a, *u.kontext), ergebnis);
    QCOMPARE(u.ui.pieps, pieps);
    if (meldung.isEmpty()) {
        QVERIFY(u.ui.meldungen.isEmpty());
    } else {
        QCOMPARE(u.ui.meldungen.size(), 1);
        QCOMPARE(u.ui.meldungen[0].text, meldung);
        QCOMPARE(u.ui.meldungen[0].titel, QStringLiteral("Frequenzeingabe"));
        QCOMPARE(u.ui.meldungen[0].symbol, Symbol::Ausrufezeichen);
        QCOMPARE(u.ui.meldungen[0].knoepfe, Knoepfe::Ok);
        QCOMPARE(u.ui.dialogVerborgen, 0);
    }
    QCOMPARE(u.feld.text() != QStringLiteral("alter Bericht"), ergebnis == Rechenergebnis::Bericht);
}

QTEST_GUILESS_MAIN(TstRechnenMehrere)
#include "tst_rechnen_mehrere.moc"
