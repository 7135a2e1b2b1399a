#pragma once

#include "bildexport.h"
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

// The chart as an export draws it, in the default locale.
Bildvorlage leitungsBildvorlage(const Leitungsdiagramm &diagramm);

// Writes the chart (PNG, SVG, PDF) or the table (CSV), chosen by the ending
// of datei; pixel is the chart's size, an invalid size means the designed
// one.
Exportergebnis leitungExportieren(const Leitungsdiagramm &diagramm, const QString &datei,
                                  QSize pixel = QSize());

} // namespace varo
