#include "frmleitung.h"

#include "drucker.h"
#include "druckflaeche.h"
#include "kabeldaten.h"
#include "diagrammschrift.h"
#include "laufzeitfehler.h"
#include "leitungsanfrage.h"
#include "leitungsexport.h"
#include "oberflaeche.h"
#include "werte.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <functional>

namespace varo {

// The chart surface: draws the window's chart at its own size and reports
// the sample under the mouse.
class Leitungsflaeche : public QWidget
{
public:
    explicit Leitungsflaeche(const Leitungsdiagramm &diagramm, QWidget *parent)
        : QWidget(parent), m_diagramm(diagramm)
    {
        setMouseTracking(true);
        setMinimumSize(leitungsDesignGroesse() / 2);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    }

    std::function<void(int)> beiZeiger;
    int markiert = -1;

    QSize sizeHint() const override { return leitungsDesignGroesse(); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        leitungsdiagrammZeichnen(painter, m_diagramm, QSizeF(size()), markiert);
    }
    void mouseMoveEvent(QMouseEvent *ereignis) override
    {
        const int index = leitungsIndexBei(m_diagramm, QSizeF(size()), ereignis->position().x());
        if (index != markiert) {
            markiert = index;
            update();
            if (beiZeiger)
                beiZeiger(index);
        }
    }

private:
    const Leitungsdiagramm &m_diagramm;
};

namespace {

const QString kTitel = QStringLiteral("Leitungsanalyse");

QLineEdit *feld(const char *name, const QString &text, const QString &tipp)
{
    auto *f = new QLineEdit(text);
    f->setObjectName(QLatin1String(name));
    f->setToolTip(tipp);
    return f;
}

QString zahlText(double wert)
{
    QLocale l;
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    return l.toString(wert, 'g', 7);
}

} // namespace

FrmLeitung::FrmLeitung(Programmwerte &werte, Oberflaeche &ui, Drucker &drucker, QWidget *parent)
    : FrmLeitung(werte, ui, drucker, Kabeltabellen::programm(), baenderPfad(), parent)
{
}

FrmLeitung::FrmLeitung(Programmwerte &werte, Oberflaeche &ui, Drucker &drucker,
                       const Kabeltabellen &tabellen, const QString &baenderPfad, QWidget *parent)
    : QWidget(parent, Qt::Window), m_werte(werte), m_ui(ui), m_drucker(drucker),
      m_tabellen(tabellen), m_baenderPfad(baenderPfad)
{
    setObjectName(QStringLiteral("frmLeitung"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(kTitel);
    oberflaecheAufbauen();
    tabellenLaden();
}

void FrmLeitung::oberflaecheAufbauen()
{
    auto *frequenz = new QGroupBox(QStringLiteral("Frequenzbereich"), this);
    txtVon = feld("txtVon", QStringLiteral("7"), QStringLiteral("tiefste Frequenz in MHz"));
    txtBis = feld("txtBis", QStringLiteral("7,2"), QStringLiteral("höchste Frequenz in MHz"));
    cboBand = new QComboBox;
    cboBand->setObjectName(QStringLiteral("cboBand"));
    cboBand->setToolTip(QStringLiteral("Amateurfunkband der IARU Region 1"));
    auto *frequenzen = new QFormLayout(frequenz);
    frequenzen->addRow(QStringLiteral("&Band:"), cboBand);
    auto *vonBis = new QHBoxLayout;
    vonBis->addWidget(txtVon);
    vonBis->addWidget(new QLabel(QStringLiteral("bis")));
    vonBis->addWidget(txtBis);
    vonBis->addWidget(new QLabel(QStringLiteral("MHz")));
    auto *vonLabel = new QLabel(QStringLiteral("&von:"));
    vonLabel->setBuddy(txtVon);
    frequenzen->addRow(vonLabel, vonBis);

    auto *kabel = new QGroupBox(QStringLiteral("Kabel"), this);
    cboKabel = new QComboBox;
    cboKabel->setObjectName(QStringLiteral("cboKabel"));
    cboKabel->setToolTip(QStringLiteral("Kabel aus der Kabeltabelle"));
    cboKabel->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cboKabel->setMinimumContentsLength(18);
    txtKabelZ = feld("txtKabelZ", QStringLiteral("50"), QStringLiteral("Impedanz des Kabels"));
    txtVk = feld("txtVk", QStringLiteral("0,66"), QStringLiteral("Verkürzungsfaktor"));
    txtDaempfung = feld("txtDaempfung", QString(),
                        QStringLiteral("Dämpfung aus dem Datenblatt: Frequenz in MHz / dB pro "
                                       "100 m, mehrere durch \";\" getrennt"));
    txtLaenge = feld("txtLaenge", QStringLiteral("30"), QStringLiteral("Kabellänge"));
    lblKabelHinweis = new QLabel;
    lblKabelHinweis->setObjectName(QStringLiteral("lblKabelHinweis"));
    lblKabelHinweis->setWordWrap(true);
    auto *kabelFelder = new QFormLayout(kabel);
    kabelFelder->addRow(QStringLiteral("&Typ:"), cboKabel);
    kabelFelder->addRow(QStringLiteral("&Impedanz/Ω:"), txtKabelZ);
    kabelFelder->addRow(QStringLiteral("V&k:"), txtVk);
    kabelFelder->addRow(QStringLiteral("&Dämpfung (MHz/dB pro 100 m):"), txtDaempfung);
    kabelFelder->addRow(QStringLiteral("&Länge/m:"), txtLaenge);
    kabelFelder->addRow(lblKabelHinweis);

    auto *antenne = new QGroupBox(QStringLiteral("Antenne"), this);
    txtLastR = feld("txtLastR", QStringLiteral("50"), QStringLiteral("Wirkanteil R in Ω"));
    txtLastX = feld("txtLastX", QStringLiteral("0"),
                    QStringLiteral("Blindanteil X in Ω, induktiv positiv, kapazitiv negativ"));
    chkVerluste = new QCheckBox(QStringLiteral("Verluste berücksichtigen"));
    chkVerluste->setObjectName(QStringLiteral("chkVerluste"));
    chkVerluste->setChecked(true);
    auto *antennenFelder = new QFormLayout(antenne);
    antennenFelder->addRow(QStringLiteral("&R/Ω:"), txtLastR);
    antennenFelder->addRow(QStringLiteral("&X/Ω:"), txtLastX);
    antennenFelder->addRow(chkVerluste);

    const auto knopf = [this](const char *name, const QString &text) {
        auto *k = new QPushButton(text, this);
        k->setObjectName(QLatin1String(name));
        return k;
    };
    cmdAnzeigen = knopf("cmdAnzeigen", QStringLiteral("&Anzeigen"));
    cmdExportieren = knopf("cmdExportieren", QStringLiteral("&Exportieren …"));
    cmdDrucken = knopf("cmdDrucken", QStringLiteral("D&rucken"));
    cmdSchliessen = knopf("cmdSchliessen", QStringLiteral("&Schliessen"));
    cmdAnzeigen->setDefault(true);
    cmdExportieren->setEnabled(false);
    cmdDrucken->setEnabled(false);
    auto *knoepfe = new QVBoxLayout;
    for (QPushButton *k : {cmdAnzeigen, cmdExportieren, cmdDrucken, cmdSchliessen})
        knoepfe->addWidget(k);
    knoepfe->addStretch();

    picDiagramm = new Leitungsflaeche(m_diagramm, this);
    picDiagramm->setObjectName(QStringLiteral("picDiagramm"));
    picDiagramm->beiZeiger = [this](int index) { ablesen(index); };
    lblAblesung = new QLabel(QStringLiteral(" "));
    lblAblesung->setObjectName(QStringLiteral("lblAblesung"));
    lblAblesung->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblZusammenfassung = new QLabel(QStringLiteral(" "));
    lblZusammenfassung->setObjectName(QStringLiteral("lblZusammenfassung"));
    lblZusammenfassung->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *oben = new QHBoxLayout;
    auto *links = new QVBoxLayout;
    links->addWidget(frequenz);
    links->addWidget(antenne);
    links->addStretch();
    oben->addLayout(links);
    oben->addWidget(kabel, 1);
    oben->addLayout(knoepfe);
    auto *fenster = new QVBoxLayout(this);
    fenster->addLayout(oben);
    fenster->addWidget(picDiagramm, 1);
    fenster->addWidget(lblAblesung);
    fenster->addWidget(lblZusammenfassung);

    connect(cmdAnzeigen, &QPushButton::clicked, this, &FrmLeitung::anzeigen);
    connect(cmdExportieren, &QPushButton::clicked, this, &FrmLeitung::exportierenFragen);
    connect(cmdDrucken, &QPushButton::clicked, this, &FrmLeitung::drucken);
    connect(cmdSchliessen, &QPushButton::clicked, this, &QWidget::close);
    connect(cboKabel, &QComboBox::activated, this, &FrmLeitung::kabelGewaehlt);
    connect(cboBand, &QComboBox::activated, this, &FrmLeitung::bandGewaehlt);
    for (QLineEdit *f : {txtVon, txtBis}) {
        // A typed edge no longer is the chosen band's.
        connect(f, &QLineEdit::textEdited, this, [this] { cboBand->setCurrentIndex(0); });
    }
    for (QLineEdit *f :
         {txtVon, txtBis, txtKabelZ, txtVk, txtDaempfung, txtLaenge, txtLastR, txtLastX})
        connect(f, &QLineEdit::returnPressed, this, &FrmLeitung::anzeigen);
}

void FrmLeitung::tabellenLaden()
{
    cboBand->addItem(QStringLiteral("frei"));
    QString grund;
    m_baender = baenderLaden(m_baenderPfad, &grund);
    const QLocale locale;
    for (const Band &band : std::as_const(m_baender))
        cboBand->addItem(QStringLiteral("%1 (%2 bis %3 MHz)")
                             .arg(band.name, zahlText(band.vonMHz), zahlText(band.bisMHz)));
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
        txtLaenge->setText(zahlText(m_werte.KabelLaenge));
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
    txtVk->setText(zahlText(daten->Vk));
    txtKabelZ->setText(zahlText(daten->impedanz));
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
    txtVon->setText(zahlText(m_baender.at(index).vonMHz));
    txtBis->setText(zahlText(m_baender.at(index).bisMHz));
}

bool FrmLeitung::anzeigen()
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
    QString grund;
    const auto anfrage = leitungsanfrageLesen(texte, grund);
    if (!anfrage) {
        meldung(grund, Symbol::Stopp);
        return false;
    }

    m_ui.sanduhr();
    Leitungsdiagramm neu;
    neu.werte = leitungsverlauf(anfrage->eingabe, anfrage->vonMHz, anfrage->bisMHz, 400);
    if (const QString problem = leitungsverlaufPruefen(neu.werte); !problem.isEmpty()) {
        m_ui.normalerZeiger();
        meldung(problem, Symbol::Stopp);
        return false;
    }
    neu.mitVerlust = anfrage->eingabe.verluste && anfrage->eingabe.verlust.vorhanden;
    const QString typ = cboKabel->currentIndex() >= 0 && cboKabel->currentIndex() < m_kabel.size()
                            ? m_kabel.at(cboKabel->currentIndex()).Typ
                            : QStringLiteral("Kabel");
    neu.ueberschrift =
        QStringLiteral("%1, %2 m, Antenne %3 %4 j%5 Ω")
            .arg(typ, zahlText(anfrage->eingabe.laenge), zahlText(anfrage->eingabe.ZL.real()),
                 anfrage->eingabe.ZL.imag() < 0.0 ? QStringLiteral("−") : QStringLiteral("+"),
                 zahlText(std::abs(anfrage->eingabe.ZL.imag())));
    if (anfrage->eingabe.verluste && !anfrage->eingabe.verlust.vorhanden)
        neu.ueberschrift += QStringLiteral(" (keine Dämpfungswerte: ohne Verluste)");
    m_diagramm = neu;
    picDiagramm->markiert = -1;
    picDiagramm->update();
    lblZusammenfassung->setText(leitungsZusammenfassung(m_diagramm, QLocale()));
    ablesen(int(m_diagramm.werte.size() / 2));
    cmdExportieren->setEnabled(true);
    cmdDrucken->setEnabled(true);
    m_ui.normalerZeiger();
    return true;
}

void FrmLeitung::ablesen(int index)
{
    if (index < 0 || index >= m_diagramm.werte.size())
        return;
    lblAblesung->setText(leitungsAblesung(m_diagramm.werte.at(index), QLocale()));
}

bool FrmLeitung::exportieren(const QString &datei)
{
    const Exportergebnis ergebnis = leitungExportieren(m_diagramm, datei);
    if (!ergebnis.geschrieben())
        meldung(ergebnis.meldung, Symbol::Ausrufezeichen);
    return ergebnis.geschrieben();
}

void FrmLeitung::exportierenFragen()
{
    const QString datei = QFileDialog::getSaveFileName(
        this, QStringLiteral("Leitungsanalyse exportieren"), QString(),
        QStringLiteral("CSV-Tabelle (*.csv);;PNG-Bild (*.png);;SVG-Grafik (*.svg);;"
                       "PDF-Dokument (*.pdf)"));
    if (!datei.isEmpty())
        exportieren(datei);
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
        const QSize flaeche = zeichenflaecheFuerSeite(seite, leitungsDesignGroesse(),
                                                      diagrammSchrift().pointSizeF(), 8.5)
                                  .toSize();
        m_drucker.bildDrucken(leitungsdiagrammBild(m_diagramm, flaeche, 4.0));
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
