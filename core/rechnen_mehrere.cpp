// Multi-frequency calculation: the half-wave multiples of every frequency
// are candidates; a candidate survives when it keeps a distance from every
// unfavourable length of every frequency and the line model rates it well
// enough at each of them. Both limits follow from the tolerance.

#include "bericht.h"
#include "berichtsfeld.h"
#include "eingaben.h"
#include "kabeltabelle.h"
#include "konstanten.h"
#include "konvertierung.h"
#include "laufzeitfehler.h"
#include "leitung.h"
#include "mehrere_filter.h"
#include "oberflaeche.h"
#include "rechnen.h"
#include "zahlenformat.h"

#include <algorithm>
#include <vector>

namespace varo {

void mehrereLaengenSammeln(qint32 ni, float viertelWelle, float vk, std::vector<float> &unguenstig,
                           std::vector<float> &kandidaten)
{
    if (ni < 1)
        return;
    std::vector<float> ungerade(static_cast<size_t>(ni) + 1, 0.0F);
    std::vector<float> gerade(static_cast<size_t>(ni) + 1, 0.0F);
    LaengenVielfache(ni, viertelWelle, vk, ungerade, gerade);
    for (qint32 j = 1; j <= ni; ++j) {
        if (j % 2 == 1)
            unguenstig.push_back(ungerade[j]);
        else
            kandidaten.push_back(gerade[j]);
    }
}

namespace {

float untereGrenze(float y, float w)
{
    return zuSingle(static_cast<double>(y) - w);
}

float obereGrenze(float y, float w)
{
    return zuSingle(static_cast<double>(y) + w);
}

} // namespace

void abstandsfilter(std::vector<float> &kandidaten, const std::vector<float> &unguenstig, float w)
{
    std::vector<float> y;
    y.reserve(unguenstig.size());
    for (const float u : unguenstig) {
        if (u > 0.0F)
            y.push_back(u);
    }
    std::sort(y.begin(), y.end());

    // Rounding is monotonic, so both window bounds rise with y. The first y
    // whose upper bound reaches x has the lowest lower bound of all windows
    // that could hold x: x is inside some window exactly when it is inside
    // that one.
    for (float &x : kandidaten) {
        if (!(x > 0.0F))
            continue;
        const auto erstes = std::partition_point(y.begin(), y.end(),
                                                 [x, w](float u) { return obereGrenze(u, w) < x; });
        if (erstes != y.end() && x >= untereGrenze(*erstes, w))
            x = 0.0F;
    }
}

namespace {

// Lengths the line model rates below the threshold at any of the
// frequencies are removed (set to 0) as well.
void anpassungsfilter(std::vector<float> &kandidaten, const QStringList &frequenzen, float vk,
                      float schwelle)
{
    for (float &x : kandidaten) {
        if (!(x > 0.0F))
            continue;
        const float e = zuSingle(static_cast<double>(x) / vk);
        for (const QString &eintrag : frequenzen) {
            const float lambda = zuSingle(wellenlaenge(eingabe::frequenz(eintrag)));
            const float null = 0.0F;
            float zAusgang = 0.0F;
            if (schwelle > LeitungSWR(e, lambda, null, null, zAusgang))
                x = 0.0F;
        }
    }
}

// The surviving lengths in ascending order. Equal lengths are equal
// numbers, so a stable sort lists exactly what an exchange sort would.
void ergebnisLaengen(const std::vector<float> &kandidaten, std::vector<float> &ergebnis)
{
    ergebnis.clear();
    for (const float x : kandidaten) {
        if (x > 0.0F)
            ergebnis.push_back(x);
    }
    if (static_cast<qint64>(ergebnis.size()) > MaxErgebnisLaengen)
        throw Laufzeitfehler(fehler::Ueberlauf);
    std::stable_sort(ergebnis.begin(), ergebnis.end());
}

class Mehrere
{
public:
    Mehrere(const Berechnungsanfrage &anfrage, Rechenkontext &k)
        : m_a(anfrage), m_k(k), m_bericht(k), m_lauf(k)
    {
    }

    Ausgang ausfuehren()
    {
        m_lauf.schritt([&] { m_k.ui.sanduhr(); });
        m_lauf.schritt([&] { mehrereFrequenzenVerlangen(); });
        m_lauf.schritt([&] { frequenzlisteLesen(); });
        m_lauf.schritt([&] {
            m_k.werte.KabelIndex = static_cast<qint16>(m_a.kabelIndex);
            m_vk = eingabe::verkuerzungsfaktor(m_a.kabel);
        });
        m_lauf.schritt([&] { m_kabelzusatz = eingabe::kabelzusatz(kabelZerlegen(m_a.kabel).Typ); });
        m_lauf.schritt([&] { m_laenge = eingabe::laenge(m_a.laenge); });
        m_lauf.schritt([&] {
            if (zuSingle(TextZuZahl(m_liste.value(0))) == 0.0F)
                throw Eingabeablehnung(Ablehnung::Frequenz);
        });
        m_lauf.schritt([&] { m_toleranz = eingabe::toleranz(m_a.toleranz); });
        m_lauf.schritt([&] { m_berichtsfrequenzen.clear(); });
        m_lauf.schleife([&]() -> qint64 { return m_liste.size(); },
                        [&](qint64 i) { frequenzSammeln(i); });
        m_lauf.schritt([&] {
            m_abstand =
                zuSingle(static_cast<double>(m_lambdaMin) / 4.0 * m_toleranz.schwelle * m_vk);
        });
        m_lauf.schritt([&] { m_bericht.dialogVerbergen(); });
        m_lauf.schritt([&] { m_bericht.seitenlaengeErmitteln(); });
        m_lauf.schritt([&] { m_bericht.beginnen(QStringLiteral("Varolinaten-Berechnung")); });
        m_lauf.schritt([&] { kopfSchreiben(); });
        m_lauf.schritt([&] {
            m_bericht.spaltenkopfAnhaengen(
                QStringLiteral(" Varolinaten:             günstig für alle Frequenzen") +
                m_k.werte.ZeilenEnde);
        });
        m_lauf.schritt([&] { abstandsfilter(m_kandidaten, m_unguenstig, m_abstand); });
        m_lauf.schritt([&] { anpassungsfilter(m_kandidaten, m_liste, m_vk, m_toleranz.schwelle); });
        m_lauf.schritt([&] { ergebnisLaengen(m_kandidaten, m_ergebnis); });
        m_lauf.schleife(
            [&]() -> qint64 { return m_ergebnis.empty() ? 1 : qint64(m_ergebnis.size()); },
            [&](qint64 i) { ergebnisSchreiben(i); });
        m_lauf.schritt([&] {
            m_bericht.schlussAnhaengen(QStringLiteral("  Längen die annähernd gleich sind "
                                                      "oder(und) mehrmals in der Liste erscheinen, "
                                                      "sind am günstigsten."));
        });
        m_lauf.schritt([&] { m_bericht.formatieren(); });
        m_lauf.schritt([&] { m_bericht.zeigen(); });
        m_lauf.ausfuehren();
        return m_lauf.ausgang();
    }

private:
    QString fmt(float wert, const char *muster) const
    {
        return formatZahl(wert, QString::fromUtf8(muster), m_k.locale);
    }

    // One frequency is no question for this calculation: a hint, and the run ends.
    void mehrereFrequenzenVerlangen()
    {
        m_frequenzText = KommaZuPunkt(m_a.frequenzen);
        if (m_frequenzText.contains(QLatin1Char('/')))
            return;
        m_k.ui.normalerZeiger();
        m_k.ui.meldung(nurEineFrequenzText(), QStringLiteral("Falsche Aktion"),
                       Symbol::Ausrufezeichen, Knoepfe::Ok);
        m_k.ui.eingabedialogVerbergen();
        m_lauf.beenden(Ausgang::abgelehnt(Ablehnung::NurEineFrequenz));
    }

    void frequenzlisteLesen()
    {
        m_liste = FrequenzListe(m_frequenzText);
        // Positions in the frequency list are 16-bit.
        if (m_liste.size() > 32767)
            throw Laufzeitfehler(fehler::Ueberlauf);
    }

    // The frequency joins the header; its unfavourable lengths and its
    // favourable candidates join the lists.
    void frequenzSammeln(qint64 i)
    {
        const float f = zuSingle(TextZuZahl(m_liste.at(i)));
        m_berichtsfrequenzen += formatAllgemein(f, m_k.locale);
        if (i + 1 < m_liste.size())
            m_berichtsfrequenzen += QLatin1Char('/');
        if (f < 0.01F)
            throw Eingabeablehnung(Ablehnung::Frequenz);
        const float lambda = zuSingle(wellenlaenge(f));
        const float q = zuSingle(lambda / 4.0);
        if (lambda < m_lambdaMin)
            m_lambdaMin = lambda;
        const qint32 ni = rundeInt32(static_cast<double>(m_laenge) / q * (1.0 / m_vk) + 0.5);
        // Every candidate may end up in the report, whose positions are
        // 16-bit: more than that is refused before anything is allocated
        // for them.
        if (ni >= 2) {
            const qint64 dazu = ni / 2;
            if (m_kandidatenZahl + dazu > MaxErgebnisLaengen)
                throw Laufzeitfehler(fehler::Ueberlauf);
            m_kandidatenZahl += dazu;
        }
        mehrereLaengenSammeln(ni, q, m_vk, m_unguenstig, m_kandidaten);
    }

    void kopfSchreiben()
    {
        const QString &ze = m_k.werte.ZeilenEnde;
        m_bericht.kopfAnhaengen(
            QStringLiteral(" Frequenzen  : ") + m_berichtsfrequenzen + QStringLiteral(" MHz") + ze +
            QStringLiteral(" Verkürzungsfaktor: ") + fmt(m_vk, "0.00#") + m_kabelzusatz + ze +
            QStringLiteral(" Toleranz zugelassen : ± ") + fmt(m_toleranz.prozent, "##0.0###") +
            QStringLiteral(" %") + ze + ze);
    }

    void ergebnisSchreiben(qint64 i)
    {
        const QString &ze = m_k.werte.ZeilenEnde;
        if (m_ergebnis.empty()) {
            // The no-result lines count no line and break no page.
            m_k.feld.anhaengen(QStringLiteral(" Es konnten keine Varolinaten berechnet werden ! ") +
                               ze + QStringLiteral(" Bitte eine grössere Tolleranz zulassen.") +
                               ze);
            return;
        }
        const float x = m_ergebnis.at(static_cast<size_t>(i));
        m_k.werte.KabelLaenge = x;
        m_bericht.zeileAnhaengen(feldRechts(fmt(x, "###0.000 m"), bericht::Feld1) +
                                 QString(bericht::Feld2, QLatin1Char(' ')) + ze);
        m_bericht.seitenumbruchPruefen();
    }

    const Berechnungsanfrage &m_a;
    Rechenkontext &m_k;
    Bericht m_bericht;
    Schrittlauf m_lauf;

    QString m_frequenzText;
    QStringList m_liste;
    float m_vk = 0.0F;
    QString m_kabelzusatz;
    float m_laenge = 0.0F;
    eingabe::Toleranz m_toleranz;
    float m_lambdaMin = 50000.0F;
    float m_abstand = 0.0F;
    QString m_berichtsfrequenzen;
    std::vector<float> m_unguenstig;
    std::vector<float> m_kandidaten;
    qint64 m_kandidatenZahl = 0;
    std::vector<float> m_ergebnis;
};

} // namespace

Ausgang RechnenMehrere(const Berechnungsanfrage &anfrage, Rechenkontext &k)
{
    return Mehrere(anfrage, k).ausfuehren();
}

} // namespace varo
