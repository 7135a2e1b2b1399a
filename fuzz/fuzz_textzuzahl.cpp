// TextZuZahl must read any text without crashing, hanging or reading out
// of bounds; the only failure it may report is the overflow error.
#include "konvertierung.h"
#include "laufzeitfehler.h"

#include <QString>

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *daten, size_t groesse)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(daten), int(groesse));
    try {
        const double wert = varo::TextZuZahl(varo::KommaZuPunkt(text));
        if (!std::isfinite(wert))
            std::abort(); // beyond range must be the overflow error, never inf or nan
        (void)varo::FrequenzListe(varo::KommaZuPunkt(text));
    } catch (const varo::Laufzeitfehler &e) {
        if (e.nummer() != varo::fehler::Ueberlauf)
            std::abort();
    }
    return 0;
}
