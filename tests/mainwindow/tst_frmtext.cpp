#include "dokumentdialoge.h"
#include "fake_drucker.h"
#include "fake_oberflaeche.h"
#include "frmabout.h"
#include "frmkabel.h"
#include "frmkabelkurve.h"
#include "frmleitung.h"
#include "frmplaner.h"
#include "frmtext.h"
#include "frmvermessen.h"
#include "hilfe.h"
#include "statusleiste.h"
#include "version.h"
#include "werte.h"

#include <QAbstractButton>
#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
#include <QToolBar>
#include <QtTest>

namespace {

// A window opened from the main window that notes when it is closed.
class Nebenfenster : public QWidget
{
public:
    Nebenfenster(QString name, QStringList &protokoll)
        : m_name(std::move(name)), m_protokoll(protokoll)
    {
        setAttribute(Qt::WA_DeleteOnClose);
    }

protected:
    void closeEvent(QCloseEvent *event) override
    {
        m_protokoll << m_name;
        QWidget::closeEvent(event);
    }

private:
    QString m_name;
    QStringList &m_protokoll;
};

} // namespace

class TstFrmText : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void menueEintraege_data();
    void menueEintraege();
    void kurzwahlenSindEindeutig();
    void symbolleiste();
    void statusleiste();
    void datumMitVierstelligemJahr_data();
    void datumMitVierstelligemJahr();
    void dateiMenueFolgtDemBericht();
    void listingNachDemStart();
    void vorlageTextBehaeltKursivUndUnterstrichen();
    void vorlageStandardSetztZurueck();
    void vorlagenAufLeeremDokument();
    void titel_data();
    void titel();
    void anfangsgroesse();
    void layoutNachGroessenaenderung_data();
    void layoutNachGroessenaenderung();
    void winzigesFenster();
    void eingabedialogJeModus();
    void eingabedialogRechnetInDenBericht();
    void titelUndGrussMittigAbDemErstenBericht_data();
    void titelUndGrussMittigAbDemErstenBericht();
    void kurvenfenster();
    void planerBerichtetInsHauptfenster();
    void hilfe();
    void infoZeigtEineBox();
    void beendenSchliesstNeuesteZuerst();
    void beendenWaehrendEinerRechnung();
    void beendenTrotzDruckerfehler();
    void beendenUeberMenue();

protected:
    bool eventFilter(QObject *objekt, QEvent *event) override
    {
        if (m_geschlossen && event->type() == QEvent::Close)
            *m_geschlossen << objekt->objectName();
        return false;
    }

private:
    QStringList *m_geschlossen = nullptr;
    varo::Programmwerte m_werte;
    FakeDrucker m_drucker;
    FakeOberflaeche m_ui;
    varo::FrmText *m_fenster = nullptr;
};

void TstFrmText::init()
{
    m_drucker = FakeDrucker();
    m_fenster =
        new varo::FrmText(m_werte, {m_drucker, std::make_unique<varo::QtDokumentdialoge>(nullptr),
                                    std::make_unique<varo::DesktopPlattform>(), &m_ui});
}

void TstFrmText::cleanup()
{
    delete m_fenster;
    m_fenster = nullptr;
}

void TstFrmText::menueEintraege_data()
{
    QTest::addColumn<QString>("menue");
    QTest::addColumn<QString>("beschriftung");
    QTest::addColumn<QString>("kurzwahl");
    QTest::addColumn<QChar>("zugriff");

    const auto zeile = [](const char *menue, const char *name, const char *beschriftung,
                          const char *kurzwahl, QChar zugriff) {
        QTest::newRow(name) << QString::fromLatin1(menue) << QString::fromUtf8(beschriftung)
                            << QString::fromLatin1(kurzwahl) << zugriff;
    };
    zeile("", "mnuFile", "&Datei", "", u'D');
    zeile("mnuFile", "mnuOpen", "&Öffnen", "Ctrl+O", u'Ö');
    zeile("mnuFile", "mnuSave", "&Speichern", "Ctrl+S", u'S');
    zeile("mnuFile", "mnuSep2", "-", "", QChar());
    zeile("mnuFile", "mnuSuchen", "S&uchen", "", u'u');
    zeile("mnuFile", "mnuSep1", "-", "", QChar());
    zeile("mnuFile", "mnuPrinter_Einstellungen", "Drucker &einrichten", "", u'e');
    zeile("mnuFile", "mnuPrint", "&Drucken", "Ctrl+D", u'D');
    zeile("mnuFile", "mnuSep0", "-", "", QChar());
    zeile("mnuFile", "mnuExit", "&Beenden", "Ctrl+B", u'B');
    zeile("", "mnuRech", "&Berechnen", "", u'B');
    zeile("mnuRech", "mnuRechnen", "&eine Frequenz", "F3", u'e');
    zeile("mnuRech", "mnuRechnMehrere", "&mehrere Frequenzen", "F4", u'm');
    zeile("mnuRech", "mnuTrenn1", "-", "", QChar());
    zeile("mnuRech", "mnuVorhKab", "&vorhandenes Kabel prüfen", "", u'v');
    zeile("mnuVorhKab", "mnuRechnVorhKabel", "&Textausgabe", "F5", u'T');
    zeile("mnuVorhKab", "mnuRechnVorhKabelGrafisch", "&Grafikausgabe", "F6", u'G');
    zeile("mnuVorhKab", "mnuLeitungsanalyse", "&Leitungsanalyse", "F7", u'L');
    zeile("mnuVorhKab", "mnuVermessen", "Kabel &vermessen …", "F9", u'v');
    zeile("mnuRech", "mnuTrenn2", "-", "", QChar());
    zeile("mnuRech", "mnuLaengenplaner", "&Längenplaner", "F8", u'L');
    zeile("", "mnuFormat", "&Format", "", u'F');
    zeile("mnuFormat", "mnuFont", "&Schrift", "Ctrl+F", u'S');
    zeile("mnuFormat", "mnuVorlage", "&Formatvorlage", "", u'F');
    zeile("mnuVorlage", "mnuStandard", "&Standard", "", u'S');
    zeile("mnuVorlage", "mnuListing", "&Listing", "", u'L');
    zeile("mnuVorlage", "mnuText", "&Text", "", u'T');
    zeile("", "mnuH", "&?", "", u'?');
    zeile("mnuH", "mnuHilfe", "&Hilfe", "F1", u'H');
    zeile("mnuH", "mnuInfo", "&Info", "F2", u'I');
}

void TstFrmText::menueEintraege()
{
    QFETCH(QString, menue);
    QFETCH(QString, beschriftung);
    QFETCH(QString, kurzwahl);
    QFETCH(QChar, zugriff);
    const QString name = QString::fromLatin1(QTest::currentDataTag());

    // The entry sits exactly in its menu, in the order of the table.
    const QList<QAction *> geschwister = menue.isEmpty()
                                             ? m_fenster->menuBar()->actions()
                                             : m_fenster->findChild<QMenu *>(menue)->actions();
    QAction *eintrag = nullptr;
    for (QAction *a : geschwister) {
        if (a->objectName() == name)
            eintrag = a;
    }
    QVERIFY2(eintrag, qPrintable(name + QStringLiteral(" fehlt in ") + menue));
    // Saving and printing wait for a report; everything else is ready.
    const bool leerGesperrt = name == QLatin1String("mnuSave") || name == QLatin1String("mnuPrint");
    QCOMPARE(eintrag->isEnabled(), !leerGesperrt);
    QVERIFY(eintrag->isVisible());

    if (beschriftung == QLatin1String("-")) {
        QVERIFY(eintrag->isSeparator());
        return;
    }
    QCOMPARE(eintrag->text(), beschriftung);
    QCOMPARE(eintrag->shortcut(), QKeySequence(kurzwahl));
    QCOMPARE(QKeySequence::mnemonic(eintrag->text()),
             QKeySequence(Qt::ALT | QKeySequence(QString(zugriff))[0].key()));
    if (eintrag->menu())
        QCOMPARE(eintrag->menu()->objectName(), name);
}

void TstFrmText::kurzwahlenSindEindeutig()
{
    QSet<QKeySequence> gesehen;
    int anzahl = 0;
    for (QAction *a : m_fenster->findChildren<QAction *>()) {
        if (a->shortcut().isEmpty())
            continue;
        QVERIFY2(!gesehen.contains(a->shortcut()), qPrintable(a->shortcut().toString()));
        gesehen.insert(a->shortcut());
        ++anzahl;
    }
    // F7, F8 and F9 open the line analysis, the planner and the cable measurement.
    QCOMPARE(anzahl, 14);
}

void TstFrmText::symbolleiste()
{
    auto *leiste = m_fenster->findChild<QToolBar *>(QStringLiteral("Toolbar1"));
    QVERIFY(leiste);
    const QList<QAction *> knoepfe = leiste->actions();
    QCOMPARE(knoepfe.size(), 6);
    QVERIFY(knoepfe[0]->isSeparator());
    QVERIFY(knoepfe[4]->isSeparator());
    const QStringList namen{"mnuOpen", "mnuSave", "mnuPrint", "", "mnuFont"};
    const QStringList tipps{"Öffnen *.RTF", "Speichern als RTF", "Drucken", "", "Format: Schrift"};
    const QStringList schluessel{"Open", "Save", "Print", "", "Font"};
    for (int i = 0; i < 5; ++i) {
        if (namen[i].isEmpty())
            continue;
        QAction *k = knoepfe[i + 1];
        // The very action of the menu, not a copy of it.
        QCOMPARE(k, m_fenster->findChild<QAction *>(namen[i]));
        QCOMPARE(k->toolTip(), tipps[i]);
        QCOMPARE(k->property("schluessel").toString(), schluessel[i]);
        QVERIFY2(!k->icon().isNull(), qPrintable(namen[i]));
        QVERIFY(!k->icon().pixmap(24, 24).isNull());
    }
}

void TstFrmText::statusleiste()
{
    auto *leiste = m_fenster->findChild<QStatusBar *>(QStringLiteral("StatusBar1"));
    QVERIFY(leiste);
    QCOMPARE(m_fenster->statusBar(), leiste);
    auto *text = leiste->findChild<QLabel *>(QStringLiteral("Panel1"));
    auto *zeit = leiste->findChild<QLabel *>(QStringLiteral("Panel2"));
    auto *datum = leiste->findChild<QLabel *>(QStringLiteral("Panel3"));
    QVERIFY(text && zeit && datum);
    // NOLINTNEXTLINE(clang-analyzer-core.CallAndMessage): the QVERIFY above returns on null
    QVERIFY(text->text().isEmpty());
    const QLocale locale;
    // The timer may tick between the two readings.
    QTRY_COMPARE(zeit->text(), locale.toString(QTime::currentTime(), QLocale::ShortFormat));
    QCOMPARE(datum->text(),
             locale.toString(QDate::currentDate(), varo::Statusleiste::datumsformat(locale)));

    m_fenster->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_fenster));
    // The empty panel takes the free width; time and date sit at the right.
    QVERIFY(text->width() > zeit->width() + datum->width());
    QVERIFY(zeit->x() < datum->x());
}

void TstFrmText::datumMitVierstelligemJahr_data()
{
    QTest::addColumn<QString>("sprache");
    QTest::addColumn<QString>("erwartet");
    QTest::newRow("de_DE") << "de_DE"
                           << "09.12.2026";
    QTest::newRow("de_AT") << "de_AT"
                           << "09.12.2026";
    QTest::newRow("en_US") << "en_US"
                           << "12/9/2026";
    QTest::newRow("C") << "C"
                       << "9 Dec 2026";
}

void TstFrmText::datumMitVierstelligemJahr()
{
    QFETCH(QString, sprache);
    QFETCH(QString, erwartet);
    QLocale::setDefault(QLocale(sprache));
    varo::Statusleiste leiste;
    leiste.anzeigen(QDateTime(QDate(2026, 12, 9), QTime(14, 5)));
    QLocale::setDefault(QLocale::c());
    QCOMPARE(leiste.datumText(), erwartet);
}

void TstFrmText::dateiMenueFolgtDemBericht()
{
    auto *datei = m_fenster->findChild<QMenu *>(QStringLiteral("mnuFile"));
    auto *drucken = m_fenster->findChild<QAction *>(QStringLiteral("mnuPrint"));
    auto *speichern = m_fenster->findChild<QAction *>(QStringLiteral("mnuSave"));
    const QStringList andere{"mnuOpen", "mnuSuchen", "mnuPrinter_Einstellungen", "mnuExit"};

    emit datei->aboutToShow();
    QVERIFY(!drucken->isEnabled());
    QVERIFY(!speichern->isEnabled());

    m_fenster->berichtsfeld().setText(QStringLiteral("Varolinaten-Berechnung\r\n"));
    emit datei->aboutToShow();
    QVERIFY(drucken->isEnabled());
    QVERIFY(speichern->isEnabled());

    // Formatting alone is no content.
    m_fenster->berichtsfeld().setText(QString());
    m_fenster->mnuStandard_Click();
    emit datei->aboutToShow();
    QVERIFY(!drucken->isEnabled());
    QVERIFY(!speichern->isEnabled());
    for (const QString &name : andere)
        QVERIFY2(m_fenster->findChild<QAction *>(name)->isEnabled(), qPrintable(name));

    // A line end alone is text.
    m_fenster->berichtsfeld().setText(QStringLiteral("\r\n"));
    emit datei->aboutToShow();
    QVERIFY(drucken->isEnabled());
}

void TstFrmText::listingNachDemStart()
{
    varo::Berichtsfeld &feld = m_fenster->berichtsfeld();
    QCOMPARE(feld.textLaenge(), 0);
    // Text appended to the fresh report comes out in the fixed-pitch font.
    feld.anhaengen(QStringLiteral("Kabel   RG 58"));
    feld.setSelStart(0);
    feld.setSelLength(feld.textLaenge());
    const varo::Zeichenattribute a = feld.selAttribute();
    QCOMPARE(a.schriftname.value_or(QString()), QStringLiteral("Courier New"));
    QCOMPARE(a.groesse.value_or(0), 10.0);
    QCOMPARE(a.fett.value_or(true), false);
}

static void markieren(varo::Berichtsfeld &feld)
{
    feld.setText(QStringLiteral("Zeile eins\r\nZeile zwei"));
    feld.setSelStart(0);
    feld.setSelLength(feld.textLaenge());
    varo::Zeichenattribute a;
    a.fett = a.kursiv = a.unterstrichen = a.durchgestrichen = true;
    a.farbe = QColor(Qt::red);
    a.versatz = 1;
    feld.setSelAttribute(a);
}

static varo::Zeichenattribute alles(varo::Berichtsfeld &feld)
{
    feld.setSelStart(0);
    feld.setSelLength(feld.textLaenge());
    return feld.selAttribute();
}

void TstFrmText::vorlageTextBehaeltKursivUndUnterstrichen()
{
    varo::Berichtsfeld &feld = m_fenster->berichtsfeld();
    markieren(feld);
    m_fenster->findChild<QAction *>(QStringLiteral("mnuText"))->trigger();

    // The caret stands at the start with nothing selected.
    QCOMPARE(feld.selStart(), 0);
    QCOMPARE(feld.selLength(), 0);
    QCOMPARE(m_fenster->richTextBox()->textCursor().hasSelection(), false);

    const varo::Zeichenattribute a = alles(feld);
    QCOMPARE(a.schriftname.value_or(QString()), QStringLiteral("Arial"));
    QCOMPARE(a.groesse.value_or(0), 8.0);
    QCOMPARE(a.fett, std::optional<bool>(false));
    QCOMPARE(a.kursiv, std::optional<bool>(true));
    QCOMPARE(a.unterstrichen, std::optional<bool>(true));
    QCOMPARE(a.durchgestrichen, std::optional<bool>(true));
    QCOMPARE(a.versatz, std::optional<int>(0));
    QCOMPARE(a.farbe, std::optional<QColor>(QColor(Qt::black)));
}

void TstFrmText::vorlageStandardSetztZurueck()
{
    varo::Berichtsfeld &feld = m_fenster->berichtsfeld();
    markieren(feld);
    m_fenster->findChild<QAction *>(QStringLiteral("mnuText"))->trigger();
    feld.setSelStart(5);
    m_fenster->findChild<QAction *>(QStringLiteral("mnuStandard"))->trigger();
    QCOMPARE(feld.selStart(), 0);
    QCOMPARE(feld.selLength(), 0);

    const varo::Zeichenattribute a = alles(feld);
    QCOMPARE(a.schriftname.value_or(QString()), QStringLiteral("Arial"));
    QCOMPARE(a.groesse.value_or(0), 10.0);
    QCOMPARE(a.kursiv, std::optional<bool>(false));
    QCOMPARE(a.unterstrichen, std::optional<bool>(false));
    QCOMPARE(a.durchgestrichen, std::optional<bool>(false));

    m_fenster->findChild<QAction *>(QStringLiteral("mnuListing"))->trigger();
    QCOMPARE(alles(feld).schriftname.value_or(QString()), QStringLiteral("Courier New"));
    QCOMPARE(feld.text(), QStringLiteral("Zeile eins\r\nZeile zwei"));
}

void TstFrmText::vorlagenAufLeeremDokument()
{
    for (const char *name : {"mnuStandard", "mnuText", "mnuListing"}) {
        m_fenster->findChild<QAction *>(QLatin1String(name))->trigger();
        QCOMPARE(m_fenster->berichtsfeld().text(), QString());
        QCOMPARE(m_fenster->berichtsfeld().selStart(), 0);
    }
}

void TstFrmText::titel_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("revision");
    QTest::addColumn<QString>("erwartet");
    QTest::newRow("2.0.7") << 2 << 0 << 7 << " Varolinaten - Berechnung V2.0.7 (c) X";
    QTest::newRow("10.12.100") << 10 << 12 << 100 << " Varolinaten - Berechnung V10.12.100 (c) X";
    QTest::newRow("0.0.0") << 0 << 0 << 0 << " Varolinaten - Berechnung V0.0.0 (c) X";
}

void TstFrmText::titel()
{
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, revision);
    QFETCH(QString, erwartet);
    QCOMPARE(varo::FrmText::titel(major, minor, revision, QStringLiteral("(c) X")), erwartet);

    // The window shows the program's own version and legal notice.
    const QString eigener = QStringLiteral(" Varolinaten - Berechnung V%1.%2.%3 ")
                                .arg(varo::version::major)
                                .arg(varo::version::minor)
                                .arg(varo::version::revision) +
                            QString::fromUtf8(varo::version::rechtshinweis);
    QCOMPARE(m_fenster->windowTitle(), eigener);
}

void TstFrmText::anfangsgroesse()
{
    // 10464 twips = 697.6 px at 96 dpi; the client area lies below the menu bar.
    QCOMPARE(m_fenster->width(), m_fenster->twipsZuPixel(10464));
    QCOMPARE(m_fenster->height() - m_fenster->menuBar()->sizeHint().height(),
             m_fenster->twipsZuPixel(5592));
    if (m_fenster->logicalDpiX() == 96)
        QCOMPARE(m_fenster->twipsZuPixel(10464), 698);
}

void TstFrmText::layoutNachGroessenaenderung_data()
{
    QTest::addColumn<QSize>("groesse");
    QTest::newRow("800x500") << QSize(800, 500);
    QTest::newRow("1200x900") << QSize(1200, 900);
    QTest::newRow("400x250") << QSize(400, 250);
}

void TstFrmText::layoutNachGroessenaenderung()
{
    QFETCH(QSize, groesse);
    m_fenster->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_fenster));
    m_fenster->resize(groesse);
    QTRY_COMPARE(m_fenster->size(), groesse);

    QTextEdit *box = m_fenster->richTextBox();
    const QRect r(box->mapTo(m_fenster, QPoint(0, 0)), box->size());
    const int rand = m_fenster->twipsZuPixel(60);
    QCOMPARE(r.left(), rand);
    QCOMPARE(m_fenster->width() - (r.right() + 1), rand);

    const QToolBar *leiste = m_fenster->findChild<QToolBar *>(QStringLiteral("Toolbar1"));
    QVERIFY(r.top() >= leiste->geometry().bottom());
    // The box ends where the status bar begins.
    QCOMPARE(r.bottom() + 1, m_fenster->statusBar()->geometry().top());
    QCOMPARE(m_fenster->statusBar()->geometry().bottom() + 1, m_fenster->height());
}

void TstFrmText::winzigesFenster()
{
    m_fenster->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_fenster));
    for (const QSize &s : {QSize(30, 20), QSize(1, 1), QSize(0, 0), QSize(900, 600)}) {
        m_fenster->resize(s);
        QCoreApplication::processEvents();
        QVERIFY(m_fenster->richTextBox()->width() >= 0);
        QVERIFY(m_fenster->richTextBox()->height() >= 0);
    }
    QCoreApplication::processEvents();
    QTRY_VERIFY(m_fenster->richTextBox()->width() > 800);
}

void TstFrmText::eingabedialogJeModus()
{
    m_fenster->show();
    QVERIFY(!m_fenster->frmKabel());
    m_fenster->findChild<QAction *>(QStringLiteral("mnuRechnen"))->trigger();
    QPointer<varo::FrmKabel> dialog = m_fenster->frmKabel();
    QVERIFY(dialog);
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->Berechnungsart(), QStringLiteral("eine"));

    // The same dialog serves every mode while it is loaded, hidden or not.
    dialog->hide();
    m_fenster->findChild<QAction *>(QStringLiteral("mnuRechnMehrere"))->trigger();
    QCOMPARE(m_fenster->frmKabel(), dialog.data());
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->Berechnungsart(), QStringLiteral("mehrere"));

    // Closed by the user it is gone, and the next use builds it anew.
    dialog->close();
    QTRY_VERIFY(!dialog);
    QVERIFY(!m_fenster->frmKabel());
    m_fenster->findChild<QAction *>(QStringLiteral("mnuRechnVorhKabel"))->trigger();
    QVERIFY(m_fenster->frmKabel());
    QCOMPARE(m_fenster->frmKabel()->Berechnungsart(), QStringLiteral("VorhKabel"));

    // Shutdown unloads it.
    dialog = m_fenster->frmKabel();
    m_fenster->close();
    QVERIFY(dialog->isHidden());
    delete m_fenster;
    m_fenster = nullptr;
    QVERIFY(!dialog);
}

void TstFrmText::eingabedialogRechnetInDenBericht()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    m_fenster->show();
    m_fenster->findChild<QAction *>(QStringLiteral("mnuRechnen"))->trigger();
    varo::FrmKabel *dialog = m_fenster->frmKabel();
    QVERIFY(dialog);
    dialog->findChild<QPlainTextEdit *>(QStringLiteral("Text1"))
        ->setPlainText(QStringLiteral("7,1"));
    dialog->Command1_Click();

    // The report went into this window's box, through this window's printer.
    const QString bericht = m_fenster->berichtsfeld().text();
    QVERIFY2(bericht.startsWith(QStringLiteral("Varolinaten-Berechnung")), qPrintable(bericht));
    QVERIFY(bericht.contains(QStringLiteral("7,1")));
    QCOMPARE(m_drucker.schrift, QStringLiteral("Courier New"));
    QCOMPARE(m_ui.dialogVerborgen, 1);
    emit m_fenster->findChild<QMenu *>(QStringLiteral("mnuFile"))->aboutToShow();
    QVERIFY(m_fenster->findChild<QAction *>(QStringLiteral("mnuSave"))->isEnabled());
    QLocale::setDefault(QLocale::c());
}

void TstFrmText::titelUndGrussMittigAbDemErstenBericht_data()
{
    QTest::addColumn<bool>("rechnen"); // through the input dialog, or written directly
    QTest::newRow("Bericht aus dem Eingabedialog") << true;
    QTest::newRow("zentrierte Zeile geschrieben") << false;
}

void TstFrmText::titelUndGrussMittigAbDemErstenBericht()
{
    QFETCH(bool, rechnen);
    m_fenster->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_fenster));
    // Every resize of the start-up is over before the first report.
    QTest::qWait(100);
    QTextEdit *box = m_fenster->richTextBox();
    if (rechnen) {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        m_fenster->findChild<QAction *>(QStringLiteral("mnuRechnen"))->trigger();
        varo::FrmKabel *dialog = m_fenster->frmKabel();
        QVERIFY(dialog);
        dialog->findChild<QPlainTextEdit *>(QStringLiteral("Text1"))
            ->setPlainText(QStringLiteral("14,2"));
        dialog->Command1_Click();
        QLocale::setDefault(QLocale::c());
    } else {
        QTextCursor c(box->document());
        QTextBlockFormat mittig;
        mittig.setAlignment(Qt::AlignHCenter);
        c.insertText(QStringLiteral(" Frequenz    : 14,200 MHz"));
        c.insertBlock(mittig);
        c.insertText(QStringLiteral("Immer ein gutes Stehwellen-Verhältnis"));
    }

    // What the box shows: the inked columns of every centred line, against
    // the middle of the box.
    QCoreApplication::processEvents();
    const QImage bild = box->viewport()->grab().toImage();
    QList<int> ab;
    for (QTextBlock b = box->document()->begin(); b.isValid(); b = b.next()) {
        if (!(b.blockFormat().alignment() & Qt::AlignHCenter) || b.text().trimmed().isEmpty())
            continue;
        const QRect zeilen = box->document()->documentLayout()->blockBoundingRect(b).toRect();
        int links = bild.width(), rechts = -1;
        for (int y = std::max(0, zeilen.top()); y < std::min(bild.height(), zeilen.bottom()); ++y)
            for (int x = 0; x < bild.width(); ++x)
                if (qGray(bild.pixel(x, y)) < 160) {
                    links = std::min(links, x);
                    rechts = std::max(rechts, x);
                }
        QVERIFY(rechts > links);
        ab << (links + rechts) / 2 - bild.width() / 2;
    }
    QVERIFY(!ab.isEmpty());
    QVERIFY2(std::all_of(ab.cbegin(), ab.cend(), [](int a) { return std::abs(a) <= 3; }),
             qPrintable(QString::number(ab.first())));
}

void TstFrmText::planerBerichtetInsHauptfenster()
{
    m_fenster->show();
    m_fenster->findChild<QAction *>(QStringLiteral("mnuLeitungsanalyse"))->trigger();
    QVERIFY(m_fenster->frmLeitung());
    QCOMPARE(m_fenster->frmLeitung()->objectName(), QStringLiteral("frmLeitung"));
    QVERIFY(m_fenster->frmLeitung()->isVisible());
    m_fenster->findChild<QAction *>(QStringLiteral("mnuVermessen"))->trigger();
    QVERIFY(m_fenster->frmVermessen() && m_fenster->frmVermessen()->isVisible());
    QCOMPARE(m_fenster->frmVermessen()->windowTitle(), QStringLiteral("Kabel vermessen"));

    m_fenster->findChild<QAction *>(QStringLiteral("mnuLaengenplaner"))->trigger();
    QPointer<varo::FrmPlaner> planer = m_fenster->frmPlaner();
    QVERIFY(planer);
    QVERIFY(planer->isVisible());
    auto *senden = planer->findChild<QAbstractButton *>(QStringLiteral("cmdBericht"));
    QVERIFY(senden);
    senden->click();
    QVERIFY(
        m_fenster->richTextBox()->toPlainText().startsWith(QStringLiteral("Varolinaten-Planung")));
}

void TstFrmText::kurvenfenster()
{
    m_fenster->show();
    m_fenster->findChild<QAction *>(QStringLiteral("mnuRechnVorhKabelGrafisch"))->trigger();
    QPointer<varo::FrmKabelKurve> kurve = m_fenster->frmKabelKurve();
    QVERIFY(kurve);
    QVERIFY(kurve->isVisible());
    QVERIFY(kurve->isWindow());
    QVERIFY(!kurve->parentWidget());

    // F6 again: the same window.
    m_fenster->findChild<QAction *>(QStringLiteral("mnuRechnVorhKabelGrafisch"))->trigger();
    QCOMPARE(m_fenster->frmKabelKurve(), kurve.data());

    // Opened after the curve window, the input dialog goes first at shutdown.
    QStringList protokoll;
    connect(kurve, &QObject::destroyed, this, [&] { protokoll << QStringLiteral("kurve"); });
    m_fenster->findChild<QAction *>(QStringLiteral("mnuRechnen"))->trigger();
    connect(m_fenster->frmKabel(), &QObject::destroyed, this,
            [&] { protokoll << QStringLiteral("dialog"); });
    QStringList geschlossen;
    for (QWidget *w :
         {static_cast<QWidget *>(kurve.data()), static_cast<QWidget *>(m_fenster->frmKabel())})
        w->installEventFilter(this);
    m_geschlossen = &geschlossen;
    m_fenster->close();
    m_geschlossen = nullptr;
    QCOMPARE(geschlossen, (QStringList{"frmKabel", "frmKabelKurve"}));
    QVERIFY(kurve->isHidden());
    delete m_fenster;
    m_fenster = nullptr;
    QVERIFY(!kurve);
    QCOMPARE(protokoll, (QStringList{"dialog", "kurve"}));
}

namespace {
class FakePlattform : public varo::Plattform
{
public:
    QStringList *gestartet;
    explicit FakePlattform(QStringList *g) : gestartet(g) {}
    QString zugeordnetesProgramm(const QString &) override
    {
        return QStringLiteral("/usr/bin/true");
    }
    void starten(const QString &, const QString &dokument, const QString &) override
    {
        *gestartet << dokument;
    }
};
} // namespace

void TstFrmText::hilfe()
{
    QStringList gestartet;
    m_fenster->setPlattform(std::make_unique<FakePlattform>(&gestartet));
    m_fenster->findChild<QAction *>(QStringLiteral("mnuHilfe"))->trigger();
    // The help document beside the program is opened, or its absence told.
    const QString pdf = QCoreApplication::applicationDirPath() + QStringLiteral("/Varolinaten.pdf");
    if (QFileInfo::exists(pdf)) {
        QCOMPARE(gestartet.size(), 1);
        QVERIFY(gestartet[0].contains(QStringLiteral("Varolinaten.pdf")));
        QVERIFY(m_ui.meldungen.isEmpty());
    } else {
        QVERIFY(gestartet.isEmpty());
        QCOMPARE(m_ui.meldungen.size(), 1);
        QVERIFY(m_ui.meldungen[0].text.contains(QStringLiteral("Varolinaten.pdf")));
    }
}

void TstFrmText::infoZeigtEineBox()
{
    m_fenster->show();
    QAction *info = m_fenster->findChild<QAction *>(QStringLiteral("mnuInfo"));
    info->trigger();
    info->trigger();
    const QList<varo::FrmAbout *> boxen = m_fenster->findChildren<varo::FrmAbout *>();
    QCOMPARE(boxen.size(), 1);
    QPointer<varo::FrmAbout> box = boxen.first();
    QVERIFY(box->isVisible());
    QVERIFY(box->findChild<QLabel *>(QStringLiteral("lblVersion"))
                ->text()
                .startsWith(QStringLiteral("Version ")));

    // Closing the main window closes the box too.
    m_fenster->close();
    QVERIFY(!box || box->isHidden());
}

void TstFrmText::beendenSchliesstNeuesteZuerst()
{
    QStringList protokoll;
    QPointer<QWidget> a = new Nebenfenster(QStringLiteral("erstes"), protokoll);
    QPointer<QWidget> b = new Nebenfenster(QStringLiteral("zweites"), protokoll);
    QPointer<QWidget> c = new Nebenfenster(QStringLiteral("drittes"), protokoll);
    m_fenster->fensterGeoeffnet(a);
    m_fenster->fensterGeoeffnet(b);
    m_fenster->fensterGeoeffnet(c);
    // Opened again later: now the newest.
    m_fenster->fensterGeoeffnet(a);
    a->show();
    c->show(); // b stays hidden, as a hidden dialog does
    m_fenster->show();

    QSignalSpy entladen(m_fenster, &varo::FrmText::entladen);
    QVERIFY(m_fenster->close());
    QCOMPARE(protokoll, (QStringList{"erstes", "drittes", "zweites"}));
    QVERIFY(a->isHidden() && b->isHidden() && c->isHidden());
    QCOMPARE(m_drucker.beendet, 1);
    QCOMPARE(entladen.count(), 1);
    // Released with the main window.
    delete m_fenster;
    m_fenster = nullptr;
    QVERIFY(!a && !b && !c);
}

void TstFrmText::beendenWaehrendEinerRechnung()
{
    // The main window is closed while a window opened from it is still
    // inside one of its own handlers, letting events run.
    QStringList protokoll;
    QPointer<QWidget> nebenfenster = new Nebenfenster(QStringLiteral("rechnet"), protokoll);
    m_fenster->fensterGeoeffnet(nebenfenster);
    nebenfenster->show();
    m_fenster->show();
    bool ueberlebt = false;
    QMetaObject::invokeMethod(
        nebenfenster,
        [&, roh = nebenfenster.data()] {
            QTimer::singleShot(0, m_fenster, [this] { m_fenster->close(); });
            QCoreApplication::processEvents();
            QCoreApplication::processEvents();
            // Still here: the handler may finish its work.
            roh->setWindowTitle(QStringLiteral("fertig"));
            ueberlebt = roh->windowTitle() == QLatin1String("fertig");
        },
        Qt::QueuedConnection);
    QTRY_VERIFY(ueberlebt);
    QCOMPARE(protokoll, QStringList{"rechnet"});
    QVERIFY(nebenfenster->isHidden());
    delete m_fenster;
    m_fenster = nullptr;
    QVERIFY(!nebenfenster);
}

void TstFrmText::beendenTrotzDruckerfehler()
{
    m_drucker.fehlend << QStringLiteral("dokumentBeenden");
    QStringList protokoll;
    QPointer<QWidget> a = new Nebenfenster(QStringLiteral("erstes"), protokoll);
    m_fenster->fensterGeoeffnet(a);
    m_fenster->show();
    QSignalSpy entladen(m_fenster, &varo::FrmText::entladen);
    QVERIFY(m_fenster->close());
    QVERIFY(a->isHidden());
    QCOMPARE(entladen.count(), 1);
    QVERIFY(m_ui.meldungen.isEmpty());
}

void TstFrmText::beendenUeberMenue()
{
    m_fenster->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_fenster));
    QSignalSpy entladen(m_fenster, &varo::FrmText::entladen);
    m_fenster->findChild<QAction *>(QStringLiteral("mnuExit"))->trigger();
    QVERIFY(m_fenster->isHidden());
    QCOMPARE(entladen.count(), 1);
    QCOMPARE(m_drucker.beendet, 1);
}

QTEST_MAIN(TstFrmText)
#include "tst_frmtext.moc"
