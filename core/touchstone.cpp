#include "touchstone.h"

#include "dateilesen.h"
#include "messung.h"
#include "version.h"

#include <QLocale>

namespace varo {

QByteArray touchstoneText(const QList<Messpunkt> &punkte, const QString &beschreibung)
{
    // 15 significant digits and a point always, whatever the locale.
    const Zahlschreiber zahlAnhaengen(QLocale::c(), 15, true);
    QByteArray text = QStringLiteral("! Varolinaten %1.%2.%3: %4\n")
                          .arg(version::major)
                          .arg(version::minor)
                          .arg(version::revision)
                          .arg(beschreibung)
                          .toUtf8();
    text += QStringLiteral("! S11 gegen 50 Ω. Frequenzen ohne passive Impedanz (Lücken) fehlen; "
                           "an ihrer Stelle steht ein Kommentar.\n")
                .toUtf8();
    text += "# MHz S RI R 50\n";
    text.reserve(text.size() + punkte.size() * 64);
    for (const Messpunkt &p : punkte) {
        if (!p.Z) {
            text += QStringLiteral("! Lücke bei ").toUtf8();
            zahlAnhaengen(text, p.fHz / 1.0e6);
            text += " MHz: keine passive Impedanz\n";
            continue;
        }
        const Komplex gamma = (*p.Z - kSenderImpedanz) / (*p.Z + kSenderImpedanz);
        zahlAnhaengen(text, p.fHz / 1.0e6);
        text += ' ';
        zahlAnhaengen(text, gamma.real());
        text += ' ';
        zahlAnhaengen(text, gamma.imag());
        text += '\n';
    }
    return text;
}

QString touchstoneSchreiben(const QString &pfad, const QList<Messpunkt> &punkte,
                            const QString &beschreibung)
{
    return dateiSchreiben(pfad, touchstoneText(punkte, beschreibung));
}

} // namespace varo
