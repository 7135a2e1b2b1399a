#include "dokumentdialoge.h"

#include "laufzeitfehler.h"
#include "qtdrucker.h"

#include <QAbstractButton>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFileDialog>
#include <QFontDialog>
#include <QFontInfo>
#include <QInputDialog>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QSet>

namespace varo {

namespace {

QString rtfFilter()
{
    // Linux file names tell case apart; reports from elsewhere end in .RTF.
    return QStringLiteral("Rich-Text-Datei (*.rtf *.Rtf *.RTF)");
}

// Every print and every set-up asks for the printer afresh.
QPrinter *druckerOderFehler(QtDrucker *drucker)
{
    if (drucker)
        drucker->auffrischen();
    if (!drucker || !drucker->vorhanden())
        throw Laufzeitfehler(fehler::DruckerInformation);
    return drucker->qprinter();
}

// Qt's print dialog takes the paper from the queue's defaults, not from the
// printer it is given, and applies it on OK even when the user never looked
// at the paper. This watch shows the printer's paper when the user opens the
// paper sheet, tells whether it was opened, and hides the page range, which
// the dialog offers whatever its options say.
class Papierwache : public QObject
{
public:
    Papierwache(QPrintDialog &dialog, const QPageLayout &layout, bool ohneSeitenbereich)
        : m_layout(layout), m_ohneSeitenbereich(ohneSeitenbereich)
    {
        dialog.installEventFilter(this);
        for (QDialog *blatt : dialog.findChildren<QDialog *>(Qt::FindDirectChildrenOnly))
            blatt->installEventFilter(this);
    }

    // True when the user saw the paper sheet and may have chosen there.
    bool papierGezeigt() const { return m_gezeigt; }

protected:
    bool eventFilter(QObject *objekt, QEvent *ereignis) override
    {
        if (ereignis->type() == QEvent::ChildAdded) {
            // The paper sheet is a dialog of its own inside the print dialog;
            // still under construction here, it is known by type only when
            // it shows.
            QObject *kind = static_cast<QChildEvent *>(ereignis)->child();
            if (kind->isWidgetType())
                kind->installEventFilter(this);
        } else if (ereignis->type() == QEvent::Show) {
            if (qobject_cast<QPrintDialog *>(objekt)) {
                if (m_ohneSeitenbereich)
                    seitenbereichVerbergen(static_cast<QWidget *>(objekt));
            } else if (auto *blatt = qobject_cast<QDialog *>(objekt)) {
                papierZeigen(blatt);
            }
        }
        return false;
    }

private:
    static void seitenbereichVerbergen(QWidget *dialog)
    {
        for (const char *name : {"printRange", "from", "to", "pagesRadioButton", "pagesLineEdit",
                                 "printCurrentPage"}) {
            if (auto *w = dialog->findChild<QWidget *>(QLatin1String(name)))
                w->hide();
        }
    }

    void papierZeigen(QDialog *blatt)
    {
        auto *papier = blatt->findChild<QComboBox *>(QStringLiteral("pageSizeCombo"));
        if (!papier)
            return;
        m_gezeigt = true;
        // Once per sheet: a second look must not undo the user's choice.
        if (m_eingestellt.contains(blatt))
            return;
        m_eingestellt.insert(blatt);
        const QPageSize groesse = m_layout.pageSize();
        for (int i = 0; i < papier->count(); ++i) {
            const QPageSize eintrag = papier->itemData(i).value<QPageSize>();
            if (eintrag.isValid() &&
                (groesse.id() == QPageSize::Custom ? eintrag.isEquivalentTo(groesse)
                                                   : eintrag.id() == groesse.id())) {
                papier->setCurrentIndex(i);
                break;
            }
        }
        const char *lage =
            m_layout.orientation() == QPageLayout::Landscape ? "landscape" : "portrait";
        if (auto *knopf = blatt->findChild<QAbstractButton *>(QLatin1String(lage)))
            knopf->setChecked(true);
    }

    QPageLayout m_layout;
    bool m_ohneSeitenbereich;
    bool m_gezeigt = false;
    QSet<QObject *> m_eingestellt;
};

// The default paper of the printer's queue; invalid for a file printer.
QPageSize warteschlangenpapier(const QPrinter &printer)
{
    if (printer.outputFormat() != QPrinter::NativeFormat)
        return {};
    return QPrinterInfo::printerInfo(printer.printerName()).defaultPageSize();
}

// What paper a dialog confirmed without a look at its paper sheet leaves.
enum class Papierwahl {
    Fest,          // a file printer: the paper set up, whatever the dialog chose
    Behalten,      // printing: the paper set up, unless another queue was chosen
    Warteschlange, // the set-up: the default paper of the queue chosen
};

// Runs the print dialog. Unless the user chose a paper on the paper sheet,
// the printer keeps its paper; in the set-up, or when the user chose
// another queue, it takes that queue's own default paper. A file printer
// has no queue and keeps its paper, even where the dialog offered queues.
bool druckdialogAusfuehren(QPrintDialog &dialog, QPrinter &printer, bool ohneSeitenbereich,
                           Papierwahl wahl)
{
    const QPageLayout eingerichtet = printer.pageLayout();
    const QString vorher = printer.printerName();
    // The paper sheet, when opened, shows the paper OK would print on.
    QPageLayout gezeigt = eingerichtet;
    const QPageSize eigenes =
        wahl == Papierwahl::Fest ? QPageSize() : warteschlangenpapier(printer);
    if (wahl == Papierwahl::Warteschlange && eigenes.isValid())
        gezeigt.setPageSize(eigenes);
    const Papierwache wache(dialog, gezeigt, ohneSeitenbereich);
    const bool ok = dialog.exec() == QDialog::Accepted;
    if (!ok || wache.papierGezeigt())
        return ok;
    printer.setPageLayout(eingerichtet);
    const QPageSize gewaehlt = warteschlangenpapier(printer);
    if (wahl != Papierwahl::Fest &&
        (wahl == Papierwahl::Warteschlange || printer.printerName() != vorher) &&
        gewaehlt.isValid())
        printer.setPageSize(gewaehlt);
    return ok;
}

// The face the text is shown in. The font dialog lists installed faces only
// and finds one by family and style name: a family the machine lacks would
// open at the dialog's first family, and a style name made up from weight
// and slant can hit a face of a wider family of the same name ("Condensed
// Italic" for DejaVu Serif Bold Italic).
QFont gezeigteSchrift(const QFont &schrift)
{
    const QFontInfo info(schrift);
    QFont gezeigt = schrift;
    gezeigt.setFamilies({info.family()});
    // A bold or slanted face that is only drawn so has no style of its own.
    if (info.bold() == schrift.bold() && info.italic() == schrift.italic())
        gezeigt.setStyleName(info.styleName());
    return gezeigt;
}

} // namespace

QString QtDokumentdialoge::dateifilter()
{
    return rtfFilter() + QStringLiteral(";;Alle Dateien (*)");
}

QString QtDokumentdialoge::dateiOeffnen(QWidget *eltern)
{
    return QFileDialog::getOpenFileName(eltern, QStringLiteral("Öffnen"), QString(), dateifilter());
}

QString QtDokumentdialoge::dateiSpeichern(QWidget *eltern, const QString &vorschlag)
{
    QFileDialog dialog(eltern, QStringLiteral("Speichern unter"), QString(), dateifilter());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("rtf"));
    dialog.selectFile(vorschlag);
    // Asking before an existing file is overwritten is the dialog's default.
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString QtDokumentdialoge::suchtext(QWidget *eltern, const QString &vorgabe)
{
    bool ok = false;
    const QString text = QInputDialog::getText(eltern, QStringLiteral("Suchen"),
                                               QStringLiteral("Bitte Suchtext eingeben."),
                                               QLineEdit::Normal, vorgabe, &ok);
    return ok ? text : QString();
}

Druckumfang QtDokumentdialoge::drucken(QWidget *eltern, bool auswahlMoeglich)
{
    QPrinter *printer = druckerOderFehler(m_drucker);
    QPrintDialog dialog(printer, eltern);
    dialog.setWindowTitle(QStringLiteral("Drucken"));
    // No page range and no printing into a file: a file is what "Speichern"
    // is for, and a PDF must not stand in for a printer.
    QAbstractPrintDialog::PrintDialogOptions optionen =
        QAbstractPrintDialog::PrintShowPageSize | QAbstractPrintDialog::PrintCollateCopies;
    if (auswahlMoeglich)
        optionen |= QAbstractPrintDialog::PrintSelection;
    dialog.setOptions(optionen);
    dialog.setPrintRange(auswahlMoeglich ? QAbstractPrintDialog::Selection
                                         : QAbstractPrintDialog::AllPages);
    const bool ok = druckdialogAusfuehren(
        dialog, *printer, true, m_drucker->pdfDatei() ? Papierwahl::Fest : Papierwahl::Behalten);
    const bool auswahl = dialog.printRange() == QAbstractPrintDialog::Selection;
    // The range was only the choice here; the printer prints whole documents,
    // the selection being made into one of its own.
    printer->setPrintRange(QPrinter::AllPages);
    if (!ok)
        return Druckumfang::Abbruch;
    return auswahl ? Druckumfang::Auswahl : Druckumfang::Alles;
}

bool QtDokumentdialoge::druckerEinrichten(QWidget *eltern)
{
    QPrinter *printer = druckerOderFehler(m_drucker);
    // Qt's print dialog is its printer set-up as well: printer, paper,
    // orientation and bin, applied to the printer only on OK.
    QPrintDialog dialog(printer, eltern);
    dialog.setWindowTitle(QStringLiteral("Drucker einrichten"));
    dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize);
    if (auto *knoepfe = dialog.findChild<QDialogButtonBox *>()) {
        if (QPushButton *ok = knoepfe->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("OK"));
    }
    if (!druckdialogAusfuehren(dialog, *printer, false,
                               m_drucker->pdfDatei() ? Papierwahl::Fest
                                                     : Papierwahl::Warteschlange))
        return false;
    m_drucker->gewaehltenDruckerMerken();
    return true;
}

std::optional<Schriftwahl> QtDokumentdialoge::schrift(QWidget *eltern, const Schriftwahl &vorgabe)
{
    bool ok = false;
    const QFont start = gezeigteSchrift(vorgabe.schrift);
    QFont schrift = QFontDialog::getFont(&ok, start, eltern, QStringLiteral("Schriftart"));
    if (!ok)
        return std::nullopt;
    // Left as it was, the family is the text's own, not the one standing in.
    if (schrift.family() == start.family())
        schrift.setFamilies(vorgabe.schrift.families().isEmpty()
                                ? QStringList{vorgabe.schrift.family()}
                                : vorgabe.schrift.families());
    // Weight and slant say it from here on.
    schrift.setStyleName(QString());
    // The colour is the second half of the choice; cancelling it keeps the
    // font just chosen, in the colour the text had.
    const QColor farbe =
        QColorDialog::getColor(vorgabe.farbe.isValid() ? vorgabe.farbe : QColor(Qt::black), eltern,
                               QStringLiteral("Schriftfarbe"));
    return Schriftwahl{schrift, farbe.isValid() ? farbe : vorgabe.farbe};
}

} // namespace varo
