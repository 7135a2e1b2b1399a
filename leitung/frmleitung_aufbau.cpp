// The construction of the window "Leitungsanalyse": its fields, views and
// buttons in the order Tab visits them, and its connections.
#include "frmleitung.h"

#include "leitungsflaechen.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollArea>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace varo {

namespace {

QLineEdit *feld(const char *name, const QString &text, const QString &tipp)
{
    auto *f = new QLineEdit(text);
    f->setObjectName(QLatin1String(name));
    f->setToolTip(tipp);
    return f;
}

// A wrapped label that leaves the height to the layout: one that asks for
// its height by its width makes the scroll area give the content the height
// the charts would like, and the window would always scroll.
class Hinweislabel : public QLabel
{
public:
    Hinweislabel()
    {
        setWordWrap(true);
        setTextInteractionFlags(Qt::TextSelectableByMouse);
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    }
    bool hasHeightForWidth() const override { return false; }
    // As high as its lines at the width it has, so that the charts get the rest.
    QSize sizeHint() const override
    {
        const QSize hinweis = QLabel::sizeHint();
        return {hinweis.width(), heightForWidth(width() > 50 ? width() : hinweis.width())};
    }
    QSize minimumSizeHint() const override
    {
        return {QLabel::minimumSizeHint().width(), sizeHint().height()};
    }

protected:
    void resizeEvent(QResizeEvent *ereignis) override
    {
        QLabel::resizeEvent(ereignis);
        if (ereignis->oldSize().width() != width())
            updateGeometry();
    }
};

} // namespace

void FrmLeitung::oberflaecheAufbauen()
{
    const auto knopf = [this](const char *name, const QString &text) {
        auto *k = new QPushButton(text, this);
        k->setObjectName(QLatin1String(name));
        return k;
    };
    // The inputs first, in the order Tab visits them.
    QWidget *eingaben = eingabenAufbauen();
    cmdAnzeigen = knopf("cmdAnzeigen", QStringLiteral("&Anzeigen"));
    cmdExportieren = knopf("cmdExportieren", QStringLiteral("&Exportieren …"));
    cmdDrucken = knopf("cmdDrucken", QStringLiteral("D&rucken"));
    cmdSchliessen = knopf("cmdSchliessen", QStringLiteral("&Schließen"));
    cmdAnzeigen->setDefault(true);
    cmdExportieren->setEnabled(false);
    cmdDrucken->setEnabled(false);
    QWidget *ansicht = ansichtAufbauen();

    auto *inhalt = new QWidget;
    auto *inhaltLayout = new QVBoxLayout(inhalt);
    inhaltLayout->setContentsMargins(0, 0, 0, 0);
    inhaltLayout->addWidget(eingaben);
    inhaltLayout->addWidget(ansicht, 1);
    // Small or scaled screens scroll the window's content; the buttons stay.
    auto *rollen = new QScrollArea(this);
    rollen->setObjectName(QStringLiteral("scrInhalt"));
    rollen->setWidgetResizable(true);
    rollen->setFrameShape(QFrame::NoFrame);
    rollen->setWidget(inhalt);
    auto *knoepfe = new QVBoxLayout;
    for (QPushButton *k : {cmdAnzeigen, cmdExportieren, cmdDrucken, cmdSchliessen})
        knoepfe->addWidget(k);
    knoepfe->addStretch();
    auto *fenster = new QHBoxLayout(this);
    fenster->addWidget(rollen, 1);
    fenster->addLayout(knoepfe);
    verbinden();

    QWidget *reihe = cboBand;
    // Down the left column (range, cable), then the load on the right.
    for (QWidget *w : std::initializer_list<QWidget *>{
             txtVon,       txtBis,         cboKabel,     txtKabelZ,     txtVk,
             txtDaempfung, txtLaenge,      optLastRX,    txtLastR,      txtLastX,
             optMessdatei, cboMessdatei,   cmdMessdatei, cboMessort,    chkVerluste,
             cmdAnzeigen,  cmdExportieren, cmdDrucken,   cmdSchliessen, tabAnsicht}) {
        setTabOrder(reihe, w);
        reihe = w;
    }
    txtVon->setFocus();
    const QSize wunsch = inhalt->sizeHint() + QSize(knoepfe->sizeHint().width() + 40, 30);
    const QScreen *bildschirm = screen();
    resize(bildschirm ? wunsch.boundedTo(bildschirm->availableSize()) : wunsch);
}

QWidget *FrmLeitung::eingabenAufbauen()
{
    auto *eingaben = new QWidget;
    auto *frequenz = new QGroupBox(QStringLiteral("Frequenzbereich"));
    cboBand = new QComboBox;
    cboBand->setObjectName(QStringLiteral("cboBand"));
    cboBand->setToolTip(QStringLiteral("Amateurfunkband der IARU Region 1"));
    txtVon = feld("txtVon", QStringLiteral("7"), QStringLiteral("tiefste Frequenz in MHz"));
    txtBis = feld("txtBis", QStringLiteral("7,2"), QStringLiteral("höchste Frequenz in MHz"));
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
    QWidget *last = lastAufbauen();

    auto *kabel = new QGroupBox(QStringLiteral("Kabel"));
    cboKabel = new QComboBox;
    cboKabel->setObjectName(QStringLiteral("cboKabel"));
    cboKabel->setToolTip(QStringLiteral("Kabel aus der Kabeltabelle"));
    cboKabel->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cboKabel->setMinimumContentsLength(18);
    txtKabelZ = feld("txtKabelZ", QStringLiteral("50"), QStringLiteral("Impedanz des Kabels"));
    txtVk = feld("txtVk", QStringLiteral("0,66"), QStringLiteral("Verkürzungsfaktor"));
    txtDaempfung = feld("txtDaempfung", QString(),
                        QStringLiteral("Dämpfung aus dem Datenblatt: Frequenz in MHz / dB pro "
                                       "100 m, mehrere durch „;“ getrennt"));
    txtLaenge = feld("txtLaenge", QStringLiteral("30"), QStringLiteral("Kabellänge"));
    lblKabelHinweis = new Hinweislabel;
    lblKabelHinweis->setObjectName(QStringLiteral("lblKabelHinweis"));
    auto *kabelFelder = new QFormLayout(kabel);
    kabelFelder->addRow(QStringLiteral("&Typ:"), cboKabel);
    kabelFelder->addRow(QStringLiteral("&Impedanz/Ω:"), txtKabelZ);
    kabelFelder->addRow(QStringLiteral("V&k:"), txtVk);
    kabelFelder->addRow(QStringLiteral("&Dämpfung (MHz/dB pro 100 m):"), txtDaempfung);
    kabelFelder->addRow(QStringLiteral("&Länge/m:"), txtLaenge);
    kabelFelder->addRow(lblKabelHinweis);

    auto *links = new QVBoxLayout;
    links->setContentsMargins(0, 0, 0, 0);
    links->addWidget(frequenz);
    links->addWidget(kabel);
    links->addStretch();
    auto *reihe = new QHBoxLayout(eingaben);
    reihe->setContentsMargins(0, 0, 0, 0);
    reihe->addLayout(links, 1);
    reihe->addWidget(last, 1);
    return eingaben;
}

QWidget *FrmLeitung::lastAufbauen()
{
    auto *antenne = new QGroupBox(QStringLiteral("Last"));
    optLastRX = new QRadioButton(QStringLiteral("Antenne R + &jX"));
    optLastRX->setObjectName(QStringLiteral("optLastRX"));
    optLastRX->setChecked(true);
    txtLastR = feld("txtLastR", QStringLiteral("50"), QStringLiteral("Wirkanteil R in Ω"));
    txtLastX = feld("txtLastX", QStringLiteral("0"),
                    QStringLiteral("Blindanteil X in Ω, induktiv positiv, kapazitiv negativ"));
    optMessdatei = new QRadioButton(QStringLiteral("&Messdatei:"));
    optMessdatei->setObjectName(QStringLiteral("optMessdatei"));
    cboMessdatei = new QComboBox;
    cboMessdatei->setObjectName(QStringLiteral("cboMessdatei"));
    cboMessdatei->setToolTip(QStringLiteral("Die in dieser Sitzung schon benutzten Messdateien"));
    cboMessdatei->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cboMessdatei->setMinimumContentsLength(14);
    cmdMessdatei = new QPushButton(QStringLiteral("Datei &wählen …"));
    cmdMessdatei->setObjectName(QStringLiteral("cmdMessdatei"));
    cmdMessdatei->setToolTip(QStringLiteral("Touchstone-Datei (.s1p) oder CSV-Tabelle eines "
                                            "Antennenanalysators"));
    cboMessort = new QComboBox;
    cboMessort->setObjectName(QStringLiteral("cboMessort"));
    cboMessort->addItems(
        {QStringLiteral("an der Antenne"), QStringLiteral("am Sender, durch dieses Kabel")});
    lblMesshinweis = new Hinweislabel;
    lblMesshinweis->setObjectName(QStringLiteral("lblMesshinweis"));
    chkVerluste = new QCheckBox(QStringLiteral("Verluste berücksichtigen"));
    chkVerluste->setObjectName(QStringLiteral("chkVerluste"));
    chkVerluste->setChecked(true);

    auto *felder = new QFormLayout(antenne);
    felder->addRow(optLastRX);
    felder->addRow(QStringLiteral("&R/Ω:"), txtLastR);
    felder->addRow(QStringLiteral("&X/Ω:"), txtLastX);
    auto *datei = new QHBoxLayout;
    datei->addWidget(cboMessdatei, 1);
    datei->addWidget(cmdMessdatei);
    felder->addRow(optMessdatei);
    felder->addRow(datei);
    felder->addRow(QStringLiteral("gemessen &an:"), cboMessort);
    felder->addRow(lblMesshinweis);
    felder->addRow(chkVerluste);
    // The fields of the load not chosen rest.
    const auto wahl = [this] {
        const bool gemessen = optMessdatei->isChecked();
        txtLastR->setEnabled(!gemessen);
        txtLastX->setEnabled(!gemessen);
        cboMessort->setEnabled(gemessen);
    };
    connect(optMessdatei, &QRadioButton::toggled, this, wahl);
    wahl();
    return antenne;
}

QWidget *FrmLeitung::ansichtAufbauen()
{
    auto *ansicht = new QWidget;
    picDiagramm = new Leitungsflaeche(*m_ergebnis);
    picDiagramm->setObjectName(QStringLiteral("picDiagramm"));
    picDiagramm->beiZeiger = [this](int index) { ablesen(index); };
    picSmith = new Smithflaeche(*m_ergebnis);
    picSmith->setObjectName(QStringLiteral("picSmith"));
    picSmith->beiZeiger = [this](int index) { ablesen(index); };
    tabAnsicht = new QTabWidget;
    tabAnsicht->setObjectName(QStringLiteral("tabAnsicht"));
    tabAnsicht->addTab(picDiagramm, QStringLiteral("Diagramm"));
    tabAnsicht->addTab(picSmith, QStringLiteral("Smith-Diagramm"));

    lblAblesung = new Hinweislabel;
    lblAblesung->setObjectName(QStringLiteral("lblAblesung"));
    lblAnpassung = new QLabel(QStringLiteral("Anpassung an 50 Ω am Sender:"));
    lblAnpassung->setObjectName(QStringLiteral("lblAnpassung"));
    tblAnpassung = new QTableWidget(0, 5);
    tblAnpassung->setObjectName(QStringLiteral("tblAnpassung"));
    tblAnpassung->setHorizontalHeaderLabels({QStringLiteral("Schaltung"), QStringLiteral("X Reihe"),
                                             QStringLiteral("X Quer"), QStringLiteral("Reihe"),
                                             QStringLiteral("Quer")});
    tblAnpassung->verticalHeader()->hide();
    tblAnpassung->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Room for the four networks there can be at most, and no more.
    tblAnpassung->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    tblAnpassung->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    tblAnpassung->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    tblAnpassung->setFixedHeight(4 * tblAnpassung->verticalHeader()->defaultSectionSize() +
                                 tblAnpassung->horizontalHeader()->sizeHint().height() +
                                 2 * tblAnpassung->frameWidth());
    tblAnpassung->setFocusPolicy(Qt::NoFocus);
    lblZusammenfassung = new Hinweislabel;
    lblZusammenfassung->setObjectName(QStringLiteral("lblZusammenfassung"));

    auto *anpassung = new QVBoxLayout;
    anpassung->addWidget(lblAnpassung);
    anpassung->addWidget(tblAnpassung);
    auto *unten = new QHBoxLayout;
    unten->addWidget(lblAblesung, 1);
    unten->addLayout(anpassung, 1);
    auto *layout = new QVBoxLayout(ansicht);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tabAnsicht, 1);
    layout->addLayout(unten);
    layout->addWidget(lblZusammenfassung);
    return ansicht;
}

void FrmLeitung::verbinden()
{
    connect(cmdAnzeigen, &QPushButton::clicked, this, &FrmLeitung::anzeigen);
    connect(cmdExportieren, &QPushButton::clicked, this, &FrmLeitung::exportierenFragen);
    connect(cmdDrucken, &QPushButton::clicked, this, &FrmLeitung::drucken);
    connect(cmdSchliessen, &QPushButton::clicked, this, &QWidget::close);
    connect(cmdMessdatei, &QPushButton::clicked, this, &FrmLeitung::messdateiWaehlen);
    connect(cboKabel, &QComboBox::activated, this, &FrmLeitung::kabelGewaehlt);
    connect(cboBand, &QComboBox::activated, this, &FrmLeitung::bandGewaehlt);
    connect(cboMessdatei, &QComboBox::activated, this, [this](int index) {
        const QString pfad = cboMessdatei->itemData(index).toString();
        if (pfad != m_messdatei && !messdateiLaden(pfad))
            messdateienFuellen(); // back to the file in use
    });
    for (QLineEdit *f : {txtVon, txtBis}) {
        // A typed edge no longer is the chosen band's.
        connect(f, &QLineEdit::textEdited, this, [this] { cboBand->setCurrentIndex(0); });
    }
    // Whatever changes the request makes the shown result outdated.
    for (QLineEdit *f :
         {txtVon, txtBis, txtKabelZ, txtVk, txtDaempfung, txtLaenge, txtLastR, txtLastX})
        connect(f, &QLineEdit::textChanged, this, &FrmLeitung::veralten);
    for (QComboBox *c : {cboKabel, cboBand, cboMessort})
        connect(c, &QComboBox::currentIndexChanged, this, &FrmLeitung::veralten);
    connect(chkVerluste, &QCheckBox::toggled, this, &FrmLeitung::veralten);
    connect(optMessdatei, &QRadioButton::toggled, this, &FrmLeitung::veralten);
    connect(tabAnsicht, &QTabWidget::currentChanged, this, [this] {
        if (!m_ergebnis->leer())
            ablesen(m_ergebnis->smith.markiert);
    });
}

} // namespace varo
