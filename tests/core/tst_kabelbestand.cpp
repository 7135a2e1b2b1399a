// The shipped cable table against the datasheets it was taken from, and the
// README's cable list against the table.

#include "kabeldaten.h"
#include "kabeltabelle.h"
#include "zahlenformat.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

#include <cmath>

using namespace varo;

namespace {

const QLocale deutsch(QLocale::German);

QStringList zeilenLesen(const QString &pfad)
{
    QFile datei(pfad);
    if (!datei.open(QIODevice::ReadOnly))
        return {};
    return kabelDateiZeilen(datei.readAll());
}

// "Kabel<TAB>f" → dB per 100 m of the grade-A datasheet figures.
QHash<QString, double> datenblattwerte()
{
    QHash<QString, double> werte;
    const QStringList zeilen =
        zeilenLesen(QStringLiteral(VARO_TESTDATEN "/kabel/datenblaetter.tsv"));
    for (qsizetype i = 1; i < zeilen.size(); ++i) {
        const QStringList f = zeilen.at(i).split(QLatin1Char('\t'));
        if (f.size() == 4)
            werte.insert(f.at(0) + QLatin1Char('\t') + QString::number(f.at(2).toDouble()),
                         f.at(3).toDouble());
    }
    return werte;
}

QSet<QString> abgeleitetePunkte()
{
    QSet<QString> punkte;
    const QStringList zeilen = zeilenLesen(QStringLiteral(VARO_TESTDATEN "/kabel/abgeleitet.tsv"));
    for (qsizetype i = 1; i < zeilen.size(); ++i) {
        const QStringList f = zeilen.at(i).split(QLatin1Char('\t'));
        if (f.size() == 2)
            punkte.insert(f.at(0) + QLatin1Char('\t') + QString::number(f.at(1).toDouble()));
    }
    return punkte;
}

const QString kTabelle = QStringLiteral(VARO_TESTDATEN "/../../data/Kabel.txt");

// One README line per cable: name, Vk, dB/100 m at 10, 100 and 430 MHz from
// the curve through the datasheet points (in brackets where the points do
// not reach that far), and the product and grade of the comment above it.
QString readmeZeile(const Kabeltyp &kabel, const QString &quelle)
{
    const Kabeldaten daten = *kabeldatenLesen(kabel);
    const Verlustmodell modell = verlustAnpassen(daten.punkte);
    double tief = 1e300, hoch = 0.0;
    for (const Daempfungspunkt &p : daten.punkte) {
        tief = std::min(tief, p.fMHz);
        hoch = std::max(hoch, p.fMHz);
    }
    QStringList spalten{kabel.Typ, formatZahl(kabel.Vk, QStringLiteral("0.0##"), deutsch)};
    for (const double f : {10.0, 100.0, 430.0}) {
        const QString wert = deutsch.toString(modell.dBPro100m(f), 'f', 1);
        spalten << (f < tief || f > hoch ? QStringLiteral("(%1)").arg(wert) : wert);
    }
    static const QRegularExpression produkt(QStringLiteral("^; Quelle: (.*?)(?: – |; gelesen)"));
    static const QRegularExpression stufe(QStringLiteral("; Stufe ([ABC])"));
    spalten << produkt.match(quelle).captured(1) + QStringLiteral(", Stufe ") +
                   stufe.match(quelle).captured(1);
    return QStringLiteral("| ") + spalten.join(QStringLiteral(" | ")) + QStringLiteral(" |");
}

} // namespace

class TstKabelbestand : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void zeile_data();
    void zeile();
    void tabelle();
    void readme();

private:
    QStringList m_zeilen;
    QList<Kabeltyp> m_kabel;
};

void TstKabelbestand::initTestCase()
{
    m_zeilen = zeilenLesen(kTabelle);
    m_kabel = kabelZeilenLesen(m_zeilen);
    QVERIFY(!m_kabel.isEmpty());
}

void TstKabelbestand::zeile_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < m_kabel.size(); ++i)
        QTest::newRow(qPrintable(m_kabel.at(i).Typ)) << i;
}

void TstKabelbestand::zeile()
{
    QFETCH(int, index);
    static const QHash<QString, double> datenblatt = datenblattwerte();
    static const QSet<QString> abgeleitet = abgeleitetePunkte();
    const Kabeltyp &kabel = m_kabel.at(index);
    QString grund;
    const auto daten = kabeldatenLesen(kabel, &grund);
    QVERIFY2(daten, qPrintable(grund));
    // Vk in (0, 1), loss rising with f, no frequency twice, Z above 0.
    QCOMPARE(kabeldatenPruefen(*daten), QString());
    QVERIFY(daten->punkte.size() >= 3);
    // The reports read the first point with its frequency as a whole number.
    QCOMPARE(daten->punkte.first().fMHz, std::round(daten->punkte.first().fMHz));

    const Verlustmodell modell = verlustAnpassen(daten->punkte);
    // Rows without grade-A data (ladder lines, club tables) have no figures to meet.
    bool mitDatenblatt = false;
    for (auto it = datenblatt.constBegin(); it != datenblatt.constEnd() && !mitDatenblatt; ++it)
        mitDatenblatt = it.key().startsWith(kabel.Typ + QLatin1Char('\t'));
    for (const Daempfungspunkt &p : daten->punkte) {
        const QString wo = QStringLiteral("%1 bei %2 MHz").arg(kabel.Typ).arg(p.fMHz);
        const double kurve = modell.dBPro100m(p.fMHz) / p.dBPro100m - 1.0;
        QVERIFY2(std::abs(kurve) < 0.05,
                 qPrintable(wo + QStringLiteral(": Kurve %1 %").arg(kurve * 100.0)));
        const QString schluessel = kabel.Typ + QLatin1Char('\t') + QString::number(p.fMHz);
        const auto it = datenblatt.constFind(schluessel);
        if (it == datenblatt.constEnd()) {
            QVERIFY2(abgeleitet.contains(schluessel) || !mitDatenblatt,
                     qPrintable(wo + QStringLiteral(": kein Datenblattwert")));
            continue;
        }
        const double abweichung = p.dBPro100m / *it - 1.0;
        QVERIFY2(std::abs(abweichung) < 0.05,
                 qPrintable(wo + QStringLiteral(": Datenblatt %1 %").arg(abweichung * 100.0)));
    }
}

void TstKabelbestand::tabelle()
{
    QVERIFY2(m_kabel.size() >= 45, qPrintable(QString::number(m_kabel.size())));
    QCOMPARE(m_kabel.at(4).Typ, QStringLiteral("RG-213"));
    QSet<QString> namen;
    for (const Kabeltyp &k : std::as_const(m_kabel)) {
        QVERIFY2(!namen.contains(k.Typ), qPrintable(k.Typ));
        namen.insert(k.Typ);
    }
    // Every row that the datasheet file knows is checked against it, and
    // every coax row (up to 100 Ω) has datasheet points or says why not.
    const QHash<QString, double> datenblatt = datenblattwerte();
    QSet<QString> mitDaten;
    for (auto it = datenblatt.constBegin(); it != datenblatt.constEnd(); ++it)
        mitDaten.insert(it.key().section(QLatin1Char('\t'), 0, 0));
    QVERIFY(mitDaten.size() >= 38);
    for (const QString &name : std::as_const(mitDaten))
        QVERIFY2(namen.contains(name), qPrintable(name));
    for (const Kabeltyp &k : std::as_const(m_kabel)) {
        const QString quelle = m_zeilen.at(k.zeile - 2);
        QVERIFY2(quelle.startsWith(QStringLiteral("; Quelle: ")), qPrintable(k.Typ));
        if (!mitDaten.contains(k.Typ))
            QVERIFY2(quelle.contains(QStringLiteral("; Stufe B")) ||
                         quelle.contains(QStringLiteral("; Stufe C")),
                     qPrintable(k.Typ));
    }
}

void TstKabelbestand::readme()
{
    QStringList erwartet{QStringLiteral("| Kabel | Vk | 10 MHz | 100 MHz | 430 MHz | Quelle |"),
                         QStringLiteral("|:--|--:|--:|--:|--:|:--|")};
    for (const Kabeltyp &k : std::as_const(m_kabel))
        erwartet << readmeZeile(k, m_zeilen.at(k.zeile - 2));

    QFile datei(QStringLiteral(VARO_TESTDATEN "/../../README.md"));
    QVERIFY(datei.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(datei.readAll());
    const qsizetype anfang = text.indexOf(QStringLiteral("<!-- kabelliste:anfang -->\n"));
    const qsizetype ende = text.indexOf(QStringLiteral("<!-- kabelliste:ende -->"));
    QVERIFY(anfang >= 0 && ende > anfang);
    const QString liste = text.mid(anfang + 27, ende - anfang - 27).trimmed();
    if (liste != erwartet.join(QLatin1Char('\n')))
        qWarning().noquote() << "Die Kabelliste im README sollte lauten:\n"
                             << erwartet.join(QLatin1Char('\n'));
    QCOMPARE(liste.split(QLatin1Char('\n')), erwartet);
}

QTEST_APPLESS_MAIN(TstKabelbestand)
#include "tst_kabelbestand.moc"
