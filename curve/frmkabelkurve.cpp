#include "frmkabelkurve.h"

#include "drucker.h"
#include "kabelauswahl.h"
#include "kabeltabelle.h"
#include "konvertierung.h"
#include "kurvenzeichnung.h"
#include "laufzeitfehler.h"
#include "oberflaeche.h"
#include "schriften.h"
#include "tastenfilter.h"
#include "twips.h"
#include "werte.h"
#include "zahlenformat.h"
#include "zeichenflaeche.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>

namespace varo {

namespace {

// Design sizes in twips.
constexpr int kFlaecheBreiteTwips = 9768;
constexpr int kClientBreiteTwips = 9768;
constexpr int kClientHoeheTwips = 9840;
constexpr int kMinAussenBreiteTwips = 9864;

const QString kDesignTitel = QStringLiteral("Vorhandenes Kabel prüfen: Beispiel");
const QString kDruckerTitel = QStringLiteral(" Drucker-Fehler ");

QFont fettSchrift()
{
    return eingabeSchrift(7.8, true);
}

QLineEdit *feld(const char *name, const QString &text, const QString &tipp, int breiteTwips,
                QWidget *parent)
{
    auto *f = new QLineEdit(text, parent);
    f->setObjectName(QLatin1String(name));
    f->setToolTip(tipp);
    f->setFixedWidth(twipsZuPixel(breiteTwips));
    return f;
}

QLabel *beschriftung(const char *name, const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    if (buddy)
        l->setBuddy(buddy);
    return l;
}

QLabel *ohmZeichen(const char *name, QWidget *parent)
{
    auto *l = new QLabel(QStringLiteral("\u03A9"), parent);
    l->setObjectName(QLatin1String(name));
    QFont schrift = l->font();
    schrift.setPointSizeF(10.2);
    l->setFont(schrift);
    return l;
}

QPushButton *knopf(const char *name, const QString &text, const QString &tipp, QWidget *parent)
{
    auto *k = new QPushButton(text, parent);
    k->setObjectName(QLatin1String(name));
    k->setToolTip(tipp);
    k->setMinimumSize(twipsZuPixel(972), twipsZuPixel(435));
    // Hidden while printing, the buttons keep their place so that the
    // printed window shows the same arrangement.
    QSizePolicy politik = k->sizePolicy();
    politik.setRetainSizeWhenHidden(true);
    k->setSizePolicy(politik);
    return k;
}

bool istEnter(int taste)
{
    return taste == Qt::Key_Return || taste == Qt::Key_Enter;
}

} // namespace

FrmKabelKurve::FrmKabelKurve(Programmwerte &werte, Oberflaeche &ui, Drucker &drucker,
                             QWidget *parent)
    : FrmKabelKurve(werte, ui, drucker, Kabeltabellen::programm(), parent)
{
}

FrmKabelKurve::FrmKabelKurve(Programmwerte &werte, Oberflaeche &ui, Drucker &drucker,
                             const Kabeltabellen &tabellen, QWidget *parent)
    : QWidget(parent, Qt::Window), m_werte(werte), m_ui(ui), m_drucker(drucker),
      m_tabellen(tabellen)
{
    setObjectName(QStringLiteral("frmKabelKurve"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(kDesignTitel);
    oberflaecheAufbauen();
    Form_Load();
}

bool FrmKabelKurve::kurveAngezeigt() const
{
    return windowTitle() == kurvenTitel;
}

void FrmKabelKurve::oberflaecheAufbauen()
{
    frequenzbereichAufbauen();
    kabelgruppeAufbauen();
    knoepfeAufbauen();
    anordnen();
    verbinden();
}

void FrmKabelKurve::frequenzbereichAufbauen()
{
    Frame1 = new QGroupBox(QStringLiteral(" auszuwertender Frequenzbereich "), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFont(fettSchrift());
    Text1 = feld("Text1", QStringLiteral("1,5"), QStringLiteral("tiefste Frequenz"), 972, Frame1);
    Text2 = feld("Text2", QStringLiteral("30,0"), QStringLiteral("höchste Frequenz"), 972, Frame1);
    Label5 = beschriftung("Label5", QStringLiteral("&von"), Text1, Frame1);
    Label2 = beschriftung("Label2", QStringLiteral("&bis"), Text2, Frame1);
    Label4 = beschriftung("Label4", QStringLiteral("MHz"), nullptr, Frame1);
    for (QWidget *w : {static_cast<QWidget *>(Text1), static_cast<QWidget *>(Text2),
                       static_cast<QWidget *>(Label5), static_cast<QWidget *>(Label2),
                       static_cast<QWidget *>(Label4)})
        w->setFont(font());
    auto *frequenzen = new QHBoxLayout(Frame1);
    frequenzen->addWidget(Label5);
    frequenzen->addWidget(Text1);
    frequenzen->addSpacing(twipsZuPixel(168));
    frequenzen->addWidget(Label2);
    frequenzen->addWidget(Text2);
    frequenzen->addSpacing(twipsZuPixel(108));
    frequenzen->addWidget(Label4);
    frequenzen->addStretch();
}

void FrmKabelKurve::kabelgruppeAufbauen()
{
    txtEingZ =
        feld("txtEingZ", QStringLiteral("72"), QStringLiteral("\"Antennenseite\""), 972, this);
    Label3 = beschriftung("Label3", QStringLiteral("&Eing.-Impedanz:"), txtEingZ, this);
    Label3->setFont(fettSchrift());
    Label1 = ohmZeichen("Label1", this);

    Frame2 = new QGroupBox(QStringLiteral("Kabel:"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setFont(fettSchrift());
    Combo1 = new KabelAuswahl(Frame2);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setToolTip(QStringLiteral("Kabeltyp"));
    Combo1->setFixedWidth(twipsZuPixel(1572));
    Combo1->setFont(font());
    txtKabelZ =
        feld("txtKabelZ", QStringLiteral("50"), QStringLiteral("Impedanz des Kabels"), 672, Frame2);
    txtKabelVk = feld("txtKabelVk", QStringLiteral("0,66"), QStringLiteral("Verkürzungsfaktor"),
                      672, Frame2);
    txtKabelLg =
        feld("txtKabelLg", QStringLiteral("28.286"), QStringLiteral("Kabellänge"), 672, Frame2);
    // The remembered length comes with four decimals ("13,9437"); the field
    // must show it whole in today's larger default fonts.
    txtKabelLg->setFixedWidth(
        std::max(txtKabelLg->width(),
                 txtKabelLg->fontMetrics().horizontalAdvance(QStringLiteral("88,8888")) + 10));
    Label6 = beschriftung("Label6", QStringLiteral("&Typ:"), Combo1, Frame2);
    Label7 = beschriftung("Label7", QStringLiteral("&Impedanz:"), txtKabelZ, Frame2);
    Label8 = beschriftung("Label8", QStringLiteral("V&k:"), txtKabelVk, Frame2);
    Label9 = beschriftung("Label9", QStringLiteral("&Länge:"), txtKabelLg, Frame2);
    Label11 = ohmZeichen("Label11", Frame2);
    Label12 = beschriftung("Label12", QStringLiteral("m"), nullptr, Frame2);
    for (QWidget *w : {static_cast<QWidget *>(txtKabelZ), static_cast<QWidget *>(txtKabelVk),
                       static_cast<QWidget *>(txtKabelLg), static_cast<QWidget *>(Label6),
                       static_cast<QWidget *>(Label7), static_cast<QWidget *>(Label8),
                       static_cast<QWidget *>(Label9), static_cast<QWidget *>(Label12)})
        w->setFont(font());
    auto *kabel = new QGridLayout(Frame2);
    kabel->addWidget(Label6, 0, 0);
    kabel->addWidget(Combo1, 0, 1, 1, 2);
    kabel->addWidget(Label7, 0, 3, Qt::AlignRight);
    kabel->addWidget(txtKabelZ, 0, 4);
    kabel->addWidget(Label11, 0, 5);
    kabel->addWidget(Label8, 1, 0);
    kabel->addWidget(txtKabelVk, 1, 1);
    kabel->addWidget(Label9, 1, 3, Qt::AlignRight);
    kabel->addWidget(txtKabelLg, 1, 4);
    kabel->addWidget(Label12, 1, 5);
    kabel->setColumnStretch(2, 1);
    // Labels keep their whole text; the spare column gives way instead.
    for (QLabel *l : {Label6, Label7, Label8, Label9})
        l->setMinimumWidth(l->sizeHint().width());
}

void FrmKabelKurve::knoepfeAufbauen()
{
    Command1 =
        knopf("Command1", QStringLiteral("&Anzeigen"), QStringLiteral("Kurven anzeigen"), this);
    Command3 = knopf("Command3", QStringLiteral("&Drucken"), QStringLiteral("alles drucken"), this);
    Command2 = knopf("Command2", QStringLiteral("&Schliessen"), QStringLiteral("Beenden"), this);
    Command1->setDefault(true);

    Picture1 = new Zeichenflaeche(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setFont(diagrammSchrift());
    Picture1->setFixedWidth(twipsZuPixel(kFlaecheBreiteTwips));
    Picture1->setMinimumHeight(0);
    Picture1->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
}

void FrmKabelKurve::anordnen()
{
    auto *eingang = new QHBoxLayout;
    eingang->addSpacing(twipsZuPixel(240));
    eingang->addWidget(Label3);
    eingang->addWidget(txtEingZ);
    eingang->addWidget(Label1);
    eingang->addStretch();
    auto *links = new QVBoxLayout;
    links->addWidget(Frame1);
    links->addLayout(eingang);
    links->addStretch();
    auto *knoepfe = new QVBoxLayout;
    knoepfe->addWidget(Command1);
    knoepfe->addWidget(Command3);
    knoepfe->addWidget(Command2);
    knoepfe->addStretch();
    // The input groups keep their arrangement at the left; a wider window
    // leaves the extra width empty, as the drawing surface does.
    auto *oben = new QHBoxLayout;
    oben->setContentsMargins(twipsZuPixel(120), twipsZuPixel(60), twipsZuPixel(120), 0);
    oben->addLayout(links);
    oben->addWidget(Frame2);
    oben->addSpacing(twipsZuPixel(168));
    oben->addLayout(knoepfe);
    oben->addStretch(1);
    auto *fenster = new QVBoxLayout(this);
    fenster->setContentsMargins(0, 0, 0, 0);
    fenster->addLayout(oben);
    fenster->addWidget(Picture1, 1, Qt::AlignLeft);

    // The window may grow but never become narrower than its design.
    setMinimumWidth(twipsZuPixel(kMinAussenBreiteTwips));
    resize(std::max(twipsZuPixel(kClientBreiteTwips), twipsZuPixel(kMinAussenBreiteTwips)),
           twipsZuPixel(kClientHoeheTwips));
}

void FrmKabelKurve::verbinden()
{
    for (QWidget *eingabe : {static_cast<QWidget *>(Combo1), static_cast<QWidget *>(Text1),
                             static_cast<QWidget *>(Text2), static_cast<QWidget *>(txtEingZ),
                             static_cast<QWidget *>(txtKabelZ), static_cast<QWidget *>(txtKabelVk),
                             static_cast<QWidget *>(txtKabelLg)})
        eingabe->installEventFilter(this);
    if (Combo1->lineEdit())
        Combo1->lineEdit()->installEventFilter(this);

    connect(Command1, &QPushButton::clicked, this, &FrmKabelKurve::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &FrmKabelKurve::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &FrmKabelKurve::Command3_Click);
    connect(Combo1, &QComboBox::currentIndexChanged, this, &FrmKabelKurve::kabelAuswahl);
    connect(Combo1, &QComboBox::editTextChanged, this, &FrmKabelKurve::kabelAuswahl);
    // A chosen item shows its beginning, the velocity factor and type.
    connect(Combo1, &QComboBox::currentIndexChanged, Combo1, &KabelAuswahl::anfangZeigen);
}

void FrmKabelKurve::Form_Load()
{
    Command3->setEnabled(false);

    const bool vorhanden = QFileInfo::exists(m_tabellen.mitgeliefert);
    const int gewuenscht = m_werte.KabelIndex;
    if (vorhanden)
        m_ui.sanduhr();
    m_laden = true;
    try {
        KabelCombo liste(*Combo1);
        KabelTabelleLaden(liste, 0.667F, QStringLiteral("0.667"), m_tabellen, m_werte, m_ui,
                          QLocale());
    } catch (const Laufzeitfehler &) {
        // Set-up goes on with the rows read so far.
    }
    m_laden = false;

    if (vorhanden) {
        // A list fills its first item on its own; only the remembered
        // position may be selected, and none when the list has no such item.
        if (gewuenscht < 0 || gewuenscht >= Combo1->count()) {
            const QSignalBlocker sperre(Combo1);
            Combo1->setCurrentIndex(-1);
            Combo1->setEditText(QString());
        }
        if (Combo1->currentIndex() >= 0)
            kabelAuswahl();
        m_werte.KabelIndex = static_cast<qint16>(Combo1->currentIndex());
        m_ui.normalerZeiger();
    } else {
        kabelAuswahl(); // the fallback text shown counts as a selection
        m_werte.KabelIndex = 0;
    }
}

void FrmKabelKurve::Form_Activate()
{
    const int index = m_werte.KabelIndex;
    {
        const QSignalBlocker sperre(Combo1);
        if (index >= 0 && index < Combo1->count()) {
            Combo1->setCurrentIndex(index);
            Combo1->setEditText(Combo1->itemText(index));
            Combo1->anfangZeigen();
        } else {
            // Nothing selected; what the user typed stays.
            const QString text = Combo1->currentText();
            Combo1->setCurrentIndex(-1);
            Combo1->setEditText(text);
        }
    }
    kabelAuswahl();

    if (m_werte.KabelLaenge > 0.0F)
        txtKabelLg->setText(
            formatZahl(m_werte.KabelLaenge, QStringLiteral("###0.000#"), QLocale()));

    if (Combo1->currentText().isEmpty())
        Combo1->setEditText(formatZahl(0.66, QStringLiteral("0.0#"), QLocale()));
}

void FrmKabelKurve::kabelAuswahl()
{
    if (m_laden)
        return;
    const QString text = Combo1->currentText();
    try {
        const float vk = kabelZerlegen(text).Vk;
        txtKabelVk->setText(formatZahl(vk, QStringLiteral("0.00##"), QLocale()));
    } catch (const Laufzeitfehler &) {
        // A number too large to hold leaves the velocity factor as it was.
    }
    int index = Combo1->currentIndex();
    if (index >= 0 && Combo1->itemText(index) != text)
        index = -1;
    m_werte.KabelIndex = static_cast<qint16>(index);
    Command1->setEnabled(true);
}

void FrmKabelKurve::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The first showing is the first activation. It must not wait for the
    // window system's activation event, which may come late or, without a
    // window manager, not at all.
    if (!event->spontaneous() && m_aktivierenBeiRueckkehr && !m_ersteAktivierungErledigt) {
        m_ersteAktivierungErledigt = true;
        m_aktivierenBeiRueckkehr = false;
        Form_Activate();
    }
}

bool FrmKabelKurve::event(QEvent *event)
{
    if (event->type() == QEvent::WindowDeactivate) {
        // Coming back from another window of the program counts as an
        // activation; coming back from a message box or another program does not.
        QWidget *neu = QApplication::activeWindow();
        m_aktivierenBeiRueckkehr = neu && neu != this && !neu->isModal();
    } else if (event->type() == QEvent::WindowActivate && m_aktivierenBeiRueckkehr) {
        m_aktivierenBeiRueckkehr = false;
        Form_Activate();
    }
    return QWidget::event(event);
}

bool FrmKabelKurve::eventFilter(QObject *objekt, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto *taste = static_cast<QKeyEvent *>(event);
        if (istEnter(taste->key())) {
            // "&Anzeigen" is the default button of the window.
            if (Command1->isEnabled() && Command1->isVisible())
                Command1->click();
            return true;
        }
        if (eingabeAbweisen(*event, false))
            return true;
    } else if (event->type() == QEvent::KeyRelease) {
        const auto *taste = static_cast<QKeyEvent *>(event);
        if (!istEnter(taste->key()))
            Command1->setEnabled(true);
    }
    return QWidget::eventFilter(objekt, event);
}

void FrmKabelKurve::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_inGroessenaenderung || !kurveAngezeigt())
        return;
    // A message box opened here lets further resizes through; they must
    // not stack up more boxes.
    m_inGroessenaenderung = true;
    try {
        anzeigen(true);
    } catch (...) {
        // A failed redraw leaves the previous drawing.
    }
    m_inGroessenaenderung = false;
}

void FrmKabelKurve::Command1_Click()
{
    anzeigen(false);
}

void FrmKabelKurve::anzeigen(bool ausGroessenaenderung)
{
    KurvenAnfrage anfrage;
    try {
        anfrage = anfrageLesen(Text1->text(), Text2->text(), txtEingZ->text(), txtKabelZ->text(),
                               txtKabelVk->text(), txtKabelLg->text());
    } catch (const Laufzeitfehler &) {
        meldungZeigen(kurvenmeldung::Unkorrekt); // a number beyond the single range
        return;
    }
    const KurvenPruefung pruefung = kurvePruefen(anfrage);
    if (!pruefung.zeichenbar()) {
        meldungZeigen(pruefung.meldung);
        return;
    }
    m_ui.sanduhr();
    AchsenZeichnen(anfrage, pruefung.p, ausGroessenaenderung);
    m_ui.normalerZeiger();
}

bool FrmKabelKurve::AchsenZeichnen(const KurvenAnfrage &anfrage, int p, bool still)
{
    const QSize einheiten = Picture1->size();
    Kurvenbild bild;
    try {
        bild =
            kurvenbildBerechnen(anfrage, p, einheiten.width() * kTwipsProEinheit,
                                einheiten.height() * kTwipsProEinheit, kurvenTextmass(), QLocale());
    } catch (const Laufzeitfehler &fehler) {
        if (!still)
            meldungZeigen(fehler.nummer() == fehler::DivisionDurchNull
                              ? kurvenmeldung::FlaecheZuKlein
                              : kurvenmeldung::Unkorrekt);
        return false;
    }
    Picture1->setBild(kurvenBild(bild, einheiten, Picture1->devicePixelRatioF()));
    m_ui.ereignisseVerarbeiten();

    Command1->setEnabled(false);
    Command3->setEnabled(true);
    setWindowTitle(kurvenTitel);
    return true;
}

void FrmKabelKurve::meldungZeigen(Kurvenmeldung meldung)
{
    const KurvenMeldungText m = kurvenMeldung(meldung, m_werte.ZeilenEnde);
    m_ui.meldung(m.text, m.titel, Symbol::Stopp, Knoepfe::Ok);
}

void FrmKabelKurve::Command2_Click()
{
    close();
}

void FrmKabelKurve::aussenbreiteSetzen(qint32 twips)
{
    const int rahmen = frameGeometry().width() - width();
    const int innen = twipsZuPixel(twips) - rahmen;
    resize(std::max(innen, minimumWidth()), height());
}

void FrmKabelKurve::druckSchritt(const std::function<void()> &schritt)
{
    try {
        schritt();
    } catch (const Laufzeitfehler &fehler) {
        m_ui.meldung(fehler.beschreibung() + m_werte.ZeilenEnde +
                         QStringLiteral("Das Formular kann nicht gedruckt werden."),
                     kDruckerTitel, Symbol::Ausrufezeichen, Knoepfe::Ok);
    }
}

void FrmKabelKurve::normalzustandAbwarten(QSize vorher, bool groesseAendertSich)
{
    // The window system applies a state change when it gets round to it; the
    // page must show the normal window, not the maximised one still on
    // screen. A second is plenty; a window system that never answers only
    // costs that second.
    QElapsedTimer uhr;
    uhr.start();
    const auto fertig = [&] {
        const QWindow *w = windowHandle();
        const bool sichtbar = !w || w->isExposed();
        return sichtbar && (!groesseAendertSich || size() != vorher);
    };
    while (!fertig() && uhr.elapsed() < 1000) {
        QEventLoop schleife;
        QTimer::singleShot(10, &schleife, &QEventLoop::quit);
        schleife.exec();
    }
}

void FrmKabelKurve::Command3_Click()
{
    // Every step runs even when the one before failed, so that width,
    // state and buttons come back whatever the printer does.
    m_ui.sanduhr();
    Qt::WindowStates zustand = windowState();
    constexpr Qt::WindowStates kNichtNormal =
        Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;
    druckSchritt([&] {
        zustand = windowState();
        if (!(zustand & kNichtNormal))
            return;
        const QSize vorher = size();
        setWindowState(zustand & ~kNichtNormal);
        normalzustandAbwarten(vorher, bool(zustand & (Qt::WindowMaximized | Qt::WindowFullScreen)));
    });
    qint32 seitenbreite = 0;
    druckSchritt([&] { seitenbreite = m_drucker.seitenbreiteTwips(); });
    // The normal size as it is now, to come back to exactly.
    QSize normalgroesse = size();
    druckSchritt([&] {
        normalgroesse = size();
        aussenbreiteSetzen(seitenbreite);
    });
    druckSchritt([&] {
        Command1->hide();
        Command2->hide();
        Command3->hide();
    });
    druckSchritt([&] { m_ui.ereignisseVerarbeiten(); });
    m_ui.sanduhr();
    druckSchritt([&] { m_drucker.bildDrucken(grab().toImage()); });
    m_ui.sanduhr();
    druckSchritt([&] { resize(normalgroesse); });
    druckSchritt([&] { setWindowState(zustand); });
    druckSchritt([&] {
        Command1->show();
        Command2->show();
        Command3->show();
    });
    druckSchritt([&] { m_ui.ereignisseVerarbeiten(); });
    m_ui.normalerZeiger();
}

} // namespace varo
