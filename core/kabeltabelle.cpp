#include "kabeltabelle.h"

#include "dateilesen.h"
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
#include <limits>

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
    for (qsizetype nummer = 0; nummer < zeilen.size(); ++nummer) {
        const QString &zeile = zeilen.at(nummer);
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
        typ.zeile = int(qMin<qsizetype>(nummer + 1, std::numeric_limits<int>::max()));
        kabel.append(typ);
    }
    return kabel;
}

QStringList kabelDateiZeilen(const QByteArray &inhalt)
{
    // A table edited with several editors can mix encodings line by line;
    // a valid UTF-8 name stays what it is next to an old ANSI line.
    const auto zeileLesen = [](const QByteArray &bytes) {
        QStringDecoder utf8(QStringDecoder::Utf8);
        QString text = utf8.decode(bytes);
        return utf8.hasError() ? ausWindows1252(bytes) : text;
    };

    QStringList zeilen;
    qsizetype anfang = 0;
    const qsizetype n = inhalt.size();
    // A byte order mark only at the start of the file.
    if (n >= 3 && inhalt.startsWith("\xEF\xBB\xBF"))
        anfang = 3;
    for (qsizetype i = anfang; i < n; ++i) {
        const char c = inhalt.at(i);
        if (c != '\r' && c != '\n')
            continue;
        zeilen.append(zeileLesen(inhalt.mid(anfang, i - anfang)));
        if (c == '\r' && i + 1 < n && inhalt.at(i + 1) == '\n')
            ++i;
        anfang = i + 1;
    }
    if (anfang < n)
        zeilen.append(zeileLesen(inhalt.mid(anfang)));
    return zeilen;
}

Kabeldatei kabelDateiLesen(const QString &pfad)
{
    Kabeldatei tabelle;
    const QFileInfo info(pfad);
    tabelle.vorhanden = info.exists() || info.isSymLink();
    const QString name = info.fileName();
    Dateiinhalt inhalt = dateiLesen(pfad, maxTabellenBytes, Uebergroesse::Anfang);
    const bool zuGross = !inhalt.vollstaendig && inhalt.daten.size() == maxTabellenBytes;
    if (!inhalt.geoeffnet) {
        if (!tabelle.vorhanden)
            return tabelle;
        tabelle.fehler = inhalt.fehler;
        return tabelle;
    }
    if (!inhalt.vollstaendig) {
        // Only whole lines count; a row cut off in the middle could show a
        // wrong attenuation.
        const qsizetype letztesEnde =
            std::max(inhalt.daten.lastIndexOf('\n'), inhalt.daten.lastIndexOf('\r'));
        inhalt.daten.truncate(letztesEnde + 1);
    }
    tabelle.kabel = kabelZeilenLesen(kabelDateiZeilen(inhalt.daten));
    if (tabelle.kabel.size() > maxKabel) {
        tabelle.kabel.resize(maxKabel);
        tabelle.hinweis = QStringLiteral("Die Datei %1 hat mehr als %2 Kabel; nur die ersten "
                                         "%2 wurden gelesen.")
                              .arg(name)
                              .arg(maxKabel);
    } else if (zuGross) {
        tabelle.hinweis = QStringLiteral("Die Datei %1 ist größer als %2 MiB; nur ihr Anfang "
                                         "mit %3 Kabeln wurde gelesen.")
                              .arg(name)
                              .arg(maxTabellenBytes / (1024 * 1024))
                              .arg(tabelle.kabel.size());
    }
    return tabelle;
}

QString daempfungsfehler(const QString &daempfung)
{
    const qsizetype schraeg = daempfung.indexOf(QLatin1Char('/'));
    if (schraeg < 0)
        return QStringLiteral("es fehlt der „/“ zwischen Bezugsfrequenz und Dämpfung");
    try {
        const qint16 fRef = rundeInt16(TextZuZahl(daempfung.mid(2, schraeg - 2)));
        const float aRef = zuSingle(TextZuZahl(KommaZuPunkt(daempfung.mid(schraeg + 1))));
        if (fRef == 0)
            return QStringLiteral("die Bezugsfrequenz ist 0");
        if (fRef < 0)
            return QStringLiteral("die Bezugsfrequenz ist negativ");
        if (aRef == 0.0F)
            return QStringLiteral("die Dämpfung ist 0");
        KabelDaempfung(100.0F, 1.0F, daempfung);
    } catch (const Laufzeitfehler &) {
        return QStringLiteral("eine Zahl liegt außerhalb des Bereichs");
    }
    return {};
}

bool KabelTabelleLaden(KabelListe &liste, float ersatz, const QString &ersatzText,
                       const QString &pfad, Programmwerte &werte, Oberflaeche &ui,
                       const QLocale &locale)
{
    const Kabeldatei tabelle = kabelDateiLesen(pfad);
    if (!tabelle.vorhanden || !tabelle.fehler.isEmpty()) {
        // A message box under the hourglass would look as if the program hung.
        ui.normalerZeiger();
        ui.meldung(tabelle.vorhanden ? QStringLiteral("Die Datei %1 kann nicht gelesen werden.")
                                               .arg(QFileInfo(pfad).fileName()) +
                                           werte.ZeilenEnde + tabelle.fehler
                                     : QStringLiteral("Die Datei Kabel.txt wurde nicht gefunden!"),
                   QStringLiteral("Problem"), Symbol::Ausrufezeichen, Knoepfe::Ok);
        liste.eintragHinzufuegen(formatZahl(ersatz, QStringLiteral("0.0##"), locale));
        liste.setText(ersatzText);
        werte.KabelIndex = 0;
        return false;
    }

    for (const Kabeltyp &kabel : tabelle.kabel)
        liste.eintragHinzufuegen(kabelItemText(kabel, locale));
    if (!tabelle.hinweis.isEmpty()) {
        ui.normalerZeiger();
        ui.meldung(tabelle.hinweis, QStringLiteral("Problem"), Symbol::Ausrufezeichen, Knoepfe::Ok);
    }

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
