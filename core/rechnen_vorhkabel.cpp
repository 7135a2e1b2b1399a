// Existing-cable check: for a cable of known length, at which of several
// frequencies it is favourable or unfavourable, and how far the line model
// deviates from a perfect match there.

#include "bericht.h"
#include "berichtsfeld.h"
#include "eingaben.h"
#include "konvertierung.h"
#include "laufzeitfehler.h"
#include "leitung.h"
#include "oberflaeche.h"
#include "rechnen.h"
#include "zahlenformat.h"

#include <vector>

namespace varo {

namespace {

struct VorhKabel
{
    QString frequenzText;
    QStringList liste;
    std::vector<float> abweichung;
    std::vector<float> guenstig;
    std::vector<float> unguenstig;
    float vk = 0.0F;
    QString kabelzusatz;
    float laenge = 0.0F;
    float tol = 0.0F;
    float schwelle = 0.0F;
    QString berichtsfrequenzen;
    qint16 unguenstigeZeilen = 0;
};

} // namespace

Rechenergebnis RechnenVorhKabel(const Berechnungsanfrage &anfrage, Rechenkontext &k)
{
    VorhKabel v;
    Bericht bericht(k);
    Schrittlauf lauf(k);
    const QString &ze = k.werte.ZeilenEnde;
    const auto fmt = [&k](float wert, const char *muster) {
        return formatZahl(wert, QString::fromUtf8(muster), k.locale);
    };

    lauf.schritt([&] { k.ui.sanduhr(); });
    lauf.schritt([&] { v.frequenzText = KommaZuPunkt(anfrage.Text1); });
    lauf.schritt([&] {
        if (v.frequenzText.contains(QLatin1Char('/')))
            return;
        // One frequency is checked all the same, listed and counted twice.
        k.ui.normalerZeiger();
        k.ui.meldung(QStringLiteral("Sie können mehere Frequenzen getrennt durch ") +
                         QStringLiteral("/ ") + QStringLiteral(" eingeben. "),
                     QStringLiteral(" Falsche Aktion ?"), Symbol::Ausrufezeichen, Knoepfe::Ok);
        v.frequenzText = v.frequenzText + QLatin1Char('/') + v.frequenzText;
    });
    lauf.schritt([&] {
        v.liste = FrequenzListe(v.frequenzText);
        const size_t n = static_cast<size_t>(v.liste.size());
        v.abweichung.assign(n, 0.0F);
        v.guenstig.assign(n, 0.0F);
        v.unguenstig.assign(n, 0.0F);
    });
    lauf.schritt([&] {
        k.werte.KabelIndex = static_cast<qint16>(anfrage.Combo1ListIndex);
        v.vk = eingabe::verkuerzungsfaktor(anfrage.Combo1Text);
    });
    lauf.schritt([&] {
        // The whole rest is shown, filling blanks and attenuation field included.
        const QString &text = anfrage.Combo1Text;
        const qsizetype blank = text.indexOf(QLatin1Char(' '));
        v.kabelzusatz = eingabe::kabelzusatz(blank < 0 ? text : text.mid(blank + 1));
    });
    lauf.schritt([&] {
        v.laenge = eingabe::laenge(anfrage.Text3);
        k.werte.KabelLaenge = v.laenge;
    });
    lauf.schritt([&] {
        const eingabe::Toleranz t = eingabe::toleranz(anfrage.Text4);
        v.tol = t.prozent;
        v.schwelle = t.schwelle;
    });
    lauf.schritt([&] { v.berichtsfrequenzen.clear(); });
    lauf.schleife([&]() -> qint64 { return v.liste.size(); },
                  [&](qint64 i) {
                      const float f = zuSingle(TextZuZahl(v.liste.at(i)));
                      if (f < 0.01F)
                          throw Laufzeitfehler(fehler::DivisionDurchNull);
                      v.berichtsfrequenzen += formatAllgemein(f, k.locale);
                      if (i + 1 < v.liste.size())
                          v.berichtsfrequenzen += QLatin1Char('/');
                      const float lambda = zuSingle(300.0 / f);
                      const float elLaenge = zuSingle(static_cast<double>(v.laenge) / v.vk);
                      const float null = 0.0F;
                      float zAusgang = 0.0F;
                      const float a = LeitungSWR(elLaenge, lambda, null, null, zAusgang);
                      v.abweichung[i] = zuSingle(1.0 - a);
                      if (v.schwelle <= a)
                          v.guenstig[i] = f;
                      else
                          v.unguenstig[i] = f;
                  });
    lauf.schritt([&] { bericht.dialogVerbergen(); });
    lauf.schritt([&] { bericht.seitenlaengeErmitteln(); });
    lauf.schritt([&] { bericht.beginnen(QStringLiteral("Varolinaten-Prüfung")); });
    lauf.schritt([&] {
        bericht.kopfAnhaengen(
            QStringLiteral(" Frequenzen  : ") + v.berichtsfrequenzen + QStringLiteral(" MHz") + ze +
            QStringLiteral(" Verkürzungsfaktor: ") + fmt(v.vk, "0.00#") + v.kabelzusatz + ze +
            QStringLiteral(" vorhandene Kabellänge: ") + formatAllgemein(v.laenge, k.locale) +
            QStringLiteral(" m") + ze + QStringLiteral(" Toleranz zugelassen : ± ") +
            fmt(v.tol, "##0.0###") + QStringLiteral(" %") + ze + ze);
    });
    lauf.schritt([&] {
        bericht.spaltenkopfAnhaengen(QStringLiteral(" Kabellänge:          günstig für      "
                                                    "ungünstig für                 (Abweichung)") +
                                     ze);
    });
    lauf.schleife([&]() -> qint64 { return v.liste.size(); },
                  [&](qint64 i) {
                      const QString abweichung = feldRechts(
                          QLatin1Char('(') + fmt(v.abweichung[i], "##0.0 %") + QLatin1Char(')'),
                          29);
                      if (v.guenstig[i] > 0.0F) {
                          bericht.zeileAnhaengen(
                              feldRechts(fmt(v.guenstig[i], "###0.000 MHz"), bericht::Feld1) +
                              QString(bericht::Feld2, QLatin1Char(' ')) + abweichung + ze);
                      }
                      if (v.unguenstig[i] > 0.0F) {
                          bericht.zeileAnhaengen(
                              QString(bericht::Feld1, QLatin1Char(' ')) +
                              feldRechts(fmt(v.unguenstig[i], "###0.000 MHz"), bericht::Feld2) +
                              abweichung + ze);
                          // The counter of unfavourable rows is 16-bit.
                          if (v.unguenstigeZeilen == 32767)
                              throw Laufzeitfehler(fehler::Ueberlauf);
                          ++v.unguenstigeZeilen;
                      }
                      bericht.seitenumbruchPruefen();
                  });
    lauf.schritt([&] {
        QString bemerkung;
        if (v.unguenstigeZeilen == 1)
            bemerkung = QStringLiteral(
                "  Bei der ungünstigen Frequenz kann dieses Kabel Probleme verursachen.");
        else if (v.unguenstigeZeilen > 1)
            bemerkung = QStringLiteral(
                "  Bei den ungünstigen Frequenzen kann dieses Kabel Probleme verursachen.");
        else
            bemerkung = QStringLiteral(
                "  Dieses Kabel ist innerhalb der Toleranz bestens für die Frequenzen geeignet.");
        bericht.schlussAnhaengen(bemerkung);
    });
    lauf.schritt([&] { bericht.formatieren(); });
    lauf.schritt([&] { bericht.zeigen(); });
    return lauf.ausfuehren();
}

} // namespace varo
