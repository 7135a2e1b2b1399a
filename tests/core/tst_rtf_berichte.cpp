// Every report of the three calculations survives saving as RTF and
// opening again: the same plain text and, run by run, the same formats.
#include "dokumentberichtsfeld.h"
#include "drucker.h"
#include "fake_oberflaeche.h"
#include "rechnen.h"
#include "rtf.h"

#include <QTest>
#include <QTextBlock>
#include <QTextFragment>

namespace {

struct Lauf
{
    QString text;
    QTextCharFormat format;
    Qt::Alignment ausrichtung;
};

// The document as a list of runs of equal format, merged across fragment
// boundaries that a reader may draw differently.
QList<Lauf> laeufe(const QTextDocument &dokument)
{
    QList<Lauf> ergebnis;
    for (QTextBlock block = dokument.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const QTextCharFormat c = f.charFormat();
            QTextCharFormat merkmale;
            merkmale.setFontFamilies(c.fontFamilies().toStringList());
            merkmale.setFontPointSize(c.fontPointSize());
            merkmale.setFontWeight(c.fontWeight() >= QFont::DemiBold ? QFont::Bold : QFont::Normal);
            merkmale.setFontItalic(c.fontItalic());
            merkmale.setFontUnderline(c.fontUnderline());
            merkmale.setFontStrikeOut(c.fontStrikeOut());
            merkmale.setVerticalAlignment(c.verticalAlignment());
            merkmale.setForeground(c.foreground().style() == Qt::NoBrush ? QColor(Qt::black)
                                                                         : c.foreground().color());
            const Qt::Alignment a = block.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
            if (!ergebnis.isEmpty() && ergebnis.last().format == merkmale &&
                ergebnis.last().ausrichtung == a) {
                ergebnis.last().text += f.text();
                continue;
            }
            ergebnis.append({f.text(), merkmale, a});
        }
    }
    return ergebnis;
}

// Font and size of each empty line: they set its height.
QStringList leereZeilen(const QTextDocument &dokument)
{
    QStringList ergebnis;
    for (QTextBlock block = dokument.begin(); block.isValid(); block = block.next()) {
        if (block.length() > 1)
            continue;
        const QTextCharFormat c = block.charFormat();
        ergebnis << c.fontFamilies().toStringList().value(0) + QLatin1Char('|') +
                        QString::number(c.fontPointSize());
    }
    return ergebnis;
}

} // namespace

class TstRtfBerichte : public QObject
{
    Q_OBJECT

private slots:
    void speichernUndOeffnen_data();
    void speichernUndOeffnen();
};

void TstRtfBerichte::speichernUndOeffnen_data()
{
    QTest::addColumn<QString>("art");
    QTest::addColumn<QString>("frequenz");
    QTest::addColumn<QString>("kabel");
    QTest::addColumn<QString>("laenge");
    QTest::newRow("eine, mit Dämpfung") << "eine"
                                        << "7,1"
                                        << "0,66 RG-213 d=100/6,8"
                                        << "30";
    QTest::newRow("eine, mehrere Seiten") << "eine"
                                          << "28"
                                          << "0,66"
                                          << "700";
    QTest::newRow("mehrere") << "mehrere"
                             << "14,2/21,2/28,5"
                             << "0,66 RG-58"
                             << "30";
    QTest::newRow("mehrere, kein Ergebnis") << "mehrere"
                                            << "3,6/7,05"
                                            << "0,66"
                                            << "0";
    QTest::newRow("VorhKabel") << "VorhKabel"
                               << "3,6/7,05/14,2/21,2/28,5"
                               << "0,66"
                               << "30";
}

void TstRtfBerichte::speichernUndOeffnen()
{
    QFETCH(QString, art);
    QFETCH(QString, frequenz);
    QFETCH(QString, kabel);
    QFETCH(QString, laenge);

    varo::Programmwerte werte;
    varo::DokumentBerichtsfeld bericht;
    varo::KeinDrucker drucker;
    FakeOberflaeche ui;
    varo::Rechenkontext kontext{werte, bericht, drucker, ui, QLocale(QLocale::German)};
    varo::Berechnungsanfrage anfrage;
    anfrage.modus = varo::modusAusText(art);
    anfrage.frequenzen = frequenz;
    anfrage.kabel = kabel;
    anfrage.laenge = laenge;
    anfrage.toleranz = QStringLiteral("35");
    QCOMPARE(varo::Rechnen(anfrage, kontext), varo::Rechenergebnis::Bericht);

    const QByteArray rtf = varo::rtfSchreiben(bericht.dokument());
    varo::DokumentBerichtsfeld geoeffnet;
    QString fehler;
    QVERIFY2(varo::rtfLesen(rtf, geoeffnet.dokument(), &fehler), qPrintable(fehler));

    QCOMPARE(geoeffnet.text(), bericht.text());
    const QList<Lauf> vorher = laeufe(bericht.dokument());
    const QList<Lauf> nachher = laeufe(geoeffnet.dokument());
    // Title, header, table, closing remark and greeting each have their own format.
    QVERIFY(vorher.size() >= 5);
    QCOMPARE(nachher.size(), vorher.size());
    for (int i = 0; i < vorher.size(); ++i) {
        QCOMPARE(nachher[i].text, vorher[i].text);
        QVERIFY2(nachher[i].format == vorher[i].format, qPrintable(vorher[i].text.left(40)));
        QCOMPARE(nachher[i].ausrichtung, vorher[i].ausrichtung);
    }
    // Empty lines are as high as before: the one after the title and those
    // before the closing remark and the greeting at least.
    QVERIFY(leereZeilen(bericht.dokument()).size() >= 3);
    QCOMPARE(leereZeilen(geoeffnet.dokument()), leereZeilen(bericht.dokument()));
}

QTEST_GUILESS_MAIN(TstRtfBerichte)
#include "tst_rtf_berichte.moc"
