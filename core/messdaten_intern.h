#pragma once

// What the Touchstone and the table reader share: lines, numbers, fields and
// the collecting of points with their checks. Not for use outside the reader.

#include "messdaten.h"

#include <QByteArrayView>
#include <QVarLengthArray>

namespace varo::messdaten {

// The lines of a file, whichever of LF, CR LF or CR ends them.
class Zeilenleser
{
public:
    explicit Zeilenleser(const QByteArray &daten) : m_daten(daten) {}

    // The next line without its end; false after the last.
    bool naechste(QByteArrayView &zeile);
    // The number of the line last returned, counted from 1.
    int nummer() const { return m_nummer; }

private:
    const QByteArray &m_daten;
    qsizetype m_pos = 0;
    int m_nummer = 0;
};

// A line without what follows "!" and without blanks or tabs around it.
QByteArrayView ohneKommentar(QByteArrayView zeile);

// The fields of a line: split at runs of blanks and tabs (trenner 0) or at
// every trenner, each trimmed of blanks and double quotes.
using Felder = QVarLengthArray<QByteArrayView, 16>;
Felder felderTeilen(QByteArrayView zeile, char trenner);

// A number in C form (E-notation, leading zeros, a leading "+"), or with a
// decimal comma when it holds no point; nothing for any other text and for
// numbers beyond the range of a double.
std::optional<double> zahlLesen(QByteArrayView text);

// Text of the file quoted for a message, cut when long.
QString zitiert(QByteArrayView text);

// A frequency in Hz as messages show it.
QString hertzText(double fHz);

// Collects points in file order and refuses what the checks find.
class Punktsammler
{
public:
    Punktsammler(Messlesung &lesung, const QString &name);

    // Refuses the file for a fault in zeile (0: the whole file) and returns false.
    bool ablehnen(int zeile, const QString &satz);
    // Adds a point after the checks of its frequency; false when refused.
    bool hinzufuegen(int zeile, double fHz, std::optional<Komplex> Z);
    // The end of the data: refuses an empty file, notes the gaps.
    bool abschliessen();
    qsizetype anzahl() const { return m_lesung.daten.punkte.size(); }

private:
    Messlesung &m_lesung;
    QString m_name;
};

// The table reader, for a file whose first line with content is a header.
Messlesung csvLesen(const QByteArray &daten, const QString &name);

} // namespace varo::messdaten
