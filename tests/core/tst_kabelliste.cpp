// The cable list of every window: the shipped table, then the user's own.

#include "fake_oberflaeche.h"
#include "kabeldaten.h"
#include "kabeltabelle.h"
#include "werte.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace varo;

namespace {

class Liste : public KabelListe
{
public:
    QStringList eintraege;
    int auswahl = -1;
    void eintragHinzufuegen(const QString &text) override { eintraege << text; }
    int anzahl() const override { return int(eintraege.size()); }
    void setAuswahl(int index) override { auswahl = index; }
    void setText(const QString &) override {}
};

// Five rows, the fifth the preset.
const QByteArray kMitgeliefert = "; Tabelle\n"
                                 "0,66 RG-58 d=10/4,9;100/17,7;400/40,7\n"
                                 "0,82 RG-8X d=10/3;100/10,2;400/21,7\n"
                                 "0,66 RG-174 d=50/19;100/27,6;400/62,3\n"
                                 "0,80 H-155 d=100/9,1;400/18;1000/29,6\n"
                                 "0,66 RG-213 d=10/1,8;100/6,2;400/13,5\n";

enum class Art { Datei, Fehlt, Ordner, Pipe };

} // namespace

class TstKabelliste : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void eigeneNachMitgelieferten_data();
    void eigeneNachMitgelieferten();
    void ladenNenntUnbrauchbareZeilen();
    void grosseEigeneTabelleAngesagt();
    void anlegenMitKopf();
    void nichtEndlicheDaempfung_data();
    void nichtEndlicheDaempfung();

private:
    QString eigeneTabelle(const QString &name, Art art, const QByteArray &inhalt);
    QTemporaryDir m_dir;
    QString m_mitgeliefert;
};

void TstKabelliste::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_mitgeliefert = m_dir.filePath(QStringLiteral("Kabel.txt"));
    QFile datei(m_mitgeliefert);
    QVERIFY(datei.open(QIODevice::WriteOnly));
    datei.write(kMitgeliefert);
}

QString TstKabelliste::eigeneTabelle(const QString &name, Art art, const QByteArray &inhalt)
{
    const QString pfad = m_dir.filePath(name);
    if (art == Art::Datei) {
        QFile datei(pfad);
        if (datei.open(QIODevice::WriteOnly))
            datei.write(inhalt);
    } else if (art == Art::Ordner) {
        QDir(m_dir.path()).mkdir(name);
    } else if (art == Art::Pipe) {
        ::mkfifo(QFile::encodeName(pfad).constData(), 0600);
    }
    return pfad;
}

void TstKabelliste::eigeneNachMitgelieferten_data()
{
    QTest::addColumn<int>("art");
    QTest::addColumn<QByteArray>("inhalt");
    QTest::addColumn<QStringList>("eigene");  // types after the shipped five
    QTest::addColumn<QStringList>("hinweis"); // parts of the one note; empty: none
    QTest::newRow("gute Zeile") << int(Art::Datei)
                                << QByteArray("; meine\r\n0,8 Mein Kabel d=10/1;100/3,5\r\n")
                                << QStringList{"Mein Kabel"} << QStringList();
    QTest::newRow("kaputte Zeilen benannt")
        << int(Art::Datei)
        << QByteArray("Überschrift\n0,8 Gut d=10/1;100/3\n1,5 Zu schnell\n"
                      "0,7 Fallend d=10/3;100/1\n0,7 Kaputt d=10/drei\n0,9 Ohne Feld\n")
        << QStringList{"Gut", "Ohne Feld"}
        << QStringList{"unbrauchbare Zeilen", "Zeile 3 (Zu schnell)", "Zeile 4 (Fallend)",
                       "Zeile 5 (Kaputt)"};
    QTest::newRow("keine eigene") << int(Art::Fehlt) << QByteArray() << QStringList()
                                  << QStringList();
    QTest::newRow("Ordner") << int(Art::Ordner) << QByteArray() << QStringList()
                            << QStringList{"kann nicht gelesen werden"};
    QTest::newRow("Pipe blockiert nicht") << int(Art::Pipe) << QByteArray() << QStringList()
                                          << QStringList{"kann nicht gelesen werden"};
}

void TstKabelliste::eigeneNachMitgelieferten()
{
    QFETCH(int, art);
    QFETCH(QByteArray, inhalt);
    QFETCH(QStringList, eigene);
    QFETCH(QStringList, hinweis);
    const QString pfad =
        eigeneTabelle(QString::fromUtf8(QTest::currentDataTag()), Art(art), inhalt);

    const Kabelliste liste = kabellisteLesen({m_mitgeliefert, pfad});
    QVERIFY(liste.vorhanden);
    QCOMPARE(liste.fehler, QString());
    QStringList typen;
    for (const Kabeltyp &k : liste.kabel) {
        QCOMPARE(k.eigen, typen.size() >= 5);
        typen << k.Typ;
    }
    QCOMPARE(typen.mid(0, 5),
             (QStringList{"RG-58", "RG-8X", "RG-174", "H-155", "RG-213"})); // places kept
    QCOMPARE(typen.mid(5), eigene);
    QCOMPARE(liste.hinweise.size(), hinweis.isEmpty() ? 0 : 1);
    for (const QString &teil : std::as_const(hinweis))
        QVERIFY2(liste.hinweise.first().contains(teil), qPrintable(liste.hinweise.first()));
    if (!eigene.isEmpty())
        QCOMPARE(Kabeltabellen(m_mitgeliefert, pfad).pfad(liste.kabel.at(5)), pfad);

    // A table named on its own reads that table alone.
    QCOMPARE(kabellisteLesen(m_mitgeliefert).kabel.size(), 5);
}

void TstKabelliste::ladenNenntUnbrauchbareZeilen()
{
    const QString pfad = eigeneTabelle(QStringLiteral("laden.txt"), Art::Datei,
                                       "0,8 Gut d=10/1;100/3\n0,7 Fallend d=10/3;100/1\n");
    FakeOberflaeche ui;
    Programmwerte werte;
    werte.KabelIndex = 4;
    Liste liste;
    QVERIFY(KabelTabelleLaden(liste, 0.66F, QStringLiteral("0.66"), {m_mitgeliefert, pfad}, werte,
                              ui, QLocale(QLocale::German)));
    QCOMPARE(liste.eintraege.size(), 6);
    QVERIFY(liste.eintraege.last().startsWith(QStringLiteral("0,8 Gut ")));
    QCOMPARE(liste.auswahl, 4);
    QCOMPARE(ui.meldungen.size(), 1);
    QVERIFY2(ui.meldungen.first().text.contains(QStringLiteral("Zeile 2 (Fallend): Die Dämpfung "
                                                               "fällt")),
             qPrintable(ui.meldungen.first().text));

    // Without the shipped table the own rows follow the fallback item.
    Liste ohne;
    QVERIFY(!KabelTabelleLaden(ohne, 0.66F, QStringLiteral("0.66"),
                               {m_dir.filePath(QStringLiteral("fehlt.txt")), pfad}, werte, ui,
                               QLocale::c()));
    QCOMPARE(ohne.eintraege.size(), 2);
    QCOMPARE(ohne.eintraege.first(), QStringLiteral("0.66"));
    QCOMPARE(werte.KabelIndex, qint16(0));
}

void TstKabelliste::grosseEigeneTabelleAngesagt()
{
    // Rows up to past the byte bound: the one cut at the bound is never used.
    QByteArray inhalt;
    const QByteArray zeile = "0,8 Lang" + QByteArray(90, 'x') + " d=10/1;100/3,5;400/7,5\n";
    while (inhalt.size() < maxTabellenBytes + zeile.size())
        inhalt += zeile;
    const QString pfad = eigeneTabelle(QStringLiteral("gross.txt"), Art::Datei, inhalt);
    const Kabelliste liste = kabellisteLesen({m_mitgeliefert, pfad});
    const qsizetype ganze = maxTabellenBytes / zeile.size();
    QCOMPARE(liste.kabel.size(), 5 + ganze);
    QVERIFY(maxTabellenBytes % zeile.size() != 0); // a row is cut at the bound
    QCOMPARE(liste.kabel.last().Daempfung, QStringLiteral("d=10/1;100/3,5;400/7,5"));
    QCOMPARE(liste.hinweise.size(), 1);
    QVERIFY2(liste.hinweise.first().contains(QStringLiteral("größer als 1 MiB")),
             qPrintable(liste.hinweise.first()));
}

void TstKabelliste::anlegenMitKopf()
{
    const QString pfad = m_dir.filePath(QStringLiteral("neu/varolinaten/Kabel.txt"));
    QCOMPARE(eigeneKabeltabelleAnlegen(pfad), QString());
    QFile datei(pfad);
    QVERIFY(datei.open(QIODevice::ReadOnly));
    const QStringList zeilen = kabelDateiZeilen(datei.readAll());
    datei.close();
    QVERIFY(zeilen.size() > 5);
    QVERIFY(kabelZeilenLesen(zeilen).isEmpty()); // the head holds no cable
    // Its example is a sound row once its comment mark is taken away.
    const QString beispiel = zeilen.last().mid(2);
    const Tabellenpruefung pruefung = kabeltabellePruefen({beispiel});
    QCOMPARE(pruefung.probleme, QStringList());
    QCOMPARE(pruefung.kabel.size(), 1);

    // An existing table is left as it is.
    QVERIFY(datei.open(QIODevice::WriteOnly));
    datei.write("0,8 Meins\n");
    datei.close();
    QCOMPARE(eigeneKabeltabelleAnlegen(pfad), QString());
    QVERIFY(datei.open(QIODevice::ReadOnly));
    QCOMPARE(datei.readAll(), QByteArray("0,8 Meins\n"));

    // A folder that cannot be made is told.
    QVERIFY(!eigeneKabeltabelleAnlegen(m_mitgeliefert + QStringLiteral("/x/Kabel.txt")).isEmpty());
}

void TstKabelliste::nichtEndlicheDaempfung_data()
{
    QTest::addColumn<QString>("feld");
    QTest::addColumn<QString>("bericht"); // daempfungsfehler, what the reports are told
    QTest::newRow("inf") << "d=10/inf"
                         << "„inf“ ist keine endliche Zahl";
    QTest::newRow("-Inf mit Punkten") << "d=10/-Inf;100/3"
                                      << "„-Inf“ ist keine endliche Zahl";
    QTest::newRow("nan als Frequenz") << "d=nan/3"
                                      << "„nan“ ist keine endliche Zahl";
    QTest::newRow("Null bleibt Null") << "d=10/0"
                                      << "die Dämpfung ist 0";
    QTest::newRow("gut") << "d=10/1,5;100/4"
                         << "";
}

void TstKabelliste::nichtEndlicheDaempfung()
{
    QFETCH(QString, feld);
    QFETCH(QString, bericht);
    QCOMPARE(daempfungsfehler(feld), bericht);

    // The line analysis reads every point and says the same.
    QList<Daempfungspunkt> punkte;
    std::optional<double> impedanz;
    QString grund;
    const bool gelesen = daempfungsfeldLesen(feld, punkte, impedanz, &grund);
    const bool unendlich = bericht.contains(QStringLiteral("endlich"));
    QCOMPARE(gelesen, !unendlich);
    QCOMPARE(grund.contains(QStringLiteral("nicht endlich")), unendlich);
}

QTEST_APPLESS_MAIN(TstKabelliste)
#include "tst_kabelliste.moc"
