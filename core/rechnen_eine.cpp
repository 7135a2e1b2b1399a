// Single-frequency calculation: unfavourable (odd quarter waves) and
// favourable (half waves) lengths of one cable side by side, up to about
// the expected length, with the loss of each favourable length when the
// cable entry carries attenuation data.

#include "bericht.h"
#include "berichtsfeld.h"
#include "eingaben.h"
#include "kabeltabelle.h"
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

// The loop counter of the rows is 16-bit.
void zaehlerPruefen(qint32 n)
{
    if (n > 32767)
        throw Laufzeitfehler(fehler::Ueberlauf);
}

// How many quarter-wave multiples reach about the expected length: the
// quotient plus 0.5 rounded halves-to-even, so rounded up, and a whole
// quotient only when it is odd. Less than one means 60.
qint32 vielfachenAnzahl(float laenge, float viertelWelle, float vk)
{
    const qint32 n = rundeInt32(static_cast<double>(laenge) / viertelWelle * (1.0 / vk) + 0.5);
    return n < 1 ? 60 : n;
}

// The matching factor of a favourable length: every half-wave multiple
// repeats the load, so it is 1 throughout; the first length that reaches
// the best factor is the one remembered.
float fehlanpassung(float laenge, float vk, float lambda)
{
    const float elLaenge = zuSingle(static_cast<double>(laenge) / vk);
    const float zKabel = 50.0F;
    const float zLast = 100.0F;
    float zAusgang = 0.0F;
    return zuSingle(1.0 - LeitungSWR(elLaenge, lambda, zKabel, zLast, zAusgang));
}

class Eine
{
public:
    Eine(const Berechnungsanfrage &anfrage, Rechenkontext &k) : m_a(anfrage), m_k(k), m_bericht(k)
    {
    }

    Ausgang ausfuehren()
    {
        Schrittlauf lauf(m_k);
        lauf.schritt([&] { m_k.ui.sanduhr(); });
        lauf.schritt([&] { m_f = eingabe::frequenz(m_a.frequenzen); });
        lauf.schritt([&] { m_k.werte.KabelIndex = static_cast<qint16>(m_a.kabelIndex); });
        lauf.schritt([&] { kabelLesen(); });
        lauf.schritt([&] { m_vk = eingabe::verkuerzungsfaktor(m_a.kabel); });
        lauf.schritt([&] { laengenVorbereiten(); });
        lauf.schritt([&] { m_bericht.dialogVerbergen(); });
        lauf.schritt([&] { m_bericht.seitenlaengeErmitteln(); });
        lauf.schritt([&] { m_bericht.beginnen(QStringLiteral("Varolinaten-Berechnung")); });
        lauf.schritt([&] { kopfSchreiben(); });
        lauf.schritt([&] { spaltenkopfSchreiben(); });
        lauf.schritt([&] { laengenBerechnen(); });
        lauf.schleife(
            [&]() -> qint64 {
                zaehlerPruefen(m_n);
                return m_n;
            },
            [&](qint64 i) { vielfachesSchreiben(static_cast<qint32>(i) + 1); });
        lauf.schritt([&] {
            m_bericht.schlussAnhaengen(QStringLiteral("  Ungünstige Längen möglichst meiden !"));
        });
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

    void kabelLesen()
    {
        const Kabeltyp kabel = kabelZerlegen(m_a.kabel);
        // Without an attenuation field the type name is not shown either.
        if (!kabel.Daempfung.isEmpty()) {
            m_typ = kabel.Typ;
            m_daempfung = kabel.Daempfung;
        }
        m_namenszusatz = eingabe::kabelzusatz(m_typ);
    }

    void laengenVorbereiten()
    {
        m_lambda = zuSingle(wellenlaenge(m_f));
        m_q = zuSingle(m_lambda / 4.0);
        m_laenge = eingabe::laenge(m_a.laenge);
        m_n = vielfachenAnzahl(m_laenge, m_q, m_vk);
        // Refused before the lists are made, so an absurd length cannot
        // claim the memory for lengths no report could list.
        zaehlerPruefen(m_n);
        m_unguenstig.assign(static_cast<size_t>(m_n) + 1, 0.0F);
        m_guenstig.assign(static_cast<size_t>(m_n) + 1, 0.0F);
    }

    void kopfSchreiben()
    {
        const QString &ze = m_k.werte.ZeilenEnde;
        m_bericht.kopfAnhaengen(QStringLiteral(" Frequenz    : ") + fmt(m_f, "###0.000 MHz") + ze +
                                QStringLiteral(" Wellenlänge : ") + fmt(m_lambda, "##0.000 m") +
                                ze + QStringLiteral(" Verkürzungsfaktor: ") + fmt(m_vk, "0.00#") +
                                m_namenszusatz + ze + ze);
    }

    void spaltenkopfSchreiben()
    {
        QString kopf = QStringLiteral(" Varolinaten:           ungünstig            günstig");
        if (!m_daempfung.isEmpty())
            kopf += QStringLiteral(" / Dämpfung [dB]");
        m_bericht.spaltenkopfAnhaengen(kopf + m_k.werte.ZeilenEnde);
    }

    void laengenBerechnen()
    {
        if (m_unguenstig.size() < static_cast<size_t>(m_n) + 1)
            throw Laufzeitfehler(fehler::Index);
        LaengenVielfache(m_n, m_q, m_vk, m_unguenstig, m_guenstig);
        m_besteFehlanpassung = 1.0F;
    }

    // An odd multiple waits for its even partner; the pair makes one row.
    void vielfachesSchreiben(qint32 kk)
    {
        if (kk % 2 == 1) {
            m_feld1 = feldRechts(fmt(m_unguenstig.at(kk), "###0.000 m"), bericht::Feld1);
        } else {
            const float y = m_guenstig.at(kk);
            QString zeile = m_feld1 + feldRechts(fmt(y, "###0.000 m"), bericht::Feld2);
            if (!m_daempfung.isEmpty())
                zeile += QStringLiteral(" / ") + fmt(KabelDaempfung(y, m_f, m_daempfung), "##0.0#");
            m_bericht.zeileAnhaengen(zeile + m_k.werte.ZeilenEnde);

            const float m = fehlanpassung(y, m_vk, m_lambda);
            if (m < m_besteFehlanpassung) {
                m_k.werte.KabelLaenge = y;
                m_besteFehlanpassung = m;
            }
        }
        m_bericht.seitenumbruchPruefen();
    }

    const Berechnungsanfrage &m_a;
    Rechenkontext &m_k;
    Bericht m_bericht;

    float m_f = 0.0F;
    float m_vk = 0.0F;
    QString m_typ;
    QString m_daempfung;
    QString m_namenszusatz;
    float m_lambda = 0.0F;
    float m_q = 0.0F;
    float m_laenge = 0.0F;
    qint32 m_n = 0;
    std::vector<float> m_unguenstig;
    std::vector<float> m_guenstig;
    float m_besteFehlanpassung = 1.0F;
    QString m_feld1; // the unfavourable length waiting for its favourable partner
};

} // namespace

Ausgang RechnenEine(const Berechnungsanfrage &anfrage, Rechenkontext &k)
{
    return Eine(anfrage, k).ausfuehren();
}

} // namespace varo
