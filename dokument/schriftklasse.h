#pragma once

// The family class of a font: what a reader or a screen without the font
// itself puts in its place. The report's "Tahoma" must fall back to a
// proportional sans face even in a box whose own font is fixed-pitch.

#include <QFont>
#include <QString>
#include <QTextCharFormat>

namespace varo {

enum class Schriftklasse : quint8 { Unbekannt, Serifenlos, Serif, Fest };

// From the family name: Courier, Consolas and "Mono" fonts are fixed-pitch,
// Times, "Serif" (not "Sans Serif") and "Roman" fonts have serifs, the rest
// are sans.
Schriftklasse schriftklasseVonName(const QString &familie);

// Sets the family with the hint and pitch of its class (from the name when
// klasse is Unbekannt), so a missing font is replaced by one of its kind.
void schriftSetzen(QTextCharFormat &format, const QString &familie,
                   Schriftklasse klasse = Schriftklasse::Unbekannt);
void schriftSetzen(QFont &schrift, const QString &familie);

} // namespace varo
