#include "fake_drucker.h"
#include "fake_oberflaeche.h"
#include "frmleitung.h"
#include "leitungsmessung.h"
#include "messdaten.h"
#include "testdatei.h"
#include "werte.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

using namespace varo;

// The line analysis window with a measured file as its load, the Smith
// chart and the matching networks, and how it behaves as a dialog.
class TstLeitungsmessfenster : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup() { delete m_fenster; }
    void dateiSetztBereichUndFrequenzen_data();
    void dateiSetztBereichUndFrequenzen();
    void abgelehnteDateiAendertNichts();
    void senderMessungGibtDateiZurueck();
    void anpassnetzeAmZeiger_data();
    void anpassnetzeAmZeiger();
    void aenderungMachtVeraltet_data();
    void aenderungMachtVeraltet();
    void tastenUndFokus();
    void escSchliesst_data();
    void escSchliesst();

private:
    template <typename T = QLineEdit> T *kind(const char *name) const
    {
        return m_fenster->findChild<T *>(QLatin1String(name));
    }
    static QString fixture(const QString &name)
    {
        return QStringLiteral(VARO_TESTDATEN "/messung/") + name;
    }

    QTemporaryDir m_dir;
    Programmwerte m_werte;
    FakeOberflaeche m_ui;
    FakeDrucker m_drucker;
    QPointer<FrmLeitung> m_fenster;
};

void TstLeitungsmessfenster::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(testdateiSchreiben(m_dir.filePath(QStringLiteral("Kabel.txt")),
                               "0,66 RG-213 d=100/6,8;10/2,0;400/14,5\n"
                               "0,66 RG-58 d=10/4,6;100/15,7\n"));
    QVERIFY(testdateiSchreiben(m_dir.filePath(QStringLiteral("Baender.txt")), "40m 7,0 7,2\n"));
}

void TstLeitungsmessfenster::init()
{
    m_ui = FakeOberflaeche();
    m_drucker = FakeDrucker();
    m_werte.KabelIndex = 0;
    m_werte.KabelLaenge = 13.94366F;
    m_fenster = new FrmLeitung(m_werte, m_ui, m_drucker, m_dir.filePath("Kabel.txt"),
                               m_dir.filePath("Baender.txt"));
    m_fenster->show();
}

void TstLeitungsmessfenster::dateiSetztBereichUndFrequenzen_data()
{
    QTest::addColumn<QString>("datei");
    QTest::addColumn<QString>("von");
    QTest::addColumn<QString>("bis");
    QTest::addColumn<int>("luecken");
    QTest::newRow("Dipol, MHz") << "dipol_40m.s1p"
                                << "6.9"
                                << "7.3" << 0;
    QTest::newRow("Hz, CR LF") << "v1_ri_hz_crlf.s1p"
                               << "0.5"
                               << "2" << 0;
    QTest::newRow("NanoVNA-CSV mit Lücke") << "nanovna_s11.csv"
                                           << "1"
                                           << "3" << 1;
}

void TstLeitungsmessfenster::dateiSetztBereichUndFrequenzen()
{
    QFETCH(QString, datei);
    QFETCH(QString, von);
    QFETCH(QString, bis);
    QFETCH(int, luecken);
    QVERIFY(m_fenster->messdateiLaden(fixture(datei)));
    QCOMPARE(kind("txtVon")->text(), von);
    QCOMPARE(kind("txtBis")->text(), bis);
    QVERIFY(kind<QRadioButton>("optMessdatei")->isChecked());
    QVERIFY(m_fenster->anzeigen());
    QVERIFY(m_ui.meldungen.isEmpty());

    // Computed at the file's own frequencies, every one of them.
    const Messlesung lesung = messdatenLesen(fixture(datei));
    const Leitungsergebnis &e = m_fenster->ergebnis();
    QCOMPARE(e.punkte.size(), lesung.daten.punkte.size());
    for (qsizetype i = 0; i < e.punkte.size(); ++i)
        QCOMPARE(e.punkte.at(i).fMHz, lesung.daten.punkte.at(i).fHz / 1e6);
    QCOMPARE(e.diagramm.werte.size(), e.punkte.size() - luecken);
    QCOMPARE(e.smith.sender.size(), e.punkte.size());
    // The summary counts the gaps; the readout of a gap says so.
    const QString zusammenfassung = kind<QLabel>("lblZusammenfassung")->text();
    QCOMPARE(zusammenfassung.contains(QStringLiteral("Lücken")), luecken > 0);
    QCOMPARE(zusammenfassung.count(QStringLiteral("SWR am Sender")), 1);
    QVERIFY(!e.diagramm.mitZusammenfassung);
    if (luecken > 0) {
        QCOMPARE(e.diagramm.werte.constLast().fMHz, 2.0);
        QCOMPARE(kind<QComboBox>("cboMessdatei")->currentText(), datei);
    }
}

void TstLeitungsmessfenster::abgelehnteDateiAendertNichts()
{
    QVERIFY(m_fenster->messdateiLaden(fixture(QStringLiteral("dipol_40m.s1p"))));
    kind("txtVon")->setText(QStringLiteral("7"));
    const int dateien = kind<QComboBox>("cboMessdatei")->count();
    for (const char *name : {"zweitor.s1p", "fallend.s1p", "gibt-es-nicht.s1p"}) {
        m_ui.meldungen.clear();
        QVERIFY(!m_fenster->messdateiLaden(fixture(QLatin1String(name))));
        QCOMPARE(m_ui.meldungen.size(), 1);
        QVERIFY2(m_ui.meldungen.at(0).text.contains(QLatin1String(name)),
                 qPrintable(m_ui.meldungen.at(0).text));
        QCOMPARE(kind("txtVon")->text(), QStringLiteral("7"));
        QCOMPARE(kind<QComboBox>("cboMessdatei")->count(), dateien);
        QCOMPARE(kind<QComboBox>("cboMessdatei")->currentText(), QStringLiteral("dipol_40m.s1p"));
    }
}

void TstLeitungsmessfenster::senderMessungGibtDateiZurueck()
{
    const QString original = fixture(QStringLiteral("dipol_40m.s1p"));
    QVERIFY(m_fenster->messdateiLaden(original));
    QVERIFY(m_fenster->anzeigen());
    const QString amSender = m_dir.filePath(QStringLiteral("am_sender.s1p"));
    QVERIFY(m_fenster->exportieren(amSender));

    // Measured in the shack through the same cable: back to the feedpoint.
    QVERIFY(m_fenster->messdateiLaden(amSender));
    kind<QComboBox>("cboMessort")->setCurrentIndex(1);
    QVERIFY(m_fenster->anzeigen());
    const Messlesung lesung = messdatenLesen(original);
    const Leitungsergebnis &e = m_fenster->ergebnis();
    QCOMPARE(e.punkte.size(), lesung.daten.punkte.size());
    for (qsizetype i = 0; i < e.punkte.size(); ++i) {
        const Komplex soll = *lesung.daten.punkte.at(i).Z;
        QVERIFY(e.punkte.at(i).zAntenne);
        QVERIFY2(std::abs(*e.punkte.at(i).zAntenne - soll) <= 1e-9 * std::abs(soll),
                 qPrintable(QString::number(e.punkte.at(i).fMHz)));
    }
    // Its export is the feedpoint again, read as any file.
    const QString zurueck = m_dir.filePath(QStringLiteral("zurueck.s1p"));
    QVERIFY(m_fenster->exportieren(zurueck));
    const Messlesung wieder = messdatenLesen(zurueck);
    QVERIFY(wieder.gelesen());
    QCOMPARE(wieder.daten.punkte.size(), lesung.daten.punkte.size());
}

void TstLeitungsmessfenster::anpassnetzeAmZeiger_data()
{
    QTest::addColumn<QString>("r");
    QTest::addColumn<QString>("x");
    QTest::addColumn<int>("amKabel");
    QTest::addColumn<int>("amSender");
    QTest::newRow("angepasst") << "50"
                               << "0" << 0 << 0;
    QTest::newRow("R unter 50") << "25"
                                << "0" << 0 << 2;
    QTest::newRow("R über 50") << "100"
                               << "0" << 2 << 0;
    QTest::newRow("beide") << "30"
                           << "40" << 2 << 2;
    QTest::newRow("hochohmig induktiv") << "600"
                                        << "300" << 2 << 0;
}

void TstLeitungsmessfenster::anpassnetzeAmZeiger()
{
    QFETCH(QString, r);
    QFETCH(QString, x);
    QFETCH(int, amKabel);
    QFETCH(int, amSender);
    // A short lossless line: the rig sees the load itself.
    kind<QCheckBox>("chkVerluste")->setChecked(false);
    kind("txtLaenge")->setText(QStringLiteral("0,001"));
    kind("txtLastR")->setText(r);
    kind("txtLastX")->setText(x);
    QVERIFY(m_fenster->anzeigen());
    const auto *tabelle = kind<QTableWidget>("tblAnpassung");
    QCOMPARE(tabelle->rowCount(), amKabel + amSender);
    for (int zeile = 0; zeile < tabelle->rowCount(); ++zeile) {
        QCOMPARE(tabelle->item(zeile, 0)->text(), zeile < amKabel
                                                      ? QStringLiteral("Quer am Kabel")
                                                      : QStringLiteral("Quer am Sender"));
        const QString bauteile = tabelle->item(zeile, 3)->text() + tabelle->item(zeile, 4)->text();
        QVERIFY2(bauteile.contains(QStringLiteral("µH")) || bauteile.contains(QStringLiteral("pF")),
                 qPrintable(bauteile));
    }
    QCOMPARE(kind<QLabel>("lblAnpassung")->text().contains(QStringLiteral("keine nötig")),
             amKabel + amSender == 0);
    QVERIFY(kind<QLabel>("lblZusammenfassung")->text().contains(QStringLiteral("Anpassung bei")));
}

void TstLeitungsmessfenster::aenderungMachtVeraltet_data()
{
    QTest::addColumn<QString>("was");
    QTest::newRow("Kabel") << "cboKabel";
    QTest::newRow("Länge") << "txtLaenge";
    QTest::newRow("Last") << "txtLastR";
    QTest::newRow("Verluste") << "chkVerluste";
    QTest::newRow("Messdatei") << "datei";
}

void TstLeitungsmessfenster::aenderungMachtVeraltet()
{
    QFETCH(QString, was);
    QVERIFY(m_fenster->anzeigen());
    auto *exportieren = kind<QPushButton>("cmdExportieren");
    auto *drucken = kind<QPushButton>("cmdDrucken");
    QVERIFY(exportieren->isEnabled() && drucken->isEnabled());
    QVERIFY(!m_fenster->veraltet());

    if (was == QLatin1String("cboKabel"))
        kind<QComboBox>("cboKabel")->setCurrentIndex(1);
    else if (was == QLatin1String("chkVerluste"))
        kind<QCheckBox>("chkVerluste")->setChecked(false);
    else if (was == QLatin1String("datei"))
        QVERIFY(m_fenster->messdateiLaden(fixture(QStringLiteral("dipol_40m.s1p"))));
    else
        QTest::keyClicks(kind(qPrintable(was)), QStringLiteral("1"));
    QVERIFY(m_fenster->veraltet());
    QVERIFY(!exportieren->isEnabled());
    QVERIFY(!drucken->isEnabled());
    QVERIFY(m_fenster->diagramm().ueberschrift.contains(QStringLiteral("veraltet")));
    const QString datei = m_dir.filePath(QStringLiteral("alt.csv"));
    QVERIFY(!m_fenster->exportieren(datei));
    QVERIFY(!QFile::exists(datei));

    QVERIFY(m_fenster->anzeigen());
    QVERIFY(!m_fenster->veraltet());
    QVERIFY(exportieren->isEnabled());
    QVERIFY(!m_fenster->diagramm().ueberschrift.contains(QStringLiteral("veraltet")));
}

void TstLeitungsmessfenster::tastenUndFokus()
{
    // The length from the input dialog as that dialog shows it.
    QCOMPARE(kind("txtLaenge")->text(), QStringLiteral("14"));
    QCOMPARE(kind<QPushButton>("cmdSchliessen")->text(), QStringLiteral("&Schließen"));
    QCOMPARE(m_fenster->focusWidget(), kind("txtVon"));
    // Tab goes down the left column from "bis" through the cable, then to the load.
    QWidget *w = kind("txtBis");
    QStringList reihe;
    for (int i = 0; i < 8; ++i) {
        do
            w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus) || !w->isEnabled());
        reihe << w->objectName();
    }
    QCOMPARE(reihe, QStringList({"cboKabel", "txtKabelZ", "txtVk", "txtDaempfung", "txtLaenge",
                                 "optLastRX", "txtLastR", "txtLastX"}));

    // Enter in a field or a list computes; on a button it presses that one.
    QTest::keyClick(kind("txtLaenge"), Qt::Key_Return);
    QCOMPARE(m_fenster->diagramm().werte.size(), 401);
    kind("txtLaenge")->setText(QStringLiteral("20"));
    QTest::keyClick(kind<QComboBox>("cboKabel"), Qt::Key_Return);
    QVERIFY(!m_fenster->veraltet());
    auto *schliessen = kind<QPushButton>("cmdSchliessen");
    schliessen->setFocus();
    QTest::keyClick(schliessen, Qt::Key_Enter);
    QVERIFY(!m_fenster || !m_fenster->isVisible());
}

void TstLeitungsmessfenster::escSchliesst_data()
{
    QTest::addColumn<QString>("fokus");
    QTest::newRow("Feld") << "txtVon";
    QTest::newRow("Liste") << "cboKabel";
    QTest::newRow("Knopf") << "cmdAnzeigen";
}

void TstLeitungsmessfenster::escSchliesst()
{
    QFETCH(QString, fokus);
    auto *ziel = kind<QWidget>(qPrintable(fokus));
    ziel->setFocus();
    QTest::keyClick(ziel, Qt::Key_Escape);
    QVERIFY(!m_fenster || !m_fenster->isVisible());
    QVERIFY(m_ui.meldungen.isEmpty());
}

QTEST_MAIN(TstLeitungsmessfenster)
#include "tst_leitungsmessfenster.moc"
