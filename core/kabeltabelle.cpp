#include "kabeltabelle.h"

#include "dateilesen.h"
#include "kabeldaten.h"
#include "konvertierung.h"
#include "laufzeitfehler.h"
#include "oberflaeche.h"
#include "werte.h"
#include "zahlenformat.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringDecoder>

#include <algorithm>
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

namespace {

// The whole lines of the table at pfad within the bounds, through the
// guards of dateiLesen; tabelle gets vorhanden, fehler and, for a file
// beyond the byte bound, its note. A row cut off at the bound is dropped:
// it could show a wrong attenuation.
QStringList tabellenzeilenLesen(const QString &pfad, Kabeldatei &tabelle, bool &zuGross)
{
    const QFileInfo info(pfad);
    tabelle.vorhanden = info.exists() || info.isSymLink();
    Dateiinhalt inhalt = dateiLesen(pfad, maxTabellenBytes, Uebergroesse::Anfang);
    zuGross = !inhalt.vollstaendig && inhalt.daten.size() == maxTabellenBytes;
    if (!inhalt.geoeffnet) {
        if (tabelle.vorhanden)
            tabelle.fehler = inhalt.fehler;
        return {};
    }
    if (!inhalt.vollstaendig) {
        const qsizetype letztesEnde =
            std::max(inhalt.daten.lastIndexOf('\n'), inhalt.daten.lastIndexOf('\r'));
        inhalt.daten.truncate(letztesEnde + 1);
    }
    return kabelDateiZeilen(inhalt.daten);
}

// Keeps at most maxKabel rows and says so, or says the file was read only
// up to the byte bound.
void grenzenMelden(Kabeldatei &tabelle, const QString &name, bool zuGross)
{
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
                              .arg(maxTabellenBytes / (qint64{1024} * 1024))
                              .arg(tabelle.kabel.size());
    }
}

// The user's own table: its sound rows, and its unusable ones named in one line.
Kabeldatei eigeneTabelleLesen(const QString &pfad, QString &unbrauchbar)
{
    Kabeldatei tabelle;
    bool zuGross = false;
    const QStringList zeilen = tabellenzeilenLesen(pfad, tabelle, zuGross);
    Tabellenpruefung pruefung = kabeltabellePruefen(zeilen);
    tabelle.kabel = std::move(pruefung.kabel);
    for (Kabeltyp &kabel : tabelle.kabel)
        kabel.eigen = true;
    grenzenMelden(tabelle, QDir::toNativeSeparators(pfad), zuGross);
    if (!pruefung.probleme.isEmpty()) {
        constexpr qsizetype genannt = 5; // a long list would not fit a message box
        QStringList teile = pruefung.probleme.mid(0, genannt);
        if (pruefung.probleme.size() > genannt)
            teile << QStringLiteral("und %1 weitere").arg(pruefung.probleme.size() - genannt);
        unbrauchbar = QStringLiteral("Die eigene Kabeltabelle „%1“ hat unbrauchbare Zeilen, "
                                     "die in der Liste fehlen: %2.")
                          .arg(QDir::toNativeSeparators(pfad), teile.join(QStringLiteral("; ")));
    }
    return tabelle;
}

} // namespace

Kabeldatei kabelDateiLesen(const QString &pfad)
{
    Kabeldatei tabelle;
    bool zuGross = false;
    const QStringList zeilen = tabellenzeilenLesen(pfad, tabelle, zuGross);
    tabelle.kabel = kabelZeilenLesen(zeilen);
    grenzenMelden(tabelle, QFileInfo(pfad).fileName(), zuGross);
    return tabelle;
}

Kabeltabellen Kabeltabellen::programm()
{
    return {kabelTabellenPfad(), eigeneKabeltabellePfad()};
}

Kabelliste kabellisteLesen(const Kabeltabellen &tabellen)
{
    Kabelliste liste;
    const Kabeldatei mitgeliefert = kabelDateiLesen(tabellen.mitgeliefert);
    liste.kabel = mitgeliefert.kabel;
    liste.vorhanden = mitgeliefert.vorhanden;
    liste.fehler = mitgeliefert.fehler;
    if (!mitgeliefert.hinweis.isEmpty())
        liste.hinweise << mitgeliefert.hinweis;
    if (tabellen.eigen.isEmpty())
        return liste;

    QString unbrauchbar;
    const Kabeldatei eigen = eigeneTabelleLesen(tabellen.eigen, unbrauchbar);
    liste.kabel += eigen.kabel;
    if (!eigen.fehler.isEmpty())
        liste.hinweise << QStringLiteral("Die eigene Kabeltabelle „%1“ kann nicht gelesen "
                                         "werden: %2")
                              .arg(QDir::toNativeSeparators(tabellen.eigen), eigen.fehler);
    if (!eigen.hinweis.isEmpty())
        liste.hinweise << eigen.hinweis;
    if (!unbrauchbar.isEmpty())
        liste.hinweise << unbrauchbar;
    return liste;
}

QString eigeneKabeltabellePfad()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/varolinaten/Kabel.txt");
}

QString eigeneKabeltabelleAnlegen(const QString &pfad)
{
    const QFileInfo info(pfad);
    if (info.exists() || info.isSymLink())
        return {};
    if (!QDir().mkpath(info.absolutePath()))
        return QStringLiteral("Der Ordner „%1“ kann nicht angelegt werden.")
            .arg(QDir::toNativeSeparators(info.absolutePath()));
    static const char kopf[] =
        "; Eigene Kabeltabelle für Varolinaten\n"
        ";\n"
        "; Die Kabel dieser Datei stehen in jeder Kabelliste nach denen der\n"
        "; mitgelieferten Tabelle. Eine Zeile je Kabel:\n"
        ";\n"
        ";   <Verkürzungsfaktor> <Kabeltyp> d=<MHz>/<dB pro 100 m>;<MHz>/<dB pro 100 m> Z=<Ω>\n"
        ";\n"
        "; - Der Verkürzungsfaktor liegt zwischen 0 und 1, mit Komma oder Punkt.\n"
        "; - Der Kabeltyp beginnt nicht mit einer Ziffer.\n"
        "; - \"d=\" nennt Punkte aus dem Datenblatt; der erste hat ganze MHz und\n"
        ";   ist der, den die Berichte lesen. \"Z=\" nennt die Impedanz (ohne: 50 Ω).\n"
        "; - Zeilen, die mit \";\" beginnen, sind Kommentare.\n"
        ";\n"
        "; Beispiel (ohne das \";\" am Anfang):\n"
        "; 0,85 Mein Kabel d=10/1,2;100/4;430/8,9\n";
    return dateiSchreiben(pfad, QByteArray(kopf));
}

QString daempfungsfehler(const QString &daempfung)
{
    const qsizetype schraeg = daempfung.indexOf(QLatin1Char('/'));
    if (schraeg < 0)
        return QStringLiteral("es fehlt der „/“ zwischen Bezugsfrequenz und Dämpfung");
    // "inf" or "nan" reads as 0 by the rules of the number reader; say what it is.
    for (const QString &zahl : {daempfung.mid(2, schraeg - 2), daempfung.mid(schraeg + 1)}) {
        static const QRegularExpression unendlich(QStringLiteral("^\\s*[+-]?(inf|nan)"),
                                                  QRegularExpression::CaseInsensitiveOption);
        const QString wort = zahl.section(QRegularExpression(QStringLiteral("[;\\s]")), 0, 0,
                                          QString::SectionSkipEmpty);
        if (unendlich.match(zahl).hasMatch())
            return QStringLiteral("„%1“ ist keine endliche Zahl").arg(wort.left(20));
    }
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
                       const Kabeltabellen &tabellen, Programmwerte &werte, Oberflaeche &ui,
                       const QLocale &locale)
{
    const Kabelliste kabel = kabellisteLesen(tabellen);
    const bool gelesen = kabel.vorhanden && kabel.fehler.isEmpty();
    if (!gelesen) {
        // A message box under the hourglass would look as if the program hung.
        ui.normalerZeiger();
        ui.meldung(kabel.vorhanden ? QStringLiteral("Die Datei %1 kann nicht gelesen werden.")
                                             .arg(QFileInfo(tabellen.mitgeliefert).fileName()) +
                                         werte.ZeilenEnde + kabel.fehler
                                   : QStringLiteral("Die Datei Kabel.txt wurde nicht gefunden!"),
                   QStringLiteral("Problem"), Symbol::Ausrufezeichen, Knoepfe::Ok);
        liste.eintragHinzufuegen(formatZahl(ersatz, QStringLiteral("0.0##"), locale));
        liste.setText(ersatzText);
        werte.KabelIndex = 0;
    }

    // Only the own table's rows can follow a missing table beside the program.
    for (const Kabeltyp &k : kabel.kabel)
        liste.eintragHinzufuegen(kabelItemText(k, locale));
    if (!kabel.hinweise.isEmpty()) {
        ui.normalerZeiger();
        ui.meldung(kabel.hinweise.join(werte.ZeilenEnde), QStringLiteral("Problem"),
                   Symbol::Ausrufezeichen, Knoepfe::Ok);
    }

    if (gelesen && werte.KabelIndex >= 0 && werte.KabelIndex < liste.anzahl())
        liste.setAuswahl(werte.KabelIndex);
    return gelesen;
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
