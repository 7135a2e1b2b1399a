#pragma once

#include <QString>

namespace varo {

// Whether the print system took the job that was sent last from this
// thread: empty when it did, else the reason in German, one line. Qt hands
// a finished job to CUPS without looking at the answer; a queue that
// rejects jobs or a print server that is gone would lose the job without
// a word. Without CUPS support in the build the answer is always empty.
QString letzterAuftragAbgelehnt(const QString &warteschlange);

} // namespace varo
