#include "kabeltabelle.h"

#include "konvertierung.h"
#include "laufzeitfehler.h"
#include "oberflaeche.h"
#include "werte.h"
#include "zahlenformat.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <cmath>

namespace varo {

namespace {

// Blanks only: the table and the drop-down know no other white space.
QString ohneBlanksRechts(const QString &text)
{
    qsizetype ende = text.size();
    while (ende > 0 && text.at(ende - 1) == QLatin1Char(' '))
        --ende;
    return text.left(ende);
}

// Old tables were written in the ANSI code page; the bytes 0x80 to 0x9F are
// where Windows-1252 differs from Latin-1. Unassigned bytes keep their value.
QString ausWindows1252(const QByteArray &bytes)
{
    static const char16_t sonderzeichen[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    QString text;
    text.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x80 && b <= 0x9F)
            text.append(QChar(sonderzeichen[b - 0x80]));
        else
            text.append(QChar(b));
    }
    return text;
}

} // namespace

Kabeltyp kabelZerlegen(const QString &text)
{
    Kabeltyp kabel;
    kabel.Vk = zuSingle(TextZuZahl(KommaZuPunkt(text)));

    const qsizetype blank = text.indexOf(QLatin1Char(' '));
    const QString rest = blank < 0 ? text : text.mid(blank + 1);

    // "d=" right after the blank is no attenuation field: a field needs a name before it.
    const qsizetype p = rest.indexOf(QLatin1String("d="));
    if (p > 0) {
        kabel.Typ = ohneBlanksRechts(rest.left(p));
        kabel.Daempfung = rest.mid(p);
    } else {
        kabel.Typ = ohneBlanksRechts(rest);
    }
    return kabel;
}

QString kabelItemText(const Kabeltyp &kabel, const QLocale &locale)
{
    QString kopf =
        formatZahl(kabel.Vk, QStringLiteral("0.0##"), locale) + QLatin1Char(' ') + kabel.Typ;
    // Short heads are padded so that the attenuation fields line up in the
    // fixed-pitch drop-down; long ones simply run on.
    if (kopf.size() <= 18)
        kopf = kopf.leftJustified(22, QLatin1Char(' '));
    return kopf + QLatin1Char(' ') + kabel.Daempfung;
}

QList<Kabeltyp> kabelZeilenLesen(const QStringList &zeilen)
{
    QList<Kabeltyp> kabel;
    for (const QString &zeile : zeilen) {
        if (zeile.startsWith(QLatin1Char(';')))
            continue;
        Kabeltyp typ;
        try {
            typ = kabelZerlegen(zeile);
        } catch (const Laufzeitfehler &) {
            continue; // a number too large for single precision is no velocity factor
        }
        if (!(typ.Vk > 0.0F && typ.Vk < 1.0F))
            continue;
        kabel.append(typ);
    }
    return kabel;
}

QStringList kabelDateiZeilen(const QByteArray &inhalt)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(inhalt);
    if (utf8.hasError())
        text = ausWindows1252(inhalt);

    QStringList zeilen;
    qsizetype anfang = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        zeilen.append(text.mid(anfang, i - anfang));
        if (c == QLatin1Char('\r') && i + 1 < n && text.at(i + 1) == QLatin1Char('\n'))
            ++i;
        anfang = i + 1;
    }
    if (anfang < n)
        zeilen.append(text.mid(anfang));
    return zeilen;
}

bool KabelTabelleLaden(KabelListe &liste, float ersatz, const QString &ersatzText,
                       const QString &pfad, Programmwerte &werte, Oberflaeche &ui,
                       const QLocale &locale)
{
    if (!QFileInfo(pfad).isFile()) {
        // A message box under the hourglass would look as if the program hung.
        ui.normalerZeiger();
        ui.meldung(QStringLiteral("Die Datei Kabel.txt wurde nicht gefunden!"),
                   QStringLiteral("Problem"), Symbol::Ausrufezeichen, Knoepfe::Ok);
        liste.eintragHinzufuegen(formatZahl(ersatz, QStringLiteral("0.0##"), locale));
        liste.setText(ersatzText);
        werte.KabelIndex = 0;
        return false;
    }

    // A file that cannot be opened or breaks off while being read still
    // gives the rows read up to that point; the window opens all the same.
    QByteArray inhalt;
    QFile datei(pfad);
    if (datei.open(QIODevice::ReadOnly)) {
        for (;;) {
            const QByteArray teil = datei.read(qint64{64} * 1024);
            if (teil.isEmpty())
                break;
            inhalt += teil;
        }
        if (datei.error() != QFileDevice::NoError) {
            // Only whole lines count; a row cut off in the middle could
            // show a wrong attenuation.
            const qsizetype letztesEnde =
                std::max(inhalt.lastIndexOf('\n'), inhalt.lastIndexOf('\r'));
            inhalt.truncate(letztesEnde + 1);
        }
        datei.close();
    }

    for (const Kabeltyp &kabel : kabelZeilenLesen(kabelDateiZeilen(inhalt)))
        liste.eintragHinzufuegen(kabelItemText(kabel, locale));

    if (werte.KabelIndex >= 0 && werte.KabelIndex < liste.anzahl())
        liste.setAuswahl(werte.KabelIndex);
    return true;
}

QString kabelTabellenPfad()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/Kabel.txt");
}

float KabelDaempfung(float laenge, float frequenz, const QString &daempfung)
{
    const qsizetype schraeg = daempfung.indexOf(QLatin1Char('/'));
    if (schraeg < 0)
        throw Laufzeitfehler(fehler::DivisionDurchNull);

    // The reference frequency is read without comma conversion: "d=14,5/…" means 14 MHz.
    const qint16 fRef = rundeInt16(TextZuZahl(daempfung.mid(2, schraeg - 2)));
    const float aRef = zuSingle(TextZuZahl(KommaZuPunkt(daempfung.mid(schraeg + 1))));
    if (fRef == 0 || aRef == 0.0F)
        throw Laufzeitfehler(fehler::DivisionDurchNull);
    if (fRef < 0 || frequenz < 0.0F)
        throw Laufzeitfehler(fehler::UnzulaessigerAufruf); // no square root of a negative number

    const float k = zuSingle(std::sqrt(static_cast<double>(fRef)) / static_cast<double>(aRef));
    if (k == 0.0F)
        throw Laufzeitfehler(fehler::DivisionDurchNull);
    return zuSingle(static_cast<double>(laenge) / 100.0 *
                    (std::sqrt(static_cast<double>(frequenz)) / static_cast<double>(k)));
}

} // namespace varo
