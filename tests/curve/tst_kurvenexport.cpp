#include "kurvenexport.h"
#include "kurvenzeichnung.h"

#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace varo;

namespace {

KurvenEingabe design()
{
    return {QStringLiteral("1,5"), QStringLiteral("30,0"), QStringLiteral("72"),
            QStringLiteral("50"),  QStringLiteral("0,66"), QStringLiteral("30")};
}

// A 200 × 100 pixel surface.
Kurvenbild leeresBild()
{
    Kurvenbild b;
    b.breite = 200 * kTwipsProEinheit;
    b.hoehe = 100 * kTwipsProEinheit;
    return b;
}

// A pixel of the first black glyph, or (-1, -1).
QPoint schwarzesPixel(const QImage &bild)
{
    for (int y = 0; y < bild.height(); ++y)
        for (int x = 0; x < bild.width(); ++x)
            if ((bild.pixel(x, y) & 0xffffff) == 0)
                return {x, y};
    return {-1, -1};
}

QByteArray anfang(const QString &datei, int n)
{
    QFile f(datei);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.read(n);
}

} // namespace

class TstKurvenexport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void formate_data();
    void formate();
    void pngHatDesignGroesseUndKurve();
    void pngInGewaehlterGroesse();
    void regelVerletzt_data();
    void regelVerletzt();
    void andereFehler_data();
    void andereFehler();
    void zeichenreihenfolge_data();
    void zeichenreihenfolge();
    void svgSchriftWieGemessen();
    void ergebnisTypisiert();

private:
    QTemporaryDir m_dir;
};

void TstKurvenexport::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QVERIFY(m_dir.isValid());
}

void TstKurvenexport::formate_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArrayList>("anfaenge"); // any of these
    QTest::newRow("kurve.png") << "kurve.png" << QByteArrayList{"\x89PNG"};
    QTest::newRow("kurve.svg") << "kurve.svg" << QByteArrayList{"<?xml", "<svg"};
    QTest::newRow("kurve.pdf") << "kurve.pdf" << QByteArrayList{"%PDF"};
    QTest::newRow("KURVE.PNG") << "KURVE.PNG" << QByteArrayList{"\x89PNG"};
}

void TstKurvenexport::formate()
{
    QFETCH(QString, name);
    QFETCH(QByteArrayList, anfaenge);
    const QString datei = m_dir.filePath(name);
    const Exportergebnis ergebnis = kurveExportieren(design(), datei, QSize());
    QCOMPARE(ergebnis.status(), 0);
    const QString &meldung = ergebnis.meldung;
    QVERIFY2(meldung.isEmpty(), qPrintable(meldung));
    const QByteArray kopf = anfang(datei, 16);
    QVERIFY2(std::any_of(anfaenge.begin(), anfaenge.end(),
                         [&kopf](const QByteArray &a) { return kopf.startsWith(a); }),
             kopf.constData());
    QVERIFY(QFileInfo(datei).size() > 1000);
}

void TstKurvenexport::pngHatDesignGroesseUndKurve()
{
    const QString datei = m_dir.filePath(QStringLiteral("design.png"));
    const Exportergebnis ergebnis = kurveExportieren(design(), datei, QSize());
    QCOMPARE(ergebnis.status(), 0);
    QImage bild;
    QVERIFY(bild.load(datei));
    QCOMPARE(bild.size(), kurvenDesignGroesse());
    QCOMPARE(kurvenDesignGroesse(), QSize(651, 559));
    int gruen = 0, magenta = 0, rot = 0;
    for (int y = 0; y < bild.height(); ++y)
        for (int x = 0; x < bild.width(); ++x) {
            const QRgb c = bild.pixel(x, y) & 0xffffff;
            gruen += c == 0x00ff00;
            magenta += c == 0x800080;
            rot += c == 0xff0000;
        }
    QVERIFY(gruen > 0);
    QVERIFY(magenta > 0);
    QVERIFY(rot > 0);
}

void TstKurvenexport::pngInGewaehlterGroesse()
{
    const QString datei = m_dir.filePath(QStringLiteral("gross.png"));
    const Exportergebnis ergebnis = kurveExportieren(design(), datei, QSize(1200, 800));
    QCOMPARE(ergebnis.status(), 0);
    QImage bild;
    QVERIFY(bild.load(datei));
    QCOMPARE(bild.size(), QSize(1200, 800));
}

void TstKurvenexport::regelVerletzt_data()
{
    QTest::addColumn<QString>("eingZ");
    QTest::addColumn<QString>("bis");
    QTest::addColumn<QString>("meldung");
    QTest::newRow("bis 1,5") << "72"
                             << "1,5"
                             << "Unkorrekte Eingabe! ";
    QTest::newRow("ZEing 0,05") << "0,05"
                                << "30"
                                << "Der eingegebene Wert ist unreal  \r\n"
                                   "und  technisch  kaum  möglich!   ";
    QTest::newRow("ZEing 1e39") << "1e39"
                                << "30"
                                << "Unkorrekte Eingabe! ";
    QTest::newRow("bis 1,51") << "72"
                              << "1,51"
                              << "Der eingegebene Frequenzbereich ist zu schmal \r\n"
                                 "(mindestens  15  kHz  sind  nötig)!   ";
}

void TstKurvenexport::regelVerletzt()
{
    QFETCH(QString, eingZ);
    QFETCH(QString, bis);
    QFETCH(QString, meldung);
    KurvenEingabe e = design();
    e.eingZ = eingZ;
    e.bis = bis;
    const QString datei = m_dir.filePath(QStringLiteral("regel.png"));
    const Exportergebnis ergebnis = kurveExportieren(e, datei, QSize());
    QCOMPARE(ergebnis.status(), 2);
    const QString &text = ergebnis.meldung;
    QCOMPARE(text, meldung);
    QVERIFY(!QFile::exists(datei));
}

void TstKurvenexport::andereFehler_data()
{
    QTest::addColumn<QString>("datei");
    QTest::addColumn<QSize>("groesse");
    QTest::addColumn<QString>("enthaelt");
    QTest::newRow("kurve.bmp") << "kurve.bmp" << QSize() << "Dateiendung";
    QTest::newRow("kurve ohne Endung") << "kurve" << QSize() << "Dateiendung";
    QTest::newRow("fehlt/kurve.png") << "fehlt/kurve.png" << QSize() << "kann nicht geschrieben";
    QTest::newRow("1 x 1") << "klein.png" << QSize(1, 1) << "zu klein";
    QTest::newRow("651 x 40") << "flach.svg" << QSize(651, 40) << "zu klein";
    QTest::newRow("50000 x 500") << "riesig.png" << QSize(50000, 500) << "zu groß";
}

void TstKurvenexport::andereFehler()
{
    QFETCH(QString, datei);
    QFETCH(QSize, groesse);
    QFETCH(QString, enthaelt);
    const QString pfad = m_dir.filePath(datei);
    const Exportergebnis ergebnis = kurveExportieren(design(), pfad, groesse);
    QCOMPARE(ergebnis.status(), 1);
    const QString &meldung = ergebnis.meldung;
    QVERIFY2(meldung.contains(enthaelt), qPrintable(meldung));
    QVERIFY(!QFile::exists(pfad));
}

void TstKurvenexport::zeichenreihenfolge_data()
{
    QTest::addColumn<QString>("achsentext"); // under the spot, before the title
    QTest::addColumn<QString>("titel");      // under the spot when not empty
    QTest::addColumn<QList<int>>("farben");  // samples on the spot, in order
    QTest::addColumn<uint>("erwartet");
    using namespace kurvenfarbe;
    QTest::newRow("spätere Probe vorn") << ""
                                        << "" << QList<int>{Rot, Gruen} << 0x00ff00U;
    QTest::newRow("spätere Probe vorn, Magenta") << ""
                                                 << "" << QList<int>{Gruen, Magenta} << 0x800080U;
    QTest::newRow("Kurve über der Beschriftung") << "MMMM"
                                                 << "" << QList<int>{Rot} << 0xff0000U;
    QTest::newRow("Titel über der Kurve") << ""
                                          << "MMMM" << QList<int>{Gruen} << 0x000000U;
}

void TstKurvenexport::zeichenreihenfolge()
{
    QFETCH(QString, achsentext);
    QFETCH(QString, titel);
    QFETCH(QList<int>, farben);
    QFETCH(uint, erwartet);

    // Where the text shows black, on its own.
    const QPointF ort(30 * kTwipsProEinheit, 70 * kTwipsProEinheit);
    Kurvenbild b = leeresBild();
    if (!achsentext.isEmpty())
        b.texte.append({ort, achsentext});
    b.texte.append({titel.isEmpty() ? QPointF(0, 15) : ort, titel.isEmpty() ? " " : titel});
    QPoint stelle(100, 50);
    if (!achsentext.isEmpty() || !titel.isEmpty()) {
        stelle = schwarzesPixel(kurvenBild(b, QSize(200, 100)));
        QVERIFY(stelle.x() >= 0);
    }
    for (const int farbe : farben) {
        Kurvenpunkt punkt;
        punkt.x = qRound((stelle.x() + 0.5) * kTwipsProEinheit);
        punkt.y = qRound(b.hoehe - (stelle.y() + 0.5) * kTwipsProEinheit);
        punkt.farbe = farbe;
        b.punkte.append(punkt);
    }
    const QImage bild = kurvenBild(b, QSize(200, 100));
    QCOMPARE(bild.pixel(stelle) & 0xffffff, erwartet);
}

void TstKurvenexport::svgSchriftWieGemessen()
{
    const QString datei = m_dir.filePath(QStringLiteral("schrift.svg"));
    const Exportergebnis ergebnis = kurveExportieren(design(), datei, QSize());
    QCOMPARE(ergebnis.status(), 0);
    QFile f(datei);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QString svg = QString::fromUtf8(f.readAll());
    const QRegularExpression schrift(
        QStringLiteral("font-family=\"%1\" font-size=\"([^\"]+)\"")
            .arg(QRegularExpression::escape(diagrammSchrift().family())));
    int texte = 0;
    const QString gemessen = QString::number(diagrammSchriftInPixeln().pixelSize());
    for (auto it = schrift.globalMatch(svg); it.hasNext(); ++texte)
        QCOMPARE(it.next().captured(1), gemessen);
    QVERIFY(texte > 0);
}

void TstKurvenexport::ergebnisTypisiert()
{
    QCOMPARE(kurveExportieren(design(), m_dir.filePath(QStringLiteral("t.png"))).ergebnis,
             Exportergebnis::Ergebnis::Geschrieben);
    KurvenEingabe e = design();
    e.eingZ = QStringLiteral("0,5");
    const Exportergebnis abgelehnt = kurveExportieren(e, m_dir.filePath(QStringLiteral("a.png")));
    QCOMPARE(abgelehnt.ergebnis, Exportergebnis::Ergebnis::Abgelehnt);
    QCOMPARE(abgelehnt.status(), 2);
    QVERIFY(
        abgelehnt.meldung.startsWith(QStringLiteral("Der eingegebene Wert der Eing.-Impedanz")));
    const Exportergebnis fehler =
        kurveExportieren(design(), m_dir.filePath(QStringLiteral("k.gif")));
    QCOMPARE(fehler.ergebnis, Exportergebnis::Ergebnis::Fehler);
    QCOMPARE(fehler.status(), 1);
}

QTEST_MAIN(TstKurvenexport)
#include "tst_kurvenexport.moc"
