#include "fake_oberflaeche.h"
#include "frmvermessen.h"
#include "kabelmodell.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace varo;

namespace {

const char *const kRG58 = "0,66 RG-58 d=100/15,1;10/4,6;50/10,8;200/22,6;400/33,5";

QByteArray inhalt(const QString &pfad)
{
    QFile datei(pfad);
    return datei.open(QIODevice::ReadOnly) ? datei.readAll() : QByteArray();
}

} // namespace

class TstFrmVermessen : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup() { delete m_fenster; }
    void rechnenFuelltErgebnis();
    void schlechteEingabe_data();
    void schlechteEingabe();
    void uebernehmen_data();
    void uebernehmen();
    void kuerzen();
    void escSchliesst();

private:
    template <typename T = QLineEdit> T *kind(const char *name) const
    {
        return m_fenster->findChild<T *>(QLatin1String(name));
    }
    QString eigene() const { return m_daten.filePath(QStringLiteral("varolinaten/Kabel.txt")); }
    // The model's files and length typed in, RG-58 chosen, Enter pressed.
    bool gueltigRechnen()
    {
        kind("txtOffen")->setText(m_dir.filePath("rg58_offen.s1p"));
        kind("txtKurz")->setText(m_dir.filePath("rg58_kurz.s1p"));
        kind("txtLaenge")->setText("20");
        kind("txtName")->setText("Meine Rolle");
        kind<QComboBox>("cboKabel")->setCurrentIndex(1);
        QTest::keyClick(kind("txtLaenge"), Qt::Key_Return);
        return m_fenster->ergebnis().has_value();
    }

    QTemporaryDir m_dir, m_daten;
    FakeOberflaeche m_ui;
    QPointer<FrmVermessen> m_fenster;
};

void TstFrmVermessen::initTestCase()
{
    QVERIFY(m_dir.isValid() && m_daten.isValid());
    // The user's own table lives under the data folder of the desktop.
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_daten.path()));
    QCOMPARE(eigeneKabeltabellePfad(), eigene());
    QFile kabel(m_dir.filePath(QStringLiteral("Kabel.txt")));
    QVERIFY(kabel.open(QIODevice::WriteOnly));
    kabel.write(QByteArray(kRG58) + "\n0,81 RG-6 d=270/10,6;55/4,9;400/13,1 Z=75\n");
    kabel.close();
    const Modellkabel m{kRG58, 20, 1, 60, 401, 0.005};
    QCOMPARE(modellDatei(m_dir.filePath("rg58_offen.s1p"), m, Abschluss::Offen), QString());
    QCOMPARE(modellDatei(m_dir.filePath("rg58_kurz.s1p"), m, Abschluss::Kurzschluss), QString());
    const Modellkabel anders{kRG58, 20, 1, 61, 401};
    QCOMPARE(modellDatei(m_dir.filePath("anders_kurz.s1p"), anders, Abschluss::Kurzschluss),
             QString());
}

void TstFrmVermessen::init()
{
    m_ui = FakeOberflaeche();
    QFile::remove(eigene());
    m_fenster = new FrmVermessen(m_ui, {m_dir.filePath("Kabel.txt"), eigene()});
    m_fenster->show();
}

void TstFrmVermessen::rechnenFuelltErgebnis()
{
    QCOMPARE(m_fenster->windowTitle(), QStringLiteral("Kabel vermessen"));
    QCOMPARE(m_fenster->focusWidget(), kind("txtOffen"));
    QCOMPARE(kind<QComboBox>("cboKabel")->count(), 3); // none and both rows
    QVERIFY(!kind<QPushButton>("cmdUebernehmen")->isEnabled());
    QVERIFY(gueltigRechnen());
    QVERIFY(m_ui.meldungen.isEmpty());
    const Kabelmessergebnis &e = *m_fenster->ergebnis();
    QVERIFY(std::abs(e.VkMittel - 0.66) < 0.66 * 0.003);
    QVERIFY(std::abs(e.impedanz - 50.0) < 0.5);
    const QString text = kind<QLabel>("lblErgebnis")->text();
    QVERIFY2(text.contains("Verkürzungsfaktor: ") && text.contains("Elektrische Länge: ") &&
                 text.contains("(gemessen)") && !text.contains("Dämpfung bei"),
             qPrintable(text));
    // One table row per round frequency, each with Zo as R + jX and the loss.
    const auto *tabelle = kind<QTableWidget>("tblWerte");
    QCOMPARE(tabelle->rowCount(), e.zeilenpunkte.size());
    QVERIFY(tabelle->rowCount() >= 3);
    for (int i = 0; i < tabelle->rowCount(); ++i) {
        QVERIFY(tabelle->item(i, 1)->text().contains(" j"));
        QVERIFY(tabelle->item(i, 2)->text().toDouble() > 0.0);
    }
    QCOMPARE(kind("txtZeile")->text(), e.zeile);
    QVERIFY(e.zeile.contains(" Meine Rolle d="));
    QVERIFY(kind<QPushButton>("cmdUebernehmen")->isEnabled());
}

void TstFrmVermessen::schlechteEingabe_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text"); // "@" stands for the test folder
    QTest::addColumn<QString>("meldung");
    QTest::newRow("Länge 0") << "txtLaenge"
                             << "0"
                             << "Die Länge „0 m“ ist nicht größer als 0.";
    QTest::newRow("Länge keine Zahl") << "txtLaenge"
                                      << "zwanzig"
                                      << "„zwanzig“ ist keine Zahl.";
    QTest::newRow("Länge und Vk") << "txtVk"
                                  << "0,66"
                                  << "Bitte entweder die Länge";
    QTest::newRow("offenes Ende fehlt") << "txtOffen"
                                        << ""
                                        << "Bitte die Datei der Messung";
    QTest::newRow("Datei fehlt") << "txtOffen"
                                 << "@/fehlt.s1p"
                                 << "";
    QTest::newRow("Frequenzen verschieden") << "txtKurz"
                                            << "@/anders_kurz.s1p"
                                            << "Die Messungen mit offenem und kurzgeschlossenem";
}

void TstFrmVermessen::schlechteEingabe()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, meldung);
    QVERIFY(gueltigRechnen());
    const Kabelmessergebnis vorher = *m_fenster->ergebnis();
    const QString ergebnisText = kind<QLabel>("lblErgebnis")->text();
    text.replace('@', m_dir.path());
    kind(qPrintable(name))->setText(text);
    QVERIFY(!m_fenster->rechnen());
    QCOMPARE(m_ui.meldungen.size(), 1);
    const QString gesagt = m_ui.meldungen.at(0).text;
    QVERIFY2(gesagt.startsWith(meldung) && (!meldung.isEmpty() || gesagt.contains("fehlt.s1p")),
             qPrintable(gesagt));
    QCOMPARE(m_ui.meldungen.at(0).titel, QStringLiteral("Kabel vermessen"));
    // Nothing shown changes, nothing typed is lost.
    QCOMPARE(m_fenster->ergebnis()->zeile, vorher.zeile);
    QCOMPARE(m_fenster->ergebnis()->VkMittel, vorher.VkMittel);
    QCOMPARE(kind("txtZeile")->text(), vorher.zeile);
    QCOMPARE(kind<QLabel>("lblErgebnis")->text(), ergebnisText);
    QCOMPARE(kind(qPrintable(name))->text(), text);
}

void TstFrmVermessen::uebernehmen_data()
{
    QTest::addColumn<QByteArray>("vorher"); // empty: no own table yet
    QTest::addColumn<int>("antwort");       // 0 Ok, 1 Abbrechen
    QTest::addColumn<bool>("frage");
    QTest::addColumn<int>("zeile"); // line of the row afterwards, from 1; 0: file unchanged
    QTest::newRow("Tabelle fehlt: mit Kopf angelegt") << QByteArray() << 0 << false << 0;
    QTest::newRow("angehängt") << QByteArray("; eigene\n0,8 Anderes d=10/1\n") << 0 << false << 3;
    QTest::newRow("ohne Zeilenende angehängt")
        << QByteArray("0,8 Anderes d=10/1") << 0 << false << 2;
    QTest::newRow("gleicher Name ersetzt")
        << QByteArray("0,8 Anderes d=10/1\n0,7 meine rolle d=10/9\n0,6 Letztes\n") << 0 << true
        << 2;
    QTest::newRow("auskommentiert und länger: angehängt")
        << QByteArray("; 0,7 Meine Rolle\n0,7 Meine Rolle 2\n") << 0 << false << 3;
    QTest::newRow("gleicher Name, abgebrochen")
        << QByteArray("0,8 Anderes d=10/1\n0,7 Meine Rolle d=10/9\n") << 1 << true << 0;
}

void TstFrmVermessen::uebernehmen()
{
    QFETCH(QByteArray, vorher);
    QFETCH(int, antwort);
    QFETCH(bool, frage);
    QFETCH(int, zeile);
    if (!vorher.isEmpty()) {
        QVERIFY(QDir().mkpath(QFileInfo(eigene()).path()));
        QFile datei(eigene());
        QVERIFY(datei.open(QIODevice::WriteOnly));
        datei.write(vorher);
    }
    QVERIFY(gueltigRechnen());
    const QString neu = m_fenster->ergebnis()->zeile;
    m_ui.antworten = {antwort == 0 ? Antwort::Ok : Antwort::Abbrechen};
    QCOMPARE(m_fenster->uebernehmen(), antwort == 0);
    QCOMPARE(m_ui.meldungen.size(), frage ? 1 : 0);
    if (frage) {
        QCOMPARE(m_ui.meldungen.at(0).knoepfe, Knoepfe::OkAbbrechen);
        QVERIFY(m_ui.meldungen.at(0).text.contains(neu));
    }
    const QByteArray nachher = inhalt(eigene());
    if (antwort != 0) {
        QCOMPARE(nachher, vorher);
        return;
    }
    const QStringList zeilen = QString::fromUtf8(nachher).split('\n');
    QCOMPARE(zeilen.last(), QString()); // ends with a line break
    if (vorher.isEmpty()) {
        QVERIFY(nachher.startsWith("; Eigene Kabeltabelle"));
        zeile = int(zeilen.size()) - 1;
    }
    QCOMPARE(zeilen.at(zeile - 1), neu);
    // Every other line is kept; a replaced row is gone.
    const QStringList alt = QString::fromUtf8(vorher).split('\n', Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < alt.size(); ++i)
        QCOMPARE(zeilen.at(i) == alt.at(i), !(frage && i == zeile - 1));
    if (!vorher.isEmpty())
        QCOMPARE(zeilen.size() - 1, alt.size() + (frage ? 0 : 1));
    // The new row is offered in the list at once, as the table reads it.
    QVERIFY(kind<QComboBox>("cboKabel")->findText(neu.section(' ', 1), Qt::MatchContains) > 2);
    QVERIFY(kind<QLabel>("lblTabelle")->text().contains(QString::number(zeile)));
}

void TstFrmVermessen::kuerzen()
{
    // Nothing to cut from before a measurement.
    QVERIFY(!m_fenster->kuerzen());
    QCOMPARE(m_ui.meldungen.size(), 1);
    QVERIFY(gueltigRechnen());
    kind("txtZiel")->setText("14,2");
    kind<QComboBox>("cboArt")->setCurrentText("Halbwelle");
    QTest::keyClick(kind("txtZiel"), Qt::Key_Return);
    const QString text = kind<QLabel>("lblKuerzung")->text();
    QVERIFY2(text.startsWith("Neue Länge: ") && text.contains("kürzen um"), qPrintable(text));
    // Cut as told, the half wave of the model cable resonates on 14,2 MHz.
    const double laenge = text.section(' ', 2, 2).toDouble();
    QVERIFY(std::abs(0.5 * 300.0 * 0.66 / laenge / 14.2 - 1.0) < 0.001);
    // A bad target is told; the line stays.
    kind("txtZiel")->setText("0");
    QVERIFY(!m_fenster->kuerzen());
    QCOMPARE(m_ui.meldungen.size(), 2);
    QVERIFY(m_ui.meldungen.last().text.contains("Zielfrequenz"));
    QCOMPARE(kind<QLabel>("lblKuerzung")->text(), text);
}

void TstFrmVermessen::escSchliesst()
{
    QTest::keyClick(kind("txtOffen"), Qt::Key_Escape);
    QTRY_VERIFY(m_fenster.isNull());
}

QTEST_MAIN(TstFrmVermessen)
#include "tst_frmvermessen.moc"
