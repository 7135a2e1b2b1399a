#include "frmkabel.h"

#include "eingabevorschlag.h"
#include "kabelauswahl.h"
#include "kabeltabelle.h"
#include "oberflaeche.h"
#include "schriften.h"
#include "tastenfilter.h"
#include "twips.h"
#include "zahlenformat.h"

#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QShowEvent>
#include <QTextDocument>
#include <QtMath>
#include <exception>

namespace varo {

namespace {

// The size of every font of the dialog.
constexpr double kPunkte = 8.25;

// Loading and activation must never stop half-way: a step that fails is
// left out and the next one runs, without a message.
template <typename Schritt> void schrittAusfuehren(Schritt &&schritt)
{
    try {
        schritt();
    } catch (const std::exception &) {
    }
}

} // namespace

FrmKabel::FrmKabel(Programmwerte &werte, Oberflaeche &ui, Rechenfunktion rechnen, QWidget *parent)
    : FrmKabel(werte, ui, std::move(rechnen), Kabeltabellen::programm(), parent)
{
}

FrmKabel::FrmKabel(Programmwerte &werte, Oberflaeche &ui, Rechenfunktion rechnen,
                   const Kabeltabellen &tabellen, QWidget *parent)
    : QWidget(parent, Qt::Dialog), m_werte(werte), m_ui(ui), m_rechnen(std::move(rechnen))
{
    setObjectName(QStringLiteral("frmKabel"));
    // Closing with the close box discards the dialog; the next use loads
    // it afresh. A calculation only hides it.
    setAttribute(Qt::WA_DeleteOnClose);
    oberflaecheAufbauen();
    anordnen();
    Form_Load(tabellen);
}

void FrmKabel::oberflaecheAufbauen()
{
    setFont(fensterSchrift(kPunkte));
    // Labels and cable list in a fixed pitch, so the padded cable items form
    // columns and "Frequenz  (" is as wide as "Frequenzen(".
    const QFont fest = festeSchrift(kPunkte, true);
    const QFont eingabe = eingabeSchrift(kPunkte);

    const auto label = [&](const char *name) {
        auto *l = new QLabel(this);
        l->setObjectName(QLatin1String(name));
        l->setFont(fest);
        return l;
    };
    m_label1 = label("Label1");
    m_label2 = label("Label2");
    m_label2->setText(QStringLiteral("Verkürzungsfaktor des Kabels: "));
    m_label3 = label("Label3");
    m_label4 = label("Label4");
    m_label4->setText(QStringLiteral("± Toleranz zulassen [%]:"));

    m_text1 = new QPlainTextEdit(this);
    m_text1->setObjectName(QStringLiteral("Text1"));
    m_text1->setFont(eingabe);
    m_text1->setToolTip(QStringLiteral("Frequenzeingabe"));
    m_text1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // A list of frequencies has no blanks to break at.
    m_text1->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_text1->setTabChangesFocus(true);
    m_text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The box is only one or two lines high: after every change it shows
    // from its first line on, as far as the caret lets it.
    connect(m_text1, &QPlainTextEdit::textChanged, this, &FrmKabel::text1Nachfuehren);
    connect(m_text1, &QPlainTextEdit::cursorPositionChanged, this, &FrmKabel::text1Nachfuehren);
    // A new height or width lays the lines out anew, which the scroll range shows.
    connect(m_text1->verticalScrollBar(), &QScrollBar::rangeChanged, this,
            &FrmKabel::text1Nachfuehren);

    m_combo1 = new KabelAuswahl(this);
    m_combo1->setObjectName(QStringLiteral("Combo1"));
    m_combo1->setFont(fest);
    m_combo1->setToolTip(QStringLiteral("Vk, Kabeltyp, Dämpfung"));
    m_combo1->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_combo1->setMinimumContentsLength(12);

    const auto zeile = [&](const char *name) {
        auto *t = new QLineEdit(this);
        t->setObjectName(QLatin1String(name));
        t->setFont(eingabe);
        return t;
    };
    m_text3 = zeile("Text3");
    m_text4 = zeile("Text4");

    m_command1 = new QPushButton(QStringLiteral("&Rechnen"), this);
    m_command1->setObjectName(QStringLiteral("Command1"));
    m_command1->setFont(eingabe);
    // Enter presses the button when it has the focus, and only then: the
    // entries reject Enter and there is no default button.
    m_command1->setAutoDefault(true);
    connect(m_command1, &QPushButton::clicked, this, &FrmKabel::Command1_Click);

    for (QObject *feld : {static_cast<QObject *>(m_text1), static_cast<QObject *>(m_combo1),
                          static_cast<QObject *>(m_combo1->lineEdit()),
                          static_cast<QObject *>(m_text3), static_cast<QObject *>(m_text4)})
        feld->installEventFilter(this);

    setTabOrder(m_text1, m_combo1);
    setTabOrder(m_combo1, m_text3);
    setTabOrder(m_text3, m_text4);
    setTabOrder(m_text4, m_command1);
}

void FrmKabel::anordnen()
{
    // Labels on the left, entries on the right, the button at the bottom
    // right. The cable list starts further left than the other entries,
    // hence the narrow middle column.
    auto *raster = new QGridLayout(this);
    raster->setContentsMargins(twipsZuPixel(120), twipsZuPixel(60), twipsZuPixel(120),
                               twipsZuPixel(120));
    raster->setHorizontalSpacing(twipsZuPixel(36));
    raster->setVerticalSpacing(twipsZuPixel(90));

    raster->addWidget(m_label1, 0, 0, 1, 2, Qt::AlignLeft | Qt::AlignTop);
    raster->addWidget(m_text1, 0, 2, Qt::AlignTop);
    raster->addWidget(m_label2, 1, 0, Qt::AlignLeft | Qt::AlignVCenter);
    raster->addWidget(m_combo1, 1, 1, 1, 2);
    raster->addWidget(m_label3, 2, 0, 1, 2, Qt::AlignLeft | Qt::AlignVCenter);
    raster->addWidget(m_text3, 2, 2);
    raster->addWidget(m_label4, 3, 0, 1, 2, Qt::AlignLeft | Qt::AlignVCenter);
    raster->addWidget(m_text4, 3, 2);
    raster->addWidget(m_command1, 4, 1, 1, 2, Qt::AlignRight | Qt::AlignBottom);

    raster->setColumnMinimumWidth(0, twipsZuPixel(3228 - 120 - 36));
    raster->setColumnMinimumWidth(1, twipsZuPixel(3636 - 3228 - 36));
    raster->setColumnMinimumWidth(2, twipsZuPixel(1584));
    // Extra width goes to the entries, where long cable items need it.
    raster->setColumnStretch(2, 1);
    raster->setRowMinimumHeight(0, twipsZuPixel(615));
    raster->setRowStretch(4, 1);

    m_command1->setMinimumSize(twipsZuPixel(1515), twipsZuPixel(495));
    text1HoeheSetzen(2, 615);
    // The entries' own size hints are much wider than the window was drawn.
    resize(minimumSizeHint().expandedTo(QSize(twipsZuPixel(5340), twipsZuPixel(2748))));
}

void FrmKabel::text1HoeheSetzen(int zeilen, int twipsHoehe)
{
    const QFontMetrics metrik(m_text1->font());
    const int rand = 2 * m_text1->frameWidth() + 2 * qCeil(m_text1->document()->documentMargin());
    m_text1->setFixedHeight(qMax(twipsZuPixel(twipsHoehe), zeilen * metrik.lineSpacing() + rand));
}

void FrmKabel::text1Nachfuehren()
{
    // Without a scroll bar the box keeps the line it showed last, even when
    // the text got shorter and that line is gone: start again at the top and
    // go down only as far as the caret needs.
    m_text1->verticalScrollBar()->setValue(0);
    m_text1->ensureCursorVisible();
}

void FrmKabel::Form_Load(const Kabeltabellen &tabellen)
{
    schrittAusfuehren([&] { m_ui.sanduhr(); });
    schrittAusfuehren([&] { setWindowTitle(QStringLiteral(" Bitte Eingeben")); });
    schrittAusfuehren([&] {
        m_text1->clear();
        m_text3->clear();
        m_text4->clear();
        m_combo1->setEditText(QString());
    });
    schrittAusfuehren([&] {
        KabelCombo liste(*m_combo1);
        const bool gefunden = KabelTabelleLaden(liste, 0.66F, QStringLiteral("0.66"), tabellen,
                                                m_werte, m_ui, QLocale());
        // The list selects its first item by itself when it is filled; without
        // an item at the remembered position nothing is to be selected, so
        // the activation offers its default instead.
        if (gefunden && (m_werte.KabelIndex < 0 || m_werte.KabelIndex >= m_combo1->count())) {
            m_combo1->setCurrentIndex(-1);
            m_combo1->setEditText(QString());
        }
    });
}

void FrmKabel::Form_Activate()
{
    schrittAusfuehren([&] {
        // A new mode wants other frequencies; the same mode keeps them.
        if (m_modus != m_letzterModus)
            m_text1->clear();
    });
    schrittAusfuehren([&] {
        if (m_combo1->currentText().isEmpty())
            m_combo1->setEditText(formatZahl(0.66, QStringLiteral("0.0#"), QLocale()));
        m_combo1->anfangZeigen();
    });
    schrittAusfuehren([&] {
        if (m_text4->text().isEmpty())
            m_text4->setText(QStringLiteral("35"));
    });
    schrittAusfuehren([&] {
        m_text3->setText(
            laengeBeiAktivierung(m_text1->toPlainText(), m_werte.KabelLaenge, QLocale()));
    });
    schrittAusfuehren([&] { m_letzterModus = m_modus; });
    schrittAusfuehren([&] { m_text1->setFocus(Qt::OtherFocusReason); });
    schrittAusfuehren([&] { text1Nachfuehren(); });
    schrittAusfuehren([&] { m_ui.normalerZeiger(); });
}

void FrmKabel::modusEinrichten(Berechnungsmodus modus)
{
    const bool schonSichtbar = isVisible();
    const bool eine = modus == Berechnungsmodus::Eine;

    m_modus = modus;
    m_label4->setVisible(!eine);
    m_text4->setVisible(!eine);
    if (eine)
        m_label1->setText(QStringLiteral("Frequenz  (0,01 bis ... MHz): "));
    else
        m_label1->setText(QStringLiteral("Frequenzen(0,01 bis ... MHz): ") + m_werte.ZeilenEnde +
                          QStringLiteral("(getrennt durch / )"));
    m_label2->setText(QStringLiteral("Verkürzungsfaktor des Kabels: "));
    m_label3->setText(modus == Berechnungsmodus::VorhKabel
                          ? QStringLiteral("vorhandene Kabellänge [m]: ")
                          : QStringLiteral("voraussichtliche Kabellänge [m]: "));
    if (eine)
        text1HoeheSetzen(1, 315);
    else
        text1HoeheSetzen(2, 615);

    // Showing a hidden dialog activates it through its show event; an open
    // one is activated here, so the defaults are proposed once per use.
    if (schonSichtbar)
        Form_Activate();
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

QString FrmKabel::Berechnungsart() const
{
    return modusText(m_modus);
}

Berechnungsanfrage FrmKabel::anfrage() const
{
    Berechnungsanfrage a;
    a.modus = m_modus;
    a.frequenzen = m_text1->toPlainText();
    a.kabel = m_combo1->currentText();
    // A typed text keeps the list's last position in Qt; it is no list entry.
    const int index = m_combo1->currentIndex();
    a.kabelIndex = index >= 0 && m_combo1->itemText(index) == a.kabel ? index : -1;
    a.laenge = m_text3->text();
    a.toleranz = m_text4->text();
    return a;
}

bool FrmKabel::GleichesBand() const
{
    try {
        return varo::GleichesBand(m_text1->toPlainText());
    } catch (const std::exception &) {
        // A frequency that cannot be read puts nothing in a band; the
        // calculation refuses it with its own message.
        return false;
    }
}

void FrmKabel::Command1_Click()
{
    // The access key Alt+R clicks without taking the focus; the button takes
    // it here as a click would, so leaving Text1 proposes the length first.
    if (m_text1->hasFocus())
        m_command1->setFocus(Qt::ShortcutFocusReason);
    const Berechnungsanfrage a = anfrage();
    const Vorpruefung pruefung = vorpruefen(a);
    if (pruefung != Vorpruefung::Bestanden) {
        vorpruefungMelden(pruefung, m_ui, m_werte.ZeilenEnde);
        return;
    }
    // The calculation lets window events run; a second click meanwhile must
    // not start a second calculation into the same report.
    if (m_rechnetGerade || !m_rechnen)
        return;
    m_rechnetGerade = true;
    const QPointer<FrmKabel> dialog(this);
    const Rechenfunktion rechnen = m_rechnen;
    rechnen(a);
    if (dialog)
        m_rechnetGerade = false;
}

void FrmKabel::Text1_LostFocus()
{
    // Only the text calculations that look for lengths want a proposal, and
    // a length the user gave stays.
    if (m_modus == Berechnungsmodus::VorhKabel || !m_text3->text().isEmpty())
        return;
    const QString vorschlag = laengenVorschlag(m_text1->toPlainText(), QLocale());
    if (!vorschlag.isEmpty())
        m_text3->setText(vorschlag);
}

void FrmKabel::showEvent(QShowEvent *ereignis)
{
    QWidget::showEvent(ereignis);
    // The window system's own show events (restoring from the task bar)
    // are no new use of the dialog.
    if (!ereignis->spontaneous())
        Form_Activate();
}

bool FrmKabel::eventFilter(QObject *objekt, QEvent *ereignis)
{
    const QEvent::Type art = ereignis->type();
    if (art == QEvent::KeyPress || art == QEvent::InputMethod) {
        if (eingabeAbweisen(*ereignis, objekt == m_text1))
            return true;
    } else if (art == QEvent::FocusOut && objekt == m_text1) {
        // Switching to another window or opening the context menu does not
        // leave the field.
        const Qt::FocusReason grund = static_cast<QFocusEvent *>(ereignis)->reason();
        if (grund != Qt::ActiveWindowFocusReason && grund != Qt::PopupFocusReason)
            Text1_LostFocus();
    }
    return QWidget::eventFilter(objekt, ereignis);
}

} // namespace varo
