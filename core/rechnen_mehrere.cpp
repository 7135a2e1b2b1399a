// Multi-frequency calculation: the half-wave multiples of every frequency
// are candidates; a candidate survives when it keeps a distance from every
// unfavourable length of every frequency and the line model rates it well
// enough at each of them. Both limits follow from the tolerance.

#include "bericht.h"
#include "berichtsfeld.h"
#include "eingaben.h"
#include "kabeltabelle.h"
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

struct Mehrere
{
    QString frequenzText;
    QStringList liste;
    float vk = 0.0F;
    QString kabelzusatz;
    float laenge = 0.0F;
    float tol = 0.0F;
    float r = 0.0F;
    float lambdaMin = 50000.0F;
    float w = 0.0F;
    QString berichtsfrequenzen;
    std::vector<float> unguenstig;
    std::vector<float> kandidaten;
    qint64 kandidatenZahl = 0;
    std::vector<float> ergebnis;
};

} // namespace

Rechenergebnis RechnenMehrere(const Berechnungsanfrage &anfrage, Rechenkontext &k)
{
    Mehrere m;
    Bericht bericht(k);
    Schrittlauf lauf(k);
    const QString &ze = k.werte.ZeilenEnde;
    const auto fmt = [&k](float wert, const char *muster) {
        return formatZahl(wert, QString::fromUtf8(muster), k.locale);
    };

    lauf.schritt([&] { k.ui.sanduhr(); });
    lauf.schritt([&] {
        m.frequenzText = KommaZuPunkt(anfrage.Text1);
        if (!m.frequenzText.contains(QLatin1Char('/'))) {
            k.ui.normalerZeiger();
            k.ui.meldung(QStringLiteral("Keine Berechnung für nur eine Frequenz!"),
                         QStringLiteral("Falsche Aktion"), Symbol::Ausrufezeichen, Knoepfe::Ok);
            k.ui.eingabedialogVerbergen();
            lauf.beenden(Rechenergebnis::Hinweis);
        }
    });
    lauf.schritt([&] {
        m.liste = FrequenzListe(m.frequenzText);
        // Positions in the frequency list are 16-bit.
        if (m.liste.size() > 32767)
            throw Laufzeitfehler(fehler::Ueberlauf);
    });
    lauf.schritt([&] {
        k.werte.KabelIndex = static_cast<qint16>(anfrage.Combo1ListIndex);
        m.vk = eingabe::verkuerzungsfaktor(anfrage.Combo1Text);
    });
    lauf.schritt(
        [&] { m.kabelzusatz = eingabe::kabelzusatz(kabelZerlegen(anfrage.Combo1Text).Typ); });
    lauf.schritt([&] { m.laenge = eingabe::laenge(anfrage.Text3); });
    lauf.schritt([&] {
        const float f1 = zuSingle(TextZuZahl(m.liste.value(0)));
        if (f1 == 0.0F)
            throw Laufzeitfehler(fehler::DivisionDurchNull);
    });
    lauf.schritt([&] {
        const eingabe::Toleranz t = eingabe::toleranz(anfrage.Text4);
        m.tol = t.prozent;
        m.r = t.schwelle;
    });
    lauf.schritt([&] { m.berichtsfrequenzen.clear(); });
    lauf.schleife([&]() -> qint64 { return m.liste.size(); },
                  [&](qint64 i) {
                      const float f = zuSingle(TextZuZahl(m.liste.at(i)));
                      m.berichtsfrequenzen += formatAllgemein(f, k.locale);
                      if (i + 1 < m.liste.size())
                          m.berichtsfrequenzen += QLatin1Char('/');
                      if (f < 0.01F)
                          throw Laufzeitfehler(fehler::DivisionDurchNull);
                      const float lambda = zuSingle(300.0 / f);
                      const float q = zuSingle(lambda / 4.0);
                      if (lambda < m.lambdaMin)
                          m.lambdaMin = lambda;
                      const qint32 ni =
                          rundeInt32(static_cast<double>(m.laenge) / q * (1.0 / m.vk) + 0.5);
                      // Every candidate may end up in the report, whose positions
                      // are 16-bit: more than that is refused before anything is
                      // allocated for them.
                      if (ni >= 2) {
                          const qint64 dazu = ni / 2;
                          if (m.kandidatenZahl + dazu > MaxErgebnisLaengen)
                              throw Laufzeitfehler(fehler::Ueberlauf);
                          m.kandidatenZahl += dazu;
                      }
                      mehrereLaengenSammeln(ni, q, m.vk, m.unguenstig, m.kandidaten);
                  });
    lauf.schritt([&] { m.w = zuSingle(static_cast<double>(m.lambdaMin) / 4.0 * m.r * m.vk); });
    lauf.schritt([&] { bericht.dialogVerbergen(); });
    lauf.schritt([&] { bericht.seitenlaengeErmitteln(); });
    lauf.schritt([&] { bericht.beginnen(QStringLiteral("Varolinaten-Berechnung")); });
    lauf.schritt([&] {
        bericht.kopfAnhaengen(QStringLiteral(" Frequenzen  : ") + m.berichtsfrequenzen +
                              QStringLiteral(" MHz") + ze + QStringLiteral(" Verkürzungsfaktor: ") +
                              fmt(m.vk, "0.00#") + m.kabelzusatz + ze +
                              QStringLiteral(" Toleranz zugelassen : ± ") + fmt(m.tol, "##0.0###") +
                              QStringLiteral(" %") + ze + ze);
    });
    lauf.schritt([&] {
        bericht.spaltenkopfAnhaengen(
            QStringLiteral(" Varolinaten:             günstig für alle Frequenzen") + ze);
    });
    lauf.schritt([&] { abstandsfilter(m.kandidaten, m.unguenstig, m.w); });
    lauf.schritt([&] {
        for (float &x : m.kandidaten) {
            if (!(x > 0.0F))
                continue;
            const float e = zuSingle(static_cast<double>(x) / m.vk);
            for (const QString &eintrag : m.liste) {
                const float lambda = zuSingle(300.0 / eingabe::frequenz(eintrag));
                const float null = 0.0F;
                float zAusgang = 0.0F;
                const float a = LeitungSWR(e, lambda, null, null, zAusgang);
                if (m.r > a)
                    x = 0.0F;
            }
        }
    });
    lauf.schritt([&] {
        m.ergebnis.clear();
        for (const float x : m.kandidaten) {
            if (x > 0.0F)
                m.ergebnis.push_back(x);
        }
        if (static_cast<qint64>(m.ergebnis.size()) > MaxErgebnisLaengen)
            throw Laufzeitfehler(fehler::Ueberlauf);
        // Equal lengths are equal numbers, so a stable sort lists exactly
        // what an exchange sort would.
        std::stable_sort(m.ergebnis.begin(), m.ergebnis.end());
    });
    lauf.schleife([&]() -> qint64 { return m.ergebnis.empty() ? 1 : qint64(m.ergebnis.size()); },
                  [&](qint64 i) {
                      if (m.ergebnis.empty()) {
                          // The no-result lines count no line and break no page.
                          k.feld.anhaengen(
                              QStringLiteral(" Es konnten keine Varolinaten berechnet werden ! ") +
                              ze + QStringLiteral(" Bitte eine grössere Tolleranz zulassen.") + ze);
                          return;
                      }
                      const float x = m.ergebnis.at(static_cast<size_t>(i));
                      k.werte.KabelLaenge = x;
                      bericht.zeileAnhaengen(feldRechts(fmt(x, "###0.000 m"), bericht::Feld1) +
                                             QString(bericht::Feld2, QLatin1Char(' ')) + ze);
                      bericht.seitenumbruchPruefen();
                  });
    lauf.schritt([&] {
        bericht.schlussAnhaengen(QStringLiteral("  Längen die annähernd gleich sind oder(und) "
                                                "mehrmals in der Liste erscheinen, sind am "
                                                "günstigsten."));
    });
    lauf.schritt([&] { bericht.formatieren(); });
    lauf.schritt([&] { bericht.zeigen(); });
    return lauf.ausfuehren();
}

} // namespace varo
