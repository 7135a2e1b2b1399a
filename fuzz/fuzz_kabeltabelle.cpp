// The cable table reader takes any bytes: every row it keeps has a
// velocity factor strictly between 0 and 1, and its item text decomposes
// back into the same type name and attenuation field.
#include "kabeltabelle.h"
#include "laufzeitfehler.h"

#include <QByteArray>
#include <QLocale>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *daten, size_t groesse)
{
    const QByteArray inhalt(reinterpret_cast<const char *>(daten), int(groesse));
    try {
        const QList<varo::Kabeltyp> kabel = varo::kabelZeilenLesen(varo::kabelDateiZeilen(inhalt));
        for (const varo::Kabeltyp &k : kabel) {
            if (!(k.Vk > 0.0F && k.Vk < 1.0F))
                std::abort();
            const QString item = varo::kabelItemText(k, QLocale::c());
            (void)varo::kabelZerlegen(item);
            if (!k.Daempfung.isEmpty()) {
                try {
                    (void)varo::KabelDaempfung(30.0F, 7.1F, k.Daempfung);
                } catch (const varo::Laufzeitfehler &) {
                    // Unusable attenuation fields are reported as run-time errors.
                }
            }
        }
    } catch (const varo::Laufzeitfehler &e) {
        if (e.nummer() != varo::fehler::Ueberlauf)
            std::abort();
    }
    return 0;
}
