#include "dokumentdialoge.h"
#include "laufzeitfehler.h"
#include "qtdrucker.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

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

QTEST_MAIN(TstDokumentdialoge)
#include "tst_dokumentdialoge.moc"
