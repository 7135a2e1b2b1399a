#include "fake_drucker.h"
#include "fake_oberflaeche.h"
#include "frmkabelkurve.h"
#include "laufzeitfehler.h"
#include "werte.h"
#include "zeichenflaeche.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace varo;

namespace {

const QString kZE = QStringLiteral("\r\n");

// Remembers what the window looked like at the moment it was printed.
class BeobachtenderDrucker : public FakeDrucker
{
public:
    QWidget *fenster = nullptr;
    QList<bool> knoepfeSichtbar;
    Qt::WindowStates zustand;
    int aussenBreite = 0;
    int innenBreite = 0;

    void bildDrucken(const QImage &bild) override
    {
        if (fenster) {
            for (const char *name : {"Command1", "Command2", "Command3"})
                knoepfeSichtbar
                    << fenster->findChild<QPushButton *>(QLatin1String(name))->isVisible();
            zustand = fenster->windowState();
            aussenBreite = fenster->frameGeometry().width();
            innenBreite = fenster->width();
        }
        FakeDrucker::bildDrucken(bild);
    }
};

int farbpixel(const QImage &bild, QRgb farbe)
{
    int n = 0;
    const QImage b = bild.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < b.height(); ++y) {
        const auto *zeile = reinterpret_cast<const QRgb *>(b.constScanLine(y));
        for (int x = 0; x < b.width(); ++x)
            n += (zeile[x] & 0xffffff) == (farbe & 0xffffff);
    }
    return n;
}

// Rows that hold at least one pixel of the curve colours.
QList<int> kurvenZeilen(const QImage &bild)
{
    QList<int> zeilen;
    const QImage b = bild.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < b.height(); ++y) {
        const auto *zeile = reinterpret_cast<const QRgb *>(b.constScanLine(y));
        for (int x = 0; x < b.width(); ++x) {
            const QRgb c = zeile[x] & 0xffffff;
            if (c == 0x00ff00 || c == 0x800080 || c == 0xff0000) {
                zeilen << y;
                break;
            }
        }
    }
    return zeilen;
}

} // namespace

class TstFrmKabelKurve : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void entwurf();
    void aktivierungSchlaegtLaengeUndKabelVor();
    void ersteAnzeigeAktiviertSofort();
    void rueckkehrAusAnderemFenster_data();
    void rueckkehrAusAnderemFenster();
    void fehlendeDatei();
    void kabelIndexOhneEintrag();
    void getippterVerkuerzungsfaktor();
    void regeln_data();
    void regeln();
    void nurErsteRegelWirdGemeldet();
    void zuGrosseZahl();
    void anzeigenZeichnetKurve();
    void gleicheImpedanzenFlacheLinie();
    void knopfFreigabe();
    void tastenfilter_data();
    void tastenfilter();
    void groessenaenderung();
    void zuNiedrigesFenster();
    void drucken_data();
    void drucken();
    void druckenMitFehlern();
    void druckenAusMaximiert();
    void druckenMisstDieNormaleGroesse();
    void kabellisteZeigtGanzeEintraege();
    void breiteresFensterBehaeltAnordnung();
    void schliessen();

private:
    FrmKabelKurve *neuesFenster(const QString &pfad = QString());
    template <typename T> T *kind(const char *name)
    {
        T *w = m_fenster->findChild<T *>(QLatin1String(name));
        if (!w)
            qFatal("control %s missing", name);
        return w;
    }
    void setzen(const char *name, const QString &text) { kind<QLineEdit>(name)->setText(text); }
    void anzeigenKlicken() { QTest::mouseClick(kind<QPushButton>("Command1"), Qt::LeftButton); }
    QImage bild() { return kind<QWidget>("Picture1")->grab().toImage(); }

    QTemporaryDir m_dir;
    QString m_kabelPfad;
    Programmwerte m_werte;
    FakeOberflaeche m_ui;
    BeobachtenderDrucker m_drucker;
    QPointer<FrmKabelKurve> m_fenster;
};

void TstFrmKabelKurve::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_kabelPfad = m_dir.filePath(QStringLiteral("Kabel.txt"));
    QFile f(m_kabelPfad);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("; Testkabel\r\n0,66 RG-58 d=100/15,1\r\n0,82 RG-8X\r\n0,66 RG-174\r\n"
            "0,80 H-155\r\n0,85 Ecoflex 10 d=100/3,8\r\n0,83 Aircell 7\r\n");
}

void TstFrmKabelKurve::init()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    m_werte = Programmwerte();
    m_ui = FakeOberflaeche();
    m_drucker = BeobachtenderDrucker();
}

void TstFrmKabelKurve::cleanup()
{
    delete m_fenster;
}

FrmKabelKurve *TstFrmKabelKurve::neuesFenster(const QString &pfad)
{
    m_fenster = new FrmKabelKurve(m_werte, m_ui, m_drucker, pfad.isEmpty() ? m_kabelPfad : pfad);
    m_drucker.fenster = m_fenster;
    m_fenster->show();
    if (!QTest::qWaitForWindowActive(m_fenster))
        qWarning("window did not become active");
    return m_fenster;
}

void TstFrmKabelKurve::entwurf()
{
    m_fenster = new FrmKabelKurve(m_werte, m_ui, m_drucker, m_kabelPfad);
    QCOMPARE(m_fenster->objectName(), QStringLiteral("frmKabelKurve"));
    QVERIFY(m_fenster->testAttribute(Qt::WA_DeleteOnClose));
    QVERIFY(m_fenster->isWindow());
    QCOMPARE(m_fenster->windowTitle(), QStringLiteral("Vorhandenes Kabel prüfen: Beispiel"));
    QCOMPARE(kind<QGroupBox>("Frame1")->title(),
             QStringLiteral(" auszuwertender Frequenzbereich "));
    QCOMPARE(kind<QGroupBox>("Frame2")->title(), QStringLiteral("Kabel:"));

    const QList<std::tuple<const char *, QString, QString>> felder = {
        {"Text1", "1,5", "tiefste Frequenz"},
        {"Text2", "30,0", "höchste Frequenz"},
        {"txtEingZ", "72", "\"Antennenseite\""},
        {"txtKabelZ", "50", "Impedanz des Kabels"}};
    for (const auto &[name, text, tipp] : felder) {
        QCOMPARE(kind<QLineEdit>(name)->text(), text);
        QCOMPARE(kind<QLineEdit>(name)->toolTip(), tipp);
    }
    QCOMPARE(kind<QLineEdit>("txtKabelVk")->toolTip(), QStringLiteral("Verkürzungsfaktor"));
    QCOMPARE(kind<QLineEdit>("txtKabelLg")->toolTip(), QStringLiteral("Kabellänge"));
    QVERIFY(kind<QComboBox>("Combo1")->isEditable());
    QCOMPARE(kind<QComboBox>("Combo1")->toolTip(), QStringLiteral("Kabeltyp"));
    QCOMPARE(kind<QComboBox>("Combo1")->count(), 6);

    const QList<std::tuple<const char *, QString, QString>> knoepfe = {
        {"Command1", "&Anzeigen", "Kurven anzeigen"},
        {"Command2", "&Schliessen", "Beenden"},
        {"Command3", "&Drucken", "alles drucken"}};
    for (const auto &[name, text, tipp] : knoepfe) {
        QCOMPARE(kind<QPushButton>(name)->text(), text);
        QCOMPARE(kind<QPushButton>(name)->toolTip(), tipp);
    }
    QVERIFY(kind<QPushButton>("Command1")->isDefault());
    QVERIFY(kind<QPushButton>("Command1")->isEnabled());
    QVERIFY(!kind<QPushButton>("Command3")->isEnabled());

    const QList<std::pair<const char *, QString>> labels = {
        {"Label1", "\u03A9"},     {"Label2", "&bis"}, {"Label3", "&Eing.-Impedanz:"},
        {"Label4", "MHz"},        {"Label5", "&von"}, {"Label6", "&Typ:"},
        {"Label7", "&Impedanz:"}, {"Label8", "V&k:"}, {"Label9", "&Länge:"},
        {"Label11", "\u03A9"},    {"Label12", "m"}};
    for (const auto &[name, text] : labels)
        QCOMPARE(kind<QLabel>(name)->text(), text);
    QCOMPARE(kind<QLabel>("Label3")->buddy(), kind<QWidget>("txtEingZ"));

    // The file was there: the hourglass during loading, no message.
    QVERIFY(m_ui.meldungen.isEmpty());
    QVERIFY(m_ui.sanduhren >= 1);
    QVERIFY(!m_ui.sanduhrAktiv);
    QCOMPARE(int(m_werte.KabelIndex), 4);
}

void TstFrmKabelKurve::aktivierungSchlaegtLaengeUndKabelVor()
{
    neuesFenster();
    QCOMPARE(kind<QComboBox>("Combo1")->currentIndex(), 4);
    QCOMPARE(kind<QLineEdit>("txtKabelVk")->text(), QStringLiteral("0,85"));
    QCOMPARE(kind<QLineEdit>("txtKabelLg")->text(), QStringLiteral("30,000"));

    // Choosing another cable fills the velocity factor and remembers the position.
    kind<QComboBox>("Combo1")->setCurrentIndex(1);
    QCOMPARE(kind<QLineEdit>("txtKabelVk")->text(), QStringLiteral("0,82"));
    QCOMPARE(int(m_werte.KabelIndex), 1);
}

void TstFrmKabelKurve::rueckkehrAusAnderemFenster_data()
{
    QTest::addColumn<bool>("modal");
    QTest::addColumn<QString>("laenge");
    // Another window of the program: activation proposes the length again.
    QTest::newRow("nicht modal") << false << QStringLiteral("12,500");
    // A message box or another modal dialog is no such window.
    QTest::newRow("modal") << true << QStringLiteral("7,7");
}

void TstFrmKabelKurve::ersteAnzeigeAktiviertSofort()
{
    // "Anzeigen" right after opening must already see the proposed length,
    // even before the window system reports the window active.
    m_werte.KabelLaenge = 13.9437F;
    m_fenster = new FrmKabelKurve(m_werte, m_ui, m_drucker, m_kabelPfad);
    m_fenster->show();
    QCOMPARE(kind<QLineEdit>("txtKabelLg")->text(), QStringLiteral("13,9437"));
    // The activation that follows does not run the proposal a second time.
    setzen("txtKabelLg", QStringLiteral("7,7"));
    QVERIFY(QTest::qWaitForWindowActive(m_fenster));
    QCOMPARE(kind<QLineEdit>("txtKabelLg")->text(), QStringLiteral("7,7"));
}

void TstFrmKabelKurve::rueckkehrAusAnderemFenster()
{
    QFETCH(bool, modal);
    QFETCH(QString, laenge);
    neuesFenster();
    setzen("txtKabelLg", QStringLiteral("7,7"));
    m_werte.KabelLaenge = 12.5F;

    QWidget anderes;
    anderes.setWindowModality(modal ? Qt::ApplicationModal : Qt::NonModal);
    anderes.show();
    anderes.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&anderes));
    anderes.close();
    m_fenster->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_fenster));
    QCOMPARE(kind<QLineEdit>("txtKabelLg")->text(), laenge);
}

void TstFrmKabelKurve::fehlendeDatei()
{
    neuesFenster(m_dir.filePath(QStringLiteral("fehlt/Kabel.txt")));
    QCOMPARE(m_ui.meldungen.size(), 1);
    QCOMPARE(m_ui.meldungen[0].text, QStringLiteral("Die Datei Kabel.txt wurde nicht gefunden!"));
    QCOMPARE(m_ui.meldungen[0].titel, QStringLiteral("Problem"));
    auto *combo = kind<QComboBox>("Combo1");
    QCOMPARE(combo->count(), 1);
    QCOMPARE(combo->itemText(0), QStringLiteral("0,667"));
    QCOMPARE(kind<QLineEdit>("txtKabelVk")->text(), QStringLiteral("0,667"));
    // Activation selects the one item at position 0.
    QCOMPARE(int(m_werte.KabelIndex), 0);
    QCOMPARE(combo->currentText(), QStringLiteral("0,667"));
}

void TstFrmKabelKurve::kabelIndexOhneEintrag()
{
    const QString pfad = m_dir.filePath(QStringLiteral("vier.txt"));
    QFile f(pfad);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("0,66 A\r\n0,7 B\r\n0,8 C\r\n0,9 D\r\n");
    f.close();
    m_fenster = new FrmKabelKurve(m_werte, m_ui, m_drucker, pfad);
    QCOMPARE(int(m_werte.KabelIndex), -1);
    QCOMPARE(kind<QComboBox>("Combo1")->currentIndex(), -1);
    QCOMPARE(kind<QComboBox>("Combo1")->currentText(), QString());
    m_fenster->show();
    QVERIFY(QTest::qWaitForWindowActive(m_fenster));
    QCOMPARE(kind<QComboBox>("Combo1")->currentText(), QStringLiteral("0,66"));
    QCOMPARE(kind<QLineEdit>("txtKabelVk")->text(), QStringLiteral("0,66"));
}

void TstFrmKabelKurve::getippterVerkuerzungsfaktor()
{
    neuesFenster();
    auto *combo = kind<QComboBox>("Combo1");
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo, QStringLiteral("0,8"));
    QCOMPARE(combo->currentText(), QStringLiteral("0,8"));
    QCOMPARE(kind<QLineEdit>("txtKabelVk")->text(), QStringLiteral("0,80"));
    QCOMPARE(int(m_werte.KabelIndex), -1);
}

void TstFrmKabelKurve::regeln_data()
{
    QTest::addColumn<QString>("feld");
    QTest::addColumn<QString>("wert");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("titel");
    const QString anzeigen = QStringLiteral(" Anzeigen ");
    const QString unreal =
        "Der eingegebene Wert ist unreal  " + kZE + "und  technisch  kaum  möglich!   ";
    const QString bereich = "Der eingegebene Wert der Eing.-Impedanz liegt " + kZE +
                            "außerhalb  des  darstellbaren  Bereiches!   ";
    QTest::newRow("Text2 1,5") << "Text2"
                               << "1,5"
                               << "Unkorrekte Eingabe! "
                               << " Anzeigen nicht möglich";
    QTest::newRow("Text1 ,") << "Text1"
                             << ","
                             << "Unkorrekte Eingabe! "
                             << " Anzeigen nicht möglich";
    QTest::newRow("txtEingZ 0,05") << "txtEingZ"
                                   << "0,05" << unreal << anzeigen;
    QTest::newRow("txtKabelZ 0,5") << "txtKabelZ"
                                   << "0,5" << unreal << anzeigen;
    QTest::newRow("txtKabelVk 1,01") << "txtKabelVk"
                                     << "1,01" << unreal << anzeigen;
    QTest::newRow("txtEingZ 0,99") << "txtEingZ"
                                   << "0,99" << bereich << anzeigen;
    QTest::newRow("txtEingZ 10001") << "txtEingZ"
                                    << "10001" << bereich << anzeigen;
    QTest::newRow("Text2 1,51") << "Text2"
                                << "1,51"
                                << "Der eingegebene Frequenzbereich ist zu schmal " + kZE +
                                       "(mindestens  15  kHz  sind  nötig)!   "
                                << anzeigen;
    QTest::newRow("txtEingZ 60000 an 300") << "txtEingZ"
                                           << "60000"
                                           << "Der Bereich der Ausgangsimpedanz ist zu groß " +
                                                  kZE + "und  kann  nicht  dargestellt  werden!   "
                                           << anzeigen;
}

void TstFrmKabelKurve::regeln()
{
    QFETCH(QString, feld);
    QFETCH(QString, wert);
    QFETCH(QString, text);
    QFETCH(QString, titel);
    neuesFenster();
    if (wert == QLatin1String("60000"))
        setzen("txtKabelZ", QStringLiteral("300"));
    setzen(qPrintable(feld), wert);
    anzeigenKlicken();
    QCOMPARE(m_ui.meldungen.size(), 1);
    QCOMPARE(m_ui.meldungen[0].text, text);
    QCOMPARE(m_ui.meldungen[0].titel, titel);
    QCOMPARE(m_ui.meldungen[0].symbol, Symbol::Stopp);
    QCOMPARE(m_ui.meldungen[0].knoepfe, Knoepfe::Ok);
    // Nothing was drawn and the fields keep what was typed.
    QVERIFY(!m_fenster->kurveAngezeigt());
    QCOMPARE(kind<QLineEdit>(qPrintable(feld))->text(), wert);
    QVERIFY(!kind<QPushButton>("Command3")->isEnabled());
    QVERIFY(!m_ui.sanduhrAktiv);
}

void TstFrmKabelKurve::nurErsteRegelWirdGemeldet()
{
    neuesFenster();
    setzen("Text1", QStringLiteral("0"));        // rule 1
    setzen("txtKabelVk", QStringLiteral("1,5")); // rule 2
    setzen("txtEingZ", QStringLiteral("0,5"));   // rule 3
    anzeigenKlicken();
    QCOMPARE(m_ui.meldungen.size(), 1);
    QCOMPARE(m_ui.meldungen[0].titel, QStringLiteral(" Anzeigen nicht möglich"));
}

void TstFrmKabelKurve::zuGrosseZahl()
{
    neuesFenster();
    setzen("txtKabelLg", QStringLiteral("1") + QString(40, QLatin1Char('0')));
    anzeigenKlicken();
    QCOMPARE(m_ui.meldungen.size(), 1);
    QCOMPARE(m_ui.meldungen[0].text, QStringLiteral("Unkorrekte Eingabe! "));
    QVERIFY(!m_fenster->kurveAngezeigt());
}

void TstFrmKabelKurve::anzeigenZeichnetKurve()
{
    neuesFenster();
    const QImage leer = bild();
    QCOMPARE(farbpixel(leer, qRgb(0, 0, 0)), 0);
    anzeigenKlicken();
    QVERIFY(m_ui.meldungen.isEmpty());
    QVERIFY(m_fenster->kurveAngezeigt());
    QCOMPARE(m_fenster->windowTitle(), QStringLiteral(" Vorhandenes Kabel prüfen"));
    QVERIFY(!kind<QPushButton>("Command1")->isEnabled());
    QVERIFY(kind<QPushButton>("Command3")->isEnabled());
    QVERIFY(!m_ui.sanduhrAktiv);

    const QImage b = bild();
    QVERIFY(farbpixel(b, qRgb(0, 255, 0)) > 0);
    QVERIFY(farbpixel(b, qRgb(128, 0, 128)) > 0);
    QVERIFY(farbpixel(b, qRgb(255, 0, 0)) > 0);
    QVERIFY(farbpixel(b, qRgb(0, 0, 0)) > 100); // axes, ticks and text
}

void TstFrmKabelKurve::gleicheImpedanzenFlacheLinie()
{
    neuesFenster();
    setzen("txtEingZ", QStringLiteral("50"));
    anzeigenKlicken();
    QVERIFY(m_fenster->kurveAngezeigt());
    const QList<int> zeilen = kurvenZeilen(bild());
    QVERIFY(!zeilen.isEmpty());
    // Points are two pixels wide: one line of at most two pixel rows.
    QVERIFY2(zeilen.last() - zeilen.first() <= 1,
             qPrintable(QStringLiteral("%1..%2").arg(zeilen.first()).arg(zeilen.last())));
}

void TstFrmKabelKurve::knopfFreigabe()
{
    neuesFenster();
    auto *laenge = kind<QLineEdit>("txtKabelLg");
    auto *anzeigen = kind<QPushButton>("Command1");
    laenge->setFocus();
    // Enter presses the default button; its release leaves it disabled.
    QTest::keyClick(laenge, Qt::Key_Return);
    QVERIFY(m_fenster->kurveAngezeigt());
    QVERIFY(!anzeigen->isEnabled());
    QTest::keyClick(laenge, Qt::Key_Enter);
    QVERIFY(!anzeigen->isEnabled());
    QTest::keyClick(laenge, Qt::Key_5);
    QVERIFY(anzeigen->isEnabled());
    QCOMPARE(laenge->text(), QStringLiteral("30,0005"));

    // A cable choice enables it as well.
    anzeigenKlicken();
    QVERIFY(!anzeigen->isEnabled());
    kind<QComboBox>("Combo1")->setCurrentIndex(2);
    QVERIFY(anzeigen->isEnabled());
}

void TstFrmKabelKurve::tastenfilter_data()
{
    QTest::addColumn<QString>("feld");
    for (const char *feld :
         {"Text1", "Text2", "txtEingZ", "txtKabelZ", "txtKabelVk", "txtKabelLg", "Combo1"})
        QTest::newRow(feld) << QString::fromLatin1(feld);
}

void TstFrmKabelKurve::tastenfilter()
{
    QFETCH(QString, feld);
    neuesFenster();
    QWidget *w = kind<QWidget>(qPrintable(feld));
    QLineEdit *zeile = qobject_cast<QLineEdit *>(w);
    if (!zeile)
        zeile = qobject_cast<QComboBox *>(w)->lineEdit();
    zeile->clear();
    w->setFocus();
    QTest::keyClicks(w, QStringLiteral("-a/ Z+"));
    QCOMPARE(zeile->text(), QString());
    QTest::keyClicks(w, QStringLiteral("12,3.4"));
    QCOMPARE(zeile->text(), QStringLiteral("12,3.4"));
    QTest::keyClick(w, Qt::Key_Backspace);
    QCOMPARE(zeile->text(), QStringLiteral("12,3."));
    // Keys that type nothing keep working.
    QTest::keyClick(w, Qt::Key_Home);
    QTest::keyClick(w, Qt::Key_Delete);
    QCOMPARE(zeile->text(), QStringLiteral("2,3."));
    QTest::keyClick(w, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(zeile->text(), QStringLiteral("2,3."));
}

void TstFrmKabelKurve::groessenaenderung()
{
    neuesFenster();
    // Narrower than the design springs back.
    m_fenster->resize(300, m_fenster->height());
    QTRY_VERIFY(m_fenster->width() >= 658);

    anzeigenKlicken();
    QVERIFY(m_fenster->kurveAngezeigt());
    auto *flaeche = kind<QWidget>("Picture1");
    const int hoehe = flaeche->height();

    // A lower window shrinks the surface and redraws the curve into it.
    m_fenster->resize(m_fenster->width(), m_fenster->height() - 100);
    QTRY_COMPARE(flaeche->height(), hoehe - 100);
    QVERIFY(m_ui.meldungen.isEmpty());
    QCOMPARE(qobject_cast<Zeichenflaeche *>(flaeche)->bild().size(), flaeche->size());
    QVERIFY(farbpixel(bild(), qRgb(255, 0, 0)) > 0);

    // Fields that no longer pass: the message on resize, the old drawing stays.
    const QImage vorher = bild();
    setzen("Text1", QStringLiteral("0"));
    m_fenster->resize(m_fenster->width() + 40, m_fenster->height());
    QTRY_COMPARE(m_ui.meldungen.size(), 1);
    QCOMPARE(m_ui.meldungen[0].titel, QStringLiteral(" Anzeigen nicht möglich"));
    QCOMPARE(bild(), vorher);
}

void TstFrmKabelKurve::zuNiedrigesFenster()
{
    neuesFenster();
    anzeigenKlicken();
    auto *flaeche = qobject_cast<Zeichenflaeche *>(kind<QWidget>("Picture1"));
    const QImage vorher = flaeche->bild();
    // Too low for the axes: the resize leaves the drawing silently ...
    m_fenster->resize(m_fenster->width(), 150);
    QTRY_VERIFY(kind<QWidget>("Picture1")->height() < 60);
    QVERIFY(m_ui.meldungen.isEmpty());
    QVERIFY(!kind<QPushButton>("Command1")->isEnabled());
    // ... and "&Anzeigen" says why nothing can be drawn.
    setzen("txtKabelLg", QStringLiteral("31"));
    kind<QPushButton>("Command1")->setEnabled(true);
    anzeigenKlicken();
    QCOMPARE(m_ui.meldungen.size(), 1);
    QCOMPARE(m_ui.meldungen[0].text,
             "Die Zeichenfläche ist zu klein " + kZE + QStringLiteral("für  die  Kurve!   "));
    QCOMPARE(m_ui.meldungen[0].titel, QStringLiteral(" Anzeigen "));
    QVERIFY(!m_ui.sanduhrAktiv);
    QCOMPARE(flaeche->bild(), vorher);
}

void TstFrmKabelKurve::drucken_data()
{
    QTest::addColumn<int>("seiteTwips");
    QTest::addColumn<int>("aussenBreite"); // pixels while printing
    QTest::newRow("Seite 11000 Twips") << 11000 << 733;
    // Never narrower than the design, whatever the page.
    QTest::newRow("Seite 5000 Twips") << 5000 << -1;
}

void TstFrmKabelKurve::drucken()
{
    QFETCH(int, seiteTwips);
    QFETCH(int, aussenBreite);
    neuesFenster();
    anzeigenKlicken();
    const int breite = m_fenster->width();
    m_drucker.breiteTwips = seiteTwips;
    QTest::mouseClick(kind<QPushButton>("Command3"), Qt::LeftButton);

    QVERIFY(m_ui.meldungen.isEmpty());
    QCOMPARE(m_drucker.bilder.size(), 1);
    QCOMPARE(m_drucker.knoepfeSichtbar, QList<bool>({false, false, false}));
    if (aussenBreite > 0)
        QCOMPARE(m_drucker.aussenBreite, aussenBreite);
    else
        QVERIFY(m_drucker.aussenBreite >= 658 && m_drucker.aussenBreite < 700);
    // The client area, frame excluded.
    QCOMPARE(m_drucker.bilder[0].width(), m_drucker.innenBreite);
    // The printed image carries the drawing but not the buttons.
    QVERIFY(farbpixel(m_drucker.bilder[0], qRgb(255, 0, 0)) > 0);

    QTRY_COMPARE(m_fenster->width(), breite);
    for (const char *name : {"Command1", "Command2", "Command3"})
        QVERIFY(kind<QPushButton>(name)->isVisible());
    QVERIFY(kind<QPushButton>("Command3")->isEnabled());
    QCOMPARE(m_fenster->windowTitle(), QStringLiteral(" Vorhandenes Kabel prüfen"));
    QVERIFY(!m_ui.sanduhrAktiv);
}

void TstFrmKabelKurve::druckenMitFehlern()
{
    neuesFenster();
    anzeigenKlicken();
    const int breite = m_fenster->width();
    m_drucker.fehlend =
        QStringList{QStringLiteral("seitenbreiteTwips"), QStringLiteral("bildDrucken")};
    QTest::mouseClick(kind<QPushButton>("Command3"), Qt::LeftButton);

    const QString text = Laufzeitfehler(fehler::Druckerfehler).beschreibung() + kZE +
                         QStringLiteral("Das Formular kann nicht gedruckt werden.");
    QCOMPARE(m_ui.meldungen.size(), 2);
    for (const auto &m : m_ui.meldungen) {
        QCOMPARE(m.text, text);
        QCOMPARE(m.titel, QStringLiteral(" Drucker-Fehler "));
        QCOMPARE(m.symbol, Symbol::Ausrufezeichen);
        QCOMPARE(m.knoepfe, Knoepfe::Ok);
    }
    QVERIFY(m_drucker.bilder.isEmpty());
    QTRY_COMPARE(m_fenster->width(), breite);
    for (const char *name : {"Command1", "Command2", "Command3"})
        QVERIFY(kind<QPushButton>(name)->isVisible());
    QVERIFY(!m_ui.sanduhrAktiv);
}

void TstFrmKabelKurve::druckenAusMaximiert()
{
    neuesFenster();
    anzeigenKlicken();
    m_fenster->showMaximized();
    QTRY_VERIFY(m_fenster->windowState() & Qt::WindowMaximized);
    QTest::mouseClick(kind<QPushButton>("Command3"), Qt::LeftButton);
    QCOMPARE(m_drucker.bilder.size(), 1);
    QVERIFY(!(m_drucker.zustand & Qt::WindowMaximized));
    QTRY_VERIFY(m_fenster->windowState() & Qt::WindowMaximized);
}

void TstFrmKabelKurve::druckenMisstDieNormaleGroesse()
{
    neuesFenster();
    anzeigenKlicken();
    const QSize normal = m_fenster->size();
    m_fenster->showMaximized();
    QTRY_VERIFY(m_fenster->size() != normal);
    QTest::mouseClick(kind<QPushButton>("Command3"), Qt::LeftButton);
    QCOMPARE(m_drucker.bilder.size(), 1);
    // The page shows the normal window, and the normal size survives.
    QCOMPARE(m_drucker.bilder[0].height(), normal.height());
    QTRY_VERIFY(m_fenster->isMaximized());
    m_fenster->showNormal();
    QTRY_COMPARE(m_fenster->size(), normal);
}

void TstFrmKabelKurve::kabellisteZeigtGanzeEintraege()
{
    neuesFenster();
    auto *combo = kind<QComboBox>("Combo1");
    int laengster = 0;
    for (int i = 0; i < combo->count(); ++i)
        laengster =
            std::max(laengster, combo->view()->fontMetrics().horizontalAdvance(combo->itemText(i)));
    QVERIFY(laengster > combo->width());
    combo->showPopup();
    QTRY_VERIFY(combo->view()->isVisible());
    QVERIFY2(combo->view()->viewport()->width() >= laengster,
             qPrintable(
                 QStringLiteral("%1 < %2").arg(combo->view()->viewport()->width()).arg(laengster)));
    combo->hidePopup();
}

void TstFrmKabelKurve::breiteresFensterBehaeltAnordnung()
{
    neuesFenster();
    const auto orte = [this] {
        QList<QRect> r;
        for (const char *name : {"Frame1", "Frame2", "Command1", "txtEingZ", "Picture1"})
            r << kind<QWidget>(name)->geometry();
        return r;
    };
    const QList<QRect> vorher = orte();
    const int breite = m_fenster->width();
    m_fenster->resize(breite + 300, m_fenster->height());
    QTRY_COMPARE(m_fenster->width(), breite + 300);
    QCOMPARE(orte(), vorher);
}

void TstFrmKabelKurve::schliessen()
{
    neuesFenster();
    QTest::mouseClick(kind<QPushButton>("Command2"), Qt::LeftButton);
    QTRY_VERIFY(m_fenster.isNull());
}

QTEST_MAIN(TstFrmKabelKurve)
#include "tst_frmkabelkurve.moc"
