#include "qtoberflaeche.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

Q_DECLARE_METATYPE(varo::Symbol)
Q_DECLARE_METATYPE(varo::Knoepfe)
Q_DECLARE_METATYPE(varo::Antwort)

class TstQtOberflaeche : public QObject
{
    Q_OBJECT

private slots:
    void meldung_data();
    void meldung();
    void escapeBeiDreiKnoepfen();
    void zeigerIstEinZustand();
    void haken();
    void meldungBleibtBeimFenster_data();
    void meldungBleibtBeimFenster();
};

void TstQtOberflaeche::meldung_data()
{
    QTest::addColumn<varo::Symbol>("symbol");
    QTest::addColumn<varo::Knoepfe>("knoepfe");
    QTest::addColumn<QString>("klick");
    QTest::addColumn<int>("qtSymbol");
    QTest::addColumn<QStringList>("beschriftungen");
    QTest::addColumn<varo::Antwort>("antwort");

    const QStringList ari{"Abbrechen", "Wiederholen", "Ignorieren"};
    QTest::newRow("Ausrufezeichen, Wiederholen")
        << varo::Symbol::Ausrufezeichen << varo::Knoepfe::AbbrechenWiederholenIgnorieren
        << "Wiederholen" << int(QMessageBox::Warning) << ari << varo::Antwort::Wiederholen;
    QTest::newRow("Stopp, Ignorieren")
        << varo::Symbol::Stopp << varo::Knoepfe::AbbrechenWiederholenIgnorieren << "Ignorieren"
        << int(QMessageBox::Critical) << ari << varo::Antwort::Ignorieren;
    QTest::newRow("Ausrufezeichen, Abbrechen")
        << varo::Symbol::Ausrufezeichen << varo::Knoepfe::AbbrechenWiederholenIgnorieren
        << "Abbrechen" << int(QMessageBox::Warning) << ari << varo::Antwort::Abbruch;
    QTest::newRow("Frage, OK") << varo::Symbol::Frage << varo::Knoepfe::OkAbbrechen << "OK"
                               << int(QMessageBox::Question) << QStringList{"OK", "Abbrechen"}
                               << varo::Antwort::Ok;
    QTest::newRow("Frage, Abbrechen")
        << varo::Symbol::Frage << varo::Knoepfe::OkAbbrechen << "Abbrechen"
        << int(QMessageBox::Question) << QStringList{"OK", "Abbrechen"} << varo::Antwort::Abbrechen;
    QTest::newRow("Information, OK")
        << varo::Symbol::Information << varo::Knoepfe::Ok << "OK" << int(QMessageBox::Information)
        << QStringList{"OK"} << varo::Antwort::Ok;
}

// Answers the next modal message box by clicking the button with this text
// and notes what the box looked like.
struct Antworter
{
    QString titel;
    QString text;
    int symbol = -1;
    QStringList beschriftungen;

    void klickeSpaeter(const QString &klick)
    {
        QTimer::singleShot(0, [this, klick] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            titel = box->windowTitle();
            text = box->text();
            symbol = box->icon();
            QAbstractButton *ziel = nullptr;
            for (QAbstractButton *b : box->buttons()) {
                beschriftungen << b->text();
                if (b->text() == klick)
                    ziel = b;
            }
            if (ziel)
                ziel->click();
            else
                box->reject();
        });
    }
};

void TstQtOberflaeche::meldung()
{
    QFETCH(varo::Symbol, symbol);
    QFETCH(varo::Knoepfe, knoepfe);
    QFETCH(QString, klick);
    QFETCH(int, qtSymbol);
    QFETCH(QStringList, beschriftungen);
    QFETCH(varo::Antwort, antwort);

    varo::QtOberflaeche ui;
    Antworter a;
    a.klickeSpaeter(klick);
    const varo::Antwort erhalten = ui.meldung(QStringLiteral("Überlauf\r\n ( Drucker ? )"),
                                              QStringLiteral(" Fehler !"), symbol, knoepfe);
    QCOMPARE(erhalten, antwort);
    QCOMPARE(a.titel, QStringLiteral(" Fehler !"));
    QCOMPARE(a.text, QStringLiteral("Überlauf\r\n ( Drucker ? )"));
    QCOMPARE(a.symbol, qtSymbol);
    QStringList sortiert = a.beschriftungen;
    sortiert.sort();
    beschriftungen.sort();
    QCOMPARE(sortiert, beschriftungen);
}

void TstQtOberflaeche::escapeBeiDreiKnoepfen()
{
    varo::QtOberflaeche ui;
    QTimer::singleShot(0, [] {
        if (QWidget *box = QApplication::activeModalWidget())
            QTest::keyClick(box, Qt::Key_Escape);
    });
    // Escape must not be taken for Retry, which would loop.
    QCOMPARE(ui.meldung(QStringLiteral("x"), QStringLiteral("y"), varo::Symbol::Ausrufezeichen,
                        varo::Knoepfe::AbbrechenWiederholenIgnorieren),
             varo::Antwort::Abbruch);
}

void TstQtOberflaeche::zeigerIstEinZustand()
{
    QVERIFY(!QGuiApplication::overrideCursor());
    {
        varo::QtOberflaeche ui;
        ui.sanduhr();
        ui.sanduhr();
        QVERIFY(ui.sanduhrAktiv());
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        ui.normalerZeiger();
        QVERIFY(!QGuiApplication::overrideCursor());
        ui.normalerZeiger();
        QVERIFY(!QGuiApplication::overrideCursor());

        // While a box waits for an answer the pointer is the normal one.
        ui.sanduhr();
        QCursor *waehrend = nullptr;
        Qt::CursorShape form = Qt::WaitCursor;
        QTimer::singleShot(0, [&] {
            waehrend = QGuiApplication::overrideCursor();
            form = waehrend ? waehrend->shape() : Qt::ArrowCursor;
            if (QWidget *box = QApplication::activeModalWidget())
                QTest::keyClick(box, Qt::Key_Escape);
        });
        ui.meldung(QStringLiteral("x"), QStringLiteral("y"), varo::Symbol::Information,
                   varo::Knoepfe::Ok);
        QCOMPARE(form, Qt::ArrowCursor);
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        // Left busy: the port's end restores the pointer.
    }
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TstQtOberflaeche::haken()
{
    varo::QtOberflaeche ui;
    // Without hooks nothing happens.
    ui.eingabedialogVerbergen();
    ui.hauptfensterZeigen();

    QStringList protokoll;
    ui.setEingabedialogVerbergen([&] { protokoll << QStringLiteral("verbergen"); });
    ui.setHauptfensterZeigen([&] { protokoll << QStringLiteral("zeigen"); });
    ui.eingabedialogVerbergen();
    ui.hauptfensterZeigen();
    QCOMPARE(protokoll, (QStringList{"verbergen", "zeigen"}));
}

void TstQtOberflaeche::meldungBleibtBeimFenster_data()
{
    QTest::addColumn<QString>("aktiv");
    QTest::addColumn<QString>("erwartet");
    QTest::newRow("Eingabedialog") << "frmKabel"
                                   << "frmKabel";
    QTest::newRow("Kurvenfenster") << "frmKabelKurve"
                                   << "frmKabelKurve";
    QTest::newRow("Hauptfenster") << "frmText"
                                  << "frmText";
    QTest::newRow("keines aktiv") << ""
                                  << "frmText";
}

void TstQtOberflaeche::meldungBleibtBeimFenster()
{
    QFETCH(QString, aktiv);
    QFETCH(QString, erwartet);

    QWidget haupt;
    haupt.setObjectName(QStringLiteral("frmText"));
    auto *bericht = new QLineEdit(&haupt);
    QWidget dialog(&haupt, Qt::Dialog);
    dialog.setObjectName(QStringLiteral("frmKabel"));
    QWidget kurve(nullptr, Qt::Window);
    kurve.setObjectName(QStringLiteral("frmKabelKurve"));
    QLineEdit *feld = nullptr;
    for (QWidget *fenster : {&haupt, &dialog, &kurve}) {
        if (fenster->objectName() == aktiv)
            feld = new QLineEdit(fenster);
    }
    if (feld) {
        if (feld->window() != &haupt)
            haupt.show();
        feld->window()->show();
        feld->window()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(feld->window()));
        feld->setFocus();
    }

    varo::QtOberflaeche ui;
    ui.setElternfenster(&haupt);
    QString eltern;
    QTimer::singleShot(0, [&] {
        if (QWidget *box = QApplication::activeModalWidget()) {
            eltern = box->parentWidget() ? box->parentWidget()->objectName() : QString();
            QTest::keyClick(box, Qt::Key_Return);
        }
    });
    ui.meldung(QStringLiteral("Es sind Frequenzen im gleichen Band vorhanden!"),
               QStringLiteral("Frequenzeingabe"), varo::Symbol::Ausrufezeichen, varo::Knoepfe::Ok);
    QCOMPARE(eltern, erwartet);
    if (!feld)
        return;
    // Focus is back where the user typed; the next key goes there.
    QTRY_COMPARE(QApplication::activeWindow(), feld->window());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_9);
    QCOMPARE(feld->text(), QStringLiteral("9"));
    if (feld->window() != &haupt)
        QVERIFY(bericht->text().isEmpty());
}

QTEST_MAIN(TstQtOberflaeche)
#include "tst_qtoberflaeche.moc"
