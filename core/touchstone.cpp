#include "touchstone.h"

#include "dateilesen.h"
#include "messung.h"
#include "version.h"

#include <charconv>

namespace varo {

namespace {

// A number in C form with 15 significant digits and a decimal point always.
void zahlAnhaengen(QByteArray &text, double wert)
{
    char puffer[40];
    const auto ergebnis =
        std::to_chars(puffer, puffer + sizeof puffer, wert, std::chars_format::general, 15);
    QByteArray zahl(puffer, ergebnis.ptr - puffer);
    if (!zahl.contains('.')) {
        const qsizetype e = zahl.indexOf('e');
        zahl.insert(e < 0 ? zahl.size() : e, ".0");
    }
    text += zahl;
}

} // namespace

QByteArray touchstoneText(const QList<Messpunkt> &punkte, const QString &beschreibung)
{
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
