#include "dokumentdialoge.h"
#include "laufzeitfehler.h"
#include "qtdrucker.h"
#include "rechenumgebung.h"

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QtTest>
#include <functional>

using Operation = std::function<void(varo::Drucker &)>;
Q_DECLARE_METATYPE(Operation)
Q_DECLARE_METATYPE(varo::Papierformat)
Q_DECLARE_METATYPE(varo::Papierfach)
Q_DECLARE_METATYPE(varo::Seitenlage)

class TstQtDrucker : public QObject
{
    Q_OBJECT

private slots:
    void ohneDruckerWirftJedeOperation_data();
    void ohneDruckerWirftJedeOperation();
    void pdfDokumentEnthaeltText();
    void pdfBildIstEineSeite();
    void seitenmasseFolgenDerOrientierung();
    void texthoeheInMillimetern_data();
    void texthoeheInMillimetern();
    void papiergroesseUndFach_data();
    void papiergroesseUndFach();
    void ungueltigeWerteWerdenAbgelehnt_data();
    void ungueltigeWerteWerdenAbgelehnt();
    void jedesBlattBeginntEineSeite_data();
    void jedesBlattBeginntEineSeite();
    void bildNachBerichtIstGanz_data();
    void bildNachBerichtIstGanz();
    void abgelehnterAuftragIstEinFehler_data();
    void abgelehnterAuftragIstEinFehler();
    void startetMitPapierDerWarteschlange();
    void einrichtenNimmtPapierDerWarteschlange();
};

void TstQtDrucker::ohneDruckerWirftJedeOperation_data()
{
    QTest::addColumn<Operation>("operation");
    QTest::newRow("geraetename") << Operation([](varo::Drucker &d) { d.geraetename(); });
    QTest::newRow("setStandardFolgen")
        << Operation([](varo::Drucker &d) { d.setStandardFolgen(true); });
    QTest::newRow("setMasseinheit")
        << Operation([](varo::Drucker &d) { d.setMasseinheit(varo::Masseinheit::Millimeter); });
    QTest::newRow("setSchriftname")
        << Operation([](varo::Drucker &d) { d.setSchriftname("Courier New"); });
    QTest::newRow("setSchriftgroesse")
        << Operation([](varo::Drucker &d) { d.setSchriftgroesse(10); });
    QTest::newRow("seitenlage") << Operation([](varo::Drucker &d) { d.seitenlage(); });
    QTest::newRow("setSeitenlage")
        << Operation([](varo::Drucker &d) { d.setSeitenlage(varo::Seitenlage::Hochformat); });
    QTest::newRow("papierformat") << Operation([](varo::Drucker &d) { d.papierformat(); });
    QTest::newRow("setPapierformat")
        << Operation([](varo::Drucker &d) { d.setPapierformat(varo::Papierformat::A4); });
    QTest::newRow("papierfach") << Operation([](varo::Drucker &d) { d.papierfach(); });
    QTest::newRow("setPapierfach")
        << Operation([](varo::Drucker &d) { d.setPapierfach(varo::Papierfach::Automatisch); });
    QTest::newRow("seitenhoeheTwips") << Operation([](varo::Drucker &d) { d.seitenhoeheTwips(); });
    QTest::newRow("seitenbreiteTwips")
        << Operation([](varo::Drucker &d) { d.seitenbreiteTwips(); });
    QTest::newRow("textHoehe") << Operation([](varo::Drucker &d) { d.textHoehe("HgyÜ8"); });
    QTest::newRow("dokumentBeenden") << Operation([](varo::Drucker &d) { d.dokumentBeenden(); });
    QTest::newRow("bildDrucken") << Operation([](varo::Drucker &d) {
        QImage bild(10, 10, QImage::Format_RGB32);
        bild.fill(Qt::white);
        d.bildDrucken(bild);
    });
    QTest::newRow("dokumentDrucken") << Operation([](varo::Drucker &d) {
        QTextDocument dokument(QStringLiteral("Bericht"));
        d.dokumentDrucken(dokument);
    });
}

void TstQtDrucker::ohneDruckerWirftJedeOperation()
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        QSKIP("Auf diesem Rechner ist ein Drucker eingerichtet.");
    QFETCH(Operation, operation);
    varo::QtDrucker drucker;
    QVERIFY(!drucker.vorhanden());
    try {
        operation(drucker);
        QFAIL("Die Operation hätte fehlschlagen müssen.");
    } catch (const varo::Laufzeitfehler &f) {
        QCOMPARE(f.nummer(), varo::fehler::DruckerInformation);
        QVERIFY(f.istDruckerfehler());
    }
}

static QString pdfText(const QString &datei)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), datei, QStringLiteral("-")});
    if (!p.waitForFinished(30000))
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

void TstQtDrucker::pdfDokumentEnthaeltText()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString datei = dir.filePath(QStringLiteral("bericht.pdf"));
    auto drucker = varo::QtDrucker::fuerPdf(datei);
    QVERIFY(drucker->vorhanden());
    QCOMPARE(drucker->geraetename(), datei);

    QTextDocument dokument;
    dokument.setPlainText(QStringLiteral("Varolinaten-Berechnung\nGünstige Längen 13,850 m"));
    drucker->dokumentDrucken(dokument);
    drucker->dokumentBeenden();

    QFile f(datei);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.read(5).startsWith("%PDF"));
    const QString text = pdfText(datei);
    QVERIFY2(text.contains(QStringLiteral("Varolinaten-Berechnung")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("Günstige Längen 13,850 m")), qPrintable(text));
}

void TstQtDrucker::pdfBildIstEineSeite()
{
    QTemporaryDir dir;
    const QString datei = dir.filePath(QStringLiteral("bild.pdf"));
    auto drucker = varo::QtDrucker::fuerPdf(datei);
    // Much wider than the page: it must be scaled down, not cut or spread.
    QImage bild(4000, 500, QImage::Format_RGB32);
    bild.fill(Qt::red);
    drucker->bildDrucken(bild);

    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {datei});
    QVERIFY(p.waitForFinished(30000));
    const QString info = QString::fromUtf8(p.readAllStandardOutput());
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))), qPrintable(info));

    QVERIFY_THROWS_EXCEPTION(varo::Laufzeitfehler, drucker->bildDrucken(QImage()));
}

void TstQtDrucker::seitenmasseFolgenDerOrientierung()
{
    QTemporaryDir dir;
    auto drucker = varo::QtDrucker::fuerPdf(dir.filePath(QStringLiteral("x.pdf")));
    drucker->setPapierformat(varo::Papierformat::A4);
    drucker->setSeitenlage(varo::Seitenlage::Hochformat);
    QCOMPARE(drucker->seitenlage(), varo::Seitenlage::Hochformat);
    const int hoch = drucker->seitenhoeheTwips();
    const int breit = drucker->seitenbreiteTwips();
    // A4 is 297 x 210 mm = 16838 x 11906 twips; the printable part is less.
    QVERIFY2(hoch > 14000 && hoch <= 16838, qPrintable(QString::number(hoch)));
    QVERIFY2(breit > 9000 && breit <= 11906, qPrintable(QString::number(breit)));

    drucker->setSeitenlage(varo::Seitenlage::Querformat);
    QCOMPARE(drucker->seitenlage(), varo::Seitenlage::Querformat);
    QVERIFY(drucker->seitenbreiteTwips() > drucker->seitenhoeheTwips());
    QVERIFY(drucker->seitenbreiteTwips() <= 16838);
}

void TstQtDrucker::texthoeheInMillimetern_data()
{
    QTest::addColumn<double>("punkte");
    QTest::addColumn<double>("minMm");
    QTest::addColumn<double>("maxMm");
    // A line is a little more than the em height: 10 pt = 3.53 mm.
    QTest::newRow("10 pt") << 10.0 << 3.5 << 5.5;
    QTest::newRow("8 pt") << 8.0 << 2.8 << 4.4;
    QTest::newRow("20 pt") << 20.0 << 7.0 << 11.0;
}

void TstQtDrucker::texthoeheInMillimetern()
{
    QFETCH(double, punkte);
    QFETCH(double, minMm);
    QFETCH(double, maxMm);
    QTemporaryDir dir;
    auto drucker = varo::QtDrucker::fuerPdf(dir.filePath(QStringLiteral("x.pdf")));
    drucker->setSchriftname(QStringLiteral("Courier New"));
    drucker->setSchriftgroesse(punkte);
    drucker->setMasseinheit(varo::Masseinheit::Millimeter);
    const double mm = drucker->textHoehe(QStringLiteral("HgyÜ8"));
    QVERIFY2(mm >= minMm && mm <= maxMm, qPrintable(QString::number(mm)));

    // The same height in twips: 1 mm = 1440 / 25.4 twips.
    drucker->setMasseinheit(varo::Masseinheit::Twips);
    QVERIFY(qAbs(drucker->textHoehe(QStringLiteral("HgyÜ8")) - mm * 1440.0 / 25.4) < 0.01);
}

void TstQtDrucker::papiergroesseUndFach_data()
{
    QTest::addColumn<varo::Papierformat>("papier");
    QTest::addColumn<varo::Papierfach>("fach");
    QTest::newRow("A4, automatisch") << varo::Papierformat::A4 << varo::Papierfach::Automatisch;
    QTest::newRow("Letter, manuell") << varo::Papierformat::Letter << varo::Papierfach::Manuell;
    QTest::newRow("A3, unten") << varo::Papierformat::A3 << varo::Papierfach::Unten;
    QTest::newRow("A5, oben") << varo::Papierformat::A5 << varo::Papierfach::Oben;
    QTest::newRow("Executive, Kassette")
        << varo::Papierformat::Executive << varo::Papierfach::Kassette;
}

void TstQtDrucker::papiergroesseUndFach()
{
    QFETCH(varo::Papierformat, papier);
    QFETCH(varo::Papierfach, fach);
    QTemporaryDir dir;
    auto drucker = varo::QtDrucker::fuerPdf(dir.filePath(QStringLiteral("x.pdf")));
    drucker->setPapierformat(papier);
    drucker->setPapierfach(fach);
    QCOMPARE(drucker->papierformat(), papier);
    QCOMPARE(drucker->papierfach(), fach);
}

void TstQtDrucker::ungueltigeWerteWerdenAbgelehnt_data()
{
    QTest::addColumn<Operation>("operation");
    // Values no caller can name, as a corrupted setting would bring them.
    QTest::newRow("Seitenlage 3") << Operation(
        [](varo::Drucker &d) { d.setSeitenlage(static_cast<varo::Seitenlage>(3)); });
    QTest::newRow("Papier Andere")
        << Operation([](varo::Drucker &d) { d.setPapierformat(varo::Papierformat::Andere); });
    QTest::newRow("Papier 99999") << Operation(
        [](varo::Drucker &d) { d.setPapierformat(static_cast<varo::Papierformat>(99999)); });
    QTest::newRow("Fach 99") << Operation(
        [](varo::Drucker &d) { d.setPapierfach(static_cast<varo::Papierfach>(99)); });
    QTest::newRow("Masseinheit 8")
        << Operation([](varo::Drucker &d) { d.setMasseinheit(static_cast<varo::Masseinheit>(8)); });
    QTest::newRow("Schrift 0 pt") << Operation([](varo::Drucker &d) { d.setSchriftgroesse(0); });
    QTest::newRow("Schrift NaN") << Operation(
        [](varo::Drucker &d) { d.setSchriftgroesse(qQNaN()); });
}

void TstQtDrucker::ungueltigeWerteWerdenAbgelehnt()
{
    QFETCH(Operation, operation);
    QTemporaryDir dir;
    auto drucker = varo::QtDrucker::fuerPdf(dir.filePath(QStringLiteral("x.pdf")));
    drucker->setSeitenlage(varo::Seitenlage::Hochformat);
    drucker->setPapierformat(varo::Papierformat::A4);
    try {
        operation(*drucker);
        QFAIL("Der Wert hätte abgelehnt werden müssen.");
    } catch (const varo::Laufzeitfehler &f) {
        QCOMPARE(f.nummer(), varo::fehler::DruckerEigenschaft);
    }
    // A refused value leaves the printer as it was.
    QCOMPARE(drucker->seitenlage(), varo::Seitenlage::Hochformat);
    QCOMPARE(drucker->papierformat(), varo::Papierformat::A4);
}

void TstQtDrucker::jedesBlattBeginntEineSeite_data()
{
    using varo::Papierformat;
    using varo::Seitenlage;
    QTest::addColumn<Papierformat>("papier");
    QTest::addColumn<Seitenlage>("lage");
    QTest::addColumn<int>("twips"); // a PDF is printable to its edges
    QTest::newRow("A4, wofür er umbrochen ist")
        << Papierformat::A4 << Seitenlage::Hochformat << 16838;
    QTest::newRow("A5 hoch") << Papierformat::A5 << Seitenlage::Hochformat << 11906;
    QTest::newRow("A5 quer") << Papierformat::A5 << Seitenlage::Querformat << 8391;
    QTest::newRow("A4 quer") << Papierformat::A4 << Seitenlage::Querformat << 11906;
    QTest::newRow("Executive, 10½ Zoll hoch")
        << Papierformat::Executive << Seitenlage::Hochformat << 15120;
}

void TstQtDrucker::jedesBlattBeginntEineSeite()
{
    QFETCH(varo::Papierformat, papier);
    QFETCH(varo::Seitenlage, lage);
    QFETCH(int, twips);
    // A report of several pages, paged for A4 (73 lines, no printer asked).
    Umgebung u(QLocale(QLocale::German));
    varo::Berechnungsanfrage anfrage{varo::Berechnungsmodus::Eine, QStringLiteral("28"),
                                     QStringLiteral("0,66"),       -1,
                                     QStringLiteral("700"),        QStringLiteral("35")};
    QCOMPARE(varo::Rechnen(anfrage, *u.kontext), varo::Rechenergebnis::Bericht);
    varo::DokumentBerichtsfeld &bericht = u.feld;
    const qsizetype etiketten = bericht.text().count(QStringLiteral("Seite "));
    QVERIFY(etiketten >= 2);

    QTemporaryDir dir;
    const QString datei = dir.filePath(QStringLiteral("bericht.pdf"));
    auto drucker = varo::QtDrucker::fuerPdf(datei);
    drucker->setPapierformat(papier);
    drucker->setSeitenlage(lage);
    QCOMPARE(drucker->seitenhoeheTwips(), twips);
    drucker->dokumentDrucken(bericht.dokument());
    // Printing leaves the page length measured on the printer as it was.
    QCOMPARE(drucker->seitenhoeheTwips(), twips);
    QCOMPARE(drucker->papierformat(), papier);

    QStringList blaetter = pdfText(datei).split(QLatin1Char('\f'));
    while (!blaetter.isEmpty() && blaetter.last().trimmed().isEmpty())
        blaetter.removeLast();
    QCOMPARE(blaetter.size(), etiketten + 1);
    const QString trenner = QString(80, QChar(0x2014));
    for (int i = 0; i < blaetter.size(); ++i) {
        const QString erste = blaetter[i].trimmed().section(QLatin1Char('\n'), 0, 0);
        QVERIFY2(i == 0 ? erste.contains(QStringLiteral("Varolinaten-Berechnung"))
                        : erste.trimmed() == QStringLiteral("Seite %1").arg(i + 1),
                 qPrintable(erste));
        // The separator lines stay whole: nothing is cut at the right edge.
        QVERIFY2(blaetter[i].contains(trenner), qPrintable(blaetter[i]));
    }

    // Queues and PDF files show what the job is.
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {datei});
    QVERIFY(p.waitForFinished(30000));
    const QString info = QString::fromUtf8(p.readAllStandardOutput());
    QVERIFY2(
        info.contains(QRegularExpression(QStringLiteral("Title:\\s+Varolinaten-Berechnung\\n"))),
        qPrintable(info));
}

// Four quarters in four colours: a picture printed whole shows all four
// about equally; one magnified shows its top-left quarter only.
static QImage viertelbild()
{
    QImage bild(800, 500, QImage::Format_RGB32);
    QPainter maler(&bild);
    maler.fillRect(0, 0, 400, 250, Qt::red);
    maler.fillRect(400, 0, 400, 250, Qt::green);
    maler.fillRect(0, 250, 400, 250, Qt::blue);
    maler.fillRect(400, 250, 400, 250, Qt::black);
    return bild;
}

// How many pixels of each quarter's colour the first page shows.
static QList<int> farbanteile(const QString &pdf, const QString &ordner)
{
    QProcess p;
    const QString png = ordner + QStringLiteral("/seite");
    p.start(QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QStringLiteral("20"), QStringLiteral("-png"),
             QStringLiteral("-singlefile"), pdf, png});
    if (!p.waitForFinished(30000))
        return {};
    const QImage seite(png + QStringLiteral(".png"));
    QList<int> anzahl(4, 0);
    for (int y = 0; y < seite.height(); ++y) {
        for (int x = 0; x < seite.width(); ++x) {
            const QColor c = seite.pixelColor(x, y);
            const bool r = c.red() > 200, g = c.green() > 200, b = c.blue() > 200;
            const bool dunkel = c.red() < 40 && c.green() < 40 && c.blue() < 40;
            if (r && c.green() < 60 && c.blue() < 60)
                ++anzahl[0];
            else if (g && c.red() < 60 && c.blue() < 60)
                ++anzahl[1];
            else if (b && c.red() < 60 && c.green() < 60)
                ++anzahl[2];
            else if (dunkel)
                ++anzahl[3];
        }
    }
    return anzahl;
}

void TstQtDrucker::bildNachBerichtIstGanz_data()
{
    QTest::addColumn<int>("berichte");
    QTest::addColumn<varo::Papierformat>("papier");
    QTest::newRow("allein") << 0 << varo::Papierformat::A4;
    QTest::newRow("nach einem Bericht") << 1 << varo::Papierformat::A4;
    QTest::newRow("nach zwei Berichten") << 2 << varo::Papierformat::A4;
    QTest::newRow("A5, nach einem Bericht") << 1 << varo::Papierformat::A5;
}

void TstQtDrucker::bildNachBerichtIstGanz()
{
    QFETCH(int, berichte);
    QFETCH(varo::Papierformat, papier);
    QTemporaryDir dir;
    const QString datei = dir.filePath(QStringLiteral("auftrag.pdf"));
    auto drucker = varo::QtDrucker::fuerPdf(datei);
    drucker->setPapierformat(papier);
    QTextDocument bericht;
    bericht.setPlainText(QStringLiteral("Varolinaten-Berechnung\n") +
                         QString(81, QLatin1Char('-')));
    for (int i = 0; i < berichte; ++i)
        drucker->dokumentDrucken(bericht);
    // Each job writes the file anew: the last one is the picture.
    drucker->bildDrucken(viertelbild());

    const QList<int> anzahl = farbanteile(datei, dir.path());
    QCOMPARE(anzahl.size(), 4);
    const int summe = anzahl[0] + anzahl[1] + anzahl[2] + anzahl[3];
    QVERIFY(summe > 0);
    for (int i = 0; i < 4; ++i) {
        QVERIFY2(
            anzahl[i] > summe / 6,
            qPrintable(QStringLiteral("Viertel %1: %2 von %3").arg(i).arg(anzahl[i]).arg(summe)));
    }
}

void TstQtDrucker::abgelehnterAuftragIstEinFehler_data()
{
    QTest::addColumn<bool>("bild");
    QTest::addColumn<QString>("grund");
    const QString abgelehnt =
        QStringLiteral("Der Drucker „PDF-A4“ hat den Auftrag nicht angenommen: die Warteschlange "
                       "nimmt keine Aufträge an.");
    QTest::newRow("Bericht angenommen") << false << QString();
    QTest::newRow("Bericht abgelehnt") << false << abgelehnt;
    QTest::newRow("Bild angenommen") << true << QString();
    QTest::newRow("Bild abgelehnt") << true << abgelehnt;
}

void TstQtDrucker::abgelehnterAuftragIstEinFehler()
{
    QFETCH(bool, bild);
    QFETCH(QString, grund);
    QTemporaryDir dir;
    auto drucker = varo::QtDrucker::fuerPdf(dir.filePath(QStringLiteral("auftrag.pdf")));
    int gefragt = 0;
    drucker->setAuftragspruefung([&] {
        ++gefragt;
        return grund;
    });
    QTextDocument bericht(QStringLiteral("Varolinaten-Berechnung"));
    try {
        bild ? drucker->bildDrucken(viertelbild()) : drucker->dokumentDrucken(bericht);
        QVERIFY2(grund.isEmpty(), "Der abgelehnte Auftrag hätte ein Fehler sein müssen.");
    } catch (const varo::Laufzeitfehler &f) {
        // The printer error, which asks "Drucker-Fehler?", with the reason.
        QCOMPARE(f.nummer(), varo::fehler::Druckerfehler);
        QCOMPARE(f.beschreibung(), grund);
    }
    // Asked once the job was handed over, not before.
    QCOMPARE(gefragt, 1);
}

void TstQtDrucker::startetMitPapierDerWarteschlange()
{
    // Every queue of this machine in turn as the default (CUPS takes it
    // from LPDEST): the printer starts on that queue's own paper.
    const QList<QPrinterInfo> schlangen = QPrinterInfo::availablePrinters();
    if (schlangen.isEmpty())
        QSKIP("Keine Druckerwarteschlange eingerichtet.");
    const QByteArray vorher = qgetenv("LPDEST");
    for (const QPrinterInfo &schlange : schlangen) {
        if (!schlange.defaultPageSize().isValid())
            continue;
        qputenv("LPDEST", schlange.printerName().toLocal8Bit());
        varo::QtDrucker drucker;
        QCOMPARE(drucker.geraetename(), schlange.printerName());
        QCOMPARE(drucker.qprinter()->pageLayout().pageSize().id(), schlange.defaultPageSize().id());
    }
    if (vorher.isNull())
        qunsetenv("LPDEST");
    else
        qputenv("LPDEST", vorher);
}

void TstQtDrucker::einrichtenNimmtPapierDerWarteschlange()
{
    // Needs two print queues whose default papers differ (two cups-pdf
    // queues for A4 and A5, say).
    const QList<QPrinterInfo> schlangen = QPrinterInfo::availablePrinters();
    const QPrinterInfo standard = QPrinterInfo::defaultPrinter();
    QPrinterInfo andere;
    for (const QPrinterInfo &s : schlangen) {
        if (!standard.isNull() && s.printerName() != standard.printerName() &&
            s.defaultPageSize().isValid() &&
            !s.defaultPageSize().isEquivalentTo(standard.defaultPageSize()))
            andere = s;
    }
    if (andere.isNull())
        QSKIP("Keine zwei Druckerwarteschlangen mit verschiedenem Papier eingerichtet.");

    varo::QtDrucker drucker;
    QCOMPARE(drucker.qprinter()->pageLayout().pageSize().id(), standard.defaultPageSize().id());
    const int vorher = drucker.seitenhoeheTwips();
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QPrintDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        if (auto *liste = dialog->findChild<QComboBox *>(QStringLiteral("printers")))
            liste->setCurrentIndex(liste->findText(andere.printerName()));
        dialog->accept();
    });
    varo::QtDokumentdialoge dialoge(&drucker);
    QVERIFY(dialoge.druckerEinrichten(nullptr));
    QCOMPARE(drucker.geraetename(), andere.printerName());
    // The queue's own paper, and reports paged for it.
    QCOMPARE(drucker.qprinter()->pageLayout().pageSize().id(), andere.defaultPageSize().id());
    QVERIFY(drucker.seitenhoeheTwips() != vorher);
}

QTEST_MAIN(TstQtDrucker)
#include "tst_qtdrucker.moc"
