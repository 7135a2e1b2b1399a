#include "leitungsanfrage.h"

#include "baender.h"
#include "kabeldaten.h"

#include <QLocale>

#include <cmath>

namespace varo {

std::optional<Leitungsanfrage> leitungsanfrageLesen(const LeitungsTexte &texte, QString &meldung)
{
    meldung.clear();
    const auto von = feldZahl(texte.von, QStringLiteral("von"), meldung);
    if (!von)
        return std::nullopt;
    const auto bis = feldZahl(texte.bis, QStringLiteral("bis"), meldung);
    if (!bis)
        return std::nullopt;
    const auto z = feldZahl(texte.kabelZ, QStringLiteral("Impedanz"), meldung);
    if (!z)
        return std::nullopt;
    const auto vk = feldZahl(texte.vk, QStringLiteral("Vk"), meldung);
    if (!vk)
        return std::nullopt;
    const auto laenge = feldZahl(texte.laenge, QStringLiteral("Länge"), meldung);
    if (!laenge)
        return std::nullopt;
    const auto r = feldZahl(texte.lastR, QStringLiteral("R"), meldung);
    if (!r)
        return std::nullopt;
    const auto x = feldZahl(texte.lastX, QStringLiteral("X"), meldung);
    if (!x)
        return std::nullopt;

    Leitungsanfrage anfrage;
    anfrage.vonMHz = *von;
    anfrage.bisMHz = *bis;
    Leitungseingabe &e = anfrage.eingabe;
    e.R0 = *z;
    e.Vk = *vk;
    e.laenge = *laenge;
    e.ZL = Komplex(*r, *x);
    e.verluste = texte.verluste;

    QString feld = texte.daempfung.trimmed();
    if (!feld.isEmpty() && !feld.startsWith(QLatin1String("d=")))
        feld.prepend(QLatin1String("d="));
    QList<Daempfungspunkt> punkte;
    std::optional<double> impedanz;
    if (!daempfungsfeldLesen(feld, punkte, impedanz, &meldung))
        return std::nullopt;
    Kabeldaten daten;
    daten.Vk = 0.5; // checked below with the request's own rule
    daten.punkte = punkte;
    const QString problem = kabeldatenPruefen(daten);
    if (!problem.isEmpty()) {
        meldung = QStringLiteral("Die Dämpfungsangaben sind unbrauchbar: ") + problem;
        return std::nullopt;
    }
    e.verlust = verlustAnpassen(punkte);

    meldung = leitungseingabePruefen(e, anfrage.vonMHz, anfrage.bisMHz);
    if (!meldung.isEmpty())
        return std::nullopt;
    return anfrage;
}

QString leitungsverlaufPruefen(const QList<Leitungswerte> &werte)
{
    for (const Leitungswerte &w : werte) {
        if (!std::isfinite(w.Zin.real()) || !std::isfinite(w.Zin.imag()) ||
            !std::isfinite(w.verlustGesamt))
            return QStringLiteral("Mit diesen Werten ergibt die Rechnung bei %1 MHz keine "
                                  "endliche Zahl; bitte die Eingaben prüfen.")
                .arg(QLocale().toString(w.fMHz, 'g', 7));
    }
    return {};
}

} // namespace varo
