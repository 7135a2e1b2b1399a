#include "frmtext.h"

#include "dokumentbefehle.h"
#include "drucker.h"
#include "eigenetabelle.h"
#include "formatvorlagen.h"
#include "frmabout.h"
#include "frmkabel.h"
#include "frmkabelkurve.h"
#include "frmleitung.h"
#include "frmplaner.h"
#include "frmvermessen.h"
#include "hilfe.h"
#include "kabeltabelle.h"
#include "qtoberflaeche.h"
#include "rechnen.h"
#include "rechnen_planer.h"
#include "schriften.h"
#include "statusleiste.h"
#include "twips.h"
#include "version.h"
#include "werte.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QMenuBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolBar>

// Resources of a static library must be registered by hand.
static void symboleLaden()
{
    Q_INIT_RESOURCE(hauptfenster);
}

namespace varo {

namespace {

// Report box geometry, in twips as the window was designed.
constexpr int randTwips = 60;
constexpr int clientBreiteTwips = 10464;
constexpr int clientHoeheTwips = 5592;

QIcon symbol(const char *thema, const char *ersatz)
{
    return QIcon::fromTheme(QLatin1String(thema),
                            QIcon(QStringLiteral(":/icons/") + QLatin1String(ersatz)));
}

} // namespace

FrmText::FrmText(Programmwerte &werte, Anschluesse anschluesse, QWidget *parent)
    : QMainWindow(parent), m_werte(werte), m_drucker(anschluesse.drucker),
      m_eigeneUi(anschluesse.ui ? nullptr : std::make_unique<QtOberflaeche>()),
      m_ui(anschluesse.ui ? anschluesse.ui : m_eigeneUi.get()), m_richTextBox(new QTextEdit),
      m_feld(*m_richTextBox), m_plattform(std::move(anschluesse.plattform))
{
    symboleLaden();
    setObjectName(QStringLiteral("frmText"));

    m_richTextBox->setObjectName(QStringLiteral("RichTextBox1"));
    // Report columns line up only where lines are not wrapped.
    m_richTextBox->setLineWrapMode(QTextEdit::NoWrap);
    m_richTextBox->setFont(festeSchrift(10));
    m_richTextBox->setAcceptRichText(true);

    auto *mitte = new QWidget(this);
    auto *layout = new QHBoxLayout(mitte);
    const int rand = twipsZuPixel(randTwips);
    layout->setContentsMargins(rand, 0, rand, 0);
    layout->setSpacing(0);
    layout->addWidget(m_richTextBox);
    setCentralWidget(mitte);

    Q_ASSERT(anschluesse.dialoge && m_plattform);
    m_befehle = std::make_unique<DokumentBefehle>(m_feld, m_drucker, *m_ui,
                                                  std::move(anschluesse.dialoge), this);

    aktionenAufbauen();
    menuesAufbauen();
    werkzeugleisteAufbauen();
    statusleisteAufbauen();

    if (m_eigeneUi) {
        m_eigeneUi->setElternfenster(this);
        m_eigeneUi->setHauptfensterZeigen([this] {
            show();
            raise();
            activateWindow();
        });
        m_eigeneUi->setEingabedialogVerbergen([this] {
            if (m_frmKabel)
                m_frmKabel->hide();
        });
    }

    // The client area excludes the menu bar, as the window was designed.
    resize(twipsZuPixel(clientBreiteTwips),
           twipsZuPixel(clientHoeheTwips) + menuBar()->sizeHint().height());

    Form_Load();
}

FrmText::~FrmText()
{
    // The windows closed at shutdown, and those without an owner (the curve
    // window), go with the main window, newest first as at shutdown.
    for (auto it = m_fenster.crbegin(); it != m_fenster.crend(); ++it)
        delete it->data();
}

int FrmText::twipsZuPixel(int twips) const
{
    return varo::twipsZuPixel(twips, logicalDpiX());
}

QString FrmText::titel(int major, int minor, int revision, const QString &rechtshinweis)
{
    return QStringLiteral(" Varolinaten - Berechnung V%1.%2.%3 %4")
        .arg(major)
        .arg(minor)
        .arg(revision)
        .arg(rechtshinweis);
}

QAction *FrmText::neueAktion(const char *name, const QString &beschriftung,
                             const QKeySequence &kurzwahl)
{
    auto *aktion = new QAction(beschriftung, this);
    aktion->setObjectName(QLatin1String(name));
    aktion->setShortcut(kurzwahl);
    return aktion;
}

void FrmText::aktionenAufbauen()
{
    m_mnuOpen =
        neueAktion("mnuOpen", QStringLiteral("&Öffnen"), QKeySequence(Qt::CTRL | Qt::Key_O));
    m_mnuOpen->setIcon(symbol("document-open", "oeffnen.svg"));
    m_mnuOpen->setToolTip(QStringLiteral("Öffnen *.RTF"));
    m_mnuOpen->setProperty("schluessel", QStringLiteral("Open"));

    m_mnuSave =
        neueAktion("mnuSave", QStringLiteral("&Speichern"), QKeySequence(Qt::CTRL | Qt::Key_S));
    m_mnuSave->setIcon(symbol("document-save", "speichern.svg"));
    m_mnuSave->setToolTip(QStringLiteral("Speichern als RTF"));
    m_mnuSave->setProperty("schluessel", QStringLiteral("Save"));

    m_mnuSuchen = neueAktion("mnuSuchen", QStringLiteral("S&uchen"));
    connect(m_mnuSuchen, &QAction::triggered, this, &FrmText::mnuSuchen_Click);
    m_mnuPrinterEinstellungen =
        neueAktion("mnuPrinter_Einstellungen", QStringLiteral("Drucker &einrichten"));

    m_mnuPrint =
        neueAktion("mnuPrint", QStringLiteral("&Drucken"), QKeySequence(Qt::CTRL | Qt::Key_D));
    m_mnuPrint->setIcon(symbol("document-print", "drucken.svg"));
    m_mnuPrint->setToolTip(QStringLiteral("Drucken"));
    m_mnuPrint->setProperty("schluessel", QStringLiteral("Print"));
    connect(m_mnuPrinterEinstellungen, &QAction::triggered, this,
            &FrmText::mnuPrinter_Einstellungen_Click);

    m_mnuExit =
        neueAktion("mnuExit", QStringLiteral("&Beenden"), QKeySequence(Qt::CTRL | Qt::Key_B));
    connect(m_mnuExit, &QAction::triggered, this, &FrmText::mnuExit_Click);

    rechenaktionenAufbauen();

    m_mnuFont =
        neueAktion("mnuFont", QStringLiteral("&Schrift"), QKeySequence(Qt::CTRL | Qt::Key_F));
    m_mnuFont->setIcon(symbol("format-text-bold", "schrift.svg"));
    m_mnuFont->setToolTip(QStringLiteral("Format: Schrift"));
    m_mnuFont->setProperty("schluessel", QStringLiteral("Font"));

    m_mnuStandard = neueAktion("mnuStandard", QStringLiteral("&Standard"));
    connect(m_mnuStandard, &QAction::triggered, this, &FrmText::mnuStandard_Click);
    m_mnuListing = neueAktion("mnuListing", QStringLiteral("&Listing"));
    connect(m_mnuListing, &QAction::triggered, this, &FrmText::mnuListing_Click);
    m_mnuText = neueAktion("mnuText", QStringLiteral("&Text"));
    connect(m_mnuText, &QAction::triggered, this, &FrmText::mnuText_Click);

    m_mnuHilfe = neueAktion("mnuHilfe", QStringLiteral("&Hilfe"), QKeySequence(Qt::Key_F1));
    connect(m_mnuHilfe, &QAction::triggered, this, &FrmText::mnuHilfe_Click);
    m_mnuInfo = neueAktion("mnuInfo", QStringLiteral("&Info"), QKeySequence(Qt::Key_F2));
    connect(m_mnuInfo, &QAction::triggered, this, &FrmText::mnuInfo_Click);

    // Save and print follow the document, so a shortcut never acts on a
    // stale state; opening "&Datei" refreshes them as well.
    connect(m_richTextBox->document(), &QTextDocument::contentsChanged, this,
            &FrmText::dateiEintraegeAktualisieren);
    // Once per turn of the event loop, however many rows a report appends.
    connect(m_richTextBox->document(), &QTextDocument::contentsChanged, this, [this] {
        if (m_ausrichtenGeplant)
            return;
        m_ausrichtenGeplant = true;
        QMetaObject::invokeMethod(this, &FrmText::zentrierteZeilenAusrichten, Qt::QueuedConnection);
    });
}

// The entries of the calculation menu, F3 to F9 and the own cable table.
void FrmText::rechenaktionenAufbauen()
{
    m_mnuRechnen =
        neueAktion("mnuRechnen", QStringLiteral("&eine Frequenz"), QKeySequence(Qt::Key_F3));
    m_mnuRechnMehrere = neueAktion("mnuRechnMehrere", QStringLiteral("&mehrere Frequenzen"),
                                   QKeySequence(Qt::Key_F4));
    m_mnuRechnVorhKabel =
        neueAktion("mnuRechnVorhKabel", QStringLiteral("&Textausgabe"), QKeySequence(Qt::Key_F5));
    connect(m_mnuRechnen, &QAction::triggered, this, &FrmText::mnuRechnen_Click);
    connect(m_mnuRechnMehrere, &QAction::triggered, this, &FrmText::mnuRechnMehrere_Click);
    connect(m_mnuRechnVorhKabel, &QAction::triggered, this, &FrmText::mnuRechnVorhKabel_Click);
    m_mnuRechnVorhKabelGrafisch = neueAktion(
        "mnuRechnVorhKabelGrafisch", QStringLiteral("&Grafikausgabe"), QKeySequence(Qt::Key_F6));
    connect(m_mnuRechnVorhKabelGrafisch, &QAction::triggered, this,
            &FrmText::mnuRechnVorhKabelGrafisch_Click);
    m_mnuLeitungsanalyse = neueAktion("mnuLeitungsanalyse", QStringLiteral("&Leitungsanalyse"),
                                      QKeySequence(Qt::Key_F7));
    connect(m_mnuLeitungsanalyse, &QAction::triggered, this, &FrmText::mnuLeitungsanalyse_Click);
    m_mnuVermessen =
        neueAktion("mnuVermessen", QStringLiteral("Kabel &vermessen …"), QKeySequence(Qt::Key_F9));
    connect(m_mnuVermessen, &QAction::triggered, this, &FrmText::mnuVermessen_Click);
    m_mnuLaengenplaner =
        neueAktion("mnuLaengenplaner", QStringLiteral("&Längenplaner"), QKeySequence(Qt::Key_F8));
    connect(m_mnuLaengenplaner, &QAction::triggered, this, &FrmText::mnuLaengenplaner_Click);
    m_mnuEigeneKabel =
        neueAktion("mnuEigeneKabel", QStringLiteral("Eigene &Kabeltabelle bearbeiten …"));
    connect(m_mnuEigeneKabel, &QAction::triggered, this, &FrmText::mnuEigeneKabel_Click);
}

void FrmText::menuesAufbauen()
{
    const auto untermenue = [](QMenu *menue, const char *name) {
        menue->setObjectName(QLatin1String(name));
        menue->menuAction()->setObjectName(QLatin1String(name));
        return menue;
    };
    const auto trenner = [](QMenu *menue, const char *name) {
        menue->addSeparator()->setObjectName(QLatin1String(name));
    };

    m_mnuFile = untermenue(menuBar()->addMenu(QStringLiteral("&Datei")), "mnuFile");
    m_mnuFile->addAction(m_mnuOpen);
    m_mnuFile->addAction(m_mnuSave);
    trenner(m_mnuFile, "mnuSep2");
    m_mnuFile->addAction(m_mnuSuchen);
    trenner(m_mnuFile, "mnuSep1");
    m_mnuFile->addAction(m_mnuPrinterEinstellungen);
    m_mnuFile->addAction(m_mnuPrint);
    trenner(m_mnuFile, "mnuSep0");
    m_mnuFile->addAction(m_mnuExit);
    connect(m_mnuFile, &QMenu::aboutToShow, this, &FrmText::mnuFile_Click);

    QMenu *rech = untermenue(menuBar()->addMenu(QStringLiteral("&Berechnen")), "mnuRech");
    rech->addAction(m_mnuRechnen);
    rech->addAction(m_mnuRechnMehrere);
    trenner(rech, "mnuTrenn1");
    QMenu *vorhKab =
        untermenue(rech->addMenu(QStringLiteral("&vorhandenes Kabel prüfen")), "mnuVorhKab");
    vorhKab->addAction(m_mnuRechnVorhKabel);
    vorhKab->addAction(m_mnuRechnVorhKabelGrafisch);
    vorhKab->addAction(m_mnuLeitungsanalyse);
    vorhKab->addAction(m_mnuVermessen);
    trenner(rech, "mnuTrenn2");
    rech->addAction(m_mnuLaengenplaner);
    rech->addAction(m_mnuEigeneKabel);

    QMenu *format = untermenue(menuBar()->addMenu(QStringLiteral("&Format")), "mnuFormat");
    format->addAction(m_mnuFont);
    QMenu *vorlage = untermenue(format->addMenu(QStringLiteral("&Formatvorlage")), "mnuVorlage");
    vorlage->addAction(m_mnuStandard);
    vorlage->addAction(m_mnuListing);
    vorlage->addAction(m_mnuText);

    QMenu *hilfe = untermenue(menuBar()->addMenu(QStringLiteral("&?")), "mnuH");
    hilfe->addAction(m_mnuHilfe);
    hilfe->addAction(m_mnuInfo);
}

void FrmText::werkzeugleisteAufbauen()
{
    m_toolbar = addToolBar(QStringLiteral("Symbolleiste"));
    m_toolbar->setObjectName(QStringLiteral("Toolbar1"));
    m_toolbar->setMovable(false);
    m_toolbar->addSeparator();
    m_toolbar->addAction(m_mnuOpen);
    m_toolbar->addAction(m_mnuSave);
    m_toolbar->addAction(m_mnuPrint);
    m_toolbar->addSeparator();
    m_toolbar->addAction(m_mnuFont);
    // The buttons are the menu's very actions: however one is triggered
    // (menu, shortcut or button), the toolbar's handler dispatches it by key.
    for (QAction *aktion : {m_mnuOpen, m_mnuSave, m_mnuPrint, m_mnuFont}) {
        connect(aktion, &QAction::triggered, this, [this, aktion] {
            Toolbar1_ButtonClick(aktion->property("schluessel").toString());
        });
    }
}

void FrmText::statusleisteAufbauen()
{
    m_statusBar = new Statusleiste(this);
    setStatusBar(m_statusBar);
}

void FrmText::Form_Load()
{
    setWindowTitle(titel(version::major, version::minor, version::revision,
                         QString::fromUtf8(version::rechtshinweis)));
    // The layout rule is kept by the central widget's layout.
    mnuListing_Click();
    dateiEintraegeAktualisieren();
}

void FrmText::fensterGeoeffnet(QWidget *fenster)
{
    if (!fenster)
        return;
    m_fenster.removeAll(QPointer<QWidget>(fenster));
    m_fenster.append(fenster);
}

void FrmText::zentrierteZeilenAusrichten()
{
    m_ausrichtenGeplant = false;
    // Without line wrapping the box lays out its lines on a page of no width
    // until it is resized, which leaves centred lines (title, greeting) at the
    // left. A document with centred lines gets the visible width at once.
    QTextDocument *dokument = m_richTextBox->document();
    const qreal breite = m_richTextBox->viewport()->width();
    if (qFuzzyCompare(dokument->pageSize().width(), breite))
        return;
    for (QTextBlock block = dokument->begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().alignment() & (Qt::AlignHCenter | Qt::AlignRight)) {
            dokument->setPageSize(QSizeF(breite, -1));
            return;
        }
    }
}

void FrmText::dateiEintraegeAktualisieren()
{
    const bool leer = m_feld.textLaenge() == 0;
    m_mnuPrint->setEnabled(!leer);
    m_mnuSave->setEnabled(!leer);
}

void FrmText::mnuFile_Click()
{
    dateiEintraegeAktualisieren();
}

void FrmText::mnuExit_Click()
{
    hide();
    close();
}

void FrmText::mnuOpen_Click()
{
    m_befehle->oeffnen();
}

void FrmText::mnuSave_Click()
{
    m_befehle->speichern();
}

void FrmText::mnuSuchen_Click()
{
    m_befehle->suchen();
}

void FrmText::mnuPrint_Click()
{
    m_befehle->drucken();
}

void FrmText::mnuPrinter_Einstellungen_Click()
{
    m_befehle->druckerEinrichten();
}

void FrmText::mnuFont_Click()
{
    m_befehle->schrift();
}

void FrmText::Toolbar1_ButtonClick(const QString &schluessel)
{
    dateiEintraegeAktualisieren();
    const bool leer = m_feld.textLaenge() == 0;
    if (schluessel == QLatin1String("Open"))
        mnuOpen_Click();
    else if (schluessel == QLatin1String("Save") && !leer)
        mnuSave_Click();
    else if (schluessel == QLatin1String("Print") && !leer)
        mnuPrint_Click();
    else if (schluessel == QLatin1String("Font"))
        mnuFont_Click();
}

void FrmText::setPlattform(std::unique_ptr<Plattform> plattform)
{
    if (plattform)
        m_plattform = std::move(plattform);
}

void FrmText::mnuHilfe_Click()
{
    hilfeOeffnen(QCoreApplication::applicationDirPath(), *m_ui, *m_plattform);
}

void FrmText::mnuInfo_Click()
{
    FrmAbout::zeigen(m_frmAbout, this);
    fensterGeoeffnet(m_frmAbout);
}

void FrmText::mnuStandard_Click()
{
    formatvorlageAnwenden(m_feld, Formatvorlage::Standard);
}

void FrmText::mnuListing_Click()
{
    formatvorlageAnwenden(m_feld, Formatvorlage::Listing);
}

void FrmText::mnuText_Click()
{
    formatvorlageAnwenden(m_feld, Formatvorlage::Text);
}

FrmKabel *FrmText::frmKabel() const
{
    return m_frmKabel;
}

void FrmText::mnuRechnen_Click()
{
    eingabedialogZeigen(Berechnungsmodus::Eine);
}

void FrmText::mnuRechnMehrere_Click()
{
    eingabedialogZeigen(Berechnungsmodus::Mehrere);
}

void FrmText::mnuRechnVorhKabel_Click()
{
    eingabedialogZeigen(Berechnungsmodus::VorhKabel);
}

FrmKabelKurve *FrmText::frmKabelKurve() const
{
    return m_frmKabelKurve;
}

void FrmText::mnuRechnVorhKabelGrafisch_Click()
{
    // A window of its own, not kept above the report; a second F6 brings the
    // open one to the front instead of opening another.
    if (!m_frmKabelKurve) {
        m_frmKabelKurve = new FrmKabelKurve(m_werte, *m_ui, m_drucker);
        fensterGeoeffnet(m_frmKabelKurve);
    }
    m_frmKabelKurve->show();
    m_frmKabelKurve->raise();
    m_frmKabelKurve->activateWindow();
}

FrmLeitung *FrmText::frmLeitung() const
{
    return m_frmLeitung;
}

FrmPlaner *FrmText::frmPlaner() const
{
    return m_frmPlaner;
}

void FrmText::mnuLeitungsanalyse_Click()
{
    // Non-modal like the curve window; a second F7 brings the open one to the front.
    if (!m_frmLeitung) {
        m_frmLeitung = new FrmLeitung(m_werte, *m_ui, m_drucker);
        fensterGeoeffnet(m_frmLeitung);
    }
    m_frmLeitung->show();
    m_frmLeitung->raise();
    m_frmLeitung->activateWindow();
}

FrmVermessen *FrmText::frmVermessen() const
{
    return m_frmVermessen;
}

void FrmText::mnuVermessen_Click()
{
    // Non-modal like the line analysis beside it; F9 again brings it to the front.
    if (!m_frmVermessen) {
        m_frmVermessen = new FrmVermessen(*m_ui);
        fensterGeoeffnet(m_frmVermessen);
    }
    m_frmVermessen->show();
    m_frmVermessen->raise();
    m_frmVermessen->activateWindow();
}

void FrmText::mnuEigeneKabel_Click()
{
    eigeneKabeltabelleBearbeiten(eigeneKabeltabellePfad(), *m_ui, *m_plattform);
}

void FrmText::mnuLaengenplaner_Click()
{
    // The planner sends its list of clear ranges here as a report.
    if (!m_frmPlaner) {
        auto berichten = [this](const Planung &planung, const QString &kabel) {
            Rechenkontext kontext{m_werte, m_feld, m_drucker, *m_ui, QLocale()};
            RechnenPlaner(planung, kabel, kontext);
        };
        m_frmPlaner = new FrmPlaner(berichten);
        fensterGeoeffnet(m_frmPlaner);
    }
    m_frmPlaner->show();
    m_frmPlaner->raise();
    m_frmPlaner->activateWindow();
}

void FrmText::eingabedialogZeigen(Berechnungsmodus modus)
{
    // The dialog lives on hidden between uses so that its fields stay as the
    // user left them; once closed by the user it starts afresh.
    if (!m_frmKabel) {
        auto rechnen = [this](const Berechnungsanfrage &anfrage) {
            Rechenkontext kontext{m_werte, m_feld, m_drucker, *m_ui, QLocale()};
            // The dialog has made the pre-check already.
            return berechnen(anfrage, kontext);
        };
        m_frmKabel = new FrmKabel(m_werte, *m_ui, rechnen, this);
        fensterGeoeffnet(m_frmKabel);
    }
    m_frmKabel->modusEinrichten(modus);
}

void FrmText::closeEvent(QCloseEvent *event)
{
    Form_QueryUnload();
    // Closing the main window is never refused.
    event->accept();
    emit entladen();
}

void FrmText::Form_QueryUnload()
{
    // Newest first, so a window opened from another one goes before it.
    const QList<QPointer<QWidget>> fenster = m_fenster;
    for (auto it = fenster.crbegin(); it != fenster.crend(); ++it) {
        const QPointer<QWidget> &f = *it;
        if (!f)
            continue;
        // Closed and hidden now, destroyed with this window: the main window
        // can be closed while a calculation inside another window lets
        // events run, and that handler must not lose its window under it.
        f->setAttribute(Qt::WA_DeleteOnClose, false);
        try {
            f->close();
        } catch (...) {
        }
    }
    try {
        m_drucker.dokumentBeenden();
    } catch (...) {
    }
}

} // namespace varo
