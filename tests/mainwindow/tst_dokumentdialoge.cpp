#include "dokumentdialoge.h"
#include "laufzeitfehler.h"
#include "qtdrucker.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QInputDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

Q_DECLARE_METATYPE(varo::Druckumfang)

// The Qt dialogs behind the document commands, answered from a timer.
class TstDokumentdialoge : public QObject
{
    Q_OBJECT

private slots:
    void suchtext_data();
    void suchtext();
    void speichernSchlaegtDenNamenVor();
    void oeffnenFilter();
    void druckdialogeOhneDrucker();
    void druckdialog_data();
    void druckdialog();
    void einrichtungsdialog();
    void schriftUndFarbe_data();
    void schriftUndFarbe();
    void druckdialogBehaeltPapier_data();
    void druckdialogBehaeltPapier();
    void schriftStartetBeiDerAuswahl_data();
    void schriftStartetBeiDerAuswahl();
};

template <typename Dialog, typename Aktion> void spaeter(Aktion aktion)
{
    QTimer::singleShot(0, [aktion] {
        if (auto *d = qobject_cast<Dialog *>(QApplication::activeModalWidget()))
            aktion(d);
        else if (QWidget *w = QApplication::activeModalWidget())
            w->close();
    });
}

void TstDokumentdialoge::suchtext_data()
{
    QTest::addColumn<QString>("vorgabe");
    QTest::addColumn<QString>("eingabe");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("erwartet");
    QTest::newRow("Vorgabe bestaetigt") << "RG 58"
                                        << "" << true << "RG 58";
    QTest::newRow("neuer Text") << ""
                                << "Seite" << true << "Seite";
    QTest::newRow("abgebrochen") << "RG 58"
                                 << "Seite" << false << "";
}

void TstDokumentdialoge::suchtext()
{
    QFETCH(QString, vorgabe);
    QFETCH(QString, eingabe);
    QFETCH(bool, ok);
    QFETCH(QString, erwartet);

    QString titel;
    QString frage;
    QString vorbelegt;
    spaeter<QInputDialog>([&](QInputDialog *d) {
        titel = d->windowTitle();
        frage = d->labelText();
        vorbelegt = d->textValue();
        if (!eingabe.isEmpty())
            d->setTextValue(eingabe);
        ok ? d->accept() : d->reject();
    });
    varo::QtDokumentdialoge dialoge(nullptr);
    QCOMPARE(dialoge.suchtext(nullptr, vorgabe), erwartet);
    QCOMPARE(titel, QStringLiteral("Suchen"));
    QCOMPARE(frage, QStringLiteral("Bitte Suchtext eingeben."));
    QCOMPARE(vorbelegt, vorgabe);
}

void TstDokumentdialoge::speichernSchlaegtDenNamenVor()
{
    QTemporaryDir dir;
    QStringList filter;
    QStringList gewaehlt;
    spaeter<QFileDialog>([&](QFileDialog *d) {
        filter = d->nameFilters();
        gewaehlt = d->selectedFiles();
        d->setDirectory(dir.path());
        d->selectFile(QStringLiteral("bericht"));
        QMetaObject::invokeMethod(d, "accept");
    });
    varo::QtDokumentdialoge dialoge(nullptr);
    const QString datei =
        dialoge.dateiSpeichern(nullptr, QStringLiteral("Varolinaten-Berechnung_20261208.rtf"));
    QCOMPARE(filter, (QStringList{"Rich-Text-Datei (*.rtf *.Rtf *.RTF)", "Alle Dateien (*)"}));
    QCOMPARE(gewaehlt.size(), 1);
    QVERIFY(gewaehlt[0].endsWith(QStringLiteral("/Varolinaten-Berechnung_20261208.rtf")));
    // The suffix is added when the user leaves it out.
    QCOMPARE(datei, QDir(dir.path()).filePath(QStringLiteral("bericht.rtf")));

    spaeter<QFileDialog>([](QFileDialog *d) { d->reject(); });
    QCOMPARE(dialoge.dateiSpeichern(nullptr, QStringLiteral("x.rtf")), QString());
}

void TstDokumentdialoge::oeffnenFilter()
{
    QTemporaryDir dir;
    const QString datei = dir.filePath(QStringLiteral("ALT.RTF"));
    QFile f(datei);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    QString filter;
    spaeter<QFileDialog>([&](QFileDialog *d) {
        filter = d->selectedNameFilter();
        d->setDirectory(dir.path());
        d->selectFile(datei);
        QMetaObject::invokeMethod(d, "accept");
    });
    varo::QtDokumentdialoge dialoge(nullptr);
    QCOMPARE(dialoge.dateiOeffnen(nullptr), datei);
    QCOMPARE(filter, QStringLiteral("Rich-Text-Datei (*.rtf *.Rtf *.RTF)"));
}

void TstDokumentdialoge::druckdialogeOhneDrucker()
{
    // No printer behind the dialogs: they fail as the printer would.
    varo::QtDokumentdialoge ohne(nullptr);
    QVERIFY_THROWS_EXCEPTION(varo::Laufzeitfehler, ohne.drucken(nullptr, false));
    QVERIFY_THROWS_EXCEPTION(varo::Laufzeitfehler, ohne.druckerEinrichten(nullptr));

    if (!QPrinterInfo::availablePrinters().isEmpty())
        QSKIP("Auf diesem Rechner ist ein Drucker eingerichtet.");
    varo::QtDrucker system;
    varo::QtDokumentdialoge dialoge(&system);
    try {
        dialoge.drucken(nullptr, true);
        QFAIL("Ohne Drucker darf kein Druckdialog erscheinen.");
    } catch (const varo::Laufzeitfehler &f) {
        QCOMPARE(f.nummer(), varo::fehler::DruckerInformation);
    }
}

void TstDokumentdialoge::druckdialog_data()
{
    QTest::addColumn<bool>("auswahlMoeglich");
    QTest::addColumn<bool>("abbrechen");
    QTest::addColumn<varo::Druckumfang>("erwartet");
    QTest::newRow("mit Auswahl") << true << false << varo::Druckumfang::Auswahl;
    QTest::newRow("ohne Auswahl") << false << false << varo::Druckumfang::Alles;
    QTest::newRow("abgebrochen") << true << true << varo::Druckumfang::Abbruch;
}

void TstDokumentdialoge::druckdialog()
{
    QFETCH(bool, auswahlMoeglich);
    QFETCH(bool, abbrechen);
    QFETCH(varo::Druckumfang, erwartet);
    QTemporaryDir dir;
    auto drucker = varo::QtDrucker::fuerPdf(dir.filePath(QStringLiteral("x.pdf")));
    QString titel;
    bool auswahlAngeboten = false;
    bool seitenbereich = true;
    bool inDatei = true;
    spaeter<QPrintDialog>([&](QPrintDialog *d) {
        titel = d->windowTitle();
        auswahlAngeboten = d->testOption(QAbstractPrintDialog::PrintSelection);
        seitenbereich = d->testOption(QAbstractPrintDialog::PrintPageRange);
        inDatei = d->testOption(QAbstractPrintDialog::PrintToFile);
        abbrechen ? d->reject() : d->accept();
    });
    varo::QtDokumentdialoge dialoge(drucker.get());
    QCOMPARE(dialoge.drucken(nullptr, auswahlMoeglich), erwartet);
    QCOMPARE(titel, QStringLiteral("Drucken"));
    QCOMPARE(auswahlAngeboten, auswahlMoeglich);
    QVERIFY(!seitenbereich);
    QVERIFY(!inDatei);
    // The range was the user's choice only; the printer prints whole documents.
    QCOMPARE(drucker->qprinter()->printRange(), QPrinter::AllPages);
}

void TstDokumentdialoge::einrichtungsdialog()
{
    QTemporaryDir dir;
    auto drucker = varo::QtDrucker::fuerPdf(dir.filePath(QStringLiteral("x.pdf")));
    varo::QtDokumentdialoge dialoge(drucker.get());
    QString titel;
    spaeter<QPrintDialog>([&](QPrintDialog *d) {
        titel = d->windowTitle();
        d->accept();
    });
    QVERIFY(dialoge.druckerEinrichten(nullptr));
    QCOMPARE(titel, QStringLiteral("Drucker einrichten"));
    spaeter<QPrintDialog>([&](QPrintDialog *d) { d->reject(); });
    QVERIFY(!dialoge.druckerEinrichten(nullptr));
}

void TstDokumentdialoge::schriftUndFarbe_data()
{
    QTest::addColumn<bool>("schriftOk");
    QTest::addColumn<bool>("farbeOk");
    QTest::newRow("beide bestaetigt") << true << true;
    QTest::newRow("Schrift abgebrochen") << false << true;
    QTest::newRow("Farbe abgebrochen") << true << false;
}

void TstDokumentdialoge::schriftUndFarbe()
{
    QFETCH(bool, schriftOk);
    QFETCH(bool, farbeOk);
    // A family the machine has, with its bold and italic faces.
    QFont vorgabe(QStringLiteral("DejaVu Sans Mono"));
    vorgabe.setPointSizeF(10);
    vorgabe.setItalic(true);
    QFont startSchrift;
    QColor startFarbe;
    QFont neu = vorgabe;
    neu.setPointSizeF(14);
    neu.setBold(true);
    spaeter<QFontDialog>([&](QFontDialog *d) {
        startSchrift = d->currentFont();
        d->setCurrentFont(neu);
        if (!schriftOk) {
            d->reject();
            return;
        }
        d->accept();
        // The colour step follows the font step.
        spaeter<QColorDialog>([&](QColorDialog *c) {
            startFarbe = c->currentColor();
            c->setCurrentColor(Qt::darkGreen);
            farbeOk ? c->accept() : c->reject();
        });
    });
    varo::QtDokumentdialoge dialoge(nullptr);
    const std::optional<varo::Schriftwahl> wahl =
        dialoge.schrift(nullptr, varo::Schriftwahl{vorgabe, QColor(Qt::blue)});
    QCOMPARE(startSchrift.italic(), true);
    QCOMPARE(startSchrift.pointSizeF(), 10.0);
    // Cancelling the colour keeps the font just chosen, in the old colour.
    QCOMPARE(wahl.has_value(), schriftOk);
    if (schriftOk)
        QCOMPARE(startFarbe, QColor(Qt::blue));
    if (wahl) {
        QCOMPARE(wahl->schrift.pointSizeF(), 14.0);
        QVERIFY(wahl->schrift.bold());
        QVERIFY(wahl->schrift.italic());
        QCOMPARE(wahl->farbe, farbeOk ? QColor(Qt::darkGreen) : QColor(Qt::blue));
    }
}

void TstDokumentdialoge::druckdialogBehaeltPapier_data()
{
    QTest::addColumn<bool>("einrichten");
    QTest::addColumn<int>("papier");
    QTest::addColumn<bool>("quer");
    QTest::newRow("Drucken, A5 quer") << false << int(QPageSize::A5) << true;
    QTest::newRow("Drucken, Letter hoch") << false << int(QPageSize::Letter) << false;
    QTest::newRow("Einrichten, A3 quer") << true << int(QPageSize::A3) << true;
}

void TstDokumentdialoge::druckdialogBehaeltPapier()
{
    QFETCH(bool, einrichten);
    QFETCH(int, papier);
    QFETCH(bool, quer);
    const auto lage = quer ? QPageLayout::Landscape : QPageLayout::Portrait;
    QTemporaryDir dir;
    auto drucker = varo::QtDrucker::fuerPdf(dir.filePath(QStringLiteral("x.pdf")));
    QPrinter *printer = drucker->qprinter();
    QVERIFY(printer->setPageSize(QPageSize(QPageSize::PageSizeId(papier))));
    QVERIFY(printer->setPageOrientation(lage));
    QAbstractButton *bereich = nullptr; // "Pages from"
    bool bereichGezeigt = true;
    spaeter<QPrintDialog>([&](QPrintDialog *d) {
        bereich = d->findChild<QAbstractButton *>(QStringLiteral("printRange"));
        bereichGezeigt = bereich && !bereich->isHidden();
        d->accept();
    });
    varo::QtDokumentdialoge dialoge(drucker.get());
    QVERIFY(einrichten ? dialoge.druckerEinrichten(nullptr)
                       : dialoge.drucken(nullptr, true) == varo::Druckumfang::Auswahl);
    // OK without a look at the paper prints on the paper set up.
    QCOMPARE(printer->pageLayout().pageSize().id(), QPageSize::PageSizeId(papier));
    QCOMPARE(printer->pageLayout().orientation(), lage);
    QVERIFY(bereich);
    QCOMPARE(bereichGezeigt, einrichten);
}

void TstDokumentdialoge::schriftStartetBeiDerAuswahl_data()
{
    QTest::addColumn<QString>("familie");
    QTest::addColumn<int>("punkte");
    QTest::addColumn<bool>("fett");
    QTest::addColumn<bool>("kursiv");
    // A family with condensed faces under the same name.
    QTest::newRow("DejaVu Serif fett kursiv 14") << "DejaVu Serif" << 14 << true << true;
    // A family that may be missing and is shown by a stand-in.
    QTest::newRow("Courier New fett 10") << "Courier New" << 10 << true << false;
}

void TstDokumentdialoge::schriftStartetBeiDerAuswahl()
{
    QFETCH(QString, familie);
    QFETCH(int, punkte);
    QFETCH(bool, fett);
    QFETCH(bool, kursiv);
    QFont vorgabe(familie, punkte, fett ? QFont::Bold : QFont::Normal, kursiv);
    vorgabe.setStrikeOut(true);
    const QFontInfo gezeigt(vorgabe);
    if (gezeigt.bold() != fett || gezeigt.italic() != kursiv)
        QSKIP("Für diese Schrift fehlt hier der passende Schnitt.");
    QFont start;
    spaeter<QFontDialog>([&](QFontDialog *d) {
        start = d->currentFont();
        d->accept();
        spaeter<QColorDialog>([](QColorDialog *c) { c->accept(); });
    });
    varo::QtDokumentdialoge dialoge(nullptr);
    const auto wahl = dialoge.schrift(nullptr, varo::Schriftwahl{vorgabe, QColor(Qt::black)});
    // The dialog shows the face the text is drawn in ...
    QCOMPARE(start.family(), gezeigt.family());
    QCOMPARE(QFontDatabase::styleString(start), gezeigt.styleName());
    QCOMPARE(start.pointSize(), punkte);
    QVERIFY(start.strikeOut());
    // ... and OK without a change gives the selection's font back.
    QVERIFY(wahl.has_value());
    QCOMPARE(wahl->schrift.family(), familie);
    QCOMPARE(wahl->schrift.bold(), fett);
    QCOMPARE(wahl->schrift.italic(), kursiv);
}

QTEST_MAIN(TstDokumentdialoge)
#include "tst_dokumentdialoge.moc"
