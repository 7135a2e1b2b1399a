#include "dateilesen.h"
#include "dokumentbefehle.h"
#include "fake_drucker.h"
#include "fake_oberflaeche.h"
#include "frmtext.h"
#include "hilfe.h"
#include "qtdrucker.h"
#include "rtf.h"
#include "werte.h"
#include "zahlenformat.h"

#include <QAction>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>
#include <sys/stat.h>

Q_DECLARE_METATYPE(varo::Druckumfang)

namespace {

// Answers the document commands' questions as the test sets them and notes
// which dialog was shown.
class FakeDialoge : public varo::Dokumentdialoge
{
public:
    QStringList aufrufe;
    QString datei;
    QString vorschlag;
    QString suchantwort;
    QString vorgabe;
    bool auswahlMoeglich = false;
    varo::Druckumfang umfang = varo::Druckumfang::Alles;
    std::function<bool()> einrichten = [] { return true; };
    std::optional<varo::Schriftwahl> schriftantwort;
    varo::Schriftwahl schriftvorgabe;

    QString dateiOeffnen(QWidget *) override
    {
        aufrufe << QStringLiteral("oeffnen");
        return datei;
    }
    QString dateiSpeichern(QWidget *, const QString &v) override
    {
        aufrufe << QStringLiteral("speichern");
        vorschlag = v;
        return datei;
    }
    QString suchtext(QWidget *, const QString &v) override
    {
        aufrufe << QStringLiteral("suchen");
        vorgabe = v;
        return suchantwort;
    }
    varo::Druckumfang drucken(QWidget *, bool a) override
    {
        aufrufe << QStringLiteral("drucken");
        auswahlMoeglich = a;
        return umfang;
    }
    bool druckerEinrichten(QWidget *) override
    {
        aufrufe << QStringLiteral("einrichten");
        return einrichten();
    }
    std::optional<varo::Schriftwahl> schrift(QWidget *, const varo::Schriftwahl &v) override
    {
        aufrufe << QStringLiteral("schrift");
        schriftvorgabe = v;
        return schriftantwort;
    }
};

QString pdfText(const QString &datei)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), datei, QStringLiteral("-")});
    if (!p.waitForFinished(30000))
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class TstDokumentBefehle : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void menueUndDialog_data();
    void menueUndDialog();
    void symbolleiste_data();
    void symbolleiste();
    void suchen_data();
    void suchen();
    void suchenWiederholtBisZumEnde();
    void suchenAbgebrochen();
    void speichernUndOeffnen();
    void speichernAbgebrochen();
    void speichernFehlgeschlagenLaesstDateiHeil();
    void oeffnenFehlgeschlagen_data();
    void oeffnenFehlgeschlagen();
    void speichernOhnePlatz();
    void oeffnenTeilweise();
    void oeffnenAuslassungen_data();
    void oeffnenAuslassungen();
    void druckenInPdf_data();
    void druckenInPdf();
    void druckenAbgebrochen();
    void druckfehlerWiederholenIgnorieren_data();
    void druckfehlerWiederholenIgnorieren();
    void ohneDruckerFehlermeldung();
    void einrichtenGleicherDrucker();
    void einrichtenNeuerDruckerFragt();
    void einrichtenAbgebrochen();
    void schrift();
    void schriftAbgebrochen();

private:
    varo::FrmText &fenster(varo::Drucker *drucker = nullptr);
    varo::Berichtsfeld &feld() { return m_fenster->berichtsfeld(); }

    varo::Programmwerte m_werte;
    FakeDrucker m_drucker;
    FakeOberflaeche m_ui;
    FakeDialoge *m_dialoge = nullptr;
    varo::FrmText *m_fenster = nullptr;
};

void TstDokumentBefehle::init()
{
    m_drucker = FakeDrucker();
    m_ui = FakeOberflaeche();
    fenster();
}

void TstDokumentBefehle::cleanup()
{
    delete m_fenster;
    m_fenster = nullptr;
}

varo::FrmText &TstDokumentBefehle::fenster(varo::Drucker *drucker)
{
    delete m_fenster;
    auto dialoge = std::make_unique<FakeDialoge>();
    m_dialoge = dialoge.get();
    m_fenster = new varo::FrmText(m_werte, {drucker ? *drucker : m_drucker, std::move(dialoge),
                                            std::make_unique<varo::DesktopPlattform>(), &m_ui});
    return *m_fenster;
}

void TstDokumentBefehle::menueUndDialog_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::newRow("mnuOpen") << "oeffnen";
    QTest::newRow("mnuSave") << "speichern";
    QTest::newRow("mnuSuchen") << "suchen";
    QTest::newRow("mnuPrint") << "drucken";
    QTest::newRow("mnuPrinter_Einstellungen") << "einrichten";
    QTest::newRow("mnuFont") << "schrift";
}

void TstDokumentBefehle::menueUndDialog()
{
    QFETCH(QString, dialog);
    feld().setText(QStringLiteral("Bericht"));
    m_dialoge->umfang = varo::Druckumfang::Abbruch;
    m_dialoge->einrichten = [] { return false; };
    m_fenster->findChild<QAction *>(QString::fromLatin1(QTest::currentDataTag()))->trigger();
    QCOMPARE(m_dialoge->aufrufe, QStringList{dialog});
    // Every one of them was cancelled: no message, nothing changed.
    QVERIFY(m_ui.meldungen.isEmpty());
    QCOMPARE(feld().text(), QStringLiteral("Bericht"));
    QVERIFY(!m_ui.sanduhrAktiv);
}

void TstDokumentBefehle::symbolleiste_data()
{
    QTest::addColumn<QString>("schluessel");
    QTest::addColumn<QString>("bericht");
    QTest::addColumn<QStringList>("dialoge");
    QTest::newRow("Open, leer") << "Open"
                                << "" << QStringList{"oeffnen"};
    QTest::newRow("Save, leer") << "Save"
                                << "" << QStringList{};
    QTest::newRow("Print, leer") << "Print"
                                 << "" << QStringList{};
    QTest::newRow("Font, leer") << "Font"
                                << "" << QStringList{"schrift"};
    QTest::newRow("Save, Bericht") << "Save"
                                   << "x" << QStringList{"speichern"};
    QTest::newRow("Print, Bericht") << "Print"
                                    << "x" << QStringList{"drucken"};
    QTest::newRow("Unbekannt") << "Help"
                               << "x" << QStringList{};
}

void TstDokumentBefehle::symbolleiste()
{
    QFETCH(QString, schluessel);
    QFETCH(QString, bericht);
    QFETCH(QStringList, dialoge);
    m_dialoge->umfang = varo::Druckumfang::Abbruch;
    feld().setText(bericht);
    m_fenster->Toolbar1_ButtonClick(schluessel);
    QCOMPARE(m_dialoge->aufrufe, dialoge);
    // The click refreshes "&Drucken" and "&Speichern" as well.
    QCOMPARE(m_fenster->findChild<QAction *>(QStringLiteral("mnuSave"))->isEnabled(),
             !bericht.isEmpty());
    QCOMPARE(m_fenster->findChild<QAction *>(QStringLiteral("mnuPrint"))->isEnabled(),
             !bericht.isEmpty());
}

void TstDokumentBefehle::suchen_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<QString>("gesucht");
    QTest::addColumn<int>("fundStart"); // -1: not found

    QTest::newRow("leeres Dokument") << "" << 0 << 0 << "Kabel" << -1;
    QTest::newRow("nur am ersten Zeichen") << "Kabel RG 58" << 0 << 0 << "Kabel" << -1;
    QTest::newRow("klein findet GROSS") << "Typ KABEL" << 0 << 0 << "kabel" << 4;
    QTest::newRow("GROSS findet klein") << "Typ kabel" << 0 << 0 << "KABEL" << 4;
    QTest::newRow("Umlaut ohne Gross/klein") << "xx ÜBERTRAGUNG" << 0 << 0 << "über" << 3;
    QTest::newRow("gleich nach dem Anfang") << "aKabel" << 0 << 0 << "kabel" << 1;
    QTest::newRow("hinter Zeilenenden") << "ab\r\ncd\r\nKabel" << 0 << 0 << "kabel" << 8;
    QTest::newRow("naechste Fundstelle") << "Kabel\r\nKabel Kabel" << 7 << 5 << "kabel" << 13;
    QTest::newRow("nach der letzten") << "Kabel\r\nKabel Kabel" << 13 << 5 << "kabel" << -1;
    QTest::newRow("Caret am Ende") << "Kabel" << 5 << 0 << "l" << -1;
    QTest::newRow("laenger als der Text") << "ab" << 0 << 0 << "abcdef" << -1;
}

void TstDokumentBefehle::suchen()
{
    QFETCH(QString, text);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    QFETCH(QString, gesucht);
    QFETCH(int, fundStart);

    m_fenster->show();
    QVERIFY(QTest::qWaitForWindowActive(m_fenster));
    m_fenster->richTextBox()->clearFocus();
    QVERIFY(!m_fenster->richTextBox()->hasFocus());
    feld().setText(text);
    feld().setSelStart(selStart);
    feld().setSelLength(selLength);
    const QString markiert = feld().selText();
    m_dialoge->suchantwort = gesucht;
    m_fenster->mnuSuchen_Click();

    QCOMPARE(m_dialoge->vorgabe, markiert);
    if (fundStart >= 0) {
        QCOMPARE(feld().selStart(), fundStart);
        QCOMPARE(feld().selLength(), int(gesucht.size()));
        QCOMPARE(feld().selText().toLower(), gesucht.toLower());
        QVERIFY(m_ui.meldungen.isEmpty());
    } else {
        QCOMPARE(feld().selStart(), 0);
        QCOMPARE(feld().selLength(), 0);
        QCOMPARE(m_ui.meldungen.size(), 1);
        QCOMPARE(m_ui.meldungen[0].text, QStringLiteral("Leider keine (weitere) Fundstelle"));
        QCOMPARE(m_ui.meldungen[0].titel, QStringLiteral("Suchen"));
        QCOMPARE(m_ui.meldungen[0].symbol, varo::Symbol::Information);
        QCOMPARE(m_ui.meldungen[0].knoepfe, varo::Knoepfe::Ok);
    }
    QTRY_VERIFY(m_fenster->richTextBox()->hasFocus());
    QCOMPARE(feld().text(), text);
}

void TstDokumentBefehle::suchenWiederholtBisZumEnde()
{
    feld().setText(QStringLiteral("Seite 1\r\nSeite 2\r\nseite 3"));
    m_dialoge->suchantwort = QStringLiteral("seite");
    QList<int> funde;
    for (int i = 0; i < 5; ++i) {
        m_fenster->mnuSuchen_Click();
        funde << (feld().selLength() > 0 ? feld().selStart() : -1);
    }
    // The first one stands at the very start and is only found after the
    // message has sent the search back to the second character.
    QCOMPARE(funde, (QList<int>{9, 18, -1, 9, 18}));
    QCOMPARE(m_ui.meldungen.size(), 1);
    // The selection is the default of the next search.
    QCOMPARE(m_dialoge->vorgabe, QStringLiteral("Seite"));
}

void TstDokumentBefehle::suchenAbgebrochen()
{
    feld().setText(QStringLiteral("Kabel Kabel"));
    feld().setSelStart(6);
    feld().setSelLength(3);
    m_dialoge->suchantwort.clear();
    m_fenster->mnuSuchen_Click();
    QCOMPARE(feld().selStart(), 6);
    QCOMPARE(feld().selLength(), 3);
    QVERIFY(m_ui.meldungen.isEmpty());
}

void TstDokumentBefehle::speichernUndOeffnen()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString datei = dir.filePath(QStringLiteral("bericht.rtf"));
    const QString bericht = QStringLiteral("Varolinaten-Berechnung\r\n  13,850 m   Länge ÄÖÜß €");
    feld().setText(bericht);
    feld().setSelStart(0);
    feld().setSelLength(6);
    varo::Zeichenattribute fett;
    fett.fett = true;
    feld().setSelAttribute(fett);

    m_dialoge->datei = datei;
    m_fenster->mnuSave_Click();
    QVERIFY(m_ui.meldungen.isEmpty());
    QCOMPARE(m_dialoge->vorschlag, QStringLiteral("Varolinaten-Berechnung_") +
                                       varo::formatDatum(QDate::currentDate()) +
                                       QStringLiteral(".rtf"));
    QFile f(datei);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.readAll().startsWith("{\\rtf"));

    feld().setText(QStringLiteral("etwas ganz anderes"));
    m_fenster->mnuOpen_Click();
    QVERIFY(m_ui.meldungen.isEmpty());
    QCOMPARE(feld().text(), bericht);
    QCOMPARE(feld().selStart(), 0);
    feld().setSelStart(0);
    feld().setSelLength(6);
    QCOMPARE(feld().selAttribute().fett, std::optional<bool>(true));
    feld().setSelStart(7);
    feld().setSelLength(5);
    QCOMPARE(feld().selAttribute().fett, std::optional<bool>(false));
}

void TstDokumentBefehle::speichernAbgebrochen()
{
    QTemporaryDir dir;
    feld().setText(QStringLiteral("Bericht"));
    m_dialoge->datei.clear();
    m_fenster->mnuSave_Click();
    QCOMPARE(m_dialoge->aufrufe, QStringList{"speichern"});
    QVERIFY(m_ui.meldungen.isEmpty());
    QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

void TstDokumentBefehle::speichernFehlgeschlagenLaesstDateiHeil()
{
    QTemporaryDir dir;
    // So long a name leaves no room for the temporary file beside it; the
    // save fails even for a user whom no permission stops.
    const QString datei = dir.filePath(QString(250, QLatin1Char('b')) + QStringLiteral(".rtf"));
    {
        QFile alt(datei);
        QVERIFY(alt.open(QIODevice::WriteOnly));
        alt.write("{\\rtf1 alter Bericht}");
    }
    feld().setText(QStringLiteral("neuer Bericht"));
    m_dialoge->datei = datei;
    m_fenster->mnuSave_Click();

    QCOMPARE(m_ui.meldungen.size(), 1);
    QVERIFY(m_ui.meldungen[0].text.contains(datei));
    QVERIFY(m_ui.meldungen[0].text.contains(QStringLiteral("nicht gespeichert")));
    QCOMPARE(m_ui.meldungen[0].symbol, varo::Symbol::Ausrufezeichen);
    QCOMPARE(m_ui.meldungen[0].titel, QStringLiteral("Speichern"));
    QFile alt(datei);
    QVERIFY(alt.open(QIODevice::ReadOnly));
    QCOMPARE(alt.readAll(), QByteArray("{\\rtf1 alter Bericht}"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 1);

    // A folder that is not there.
    m_ui.meldungen.clear();
    m_dialoge->datei = dir.filePath(QStringLiteral("fehlt/bericht.rtf"));
    m_fenster->mnuSave_Click();
    QCOMPARE(m_ui.meldungen.size(), 1);
    QVERIFY(m_ui.meldungen[0].text.contains(QStringLiteral("fehlt")));
    QCOMPARE(feld().text(), QStringLiteral("neuer Bericht"));
}

void TstDokumentBefehle::oeffnenFehlgeschlagen_data()
{
    QTest::addColumn<QByteArray>("inhalt"); // empty: the file is missing
    QTest::addColumn<QString>("art");
    QTest::newRow("fehlt") << QByteArray() << "";
    QTest::newRow("kein RTF") << QByteArray("Kabel.txt\n0.66 RG 58\n") << "";
    QTest::newRow("abgeschnitten") << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}") << "";
    QTest::newRow("Ordner") << QByteArray() << "ordner";
    QTest::newRow("Pipe") << QByteArray() << "pipe";
    QTest::newRow("Gerät") << QByteArray() << "/dev/zero";
    QTest::newRow("Verknüpfung im Kreis") << QByteArray() << "kreis";
}

void TstDokumentBefehle::oeffnenFehlgeschlagen()
{
    QFETCH(QByteArray, inhalt);
    QFETCH(QString, art);
    QTemporaryDir dir;
    const QString datei = dir.filePath(QStringLiteral("x.rtf"));
    if (art == QLatin1String("ordner"))
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("x.rtf")));
    if (art == QLatin1String("pipe") && ::mkfifo(QFile::encodeName(datei).constData(), 0600) != 0)
        QSKIP("Keine Pipe anlegbar.");
    if (art == QLatin1String("kreis"))
        QVERIFY(QFile::link(datei, datei));
    if (!inhalt.isEmpty()) {
        QFile f(datei);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(inhalt);
    }
    feld().setText(QStringLiteral("Der Bericht bleibt"));
    const QString pfad = art.startsWith(QLatin1Char('/')) ? art : datei;
    m_dialoge->datei = pfad;
    m_fenster->mnuOpen_Click();
    QCOMPARE(feld().text(), QStringLiteral("Der Bericht bleibt"));
    // Cut off before any text: nothing to show, so it is refused.
    QCOMPARE(m_ui.meldungen.size(), 1);
    QVERIFY(m_ui.meldungen[0].text.contains(pfad));
    QVERIFY(!m_ui.sanduhrAktiv);
    QVERIFY(m_ui.meldungen[0].text.contains(QStringLiteral("nicht geöffnet")));
    QCOMPARE(m_ui.meldungen[0].titel, QStringLiteral("Öffnen"));
}

void TstDokumentBefehle::speichernOhnePlatz()
{
    QTemporaryDir dir;
    const QString datei = dir.filePath(QStringLiteral("bericht.rtf"));
    {
        QFile alt(datei);
        QVERIFY(alt.open(QIODevice::WriteOnly));
        alt.write("{\\rtf1 alter Bericht}");
    }
    feld().setText(QStringLiteral("unguenstig 10,563 m   guenstig 21,127 m\r\n").repeated(100));
    varo::schreibgrenzeSetzen(1000); // the disk is full after 1000 bytes
    m_dialoge->datei = datei;
    m_fenster->mnuSave_Click();
    varo::schreibgrenzeSetzen(-1);
    QCOMPARE(m_ui.meldungen.size(), 1);
    QVERIFY2(
        m_ui.meldungen[0].text.contains(QStringLiteral("nicht gespeichert werden.\r\nKein "
                                                       "Speicherplatz mehr auf dem Datenträger.")),
        qPrintable(m_ui.meldungen[0].text));
    QFile alt(datei);
    QVERIFY(alt.open(QIODevice::ReadOnly));
    QCOMPARE(alt.readAll(), QByteArray("{\\rtf1 alter Bericht}"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"bericht.rtf"});
}

void TstDokumentBefehle::oeffnenAuslassungen_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("meldung"); // empty: no message
    QTest::newRow("fremd mit Bildern und Liste")
        << QByteArray("{\\rtf1{\\pict 00}{\\pict 00}{\\listtext\\'95}\\ls1 a\\par}")
        << "Nicht übernommen: 2 Bilder, 1 Aufzählungszeichen.";
    QTest::newRow("nur Text") << QByteArray("{\\rtf1 a\\par}") << "";
}

// One message names what the report box could not take over.
void TstDokumentBefehle::oeffnenAuslassungen()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, meldung);
    QTemporaryDir dir;
    const QString datei = dir.filePath(QStringLiteral("fremd.rtf"));
    QFile f(datei);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(rtf);
    f.close();
    m_dialoge->datei = datei;
    m_fenster->mnuOpen_Click();
    QCOMPARE(feld().text(), QStringLiteral("a"));
    QCOMPARE(m_ui.meldungen.size(), meldung.isEmpty() ? 0 : 1);
    if (meldung.isEmpty())
        return;
    QVERIFY2(m_ui.meldungen[0].text.endsWith(meldung), qPrintable(m_ui.meldungen[0].text));
    QCOMPARE(m_ui.meldungen[0].titel, QStringLiteral("Öffnen"));
    QCOMPARE(m_ui.meldungen[0].symbol, varo::Symbol::Information);
}

void TstDokumentBefehle::oeffnenTeilweise()
{
    // A saved report whose copy broke off half-way.
    QTemporaryDir dir;
    const QString datei = dir.filePath(QStringLiteral("bericht.rtf"));
    feld().setText(QStringLiteral("Varolinaten-Berechnung\r\n") +
                   QStringLiteral("  13,850 m   guenstig\r\n").repeated(40));
    QByteArray inhalt = varo::rtfSchreiben(
        *m_fenster->findChild<QTextEdit *>(QStringLiteral("RichTextBox1"))->document());
    inhalt.truncate(inhalt.size() / 2);
    {
        QFile f(datei);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(inhalt);
    }
    feld().setText(QStringLiteral("vorher"));
    m_dialoge->datei = datei;
    m_fenster->mnuOpen_Click();

    // What was read is shown, with a message saying it is not all.
    QVERIFY(feld().text().startsWith(QStringLiteral("Varolinaten-Berechnung\r\n  13,850 m")));
    QCOMPARE(m_ui.meldungen.size(), 1);
    QVERIFY(m_ui.meldungen[0].text.contains(QStringLiteral("nur teilweise gelesen")));
    QVERIFY(m_ui.meldungen[0].text.contains(QStringLiteral("abgeschnitten")));
    QCOMPARE(m_ui.meldungen[0].titel, QStringLiteral("Öffnen"));
    QVERIFY(m_ui.sanduhren > 0);
    QVERIFY(!m_ui.sanduhrAktiv);
    QCOMPARE(m_fenster->dokumentBefehle().unvollstaendigGelesen(),
             QFileInfo(datei).absoluteFilePath());

    // Saving over the original asks; Cancel leaves the file as it was.
    m_ui.antworten = {varo::Antwort::Abbrechen};
    m_fenster->mnuSave_Click();
    QCOMPARE(m_ui.meldungen.size(), 2);
    QCOMPARE(m_ui.meldungen[1].symbol, varo::Symbol::Frage);
    QCOMPARE(m_ui.meldungen[1].knoepfe, varo::Knoepfe::OkAbbrechen);
    QFile f(datei);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), inhalt);
    f.close();

    // Another name asks nothing; a new report ends the mark.
    m_dialoge->datei = dir.filePath(QStringLiteral("anders.rtf"));
    m_fenster->mnuSave_Click();
    QCOMPARE(m_ui.meldungen.size(), 2);
    feld().setText(QString());
    QVERIFY(m_fenster->dokumentBefehle().unvollstaendigGelesen().isEmpty());
}

void TstDokumentBefehle::druckenInPdf_data()
{
    QTest::addColumn<bool>("markieren");
    QTest::addColumn<varo::Druckumfang>("umfang");
    QTest::addColumn<bool>("ersteZeile");
    QTest::newRow("ohne Auswahl") << false << varo::Druckumfang::Alles << true;
    QTest::newRow("Auswahl gedruckt") << true << varo::Druckumfang::Auswahl << false;
    QTest::newRow("Auswahl, alles gewaehlt") << true << varo::Druckumfang::Alles << true;
}

void TstDokumentBefehle::druckenInPdf()
{
    QFETCH(bool, markieren);
    QFETCH(varo::Druckumfang, umfang);
    QFETCH(bool, ersteZeile);

    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("druck.pdf"));
    auto drucker = varo::QtDrucker::fuerPdf(pdf);
    fenster(drucker.get());
    feld().setText(
        QStringLiteral("Varolinaten-Berechnung\r\nunguenstig 10,563 m\r\nguenstig 21,127 m"));
    if (markieren) {
        feld().setSelStart(24);
        feld().setSelLength(19);
        QCOMPARE(feld().selText(), QStringLiteral("unguenstig 10,563 m"));
    }
    m_dialoge->umfang = umfang;
    m_fenster->mnuPrint_Click();

    QCOMPARE(m_dialoge->auswahlMoeglich, markieren);
    QVERIFY(m_ui.meldungen.isEmpty());
    QVERIFY(m_ui.sanduhren >= 1);
    QVERIFY(!m_ui.sanduhrAktiv);
    const QString text = pdfText(pdf);
    QVERIFY2(text.contains(QStringLiteral("unguenstig 10,563 m")), qPrintable(text));
    QCOMPARE(text.contains(QStringLiteral("Varolinaten-Berechnung")), ersteZeile);
    QCOMPARE(text.contains(QStringLiteral("guenstig 21,127 m")), ersteZeile);
    // Printing leaves the report as it was.
    QCOMPARE(feld().selLength(), markieren ? 19 : 0);
    delete m_fenster;
    m_fenster = nullptr;
}

void TstDokumentBefehle::druckenAbgebrochen()
{
    feld().setText(QStringLiteral("Bericht"));
    m_dialoge->umfang = varo::Druckumfang::Abbruch;
    m_fenster->mnuPrint_Click();
    QVERIFY(m_drucker.dokumente.isEmpty());
    QCOMPARE(m_ui.sanduhren, 0);
    QVERIFY(m_ui.meldungen.isEmpty());
}

void TstDokumentBefehle::druckfehlerWiederholenIgnorieren_data()
{
    QTest::addColumn<QList<varo::Antwort>>("antworten");
    QTest::addColumn<int>("meldungen");
    QTest::addColumn<int>("zeigerZurueck"); // normal pointer after the command
    QTest::newRow("Abbrechen") << QList<varo::Antwort>{varo::Antwort::Abbruch} << 1 << 1;
    QTest::newRow("Wiederholen, Abbrechen")
        << QList<varo::Antwort>{varo::Antwort::Wiederholen, varo::Antwort::Abbruch} << 2 << 1;
    QTest::newRow("Ignorieren") << QList<varo::Antwort>{varo::Antwort::Ignorieren} << 1 << 1;
}

void TstDokumentBefehle::druckfehlerWiederholenIgnorieren()
{
    QFETCH(QList<varo::Antwort>, antworten);
    QFETCH(int, meldungen);
    m_drucker.fehlend << QStringLiteral("dokumentDrucken");
    feld().setText(QStringLiteral("Bericht"));
    m_ui.antworten = antworten;
    m_fenster->mnuPrint_Click();

    QCOMPARE(m_ui.meldungen.size(), meldungen);
    for (const FakeOberflaeche::Meldung &m : std::as_const(m_ui.meldungen)) {
        QCOMPARE(m.text, QStringLiteral("Druckerfehler\r\nWiederholen ? "));
        QCOMPARE(m.titel, QStringLiteral("Drucker-Fehler?"));
        QCOMPARE(m.symbol, varo::Symbol::Ausrufezeichen);
        QCOMPARE(m.knoepfe, varo::Knoepfe::AbbrechenWiederholenIgnorieren);
    }
    // The dialog is not shown again on Retry: only the failing step runs.
    QCOMPARE(m_dialoge->aufrufe, QStringList{"drucken"});
    QVERIFY(!m_ui.sanduhrAktiv);
}

void TstDokumentBefehle::ohneDruckerFehlermeldung()
{
    // The real dialogs on a printer that is not there: the box, not a dialog.
    varo::KeinDrucker keiner;
    fenster(&keiner);
    m_fenster->dokumentBefehle().setDialoge(std::make_unique<varo::QtDokumentdialoge>(nullptr));
    feld().setText(QStringLiteral("Bericht"));
    m_ui.antworten = {varo::Antwort::Ignorieren, varo::Antwort::Abbruch};
    m_fenster->mnuPrint_Click();
    // The dialog fails, Ignore goes on to printing, which fails as well.
    QCOMPARE(m_ui.meldungen.size(), 2);
    QVERIFY(m_ui.meldungen[0].text.endsWith(QStringLiteral("\r\nWiederholen ? ")));
    QVERIFY(!m_ui.sanduhrAktiv);

    m_ui.meldungen.clear();
    m_fenster->mnuPrinter_Einstellungen_Click();
    QCOMPARE(m_ui.meldungen.size(), 1);
    QCOMPARE(m_ui.meldungen[0].titel, QStringLiteral("Drucker-Fehler?"));
    delete m_fenster;
    m_fenster = nullptr;
}

void TstDokumentBefehle::einrichtenGleicherDrucker()
{
    m_drucker.lage = varo::Seitenlage::Querformat;
    m_drucker.papier = varo::Papierformat::Letter;
    m_drucker.fach = varo::Papierfach::Manuell;
    m_dialoge->einrichten = [this] {
        // The set-up starts from portrait A4, automatic bin.
        if (m_drucker.lage != varo::Seitenlage::Hochformat ||
            m_drucker.papier != varo::Papierformat::A4 ||
            m_drucker.fach != varo::Papierfach::Automatisch)
            return false;
        m_drucker.lage = varo::Seitenlage::Querformat;
        m_drucker.papier = varo::Papierformat::A3;
        m_drucker.fach = varo::Papierfach::Unten;
        return true;
    };
    m_fenster->mnuPrinter_Einstellungen_Click();
    QCOMPARE(m_dialoge->aufrufe, QStringList{"einrichten"});
    QVERIFY(m_ui.meldungen.isEmpty());
    QVERIFY(m_drucker.folgen);
    QCOMPARE(m_drucker.einheit, varo::Masseinheit::Millimeter);
    QCOMPARE(m_drucker.lage, varo::Seitenlage::Querformat);
    QCOMPARE(m_drucker.papier, varo::Papierformat::A3);
    QCOMPARE(m_drucker.fach, varo::Papierfach::Unten);
    QCOMPARE(m_drucker.seitenlagen.last(), varo::Seitenlage::Querformat);
}

void TstDokumentBefehle::einrichtenNeuerDruckerFragt()
{
    m_drucker.name = QStringLiteral("Alt");
    m_dialoge->einrichten = [this] {
        m_drucker.name = QStringLiteral("Neu");
        return true;
    };
    m_ui.antworten = {varo::Antwort::Abbrechen, varo::Antwort::Ok};
    m_fenster->mnuPrinter_Einstellungen_Click();
    // Cancel in the question showed the set-up dialog once more.
    QCOMPARE(m_dialoge->aufrufe, (QStringList{"einrichten", "einrichten"}));
    QCOMPARE(m_ui.meldungen.size(), 2);
    const FakeOberflaeche::Meldung &m = m_ui.meldungen[0];
    QCOMPARE(m.text, QStringLiteral("Der Druckertyp wurde gewechselt:     \r\n\r\nNeu"));
    QCOMPARE(m.titel, QStringLiteral("Drucker "));
    QCOMPARE(m.symbol, varo::Symbol::Frage);
    QCOMPARE(m.knoepfe, varo::Knoepfe::OkAbbrechen);
    QVERIFY(!m_ui.sanduhrAktiv);
}

void TstDokumentBefehle::einrichtenAbgebrochen()
{
    m_drucker.lage = varo::Seitenlage::Querformat;
    m_drucker.papier = varo::Papierformat::Letter;
    m_dialoge->einrichten = [this] {
        m_drucker.lage = varo::Seitenlage::Querformat; // as a dialog could, before it is cancelled
        return false;
    };
    m_fenster->mnuPrinter_Einstellungen_Click();
    QVERIFY(m_ui.meldungen.isEmpty());
    QCOMPARE(m_drucker.papier, varo::Papierformat::A4);
    QCOMPARE(m_drucker.fach, varo::Papierfach::Automatisch);
    QCOMPARE(m_drucker.seitenlagen, QList{varo::Seitenlage::Hochformat});
}

void TstDokumentBefehle::schrift()
{
    feld().setText(QStringLiteral("Kabel RG 58"));
    feld().setSelStart(6);
    feld().setSelLength(5);
    varo::Zeichenattribute a;
    a.schriftname = QStringLiteral("Courier New");
    a.groesse = 12;
    a.kursiv = true;
    a.farbe = QColor(Qt::blue);
    feld().setSelAttribute(a);

    QFont gewaehlt(QStringLiteral("Arial"));
    gewaehlt.setPointSizeF(14);
    gewaehlt.setBold(true);
    gewaehlt.setUnderline(true);
    gewaehlt.setStrikeOut(true);
    m_dialoge->schriftantwort = varo::Schriftwahl{gewaehlt, QColor(Qt::red)};
    m_fenster->mnuFont_Click();

    // The dialog started from the selection.
    QCOMPARE(m_dialoge->schriftvorgabe.schrift.family(), QStringLiteral("Courier New"));
    QCOMPARE(m_dialoge->schriftvorgabe.schrift.pointSizeF(), 12.0);
    QVERIFY(m_dialoge->schriftvorgabe.schrift.italic());
    QVERIFY(!m_dialoge->schriftvorgabe.schrift.bold());
    QCOMPARE(m_dialoge->schriftvorgabe.farbe, QColor(Qt::blue));

    const varo::Zeichenattribute b = feld().selAttribute();
    QCOMPARE(b.schriftname, std::optional<QString>(QStringLiteral("Arial")));
    QCOMPARE(b.groesse, std::optional<double>(14));
    QCOMPARE(b.fett, std::optional<bool>(true));
    QCOMPARE(b.kursiv, std::optional<bool>(false));
    QCOMPARE(b.unterstrichen, std::optional<bool>(true));
    QCOMPARE(b.durchgestrichen, std::optional<bool>(true));
    QCOMPARE(b.farbe, std::optional<QColor>(QColor(Qt::red)));
    // Outside the selection nothing changed.
    feld().setSelStart(0);
    feld().setSelLength(5);
    QCOMPARE(feld().selAttribute().schriftname,
             std::optional<QString>(QStringLiteral("Courier New")));
    QVERIFY(!m_ui.sanduhrAktiv);
}

void TstDokumentBefehle::schriftAbgebrochen()
{
    feld().setText(QStringLiteral("Kabel"));
    feld().setSelStart(0);
    feld().setSelLength(5);
    const QString vorher = m_fenster->richTextBox()->toHtml();
    m_dialoge->schriftantwort.reset();
    m_fenster->mnuFont_Click();
    QCOMPARE(m_fenster->richTextBox()->toHtml(), vorher);
    QCOMPARE(feld().selLength(), 5);
    QVERIFY(!m_ui.sanduhrAktiv);
}

QTEST_MAIN(TstDokumentBefehle)
#include "tst_dokumentbefehle.moc"
