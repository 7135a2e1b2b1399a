#include "dokumentbefehle.h"
#include "fake_drucker.h"
#include "fake_oberflaeche.h"
#include "frmtext.h"
#include "hilfe.h"
#include "werte.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Only the file dialog answers; every other dialog is cancelled.
class Dateiwahl : public varo::Dokumentdialoge
{
public:
    QString datei;
    QString dateiOeffnen(QWidget *) override { return datei; }
    QString dateiSpeichern(QWidget *, const QString &) override { return {}; }
    QString suchtext(QWidget *, const QString &) override { return {}; }
    varo::Druckumfang drucken(QWidget *, bool) override { return varo::Druckumfang::Abbruch; }
    bool druckerEinrichten(QWidget *) override { return false; }
    std::optional<varo::Schriftwahl> schrift(QWidget *, const varo::Schriftwahl &) override
    {
        return std::nullopt;
    }
};

struct Ergebnis
{
    QString text;
    QStringList meldungen; // title and text of each message
};

} // namespace

// A report named on the command line (as the file manager passes it) opens
// as "&Öffnen" opens the file the user chose: same checks, same messages.
class TstBefehlszeile : public QObject
{
    Q_OBJECT

private slots:
    void wieOeffnen_data();
    void wieOeffnen();

private:
    Ergebnis oeffnen(const QString &datei, bool ueberDialog);
};

Ergebnis TstBefehlszeile::oeffnen(const QString &datei, bool ueberDialog)
{
    varo::Programmwerte werte;
    FakeDrucker drucker;
    FakeOberflaeche ui;
    auto dialoge = std::make_unique<Dateiwahl>();
    dialoge->datei = datei;
    varo::FrmText fenster(
        werte, {drucker, std::move(dialoge), std::make_unique<varo::DesktopPlattform>(), &ui});
    fenster.berichtsfeld().setText(QStringLiteral("Der Bericht vorher"));
    if (ueberDialog)
        fenster.mnuOpen_Click();
    else
        fenster.dokumentBefehle().dateiOeffnen(datei);
    Ergebnis e{fenster.berichtsfeld().text(), {}};
    for (const FakeOberflaeche::Meldung &m : ui.meldungen)
        e.meldungen << m.titel + QLatin1Char('|') + m.text;
    return e;
}

void TstBefehlszeile::wieOeffnen_data()
{
    QTest::addColumn<QByteArray>("inhalt"); // written to bericht.rtf unless empty
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("erwartet"); // in the report afterwards
    QTest::addColumn<bool>("meldung");
    const QByteArray rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Courier New;}}\\f0 Varolinaten-Berechnung"
                           "\\par 13,850 m\\par}";
    QTest::newRow("Bericht") << rtf << "bericht.rtf"
                             << "13,850 m" << false;
    QTest::newRow("Großbuchstaben") << rtf << "BERICHT.RTF"
                                    << "13,850 m" << false;
    QTest::newRow("fehlt") << QByteArray() << "fehlt.rtf"
                           << "Der Bericht vorher" << true;
    QTest::newRow("kein RTF") << QByteArray("0,66 RG-58\n") << "kabel.rtf"
                              << "Der Bericht vorher" << true;
    QTest::newRow("abgeschnitten") << QByteArray("{\\rtf1\\ansi Varolinaten") << "halb.rtf"
                                   << "Varolinaten" << true;
    QTest::newRow("Ordner") << QByteArray() << "."
                            << "Der Bericht vorher" << true;
}

void TstBefehlszeile::wieOeffnen()
{
    QFETCH(QByteArray, inhalt);
    QFETCH(QString, name);
    QFETCH(QString, erwartet);
    QFETCH(bool, meldung);
    QTemporaryDir dir;
    const QString datei = QDir::cleanPath(dir.filePath(name));
    if (!inhalt.isEmpty()) {
        QFile f(datei);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(inhalt);
    }
    const Ergebnis befehlszeile = oeffnen(datei, false);
    const Ergebnis dialog = oeffnen(datei, true);
    QVERIFY2(befehlszeile.text.contains(erwartet), qPrintable(befehlszeile.text));
    QCOMPARE(befehlszeile.meldungen.isEmpty(), !meldung);
    // Exactly what "&Öffnen" does with the same file.
    QCOMPARE(befehlszeile.text, dialog.text);
    QCOMPARE(befehlszeile.meldungen, dialog.meldungen);
}

QTEST_MAIN(TstBefehlszeile)
#include "tst_befehlszeile.moc"
