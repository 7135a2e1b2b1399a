#include "frmleitung.h"

#include "baender.h"
#include "diagrammschrift.h"
#include "drucker.h"
#include "druckflaeche.h"
#include "kabeldaten.h"
#include "laufzeitfehler.h"
#include "leitungsanfrage.h"
#include "leitungsexport.h"
#include "leitungsflaechen.h"
#include "leitungsmessung.h"
#include "oberflaeche.h"
#include "werte.h"
#include "zahlenformat.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace varo {

namespace {

const QString kTitel = QStringLiteral("Leitungsanalyse");

// The measured files opened in this run, the latest first.
QStringList &benutzteMessdateien()
{
    static QStringList dateien;
    return dateien;
}

} // namespace

FrmLeitung::FrmLeitung(Programmwerte &werte, Oberflaeche &ui, Drucker &drucker, QWidget *parent)
    : FrmLeitung(werte, ui, drucker, Kabeltabellen::programm(), baenderPfad(), parent)
{
}

FrmLeitung::FrmLeitung(Programmwerte &werte, Oberflaeche &ui, Drucker &drucker,
                       const Kabeltabellen &tabellen, const QString &baenderPfad, QWidget *parent)
    : QWidget(parent, Qt::Window), m_werte(werte), m_ui(ui), m_drucker(drucker),
      m_tabellen(tabellen), m_baenderPfad(baenderPfad),
      m_ergebnis(std::make_unique<Leitungsergebnis>())
{
    setObjectName(QStringLiteral("frmLeitung"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(kTitel);
    oberflaecheAufbauen();
    tabellenLaden();
    messdateienFuellen();
}

FrmLeitung::~FrmLeitung() = default;

const Leitungsdiagramm &FrmLeitung::diagramm() const
{
    return m_ergebnis->diagramm;
}

void FrmLeitung::tabellenLaden()
{
    cboBand->addItem(QStringLiteral("frei"));
    QString grund;
    m_baender = baenderLaden(m_baenderPfad, &grund);
    const QLocale locale;
    for (const Band &band : std::as_const(m_baender))
        cboBand->addItem(QStringLiteral("%1 (%2 bis %3 MHz)")
                             .arg(band.name, baenderZahlText(band.vonMHz, QLocale()),
                                  baenderZahlText(band.bisMHz, QLocale())));
    if (m_baender.isEmpty())
        cboBand->setToolTip(grund.isEmpty() ? QStringLiteral("Die Bandliste ist leer.") : grund);

    // The guarded reader: a pipe in the table's place never blocks the window.
    const Kabelliste kabel = kabellisteLesen(m_tabellen);
    m_kabel = kabel.kabel;
    if (!kabel.vorhanden || !kabel.fehler.isEmpty())
        lblKabelHinweis->setText(
            QStringLiteral("Die Kabeltabelle fehlt; die Werte des Kabels bitte eintippen."));
    else if (!kabel.hinweise.isEmpty())
        lblKabelHinweis->setText(kabel.hinweise.join(QLatin1Char('\n')));
    for (const Kabeltyp &k : std::as_const(m_kabel))
        cboKabel->addItem(kabelItemText(k, locale).simplified());

    if (m_werte.KabelLaenge > 0.0F)
        // As the input dialog shows it: whole metres.
        txtLaenge->setText(formatZahl(m_werte.KabelLaenge, QStringLiteral("###0"), QLocale()));
    if (m_werte.KabelIndex >= 0 && m_werte.KabelIndex < cboKabel->count()) {
        cboKabel->setCurrentIndex(m_werte.KabelIndex);
        kabelGewaehlt();
    }
}

void FrmLeitung::kabelGewaehlt()
{
    const int index = cboKabel->currentIndex();
    if (index < 0 || index >= m_kabel.size())
        return;
    QString grund;
    const auto daten = kabeldatenLesen(m_kabel.at(index), &grund);
    if (!daten) {
        lblKabelHinweis->setText(grund);
        return;
    }
    txtVk->setText(baenderZahlText(daten->Vk, QLocale()));
    txtKabelZ->setText(baenderZahlText(daten->impedanz, QLocale()));
    txtDaempfung->setText(daempfungsfeld(daten->punkte, std::nullopt, QLocale()).mid(2));
    const QString problem = kabeldatenPruefen(*daten);
    if (!problem.isEmpty())
        lblKabelHinweis->setText(problem);
    else if (daten->punkte.isEmpty())
        lblKabelHinweis->setText(QStringLiteral("Für dieses Kabel sind keine Dämpfungswerte "
                                                "bekannt; es wird ohne Verluste gerechnet."));
    else
        lblKabelHinweis->clear();
}

void FrmLeitung::bandGewaehlt()
{
    const int index = cboBand->currentIndex() - 1;
    if (index < 0 || index >= m_baender.size())
        return;
    txtVon->setText(baenderZahlText(m_baender.at(index).vonMHz, QLocale()));
    txtBis->setText(baenderZahlText(m_baender.at(index).bisMHz, QLocale()));
}

LeitungsTexte FrmLeitung::texteLesen() const
{
    LeitungsTexte texte;
    texte.von = txtVon->text();
    texte.bis = txtBis->text();
    texte.kabelZ = txtKabelZ->text();
    texte.vk = txtVk->text();
    texte.daempfung = txtDaempfung->text();
    texte.laenge = txtLaenge->text();
    texte.lastR = txtLastR->text();
    texte.lastX = txtLastX->text();
    texte.verluste = chkVerluste->isChecked();
    return texte;
}

QString FrmLeitung::kabelTyp() const
{
    const int index = cboKabel->currentIndex();
    return index >= 0 && index < m_kabel.size() ? m_kabel.at(index).Typ : QStringLiteral("Kabel");
}

bool FrmLeitung::anzeigen()
{
    const bool gemessen = optMessdatei->isChecked();
    if (gemessen && !m_messdaten) {
        meldung(QStringLiteral("Bitte zuerst eine Messdatei wählen."), Symbol::Stopp);
        return false;
    }
    QString grund;
    const auto anfrage = gemessen ? messanfrageLesen(texteLesen(), *m_messdaten, grund)
                                  : leitungsanfrageLesen(texteLesen(), grund);
    if (!anfrage) {
        meldung(grund, Symbol::Stopp);
        return false;
    }
    m_ui.sanduhr();
    const Leitungseingabe &e = anfrage->eingabe;
    QString ueberschrift =
        QStringLiteral("%1, %2 m, ").arg(kabelTyp(), baenderZahlText(e.laenge, QLocale()));
    Leitungsergebnis neu;
    QStringList hinweise;
    if (gemessen) {
        const Messort ort = cboMessort->currentIndex() == 1 ? Messort::Sender : Messort::Antenne;
        ueberschrift += QStringLiteral("Messung „%1“ %2")
                            .arg(QFileInfo(m_messdatei).fileName(), cboMessort->currentText());
        neu = ergebnisAusMessung(*anfrage, ort, *m_messdaten, anfrage->vonMHz, anfrage->bisMHz,
                                 ueberschrift, m_baender, &hinweise);
    } else {
        const QList<Leitungswerte> werte =
            leitungsverlauf(e, anfrage->vonMHz, anfrage->bisMHz, 400);
        if (const QString problem = leitungsverlaufPruefen(werte); !problem.isEmpty()) {
            m_ui.normalerZeiger();
            meldung(problem, Symbol::Stopp);
            return false;
        }
        ueberschrift += QStringLiteral("Antenne %1 %2 j%3 Ω")
                            .arg(baenderZahlText(e.ZL.real(), QLocale()),
                                 e.ZL.imag() < 0.0 ? QStringLiteral("−") : QStringLiteral("+"),
                                 baenderZahlText(std::abs(e.ZL.imag()), QLocale()));
        neu = ergebnisAusLast(*anfrage, werte, ueberschrift, m_baender);
    }
    if (e.verluste && !e.verlust.vorhanden) {
        neu.diagramm.ueberschrift += QStringLiteral(" (keine Dämpfungswerte: ohne Verluste)");
        neu.smith.ueberschrift = neu.diagramm.ueberschrift;
    }
    neu.beschreibung =
        QStringLiteral("%1 m %2").arg(baenderZahlText(e.laenge, QLocale()), kabelTyp());
    zeigen(std::move(neu), hinweise);
    m_ui.normalerZeiger();
    return true;
}

void FrmLeitung::zeigen(Leitungsergebnis ergebnis, const QStringList &hinweise)
{
    *m_ergebnis = std::move(ergebnis);
    // The summary stands below the chart in the window; exports keep it.
    m_ergebnis->diagramm.mitZusammenfassung = false;
    m_veraltet = false;
    picDiagramm->markiert = -1;
    QStringList zusammenfassung;
    if (!m_ergebnis->diagramm.werte.isEmpty())
        zusammenfassung << leitungsZusammenfassung(m_ergebnis->diagramm, QLocale());
    zusammenfassung << hinweise << anpassungMitte(*m_ergebnis, QLocale());
    lblZusammenfassung->setText(zusammenfassung.join(QLatin1Char('\n')));
    ablesen(int(m_ergebnis->punkte.size() / 2));
    cmdExportieren->setEnabled(true);
    cmdDrucken->setEnabled(true);
    picDiagramm->update();
    picSmith->update();
}

void FrmLeitung::veralten()
{
    if (m_ergebnis->leer() || m_veraltet)
        return;
    m_veraltet = true;
    const QString hinweis = QStringLiteral(" – veraltet, „Anzeigen“ rechnet neu");
    m_ergebnis->diagramm.ueberschrift += hinweis;
    m_ergebnis->smith.ueberschrift += hinweis;
    cmdExportieren->setEnabled(false);
    cmdDrucken->setEnabled(false);
    picDiagramm->update();
    picSmith->update();
}

void FrmLeitung::ablesen(int index)
{
    if (index < 0 || index >= m_ergebnis->punkte.size())
        return;
    const Messwerte &w = m_ergebnis->punkte.at(index);
    // The chart's sample of this frequency, if it has one.
    const auto stelle =
        std::lower_bound(m_ergebnis->verlaufIndex.cbegin(), m_ergebnis->verlaufIndex.cend(), index);
    const int probe = stelle != m_ergebnis->verlaufIndex.cend() && *stelle == index
                          ? int(stelle - m_ergebnis->verlaufIndex.cbegin())
                          : -1;
    lblAblesung->setText(m_ergebnis->gemessen || probe < 0
                             ? messAblesung(w, QLocale())
                             : leitungsAblesung(m_ergebnis->diagramm.werte.at(probe), QLocale()));
    const QList<QStringList> zeilen = anpassungZeilen(w.zSender, w.fMHz, QLocale());
    tblAnpassung->setRowCount(int(zeilen.size()));
    for (int zeile = 0; zeile < zeilen.size(); ++zeile) {
        for (int spalte = 0; spalte < zeilen.at(zeile).size(); ++spalte)
            tblAnpassung->setItem(zeile, spalte, new QTableWidgetItem(zeilen.at(zeile).at(spalte)));
    }
    const QString f = baenderZahlText(w.fMHz, QLocale());
    lblAnpassung->setText(
        !w.zSender ? QStringLiteral("Anpassung bei %1 MHz: Lücke, keine Impedanz am "
                                    "Sender.")
                         .arg(f)
        : zeilen.isEmpty() ? QStringLiteral("Anpassung bei %1 MHz: keine nötig.").arg(f)
                           : QStringLiteral("Anpassung an 50 Ω bei %1 MHz:").arg(f));
    picDiagramm->markiert = probe;
    m_ergebnis->smith.markiert = index;
    picDiagramm->update();
    picSmith->update();
}

bool FrmLeitung::exportieren(const QString &datei)
{
    if (m_ergebnis->leer() || m_veraltet) {
        meldung(QStringLiteral("Das Ergebnis ist veraltet; bitte erst „Anzeigen“ wählen."),
                Symbol::Ausrufezeichen);
        return false;
    }
    const Exportergebnis ergebnis =
        ergebnisExportieren(*m_ergebnis, datei, tabAnsicht->currentWidget() == picSmith);
    if (!ergebnis.geschrieben())
        meldung(ergebnis.meldung, Symbol::Ausrufezeichen);
    return ergebnis.geschrieben();
}

void FrmLeitung::exportierenFragen()
{
    const bool smith = tabAnsicht->currentWidget() == picSmith;
    QString filter =
        smith ? QStringLiteral("PNG-Bild (*.png)") : QStringLiteral("CSV-Tabelle (*.csv)");
    const QString datei = QFileDialog::getSaveFileName(
        this, QStringLiteral("Leitungsanalyse exportieren"),
        exportVorschlag(kabelTyp(), txtLaenge->text(),
                        smith ? QStringLiteral("png") : QStringLiteral("csv")),
        QStringLiteral("CSV-Tabelle (*.csv);;Touchstone (*.s1p);;PNG-Bild (*.png);;"
                       "SVG-Grafik (*.svg);;PDF-Dokument (*.pdf)"),
        &filter);
    if (!datei.isEmpty())
        exportieren(mitFilterEndung(datei, filter));
}

void FrmLeitung::messdateiWaehlen()
{
    const QString pfad = QFileDialog::getOpenFileName(
        this, QStringLiteral("Messdatei öffnen"), QFileInfo(m_messdatei).path(),
        QStringLiteral("Messdateien (*.s1p *.S1P *.ts *.csv *.CSV);;Alle Dateien (*)"));
    if (!pfad.isEmpty())
        messdateiLaden(pfad);
}

bool FrmLeitung::messdateiLaden(const QString &pfad)
{
    m_ui.sanduhr();
    Messlesung lesung = messdatenLesen(pfad);
    m_ui.normalerZeiger();
    if (!lesung.gelesen()) {
        meldung(lesung.meldung, Symbol::Stopp);
        return false;
    }
    const auto [von, bis] = messdateiBereich(lesung.daten);
    m_messdaten = std::make_unique<Messdaten>(std::move(lesung.daten));
    m_messdatei = pfad;
    QStringList &benutzt = benutzteMessdateien();
    benutzt.removeAll(pfad);
    benutzt.prepend(pfad);
    messdateienFuellen();
    optMessdatei->setChecked(true);
    cboBand->setCurrentIndex(0);
    txtVon->setText(baenderZahlText(von, QLocale()));
    txtBis->setText(baenderZahlText(bis, QLocale()));
    QStringList hinweise = m_messdaten->hinweise;
    hinweise.prepend(QStringLiteral("%1 Frequenzen von %2 bis %3 MHz, Bezug %4 Ω.")
                         .arg(m_messdaten->punkte.size())
                         .arg(baenderZahlText(von, QLocale()), baenderZahlText(bis, QLocale()),
                              baenderZahlText(m_messdaten->bezug, QLocale())));
    lblMesshinweis->setText(hinweise.join(QLatin1Char('\n')));
    veralten();
    return true;
}

void FrmLeitung::messdateienFuellen()
{
    const QSignalBlocker sperre(cboMessdatei);
    cboMessdatei->clear();
    for (const QString &pfad : std::as_const(benutzteMessdateien()))
        cboMessdatei->addItem(QFileInfo(pfad).fileName(), pfad);
    cboMessdatei->setCurrentIndex(cboMessdatei->findData(m_messdatei));
}

void FrmLeitung::keyPressEvent(QKeyEvent *ereignis)
{
    switch (ereignis->key()) {
    case Qt::Key_Escape:
        close();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Fields and lists pass Enter on: it computes, or presses the
        // button that has the focus.
        if (auto *knopf = qobject_cast<QPushButton *>(focusWidget()))
            knopf->click();
        else
            anzeigen();
        return;
    default:
        QWidget::keyPressEvent(ereignis);
    }
}

void FrmLeitung::drucken()
{
    m_ui.sanduhr();
    try {
        // Laid out for the paper, so that the labels print at 8 pt or more
        // (8.5 pt on the printable width, a little less within the margins
        // a printer keeps), and drawn four pixels to a unit for fine lines.
        const QSizeF seite(einheitenAusTwips(m_drucker.seitenbreiteTwips()),
                           einheitenAusTwips(m_drucker.seitenhoeheTwips()));
        const bool smith = tabAnsicht->currentWidget() == picSmith;
        const QSize flaeche =
            zeichenflaecheFuerSeite(seite, smith ? smithDesignGroesse() : leitungsDesignGroesse(),
                                    diagrammSchrift().pointSizeF(), 8.5)
                .toSize();
        Leitungsdiagramm papier = m_ergebnis->diagramm;
        papier.mitZusammenfassung = true;
        m_drucker.bildDrucken(smith ? smithdiagrammBild(m_ergebnis->smith, flaeche, 4.0)
                                    : leitungsdiagrammBild(papier, flaeche, 4.0));
    } catch (const Laufzeitfehler &fehler) {
        m_ui.normalerZeiger();
        m_ui.meldung(fehler.beschreibung() + m_werte.ZeilenEnde +
                         QStringLiteral("Das Diagramm kann nicht gedruckt werden."),
                     QStringLiteral(" Drucker-Fehler "), Symbol::Ausrufezeichen, Knoepfe::Ok);
        return;
    }
    m_ui.normalerZeiger();
}

void FrmLeitung::meldung(const QString &text, Symbol symbol)
{
    m_ui.meldung(text, kTitel, symbol, Knoepfe::Ok);
}

} // namespace varo
