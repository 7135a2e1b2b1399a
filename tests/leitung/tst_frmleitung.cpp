#include "fake_drucker.h"
#include "fake_oberflaeche.h"
#include "frmleitung.h"
#include "werte.h"

#include <QCheckBox>
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
    void cleanup();
    void kabelUndBandFuellenFelder();
    void schlechteEingabe_data();
    void schlechteEingabe();
    void anzeigenExportierenDrucken();

private:
    QLineEdit *feld(const char *name) const
    {
        return m_fenster->findChild<QLineEdit *>(QLatin1String(name));
    }
    QComboBox *combo(const char *name) const
    {
        return m_fenster->findChild<QComboBox *>(QLatin1String(name));
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
    QFile kabel(m_dir.filePath(QStringLiteral("Kabel.txt")));
    QVERIFY(kabel.open(QIODevice::WriteOnly));
    kabel.write("0,66 RG-213 d=100/6,8;10/2,0;400/14,5\n"
                "0,81 Fernsehkabel d=270/10,6;55/4,9;400/13,1 Z=75\n"
                "0,91 Hühnerleiter\n"
                "0,66 Fallend d=100/6,8;400/5\n");
    QFile baender(m_dir.filePath(QStringLiteral("Baender.txt")));
    QVERIFY(baender.open(QIODevice::WriteOnly));
    baender.write("80m 3,5 3,8\n40m 7,0 7,2\n");
}

void TstFrmLeitung::init()
{
    m_ui = FakeOberflaeche();
    m_drucker = FakeDrucker();
    m_werte = Programmwerte();
    m_werte.KabelIndex = 0;
    m_werte.KabelLaenge = 14.0F;
    m_fenster = new FrmLeitung(m_werte, m_ui, m_drucker, m_dir.filePath("Kabel.txt"),
                               m_dir.filePath("Baender.txt"));
    m_fenster->show();
}

void TstFrmLeitung::cleanup()
{
    delete m_fenster;
}

void TstFrmLeitung::kabelUndBandFuellenFelder()
{
    QCOMPARE(m_fenster->windowTitle(), QStringLiteral("Leitungsanalyse"));
    QCOMPARE(feld("txtLaenge")->text(), QStringLiteral("14"));
    QCOMPARE(feld("txtVk")->text(), QStringLiteral("0.66"));
    QCOMPARE(feld("txtDaempfung")->text(), QStringLiteral("100/6.8;10/2;400/14.5"));

    QComboBox *kabel = combo("cboKabel");
    QCOMPARE(kabel->count(), 4);
    kabel->setCurrentIndex(1);
    emit kabel->activated(1);
    QCOMPARE(feld("txtKabelZ")->text(), QStringLiteral("75"));
    QCOMPARE(feld("txtVk")->text(), QStringLiteral("0.81"));

    // The table's own check speaks up when a row is chosen.
    kabel->setCurrentIndex(3);
    emit kabel->activated(3);
    QVERIFY2(
        m_fenster->findChild<QLabel *>("lblKabelHinweis")->text().startsWith("Die Dämpfung fällt"),
        qPrintable(m_fenster->findChild<QLabel *>("lblKabelHinweis")->text()));

    QComboBox *band = combo("cboBand");
    QCOMPARE(band->count(), 3);
    band->setCurrentIndex(1);
    emit band->activated(1);
    QCOMPARE(feld("txtVon")->text(), QStringLiteral("3.5"));
    QCOMPARE(feld("txtBis")->text(), QStringLiteral("3.8"));
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
    feld(qPrintable(name))->setText(text);
    QVERIFY(!m_fenster->anzeigen());
    QCOMPARE(m_ui.meldungen.size(), 1);
    QVERIFY2(m_ui.meldungen.at(0).text.startsWith(meldung), qPrintable(m_ui.meldungen.at(0).text));
    QCOMPARE(m_ui.meldungen.at(0).titel, QStringLiteral("Leitungsanalyse"));
    // Nothing drawn, nothing lost.
    QVERIFY(m_fenster->diagramm().werte.isEmpty());
    QCOMPARE(feld(qPrintable(name))->text(), text);
    QVERIFY(!m_fenster->findChild<QWidget *>("cmdExportieren")->isEnabled());
}

void TstFrmLeitung::anzeigenExportierenDrucken()
{
    feld("txtLastR")->setText(QStringLiteral("600"));
    QVERIFY(m_fenster->anzeigen());
    QVERIFY(m_ui.meldungen.isEmpty());
    const QList<Leitungswerte> &werte = m_fenster->diagramm().werte;
    QCOMPARE(werte.size(), 401);
    QCOMPARE(werte.first().fMHz, 7.0);
    QCOMPARE(werte.last().fMHz, 7.2);
    QVERIFY(m_fenster->diagramm().mitVerlust);
    QVERIFY(
        m_fenster->findChild<QLabel *>("lblZusammenfassung")->text().startsWith("SWR am Sender"));

    // Switched off, the loss is gone from the values.
    m_fenster->findChild<QCheckBox *>("chkVerluste")->setChecked(false);
    QVERIFY(m_fenster->anzeigen());
    QCOMPARE(m_fenster->diagramm().werte.at(200).verlustGesamt, 0.0);

    const QString csv = m_dir.filePath(QStringLiteral("fenster.csv"));
    QVERIFY(m_fenster->exportieren(csv));
    QFile datei(csv);
    QVERIFY(datei.open(QIODevice::ReadOnly));
    QCOMPARE(datei.readAll().count('\n'), 402);
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
