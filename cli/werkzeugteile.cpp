#include "werkzeugteile.h"

#include "konvertierung.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTextStream>

namespace varo::cli {

namespace {

QString ohneZeichen(QString name)
{
    name.remove(QLatin1Char(' '));
    name.remove(QLatin1Char('-'));
    return name.toCaseFolded();
}

} // namespace

QList<Kabeltyp> kabeltabelle(const QString &pfad, bool &vorhanden)
{
    QFile datei(pfad);
    vorhanden = datei.exists();
    if (!datei.open(QIODevice::ReadOnly))
        return {};
    return kabelZeilenLesen(kabelDateiZeilen(datei.readAll()));
}

std::optional<Kabelwahl> kabelWaehlen(const QString &text, const QString &tabellenpfad,
                                      const QLocale &locale, QString &grund)
{
    bool vorhanden = false;
    const QList<Kabeltyp> kabel = kabeltabelle(tabellenpfad, vorhanden);
    QStringList items;
    for (const Kabeltyp &k : kabel)
        items << kabelItemText(k, locale);

    Kabelwahl wahl{text, static_cast<int>(items.indexOf(text)), std::nullopt};
    if (wahl.index >= 0)
        wahl.kabel = kabel.at(wahl.index);
    if (TextZuZahl(KommaZuPunkt(text)) != 0.0 || text.trimmed().isEmpty())
        return wahl;

    for (int i = 0; i < kabel.size(); ++i) {
        if (ohneZeichen(kabel.at(i).Typ) == ohneZeichen(text)) {
            wahl.text = items.at(i);
            wahl.index = i;
            wahl.kabel = kabel.at(i);
            return wahl;
        }
    }
    grund = vorhanden ? QStringLiteral("Der Kabeltyp „%1“ steht nicht in %2.")
                            .arg(text, QDir::toNativeSeparators(tabellenpfad))
                      : QStringLiteral("Die Datei Kabel.txt wurde nicht gefunden! (%1)")
                            .arg(QDir::toNativeSeparators(tabellenpfad));
    return std::nullopt;
}

int schreiben(const QByteArray &daten, const std::optional<QString> &datei, QIODevice &ausgabe,
              QTextStream &fehler)
{
    if (!datei) {
        ausgabe.write(daten);
        return ok;
    }
    QSaveFile ziel(*datei);
    if (!ziel.open(QIODevice::WriteOnly) || ziel.write(daten) != daten.size() || !ziel.commit()) {
        fehler << programmname << ": " << QDir::toNativeSeparators(*datei)
               << " kann nicht geschrieben werden: " << ziel.errorString() << '\n';
        return fehlerStatus;
    }
    return ok;
}

} // namespace varo::cli
