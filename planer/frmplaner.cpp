#include "frmplaner.h"

#include "baender.h"
#include "kabeltabelle.h"
#include "konvertierung.h"
#include "laufzeitfehler.h"
#include "planergrafik.h"
#include "planflaeche.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace varo {

namespace {

// The bands ticked when the window opens: the classic HF bands of a
// multiband wire antenna.
const QStringList vorgewaehlt = {QStringLiteral("80m"), QStringLiteral("40m"),
                                 QStringLiteral("20m"), QStringLiteral("15m"),
                                 QStringLiteral("10m")};

// The cable chosen at the start, as in the other windows.
constexpr int kVorgabeKabel = 4;

QDoubleSpinBox *zahlenfeld(const char *name, double von, double bis, int stellen, double wert,
                           const QString &einheit, QWidget *eltern)
{
    auto *feld = new QDoubleSpinBox(eltern);
    feld->setObjectName(QLatin1String(name));
    feld->setRange(von, bis);
    feld->setDecimals(stellen);
    feld->setValue(wert);
    feld->setSuffix(einheit);
    feld->setAccelerated(true);
    feld->setKeyboardTracking(true);
    return feld;
}

QString laengeText(const Planung &p, qint64 i, const QLocale &locale)
{
    return locale.toString(p.laenge(i), 'f',
                           laengenStellen(p.anfrage.vonLaenge, p.anfrage.schritt)) +
           QStringLiteral(" m");
}

QString gradText(double wert, const QLocale &locale)
{
    return locale.toString(wert, 'f', 2) + QStringLiteral("°");
}

} // namespace

FrmPlaner::FrmPlaner(Berichten berichten, QWidget *parent)
    : FrmPlaner(std::move(berichten), baenderPfad(), Kabeltabellen::programm(), parent)
{
}

FrmPlaner::FrmPlaner(Berichten berichten, const QString &bandliste,
                     const Kabeltabellen &kabeltabellen, QWidget *parent)
    : QWidget(parent, Qt::Window), m_berichten(std::move(berichten))
{
    setObjectName(QStringLiteral("frmPlaner"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Längenplaner"));
    oberflaecheAufbauen();
    baenderLaden(bandliste);
    kabelLaden(kabeltabellen);

    connect(lstBaender, &QListWidget::itemChanged, this, &FrmPlaner::neuPlanen);
    connect(txtBereiche, &QLineEdit::textChanged, this, &FrmPlaner::neuPlanen);
    connect(cboKabel, &QComboBox::currentTextChanged, this, &FrmPlaner::neuPlanen);
    for (QDoubleSpinBox *feld : {txtVon, txtBis, txtSchritt, txtAbstand})
        connect(feld, &QDoubleSpinBox::valueChanged, this, &FrmPlaner::neuPlanen);
    connect(picPlan, &Planflaeche::laengeGezeigt, this, &FrmPlaner::laengeZeigen);
    connect(picPlan, &Planflaeche::bereichGezogen, this, &FrmPlaner::bereichUebernehmen);
    connect(cmdBericht, &QPushButton::clicked, this, &FrmPlaner::cmdBericht_Click);
    connect(cmdExport, &QPushButton::clicked, this, &FrmPlaner::cmdExport_Click);
    connect(cmdSchliessen, &QPushButton::clicked, this, &QWidget::close);
    neuPlanen();
}

void FrmPlaner::oberflaecheAufbauen()
{
    auto *baender = new QGroupBox(QStringLiteral("&Bänder"), this);
    lstBaender = new QListWidget(baender);
    lstBaender->setObjectName(QStringLiteral("lstBaender"));
    txtBereiche = new QLineEdit(baender);
    txtBereiche->setObjectName(QStringLiteral("txtBereiche"));
    txtBereiche->setPlaceholderText(QStringLiteral("z. B. 14-14,35/50-52"));
    auto *bereicheText = new QLabel(QStringLiteral("&Eigene Bereiche in MHz:"), baender);
    bereicheText->setBuddy(txtBereiche);
    auto *bandSpalte = new QVBoxLayout(baender);
    bandSpalte->addWidget(lstBaender);
    bandSpalte->addWidget(bereicheText);
    bandSpalte->addWidget(txtBereiche);

    auto *eingaben = new QGroupBox(QStringLiteral("Kabel und Längen"), this);
    cboKabel = new QComboBox(eingaben);
    cboKabel->setObjectName(QStringLiteral("cboKabel"));
    cboKabel->setEditable(true);
    cboKabel->setInsertPolicy(QComboBox::NoInsert);
    cboKabel->setToolTip(QStringLiteral("Kabel aus der Kabeltabelle oder ein Verkürzungsfaktor"));
    txtVon = zahlenfeld("txtVon", 0.01, 10000.0, 3, 3.0, QStringLiteral(" m"), eingaben);
    txtBis = zahlenfeld("txtBis", 0.01, 10000.0, 3, 40.0, QStringLiteral(" m"), eingaben);
    txtSchritt = zahlenfeld("txtSchritt", 0.001, 100.0, 3, 0.01, QStringLiteral(" m"), eingaben);
    txtSchritt->setSingleStep(0.001);
    txtAbstand = zahlenfeld("txtAbstand", 0.0, 90.0, 1, 20.0, QStringLiteral("°"), eingaben);
    auto *formular = new QFormLayout(eingaben);
    formular->addRow(QStringLiteral("&Kabel / Vk:"), cboKabel);
    formular->addRow(QStringLiteral("Länge &von:"), txtVon);
    formular->addRow(QStringLiteral("Länge b&is:"), txtBis);
    formular->addRow(QStringLiteral("&Schritt:"), txtSchritt);
    formular->addRow(QStringLiteral("Geforderter &Abstand:"), txtAbstand);

    cmdBericht = new QPushButton(QStringLiteral("An das &Hauptfenster"), this);
    cmdBericht->setObjectName(QStringLiteral("cmdBericht"));
    cmdBericht->setToolTip(QStringLiteral("Die freien Bereiche als Bericht im Hauptfenster"));
    cmdExport = new QPushButton(QStringLiteral("Grafik e&xportieren …"), this);
    cmdExport->setObjectName(QStringLiteral("cmdExport"));
    cmdSchliessen = new QPushButton(QStringLiteral("S&chließen"), this);
    cmdSchliessen->setObjectName(QStringLiteral("cmdSchliessen"));

    auto *links = new QVBoxLayout;
    links->addWidget(baender, 1);
    links->addWidget(eingaben);
    links->addWidget(cmdBericht);
    links->addWidget(cmdExport);
    links->addWidget(cmdSchliessen);

    picPlan = new Planflaeche(this);
    picPlan->setObjectName(QStringLiteral("picPlan"));
    lblAnzeige = new QLabel(this);
    lblAnzeige->setObjectName(QStringLiteral("lblAnzeige"));
    lblAnzeige->setText(QStringLiteral("Länge, Abstand und begrenzendes Band unter der Maus"));
    lblMeldung = new QLabel(this);
    lblMeldung->setObjectName(QStringLiteral("lblMeldung"));
    lblMeldung->setWordWrap(true);
    lblMeldung->setStyleSheet(QStringLiteral("color: #b00000"));
    lblBeste = new QLabel(this);
    lblBeste->setObjectName(QStringLiteral("lblBeste"));
    QFont fett = lblBeste->font();
    fett.setBold(true);
    lblBeste->setFont(fett);
    lstFrei = new QTreeWidget(this);
    lstFrei->setObjectName(QStringLiteral("lstFrei"));
    lstFrei->setRootIsDecorated(false);
    lstFrei->setHeaderLabels({QStringLiteral("von"), QStringLiteral("bis"),
                              QStringLiteral("beste Länge"), QStringLiteral("Abstand")});
    lstFrei->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    lstFrei->headerItem()->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);

    auto *unten = new QWidget(this);
    auto *untenSpalte = new QVBoxLayout(unten);
    untenSpalte->setContentsMargins(0, 0, 0, 0);
    untenSpalte->addWidget(lblAnzeige);
    untenSpalte->addWidget(lblMeldung);
    untenSpalte->addWidget(lblBeste);
    untenSpalte->addWidget(new QLabel(QStringLiteral("Freie Bereiche:"), unten));
    untenSpalte->addWidget(lstFrei);

    auto *teiler = new QSplitter(Qt::Vertical, this);
    teiler->addWidget(picPlan);
    teiler->addWidget(unten);
    teiler->setStretchFactor(0, 3);
    teiler->setStretchFactor(1, 2);

    auto *ganz = new QHBoxLayout(this);
    ganz->addLayout(links);
    ganz->addWidget(teiler, 1);
}

void FrmPlaner::baenderLaden(const QString &pfad)
{
    QString grund;
    m_bandliste = varo::baenderLaden(pfad, &grund);
    const QSignalBlocker still(lstBaender);
    for (const Band &band : std::as_const(m_bandliste)) {
        auto *eintrag =
            new QListWidgetItem(QStringLiteral("%1  (%2–%3 MHz)")
                                    .arg(band.name, locale().toString(band.vonMHz, 'f', 3),
                                         locale().toString(band.bisMHz, 'f', 3)),
                                lstBaender);
        eintrag->setFlags(eintrag->flags() | Qt::ItemIsUserCheckable);
        eintrag->setCheckState(vorgewaehlt.contains(band.name) ? Qt::Checked : Qt::Unchecked);
    }
    // Without the list, own ranges still work; the reason stays in sight.
    if (!grund.isEmpty())
        lstBaender->setToolTip(grund);
}

void FrmPlaner::kabelLaden(const Kabeltabellen &tabellen)
{
    const Kabelliste liste = kabellisteLesen(tabellen);
    const QSignalBlocker still(cboKabel);
    for (const Kabeltyp &kabel : liste.kabel)
        cboKabel->addItem(kabelItemText(kabel, locale()), kabel.Typ);
    // What was left out of the tables stays in sight.
    if (!liste.hinweise.isEmpty())
        cboKabel->setToolTip(liste.hinweise.join(QLatin1Char('\n')));
    if (cboKabel->count() > kVorgabeKabel)
        cboKabel->setCurrentIndex(kVorgabeKabel);
    else if (cboKabel->count() > 0)
        cboKabel->setCurrentIndex(0);
    else
        cboKabel->setEditText(locale().toString(0.66));
}

void FrmPlaner::neuPlanen()
{
    Planungsanfrage a;
    QString grund;
    for (int i = 0; i < lstBaender->count() && i < m_bandliste.size(); ++i) {
        if (lstBaender->item(i)->checkState() == Qt::Checked)
            a.baender.append(m_bandliste.at(i));
    }
    if (!txtBereiche->text().trimmed().isEmpty())
        a.baender += baenderWaehlen(txtBereiche->text(), m_bandliste, grund);

    const QString kabel = cboKabel->currentText();
    const int index = cboKabel->findText(kabel);
    m_kabelname = index >= 0 ? cboKabel->itemData(index).toString() : QString();
    try {
        a.vk = TextZuZahl(KommaZuPunkt(kabel));
    } catch (const Laufzeitfehler &) {
        a.vk = 0.0; // beyond any number: refused below as any other bad factor
    }
    a.vonLaenge = txtVon->value();
    a.bisLaenge = txtBis->value();
    a.schritt = txtSchritt->value();
    a.abstand = txtAbstand->value();
    if (grund.isEmpty())
        grund = planPruefen(a);

    m_meldung = grund;
    if (grund.isEmpty()) {
        m_planung = planen(a);
    } else {
        // The chart shows the bands and the range, without lengths.
        m_planung = Planung();
        m_planung.anfrage = a;
    }
    ergebnisZeigen();
}

void FrmPlaner::ergebnisZeigen()
{
    const QLocale l = locale();
    picPlan->setPlanung(&m_planung);
    lblAnzeige->clear(); // the length under the mouse belonged to the old plan
    lblMeldung->setText(m_meldung);
    lblMeldung->setVisible(!m_meldung.isEmpty());
    cmdBericht->setEnabled(m_meldung.isEmpty());
    cmdExport->setEnabled(m_meldung.isEmpty());

    lstFrei->clear();
    QList<QTreeWidgetItem *> zeilen;
    for (const Freibereich &f : m_planung.frei) {
        zeilen << new QTreeWidgetItem(
            QStringList{laengeText(m_planung, f.von, l), laengeText(m_planung, f.bis, l),
                        laengeText(m_planung, f.bester, l), gradText(f.besterAbstand, l)});
        for (int s = 0; s < 4; ++s)
            zeilen.back()->setTextAlignment(s, Qt::AlignRight | Qt::AlignVCenter);
    }
    lstFrei->addTopLevelItems(zeilen);

    if (!m_meldung.isEmpty() || m_planung.bester < 0)
        lblBeste->clear();
    else if (m_planung.frei.empty())
        lblBeste->setText(QStringLiteral("Kein Bereich erreicht den geforderten Abstand; am "
                                         "besten noch %1 mit %2.")
                              .arg(laengeText(m_planung, m_planung.bester, l),
                                   gradText(m_planung.besterAbstand, l)));
    else
        lblBeste->setText(QStringLiteral("Beste Länge: %1 mit %2 Abstand")
                              .arg(laengeText(m_planung, m_planung.bester, l),
                                   gradText(m_planung.besterAbstand, l)));
}

void FrmPlaner::laengeZeigen(qint64 index)
{
    if (index < 0 || index >= m_planung.anzahl) {
        lblAnzeige->clear();
        return;
    }
    const qint16 band = m_planung.begrenzend[static_cast<size_t>(index)];
    QString text = QStringLiteral("Länge %1   Abstand %2")
                       .arg(laengeText(m_planung, index, locale()),
                            gradText(m_planung.abstand[static_cast<size_t>(index)], locale()));
    if (band >= 0 && band < m_planung.anfrage.baender.size())
        text += QStringLiteral("   begrenzt durch %1").arg(m_planung.anfrage.baender.at(band).name);
    lblAnzeige->setText(text);
}

void FrmPlaner::bereichUebernehmen(double von, double bis)
{
    // One plan for both ends, not one after each field.
    {
        const QSignalBlocker a(txtVon);
        const QSignalBlocker b(txtBis);
        txtVon->setValue(von);
        txtBis->setValue(bis);
    }
    neuPlanen();
}

void FrmPlaner::cmdBericht_Click()
{
    if (m_meldung.isEmpty() && m_berichten)
        m_berichten(m_planung, m_kabelname);
}

bool FrmPlaner::exportieren(const QString &datei, QString &grund) const
{
    if (!m_meldung.isEmpty()) {
        grund = m_meldung;
        return false;
    }
    const Exportergebnis ergebnis = planExportieren(m_planung, datei, picPlan->size());
    grund = ergebnis.meldung;
    return ergebnis.geschrieben();
}

void FrmPlaner::cmdExport_Click()
{
    const QString datei = QFileDialog::getSaveFileName(
        this, QStringLiteral("Grafik exportieren"), QStringLiteral("Varolinaten-Planung.png"),
        QStringLiteral("PNG-Bild (*.png);;SVG-Grafik (*.svg);;PDF-Dokument (*.pdf)"));
    if (datei.isEmpty())
        return;
    QString grund;
    if (!exportieren(datei, grund))
        QMessageBox::warning(this, QStringLiteral("Grafik exportieren"), grund);
}

} // namespace varo
