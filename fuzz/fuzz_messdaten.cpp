// The measured-data reader takes any bytes. The first byte chooses the
// name the bytes come under: an even one a ".s1p" (Touchstone, unless the
// content is a table), an odd one a ".csv". What it keeps is sound: points
// of strictly rising, finite frequencies, only passive impedances, the gaps
// counted; a refusal names its cause and keeps no point. Whatever it keeps
// goes through the line, the networks and the Touchstone writer, and the
// file written is read again.
#include "messdaten.h"
#include "messung.h"
#include "touchstone.h"

#include <QByteArray>
#include <QString>

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

void pruefen(bool bedingung)
{
    if (!bedingung)
        std::abort();
}

void gelesenPruefen(const varo::Messdaten &d)
{
    pruefen(!d.punkte.isEmpty() && d.punkte.size() <= varo::kMaxMesspunkte);
    qsizetype luecken = 0;
    for (qsizetype i = 0; i < d.punkte.size(); ++i) {
        const varo::Messpunkt &p = d.punkte.at(i);
        pruefen(std::isfinite(p.fHz) && p.fHz >= 0.0);
        pruefen(i == 0 || p.fHz > d.punkte.at(i - 1).fHz);
        if (!p.Z)
            ++luecken;
        else
            pruefen(p.Z->real() > 0.0 && std::isfinite(p.Z->real()) && std::isfinite(p.Z->imag()));
    }
    pruefen(luecken == d.luecken);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *daten, size_t groesse)
{
    if (groesse == 0)
        return 0;
    const QByteArray inhalt(reinterpret_cast<const char *>(daten) + 1, int(groesse - 1));
    const QString name = (daten[0] & 1) != 0 ? QStringLiteral("m.csv") : QStringLiteral("m.s1p");
    const varo::Messlesung lesung = varo::messdatenAusBytes(inhalt, name);
    if (!lesung.gelesen()) {
        pruefen(!lesung.meldung.isEmpty() && lesung.daten.punkte.isEmpty());
        return 0;
    }
    pruefen(lesung.meldung.isEmpty());
    const varo::Messdaten &d = lesung.daten;
    gelesenPruefen(d);

    varo::Leitungseingabe leitung;
    leitung.laenge = 20.0;
    leitung.verlust = {0.6178, 0.00545, true};
    const double von = d.punkte.constFirst().fHz / 1e6;
    const double bis = d.punkte.constLast().fHz / 1e6;
    for (const varo::Messort ort : {varo::Messort::Antenne, varo::Messort::Sender}) {
        const varo::Messverlauf verlauf = varo::messverlauf(leitung, ort, d, von, bis);
        for (const varo::Messwerte &w : verlauf.werte) {
            if (w.zSender)
                (void)varo::anpassnetze(*w.zSender);
        }
        (void)varo::messungCsv(verlauf, QLocale::c());
    }

    const varo::Messlesung wieder = varo::messdatenAusBytes(
        varo::touchstoneText(d.punkte, QStringLiteral("Prüfung")), QStringLiteral("x.s1p"));
    // Frequencies a few units of the last digit apart may fall together in
    // the written MHz; whatever reads back is sound.
    if (wieder.gelesen())
        gelesenPruefen(wieder.daten);
    return 0;
}
