#pragma once

// Writing impedances as a Touchstone one-port file that other programs
// read: "# MHz S RI R 50", one frequency a line, S11 with 15 significant
// digits, always with a decimal point whatever the locale. A gap has no
// reflection coefficient and Touchstone no way to mark one: its line is
// left out, and a comment line in its place names its frequency.

#include "messdaten.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace varo {

// The file's text; beschreibung says what the data are, e.g. "Impedanz am
// Sender durch 27,5 m RG-213", and goes into the first comment line with
// the program's name.
QByteArray touchstoneText(const QList<Messpunkt> &punkte, const QString &beschreibung);

// Writes the text through a temporary file that replaces pfad only when
// every byte is on the disk. Returns an empty string, or the German cause.
QString touchstoneSchreiben(const QString &pfad, const QList<Messpunkt> &punkte,
                            const QString &beschreibung);

} // namespace varo
