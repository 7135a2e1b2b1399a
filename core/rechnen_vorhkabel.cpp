// Existing-cable check: for a cable of known length, at which of several
// frequencies it is favourable or unfavourable, and how far the line model
// deviates from a perfect match there.

#include "bericht.h"
#include "berichtsfeld.h"
#include "eingaben.h"
#include "konstanten.h"
#include "konvertierung.h"
#include "laufzeitfehler.h"
#include "leitung.h"
#include "oberflaeche.h"
#include "rechnen.h"
#include "zahlenformat.h"

#include <vector>

namespace varo {

namespace {

// How one frequency fares on the cable: favourable when the line model
// rates the cable at least at the threshold, unfavourable otherwise, and
// how far it deviates from a perfect match.
struct Bewertung
{
    float abweichung = 0.0F;
    bool guenstig = false;
};

Bewertung bewerten(float f, float laenge, float vk, float schwelle)
{
    const float lambda = zuSingle(wellenlaenge(f));
    const float elLaenge = zuSingle(static_cast<double>(laenge) / vk);
    const float null = 0.0F;
    float zAusgang = 0.0F;
    const float a = LeitungSWR(elLaenge, lambda, null, null, zAusgang);
    return {zuSingle(1.0 - a), schwelle <= a};
}

class VorhKabel
{
public:
    VorhKabel(const Berechnungsanfrage &anfrage, Rechenkontext &k)
        : m_a(anfrage), m_k(k), m_bericht(k)
    {
    }

    Ausgang ausfuehren()
    {
        Schrittlauf lauf(m_k);
        lauf.schritt([&] { m_k.ui.sanduhr(); });
        lauf.schritt([&] { m_frequenzText = KommaZuPunkt(m_a.frequenzen); });
        lauf.schritt([&] { einzelneFrequenzVerdoppeln(); });
        lauf.schritt([&] { frequenzlisteLesen(); });
        lauf.schritt([&] {
            m_k.werte.KabelIndex = static_cast<qint16>(m_a.kabelIndex);
            m_vk = eingabe::verkuerzungsfaktor(m_a.kabel);
        });
        lauf.schritt([&] { kabelLesen(); });
        lauf.schritt([&] {
            m_laenge = eingabe::laenge(m_a.laenge);
            m_k.werte.KabelLaenge = m_laenge;
        });
        lauf.schritt([&] { m_toleranz = eingabe::toleranz(m_a.toleranz); });
        lauf.schritt([&] { m_berichtsfrequenzen.clear(); });
        lauf.schleife([&]() -> qint64 { return m_liste.size(); },
                      [&](qint64 i) { frequenzBewerten(i); });
        lauf.schritt([&] { m_bericht.dialogVerbergen(); });
        lauf.schritt([&] { m_bericht.seitenlaengeErmitteln(); });
        lauf.schritt([&] { m_bericht.beginnen(QStringLiteral("Varolinaten-Prüfung")); });
        lauf.schritt([&] { kopfSchreiben(); });
        lauf.schritt([&] {
            m_bericht.spaltenkopfAnhaengen(
                QStringLiteral(" Kabellänge:          günstig für      "
                               "ungünstig für                 (Abweichung)") +
                m_k.werte.ZeilenEnde);
        });
        lauf.schleife([&]() -> qint64 { return m_liste.size(); },
                      [&](qint64 i) { frequenzSchreiben(i); });
        lauf.schritt([&] { m_bericht.schlussAnhaengen(schlussbemerkung()); });
        lauf.schritt([&] { m_bericht.formatieren(); });
        lauf.schritt([&] { m_bericht.zeigen(); });
        lauf.ausfuehren();
        return lauf.ausgang();
    }

private:
    QString fmt(float wert, const char *muster) const
    {
        return formatZahl(wert, QString::fromUtf8(muster), m_k.locale);
    }

    // One frequency is checked all the same, listed and counted twice.
    void einzelneFrequenzVerdoppeln()
    {
        if (m_frequenzText.contains(QLatin1Char('/')))
            return;
        m_k.ui.normalerZeiger();
        m_k.ui.meldung(QStringLiteral("Sie können mehere Frequenzen getrennt durch ") +
                           QStringLiteral("/ ") + QStringLiteral(" eingeben. "),
                       QStringLiteral(" Falsche Aktion ?"), Symbol::Ausrufezeichen, Knoepfe::Ok);
        m_frequenzText = m_frequenzText + QLatin1Char('/') + m_frequenzText;
    }

    void frequenzlisteLesen()
    {
        m_liste = FrequenzListe(m_frequenzText);
        const size_t n = static_cast<size_t>(m_liste.size());
        m_abweichung.assign(n, 0.0F);
        m_guenstig.assign(n, 0.0F);
        m_unguenstig.assign(n, 0.0F);
    }

    // The whole rest is shown, filling blanks and attenuation field included.
    void kabelLesen()
    {
        const QString &text = m_a.kabel;
        const qsizetype blank = text.indexOf(QLatin1Char(' '));
        m_kabelzusatz = eingabe::kabelzusatz(blank < 0 ? text : text.mid(blank + 1));
    }

    void frequenzBewerten(qint64 i)
    {
        const float f = zuSingle(TextZuZahl(m_liste.at(i)));
        if (f < 0.01F)
            throw Eingabeablehnung(Ablehnung::Frequenz);
        m_berichtsfrequenzen += formatAllgemein(f, m_k.locale);
        if (i + 1 < m_liste.size())
            m_berichtsfrequenzen += QLatin1Char('/');
        const Bewertung b = bewerten(f, m_laenge, m_vk, m_toleranz.schwelle);
        m_abweichung[i] = b.abweichung;
        if (b.guenstig)
            m_guenstig[i] = f;
        else
            m_unguenstig[i] = f;
    }

    void kopfSchreiben()
    {
        const QString &ze = m_k.werte.ZeilenEnde;
        m_bericht.kopfAnhaengen(
            QStringLiteral(" Frequenzen  : ") + m_berichtsfrequenzen + QStringLiteral(" MHz") + ze +
            QStringLiteral(" Verkürzungsfaktor: ") + fmt(m_vk, "0.00#") + m_kabelzusatz + ze +
            QStringLiteral(" vorhandene Kabellänge: ") + formatAllgemein(m_laenge, m_k.locale) +
            QStringLiteral(" m") + ze + QStringLiteral(" Toleranz zugelassen : ± ") +
            fmt(m_toleranz.prozent, "##0.0###") + QStringLiteral(" %") + ze + ze);
    }

    void frequenzSchreiben(qint64 i)
    {
        const QString &ze = m_k.werte.ZeilenEnde;
        const QString abweichung =
            feldRechts(QLatin1Char('(') + fmt(m_abweichung[i], "##0.0 %") + QLatin1Char(')'), 29);
        if (m_guenstig[i] > 0.0F) {
            m_bericht.zeileAnhaengen(
                feldRechts(fmt(m_guenstig[i], "###0.000 MHz"), bericht::Feld1) +
                QString(bericht::Feld2, QLatin1Char(' ')) + abweichung + ze);
        }
        if (m_unguenstig[i] > 0.0F) {
            m_bericht.zeileAnhaengen(
                QString(bericht::Feld1, QLatin1Char(' ')) +
                feldRechts(fmt(m_unguenstig[i], "###0.000 MHz"), bericht::Feld2) + abweichung + ze);
            // The counter of unfavourable rows is 16-bit.
            if (m_unguenstigeZeilen == 32767)
                throw Laufzeitfehler(fehler::Ueberlauf);
            ++m_unguenstigeZeilen;
        }
        m_bericht.seitenumbruchPruefen();
    }

    QString schlussbemerkung() const
    {
        if (m_unguenstigeZeilen == 1)
            return QStringLiteral(
                "  Bei der ungünstigen Frequenz kann dieses Kabel Probleme verursachen.");
        if (m_unguenstigeZeilen > 1)
            return QStringLiteral(
                "  Bei den ungünstigen Frequenzen kann dieses Kabel Probleme verursachen.");
        return QStringLiteral(
            "  Dieses Kabel ist innerhalb der Toleranz bestens für die Frequenzen geeignet.");
    }

    const Berechnungsanfrage &m_a;
    Rechenkontext &m_k;
    Bericht m_bericht;

    QString m_frequenzText;
    QStringList m_liste;
    std::vector<float> m_abweichung;
    std::vector<float> m_guenstig;
    std::vector<float> m_unguenstig;
    float m_vk = 0.0F;
    QString m_kabelzusatz;
    float m_laenge = 0.0F;
    eingabe::Toleranz m_toleranz;
    QString m_berichtsfrequenzen;
    qint16 m_unguenstigeZeilen = 0;
};

} // namespace

Ausgang RechnenVorhKabel(const Berechnungsanfrage &anfrage, Rechenkontext &k)
{
    return VorhKabel(anfrage, k).ausfuehren();
}

} // namespace varo
