#include "frmplaner.h"
#include "planergrafik.h"
#include "planflaeche.h"

#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
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
    void vkStreng_data();
    void vkStreng();
    void bandkanten_data();
    void bandkanten();
    void tastatur();
    void kabelZeigtDenAnfang();
    void exportGroesse_data();
    void exportGroesse();
    void endungErgaenzen_data();
    void endungErgaenzen();
    void exportDialog();

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
    // Of the four clear ranges one is under a centimetre: left out, and said so.
    QCOMPARE(int(f->planung().frei.size()), 4);
    QCOMPARE(frei->topLevelItemCount(), 3);
    QCOMPARE(f->findChild<QLabel *>(QStringLiteral("lblWeggelassen"))->text(),
             QStringLiteral("Ein freier Bereich schmaler als 1 cm ist nicht aufgeführt."));
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

void TstFrmPlaner::vkStreng_data()
{
    QTest::addColumn<QString>("kabel");
    QTest::addColumn<double>("vk"); // 0: refused
    QTest::newRow("two commas") << "0,61,5" << 0.0;
    QTest::newRow("number and word") << "0,66 Schaum" << 0.0;
    QTest::newRow("thousands separator") << "1.000,5" << 0.0;
    QTest::newRow("beyond any number") << "1e309" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("comma") << "0,61" << 0.61;
    QTest::newRow("point") << "0.8" << 0.8;
}

void TstFrmPlaner::vkStreng()
{
    QFETCH(QString, kabel);
    QFETCH(double, vk);
    auto f = fenster();
    f->findChild<QComboBox *>(QStringLiteral("cboKabel"))->setEditText(kabel);
    if (vk > 0.0) {
        QCOMPARE(f->meldung(), QString());
        QCOMPARE(f->planung().anfrage.vk, vk);
    } else {
        QCOMPARE(f->meldung(), QStringLiteral("Im Feld „Kabel / Vk“ steht keine Zahl."));
        QCOMPARE(f->planung().frei.size(), size_t(0));
    }
}

void TstFrmPlaner::bandkanten_data()
{
    QTest::addColumn<QString>("band");
    QTest::addColumn<QString>("eintrag");
    QTest::newRow("60 m to the half kilohertz") << "60m"
                                                << "60m  (5,3515–5,3665 MHz)";
    QTest::newRow("80 m") << "80m"
                          << "80m  (3,5–3,8 MHz)";
    QTest::newRow("10 m") << "10m"
                          << "10m  (28–29,7 MHz)";
}

void TstFrmPlaner::bandkanten()
{
    QFETCH(QString, band);
    QFETCH(QString, eintrag);
    auto f = fenster();
    auto *liste = f->findChild<QListWidget *>(QStringLiteral("lstBaender"));
    const auto treffer = liste->findItems(band + QStringLiteral("  ("),
                                          Qt::MatchStartsWith | Qt::MatchCaseSensitive);
    QCOMPARE(treffer.size(), 1);
    QCOMPARE(treffer.first()->text(), eintrag);
}

void TstFrmPlaner::tastatur()
{
    auto f = fenster();
    f->show();
    f->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.get()));
    // The first field has the focus; Tab walks down the column.
    QStringList weg;
    for (int i = 0; i < 11; ++i) {
        QWidget *fokus = QApplication::focusWidget();
        QVERIFY(fokus);
        weg << fokus->objectName();
        QTest::keyClick(fokus, Qt::Key_Tab);
    }
    QCOMPARE(weg,
             (QStringList{"lstBaender", "txtBereiche", "cboKabel", "txtVon", "txtBis", "txtSchritt",
                          "txtAbstand", "cmdBericht", "cmdExport", "cmdSchliessen", "lstFrei"}));
    // Esc closes the window from any field.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QTRY_VERIFY(!f->isVisible());
}

void TstFrmPlaner::kabelZeigtDenAnfang()
{
    auto f = fenster();
    auto *kabel = f->findChild<QComboBox *>(QStringLiteral("cboKabel"));
    QVERIFY(kabel->currentText().size() > 16);
    QCOMPARE(kabel->lineEdit()->cursorPosition(), 0);
    QTest::keyClick(kabel, Qt::Key_Up); // another item, picked by the user
    QVERIFY(kabel->currentIndex() >= 0);
    QCOMPARE(kabel->lineEdit()->cursorPosition(), 0);
}

void TstFrmPlaner::exportGroesse_data()
{
    QTest::addColumn<QSize>("fenster");
    QTest::newRow("large window") << QSize(1400, 900);
    QTest::newRow("small window") << QSize(500, 400);
}

void TstFrmPlaner::exportGroesse()
{
    QFETCH(QSize, fenster);
    auto f = this->fenster();
    f->resize(fenster);
    f->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.get()));
    const QSize bild = f->findChild<Planflaeche *>(QStringLiteral("picPlan"))->size();
    QTemporaryDir ordner;
    const QString pfad = ordner.filePath(QStringLiteral("plan.png"));
    QString grund;
    QVERIFY2(f->exportieren(pfad, grund), qPrintable(grund));
    const QImage png(pfad);
    // At least the chart on screen and the designed size, and room above
    // and below it for the title and the legend.
    QVERIFY(png.width() >= bild.width() && png.width() >= planDesignGroesse(f->planung()).width());
    QVERIFY(png.height() >= bild.height() + int(planRahmenHoehe()));
    QVERIFY(png.height() >= planDesignGroesse(f->planung()).height() + int(planRahmenHoehe()));
    // The title line is drawn: dark pixels in the top rows.
    int dunkel = 0;
    for (int y = 4; y < 20; ++y)
        for (int x = 0; x < png.width(); ++x)
            dunkel += qGray(png.pixel(x, y)) < 128 ? 1 : 0;
    QVERIFY2(dunkel > 50, qPrintable(QString::number(dunkel)));
}

void TstFrmPlaner::endungErgaenzen_data()
{
    QTest::addColumn<QString>("eingabe");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("datei");
    QTest::newRow("no ending") << "/tmp/plan"
                               << "PNG-Bild (*.png)"
                               << "/tmp/plan.png";
    QTest::newRow("other picture ending kept") << "plan.svg"
                                               << "PNG-Bild (*.png)"
                                               << "plan.svg";
    QTest::newRow("ending in capitals kept") << "plan.PDF"
                                             << "SVG-Grafik (*.svg)"
                                             << "plan.PDF";
    QTest::newRow("unknown ending") << "plan.v2"
                                    << "PDF-Dokument (*.pdf)"
                                    << "plan.v2.pdf";
    QTest::newRow("trailing dot") << "plan."
                                  << "SVG-Grafik (*.svg)"
                                  << "plan.svg";
    QTest::newRow("nothing chosen") << ""
                                    << "PNG-Bild (*.png)"
                                    << "";
}

void TstFrmPlaner::endungErgaenzen()
{
    QFETCH(QString, eingabe);
    QFETCH(QString, filter);
    QFETCH(QString, datei);
    QCOMPARE(bildEndungErgaenzen(eingabe, filter), datei);
}

void TstFrmPlaner::exportDialog()
{
    auto f = fenster();
    QTemporaryDir ordner;
    QString vorschlag;
    QTimer::singleShot(0, [&] {
        auto *d = f->findChild<QFileDialog *>(QStringLiteral("dlgExport"));
        QVERIFY(d);
        vorschlag = QFileInfo(d->selectedFiles().value(0)).fileName();
        // The user picks the second filter in the dialog's list.
        auto *typen = d->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
        QVERIFY(typen);
        QTest::keyClick(typen, Qt::Key_Down);
        d->setDirectory(ordner.path());
        d->selectFile(QStringLiteral("plan"));
        QMetaObject::invokeMethod(d, "accept", Qt::QueuedConnection);
    });
    f->findChild<QPushButton *>(QStringLiteral("cmdExport"))->click();
    QCOMPARE(vorschlag, QStringLiteral("Varolinaten-Planung.png"));
    QFile svg(ordner.filePath(QStringLiteral("plan.svg")));
    QVERIFY(svg.open(QIODevice::ReadOnly));
    QVERIFY(svg.readAll().startsWith("<?xml"));
}

QTEST_MAIN(TstFrmPlaner)
#include "tst_frmplaner.moc"
