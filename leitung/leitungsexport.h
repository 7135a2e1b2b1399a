#pragma once

#include "leitungszeichnung.h"

#include <QByteArray>
#include <QLocale>
#include <QSize>
#include <QString>

namespace varo {

// The header line of the table.
inline const QString leitungsCsvKopf =
    QStringLiteral("f/MHz;R/Ohm;X/Ohm;|Z|/Ohm;SWR Sender;SWR Antenne;Verlust angepasst/dB;"
                   "Verlust gesamt/dB");

// One line per frequency after the header, ";" between the fields, the
// locale's decimal separator and ten significant digits; lines end in "\n".
QByteArray leitungsCsv(const QList<Leitungswerte> &werte, const QLocale &locale);

// Writes the chart (PNG, SVG, PDF) or the table (CSV), chosen by the ending
// of datei; pixel is the chart's size, an invalid size means the designed
// one. Returns 0, or 1 with a German reason in meldung.
int leitungExportieren(const Leitungsdiagramm &diagramm, const QString &datei, QSize pixel,
                       QString &meldung);

} // namespace varo
