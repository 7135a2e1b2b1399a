#include "rechnen_planer.h"

#include "bericht.h"
#include "oberflaeche.h"
#include "zahlenformat.h"

namespace varo {

namespace {

// Field widths of a row: from, to, best length and its margin; 80 in all.
constexpr int kVon = 29;
constexpr int kBis = 15;
constexpr int kBeste = 18;
constexpr int kAbstand = 14;

QString laengenMuster(const Planung &p)
{
    return QStringLiteral("###0.") +
           QString(laengenStellen(p.anfrage.vonLaenge, p.anfrage.schritt), QLatin1Char('0')) +
           QStringLiteral(" m");
}

const QString gradMuster = QStringLiteral("#0.00°");

// The head: the bands, the cable, the lengths searched, the margin asked for
// and the best length found. Every label padded alike, so the values line up.
QString planungskopf(const Planung &planung, const QString &kabel, const Rechenkontext &k)
{
    const QString &ze = k.werte.ZeilenEnde;
    const Planungsanfrage &a = planung.anfrage;
    const QString laenge = laengenMuster(planung);
    const auto fmt = [&k](double wert, const QString &muster) {
        return formatZahl(wert, muster, k.locale);
    };
    const auto zeile = [&ze](const QString &name, const QString &wert) {
        return QLatin1Char(' ') + name.leftJustified(19, QLatin1Char(' ')) + QStringLiteral(": ") +
               wert + ze;
    };
    const QString mhz = QStringLiteral("##0.000#");
    QString kopf;
    for (const Band &band : a.baender)
        kopf += zeile(QStringLiteral("Band ") + band.name,
                      fmt(band.vonMHz, mhz) + QStringLiteral(" bis ") + fmt(band.bisMHz, mhz) +
                          QStringLiteral(" MHz"));
    kopf +=
        zeile(QStringLiteral("Verkürzungsfaktor"),
              fmt(a.vk, QStringLiteral("0.00#")) +
                  (kabel.isEmpty() ? QString() : QStringLiteral(" (") + kabel + QLatin1Char(')')));
    kopf += zeile(QStringLiteral("Längen"),
                  fmt(a.vonLaenge, laenge) + QStringLiteral(" bis ") + fmt(a.bisLaenge, laenge) +
                      QStringLiteral(", Schritt ") + fmt(a.schritt, laenge));
    kopf += zeile(QStringLiteral("Geforderter Abstand"), fmt(a.abstand, gradMuster));
    if (planung.bester >= 0)
        kopf += zeile(QStringLiteral("Beste Länge"), fmt(planung.laenge(planung.bester), laenge) +
                                                         QStringLiteral(", Abstand ") +
                                                         fmt(planung.besterAbstand, gradMuster));
    return kopf + ze;
}

} // namespace

Ausgang RechnenPlaner(const Planung &planung, const QString &kabel, Rechenkontext &k)
{
    Bericht bericht(k);
    Schrittlauf lauf(k);
    const QString &ze = k.werte.ZeilenEnde;
    const QString laenge = laengenMuster(planung);
    const auto fmt = [&k](double wert, const QString &muster) {
        return formatZahl(wert, muster, k.locale);
    };

    lauf.schritt([&] { k.ui.sanduhr(); });
    lauf.schritt([&] { bericht.seitenlaengeErmitteln(); });
    lauf.schritt([&] { bericht.beginnen(QStringLiteral("Varolinaten-Planung")); });
    // Ranges too narrow to cut cable to are left out, and the head says so.
    const Freiliste liste = freiliste(planung);
    lauf.schritt([&] {
        QString kopf = planungskopf(planung, kabel, k);
        if (liste.weggelassen > 0)
            kopf += QLatin1Char(' ') + weggelassenHinweis(liste.weggelassen) + ze + ze;
        bericht.kopfAnhaengen(kopf);
    });
    lauf.schritt([&] {
        bericht.spaltenkopfAnhaengen(QStringLiteral(" Freie Bereiche:") +
                                     feldRechts(QStringLiteral("von"), kVon - 16) +
                                     feldRechts(QStringLiteral("bis"), kBis) +
                                     feldRechts(QStringLiteral("beste Länge"), kBeste) +
                                     feldRechts(QStringLiteral("Abstand"), kAbstand) + ze);
    });
    if (planung.frei.empty()) {
        lauf.schritt([&] {
            bericht.zeileAnhaengen(
                QStringLiteral(" Keine Länge erreicht den geforderten Abstand auf allen Bändern.") +
                ze);
        });
    }
    lauf.schleife([&] { return static_cast<qint64>(liste.bereiche.size()); },
                  [&](qint64 i) {
                      const Freibereich &f = liste.bereiche[static_cast<size_t>(i)];
                      bericht.zeileAnhaengen(
                          feldRechts(fmt(planung.laenge(f.von), laenge), kVon) +
                          feldRechts(fmt(planung.laenge(f.bis), laenge), kBis) +
                          feldRechts(fmt(planung.laenge(f.bester), laenge), kBeste) +
                          feldRechts(fmt(f.besterAbstand, gradMuster), kAbstand) + ze);
                      bericht.seitenumbruchPruefen();
                  });
    lauf.schritt([&] {
        bericht.schlussAnhaengen(
            QStringLiteral("  Längen außerhalb der freien Bereiche möglichst meiden !"));
    });
    lauf.schritt([&] { bericht.formatieren(); });
    lauf.schritt([&] { bericht.zeigen(); });
    lauf.ausfuehren();
    return lauf.ausgang();
}

} // namespace varo
