#include "dateilesen.h"
#include "diagrammschrift.h"
#include "leitungsexport.h"
#include "leitungszeichnung.h"

#include <QFile>
#include <QFontInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

using namespace varo;

namespace {

const QSizeF kFlaeche(880, 560);

// n samples from von to bis MHz with R rising linearly from rVon to rBis,
// X = 0, an SWR of swr and a loss of 1 dB.
Leitungsdiagramm diagramm(double von, double bis, int n, double rVon = 50.0, double rBis = 50.0,
                          double swr = 1.5)
{
    Leitungsdiagramm d;
    d.ueberschrift = QStringLiteral("RG-213, 14 m");
    for (int i = 0; i < n; ++i) {
        const double t = n > 1 ? double(i) / (n - 1) : 0.0;
        Leitungswerte w;
        w.fMHz = von + t * (bis - von);
        w.Zin = Komplex(rVon + t * (rBis - rVon), 0.0);
        w.swrSender = swr;
        w.verlustGesamt = 1.0;
        d.werte.append(w);
    }
    return d;
}

QStringList texteVon(const QList<Diagrammtext> &texte)
{
    QStringList liste;
    for (const Diagrammtext &t : texte)
        liste.append(t.text);
    return liste;
}

} // namespace

class TstLeitungsbild : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void frequenzachse_data();
    void frequenzachse();
    void wertachsen_data();
    void wertachsen();
    void kurvenpunkte();
    void lueckeTrenntKurve();
    void zeigerUndLeeresDiagramm();
    void ohneVerlust();
    void schriftWieBei96Dpi();
    void exportieren_data();
    void exportieren();
    void vollerDatentraegerLaesstDateiStehen();

private:
    QTemporaryDir m_dir;
};

void TstLeitungsbild::frequenzachse_data()
{
    QTest::addColumn<double>("von");
    QTest::addColumn<double>("bis");
    QTest::addColumn<double>("breite");
    QTest::addColumn<QStringList>("beschriftung");
    QTest::newRow("40 m") << 7.0 << 7.2 << 880.0
                          << QStringList{"7,00", "7,05", "7,10", "7,15", "7,20"};
    QTest::newRow("KW, ends between ticks")
        << 1.8 << 29.7 << 880.0 << QStringList{"5", "10", "15", "20", "25"};
    QTest::newRow("narrow surface") << 7.0 << 7.2 << 400.0 << QStringList{"7,0", "7,1", "7,2"};
    QTest::newRow("wide surface") << 3.5 << 3.8 << 1760.0
                                  << QStringList{"3,50", "3,52", "3,54", "3,56", "3,58", "3,60",
                                                 "3,62", "3,64", "3,66", "3,68", "3,70", "3,72",
                                                 "3,74", "3,76", "3,78", "3,80"};
}

void TstLeitungsbild::frequenzachse()
{
    QFETCH(double, von);
    QFETCH(double, bis);
    QFETCH(double, breite);
    QFETCH(QStringList, beschriftung);
    const QSizeF flaeche(breite, 560);
    const Leitungsbild bild = leitungsbildBerechnen(diagramm(von, bis, 101), flaeche, QLocale());
    QVERIFY(bild.mitAchsen);
    QCOMPARE(bild.frequenzMarken.size(), beschriftung.size());
    const QRectF bereich = leitungsZeichenbereich(flaeche);
    for (qsizetype i = 0; i < beschriftung.size(); ++i) {
        const double f = bild.frequenzMarken.at(i);
        const Diagrammtext &text = bild.achsentexte.at(i);
        QCOMPARE(text.text, beschriftung.at(i));
        // Each label stands centred under its tick, below the lower panel.
        const double x = bereich.left() + (f - von) / (bis - von) * bereich.width();
        const double mitte =
            text.ort.x() +
            QFontMetricsF(diagrammSchrift(), &messflaeche()).horizontalAdvance(text.text) / 2.0;
        QVERIFY2(std::abs(mitte - x) < 1e-9, qPrintable(text.text));
        QVERIFY(text.ort.y() > bild.unten.rechteck.bottom());
        // Two grid lines per tick, one through each panel.
        QCOMPARE(bild.gitter.at(2 * i).x1(), x);
        QCOMPARE(bild.gitter.at(2 * i + 1).y2(), bild.unten.rechteck.bottom());
    }
}

void TstLeitungsbild::wertachsen_data()
{
    QTest::addColumn<double>("rBis");
    QTest::addColumn<double>("swr");
    QTest::addColumn<QList<double>>("impedanz");  // labelled ticks of the upper panel
    QTest::addColumn<QList<double>>("stehwelle"); // of the lower panel
    QTest::newRow("50 Ω, SWR 1,5") << 50.0 << 1.5 << QList<double>{0, 10, 20, 30, 40, 50}
                                   << QList<double>{1.0, 1.2, 1.4, 1.6, 1.8, 2.0};
    QTest::newRow("up to 600 Ω, SWR 4")
        << 600.0 << 4.0 << QList<double>{0, 100, 200, 300, 400, 500, 600}
        << QList<double>{1, 2, 3, 4};
    // The SWR axis stops at 20 however badly the line is matched.
    QTest::newRow("SWR 500") << 50.0 << 500.0 << QList<double>{0, 10, 20, 30, 40, 50}
                             << QList<double>{1, 5, 10, 15, 20};
}

void TstLeitungsbild::wertachsen()
{
    QFETCH(double, rBis);
    QFETCH(double, swr);
    QFETCH(QList<double>, impedanz);
    QFETCH(QList<double>, stehwelle);
    const Leitungsbild bild =
        leitungsbildBerechnen(diagramm(7.0, 7.2, 21, 50.0, rBis, swr), kFlaeche, QLocale());
    QCOMPARE(bild.oben.marken.size(), impedanz.size());
    for (qsizetype i = 0; i < impedanz.size(); ++i)
        QVERIFY(std::abs(bild.oben.marken.at(i) - impedanz.at(i)) < 1e-9);
    QCOMPARE(bild.unten.marken.size(), stehwelle.size());
    for (qsizetype i = 0; i < stehwelle.size(); ++i)
        QVERIFY(std::abs(bild.unten.marken.at(i) - stehwelle.at(i)) < 1e-9);
    // The axis ends are the panels' edges.
    QCOMPARE(bild.oben.yZuPixel(bild.oben.y.von), bild.oben.rechteck.bottom());
    QCOMPARE(bild.unten.yZuPixel(1.0), bild.unten.rechteck.bottom());
    QCOMPARE(bild.unten.yZuPixel(bild.unten.y.bis), bild.unten.rechteck.top());
    // Left labels end 6 units before the panel, right ones start 6 after it.
    const QFontMetricsF mass(diagrammSchrift(), &messflaeche());
    for (const Diagrammtext &t : bild.achsentexte) {
        if (t.ort.y() > bild.unten.rechteck.bottom())
            continue; // a frequency
        const double ende = t.ort.x() + mass.horizontalAdvance(t.text);
        QVERIFY2(std::abs(ende - (bild.oben.rechteck.left() - 6.0)) < 1e-9 ||
                     std::abs(t.ort.x() - (bild.oben.rechteck.right() + 6.0)) < 1e-9,
                 qPrintable(t.text));
    }
}

void TstLeitungsbild::kurvenpunkte()
{
    const Leitungsdiagramm d = diagramm(7.0, 7.2, 11, 0.0, 50.0);
    const Leitungsbild bild = leitungsbildBerechnen(d, kFlaeche, QLocale());
    QCOMPARE(bild.kurven.size(), 5); // R, X, |Z|, SWR and the loss
    const QPolygonF &r = bild.kurven.at(0).zug.teile.at(0);
    QCOMPARE(r.size(), 11);
    const QRectF &oben = bild.oben.rechteck;
    // R runs from 0 Ω at the lower left corner to 50 Ω at the upper right.
    QCOMPARE(r.first(), oben.bottomLeft());
    QCOMPARE(r.last().x(), oben.right());
    QVERIFY(std::abs(r.last().y() - oben.top()) < 1e-9);
    QVERIFY(std::abs(r.at(5).y() - (oben.top() + oben.bottom()) / 2.0) < 1e-9);
    // X = 0 lies on the lower edge throughout; the SWR and loss traces are
    // clipped to the lower panel.
    for (const QPointF &punkt : bild.kurven.at(1).zug.teile.at(0))
        QCOMPARE(punkt.y(), oben.bottom());
    QCOMPARE(bild.kurven.at(3).ausschnitt, bild.unten.rechteck.adjusted(-1, -1, 1, 1));
    QCOMPARE(bild.kurven.at(4).zug.teile.at(0).first().y(), bild.verlust.yZuPixel(1.0));
}

void TstLeitungsbild::lueckeTrenntKurve()
{
    Leitungsdiagramm d = diagramm(7.0, 7.2, 11);
    d.werte[4].Zin = Komplex(std::nan(""), 0.0);
    const Leitungsbild bild = leitungsbildBerechnen(d, kFlaeche, QLocale());
    const QList<QPolygonF> &teile = bild.kurven.at(0).zug.teile;
    QCOMPARE(teile.size(), 2);
    QCOMPARE(teile.at(0).size(), 4);
    QCOMPARE(teile.at(1).size(), 6);
}

void TstLeitungsbild::zeigerUndLeeresDiagramm()
{
    const Leitungsdiagramm d = diagramm(7.0, 7.2, 11);
    const Leitungsbild mit = leitungsbildBerechnen(d, kFlaeche, QLocale(), 3);
    QVERIFY(mit.zeiger);
    QCOMPARE(mit.zeiger->x1(), mit.kurven.at(0).zug.teile.at(0).at(3).x());
    QCOMPARE(mit.zeiger->y1(), mit.oben.rechteck.top());
    QCOMPARE(mit.zeiger->y2(), mit.unten.rechteck.bottom());
    QCOMPARE(leitungsIndexBei(d, kFlaeche, mit.zeiger->x1()), 3);
    QVERIFY(!leitungsbildBerechnen(d, kFlaeche, QLocale(), 11).zeiger);
    QVERIFY(!leitungsbildBerechnen(d, kFlaeche, QLocale()).zeiger);

    // One sample draws the heading only.
    const Leitungsbild leer = leitungsbildBerechnen(diagramm(7.0, 7.0, 1), kFlaeche, QLocale(), 0);
    QVERIFY(!leer.mitAchsen);
    QCOMPARE(leer.ueberschrift.text, QStringLiteral("RG-213, 14 m"));
    QVERIFY(leer.kurven.isEmpty() && leer.achsentexte.isEmpty() && leer.texte.isEmpty());
    QVERIFY(!leer.zeiger);
}

void TstLeitungsbild::ohneVerlust()
{
    Leitungsdiagramm d = diagramm(7.0, 7.2, 11);
    const Leitungsbild mit = leitungsbildBerechnen(d, kFlaeche, QLocale());
    d.mitVerlust = false;
    const Leitungsbild ohne = leitungsbildBerechnen(d, kFlaeche, QLocale());
    QCOMPARE(ohne.kurven.size(), 4);
    QCOMPARE(ohne.achsentexte.size(), mit.achsentexte.size() - mit.verlust.marken.size());
    QCOMPARE(ohne.legendenStriche.size(), 4);
    QVERIFY(texteVon(mit.texte).contains(QStringLiteral("Verlust gesamt/dB (rechts)")));
    QVERIFY(!texteVon(ohne.texte).contains(QStringLiteral("Verlust gesamt/dB (rechts)")));
    QVERIFY(texteVon(ohne.texte).last().endsWith(QStringLiteral("ohne Verluste gerechnet")));
}

void TstLeitungsbild::schriftWieBei96Dpi()
{
    // Text keeps the size it was laid out at, on any device.
    const int gemessen = QFontInfo(QFont(diagrammSchrift(), &messflaeche())).pixelSize();
    for (const int dpi : {72, 96, 120, 192}) {
        QImage bild(10, 10, QImage::Format_RGB32);
        bild.setDotsPerMeterX(qRound(dpi / 0.0254));
        bild.setDotsPerMeterY(qRound(dpi / 0.0254));
        const QFont schrift = diagrammSchriftFuer(&bild);
        QCOMPARE(QFontInfo(QFont(schrift, &bild)).pixelSize(), gemessen);
    }
}

void TstLeitungsbild::exportieren_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("anfang"); // empty: refused with that ending
    QTest::addColumn<QString>("meldung");
    QTest::newRow("csv") << "a.csv" << QByteArray("f/MHz;R/Ohm") << "";
    QTest::newRow("png") << "a.png" << QByteArray("\x89PNG") << "";
    QTest::newRow("SVG") << "a.SVG" << QByteArray("<?xml") << "";
    QTest::newRow("pdf") << "a.pdf" << QByteArray("%PDF") << "";
    QTest::newRow("doc") << "a.doc" << QByteArray()
                         << "Unbekannte Dateiendung „doc“: möglich sind .csv, .png, .svg und .pdf.";
    QTest::newRow("missing folder") << "fehlt/a.png" << QByteArray()
                                    << "Die Datei „%1“ kann nicht geschrieben werden: Der Ordner "
                                       "ist nicht vorhanden.";
}

void TstLeitungsbild::exportieren()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, anfang);
    QFETCH(QString, meldung);
    const QString pfad = m_dir.filePath(name);
    const Exportergebnis ergebnis = leitungExportieren(diagramm(7.0, 7.2, 11), pfad);
    QCOMPARE(ergebnis.geschrieben(), !anfang.isEmpty());
    QCOMPARE(ergebnis.status(), anfang.isEmpty() ? 1 : 0);
    QCOMPARE(ergebnis.meldung, meldung.contains(QLatin1String("%1"))
                                   ? meldung.arg(QDir::toNativeSeparators(pfad))
                                   : meldung);
    QFile datei(pfad);
    QCOMPARE(datei.open(QIODevice::ReadOnly), !anfang.isEmpty());
    if (!anfang.isEmpty())
        QCOMPARE(datei.read(anfang.size()), anfang);
}

void TstLeitungsbild::vollerDatentraegerLaesstDateiStehen()
{
    const QString pfad = m_dir.filePath(QStringLiteral("voll.png"));
    QFile alt(pfad);
    QVERIFY(alt.open(QIODevice::WriteOnly) && alt.write("alt") == 3);
    alt.close();
    schreibgrenzeSetzen(100);
    const Exportergebnis ergebnis = leitungExportieren(diagramm(7.0, 7.2, 11), pfad);
    schreibgrenzeSetzen(-1);
    QCOMPARE(ergebnis.ergebnis, Exportergebnis::Ergebnis::Fehler);
    QVERIFY2(ergebnis.meldung.contains(QStringLiteral("Kein Speicherplatz")),
             qPrintable(ergebnis.meldung));
    QVERIFY(alt.open(QIODevice::ReadOnly));
    QCOMPARE(alt.readAll(), QByteArray("alt"));
}

QTEST_MAIN(TstLeitungsbild)
#include "tst_leitungsbild.moc"
