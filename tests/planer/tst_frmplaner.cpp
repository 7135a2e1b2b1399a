#include "frmplaner.h"
#include "planflaeche.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace varo;

class TstFrmPlaner : public QObject
{
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void cleanup() { QLocale::setDefault(QLocale::system()); }

    void beispielwertUndBericht();
    void eingabefehler_data();
    void eingabefehler();
    void exportieren_data();
    void exportieren();
    void mausZeigtUndZiehtBereich();

private:
    std::unique_ptr<FrmPlaner> fenster(FrmPlaner::Berichten berichten = {})
    {
        auto f = std::make_unique<FrmPlaner>(std::move(berichten),
                                             QStringLiteral(VARO_BINDIR "/Baender.txt"),
                                             QStringLiteral(VARO_TESTDATEN "/cli/Kabel.txt"));
        f->setAttribute(Qt::WA_DeleteOnClose, false);
        return f;
    }
};

void TstFrmPlaner::beispielwertUndBericht()
{
    Planung gesendet;
    QString kabel;
    auto f = fenster([&](const Planung &p, const QString &k) {
        gesendet = p;
        kabel = k;
    });
    f->findChild<QDoubleSpinBox *>(QStringLiteral("txtSchritt"))->setValue(0.001);
    QCOMPARE(f->planung().anfrage.baender.size(), 5); // 80, 40, 20, 15 and 10 m ticked
    QCOMPARE(f->findChild<QLabel *>(QStringLiteral("lblBeste"))->text(),
             QStringLiteral("Beste Länge: 27,452 m mit 47,56° Abstand"));
    auto *frei = f->findChild<QTreeWidget *>(QStringLiteral("lstFrei"));
    QCOMPARE(frei->topLevelItemCount(), int(f->planung().frei.size()));
    QVERIFY(!frei->findItems(QStringLiteral("27,452 m"), Qt::MatchExactly, 2).isEmpty());

    f->findChild<QPushButton *>(QStringLiteral("cmdBericht"))->click();
    QCOMPARE(gesendet.bester, f->planung().bester);
    QCOMPARE(kabel, QStringLiteral("RG-58 (Test)"));
}

void TstFrmPlaner::eingabefehler_data()
{
    QTest::addColumn<QString>("feld");
    QTest::addColumn<QString>("wert");
    QTest::newRow("von above bis") << "txtVon"
                                   << "50";
    QTest::newRow("own range reversed") << "txtBereiche"
                                        << "14,35-14";
    QTest::newRow("unknown band") << "txtBereiche"
                                  << "11m";
    QTest::newRow("Vk above 1") << "cboKabel"
                                << "1,5";
    QTest::newRow("Vk no number") << "cboKabel"
                                  << "Draht";
    QTest::newRow("no band") << "lstBaender"
                             << "";
}

void TstFrmPlaner::eingabefehler()
{
    QFETCH(QString, feld);
    QFETCH(QString, wert);
    auto f = fenster();
    const qint64 vorher = f->planung().bester;
    QVERIFY(vorher >= 0);
    if (auto *zahl = f->findChild<QDoubleSpinBox *>(feld))
        zahl->setValue(wert.toDouble());
    else if (auto *text = f->findChild<QLineEdit *>(feld))
        text->setText(wert);
    else if (auto *kabel = f->findChild<QComboBox *>(feld))
        kabel->setEditText(wert);
    else if (auto *liste = f->findChild<QListWidget *>(feld))
        for (int i = 0; i < liste->count(); ++i)
            liste->item(i)->setCheckState(Qt::Unchecked);
    QVERIFY(!f->meldung().isEmpty());
    QCOMPARE(f->findChild<QLabel *>(QStringLiteral("lblMeldung"))->text(), f->meldung());
    QCOMPARE(f->findChild<QTreeWidget *>(QStringLiteral("lstFrei"))->topLevelItemCount(), 0);
    QVERIFY(!f->findChild<QPushButton *>(QStringLiteral("cmdBericht"))->isEnabled());
    QString grund;
    QTemporaryDir ordner;
    QVERIFY(!f->exportieren(ordner.filePath(QStringLiteral("x.png")), grund));
    QVERIFY(!QFile::exists(ordner.filePath(QStringLiteral("x.png"))));
}

void TstFrmPlaner::exportieren_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("anfang"); // empty: refused
    QTest::newRow("png") << "plan.png" << QByteArray("\x89PNG");
    QTest::newRow("svg") << "plan.svg" << QByteArray("<?xml");
    QTest::newRow("pdf") << "plan.pdf" << QByteArray("%PDF");
    QTest::newRow("unknown ending") << "plan.bmp" << QByteArray();
}

void TstFrmPlaner::exportieren()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, anfang);
    auto f = fenster();
    f->resize(900, 600);
    QTemporaryDir ordner;
    const QString pfad = ordner.filePath(name);
    QFile alt(pfad);
    QVERIFY(alt.open(QIODevice::WriteOnly) && alt.write("alt") == 3);
    alt.close();
    QString grund;
    QCOMPARE(f->exportieren(pfad, grund), !anfang.isEmpty());
    QFile datei(pfad);
    QVERIFY(datei.open(QIODevice::ReadOnly));
    // A refused export leaves the old file as it was.
    QCOMPARE(datei.readAll().left(anfang.isEmpty() ? 3 : anfang.size()),
             anfang.isEmpty() ? QByteArray("alt") : anfang);
    QCOMPARE(grund.isEmpty(), !anfang.isEmpty());
}

void TstFrmPlaner::mausZeigtUndZiehtBereich()
{
    auto f = fenster();
    f->resize(900, 600);
    f->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.get()));
    auto *flaeche = f->findChild<Planflaeche *>(QStringLiteral("picPlan"));
    const QPoint mitte = flaeche->rect().center();
    QTest::mouseMove(flaeche, mitte);
    QTRY_VERIFY(flaeche->markiert() >= 0);
    const QString anzeige = f->findChild<QLabel *>(QStringLiteral("lblAnzeige"))->text();
    QVERIFY2(anzeige.startsWith(QStringLiteral("Länge ")) && anzeige.contains(QStringLiteral("°")),
             qPrintable(anzeige));

    // Dragging over the middle half plans just that stretch.
    const int y = mitte.y();
    QTest::mousePress(flaeche, Qt::LeftButton, {}, QPoint(flaeche->width() / 4, y));
    QTest::mouseMove(flaeche, QPoint(flaeche->width() * 3 / 4, y));
    QTest::mouseRelease(flaeche, Qt::LeftButton, {}, QPoint(flaeche->width() * 3 / 4, y));
    const Planungsanfrage &a = f->planung().anfrage;
    QVERIFY2(a.vonLaenge > 3.0 && a.bisLaenge < 40.0 && a.vonLaenge < a.bisLaenge,
             qPrintable(QStringLiteral("%1 %2").arg(a.vonLaenge).arg(a.bisLaenge)));
    QCOMPARE(f->findChild<QDoubleSpinBox *>(QStringLiteral("txtVon"))->value(), a.vonLaenge);
}

QTEST_MAIN(TstFrmPlaner)
#include "tst_frmplaner.moc"
