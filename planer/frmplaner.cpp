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
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
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

QWidget *FrmPlaner::eingabenAufbauen(QWidget *eltern)
{
    auto *spalte = new QWidget(eltern);
    auto *baender = new QGroupBox(QStringLiteral("&Bänder"), spalte);
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

    auto *eingaben = new QGroupBox(QStringLiteral("Kabel und Längen"), spalte);
    cboKabel = new QComboBox(eingaben);
    cboKabel->setObjectName(QStringLiteral("cboKabel"));
    cboKabel->setEditable(true);
    cboKabel->setInsertPolicy(QComboBox::NoInsert);
    cboKabel->setToolTip(QStringLiteral("Kabel aus der Kabeltabelle oder ein Verkürzungsfaktor"));
    // Long cable items must not widen the window beyond small screens.
    cboKabel->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cboKabel->setMinimumContentsLength(16);
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

    cmdBericht = new QPushButton(QStringLiteral("An das &Hauptfenster"), spalte);
    cmdBericht->setObjectName(QStringLiteral("cmdBericht"));
    cmdBericht->setToolTip(QStringLiteral("Die freien Bereiche als Bericht im Hauptfenster"));
    cmdExport = new QPushButton(QStringLiteral("Grafik e&xportieren …"), spalte);
    cmdExport->setObjectName(QStringLiteral("cmdExport"));
    cmdSchliessen = new QPushButton(QStringLiteral("S&chließen"), spalte);
    cmdSchliessen->setObjectName(QStringLiteral("cmdSchliessen"));

    auto *links = new QVBoxLayout(spalte);
    links->setContentsMargins(0, 0, 0, 0);
    links->addWidget(baender, 1);
    links->addWidget(eingaben);
    links->addWidget(cmdBericht);
    links->addWidget(cmdExport);
    links->addWidget(cmdSchliessen);
    return spalte;
}

QWidget *FrmPlaner::ergebnisAufbauen(QWidget *eltern)
{
    auto *teiler = new QSplitter(Qt::Vertical, eltern);
    picPlan = new Planflaeche(teiler);
    picPlan->setObjectName(QStringLiteral("picPlan"));
    auto *unten = new QWidget(teiler);
    lblAnzeige = new QLabel(unten);
    lblAnzeige->setObjectName(QStringLiteral("lblAnzeige"));
    lblAnzeige->setText(QStringLiteral("Länge, Abstand und begrenzendes Band unter der Maus"));
    lblMeldung = new QLabel(unten);
    lblMeldung->setObjectName(QStringLiteral("lblMeldung"));
    lblMeldung->setWordWrap(true);
    lblMeldung->setStyleSheet(QStringLiteral("color: #b00000"));
    lblBeste = new QLabel(unten);
    lblBeste->setObjectName(QStringLiteral("lblBeste"));
    QFont fett = lblBeste->font();
    fett.setBold(true);
    lblBeste->setFont(fett);
    lblWeggelassen = new QLabel(unten);
    lblWeggelassen->setObjectName(QStringLiteral("lblWeggelassen"));
    lblWeggelassen->setWordWrap(true);
    lstFrei = new QTreeWidget(unten);
    lstFrei->setObjectName(QStringLiteral("lstFrei"));
    lstFrei->setRootIsDecorated(false);
    lstFrei->setHeaderLabels({QStringLiteral("von"), QStringLiteral("bis"),
                              QStringLiteral("beste Länge"), QStringLiteral("Abstand")});
    lstFrei->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    lstFrei->headerItem()->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);

    auto *untenSpalte = new QVBoxLayout(unten);
    untenSpalte->setContentsMargins(0, 0, 0, 0);
    untenSpalte->addWidget(lblAnzeige);
    untenSpalte->addWidget(lblMeldung);
    untenSpalte->addWidget(lblBeste);
    untenSpalte->addWidget(new QLabel(QStringLiteral("Freie Bereiche:"), unten));
    untenSpalte->addWidget(lblWeggelassen);
    untenSpalte->addWidget(lstFrei);
    teiler->addWidget(picPlan);
    teiler->addWidget(unten);
    teiler->setStretchFactor(0, 3);
    teiler->setStretchFactor(1, 2);
    return teiler;
}

void FrmPlaner::oberflaecheAufbauen()
{
    // Everything scrolls, so the window fits small and scaled screens; on a
    // large one the chart takes the room.
    auto *rollen = new QScrollArea(this);
    rollen->setObjectName(QStringLiteral("rollPlaner"));
    rollen->setFrameShape(QFrame::NoFrame);
    rollen->setWidgetResizable(true);
    auto *inhalt = new QWidget(rollen);
    auto *ganz = new QHBoxLayout(inhalt);
    ganz->addWidget(eingabenAufbauen(inhalt));
    ganz->addWidget(ergebnisAufbauen(inhalt), 1);
    rollen->setWidget(inhalt);
    auto *fenster = new QVBoxLayout(this);
    fenster->setContentsMargins(0, 0, 0, 0);
    fenster->addWidget(rollen);

    // Tab walks down the left column, then to the chart's list.
    setTabOrder(lstBaender, txtBereiche);
    setTabOrder(txtBereiche, cboKabel);
    setTabOrder(cboKabel, txtVon);
    setTabOrder(txtVon, txtBis);
    setTabOrder(txtBis, txtSchritt);
    setTabOrder(txtSchritt, txtAbstand);
    setTabOrder(txtAbstand, cmdBericht);
    setTabOrder(cmdBericht, cmdExport);
    setTabOrder(cmdExport, cmdSchliessen);
    setTabOrder(cmdSchliessen, lstFrei);
    lstBaender->setFocus(Qt::OtherFocusReason);
    setFocusProxy(lstBaender);

    auto *esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    esc->setContext(Qt::WidgetWithChildrenShortcut);
    connect(esc, &QShortcut::activated, this, &QWidget::close);

    // Open as large as the contents want, but never beyond the screen.
    const QSize bildschirm = screen() ? screen()->availableSize() : QSize(1024, 600);
    resize(inhalt->sizeHint().boundedTo(bildschirm * 9 / 10));
}

void FrmPlaner::baenderLaden(const QString &pfad)
{
    QString grund;
    m_bandliste = varo::baenderLaden(pfad, &grund);
    const QSignalBlocker still(lstBaender);
    for (const Band &band : std::as_const(m_bandliste)) {
        // The edges with the digits they have: 60 m is 5,3515–5,3665 MHz.
        auto *eintrag =
            new QListWidgetItem(QStringLiteral("%1  (%2–%3 MHz)")
                                    .arg(band.name, baenderZahlText(band.vonMHz, locale()),
                                         baenderZahlText(band.bisMHz, locale())),
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
    // A long item shows its beginning, the velocity factor and the type.
    const auto anfangZeigen = [this] { cboKabel->lineEdit()->setCursorPosition(0); };
    anfangZeigen();
    connect(cboKabel, &QComboBox::activated, this, anfangZeigen);
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
    if (index >= 0) {
        // An item of the table starts with its velocity factor.
        try {
            a.vk = TextZuZahl(KommaZuPunkt(kabel));
        } catch (const Laufzeitfehler &) {
            a.vk = 0.0; // beyond any number: refused below as any other bad factor
        }
    } else {
        // A typed factor is a number as a whole or refused.
        QString nichtLesbar;
        a.vk = feldZahl(kabel, QStringLiteral("Kabel / Vk"), nichtLesbar).value_or(0.0);
        if (grund.isEmpty())
            grund = nichtLesbar;
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
    // Ranges too narrow to cut cable to are left out, and the list says so.
    const Freiliste liste = freiliste(m_planung);
    lblWeggelassen->setText(weggelassenHinweis(liste.weggelassen));
    lblWeggelassen->setVisible(liste.weggelassen > 0);
    QList<QTreeWidgetItem *> zeilen;
    for (const Freibereich &f : liste.bereiche) {
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
    // At least as large as the chart on screen, with title and legend.
    const Exportergebnis ergebnis =
        planExportieren(m_planung, datei, planExportGroesse(m_planung, picPlan->size()));
    grund = ergebnis.meldung;
    return ergebnis.geschrieben();
}

void FrmPlaner::cmdExport_Click()
{
    QFileDialog dialog(this, QStringLiteral("Grafik exportieren"), QString(), bildFilter());
    dialog.setObjectName(QStringLiteral("dlgExport"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.selectFile(QStringLiteral("Varolinaten-Planung.png"));
    // A name typed without an ending gets the chosen filter's one, before
    // the dialog asks about replacing a file.
    dialog.setDefaultSuffix(QStringLiteral("png"));
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString &filter) {
        dialog.setDefaultSuffix(
            QFileInfo(bildEndungErgaenzen(QStringLiteral("x"), filter)).suffix());
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString datei =
        bildEndungErgaenzen(dialog.selectedFiles().constFirst(), dialog.selectedNameFilter());
    QString grund;
    if (!exportieren(datei, grund))
        QMessageBox::warning(this, QStringLiteral("Grafik exportieren"), grund);
}

} // namespace varo
