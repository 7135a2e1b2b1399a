#include "frmabout.h"
#include "version.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

using namespace varo;

class TestFrmAbout : public QObject
{
    Q_OBJECT

private slots:
    void beschriftungen();
    void versionsText_data();
    void versionsText();
    void versionAusDemBuild();
    void okSchliesst();
    void zweimalInfoEineBox();
    void nachOkFrischGefuellt();
    void sofortNachSchliessenNeueBox();
    void hilfeBeispieleVomProgramm_data();
    void hilfeBeispieleVomProgramm();

private:
    static int offeneBoxen()
    {
        int n = 0;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (qobject_cast<FrmAbout *>(w) && w->isVisible())
                ++n;
        return n;
    }
};

void TestFrmAbout::beschriftungen()
{
    FrmAbout box;
    QCOMPARE(box.objectName(), QStringLiteral("frmAbout"));
    QCOMPARE(box.windowTitle(), QStringLiteral("Info :     Varolinaten - Berechnung"));
    QVERIFY(!box.isModal());
    QVERIFY(box.testAttribute(Qt::WA_DeleteOnClose));

    auto *picIcon = box.findChild<QLabel *>(QStringLiteral("picIcon"));
    QVERIFY(picIcon);
    QCOMPARE(picIcon->toolTip(), QStringLiteral("Logo"));
    QVERIFY(!picIcon->pixmap().isNull());

    auto *lblTitle = box.findChild<QLabel *>(QStringLiteral("lblTitle"));
    QVERIFY(lblTitle);
    QCOMPARE(lblTitle->text(), QStringLiteral("Varolinaten"));
    QCOMPARE(lblTitle->font().family(), QStringLiteral("Arial"));

    auto *line1 = box.findChild<QFrame *>(QStringLiteral("Line1"));
    QVERIFY(line1);
    QCOMPARE(line1->frameShape(), QFrame::HLine);

    auto *lblVersion = box.findChild<QLabel *>(QStringLiteral("lblVersion"));
    QVERIFY(lblVersion);
    QCOMPARE(lblVersion->toolTip(), QStringLiteral("Programmversion"));

    auto *lblDescription = box.findChild<QLabel *>(QStringLiteral("lblDescription"));
    QVERIFY(lblDescription);
    QCOMPARE(lblDescription->text(),
             QStringLiteral("Das  Programm dient der Ermittlung von günstigen und ungünstigen "
                            "Varolinaten bei einer bestimmten Frequenz oder mehreren "
                            "Frequenzen. Die ungünstigen Längen sollten unbedingt gemieden "
                            "werden !"));
    QVERIFY(lblDescription->wordWrap());

    auto *cmdOK = box.findChild<QPushButton *>(QStringLiteral("cmdOK"));
    QVERIFY(cmdOK);
    QCOMPARE(cmdOK->text(), QStringLiteral("OK"));
    QCOMPARE(cmdOK->toolTip(), QStringLiteral("Info schließen"));
}

void TestFrmAbout::versionsText_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("revision");
    QTest::addColumn<QString>("erwartet");
    QTest::newRow("2 0 7") << 2 << 0 << 7 << "Version 2.0.7";
    QTest::newRow("1 10 100") << 1 << 10 << 100 << "Version 1.10.100";
    QTest::newRow("0 0 0") << 0 << 0 << 0 << "Version 0.0.0";
    QTest::newRow("12 3 4567") << 12 << 3 << 4567 << "Version 12.3.4567";
}

void TestFrmAbout::versionsText()
{
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, revision);
    QFETCH(QString, erwartet);
    QCOMPARE(FrmAbout::versionsText(major, minor, revision), erwartet);
}

void TestFrmAbout::versionAusDemBuild()
{
    FrmAbout box;
    const QString text = box.findChild<QLabel *>(QStringLiteral("lblVersion"))->text();
    QCOMPARE(text, QStringLiteral("Version %1.%2.%3")
                       .arg(version::major)
                       .arg(version::minor)
                       .arg(version::revision));
    // Plain integers: no blanks, no leading zeros.
    QVERIFY2(QRegularExpression(QStringLiteral("^Version (0|[1-9]\\d*)(\\.(0|[1-9]\\d*)){2}$"))
                 .match(text)
                 .hasMatch(),
             qPrintable(text));
}

void TestFrmAbout::okSchliesst()
{
    QWidget hauptfenster;
    hauptfenster.show();
    QPointer<FrmAbout> box;
    FrmAbout::zeigen(box, &hauptfenster);
    QVERIFY(box);
    QVERIFY(QTest::qWaitForWindowExposed(box));
    QVERIFY(box->isVisible());
    QVERIFY(!box->isModal());

    QTest::mouseClick(box->findChild<QPushButton *>(QStringLiteral("cmdOK")), Qt::LeftButton);
    QTRY_VERIFY(box.isNull());
    QCOMPARE(offeneBoxen(), 0);
    QVERIFY(hauptfenster.isVisible());
}

void TestFrmAbout::zweimalInfoEineBox()
{
    QWidget hauptfenster;
    hauptfenster.show();
    QPointer<FrmAbout> box;
    FrmAbout::zeigen(box, &hauptfenster);
    FrmAbout *erste = box;
    auto *lblVersion = box->findChild<QLabel *>(QStringLiteral("lblVersion"));
    lblVersion->setText(QStringLiteral("geändert"));

    FrmAbout::zeigen(box, &hauptfenster);
    QCOMPARE(box.data(), erste);
    QCOMPARE(offeneBoxen(), 1);
    QCOMPARE(hauptfenster.findChildren<FrmAbout *>().size(), 1);
    // Showing an open box only activates it; its labels are not refilled.
    QCOMPARE(lblVersion->text(), QStringLiteral("geändert"));
    delete box;
}

void TestFrmAbout::nachOkFrischGefuellt()
{
    QWidget hauptfenster;
    hauptfenster.show();
    QPointer<FrmAbout> box;
    FrmAbout::zeigen(box, &hauptfenster);
    box->findChild<QLabel *>(QStringLiteral("lblVersion"))->setText(QStringLiteral("geändert"));
    QTest::mouseClick(box->findChild<QPushButton *>(QStringLiteral("cmdOK")), Qt::LeftButton);
    QTRY_VERIFY(box.isNull());

    FrmAbout::zeigen(box, &hauptfenster);
    QVERIFY(box);
    QCOMPARE(box->findChild<QLabel *>(QStringLiteral("lblVersion"))->text(),
             FrmAbout::versionsText(version::major, version::minor, version::revision));
    QCOMPARE(offeneBoxen(), 1);
    delete box;
}

// "&Info" right after "OK", before the closed box is deleted, must not
// bring the closed box back.
void TestFrmAbout::sofortNachSchliessenNeueBox()
{
    QWidget hauptfenster;
    hauptfenster.show();
    QPointer<FrmAbout> box;
    FrmAbout::zeigen(box, &hauptfenster);
    QPointer<FrmAbout> alte = box;
    box->findChild<QLabel *>(QStringLiteral("lblVersion"))->setText(QStringLiteral("geändert"));
    box->close();
    QVERIFY(alte);

    FrmAbout::zeigen(box, &hauptfenster);
    QVERIFY(box);
    QVERIFY(box.data() != alte.data());
    QVERIFY(box->isVisible());
    QCOMPARE(box->findChild<QLabel *>(QStringLiteral("lblVersion"))->text(),
             FrmAbout::versionsText(version::major, version::minor, version::revision));
    QTRY_VERIFY(alte.isNull());
    QCOMPARE(offeneBoxen(), 1);
    delete box;
}

void TestFrmAbout::hilfeBeispieleVomProgramm_data()
{
    QTest::addColumn<QString>("argumente");
    QTest::newRow("F3") << "--modus eine --frequenz 7,1 --kabel RG-213 --laenge 30";
    QTest::newRow("F4") << "--modus mehrere --frequenz 3,6/7,05 --kabel 0,66 --laenge 35";
    QTest::newRow("F5") << "--modus vorhanden --frequenz 3,6/7,05/14,2/21,2/28,5 --kabel RG-213 "
                           "--laenge 30";
}

// The help beside the program shows each example as the report tool writes
// it now, from the Kabel.txt that ships with it.
void TestFrmAbout::hilfeBeispieleVomProgramm()
{
    QFETCH(QString, argumente);
    const QString ordner = QCoreApplication::applicationDirPath();
    QFile hilfe(ordner + QStringLiteral("/Varolinaten-Hilfe.html"));
    QVERIFY2(hilfe.open(QIODevice::ReadOnly), qPrintable(hilfe.fileName()));
    const QString html = QString::fromUtf8(hilfe.readAll());
    QVERIFY(!html.contains(QStringLiteral("@BERICHT")));

    QProcess werkzeug;
    QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
    umgebung.insert(QStringLiteral("LC_ALL"), QStringLiteral("de_DE.UTF-8"));
    werkzeug.setProcessEnvironment(umgebung);
    werkzeug.start(ordner + QStringLiteral("/varolinaten-bericht"),
                   QProcess::splitCommand(argumente) +
                       QStringList{QStringLiteral("--kabeltabelle"),
                                   ordner + QStringLiteral("/Kabel.txt"),
                                   QStringLiteral("--seitenlaenge"), QStringLiteral("10000")});
    QVERIFY(werkzeug.waitForFinished(60000));
    QCOMPARE(werkzeug.exitCode(), 0);
    QString bericht = QString::fromUtf8(werkzeug.readAllStandardOutput());
    bericht.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QVERIFY(bericht.contains(QStringLiteral(" MHz")));
    QVERIFY2(html.contains(QStringLiteral("<pre>\n") + bericht.trimmed().toHtmlEscaped() +
                           QStringLiteral("\n</pre>")),
             qPrintable(bericht));
}

QTEST_MAIN(TestFrmAbout)
#include "tst_frmabout.moc"
