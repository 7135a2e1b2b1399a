#include "dokumentdialoge.h"

#include "laufzeitfehler.h"
#include "qtdrucker.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

namespace varo {

namespace {

QString rtfFilter()
{
    // Linux file names tell case apart; reports from elsewhere end in .RTF.
    return QStringLiteral("Rich-Text-Datei (*.rtf *.Rtf *.RTF)");
}

QPrinter *druckerOderFehler(QtDrucker *drucker)
{
    if (!drucker || !drucker->vorhanden())
        throw Laufzeitfehler(fehler::DruckerInformation);
    return drucker->qprinter();
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
    const bool ok = dialog.exec() == QDialog::Accepted;
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
    if (dialog.exec() != QDialog::Accepted)
        return false;
    m_drucker->gewaehltenDruckerMerken();
    return true;
}

std::optional<Schriftwahl> QtDokumentdialoge::schrift(QWidget *eltern, const Schriftwahl &vorgabe)
{
    bool ok = false;
    const QFont schrift =
        QFontDialog::getFont(&ok, vorgabe.schrift, eltern, QStringLiteral("Schriftart"));
    if (!ok)
        return std::nullopt;
    // The colour is the second half of the same choice; cancelling it
    // cancels the whole command.
    const QColor farbe =
        QColorDialog::getColor(vorgabe.farbe.isValid() ? vorgabe.farbe : QColor(Qt::black), eltern,
                               QStringLiteral("Schriftfarbe"));
    if (!farbe.isValid())
        return std::nullopt;
    return Schriftwahl{schrift, farbe};
}

} // namespace varo
