#include "fake_oberflaeche.h"
#include "frmkabel.h"

#include "rechnen.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>

using varo::Berechnungsanfrage;
using varo::Berechnungsmodus;
using varo::FrmKabel;

namespace {

const QString sechsKabel = QStringLiteral(VARO_TESTDATEN "/dialog/kabel_sechs.txt");

} // namespace

// The frequency field keeps in sight what it holds, whatever its length.
class TestFrequenzfeld : public QObject
{
    Q_OBJECT

private:
    varo::Programmwerte werte;
    FakeOberflaeche ui;
    FrmKabel *dialog = nullptr;

    QPlainTextEdit *text1() { return dialog->findChild<QPlainTextEdit *>(QStringLiteral("Text1")); }

    void oeffnen(Berechnungsmodus modus)
    {
        dialog->modusEinrichten(modus);
        dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        text1()->setFocus();
    }

    void tippen(const QString &text) { QTest::keyClicks(text1(), text); }

    void alleLoeschen()
    {
        QTextCursor c = text1()->textCursor();
        c.movePosition(QTextCursor::End);
        text1()->setTextCursor(c);
        for (qsizetype i = text1()->toPlainText().size(); i > 0; --i)
            QTest::keyClick(text1(), Qt::Key_Backspace);
    }

    // The caret stands inside the box, and what stands left of it is shown.
    void schreibmarkeSichtbar()
    {
        const QRect sicht = text1()->viewport()->rect();
        const QRect marke = text1()->cursorRect();
        QVERIFY2(sicht.contains(marke), qPrintable(QStringLiteral("caret at y %1..%2, box 0..%3")
                                                       .arg(marke.top())
                                                       .arg(marke.bottom())
                                                       .arg(sicht.bottom())));
    }

private slots:
    void init()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        werte = varo::Programmwerte();
        dialog = new FrmKabel(
            werte, ui, [](const Berechnungsanfrage &) { return varo::Rechenergebnis::Bericht; },
            sechsKabel);
    }
    void cleanup() { delete dialog; }

    void bleibtSichtbar_data()
    {
        QTest::addColumn<Berechnungsmodus>("modus");
        QTest::addColumn<QString>("zuerst");
        QTest::addColumn<QString>("danach");
        const QString lang = QStringLiteral("123456789012345678");
        const QString zehnBaender =
            QStringLiteral("1,85/3,65/5,35/7,1/10,12/14,1/18,1/21,2/24,9/28,5");
        QTest::newRow("18 digits, one line") << Berechnungsmodus::Eine << lang << QString();
        QTest::newRow("18 digits, then 3,6") << Berechnungsmodus::Eine << lang << "3,6";
        QTest::newRow("ten band centres") << Berechnungsmodus::Mehrere << zehnBaender << QString();
        QTest::newRow("ten centres, then two")
            << Berechnungsmodus::Mehrere << zehnBaender << "7/14";
        QTest::newRow("existing cable, ten centres")
            << Berechnungsmodus::VorhKabel << zehnBaender + zehnBaender << "3,6";
    }

    void bleibtSichtbar()
    {
        QFETCH(Berechnungsmodus, modus);
        QFETCH(QString, zuerst);
        QFETCH(QString, danach);
        oeffnen(modus);
        tippen(zuerst);
        schreibmarkeSichtbar();
        QCOMPARE(dialog->anfrage().frequenzen, zuerst);
        if (danach.isEmpty())
            return;
        alleLoeschen();
        QCOMPARE(text1()->toPlainText(), QString());
        QCOMPARE(text1()->verticalScrollBar()->value(), 0);
        tippen(danach);
        // What fits is shown from its first line, and read back as typed.
        schreibmarkeSichtbar();
        QCOMPARE(text1()->verticalScrollBar()->value(), 0);
        QCOMPARE(dialog->anfrage().frequenzen, danach);
    }

    // Reopening in the same mode shows what the field kept; switching to
    // the one-line mode keeps the caret in sight as well.
    void wiederoeffnen_data()
    {
        QTest::addColumn<Berechnungsmodus>("erster");
        QTest::addColumn<Berechnungsmodus>("zweiter");
        QTest::addColumn<QString>("erwartet");
        QTest::newRow("one line again")
            << Berechnungsmodus::Eine << Berechnungsmodus::Eine << "3,6";
        QTest::newRow("two lines again")
            << Berechnungsmodus::Mehrere << Berechnungsmodus::Mehrere << "3,6";
        QTest::newRow("one line after two")
            << Berechnungsmodus::Mehrere << Berechnungsmodus::Eine << QString();
    }

    void wiederoeffnen()
    {
        QFETCH(Berechnungsmodus, erster);
        QFETCH(Berechnungsmodus, zweiter);
        QFETCH(QString, erwartet);
        oeffnen(erster);
        tippen(QStringLiteral("1,85/3,65/5,35/7,1/10,12/14,1/18,1/21,2/24,9/28,5"));
        alleLoeschen();
        tippen(QStringLiteral("3,6"));
        dialog->hide();
        oeffnen(zweiter);
        QTest::qWait(0); // the box lays itself out for its new height
        QCOMPARE(text1()->toPlainText(), erwartet);
        QCOMPARE(text1()->verticalScrollBar()->value(), 0);
        schreibmarkeSichtbar();
        tippen(QStringLiteral("1234567890123456789012"));
        schreibmarkeSichtbar();
    }

    // Drawn wider until the number fits one line, the box shows it from
    // its start again; drawn narrower, the caret stays in sight.
    void breiteGeaendert_data()
    {
        QTest::addColumn<int>("mehr");
        QTest::newRow("wider") << 400;
        QTest::newRow("wider, then back") << 0;
    }

    void breiteGeaendert()
    {
        QFETCH(int, mehr);
        oeffnen(Berechnungsmodus::Eine);
        const QSize vorher = dialog->size();
        tippen(QStringLiteral("123456789012345678"));
        QVERIFY(text1()->verticalScrollBar()->value() > 0);
        dialog->resize(vorher + QSize(400, 0));
        QTRY_COMPARE(text1()->verticalScrollBar()->value(), 0);
        schreibmarkeSichtbar();
        dialog->resize(vorher + QSize(mehr, 0));
        QTest::qWait(0);
        schreibmarkeSichtbar();
    }
};

QTEST_MAIN(TestFrequenzfeld)
#include "tst_frequenzfeld.moc"
