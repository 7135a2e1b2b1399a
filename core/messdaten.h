#pragma once

// Measured impedances of an antenna as instruments and their programs save
// them: Touchstone one-port files (version 1.x and 2.0) and analyser CSV
// tables. Every point becomes a frequency and the impedance R + jX; a point
// with no passive impedance (|Γ| ≥ 1, as uncalibrated instruments show) is
// kept as a gap and counted, never dropped or turned into a negative
// resistance.

#include "leitungsanalyse.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace varo {

// Most points a file may hold.
inline constexpr qsizetype kMaxMesspunkte = 1000000;

// Most bytes of a measured file: a million points of about 130 characters
// each, room for a comment after every point as some programs write it.
inline constexpr qint64 kMaxMessdateiBytes = qint64{128} * 1024 * 1024;

struct Messpunkt
{
    double fHz = 0.0;
    std::optional<Komplex> Z; // Ω; empty: a gap, no passive impedance
};

enum class Messformat {
    Touchstone1,  // version 1.x
    Touchstone2,  // version 2.0
    AnalysatorCsv // a table with a header line
};

struct Messdaten
{
    QList<Messpunkt> punkte; // frequency rising strictly
    Messformat format = Messformat::Touchstone1;
    double bezug = 50.0;   // reference impedance of the file, Ω
    qsizetype luecken = 0; // points without a passive impedance
    QStringList hinweise;  // German notes on what was read, one sentence each
};

enum class Messlesestatus {
    Gelesen,    // daten holds the file
    Abgelehnt,  // the content is not a measurement this reader takes
    NichtLesbar // the file itself cannot be read (missing, a folder, too large)
};

struct Messlesung
{
    Messlesestatus status = Messlesestatus::Abgelehnt;
    Messdaten daten;
    QString meldung; // one German sentence naming file and line; empty when read
    int zeile = 0;   // the line at fault, counted from 1; 0 for the whole file

    bool gelesen() const { return status == Messlesestatus::Gelesen; }
};

// Reads the file at pfad through the common bounded reading (regular files
// only, at most grenze bytes, checked before and while reading).
Messlesung messdatenLesen(const QString &pfad, qint64 grenze = kMaxMessdateiBytes);

// Reads the bytes of a file; name is how messages call it, and its ending
// ".csv" chooses the table reader. Other files are read as Touchstone unless
// their first line with content is a header of words.
Messlesung messdatenAusBytes(const QByteArray &daten, const QString &name);

// The impedance of a reflection coefficient against zRef, or nothing when
// |Γ| ≥ 1 or the result is not finite.
std::optional<Komplex> impedanzAusReflexion(Komplex gamma, double zRef);

// The impedance itself when it is passive (R > 0, finite), else nothing.
std::optional<Komplex> passiveImpedanz(Komplex Z);

} // namespace varo
