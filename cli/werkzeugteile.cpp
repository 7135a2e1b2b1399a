#include "werkzeugteile.h"

#include "dateilesen.h"
#include "dokumentberichtsfeld.h"
#include "druckfassung.h"
#include "konvertierung.h"
#include "laufzeitfehler.h"
#include "rtf.h"
#include "textberichtsfeld.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QPageSize>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTextStream>

#include <cerrno>

namespace varo::cli {

namespace {

QString ohneZeichen(QString name)
{
    name.remove(QLatin1Char(' '));
    name.remove(QLatin1Char('-'));
    return name.toCaseFolded();
}

} // namespace

QString zitat(const QString &text)
{
    constexpr qsizetype hoechstens = 60;
    if (text.size() <= hoechstens)
        return QStringLiteral("„%1“").arg(text);
    return QStringLiteral("„%1…“ (%2 Zeichen)").arg(text.left(hoechstens)).arg(text.size());
}

QString zahlAbgelehnt(const QString &option, const QString &text)
{
    // Written like a number (comma or point, with or without exponent), so
    // only its size can be wrong.
    static const QRegularExpression zahlform(
        QStringLiteral("^\\s*[+-]?(\\d+([.,]\\d*)?|[.,]\\d+)([eE][+-]?\\d+)?\\s*$"));
    if (zahlform.match(text).hasMatch())
        return QStringLiteral("%1: Die Zahl %2 liegt außerhalb des Zahlenbereichs.")
            .arg(option, zitat(text));
    return QStringLiteral("%1: %2 ist keine Zahl.").arg(option, zitat(text));
}

namespace {

// The rule of the curve window that one option's value breaks, if any.
QString kurvenRegel(const QString &option, float wert, const KurvenEingabe &e)
{
    const float von = zuSingle(TextZuZahl(KommaZuPunkt(e.von)));
    const QLocale locale;
    const QString zahl = locale.toString(wert, 'g', 7);
    if (wert == 0.0F)
        return QStringLiteral("%1 ist 0 oder keine Zahl.").arg(option);
    if (option == QLatin1String("--von") && !(wert > 0.0F))
        return QStringLiteral("--von: %1 MHz liegt nicht über 0.").arg(zahl);
    if (option == QLatin1String("--bis") && !(wert > von))
        return QStringLiteral("--bis: %1 MHz liegt nicht über --von.").arg(zahl);
    if (option == QLatin1String("--eingz") && !(wert >= 0.1F))
        return QStringLiteral("--eingz: %1 Ω liegt unter %2 Ω.").arg(zahl, locale.toString(0.1));
    if (option == QLatin1String("--kabelz") && !(wert >= 1.0F))
        return QStringLiteral("--kabelz: %1 Ω liegt unter 1 Ω.").arg(zahl);
    if (option == QLatin1String("--vk") && !(wert <= 1.0F))
        return QStringLiteral("--vk: %1 liegt über 1.").arg(zahl);
    if (option == QLatin1String("--bis") && double(wert) * 1000.0 > 2147483647.0)
        return QStringLiteral("--bis: %1 MHz ist zu hoch.").arg(zahl);
    return {};
}

} // namespace

QString kurvenOptionGrund(const KurvenEingabe &eingabe)
{
    const std::pair<QString, QString> felder[] = {
        {QStringLiteral("--von"), eingabe.von},     {QStringLiteral("--bis"), eingabe.bis},
        {QStringLiteral("--eingz"), eingabe.eingZ}, {QStringLiteral("--kabelz"), eingabe.kabelZ},
        {QStringLiteral("--vk"), eingabe.vk},       {QStringLiteral("--laenge"), eingabe.laenge},
    };
    for (const auto &[option, text] : felder) {
        try {
            zuSingle(TextZuZahl(KommaZuPunkt(text)));
        } catch (const Laufzeitfehler &) {
            return zahlAbgelehnt(option, text);
        }
    }
    for (const auto &[option, text] : felder) {
        if (QString regel = kurvenRegel(option, zuSingle(TextZuZahl(KommaZuPunkt(text))), eingabe);
            !regel.isEmpty())
            return regel;
    }
    return {};
}

namespace {

// The position of the row a type name picks: the whole name first, then the
// part before " (", ignoring case, blanks and hyphens.
int typFinden(const QList<Kabeltyp> &kabel, const QString &text)
{
    const QString gesucht = ohneZeichen(text);
    for (int i = 0; i < kabel.size(); ++i) {
        if (ohneZeichen(kabel.at(i).Typ) == gesucht)
            return i;
    }
    for (int i = 0; i < kabel.size(); ++i) {
        const QString &typ = kabel.at(i).Typ;
        const qsizetype klammer = typ.indexOf(QLatin1String(" ("));
        if (klammer > 0 && ohneZeichen(typ.left(klammer)) == gesucht)
            return i;
    }
    return -1;
}

} // namespace

std::optional<Kabelwahl> kabelWaehlen(const QString &text, const Kabeltabellen &tabellen,
                                      const QLocale &locale, QString &grund)
{
    const Kabelliste liste = kabellisteLesen(tabellen);
    const QList<Kabeltyp> &kabel = liste.kabel;
    QStringList items;
    for (const Kabeltyp &k : kabel)
        items << kabelItemText(k, locale);

    Kabelwahl wahl{text, static_cast<int>(items.indexOf(text)), std::nullopt,
                   liste.hinweise.join(QLatin1Char(' '))};
    if (wahl.index >= 0)
        wahl.kabel = kabel.at(wahl.index);
    double zahl = 0.0;
    try {
        zahl = TextZuZahl(KommaZuPunkt(text));
        zuSingle(zahl);
    } catch (const Laufzeitfehler &) {
        grund = QStringLiteral("--kabel: Die Zahl %1 liegt außerhalb des Zahlenbereichs.")
                    .arg(zitat(text));
        return std::nullopt;
    }
    if (zahl != 0.0 || text.trimmed().isEmpty())
        return wahl;

    if (const int i = typFinden(kabel, text); i >= 0) {
        wahl.text = items.at(i);
        wahl.index = i;
        wahl.kabel = kabel.at(i);
        return wahl;
    }
    const QString pfad = zitat(QDir::toNativeSeparators(tabellen.mitgeliefert));
    if (!liste.vorhanden)
        // The table as named, with the cause: missing, a name too long, ...
        grund = QStringLiteral("Die Kabeltabelle %1 kann nicht geöffnet werden: %2")
                    .arg(pfad, dateiLesen(tabellen.mitgeliefert, 0).fehler);
    else if (!liste.fehler.isEmpty())
        grund = QStringLiteral("Die Kabeltabelle %1 kann nicht gelesen werden: %2")
                    .arg(pfad, liste.fehler);
    else if (tabellen.eigen.isEmpty())
        grund = QStringLiteral("Der Kabeltyp %1 steht nicht in %2.").arg(zitat(text), pfad);
    else
        grund = QStringLiteral("Der Kabeltyp %1 steht weder in %2 noch in %3.")
                    .arg(zitat(text), pfad, zitat(QDir::toNativeSeparators(tabellen.eigen)));
    return std::nullopt;
}

int schreiben(const QByteArray &daten, const std::optional<QString> &datei, QIODevice &ausgabe,
              QTextStream &fehler)
{
    // "-" is standard output, as for every command-line tool.
    if (datei && *datei != QLatin1String("-")) {
        const QString grund = dateiSchreiben(*datei, daten);
        if (grund.isEmpty())
            return ok;
        fehler << programmname << ": " << zitat(QDir::toNativeSeparators(*datei))
               << " kann nicht geschrieben werden: " << grund << '\n';
        return fehlerStatus;
    }
    // Standard output may be a full disk or a closed pipe as well.
    errno = 0;
    bool geschrieben = ausgabe.write(daten) == daten.size();
    if (auto *datei = qobject_cast<QFileDevice *>(&ausgabe); geschrieben && datei)
        geschrieben = datei->flush() && datei->error() == QFileDevice::NoError;
    if (geschrieben)
        return ok;
    const int nummer = errno;
    fehler << programmname << ": Die Standardausgabe kann nicht geschrieben werden: "
           << (nummer == EBADF ? QStringLiteral("Sie ist geschlossen oder nur zum Lesen geöffnet.")
               : nummer != 0   ? systemfehlerText(nummer)
                               : QStringLiteral("Der Empfänger nimmt nichts mehr an."))
           << '\n';
    return fehlerStatus;
}

QByteArray berichtDaten(const DokumentBerichtsfeld &feld, const QString &format,
                        const QString &pdfTitel)
{
    if (format == QLatin1String("text"))
        return feld.text().toUtf8();
    if (format == QLatin1String("rtf"))
        return rtfSchreiben(feld.dokument());
    QByteArray pdf;
    QBuffer puffer(&pdf);
    puffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter schreiber(&puffer);
        schreiber.setPageSize(QPageSize(QPageSize::A4));
        schreiber.setTitle(pdfTitel);
        schreiber.setCreator(QStringLiteral("Varolinaten"));
        aufGeraetDrucken(feld.dokument(), schreiber);
    }
    return pdf;
}

Berichtsausgabe::Berichtsausgabe(const QString &format) : m_format(format)
{
    if (format == QLatin1String("text"))
        m_text = std::make_unique<TextBerichtsfeld>();
    else
        m_dokument = std::make_unique<DokumentBerichtsfeld>();
}

Berichtsausgabe::~Berichtsausgabe() = default;

Berichtsfeld &Berichtsausgabe::feld()
{
    if (m_text)
        return *m_text;
    return *m_dokument;
}

QByteArray Berichtsausgabe::daten(const QString &pdfTitel) const
{
    if (m_text)
        return m_text->text().toUtf8();
    return berichtDaten(*m_dokument, m_format, pdfTitel);
}

} // namespace varo::cli
