#include "bericht.h"

#include "berichtsfeld.h"
#include "drucker.h"
#include "formatvorlagen.h"
#include "laufzeitfehler.h"
#include "oberflaeche.h"

#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace varo {

namespace {

const QString ZE = QStringLiteral("\r\n");

} // namespace

qint16 DruckerEinrichten(qint16 breite, Drucker &drucker)
{
    const double rand = 5.0; // mm
    stillVersuchen([&] { drucker.setMasseinheit(Masseinheit::Millimeter); });
    stillVersuchen([&] { drucker.setSchriftname(QStringLiteral("Courier New")); });
    stillVersuchen([&] { drucker.setSchriftgroesse(breite <= 120 ? 10.0 : 8.0); });

    Seitenlage alteLage = Seitenlage::Hochformat;
    stillVersuchen([&] { alteLage = drucker.seitenlage(); });

    // The orientation is only turned for the measurement: a report of up to
    // 80 characters is printed upright, a wider one across.
    const bool hoch = breite <= 80;
    double seitenhoehe = 0.0;
    stillVersuchen(
        [&] { drucker.setSeitenlage(hoch ? Seitenlage::Hochformat : Seitenlage::Querformat); });
    stillVersuchen([&] { seitenhoehe = drucker.seitenhoeheTwips() / 56.7; });
    if (seitenhoehe == 0.0)
        seitenhoehe = hoch ? 297.0 : 210.0;

    double textHoehe = 0.0;
    stillVersuchen([&] { textHoehe = drucker.textHoehe(QStringLiteral("HgyÜ8")); });
    if (!(textHoehe > 0.0))
        textHoehe = 4.0;

    // A result that does not fit the counter leaves it at 0, which the
    // callers replace by their default page length.
    qint16 zeilen = 0;
    const double genau = std::nearbyint((seitenhoehe - rand) / textHoehe);
    if (genau >= std::numeric_limits<qint16>::min() && genau <= std::numeric_limits<qint16>::max())
        zeilen = static_cast<qint16>(genau);

    stillVersuchen([&] { drucker.setSeitenlage(alteLage); });
    return zeilen;
}

QString Trennlinie()
{
    return QLatin1Char(' ') + QString(bericht::Zeilenbreite, QChar(0x2014)) + ZE;
}

QString Gruss()
{
    return QStringLiteral(" Immer ein gutes Stehwellen-Verhältnis wünscht Ihnen Velmo");
}

QString feldRechts(const QString &wert, int breite)
{
    if (wert.size() >= breite)
        return wert.left(breite);
    return wert.rightJustified(breite, QLatin1Char(' '));
}

QString Seitenzeile(int seite)
{
    return feldRechts(QStringLiteral("Seite ") + QString::number(seite), bericht::Zeilenbreite);
}

bool liestSichAlsZahl(const QString &text)
{
    static const QRegularExpression zahl(QStringLiteral("^[+-]?(\\d+[.,]?\\d*|[.,]\\d+)$"));
    return zahl.match(text.trimmed()).hasMatch();
}

void TextAusgeben(Berichtsfeld &feld, qint32 tabellenPos, qint32 schlussPos,
                  const QString &trennlinie, const QString &schlussText, qint32 kopfPos,
                  const QString &kopfText, const QString &titel)
{
    // A selection never reaches past the end of the document.
    const auto waehlen = [&feld](qint64 start, qint64 laenge) {
        const qint64 ende = feld.textLaenge();
        start = std::clamp<qint64>(start, 0, ende);
        laenge = std::clamp<qint64>(laenge, 0, ende - start);
        feld.setSelStart(static_cast<int>(start));
        feld.setSelLength(static_cast<int>(laenge));
    };

    // Column heading, rows, page breaks and the separator above the closing remark.
    waehlen(tabellenPos, qint64(schlussPos) - tabellenPos + trennlinie.size());
    Zeichenattribute tabelle;
    tabelle.schriftname = QStringLiteral("Courier New");
    tabelle.fett = false;
    feld.setSelAttribute(tabelle);
    feld.setSelAusrichtung(Ausrichtung::Links);

    // The closing block after its separator line, up to the end.
    waehlen(qint64(schlussPos) + trennlinie.size(), schlussText.size());
    Zeichenattribute schluss;
    schluss.schriftname = QStringLiteral("Tahoma");
    feld.setSelAttribute(schluss);
    feld.setSelAusrichtung(Ausrichtung::Links);

    const int grussLaenge = Gruss().size();
    waehlen(qint64(feld.textLaenge()) - grussLaenge, grussLaenge);
    Zeichenattribute gruss;
    gruss.groesse = 8;
    feld.setSelAttribute(gruss);
    feld.setSelAusrichtung(Ausrichtung::Zentriert);

    waehlen(kopfPos, kopfText.size());
    Zeichenattribute kopf;
    kopf.schriftname = QStringLiteral("Courier New");
    kopf.fett = true;
    feld.setSelAttribute(kopf);
    feld.setSelAusrichtung(Ausrichtung::Links);

    waehlen(0, titel.size());
    Zeichenattribute ueberschrift;
    ueberschrift.schriftname = QStringLiteral("Courier New");
    ueberschrift.fett = true;
    ueberschrift.groesse = 16;
    ueberschrift.farbe = QColor(128, 0, 128);
    feld.setSelAttribute(ueberschrift);
    feld.setSelAusrichtung(Ausrichtung::Zentriert);

    feld.setSelStart(0);
}

void Bericht::dialogVerbergen()
{
    m_k.ui.eingabedialogVerbergen();
    m_k.ui.ereignisseVerarbeiten();
}

void Bericht::seitenlaengeErmitteln()
{
    m_seitenlaenge = DruckerEinrichten(bericht::Zeilenbreite, m_k.drucker);
    if (m_seitenlaenge < 1)
        m_seitenlaenge = bericht::ErsatzSeitenlaenge;
}

void Bericht::beginnen(const QString &titel)
{
    // Hidden while it grows: the user sees the finished report at once.
    m_k.feld.setSichtbar(false);
    formatvorlageAnwenden(m_k.feld, Formatvorlage::Listing);
    m_k.feld.setText(QString());
    m_titel = titel;
    m_k.feld.setText(titel + ZE + ZE);
}

void Bericht::kopfAnhaengen(const QString &kopfText)
{
    m_kopfText = kopfText;
    m_kopfPos = m_k.feld.textLaenge();
    m_k.feld.anhaengen(kopfText);
}

void Bericht::spaltenkopfAnhaengen(const QString &spaltenkopf)
{
    m_spaltenkopf = spaltenkopf;
    m_tabellenPos = m_k.feld.textLaenge();
    m_k.feld.anhaengen(spaltenkopf + Trennlinie());
    m_zeilen = bericht::ErsteZeile;
    m_seite = 1;
}

void Bericht::zeileAnhaengen(const QString &zeile)
{
    m_k.feld.anhaengen(zeile);
    ++m_zeilen;
}

void Bericht::seitenumbruchPruefen()
{
    if (m_zeilen < m_seitenlaenge - 4)
        return;
    ++m_seite;
    m_k.feld.anhaengen(Trennlinie() + ZE + ZE + ZE + ZE + Seitenzeile(m_seite) + ZE +
                       m_spaltenkopf + Trennlinie());
    m_zeilen = 2;
}

void Bericht::schlussAnhaengen(const QString &bemerkung)
{
    m_schlussPos = m_k.feld.textLaenge();
    m_schlussText = Trennlinie() + bemerkung + ZE + ZE + Gruss();
    m_k.feld.anhaengen(m_schlussText);
}

void Bericht::formatieren()
{
    TextAusgeben(m_k.feld, m_tabellenPos, m_schlussPos, Trennlinie(), m_schlussText, m_kopfPos,
                 m_kopfText, m_titel);
}

void Bericht::zeigen()
{
    m_k.ui.ereignisseVerarbeiten();
    m_k.ui.hauptfensterZeigen();
    m_k.feld.setSichtbar(true);
    m_k.ui.normalerZeiger();
}

} // namespace varo
