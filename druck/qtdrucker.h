#pragma once

#include "drucker.h"

#include <QFont>
#include <QString>
#include <functional>
#include <memory>

class QPainter;
class QPrinter;

namespace varo {

// The printer port over QPrinter. Without an installed printer Qt would
// quietly print into a PDF file; the program must instead see a missing
// printer, so then every operation throws error 484 and the callers'
// fallbacks (73 lines per page, the "Drucker-Fehler?" box) apply.
class QtDrucker : public Drucker
{
public:
    // The system's current default printer.
    QtDrucker();
    // A printer that writes every job into this PDF file (for tests and
    // exports); it counts as installed.
    static std::unique_ptr<QtDrucker> fuerPdf(const QString &datei);
    ~QtDrucker() override;

    QtDrucker(const QtDrucker &) = delete;
    QtDrucker &operator=(const QtDrucker &) = delete;

    // False when no printer is installed; the operations then throw.
    bool vorhanden() const;
    // True for the printer that writes into a PDF file (it has no queue).
    bool pdfDatei() const { return m_pdf; }
    // The printer behind the port, for the print and set-up dialogs.
    QPrinter *qprinter() const { return m_printer.get(); }
    // The printer chosen in the set-up dialog becomes the default this run
    // follows; the system's default printer is not changed.
    void gewaehltenDruckerMerken();
    // Asks the print system afresh whether there is a printer, so a print
    // server that was unreachable once is found again when it is back. The
    // paper and orientation chosen so far are kept.
    void auffrischen();
    // The name print queues and PDF files show for the document.
    static QString dokumentname(const QTextDocument &dokument);
    // Asked after every job whether the print system took it: empty when
    // it did, else the reason. On a queue this asks CUPS; a PDF file needs
    // no check. Tests put a print system of their own here.
    using Auftragspruefung = std::function<QString()>;
    void setAuftragspruefung(Auftragspruefung pruefung) { m_pruefung = std::move(pruefung); }

    QString geraetename() const override;
    void setStandardFolgen(bool folgen) override;
    void setMasseinheit(Masseinheit einheit) override;
    void setSchriftname(const QString &name) override;
    void setSchriftgroesse(double punkte) override;
    Seitenlage seitenlage() const override;
    void setSeitenlage(Seitenlage lage) override;
    Papierformat papierformat() const override;
    void setPapierformat(Papierformat format) override;
    Papierfach papierfach() const override;
    void setPapierfach(Papierfach fach) override;
    int seitenhoeheTwips() const override;
    int seitenbreiteTwips() const override;
    double textHoehe(const QString &text) const override;
    void dokumentBeenden() override;
    void bildDrucken(const QImage &bild) override;
    void dokumentDrucken(const QTextDocument &dokument) override;

private:
    explicit QtDrucker(const QString &pdfDatei);
    void pruefen() const; // throws when there is no printer
    void aufStandarddruckerSetzen();
    void aufWarteschlangeSetzen(const QString &name);
    void warteschlangenpapierNehmen(); // the queue's default paper
    // Every job starts from the device's own coordinates and ends with
    // the print system's answer; both throw the printer error.
    void auftragBeginnen(QPainter &maler);
    void auftragBeenden(QPainter &maler);

    std::unique_ptr<QPrinter> m_printer;
    bool m_pdf = false;
    bool m_systemHatDrucker = false;
    QString m_gewaehlt;                         // chosen in this run's set-up, else empty
    Masseinheit m_einheit = Masseinheit::Twips; // as a fresh printer object measures
    QFont m_schrift;
    Auftragspruefung m_pruefung;
};

} // namespace varo
