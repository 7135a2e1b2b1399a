// The line analysis reads its cables through the guarded reader: a pipe in
// the table's place never blocks it, and the own table's rows follow.

#include "fake_drucker.h"
#include "fake_oberflaeche.h"
#include "frmleitung.h"
#include "werte.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using namespace varo;

class TstLeitungKabelliste : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void tabellen_data();
    void tabellen();

private:
    QTemporaryDir m_dir;
};

void TstLeitungKabelliste::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QFile kabel(m_dir.filePath(QStringLiteral("Kabel.txt")));
    QVERIFY(kabel.open(QIODevice::WriteOnly));
    kabel.write("0,66 RG-213 d=10/1,8;100/6,2;400/13,5\n");
    kabel.close();
    QFile eigen(m_dir.filePath(QStringLiteral("eigen.txt")));
    QVERIFY(eigen.open(QIODevice::WriteOnly));
    eigen.write("0,8 Mein Kabel d=10/1;100/3,5\n0,7 Fallend d=10/3;100/1\n");
    eigen.close();
    QCOMPARE(::mkfifo(QFile::encodeName(m_dir.filePath(QStringLiteral("pipe"))).constData(), 0600),
             0);
}

void TstLeitungKabelliste::tabellen_data()
{
    QTest::addColumn<QString>("mitgeliefert");
    QTest::addColumn<QString>("eigen");
    QTest::addColumn<int>("anzahl");
    QTest::addColumn<QString>("hinweis"); // part of the label's text
    QTest::newRow("Pipe statt Tabelle") << "pipe"
                                        << "" << 0 << "Die Kabeltabelle fehlt";
    QTest::newRow("Pipe als eigene") << "Kabel.txt"
                                     << "pipe" << 1 << "kann nicht gelesen werden";
    QTest::newRow("eigene danach") << "Kabel.txt"
                                   << "eigen.txt" << 2 << "Zeile 2 (Fallend)";
}

void TstLeitungKabelliste::tabellen()
{
    QFETCH(QString, mitgeliefert);
    QFETCH(QString, eigen);
    QFETCH(int, anzahl);
    QFETCH(QString, hinweis);
    Programmwerte werte;
    FakeOberflaeche ui;
    FakeDrucker drucker;
    FrmLeitung fenster(
        werte, ui, drucker,
        {m_dir.filePath(mitgeliefert), eigen.isEmpty() ? QString() : m_dir.filePath(eigen)},
        m_dir.filePath(QStringLiteral("Baender.txt")));
    auto *kabel = fenster.findChild<QComboBox *>(QStringLiteral("cboKabel"));
    QVERIFY(kabel);
    QCOMPARE(kabel->count(), anzahl);
    if (anzahl > 0)
        QVERIFY(kabel->itemText(0).contains(QStringLiteral(" RG-213 ")));
    if (anzahl > 1)
        QVERIFY(kabel->itemText(1).contains(QStringLiteral(" Mein Kabel ")));
    const QString text = fenster.findChild<QLabel *>(QStringLiteral("lblKabelHinweis"))->text();
    QVERIFY2(text.contains(hinweis), qPrintable(text));
}

QTEST_MAIN(TstLeitungKabelliste)
#include "tst_leitung_kabelliste.moc"
