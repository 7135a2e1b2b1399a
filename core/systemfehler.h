#pragma once

// The German cause of a failed system call, from its error number (errno):
// one sentence, never the C library's English text.

#include <QString>

namespace varo {

// ENOSPC is "Kein Speicherplatz mehr auf dem Datenträger."; a number
// without a text of its own still gives a German sentence.
QString systemfehlerText(int fehlernummer);

} // namespace varo
