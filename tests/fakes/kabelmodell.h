#pragma once

// Measurements of a cable made by the line model: the input impedance with
// the far end open or shorted, as an analyser records it against 50 Ω, with
// optional noise on |Γ| from a fixed seed. Written as Touchstone files for
// the report tool and the window.

#include "kabeldaten.h"
#include "kabelmessung.h"
#include "touchstone.h"

#include <QString>

#include <cmath>
#include <random>

struct Modellkabel
{
    const char *zeile; // the cable's table row
    double laenge;     // m
    double vonMHz, bisMHz;
    int punkte;
    double rauschen = 0.0; // relative noise on |Γ|, e.g. 0,005
};

inline QList<varo::Messpunkt> modellMessung(const Modellkabel &m, varo::Abschluss abschluss)
{
    const varo::Kabeldaten k = *varo::kabeldatenAusText(QString::fromUtf8(m.zeile));
    const varo::Verlustmodell verlust = varo::verlustAnpassen(k.punkte);
    std::mt19937 zufall(abschluss == varo::Abschluss::Offen ? 4711U : 815U);
    QList<varo::Messpunkt> punkte;
    for (int i = 0; i < m.punkte; ++i) {
        const double f = m.vonMHz + (m.bisMHz - m.vonMHz) * i / (m.punkte - 1);
        const auto c = varo::leitungskonstanten(k.impedanz, k.Vk, verlust, f, true);
        const varo::Komplex t = std::tanh(c.gamma * m.laenge);
        const varo::Komplex z = abschluss == varo::Abschluss::Offen ? c.Zo / t : c.Zo * t;
        varo::Komplex gamma = (z - 50.0) / (z + 50.0);
        gamma *= 1.0 + m.rauschen * (2.0 * zufall() / 4294967295.0 - 1.0);
        punkte.append({f * 1.0e6, varo::impedanzAusReflexion(gamma, 50.0)});
    }
    return punkte;
}

// What the file's first comment says: the cable and its end.
inline QString modellBeschreibung(const Modellkabel &m, varo::Abschluss abschluss)
{
    return QStringLiteral("Modell: %1 m %2, Ende %3")
        .arg(m.laenge)
        .arg(QString::fromUtf8(m.zeile), abschluss == varo::Abschluss::Offen
                                             ? QStringLiteral("offen")
                                             : QStringLiteral("kurzgeschlossen"));
}

// Writes the measurement to pfad; empty when written, else the cause.
inline QString modellDatei(const QString &pfad, const Modellkabel &m, varo::Abschluss abschluss)
{
    return varo::touchstoneSchreiben(pfad, modellMessung(m, abschluss),
                                     modellBeschreibung(m, abschluss));
}
