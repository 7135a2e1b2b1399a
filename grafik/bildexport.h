#pragma once

// Writing a chart to a file: PNG, SVG or PDF by the file's ending, behind
// one signature and one result type for every chart of the program.

#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>

class QPainter;

namespace varo {

// The largest side of an exported picture in device units: far beyond any
// page or screen; keeps a typo from asking for gigabytes.
inline constexpr int kGroessteSeite = 20000;

// What writing a chart came to.
struct Exportergebnis
{
    enum class Ergebnis {
        Geschrieben, // the file holds the chart
        Abgelehnt,   // the input fails a rule of the chart's window
        Fehler,      // anything else: ending, size, the file itself
    };
    Ergebnis ergebnis = Ergebnis::Geschrieben;
    QString meldung; // the window's message text, or the German reason

    static Exportergebnis abgelehnt(QString meldung);
    static Exportergebnis fehler(QString meldung);

    bool geschrieben() const { return ergebnis == Ergebnis::Geschrieben; }
    // The report tool's exit status: 0 written, 2 refused, 1 failed.
    int status() const;
};

// The paint pass of a chart laid out for one surface; the painter's device
// works in units of 1/96 inch.
using Malpass = std::function<void(QPainter &)>;

// What an export needs of a chart.
struct Bildvorlage
{
    QString titel;       // the document title of SVG and PDF
    QSize designGroesse; // the size when the caller gives none
    // Lays the chart out for a surface of that many device units and returns
    // its paint pass; or sets ergebnis to the refusal or failure and returns
    // an empty pass.
    std::function<Malpass(QSize groesse, Exportergebnis &ergebnis)> auslegen;
};

// The picture endings an export knows, in lower case.
const QStringList &bildEndungen();

// The file filter of a save dialog for the picture endings
// ("PNG-Bild (*.png);;SVG-Grafik (*.svg);;PDF-Dokument (*.pdf)").
QString bildFilter();

// datei as the user typed it, with the chosen filter's first ending
// ("Messdateien (*.s1p *.ts)": s1p) added when the name ends in none of the
// filter's endings nor of bekannt; "plan." gets no second dot. An empty
// name or a filter without endings leaves datei as it is.
QString filterEndungErgaenzen(const QString &datei, const QString &filter,
                              const QStringList &bekannt = {});

// The same with the picture endings known.
QString bildEndungErgaenzen(const QString &datei, const QString &filter);

// "Unbekannte Dateiendung „x“: möglich sind .a, .b und .c." for datei.
QString endungUnbekannt(const QString &datei, const QStringList &endungen);

// "Die Datei „x“ kann nicht geschrieben werden: grund"
QString schreibfehler(const QString &datei, const QString &grund);

// Writes the bytes to datei in one go (an existing file stays as it was
// unless every byte was written).
Exportergebnis datenExportieren(const QByteArray &daten, const QString &datei);

// Lays the chart out for pixel (an invalid size means its designed size) and
// writes it as PNG, SVG or PDF, chosen by the ending of datei in any case.
// The picture is drawn in memory first; the file is replaced only when every
// byte has reached the disk.
Exportergebnis bildExportieren(const Bildvorlage &vorlage, const QString &datei,
                               QSize pixel = QSize());

} // namespace varo
