#pragma once

#include <QChar>

class QEvent;

namespace varo {

// Characters that may be typed into a number field: digits, "," and "."
// everywhere, "/" only where a list of frequencies is entered; Backspace
// always.
bool zeichenZulaessig(QChar zeichen, bool schraegstrichErlaubt);

// True when a key press or an input-method commit would type something
// else into a number field. Keys that type nothing (arrows, Home, Tab,
// Delete, Escape) pass; Ctrl with a letter (Ctrl+C, Ctrl+V, Ctrl+X) and
// pasting by any key are refused, as they bring no typed number. Other
// events pass.
bool eingabeAbweisen(const QEvent &ereignis, bool schraegstrichErlaubt);

} // namespace varo
