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

QString modusText(Berechnungsmodus modus)
{
    switch (modus) {
    case Berechnungsmodus::Eine:
        return QStringLiteral("eine");
    case Berechnungsmodus::Mehrere:
        return QStringLiteral("mehrere");
    case Berechnungsmodus::VorhKabel:
        return QStringLiteral("VorhKabel");
    case Berechnungsmodus::Keiner:
        break;
    }
    return {};
}

Berechnungsmodus modusAusText(const QString &text)
{
    for (const Berechnungsmodus modus :
         {Berechnungsmodus::Eine, Berechnungsmodus::Mehrere, Berechnungsmodus::VorhKabel}) {
        if (text == modusText(modus))
            return modus;
    }
    return Berechnungsmodus::Keiner;
}

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
    if (anfrage.frequenzen.isEmpty() || anfrage.kabel.isEmpty() || anfrage.laenge.isEmpty() ||
        anfrage.toleranz.isEmpty())
        return Vorpruefung::FeldLeer;
    switch (anfrage.modus) {
    case Berechnungsmodus::Mehrere:
        try {
            return GleichesBand(anfrage.frequenzen) ? Vorpruefung::GleichesBand
                                                    : Vorpruefung::Bestanden;
        } catch (const std::bad_alloc &) {
            // A list too long to hold puts nothing in a band; the
            // calculation refuses it with its own message.
            return Vorpruefung::Bestanden;
        }
    case Berechnungsmodus::Eine:
    case Berechnungsmodus::VorhKabel:
        return Vorpruefung::Bestanden;
    case Berechnungsmodus::Keiner:
        break;
    }
    return Vorpruefung::UnbekannteArt;
}

QString gleichesBandText(const QString &ze)
{
    return QStringLiteral("Es sind Frequenzen im gleichen Band vorhanden!") + ze +
           QStringLiteral("Das ergiebt wenig Sinn.") + ze +
           QStringLiteral("Bitte dafür eine Mittenfrequenz o.Ä. eingeben.");
}

QString nurEineFrequenzText()
{
    return QStringLiteral("Keine Berechnung für nur eine Frequenz!");
}

Ausgang vorpruefungMelden(Vorpruefung ergebnis, Rechenkontext &kontext)
{
    return vorpruefungMelden(ergebnis, kontext.ui, kontext.werte.ZeilenEnde);
}

Ausgang vorpruefungMelden(Vorpruefung ergebnis, Oberflaeche &ui, const QString &zeilenEnde)
{
    switch (ergebnis) {
    case Vorpruefung::Bestanden:
        return {};
    case Vorpruefung::FeldLeer:
        ui.piep();
        return Ausgang::abgelehnt(Ablehnung::FeldLeer);
    case Vorpruefung::GleichesBand:
        ui.meldung(gleichesBandText(zeilenEnde), QStringLiteral("Frequenzeingabe"),
                   Symbol::Ausrufezeichen, Knoepfe::Ok);
        return Ausgang::abgelehnt(Ablehnung::GleichesBand);
    case Vorpruefung::UnbekannteArt:
        break;
    }
    return Ausgang::abgelehnt(Ablehnung::KeinModus);
}

Ausgang berechnen(const Berechnungsanfrage &anfrage, Rechenkontext &kontext)
{
    switch (anfrage.modus) {
    case Berechnungsmodus::Eine:
        return RechnenEine(anfrage, kontext);
    case Berechnungsmodus::Mehrere:
        return RechnenMehrere(anfrage, kontext);
    case Berechnungsmodus::VorhKabel:
        return RechnenVorhKabel(anfrage, kontext);
    case Berechnungsmodus::Keiner:
        break;
    }
    return Ausgang::abgelehnt(Ablehnung::KeinModus);
}

Ausgang Rechnen(const Berechnungsanfrage &anfrage, Rechenkontext &kontext)
{
    const Vorpruefung pruefung = vorpruefen(anfrage);
    if (pruefung != Vorpruefung::Bestanden)
        return vorpruefungMelden(pruefung, kontext);
    return berechnen(anfrage, kontext);
}

} // namespace varo
