// Takes the README's screenshots: the main window with a report, the input
// dialog, the curve window, the line analysis (with a measured file, given
// as the second argument, in both views) and the length planner, each driven
// the way a user would drive it. Run it under Xvfb (werkzeuge/bildschirmfotos.sh).
#include "dokumentdialoge.h"
#include "drucker.h"
#include "frmkabel.h"
#include "frmkabelkurve.h"
#include "frmleitung.h"
#include "frmplaner.h"
#include "frmtext.h"
#include "frmvermessen.h"
#include "hilfe.h"
#include "werte.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>

#include <cstdio>

namespace {

bool speichern(QWidget &fenster, const QString &datei)
{
    QApplication::processEvents();
    QTest::qWait(200);
    if (fenster.grab().save(datei))
        return true;
    std::fprintf(stderr, "bildschirmfotos: %s kann nicht geschrieben werden\n", qPrintable(datei));
    return false;
}

template <typename T> T *kind(QWidget &fenster, const char *name)
{
    T *widget = fenster.findChild<T *>(QLatin1String(name));
    if (!widget)
        std::fprintf(stderr, "bildschirmfotos: %s fehlt\n", name);
    return widget;
}

void eintippen(QWidget &fenster, const char *name, const QString &text)
{
    QWidget *feld = fenster.findChild<QWidget *>(QLatin1String(name));
    if (!feld)
        return;
    feld->setFocus();
    if (auto *zeile = qobject_cast<QLineEdit *>(feld))
        zeile->selectAll();
    else if (auto *mehrzeilig = qobject_cast<QPlainTextEdit *>(feld))
        mehrzeilig->selectAll();
    else if (auto *combo = qobject_cast<QComboBox *>(feld); combo && combo->lineEdit())
        combo->lineEdit()->selectAll();
    QTest::keyClick(feld, Qt::Key_Backspace);
    QTest::keyClicks(feld, text);
}

// F9 with the README's pair of measured files: the result, the chart and the
// trim for a quarter-wave stub on 7,05 MHz.
bool kabelVermessen(varo::FrmText &hauptfenster, const QString &ziel)
{
    hauptfenster.mnuVermessen_Click();
    varo::FrmVermessen *fenster = hauptfenster.frmVermessen();
    if (!fenster)
        return false;
    const QString daten = QStringLiteral(VARO_QUELLE "/tests/daten/vermessen/");
    eintippen(*fenster, "txtOffen", QDir::toNativeSeparators(daten + "rg213_offen.s1p"));
    eintippen(*fenster, "txtKurz", QDir::toNativeSeparators(daten + "rg213_kurz.s1p"));
    eintippen(*fenster, "txtLaenge", QStringLiteral("27,4"));
    eintippen(*fenster, "txtName", QStringLiteral("RG-213 Rolle 2"));
    if (auto *kabel = kind<QComboBox>(*fenster, "cboKabel"))
        kabel->setCurrentIndex(
            std::max(0, kabel->findText(QStringLiteral("RG-213"), Qt::MatchContains)));
    if (!fenster->rechnen())
        return false;
    eintippen(*fenster, "txtZiel", QStringLiteral("7,05"));
    if (!fenster->kuerzen())
        return false;
    fenster->resize(1100, 860);
    QTest::qWait(300);
    return speichern(*fenster, ziel + QStringLiteral("/kabelvermessen.png"));
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QString ziel = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(ziel);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));

    varo::Programmwerte werte;
    varo::KeinDrucker drucker;
    varo::FrmText hauptfenster(werte, {drucker, std::make_unique<varo::QtDokumentdialoge>(nullptr),
                                       std::make_unique<varo::DesktopPlattform>()});
    hauptfenster.resize(900, 620);
    hauptfenster.show();
    QTest::qWait(300);

    bool ok = true;
    // F4 with three bands, then F3 for the single-frequency report.
    hauptfenster.mnuRechnen_Click();
    varo::FrmKabel *dialog = hauptfenster.frmKabel();
    if (!dialog)
        return 1;
    eintippen(*dialog, "Text1", QStringLiteral("7,1"));
    eintippen(*dialog, "Text3", QStringLiteral("30"));
    ok &= speichern(*dialog, ziel + QStringLiteral("/eingabedialog.png"));
    if (auto *rechnen = kind<QAbstractButton>(*dialog, "Command1"))
        rechnen->click();
    QTest::qWait(300);
    ok &= speichern(hauptfenster, ziel + QStringLiteral("/hauptfenster.png"));

    hauptfenster.mnuRechnVorhKabelGrafisch_Click();
    varo::FrmKabelKurve *kurve = hauptfenster.frmKabelKurve();
    if (!kurve)
        return 1;
    if (auto *anzeigen = kind<QAbstractButton>(*kurve, "Command1"))
        anzeigen->click();
    QTest::qWait(300);
    ok &= speichern(*kurve, ziel + QStringLiteral("/kurvenfenster.png"));

    hauptfenster.mnuLeitungsanalyse_Click();
    varo::FrmLeitung *leitung = hauptfenster.frmLeitung();
    if (!leitung)
        return 1;
    eintippen(*leitung, "txtLastR", QStringLiteral("20"));
    eintippen(*leitung, "txtLastX", QStringLiteral("150"));
    leitung->anzeigen();
    leitung->resize(1100, 900);
    QTest::qWait(300);
    ok &= speichern(*leitung, ziel + QStringLiteral("/leitungsfenster.png"));

    // The same window with a measured dipole: the chart, then the Smith chart.
    if (argc > 2 && leitung->messdateiLaden(QString::fromLocal8Bit(argv[2]))) {
        leitung->resize(1100, 960);
        eintippen(*leitung, "txtLaenge", QStringLiteral("27,5"));
        leitung->anzeigen();
        QTest::qWait(300);
        ok &= speichern(*leitung, ziel + QStringLiteral("/leitung_messung.png"));
        if (auto *ansicht = kind<QTabWidget>(*leitung, "tabAnsicht"))
            ansicht->setCurrentIndex(1);
        QTest::qWait(300);
        ok &= speichern(*leitung, ziel + QStringLiteral("/leitung_smith.png"));
    }

    hauptfenster.mnuLaengenplaner_Click();
    varo::FrmPlaner *planer = hauptfenster.frmPlaner();
    if (!planer)
        return 1;
    planer->resize(1000, 640);
    QTest::qWait(300);
    ok &= speichern(*planer, ziel + QStringLiteral("/laengenplaner.png"));

    ok &= kabelVermessen(hauptfenster, ziel);

    hauptfenster.close();
    return ok ? 0 : 1;
}
