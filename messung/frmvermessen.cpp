#include "frmvermessen.h"

#include "baender.h"
#include "dateilesen.h"
#include "kabeldaten.h"
#include "messdaten.h"
#include "vermessbild.h"
#include "zahlenformat.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace varo {

// The chart surface: draws the window's chart at its own size.
class Vermessflaeche : public QWidget
{
public:
    explicit Vermessflaeche(QWidget *parent) : QWidget(parent)
    {
        setMinimumSize(vermessDesignGroesse() / 2);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    }

    std::optional<Kabelmessergebnis> ergebnis;
    QString ueberschrift;

    QSize sizeHint() const override { return vermessDesignGroesse(); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const Kabelmessergebnis leer;
        vermessbildZeichnen(painter, vermessbildBerechnen(ergebnis ? *ergebnis : leer, ueberschrift,
                                                          QSizeF(size()), QLocale()));
    }
};

namespace {

const QString kTitel = QStringLiteral("Kabel vermessen");

QLineEdit *feld(const char *name, const QString &tipp)
{
    auto *f = new QLineEdit;
    f->setObjectName(QLatin1String(name));
    f->setToolTip(tipp);
    return f;
}

QPushButton *knopf(const char *name, const QString &text)
{
    auto *k = new QPushButton(text);
    k->setObjectName(QLatin1String(name));
    return k;
}

QLabel *beschriftung(const char *name)
{
    auto *l = new QLabel;
    l->setObjectName(QLatin1String(name));
    l->setWordWrap(true);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}

// A file field with its chooser button beside it.
QHBoxLayout *dateizeile(QLineEdit *feld, QPushButton *waehlen)
{
    auto *zeile = new QHBoxLayout;
    zeile->addWidget(feld, 1);
    zeile->addWidget(waehlen);
    return zeile;
}

} // namespace

FrmVermessen::FrmVermessen(Oberflaeche &ui, QWidget *parent)
    : FrmVermessen(ui, Kabeltabellen::programm(), parent)
{
}

FrmVermessen::FrmVermessen(Oberflaeche &ui, const Kabeltabellen &tabellen, QWidget *parent)
    : QWidget(parent, Qt::Window), m_ui(ui), m_tabellen(tabellen)
{
    setObjectName(QStringLiteral("frmVermessen"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(kTitel);
    oberflaecheAufbauen();
    kabelLaden();
    txtOffen->setFocus();
}

void FrmVermessen::oberflaecheAufbauen()
{
    cmdRechnen = knopf("cmdRechnen", QStringLiteral("&Rechnen"));
    cmdSchliessen = knopf("cmdSchliessen", QStringLiteral("&Schließen"));
    cmdRechnen->setDefault(true);
    auto *knoepfe = new QVBoxLayout;
    knoepfe->addWidget(cmdRechnen);
    knoepfe->addWidget(cmdSchliessen);
    knoepfe->addStretch();

    auto *links = new QVBoxLayout;
    links->addWidget(eingabenAufbauen());
    links->addWidget(kuerzungAufbauen());
    links->addStretch();
    auto *oben = new QHBoxLayout;
    oben->addLayout(links, 1);
    oben->addWidget(ergebnisAufbauen(), 1);
    oben->addLayout(knoepfe);

    picDiagramm = new Vermessflaeche(this);
    picDiagramm->setObjectName(QStringLiteral("picDiagramm"));
    auto *fenster = new QVBoxLayout(this);
    fenster->addLayout(oben);
    fenster->addWidget(picDiagramm, 1);

    connect(cmdRechnen, &QPushButton::clicked, this, &FrmVermessen::rechnen);
    connect(cmdSchliessen, &QPushButton::clicked, this, &QWidget::close);
    connect(cmdUebernehmen, &QPushButton::clicked, this, &FrmVermessen::uebernehmen);
    connect(cmdKuerzen, &QPushButton::clicked, this, &FrmVermessen::kuerzen);
    for (QLineEdit *f : {txtOffen, txtKurz, txtLaenge, txtVk, txtName})
        connect(f, &QLineEdit::returnPressed, this, &FrmVermessen::rechnen);
    connect(txtZiel, &QLineEdit::returnPressed, this, &FrmVermessen::kuerzen);
}

QWidget *FrmVermessen::eingabenAufbauen()
{
    auto *gruppe = new QGroupBox(QStringLiteral("Messung"), this);
    txtOffen = feld("txtOffen", QStringLiteral("Messung mit offenem Ende: Touchstone-Datei "
                                               "(.s1p) oder CSV eines Analysators"));
    txtKurz = feld("txtKurz", QStringLiteral("Messung mit kurzgeschlossenem Ende über dieselben "
                                             "Frequenzen; leer: nur das offene Ende"));
    txtLaenge = feld("txtLaenge", QStringLiteral("Länge des gemessenen Stücks in m"));
    txtVk = feld("txtVk", QStringLiteral("Statt der Länge: der bekannte Verkürzungsfaktor; die "
                                         "Länge wird dann berechnet"));
    txtName = feld("txtName", QStringLiteral("Typname der vorgeschlagenen Tabellenzeile"));
    cboKabel = new QComboBox;
    cboKabel->setObjectName(QStringLiteral("cboKabel"));
    cboKabel->setToolTip(QStringLiteral("Das Kabel, das es sein soll: seine Nennwerte ordnen "
                                        "die Messung zu, wenn sie allein nicht reicht"));
    cboKabel->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cboKabel->setMinimumContentsLength(18);
    auto *cmdOffen = knopf("cmdOffen", QStringLiteral("…"));
    auto *cmdKurz = knopf("cmdKurz", QStringLiteral("…"));
    connect(cmdOffen, &QPushButton::clicked, this,
            [this] { dateiWaehlen(txtOffen, QStringLiteral("Messung mit offenem Ende")); });
    connect(cmdKurz, &QPushButton::clicked, this, [this] {
        dateiWaehlen(txtKurz, QStringLiteral("Messung mit kurzgeschlossenem Ende"));
    });

    auto *felder = new QFormLayout(gruppe);
    const auto zeile = [felder](const QString &text, QWidget *buddy, QLayout *inhalt) {
        auto *label = new QLabel(text);
        label->setBuddy(buddy);
        felder->addRow(label, inhalt);
    };
    zeile(QStringLiteral("&Offenes Ende:"), txtOffen, dateizeile(txtOffen, cmdOffen));
    zeile(QStringLiteral("K&urzgeschlossen:"), txtKurz, dateizeile(txtKurz, cmdKurz));
    felder->addRow(QStringLiteral("&Länge/m:"), txtLaenge);
    felder->addRow(QStringLiteral("oder bekannter &Vk:"), txtVk);
    felder->addRow(QStringLiteral("&Kabel:"), cboKabel);
    felder->addRow(QStringLiteral("&Name der Zeile:"), txtName);
    return gruppe;
}

QWidget *FrmVermessen::ergebnisAufbauen()
{
    auto *gruppe = new QGroupBox(QStringLiteral("Ergebnis"), this);
    lblErgebnis = beschriftung("lblErgebnis");
    tblWerte = new QTableWidget(0, 3);
    tblWerte->setObjectName(QStringLiteral("tblWerte"));
    tblWerte->setHorizontalHeaderLabels(
        {QStringLiteral("f/MHz"), QStringLiteral("Zo/Ω"), QStringLiteral("dB pro 100 m")});
    tblWerte->verticalHeader()->hide();
    tblWerte->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tblWerte->horizontalHeader()->setStretchLastSection(true);
    tblWerte->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblWerte->setMinimumHeight(120);
    txtZeile = feld("txtZeile", QStringLiteral("Die vorgeschlagene Zeile der Kabeltabelle"));
    txtZeile->setReadOnly(true);
    cmdUebernehmen = knopf("cmdUebernehmen", QStringLiteral("In eigene Kabeltabelle &übernehmen"));
    cmdUebernehmen->setEnabled(false);
    lblTabelle = beschriftung("lblTabelle");
    auto *spalte = new QVBoxLayout(gruppe);
    spalte->addWidget(lblErgebnis);
    spalte->addWidget(tblWerte, 1);
    spalte->addWidget(new QLabel(QStringLiteral("Vorgeschlagene Zeile:")));
    spalte->addWidget(txtZeile);
    spalte->addWidget(cmdUebernehmen);
    spalte->addWidget(lblTabelle);
    return gruppe;
}

QWidget *FrmVermessen::kuerzungAufbauen()
{
    auto *gruppe = new QGroupBox(QStringLiteral("Auf Resonanz kürzen"), this);
    txtZiel = feld("txtZiel", QStringLiteral("Frequenz in MHz, auf der die Leitung resonieren "
                                             "soll"));
    cboArt = new QComboBox;
    cboArt->setObjectName(QStringLiteral("cboArt"));
    for (const Leitungsart art :
         {Leitungsart::ViertelwelleOffen, Leitungsart::ViertelwelleKurz, Leitungsart::Halbwelle})
        cboArt->addItem(leitungsartName(art));
    cmdKuerzen = knopf("cmdKuerzen", QStringLiteral("Länge &berechnen"));
    lblKuerzung = beschriftung("lblKuerzung");
    auto *felder = new QFormLayout(gruppe);
    felder->addRow(QStringLiteral("&Zielfrequenz/MHz:"), txtZiel);
    felder->addRow(QStringLiteral("&Art:"), cboArt);
    felder->addRow(cmdKuerzen, lblKuerzung);
    return gruppe;
}

void FrmVermessen::kabelLaden()
{
    const QString gewaehlt = cboKabel->currentText();
    cboKabel->clear();
    cboKabel->addItem(QStringLiteral("(keines)"));
    const Kabelliste liste = kabellisteLesen(m_tabellen);
    m_kabel = liste.kabel;
    const QLocale locale;
    for (const Kabeltyp &k : std::as_const(m_kabel))
        cboKabel->addItem(kabelItemText(k, locale).simplified());
    cboKabel->setCurrentIndex(std::max(0, cboKabel->findText(gewaehlt)));
}

void FrmVermessen::dateiWaehlen(QLineEdit *feld, const QString &titel)
{
    const QString datei = QFileDialog::getOpenFileName(
        this, titel, QFileInfo(feld->text()).absolutePath(),
        QStringLiteral("Messungen (*.s1p *.S1P *.csv *.CSV);;Alle Dateien (*)"));
    if (!datei.isEmpty())
        feld->setText(QDir::toNativeSeparators(datei));
}

bool FrmVermessen::meldung(const QString &text, Symbol symbol)
{
    m_ui.meldung(text, kTitel, symbol, Knoepfe::Ok);
    return false;
}

// Length or Vk (exactly one, both numbers), the chosen cable and the name;
// a fault is told and nothing is returned.
std::optional<Messangaben> FrmVermessen::angabenLesen()
{
    Messangaben angaben;
    const std::pair<QLineEdit *, std::optional<double> *> zahlen[] = {{txtLaenge, &angaben.laenge},
                                                                      {txtVk, &angaben.Vk}};
    for (const auto &[f, wert] : zahlen) {
        if (f->text().trimmed().isEmpty())
            continue;
        bool ok = false;
        const double zahl = baenderZahl(f->text(), &ok);
        if (!ok) {
            meldung(QStringLiteral("„%1“ ist keine Zahl.").arg(f->text().left(40)));
            f->setFocus();
            return std::nullopt;
        }
        *wert = zahl;
    }
    const int index = cboKabel->currentIndex() - 1;
    if (index >= 0 && index < m_kabel.size()) {
        QString grund;
        angaben.kabel = kabeldatenLesen(m_kabel.at(index), &grund);
        if (!angaben.kabel) {
            meldung(QStringLiteral("Das Kabel „%1“ ist unbrauchbar: %2")
                        .arg(m_kabel.at(index).Typ, grund));
            return std::nullopt;
        }
    }
    angaben.name = txtName->text();
    return angaben;
}

bool FrmVermessen::rechnen()
{
    if (txtOffen->text().trimmed().isEmpty()) {
        txtOffen->setFocus();
        return meldung(QStringLiteral("Bitte die Datei der Messung mit offenem Ende angeben."));
    }
    const auto angaben = angabenLesen();
    if (!angaben)
        return false;
    std::optional<QList<Messpunkt>> offen, kurz;
    for (const auto &[f, punkte] : {std::pair{txtOffen, &offen}, {txtKurz, &kurz}}) {
        const QString pfad = f->text().trimmed();
        if (pfad.isEmpty())
            continue;
        const Messlesung lesung = messdatenLesen(QDir::fromNativeSeparators(pfad));
        if (!lesung.gelesen())
            return meldung(lesung.meldung);
        *punkte = lesung.daten.punkte;
    }
    m_ui.sanduhr();
    const Kabelmessung messung = kabelVermessen(*offen, kurz, *angaben);
    m_ui.normalerZeiger();
    if (!messung.ok())
        return meldung(messung.grund);
    const QLocale locale;
    const Kabelmessergebnis &e = messung.ergebnis;
    anzeigen(e, QStringLiteral("%1: %2 m, %3")
                    .arg(kabelZerlegen(e.zeile).Typ, formatZahl(e.laenge, "0.0##", locale),
                         kurz ? QStringLiteral("Ende offen und kurzgeschlossen")
                              : QStringLiteral("Ende offen")));
    return true;
}

void FrmVermessen::anzeigen(const Kabelmessergebnis &ergebnis, const QString &ueberschrift)
{
    m_ergebnis = ergebnis;
    const QLocale locale;
    QStringList zeilen = kabelmessungText(ergebnis, std::nullopt, locale);
    zeilen.removeLast(); // the row has its own field
    zeilen.removeIf([](const QString &z) { return z.startsWith(QStringLiteral("Dämpfung bei")); });
    lblErgebnis->setText(zeilen.join(QLatin1Char('\n')));
    const QList<Vermesszeile> werte = vermesszeilen(ergebnis);
    tblWerte->setRowCount(int(werte.size()));
    for (int i = 0; i < werte.size(); ++i) {
        const Vermesszeile &w = werte.at(i);
        const QStringList texte{formatZahl(w.fMHz, QStringLiteral("0.###"), locale),
                                impedanzText(w.Zo, locale),
                                formatZahl(w.dBPro100m, QStringLiteral("0.00"), locale)};
        for (int spalte = 0; spalte < texte.size(); ++spalte)
            tblWerte->setItem(i, spalte, new QTableWidgetItem(texte.at(spalte)));
    }
    txtZeile->setText(ergebnis.zeile);
    txtZeile->setCursorPosition(0);
    cmdUebernehmen->setEnabled(true);
    lblTabelle->clear();
    lblKuerzung->clear();
    picDiagramm->ergebnis = ergebnis;
    picDiagramm->ueberschrift = ueberschrift;
    picDiagramm->update();
}

void FrmVermessen::keyPressEvent(QKeyEvent *ereignis)
{
    if (ereignis->key() == Qt::Key_Escape && ereignis->modifiers() == Qt::NoModifier)
        close();
    else
        QWidget::keyPressEvent(ereignis);
}

QString FrmVermessen::eigeneTabelle() const
{
    return m_tabellen.eigen.isEmpty() ? eigeneKabeltabellePfad() : m_tabellen.eigen;
}

bool FrmVermessen::uebernehmen()
{
    if (!m_ergebnis)
        return meldung(QStringLiteral("Bitte zuerst rechnen."), Symbol::Information);
    const QString pfad = eigeneTabelle();
    const QString anzeige = QDir::toNativeSeparators(pfad);
    if (const QString grund = eigeneKabeltabelleAnlegen(pfad); !grund.isEmpty())
        return meldung(QStringLiteral("Die eigene Kabeltabelle „%1“ kann nicht angelegt werden: "
                                      "%2")
                           .arg(anzeige, grund));
    const Dateiinhalt inhalt = dateiLesen(pfad, maxTabellenBytes);
    if (!inhalt.vollstaendig)
        return meldung(QStringLiteral("Die eigene Kabeltabelle „%1“ kann nicht gelesen werden: %2")
                           .arg(anzeige, inhalt.fehler));
    const QStringList zeilen = kabelDateiZeilen(inhalt.daten);
    const QString zeile = m_ergebnis->zeile;
    const int gleich = zeileGleichenNamens(zeilen, zeile);
    if (gleich >= 0 &&
        m_ui.meldung(QStringLiteral("In „%1“ steht in Zeile %2 schon ein Kabel dieses Namens:\n"
                                    "%3\n\nDurch die neue Zeile ersetzen?\n%4")
                         .arg(anzeige)
                         .arg(gleich + 1)
                         .arg(zeilen.at(gleich), zeile),
                     kTitel, Symbol::Frage, Knoepfe::OkAbbrechen) != Antwort::Ok)
        return false;
    int index = gleich;
    if (const QString grund = dateiSchreiben(pfad, tabelleMitZeile(zeilen, zeile, index));
        !grund.isEmpty())
        return meldung(QStringLiteral("Die eigene Kabeltabelle „%1“ kann nicht geschrieben "
                                      "werden: %2")
                           .arg(anzeige, grund));
    lblTabelle->setText((gleich >= 0 ? QStringLiteral("Zeile %1 in „%2“ ersetzt.")
                                     : QStringLiteral("Als Zeile %1 in „%2“ übernommen."))
                            .arg(index + 1)
                            .arg(anzeige));
    kabelLaden();
    return true;
}

bool FrmVermessen::kuerzen()
{
    if (!m_ergebnis)
        return meldung(QStringLiteral("Bitte zuerst rechnen: die Länge folgt aus dem gemessenen "
                                      "Verkürzungsfaktor."),
                       Symbol::Information);
    bool ok = false;
    const double ziel = baenderZahl(txtZiel->text(), &ok);
    const auto art = leitungsartAusName(cboArt->currentText());
    QString grund = QStringLiteral("„%1“ ist keine Zahl.").arg(txtZiel->text().left(40));
    const auto kuerzung =
        ok && art ? kuerzungBerechnen(ziel, *art, m_ergebnis->VkMittel, m_ergebnis->laenge, &grund)
                  : std::nullopt;
    if (!kuerzung) {
        txtZiel->setFocus();
        return meldung(grund);
    }
    lblKuerzung->setText(kuerzungText(*kuerzung, QLocale()));
    return true;
}

} // namespace varo
