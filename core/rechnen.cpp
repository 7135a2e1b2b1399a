#include "rechnen.h"

#include "konvertierung.h"
#include "laufzeitfehler.h"
#include "oberflaeche.h"

#include <cmath>
#include <limits>
#include <new>
#include <vector>

namespace varo {

namespace {

// Rounds to single; beyond its range the value becomes infinite.
float rundeSingle(double wert)
{
    if (std::fabs(wert) > static_cast<double>(std::numeric_limits<float>::max()))
        return wert < 0 ? -std::numeric_limits<float>::infinity()
                        : std::numeric_limits<float>::infinity();
    return static_cast<float>(wert);
}

// A frequency piece of the same-band check. A number beyond the range of a
// single counts as infinite instead of stopping the dialog.
float alsSingle(const QString &stueck)
{
    double wert = 0.0;
    try {
        wert = TextZuZahl(KommaZuPunkt(stueck));
    } catch (const Laufzeitfehler &) {
        const bool negativ = stueck.trimmed().startsWith(QLatin1Char('-'));
        return negativ ? -std::numeric_limits<float>::infinity()
                       : std::numeric_limits<float>::infinity();
    }
    return rundeSingle(wert);
}

} // namespace

bool GleichesBand(const QString &frequenzText)
{
    QString s = frequenzText;
    if (!s.endsWith(QLatin1Char('/')))
        s += QLatin1Char('/');
    QStringList stuecke = s.split(QLatin1Char('/'));
    stuecke.removeLast();

    std::vector<float> f;
    f.reserve(stuecke.size());
    for (const QString &stueck : stuecke)
        f.push_back(alsSingle(stueck));

    // The window lies around the later entry. Frequencies that keep out of
    // each other's windows differ by at least 10 % each, so a conflict turns
    // up after a few thousand entries at most and the loop cannot run long.
    for (size_t i = 1; i < f.size(); ++i) {
        const float unten = rundeSingle(0.9 * static_cast<double>(f[i]));
        const float oben = rundeSingle(1.1 * static_cast<double>(f[i]));
        for (size_t j = 0; j < i; ++j) {
            if (unten <= f[j] && f[j] <= oben)
                return true;
        }
    }
    return false;
}

Vorpruefung vorpruefen(const Berechnungsanfrage &anfrage)
{
    if (anfrage.Text1.isEmpty() || anfrage.Combo1Text.isEmpty() || anfrage.Text3.isEmpty() ||
        anfrage.Text4.isEmpty())
        return Vorpruefung::FeldLeer;
    if (anfrage.Berechnungsart == berechnungsart::mehrere) {
        try {
            return GleichesBand(anfrage.Text1) ? Vorpruefung::GleichesBand : Vorpruefung::Bestanden;
        } catch (const std::bad_alloc &) {
            // A list too long to hold puts nothing in a band; the
            // calculation refuses it with its own message.
            return Vorpruefung::Bestanden;
        }
    }
    if (anfrage.Berechnungsart == berechnungsart::eine ||
        anfrage.Berechnungsart == berechnungsart::vorhKabel)
        return Vorpruefung::Bestanden;
    return Vorpruefung::UnbekannteArt;
}

QString gleichesBandText(const QString &ze)
{
    return QStringLiteral("Es sind Frequenzen im gleichen Band vorhanden!") + ze +
           QStringLiteral("Das ergiebt wenig Sinn.") + ze +
           QStringLiteral("Bitte dafür eine Mittenfrequenz o.Ä. eingeben.");
}

Rechenergebnis vorpruefungMelden(Vorpruefung ergebnis, Rechenkontext &kontext)
{
    return vorpruefungMelden(ergebnis, kontext.ui, kontext.werte.ZeilenEnde);
}

Rechenergebnis vorpruefungMelden(Vorpruefung ergebnis, Oberflaeche &ui, const QString &zeilenEnde)
{
    switch (ergebnis) {
    case Vorpruefung::Bestanden:
        return Rechenergebnis::Bericht;
    case Vorpruefung::FeldLeer:
        ui.piep();
        return Rechenergebnis::Abgelehnt;
    case Vorpruefung::GleichesBand:
        ui.meldung(gleichesBandText(zeilenEnde), QStringLiteral("Frequenzeingabe"),
                   Symbol::Ausrufezeichen, Knoepfe::Ok);
        return Rechenergebnis::Hinweis;
    case Vorpruefung::UnbekannteArt:
        break;
    }
    return Rechenergebnis::Abgelehnt;
}

Rechenergebnis berechnen(const Berechnungsanfrage &anfrage, Rechenkontext &kontext)
{
    if (anfrage.Berechnungsart == berechnungsart::mehrere)
        return RechnenMehrere(anfrage, kontext);
    if (anfrage.Berechnungsart == berechnungsart::eine)
        return RechnenEine(anfrage, kontext);
    if (anfrage.Berechnungsart == berechnungsart::vorhKabel)
        return RechnenVorhKabel(anfrage, kontext);
    return Rechenergebnis::Abgelehnt;
}

Rechenergebnis Rechnen(const Berechnungsanfrage &anfrage, Rechenkontext &kontext)
{
    const Vorpruefung pruefung = vorpruefen(anfrage);
    if (pruefung != Vorpruefung::Bestanden)
        return vorpruefungMelden(pruefung, kontext);
    return berechnen(anfrage, kontext);
}

} // namespace varo
