#include "fake_drucker.h"
#include "fake_oberflaeche.h"
#include "frmleitung.h"
#include "testdatei.h"
#include "werte.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QtTest>

using namespace varo;

class TstFrmLeitung : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup() { delete m_fenster; }
    void kabelUndBandFuellenFelder();
    void schlechteEingabe_data();
    void schlechteEingabe();
    void anzeigenExportierenDrucken();

private:
    template <typename T = QLineEdit> T *kind(const char *name) const
    {
        return m_fenster->findChild<T *>(QLatin1String(name));
    }
    void waehlen(const char *name, int index) const
    {
        kind<QComboBox>(name)->setCurrentIndex(index);
        emit kind<QComboBox>(name)->activated(index);
    }

    QTemporaryDir m_dir;
    Programmwerte m_werte;
    FakeOberflaeche m_ui;
    FakeDrucker m_drucker;
    QPointer<FrmLeitung> m_fenster;
};

void TstFrmLeitung::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(testdateiSchreiben(m_dir.filePath(QStringLiteral("Kabel.txt")),
                               "0,66 RG-213 d=100/6,8;10/2,0;400/14,5\n"
                               "0,81 Fernsehkabel d=270/10,6;55/4,9;400/13,1 Z=75\n"
                               "0,66 Fallend d=100/6,8;400/5\n"));
    QVERIFY(testdateiSchreiben(m_dir.filePath(QStringLiteral("Baender.txt")),
                               "80m 3,5 3,8\n40m 7,0 7,2\n"));
}

void TstFrmLeitung::init()
{
    m_ui = FakeOberflaeche();
    m_drucker = FakeDrucker();
    m_werte.KabelIndex = 0;
    m_werte.KabelLaenge = 14.0F;
    m_fenster = new FrmLeitung(m_werte, m_ui, m_drucker, m_dir.filePath("Kabel.txt"),
                               m_dir.filePath("Baender.txt"));
    m_fenster->show();
}

void TstFrmLeitung::kabelUndBandFuellenFelder()
{
    QCOMPARE(m_fenster->windowTitle(), QStringLiteral("Leitungsanalyse"));
    QCOMPARE(kind("txtLaenge")->text(), QStringLiteral("14"));
    QCOMPARE(kind("txtVk")->text(), QStringLiteral("0.66"));
    QCOMPARE(kind("txtDaempfung")->text(), QStringLiteral("100/6.8;10/2;400/14.5"));
    waehlen("cboKabel", 1);
    QCOMPARE(kind("txtKabelZ")->text(), QStringLiteral("75"));
    QCOMPARE(kind("txtVk")->text(), QStringLiteral("0.81"));
    // The table's own check speaks up when a row is chosen.
    waehlen("cboKabel", 2);
    const QString hinweis = kind<QLabel>("lblKabelHinweis")->text();
    QVERIFY2(hinweis.startsWith(QStringLiteral("Die Dämpfung fällt")), qPrintable(hinweis));

    QCOMPARE(kind<QComboBox>("cboBand")->count(), 3);
    waehlen("cboBand", 1);
    QCOMPARE(kind("txtVon")->text(), QStringLiteral("3.5"));
    QCOMPARE(kind("txtBis")->text(), QStringLiteral("3.8"));
}

void TstFrmLeitung::schlechteEingabe_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("meldung");
    QTest::newRow("R 0") << "txtLastR"
                         << "0"
                         << "Der Wirkanteil R der Antenne";
    QTest::newRow("R leer") << "txtLastR"
                            << ""
                            << "Im Feld „R“ steht keine Zahl.";
    QTest::newRow("X mit j") << "txtLastX"
                             << "j20"
                             << "Im Feld „X“ steht keine Zahl.";
    QTest::newRow("bis unter von") << "txtBis"
                                   << "6"
                                   << "Der Frequenzbereich ist ungültig";
    QTest::newRow("Länge 0") << "txtLaenge"
                             << "0"
                             << "Die Kabellänge";
    QTest::newRow("Impedanz negativ") << "txtKabelZ"
                                      << "-50"
                                      << "Die Impedanz des Kabels";
    QTest::newRow("Vk über 1") << "txtVk"
                               << "1,5"
                               << "Der Verkürzungsfaktor";
    QTest::newRow("Dämpfung fällt") << "txtDaempfung"
                                    << "10/3;100/2"
                                    << "Die Dämpfungsangaben sind unbrauchbar";
    QTest::newRow("Dämpfung unlesbar") << "txtDaempfung"
                                       << "10-3"
                                       << "Im Dämpfungsfeld";
}

void TstFrmLeitung::schlechteEingabe()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, meldung);
    kind(qPrintable(name))->setText(text);
    QVERIFY(!m_fenster->anzeigen());
    QCOMPARE(m_ui.meldungen.size(), 1);
    QVERIFY2(m_ui.meldungen.at(0).text.startsWith(meldung), qPrintable(m_ui.meldungen.at(0).text));
    QCOMPARE(m_ui.meldungen.at(0).titel, QStringLiteral("Leitungsanalyse"));
    // Nothing drawn, nothing lost.
    QVERIFY(m_fenster->diagramm().werte.isEmpty());
    QCOMPARE(kind(qPrintable(name))->text(), text);
    QVERIFY(!kind<QWidget>("cmdExportieren")->isEnabled());
}

void TstFrmLeitung::anzeigenExportierenDrucken()
{
    kind("txtLastR")->setText(QStringLiteral("600"));
    QVERIFY(m_fenster->anzeigen());
    QVERIFY(m_ui.meldungen.isEmpty());
    const QList<Leitungswerte> &werte = m_fenster->diagramm().werte;
    QCOMPARE(werte.size(), 401);
    QVERIFY(werte.at(200).verlustGesamt > 1.0);
    QVERIFY(kind<QLabel>("lblZusammenfassung")->text().startsWith("SWR am Sender"));
    QVERIFY(!m_fenster->exportieren(m_dir.filePath(QStringLiteral("fenster.doc"))));
    QCOMPARE(m_ui.meldungen.size(), 1);

    QMetaObject::invokeMethod(m_fenster, "drucken");
    QCOMPARE(m_drucker.bilder.size(), 1);
    m_drucker.fehlend << QStringLiteral("bildDrucken");
    QMetaObject::invokeMethod(m_fenster, "drucken");
    QCOMPARE(m_ui.meldungen.size(), 2);
    QCOMPARE(m_ui.meldungen.at(1).titel, QStringLiteral(" Drucker-Fehler "));
}

QTEST_MAIN(TstFrmLeitung)
#include "tst_frmleitung.moc"
