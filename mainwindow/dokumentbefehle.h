#pragma once

#include "dokumentdialoge.h"

#include <QDate>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QWidget;

namespace varo {

class Drucker;
class Oberflaeche;
class TextEditBerichtsfeld;

// The commands that treat the report as a document: open, save, search,
// print, printer set-up and font. They ask the user only through
// Dokumentdialoge and report only through the Oberflaeche port.
class DokumentBefehle
{
public:
    DokumentBefehle(TextEditBerichtsfeld &feld, Drucker &drucker, Oberflaeche &ui,
                    std::unique_ptr<Dokumentdialoge> dialoge, QWidget *eltern = nullptr);
    ~DokumentBefehle();

    void setDialoge(std::unique_ptr<Dokumentdialoge> dialoge) { m_dialoge = std::move(dialoge); }

    void oeffnen();
    // Opens this file as "&Öffnen" does once the user has chosen it (the
    // file named on the command line): same checks, same messages.
    void dateiOeffnen(const QString &name);
    void speichern();
    void suchen();
    void drucken();
    void druckerEinrichten();
    void schrift();

    // "Varolinaten-Berechnung_20261208.rtf" for 8 December 2026.
    static QString dateivorschlag(const QDate &datum);

    // Largest file "&Öffnen" reads; reports are a few kilobytes.
    static constexpr qint64 maxDateigroesse = qint64{64} * 1024 * 1024;

    // The file the report was read from only in part; saving over it asks
    // first. Empty once the report is cleared or another file is opened.
    const QString &unvollstaendigGelesen() const { return m_unvollstaendig; }

private:
    using Schritt = std::function<bool()>; // false ends the command quietly
    // Printing's error handling: a failing step asks Abort, Retry, Ignore.
    // True when the steps ran to their end (ignored failures included).
    bool druckschritte(const std::vector<Schritt> &schritte);
    void dateifehler(const QString &text, const QString &titel);

    TextEditBerichtsfeld &m_feld;
    Drucker &m_drucker;
    Oberflaeche &m_ui;
    std::unique_ptr<Dokumentdialoge> m_dialoge;
    QWidget *m_eltern;
    QString m_unvollstaendig;
    QMetaObject::Connection m_leerung;
};

} // namespace varo
