// Single-frequency calculation: unfavourable (odd quarter waves) and
// favourable (half waves) lengths of one cable side by side, up to about
// the expected length, with the loss of each favourable length when the
// cable entry carries attenuation data.

#include "bericht.h"
#include "berichtsfeld.h"
#include "eingaben.h"
#include "kabeltabelle.h"
#include "konvertierung.h"
#include "laufzeitfehler.h"
#include "leitung.h"
#include "oberflaeche.h"
#include "rechnen.h"
#include "zahlenformat.h"

#include <vector>

namespace varo {

namespace {

struct Eine
{
    float f = 0.0F;
    float vk = 0.0F;
    QString typ;
    QString daempfung;
    QString namenszusatz;
    float lambda = 0.0F;
    float q = 0.0F;
    float laenge = 0.0F;
    qint32 n = 0;
    std::vector<float> unguenstig;
    std::vector<float> guenstig;
    float besteFehlanpassung = 1.0F;
    QString feld1; // the unfavourable length waiting for its favourable partner
};

// The loop counter of the rows is 16-bit.
void zaehlerPruefen(qint32 n)
{
    if (n > 32767)
        throw Laufzeitfehler(fehler::Ueberlauf);
}

} // namespace

Rechenergebnis RechnenEine(const Berechnungsanfrage &anfrage, Rechenkontext &k)
{
    Eine e;
    Bericht bericht(k);
    Schrittlauf lauf(k);
    const QString &ze = k.werte.ZeilenEnde;
    const auto fmt = [&k](float wert, const char *muster) {
        return formatZahl(wert, QString::fromUtf8(muster), k.locale);
    };

    lauf.schritt([&] { k.ui.sanduhr(); });
    lauf.schritt([&] { e.f = eingabe::frequenz(anfrage.Text1); });
    lauf.schritt([&] { k.werte.KabelIndex = static_cast<qint16>(anfrage.Combo1ListIndex); });
    lauf.schritt([&] {
        const Kabeltyp kabel = kabelZerlegen(anfrage.Combo1Text);
        // Without an attenuation field the type name is not shown either.
        if (!kabel.Daempfung.isEmpty()) {
            e.typ = kabel.Typ;
            e.daempfung = kabel.Daempfung;
        }
        e.namenszusatz = eingabe::kabelzusatz(e.typ);
    });
    lauf.schritt([&] { e.vk = eingabe::verkuerzungsfaktor(anfrage.Combo1Text); });
    lauf.schritt([&] {
        e.lambda = zuSingle(300.0 / e.f);
        e.q = zuSingle(e.lambda / 4.0);
        e.laenge = eingabe::laenge(anfrage.Text3);
        // x + 0.5 rounded halves-to-even: x rounded up, a whole x only when it is odd.
        e.n = rundeInt32(static_cast<double>(e.laenge) / e.q * (1.0 / e.vk) + 0.5);
        if (e.n < 1)
            e.n = 60;
        // Refused before the lists are made, so an absurd length cannot
        // claim the memory for lengths no report could list.
        zaehlerPruefen(e.n);
        e.unguenstig.assign(static_cast<size_t>(e.n) + 1, 0.0F);
        e.guenstig.assign(static_cast<size_t>(e.n) + 1, 0.0F);
    });
    lauf.schritt([&] { bericht.dialogVerbergen(); });
    lauf.schritt([&] { bericht.seitenlaengeErmitteln(); });
    lauf.schritt([&] { bericht.beginnen(QStringLiteral("Varolinaten-Berechnung")); });
    lauf.schritt([&] {
        bericht.kopfAnhaengen(QStringLiteral(" Frequenz    : ") + fmt(e.f, "###0.000 MHz") + ze +
                              QStringLiteral(" Wellenlänge : ") + fmt(e.lambda, "##0.000 m") + ze +
                              QStringLiteral(" Verkürzungsfaktor: ") + fmt(e.vk, "0.00#") +
                              e.namenszusatz + ze + ze);
    });
    lauf.schritt([&] {
        QString kopf = QStringLiteral(" Varolinaten:           ungünstig            günstig");
        if (!e.daempfung.isEmpty())
            kopf += QStringLiteral(" / Dämpfung [dB]");
        bericht.spaltenkopfAnhaengen(kopf + ze);
    });
    lauf.schritt([&] {
        if (e.unguenstig.size() < static_cast<size_t>(e.n) + 1)
            throw Laufzeitfehler(fehler::Index);
        LaengenVielfache(e.n, e.q, e.vk, e.unguenstig, e.guenstig);
        e.besteFehlanpassung = 1.0F;
    });
    lauf.schleife(
        [&]() -> qint64 {
            zaehlerPruefen(e.n);
            return e.n;
        },
        [&](qint64 i) {
            const qint32 kk = static_cast<qint32>(i) + 1;
            if (kk % 2 == 1) {
                e.feld1 = feldRechts(fmt(e.unguenstig.at(kk), "###0.000 m"), bericht::Feld1);
            } else {
                const float y = e.guenstig.at(kk);
                QString zeile = e.feld1 + feldRechts(fmt(y, "###0.000 m"), bericht::Feld2);
                if (!e.daempfung.isEmpty()) {
                    const float a = KabelDaempfung(y, e.f, e.daempfung);
                    zeile += QStringLiteral(" / ") + fmt(a, "##0.0#");
                }
                bericht.zeileAnhaengen(zeile + ze);

                // Every half-wave multiple repeats the load, so the factor is 1
                // throughout and the shortest favourable length is remembered.
                const float elLaenge = zuSingle(static_cast<double>(y) / e.vk);
                const float zKabel = 50.0F;
                const float zLast = 100.0F;
                float zAusgang = 0.0F;
                const float r = LeitungSWR(elLaenge, e.lambda, zKabel, zLast, zAusgang);
                const float m = zuSingle(1.0 - r);
                if (m < e.besteFehlanpassung) {
                    k.werte.KabelLaenge = y;
                    e.besteFehlanpassung = m;
                }
            }
            bericht.seitenumbruchPruefen();
        });
    lauf.schritt([&] {
        bericht.schlussAnhaengen(QStringLiteral("  Ungünstige Längen möglichst meiden !"));
    });
    lauf.schritt([&] { bericht.formatieren(); });
    lauf.schritt([&] { bericht.zeigen(); });
    return lauf.ausfuehren();
}

} // namespace varo
