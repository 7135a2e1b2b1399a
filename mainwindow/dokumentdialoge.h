#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <optional>

class QWidget;

namespace varo {

class QtDrucker;

// What the user chose in the print dialog.
enum class Druckumfang { Abbruch, Alles, Auswahl };

// Font and colour, as the font command offers and applies them.
struct Schriftwahl
{
    QFont schrift;
    QColor farbe;
};

// The common dialogs of the document commands. The commands ask these
// questions only through this interface, so tests answer them without
// modal windows. A cancel is an empty or absent answer, never an error.
class Dokumentdialoge
{
public:
    virtual ~Dokumentdialoge() = default;

    // The file to open, empty when cancelled.
    virtual QString dateiOeffnen(QWidget *eltern) = 0;
    // The file to save to, the overwrite question already answered; empty
    // when cancelled.
    virtual QString dateiSpeichern(QWidget *eltern, const QString &vorschlag) = 0;
    // The search text, empty when cancelled.
    virtual QString suchtext(QWidget *eltern, const QString &vorgabe) = 0;
    // May throw Laufzeitfehler when there is no printer to choose.
    virtual Druckumfang drucken(QWidget *eltern, bool auswahlMoeglich) = 0;
    // Lets the user change the program's printer; false when cancelled.
    virtual bool druckerEinrichten(QWidget *eltern) = 0;
    // Font, then colour; a cancelled colour keeps the font with the colour
    // of the default.
    virtual std::optional<Schriftwahl> schrift(QWidget *eltern, const Schriftwahl &vorgabe) = 0;
};

// The dialogs with Qt's file, input, print, font and colour dialogs. The
// print dialogs act on the QPrinter of the program's printer; without one
// (or without an installed printer) they fail like a missing printer.
class QtDokumentdialoge : public Dokumentdialoge
{
public:
    explicit QtDokumentdialoge(QtDrucker *drucker) : m_drucker(drucker) {}

    QString dateiOeffnen(QWidget *eltern) override;
    QString dateiSpeichern(QWidget *eltern, const QString &vorschlag) override;
    QString suchtext(QWidget *eltern, const QString &vorgabe) override;
    Druckumfang drucken(QWidget *eltern, bool auswahlMoeglich) override;
    bool druckerEinrichten(QWidget *eltern) override;
    std::optional<Schriftwahl> schrift(QWidget *eltern, const Schriftwahl &vorgabe) override;

    // "Rich-Text-Datei (*.rtf …);;Alle Dateien (*)"
    static QString dateifilter();

private:
    QtDrucker *m_drucker;
};

} // namespace varo
